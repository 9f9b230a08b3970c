// The power history window after a simulated day: what each span draws, the limits it sets, the
// export, and its opening from the tray menu and the basic page's menu. With
// SOLVANE_HISTORY_SNAPSHOT set to a file name it also saves its picture there (the README's).
#include "MonitoredBoard.h"
#include "history/ChartScale.h"
#include "history/HistoryCsv.h"
#include "history/window/CPowerHistoryDlg.h"
#include "support/TempFolder.h"

#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QCoreApplication>
#include <QLabel>
#include <QLineSeries>
#include <QScatterSeries>
#include <QSpinBox>
#include <QValueAxis>
#include <algorithm>
#include <gtest/gtest.h>

namespace solvane::history::window {
namespace {

using test::kMonday;

class PowerHistoryWindow : public ::testing::Test {
protected:
    void SetUp() override {
        // A day under a changing load with a CPU temperature limit that the busy stretches cross.
        m_board = std::make_unique<test::MonitoredBoard>(m_folder / "history.sqlite",
                                                         std::vector<double>{0.05, 0.3, 1.0, 0.6, 0.15, 0.9},
                                                         std::chrono::minutes(50), kMonday);
        m_board->refresh(20 * 60); // the first hour without limits
        ASSERT_TRUE(writeAlertLimits(m_board->registry(), {m_temperatureLimit, std::nullopt, std::nullopt}));
        m_board->history().reloadLimits();
        m_board->refresh(test::kRefreshesPerDay - 20 * 60);
        m_board->history().flush();
    }

    CPowerHistoryDlg window() {
        return CPowerHistoryDlg(m_board->history(), m_board->registry(), [] { return kMonday + 86399; });
    }

