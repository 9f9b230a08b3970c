#pragma once

#include "history/HistoryChartData.h"
#include "history/PowerHistory.h"
#include "platform/Registry.h"

#include <QDialog>
#include <array>
#include <functional>

class QChart;
class QChartView;
class QLabel;
class QPushButton;
class QSpinBox;

namespace solvane::history::window {

// The power history window: consumption and saving over the last hour, day or 30 days with the
// limit crossings marked, energy saved per day as bars, the limits, and the CSV export. It reads
// the running monitor's history; the window holds no figures of its own.
class CPowerHistoryDlg final : public QDialog {
public:
    // Seconds since 1970, UTC (the window's "now").
    using Clock = std::function<std::int64_t()>;
    // Asks where to save the CSV; an empty answer cancels.
    using SaveAsk = std::function<QString(const QString& suggestedName)>;

    CPowerHistoryDlg(PowerHistory& history, platform::Registry& registry, Clock clock,
                     QWidget* parent = nullptr);

    void showSpan(ChartSpan span);
    ChartSpan span() const { return m_span; }
    const ChartData& data() const { return m_data; }
    // Re-reads the history (the window is shown again, or a minute was written).
    void reload();

    // The export button's work: the rows of the span shown, as CSV, into the file the user picks.
    // Returns what the status line then says.
    QString exportShown();
    void setSaveAsk(SaveAsk ask) { m_saveAsk = std::move(ask); }
    // The limit fields' values into the registry and the running watch.
    void applyLimits();
    QSpinBox* limitField(std::size_t index) const { return m_limitFields[index]; }
    QString statusText() const;

private:
    void buildCharts();
    void fillLineChart();
    void fillBarChart();

    PowerHistory& m_history;
    platform::Registry& m_registry;
    Clock m_clock;
    SaveAsk m_saveAsk;
    ChartSpan m_span = ChartSpan::Hour;
    ChartData m_data;
    QChart* m_lineChart = nullptr;
    QChart* m_barChart = nullptr;
    std::array<QPushButton*, kChartSpans.size()> m_spanButtons{};
    std::array<QSpinBox*, kLimits.size()> m_limitFields{};
    QLabel* m_status = nullptr;
};

} // namespace solvane::history::window
