#include "history/window/CPowerHistoryDlg.h"

#include "history/ChartScale.h"
#include "history/HistoryCsv.h"
#include "history/IsoTime.h"
#include "platform/AtomicFile.h"
#include "ui/Palette.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QDateTime>
#include <QDateTimeAxis>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineSeries>
#include <QPushButton>
#include <QScatterSeries>
#include <QSpinBox>
#include <QVBoxLayout>
#include <QValueAxis>
#include <algorithm>
#include <cmath>
#include <sstream>

namespace solvane::history::window {

namespace {

// The window's colours: the pages' dark ground, their captions, the read-out and saving colours.
const QColor kPlotGround = ui::palette::kField.toQColor();
const QColor kGrid = ui::palette::kLine.toQColor();
const QColor kCaption = ui::palette::kTextDim.toQColor();
const QColor kAlertMark = ui::palette::kAlert.toQColor();

// %1 the window, %2 captions, %3 button text, %4 fields, %5 borders, %6 the accent.
QString windowStyle() {
    using namespace ui::palette;
    return QStringLiteral("QDialog { background: %1; }"
                          "QLabel { color: %2; font-size: 11px; }"
                          "QPushButton { color: %3; background: %4; border: 1px solid %5; border-radius: 4px;"
                          " padding: 4px 12px; }"
                          "QPushButton:checked { color: %1; background: %6; border-color: %6; }"
                          "QPushButton:hover { border-color: %6; }"
                          "QSpinBox { color: %6; background: %4; border: 1px solid %5; padding: 1px 4px; }")
        .arg(css(kWell), css(kTextDim), css(kFieldText), css(kField), css(kLine), css(kAccent));
}

struct LimitField {
    int maximum;
    int step;
};
// Per limit, in the order of the limit table: °C, W, rpm.
constexpr std::array<LimitField, kLimits.size()> kLimitFields{{{125, 1}, {2000, 5}, {10000, 50}}};

QString text(std::string_view view) {
    return QString::fromUtf8(view.data(), static_cast<qsizetype>(view.size()));
}

qint64 msecs(std::int64_t seconds) {
    return seconds * 1000;
}

void skinChart(QChart* chart) {
    chart->setBackgroundBrush(kPlotGround);
    chart->setBackgroundRoundness(6);
    chart->setTitleBrush(kCaption);
    chart->legend()->setLabelColor(kCaption);
    chart->legend()->setAlignment(Qt::AlignTop);
    chart->setMargins(QMargins(6, 4, 6, 4));
}

void skinAxis(QAbstractAxis* axis) {
    axis->setLabelsColor(kCaption);
    axis->setTitleBrush(kCaption);
    axis->setGridLineColor(kGrid);
    axis->setLinePenColor(kGrid);
    QFont font = axis->labelsFont();
    font.setPointSize(8);
    axis->setLabelsFont(font);
}

void scaleAxis(QValueAxis* axis, const AxisScale& scale) {
    axis->setRange(0, scale.top);
    axis->setTickType(QValueAxis::TicksDynamic);
    axis->setTickAnchor(0);
    axis->setTickInterval(scale.step);
    axis->setLabelFormat(QStringLiteral("%.") + QString::number(scale.decimals) + QStringLiteral("f"));
}

// "1 point", "2 points".
QString counted(std::size_t count, const char* singular, const char* plural) {
    return QString::number(count) + QLatin1Char(' ') + QLatin1String(count == 1 ? singular : plural);
}

} // namespace

CPowerHistoryDlg::CPowerHistoryDlg(PowerHistory& history, platform::Registry& registry, Clock clock,
                                   QWidget* parent)
    : QDialog(parent), m_history(history), m_registry(registry), m_clock(std::move(clock)) {
    setWindowTitle(QStringLiteral("Solvane power history"));
    setStyleSheet(windowStyle());
    resize(780, 640);
    m_saveAsk = [this](const QString& suggested) {
        return QFileDialog::getSaveFileName(this, QStringLiteral("Export power history"), suggested,
                                            QStringLiteral("CSV files (*.csv)"));
    };

    auto* layout = new QVBoxLayout(this);
    auto* spans = new QHBoxLayout;
    for (std::size_t i = 0; i < kChartSpans.size(); ++i) {
        auto* button = new QPushButton(text(kChartSpans[i].caption), this);
        button->setCheckable(true);
        const auto span = kChartSpans[i].span;
        connect(button, &QPushButton::clicked, this, [this, span] { showSpan(span); });
        spans->addWidget(button);
        m_spanButtons[i] = button;
    }
    spans->addStretch();
    auto* exportButton = new QPushButton(QStringLiteral("Export..."), this);
    connect(exportButton, &QPushButton::clicked, this, [this] { m_status->setText(exportShown()); });
    spans->addWidget(exportButton);
    layout->addLayout(spans);

    buildCharts();
    auto* lineView = new QChartView(m_lineChart, this);
    lineView->setRenderHint(QPainter::Antialiasing);
    lineView->setMinimumHeight(270);
    auto* barView = new QChartView(m_barChart, this);
    barView->setRenderHint(QPainter::Antialiasing);
    barView->setMinimumHeight(190);
    for (auto* view : {lineView, barView})
        view->setStyleSheet(QStringLiteral("background: transparent;"));
    layout->addWidget(lineView, 3);
    layout->addWidget(barView, 2);

    auto* limits = new QHBoxLayout;
    const auto current = m_history.limits();
    for (std::size_t i = 0; i < kLimits.size(); ++i) {
        const auto& definition = kLimits[i];
        limits->addWidget(new QLabel(text(definition.caption) + (definition.side == LimitSide::Upper
                                                                     ? QStringLiteral(" above")
                                                                     : QStringLiteral(" below")),
                                     this));
        auto* field = new QSpinBox(this);
        field->setRange(0, kLimitFields[i].maximum);
        field->setSingleStep(kLimitFields[i].step);
        field->setSpecialValueText(QStringLiteral("off"));
        field->setSuffix(QStringLiteral(" ") + text(definition.unit));
        field->setValue(current[i].value_or(0));
        limits->addWidget(field);
        m_limitFields[i] = field;
    }
    auto* apply = new QPushButton(QStringLiteral("Set limits"), this);
    connect(apply, &QPushButton::clicked, this, [this] { applyLimits(); });
    limits->addStretch();
    limits->addWidget(apply);
    layout->addLayout(limits);
    m_status = new QLabel(this);
    m_status->setWordWrap(true); // a PC names its sources at length
    layout->addWidget(m_status);

    showSpan(ChartSpan::Hour);
}

void CPowerHistoryDlg::buildCharts() {
    m_lineChart = new QChart;
    skinChart(m_lineChart);
    auto* time = new QDateTimeAxis;
    time->setTickCount(7);
    auto* watts = new QValueAxis;
    watts->setTitleText(QStringLiteral("W"));
    for (auto* axis : std::initializer_list<QAbstractAxis*>{time, watts})
        skinAxis(axis);
    m_lineChart->addAxis(time, Qt::AlignBottom);
    m_lineChart->addAxis(watts, Qt::AlignLeft);
    const auto addLine = [&](const QString& name, const QColor& colour) {
        auto* series = new QLineSeries;
        series->setName(name);
        series->setPen(QPen(colour, 1.6));
        m_lineChart->addSeries(series);
        series->attachAxis(time);
        series->attachAxis(watts);
    };
    addLine(QStringLiteral("Consumption"), ui::palette::kAccent.toQColor());
    addLine(QStringLiteral("Saving"), ui::palette::kSavingGreen.toQColor());
    auto* crossings = new QScatterSeries;
    crossings->setName(QStringLiteral("Limit crossed"));
    crossings->setColor(kAlertMark);
    crossings->setBorderColor(kAlertMark);
    crossings->setMarkerSize(9);
    m_lineChart->addSeries(crossings);
    crossings->attachAxis(time);
    crossings->attachAxis(watts);

    m_barChart = new QChart;
    skinChart(m_barChart);
    m_barChart->legend()->hide();
    auto* bars = new QBarSeries;
    bars->setBarWidth(0.6);
    m_barChart->addSeries(bars);
    auto* dayAxis = new QBarCategoryAxis;
    auto* energy = new QValueAxis;
    for (auto* axis : std::initializer_list<QAbstractAxis*>{dayAxis, energy})
        skinAxis(axis);
    m_barChart->addAxis(dayAxis, Qt::AlignBottom);
    m_barChart->addAxis(energy, Qt::AlignLeft);
    bars->attachAxis(dayAxis);
    bars->attachAxis(energy);
}

void CPowerHistoryDlg::showSpan(ChartSpan span) {
    m_span = span;
    for (std::size_t i = 0; i < kChartSpans.size(); ++i)
        m_spanButtons[i]->setChecked(kChartSpans[i].span == span);
    reload();
}

void CPowerHistoryDlg::reload() {
    m_history.flush();
    if (auto* store = m_history.store())
        m_data = chartData(*store, m_span, m_clock());
    else
        m_data = ChartData{};
    fillLineChart();
    fillBarChart();
    m_status->setText(statusText());
}

void CPowerHistoryDlg::fillLineChart() {
    const auto series = m_lineChart->series();
    auto* consumption = static_cast<QLineSeries*>(series[0]);
    auto* saving = static_cast<QLineSeries*>(series[1]);
    auto* crossings = static_cast<QScatterSeries*>(series[2]);
    QList<QPointF> consumed;
    QList<QPointF> saved;
    double highest = 10;
    for (const auto& point : m_data.points) {
        consumed.append(QPointF(static_cast<double>(msecs(point.time)), point.consumptionWatts));
        saved.append(QPointF(static_cast<double>(msecs(point.time)), point.savingWatts));
        highest = std::max({highest, point.consumptionWatts, point.savingWatts});
    }
    consumption->replace(consumed);
    saving->replace(saved);
    const auto scale = axisScale(highest);
    QList<QPointF> marks;
    for (const auto& alert : m_data.alerts)
        marks.append(QPointF(static_cast<double>(msecs(alert.time)), scale.top * 0.96));
    crossings->replace(marks);

    auto* time = static_cast<QDateTimeAxis*>(m_lineChart->axes(Qt::Horizontal).first());
    time->setFormat(m_span == ChartSpan::Month ? QStringLiteral("MM-dd") : QStringLiteral("HH:mm"));
    time->setRange(QDateTime::fromMSecsSinceEpoch(msecs(m_data.from)),
                   QDateTime::fromMSecsSinceEpoch(msecs(m_data.to)));
    scaleAxis(static_cast<QValueAxis*>(m_lineChart->axes(Qt::Vertical).first()), scale);
}

void CPowerHistoryDlg::fillBarChart() {
    auto* bars = static_cast<QBarSeries*>(m_barChart->series().first());
    bars->clear();
    auto* set = new QBarSet(QStringLiteral("Saved"));
    set->setColor(ui::palette::kSavingGreen.toQColor());
    set->setBorderColor(ui::palette::kSavingGreen.toQColor());
    const auto days = savedPerDay(m_data);
    double highest = 0;
    for (const auto& day : days)
        highest = std::max(highest, day.savedKwh);
    const auto axis = energyAxis(highest);
    QStringList categories;
    for (const auto& day : days) {
        set->append(day.savedKwh * axis.perKwh);
        // The day of the month: thirty labels of a month and day would not fit under the bars.
        categories.append(QString::fromStdString(isoDate(day.day).substr(8)));
    }
    bars->append(set);
    auto* dayAxis = static_cast<QBarCategoryAxis*>(m_barChart->axes(Qt::Horizontal).first());
    dayAxis->clear();
    dayAxis->append(categories);
    const QString unit = text(axis.unit);
    m_barChart->setTitle(QStringLiteral("Energy saved per day (%1, last 30 days)").arg(unit));
    auto* energy = static_cast<QValueAxis*>(m_barChart->axes(Qt::Vertical).first());
    energy->setTitleText(unit);
    scaleAxis(energy, axis.scale);
}

QString CPowerHistoryDlg::statusText() const {
    if (m_history.store() == nullptr)
        return QString::fromStdString(m_history.notice().empty() ? "No power history is kept in this run."
                                                                 : m_history.notice());
    double saved = 0;
    for (const auto& day : m_data.days)
        saved += day.savedKwh();
    auto status = QStringLiteral("%1, %2 shown; %3 kWh saved in the last 30 days.")
                      .arg(counted(m_data.points.size(), "point", "points"))
                      .arg(counted(m_data.alerts.size(), "limit crossing", "limit crossings"))
                      .arg(QString::fromStdString(decimal(saved, 3)));
    QStringList sources;
    for (const auto& source : m_data.sources)
        sources.append(QString::fromStdString(source));
    if (!sources.isEmpty())
        status += QStringLiteral(" Measured on: %1.").arg(sources.join(QStringLiteral("; ")));
    return status;
}

QString CPowerHistoryDlg::exportShown() {
    auto* store = m_history.store();
    if (store == nullptr)
        return statusText();
    m_history.flush();
    const auto file =
        m_saveAsk(QStringLiteral("solvane-history-%1.csv").arg(QString::fromStdString(isoDate(m_data.to))));
    if (file.isEmpty())
        return statusText();
    std::ostringstream csv;
    const auto rows = writeHistoryCsv(*store, CsvRows::Minutes, m_data.from, m_data.to, csv);
    if (const auto error = platform::writeFileAtomically(file.toStdString(), csv.str()); !error.empty())
        return QStringLiteral("Cannot write %1: %2").arg(file, QString::fromStdString(error));
    return QStringLiteral("%1 minute rows written to %2.").arg(rows).arg(file);
}

void CPowerHistoryDlg::applyLimits() {
    AlertLimits limits{};
    for (std::size_t i = 0; i < kLimits.size(); ++i)
        if (m_limitFields[i]->value() > 0)
            limits[i] = m_limitFields[i]->value();
    const bool kept = writeAlertLimits(m_registry, limits);
    m_history.reloadLimits();
    m_status->setText(kept ? QStringLiteral("Limits set.")
                           : QStringLiteral("The limits could not be kept in the registry."));
}

} // namespace solvane::history::window