    test::TempFolder m_folder;
    std::unique_ptr<test::MonitoredBoard> m_board;
    int m_temperatureLimit = 45;
};

TEST_F(PowerHistoryWindow, DrawsEachSpanFromTheHistory) {
    CPowerHistoryDlg dialog(m_board->history(), m_board->registry(), [] { return kMonday + 86399; });
    const auto crossings = m_board->history().store()->alerts(0, INT64_MAX);
    ASSERT_FALSE(crossings.empty()) << "the limit was never crossed: pick a lower one";

    dialog.showSpan(ChartSpan::Hour);
    EXPECT_EQ(dialog.data().points.size(), 60U);
    dialog.showSpan(ChartSpan::Day);
    EXPECT_EQ(dialog.data().points.size(), 1440U);
    EXPECT_EQ(dialog.data().alerts.size(), crossings.size());
    const auto chart = dialog.findChildren<QChartView*>();
    ASSERT_EQ(chart.size(), 2);
    const auto lines = chart[0]->chart()->series();
    ASSERT_EQ(lines.size(), 3);
    EXPECT_EQ(static_cast<QLineSeries*>(lines[0])->count(), 1440);
    EXPECT_EQ(static_cast<QScatterSeries*>(lines[2])->count(), static_cast<int>(crossings.size()));
    dialog.showSpan(ChartSpan::Month);
    ASSERT_EQ(dialog.data().points.size(), 24U); // hourly points
    // An hour's point is the average of its minutes.
    const auto minutes = m_board->history().store()->minutes(kMonday + 3600, kMonday + 7199);
    double sum = 0;
    for (const auto& minute : minutes)
        sum += minute.systemWatts;
    EXPECT_NEAR(dialog.data().points[1].consumptionWatts, sum / 60, 1e-9);
    // A bar for each of the last 30 days, so one day's bar keeps a day's width; the day's saving in
    // the unit its size calls for.
    auto* bars = static_cast<QBarSeries*>(chart[1]->chart()->series().first());
    ASSERT_EQ(bars->barSets().size(), 1);
    ASSERT_EQ(bars->barSets()[0]->count(), 30);
    const double savedKwh = m_board->history().store()->days(0, INT64_MAX)[0].savedKwh();
    auto* energy = static_cast<QValueAxis*>(chart[1]->chart()->axes(Qt::Vertical).first());
    ASSERT_GT(savedKwh, 0);
    ASSERT_LT(savedKwh, 1) << "a day on the simulated board saves watt-hours";
    EXPECT_EQ(energy->titleText(), QStringLiteral("Wh"));
    EXPECT_DOUBLE_EQ(bars->barSets()[0]->at(29), savedKwh * 1000);
    EXPECT_DOUBLE_EQ(bars->barSets()[0]->at(0), 0);
    EXPECT_GE(energy->max(), savedKwh * 1000);
    // From 0 up, a gridline every step of the axis's scale, labelled with that scale's decimals.
    const auto scale = energyAxis(savedKwh).scale;
    EXPECT_EQ(energy->min(), 0);
    EXPECT_DOUBLE_EQ(energy->max(), scale.top);
    EXPECT_EQ(energy->tickType(), QValueAxis::TicksDynamic);
    EXPECT_EQ(energy->tickAnchor(), 0);
    EXPECT_DOUBLE_EQ(energy->tickInterval(), scale.step);
    EXPECT_EQ(energy->labelFormat(), QStringLiteral("%.%1f").arg(scale.decimals));

    if (const char* picture = std::getenv("SOLVANE_HISTORY_SNAPSHOT")) {
        dialog.showSpan(ChartSpan::Day);
        dialog.resize(900, 680);
        dialog.show();
        QCoreApplication::processEvents();
        EXPECT_TRUE(dialog.grab().save(QString::fromLocal8Bit(picture)));
    }
}

// Each limit's field: off at 0, up to a ceiling past anything the board reaches, in steps of its
// unit's size; every line and the crossings are drawn against the time and the watts axes.
TEST_F(PowerHistoryWindow, LimitFieldsAndChartAxesFitTheirReadOuts) {
    CPowerHistoryDlg dialog(m_board->history(), m_board->registry(), [] { return kMonday + 86399; });
    struct Field {
        int maximum;
        int step;
        const char* suffix;
    };
    const Field fields[] = {{125, 1, " °C"}, {2000, 5, " W"}, {10000, 50, " rpm"}};
    for (std::size_t i = 0; i < std::size(fields); ++i) {
        SCOPED_TRACE(i);
        const auto* field = dialog.limitField(i);
        EXPECT_EQ(field->minimum(), 0);
        EXPECT_EQ(field->specialValueText(), QStringLiteral("off"));
        EXPECT_EQ(field->maximum(), fields[i].maximum);
        EXPECT_EQ(field->singleStep(), fields[i].step);
        EXPECT_EQ(field->suffix(), QString::fromUtf8(fields[i].suffix));
    }

    const auto charts = dialog.findChildren<QChartView*>();
    ASSERT_EQ(charts.size(), 2);
    // However small the window, the lines keep room for a day's curve and the bars for their labels.
    EXPECT_EQ(charts[0]->minimumHeight(), 270);
    EXPECT_EQ(charts[1]->minimumHeight(), 190);
    const auto* lines = charts[0]->chart();
    const auto bottom = lines->axes(Qt::Horizontal);
    const auto left = lines->axes(Qt::Vertical);
    ASSERT_EQ(bottom.size(), 1);
    ASSERT_EQ(left.size(), 1);
    EXPECT_EQ(left[0]->titleText(), QStringLiteral("W"));
    for (auto* series : lines->series()) {
        SCOPED_TRACE(series->name().toStdString());
        const auto axes = series->attachedAxes();
        EXPECT_EQ(axes.size(), 2);
        EXPECT_TRUE(axes.contains(bottom[0]));
        EXPECT_TRUE(axes.contains(left[0]));
    }
}

TEST_F(PowerHistoryWindow, TheStatusCountsInWords) {
    // An hour that holds only the day's last minute.
    CPowerHistoryDlg dialog(m_board->history(), m_board->registry(), [] { return kMonday + 86399 + 3540; });
    dialog.showSpan(ChartSpan::Hour);
    ASSERT_EQ(dialog.data().points.size(), 1U);
    EXPECT_TRUE(dialog.statusText().startsWith(QStringLiteral("1 point, 0 limit crossings shown;")))
        << dialog.statusText().toStdString();
    EXPECT_TRUE(dialog.statusText().endsWith(QStringLiteral(" Measured on: board sensors.")))
        << dialog.statusText().toStdString();
    dialog.showSpan(ChartSpan::Day);
    EXPECT_TRUE(
        dialog.statusText().startsWith(QStringLiteral("%1 points, ").arg(dialog.data().points.size())));
    // The status line is the window's last row, below the charts and the limits.
    dialog.resize(900, 700);
    dialog.show();
    const auto labels = dialog.findChildren<QLabel*>();
    const auto status = std::find_if(labels.begin(), labels.end(), [&](const QLabel* label) {
        return label->text() == dialog.statusText();
    });
    ASSERT_NE(status, labels.end());
    for (const auto* other : dialog.findChildren<QWidget*>())
        if (other->parentWidget() == &dialog && other != *status && other->isVisible()) {
            EXPECT_LE(other->geometry().bottom(), (*status)->geometry().top())
                << other->metaObject()->className();
        }
}

TEST_F(PowerHistoryWindow, SetsLimitsAndExportsTheSpanShown) {
    CPowerHistoryDlg dialog(m_board->history(), m_board->registry(), [] { return kMonday + 86399; });
    EXPECT_EQ(dialog.limitField(0)->value(), m_temperatureLimit);
    EXPECT_EQ(dialog.limitField(2)->text(), QStringLiteral("off"));
    dialog.limitField(0)->setValue(0);
    dialog.limitField(2)->setValue(900);
    dialog.applyLimits();
    EXPECT_EQ(readAlertLimits(m_board->registry()), (AlertLimits{std::nullopt, std::nullopt, 900}));
    EXPECT_EQ(m_board->history().limits(), (AlertLimits{std::nullopt, std::nullopt, 900}));

    dialog.showSpan(ChartSpan::Hour);
    const auto file = m_folder / "hour.csv";
    dialog.setSaveAsk([&](const QString& suggested) {
        EXPECT_EQ(suggested, QStringLiteral("solvane-history-2026-12-07.csv"));
        return QString::fromStdString(file.string());
    });
    EXPECT_TRUE(dialog.exportShown().startsWith(QStringLiteral("60 minute rows written")));
    const auto csv = test::readTextFile(file);
    EXPECT_TRUE(csv.starts_with(std::string(kMinuteCsvHeader) + "\n2026-12-07T23:00:00Z,"))
        << csv.substr(0, 200);
    dialog.setSaveAsk([](const QString&) { return QString(); });
    EXPECT_EQ(dialog.exportShown(), dialog.statusText()) << "a cancelled export writes nothing";
}

} // namespace
} // namespace solvane::history::window
