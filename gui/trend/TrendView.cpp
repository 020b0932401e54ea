// The Trends tab.
#include "gui/trend/TrendView.h"

#include "core/export/CsvExport.h"
#include "core/io/WriteFile.h"
#include "core/trend/DataLogReader.h"
#include "gui/shared/MessageHub.h"

#include <QBuffer>
#include <QComboBox>
#include <QDateTime>
#include <QDateTimeAxis>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QLegendMarker>
#include <QLineSeries>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QToolTip>
#include <QValueAxis>
#include <cmath>

using namespace quma;

struct TrendView::Chart {
    QChart* chart = nullptr;
    TrendChartView* view = nullptr;
    QDateTimeAxis* x = nullptr;
    QValueAxis* left = nullptr;
    QValueAxis* right = nullptr;
    QList<int> leftSeries, rightSeries;
    // The value axes' ranges as last set: a new sample inside them changes neither.
    std::pair<double, double> leftRange{0, 1}, rightRange{0, 1};
    const char* title = "";      // untranslated, for a change of language
    const char* rightTitle = ""; // likewise
};

namespace {
const qint64 kMinute = 60 * 1000;

QColor seriesColour(int s) {
    static const QColor fixed[] = {QColor(0x1f, 0x77, 0xb4), QColor(0xd6, 0x27, 0x28),
                                   QColor(0x2c, 0xa0, 0x2c), QColor(0xff, 0x7f, 0x0e),
                                   QColor(0x94, 0x67, 0xbd), QColor(0x1f, 0x77, 0xb4),
                                   QColor(0xd6, 0x27, 0x28), QColor(0x8c, 0x56, 0x4b)};
    if (s < Trend::Cell1) return fixed[s];
    if (s == Trend::CellSpread) return Qt::black;
    return QColor::fromHsv((s - Trend::Cell1) * 24, 210, 200);
}

// A range of values widened to take `v`; padded at the end so that a flat line is not on the
// edge.
struct ValueRange {
    double lo = 0, hi = 0;
    bool any = false;
    void take(double v) {
        lo = any ? std::min(lo, v) : v;
        hi = any ? std::max(hi, v) : v;
        any = true;
    }
    std::pair<double, double> padded() const {
        if (!any) return {0, 1};
        const double pad = std::max((hi - lo) * 0.08, std::max(std::abs(hi) * 0.002, 0.05));
        return {lo - pad, hi + pad};
    }
};
} // namespace

const QList<qint64>& TrendView::WindowLengths() {
    static const QList<qint64> lengths = {5 * kMinute, 60 * kMinute, 8 * 60 * kMinute,
                                          24 * 60 * kMinute};
    return lengths;
}

TrendView::TrendView(const TrendStore& live, MessageHub& hub, QWidget* parent)
    : QWidget(parent), m_live(live), m_hub(hub) {
    setObjectName("TrendView");
    m_window = new QComboBox(this);
    m_window->setObjectName("cbbTrendWindow");
    m_window->addItems({{}, {}, {}, {}});
    m_window->setCurrentIndex(0);
    m_followButton = new QPushButton(tr("Follow"), this);
    m_followButton->setObjectName("btnTrendFollow");
    m_followButton->setCheckable(true);
    m_followButton->setChecked(true);
    m_followButton->setToolTip(tr("Follow the newest sample (off: paused)"));
    auto* reset = new QPushButton(tr("Reset zoom"), this);
    reset->setObjectName("btnTrendResetZoom");
    auto* png = new QPushButton(tr("PNG..."), this);
    png->setObjectName("btnTrendPng");
    auto* csv = new QPushButton(tr("CSV..."), this);
    csv->setObjectName("btnTrendCsv");
    auto* open = new QPushButton(tr("Open data log..."), this);
    open->setObjectName("btnOpenDataLog");
    m_liveButton = new QPushButton(tr("Live"), this);
    m_liveButton->setObjectName("btnTrendLive");
    m_liveButton->setVisible(false);
    m_source = new QLabel(tr("Live"), this);
    m_source->setObjectName("lbTrendSource");
    m_cursor = new QLabel(this);
    m_cursor->setObjectName("lbTrendCursor");
    m_cursor->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto* bar = new QHBoxLayout;
    bar->addWidget(m_window);
    bar->addWidget(m_followButton);
    bar->addWidget(reset);
    bar->addSpacing(12);
    bar->addWidget(png);
    bar->addWidget(csv);
    bar->addSpacing(12);
    bar->addWidget(open);
    bar->addWidget(m_liveButton);
    bar->addWidget(m_source, 1);

    auto* grid = new QGridLayout;
    grid->setSpacing(2);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->addLayout(bar);
    layout->addLayout(grid, 1);
    layout->addWidget(m_cursor);

    using namespace Trend;
    buildChart(0, QT_TR_NOOP("DC output"), {DcVolts}, {DcAmps}, "V", "A");
    buildChart(1, QT_TR_NOOP("Battery"), {BattVolts}, {BattAmps, BattTemp}, "V", "A / °C");
    buildChart(2, QT_TR_NOOP("AC input and rectifier"), {AcVolts}, {AcAmps, RectTemp}, "V",
               "A / °C");
    QList<int> cells;
    for (int c = 0; c < 15; ++c)
        cells << Cell1 + c;
    buildChart(3, QT_TR_NOOP("Cells"), cells, {CellSpread}, "V", QT_TR_NOOP("spread V"));
    for (int i = 0; i < 4; ++i)
        grid->addWidget(m_charts[std::size_t(i)]->view, i / 2, i % 2);

    connect(m_window, &QComboBox::currentIndexChanged, this, &TrendView::setWindowLength);
    connect(m_followButton, &QPushButton::toggled, this, &TrendView::setFollowing);
    connect(reset, &QPushButton::clicked, this, &TrendView::resetZoom);
    connect(png, &QPushButton::clicked, this, [this] { chooseAndExport(true); });
    connect(csv, &QPushButton::clicked, this, [this] { chooseAndExport(false); });
    connect(open, &QPushButton::clicked, this, &TrendView::chooseAndOpen);
    connect(m_liveButton, &QPushButton::clicked, this, &TrendView::showLive);
    retranslate();
    followLatest();
}

QString TrendView::seriesName(int s) {
    if (s >= Trend::Cell1 && s <= Trend::Cell15) return tr("Cell %1").arg(s - Trend::Cell1 + 1);
    switch (s) {
    case Trend::DcVolts:
        return tr("DC voltage");
    case Trend::DcAmps:
        return tr("DC current");
    case Trend::BattVolts:
        return tr("Battery voltage");
    case Trend::BattAmps:
        return tr("Battery current");
    case Trend::BattTemp:
        return tr("Battery temperature");
    case Trend::AcVolts:
        return tr("AC voltage");
    case Trend::AcAmps:
        return tr("AC current");
    case Trend::RectTemp:
        return tr("Rectifier temperature");
    case Trend::CellSpread:
        return tr("Cell spread (max - min)");
    default:
        return TrendSeriesInfos()[s].name;
    }
}

void TrendView::retranslate() {
    const QStringList windows{tr("5 min"), tr("1 h"), tr("8 h"), tr("24 h")};
    for (int i = 0; i < windows.size(); ++i)
        m_window->setItemText(i, windows[i]);
    m_followButton->setText(tr("Follow"));
    m_followButton->setToolTip(tr("Follow the newest sample (off: paused)"));
    findChild<QPushButton*>("btnTrendResetZoom")->setText(tr("Reset zoom"));
    findChild<QPushButton*>("btnTrendPng")->setText(tr("PNG..."));
    findChild<QPushButton*>("btnTrendCsv")->setText(tr("CSV..."));
    findChild<QPushButton*>("btnOpenDataLog")->setText(tr("Open data log..."));
    m_liveButton->setText(tr("Live"));
    if (!m_file) m_source->setText(tr("Live"));
    for (const auto& c : m_charts) {
        c->chart->setTitle(tr(c->title));
        c->right->setTitleText(tr(c->rightTitle));
    }
    for (int s = 0; s < Trend::Count; ++s) {
        if (!m_series[s]) continue;
        // Fifteen cells share one legend: short names keep it readable.
        const bool cell = s >= Trend::Cell1 && s <= Trend::Cell15;
        m_series[s]->setName(cell                     ? QString::number(s - Trend::Cell1 + 1)
                             : s == Trend::CellSpread ? tr("spread")
                                                      : seriesName(s));
    }
}

void TrendView::changeEvent(QEvent* e) {
    if (e->type() == QEvent::LanguageChange) retranslate();
    QWidget::changeEvent(e);
}

TrendView::~TrendView() = default;

void TrendView::buildChart(int index, const char* title, const QList<int>& left,
                           const QList<int>& right, const QString& leftTitle,
                           const char* rightTitle) {
    auto c = std::make_unique<Chart>();
    c->title = title;
    c->rightTitle = rightTitle;
    c->chart = new QChart;
    c->chart->setTitle(tr(title));
    c->chart->setMargins(QMargins(2, 2, 2, 2));
    c->chart->legend()->setAlignment(Qt::AlignBottom);
    c->chart->legend()->setFont(QFont(font().family(), 7));
    c->chart->setAnimationOptions(QChart::NoAnimation);
    c->x = new QDateTimeAxis;
    c->x->setTickCount(5);
    c->chart->addAxis(c->x, Qt::AlignBottom);
    c->left = new QValueAxis;
    c->left->setTitleText(leftTitle);
    c->chart->addAxis(c->left, Qt::AlignLeft);
    c->right = new QValueAxis;
    c->right->setTitleText(tr(rightTitle));
    c->chart->addAxis(c->right, Qt::AlignRight);
    c->leftSeries = left;
    c->rightSeries = right;
    for (int s : left + right) {
        auto* line = new QLineSeries;
        // Fifteen cells share one legend: short names keep it readable.
        const bool cell = s >= Trend::Cell1 && s <= Trend::Cell15;
        line->setName(cell                     ? QString::number(s - Trend::Cell1 + 1)
                      : s == Trend::CellSpread ? tr("spread")
                                               : seriesName(s));
        QPen pen(seriesColour(s));
        pen.setWidth(s == Trend::CellSpread ? 2 : 1);
        line->setPen(pen);
        c->chart->addSeries(line);
        line->attachAxis(c->x);
        line->attachAxis(left.contains(s) ? c->left : c->right);
        m_series[s] = line;
        m_chartOf[s] = index;
        // A cell stands out while the mouse is on it.
        connect(line, &QLineSeries::hovered, this, [line](const QPointF&, bool on) {
            QPen p = line->pen();
            p.setWidth(on ? 3 : 1);
            line->setPen(p);
        });
        const QList<QLegendMarker*> markers = c->chart->legend()->markers(line);
        for (QLegendMarker* m : markers)
            connect(m, &QLegendMarker::clicked, this, [this, s] { toggleSeries(s); });
    }
    connect(c->x, &QDateTimeAxis::rangeChanged, this, [this](QDateTime min, QDateTime max) {
        // A zoom by the rubber band: every chart follows it.
        if (!m_applying) zoomTo(min.toMSecsSinceEpoch(), max.toMSecsSinceEpoch());
    });
    c->view = new TrendChartView(*this, index, c->chart);
    c->view->setObjectName(QString("chvTrend%1").arg(index + 1));
    c->view->setMinimumSize(320, 220);
    m_charts.push_back(std::move(c));
}

QList<QChartView*> TrendView::chartViews() const {
    QList<QChartView*> views;
    for (const auto& c : m_charts)
        views << c->view;
    return views;
}

void TrendView::toggleSeries(int s) {
    QLineSeries* line = m_series[s];
    line->setVisible(!line->isVisible());
    for (QLegendMarker* m : m_charts[std::size_t(m_chartOf[s])]->chart->legend()->markers(line)) {
        m->setVisible(true); // the entry stays, greyed, so that it can be clicked again
        QColor c = m->labelBrush().color();
        c.setAlphaF(line->isVisible() ? 1.0 : 0.35);
        m->setLabelBrush(c);
    }
    refresh();
}

void TrendView::followLatest() {
    const qint64 length = WindowLengths()[std::max(0, m_window->currentIndex())];
    const TrendStore& s = shown();
    const qint64 latest =
        s.isEmpty() ? QDateTime::currentMSecsSinceEpoch() : s.time(s.size() - 1) + 1;
    // The time axis moves in steps of a twentieth of the window: between two steps a new sample
    // only adds a point at the right end of each line, and no axis is touched.
    const qint64 headroom = length / 20;
    if (m_to - m_from == length && latest <= m_to && m_to - latest <= headroom) return;
    m_to = latest + headroom;
    m_from = m_to - length;
}

void TrendView::sampleAdded() {
    if (m_file) return;
    if (!m_follow) return; // paused or zoomed: the window stays where the user put it
    const qint64 from = m_from, to = m_to;
    followLatest();
    // Hidden, it costs nothing more: the charts are drawn when shown.
    if (!isVisible()) {
        m_dirty = true;
        return;
    }
    if (m_dirty || from != m_from || to != m_to || !appendLatest()) refresh();
}

bool TrendView::appendLatest() {
    const TrendStore& store = m_live;
    const int last = store.size() - 1;
    // Only the one sample that follows the last one drawn, with no gap before it, and a bounded
    // number of points beyond what a full drawing would have (then the window is decimated anew).
    if (last < 1 || store.time(last - 1) != m_lastDrawn || m_appended >= MaxAppended ||
        store.time(last) - m_lastDrawn > m_maxGap)
        return false;
    for (const auto& c : m_charts) {
        for (int s : c->leftSeries + c->rightSeries) {
            if (!m_series[s]->isVisible()) continue;
            const double v = double(store.value(s, last));
            const auto [lo, hi] = c->leftSeries.contains(s) ? c->leftRange : c->rightRange;
            if (!(v >= lo && v <= hi)) return false;   // the axis must rescale
            if (m_tail[s]->count() == 0) return false; // nothing drawn to go on from
        }
    }
    m_applying = true;
    const double t = double(store.time(last));
    for (const auto& c : m_charts) {
        for (int s : c->leftSeries + c->rightSeries) {
            if (!m_series[s]->isVisible()) continue;
            // Into a short line of its own that starts where the drawn one ends: only it is
            // laid out again and repainted, not the whole window's line.
            QLineSeries* tail = liveTail(s);
            if (tail->count() == 0) {
                tail->append(m_tail[s]->at(m_tail[s]->count() - 1));
                showCompanion(tail);
            }
            tail->append(t, double(store.value(s, last)));
        }
    }
    m_applying = false;
    m_lastDrawn = store.time(last);
    ++m_appended;
    return true;
}

void TrendView::showEvent(QShowEvent* e) {
    QWidget::showEvent(e);
    if (m_dirty) refresh();
}

void TrendView::setFollowing(bool on) {
    m_follow = on && !m_file;
    if (m_followButton->isChecked() != m_follow) m_followButton->setChecked(m_follow);
    if (m_follow) {
        followLatest();
        refresh();
    }
}

void TrendView::setWindowLength(int index) {
    if (index < 0) return;
    if (m_follow) {
        followLatest();
    } else {
        m_from = m_to - WindowLengths()[index];
    }
    refresh();
}

void TrendView::zoomTo(qint64 from, qint64 to) {
    if (to <= from) return;
    m_from = from;
    m_to = to;
    if (m_follow) setFollowing(false);
    refresh();
}

void TrendView::resetZoom() {
    if (m_file && !m_file->isEmpty()) {
        m_from = m_file->time(0);
        m_to = m_file->time(m_file->size() - 1) + 1;
        refresh();
        return;
    }
    setFollowing(true);
}

void TrendView::refresh() {
    m_dirty = false;
    m_applying = true;
    const TrendStore& store = shown();
    m_lastDrawn = store.isEmpty() ? -1 : store.time(store.size() - 1);
    m_appended = 0;
    for (QLineSeries* tail : m_liveTails)
        if (tail && tail->count() > 0) {
            tail->clear();
            tail->setVisible(false);
        }
    const qint64 span = m_to - m_from;
    const QString format = span > 24 * 60 * kMinute ? "MM-dd HH:mm"
                           : span > 10 * kMinute    ? "HH:mm"
                                                    : "HH:mm:ss";
    for (const auto& c : m_charts) {
        // A minimum and a maximum per two pixels: every peak stays, nothing is drawn twice.
        const int buckets = std::max(50, int(c->chart->plotArea().width()) / 2);
        ValueRange left, right;
        const qint64 maxGap = GapThreshold(store, m_from, m_to, buckets);
        m_maxGap = maxGap;
        for (int s : c->leftSeries + c->rightSeries) {
            std::vector<std::vector<TrendPoint>> runs;
            if (m_series[s]->isVisible()) {
                runs = SplitAtGaps(DecimateSeries(store, s, m_from, m_to, buckets), maxGap);
            }
            ValueRange& range = c->leftSeries.contains(s) ? left : right;
            // Where no sample was taken no line is drawn: each run is a line of its own.
            std::size_t used = 0;
            for (std::size_t r = 0; r < std::max<std::size_t>(runs.size(), 1); ++r) {
                QList<QPointF> points;
                if (r < runs.size()) {
                    points.reserve(qsizetype(runs[r].size()));
                    for (const TrendPoint& t : runs[r]) {
                        points.append(QPointF(double(t.msecs), double(t.value)));
                        range.take(double(t.value));
                    }
                }
                QLineSeries* line = r == 0 ? m_series[s] : segment(s, used++);
                line->replace(points);
                if (r > 0) showCompanion(line);
                m_tail[s] = line; // the next sample's point goes at its end
            }
            for (std::size_t k = used; k < m_segments[s].size(); ++k) {
                m_segments[s][k]->clear();
                m_segments[s][k]->setVisible(false);
            }
        }
        c->x->setFormat(format);
        c->x->setRange(QDateTime::fromMSecsSinceEpoch(m_from),
                       QDateTime::fromMSecsSinceEpoch(m_to));
        c->leftRange = left.padded();
        c->left->setRange(c->leftRange.first, c->leftRange.second);
        c->rightRange = right.padded();
        c->right->setRange(c->rightRange.first, c->rightRange.second);
        c->view->viewport()->update();
    }
    m_applying = false;
}

QLineSeries* TrendView::liveTail(int s) {
    if (!m_liveTails[s]) m_liveTails[s] = companionLine(s);
    return m_liveTails[s];
}

QLineSeries* TrendView::segment(int s, std::size_t k) {
    std::vector<QLineSeries*>& runs = m_segments[s];
    if (k < runs.size()) return runs[k];
    runs.push_back(companionLine(s));
    return runs.back();
}

QLineSeries* TrendView::companionLine(int s) {
    QLineSeries* main = m_series[s];
    QChart* chart = m_charts[std::size_t(m_chartOf[s])]->chart;
    auto* line = new QLineSeries;
    line->setPen(main->pen());
    chart->addSeries(line);
    for (QAbstractAxis* axis : main->attachedAxes())
        line->attachAxis(axis);
    for (QLegendMarker* m : chart->legend()->markers(line))
        m->setVisible(false);
    return line;
}

void TrendView::showCompanion(QLineSeries* line) {
    line->setVisible(true);
    // A series shown shows its legend entry again: the series it belongs to has it already.
    for (QLegendMarker* m : line->chart()->legend()->markers(line))
        m->setVisible(false);
}

int TrendView::gapSegments(int s) const {
    int n = 0;
    for (const QLineSeries* line : m_segments[s])
        n += line->isVisible() && line->count() > 0;
    return n;
}

QString TrendView::valuesAt(int chart, qint64 msecs) const {
    const TrendStore& store = shown();
    const int i = store.nearest(msecs);
    if (i < 0 || chart < 0 || chart >= int(m_charts.size())) return {};
    const auto& c = m_charts[std::size_t(chart)];
    QString text = QDateTime::fromMSecsSinceEpoch(store.time(i)).toString("yyyy-MM-dd HH:mm:ss");
    for (int s : c->leftSeries + c->rightSeries) {
        if (!m_series[s]->isVisible()) continue;
        const TrendSeriesInfo& info = TrendSeriesInfos()[s];
        text += QString("   %1 %2 %3")
                    .arg(seriesName(s))
                    .arg(double(store.value(s, i)), 0, 'f', info.decimals)
                    .arg(info.unit);
    }
    return text;
}

void TrendView::cursorAt(int chart, qint64 msecs) {
    m_cursor->setText(valuesAt(chart, msecs));
}

bool TrendView::openDataLog(const QString& path) {
    const DataLogRead read = ReadDataLogFile(path);
    if (!read.store) {
        m_hub.show(this, MessageKind::Warning, tr("The data log was not opened.\n\n") + read.error);
        return false;
    }
    m_file = read.store;
    m_follow = false;
    m_followButton->setChecked(false);
    m_followButton->setEnabled(false);
    m_liveButton->setVisible(true);
    m_source->setText(QFileInfo(path).fileName() + ": " + read.summary());
    if (read.skipped > 0 || read.truncatedLast)
        m_hub.show(this, MessageKind::Information,
                   QFileInfo(path).fileName() + ": " + read.summary());
    resetZoom();
    return true;
}

void TrendView::showLive() {
    m_file.reset();
    m_liveButton->setVisible(false);
    m_followButton->setEnabled(true);
    m_source->setText(tr("Live"));
    setFollowing(true);
}

QString TrendView::printTitle() const {
    const auto stamp = [](qint64 ms) {
        return QDateTime::fromMSecsSinceEpoch(ms).toString("yyyy-MM-dd HH:mm");
    };
    const QString span = tr("%1 to %2").arg(stamp(m_from), stamp(m_to));
    return m_plant.isEmpty() ? span : m_plant + "   " + span;
}

QImage TrendView::renderCharts(int width, const QString& title) {
    refresh();
    constexpr int Columns = 2;
    const int rows = (int(m_charts.size()) + Columns - 1) / Columns;
    const int cellWidth = width / Columns;
    const int cellHeight = cellWidth * 3 / 5;
    QFont titleFont = font();
    titleFont.setPixelSize(std::max(14, width / 70));
    titleFont.setBold(true);
    const int titleHeight = QFontMetrics(titleFont).height() * 2;
    QImage image(width, titleHeight + rows * cellHeight, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setFont(titleFont);
    painter.drawText(QRect(12, 0, width - 24, titleHeight), Qt::AlignLeft | Qt::AlignVCenter,
                     title);
    for (std::size_t i = 0; i < m_charts.size(); ++i) {
        QChart* chart = m_charts[i]->chart;
        const QRectF target(double(int(i) % Columns * cellWidth),
                            double(titleHeight + int(i) / Columns * cellHeight), cellWidth,
                            cellHeight);
        // Laid out at the size it is printed at, then given back to its view.
        const QSizeF shown = chart->size();
        chart->resize(target.size());
        refresh();
        chart->scene()->render(&painter, target, chart->sceneBoundingRect());
        chart->resize(shown);
    }
    painter.end();
    refresh();
    return image;
}

bool TrendView::exportPng(const QString& path, QString* error) {
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    if (!renderCharts(1600, printTitle()).save(&buffer, "PNG")) {
        if (error) *error = path + ": " + tr("the image could not be made");
        return false;
    }
    return WriteWholeFile(path, png, error);
}

QByteArray TrendView::LastHourPng(const TrendStore& store, MessageHub& hub, const QString& plant,
                                  int width) {
    TrendView view(store, hub);
    view.setAttribute(Qt::WA_DontShowOnScreen);
    view.resize(1100, 620);
    view.m_window->setCurrentIndex(1); // 1 h
    if (!store.isEmpty()) {
        // The hour up to the last sample, with no room kept for the next one.
        view.m_to = store.time(store.size() - 1) + 1;
        view.m_from = view.m_to - WindowLengths()[1];
    }
    view.setPlant(plant);
    view.show();
    view.refresh();
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    view.renderCharts(width, view.printTitle()).save(&buffer, "PNG");
    return png;
}

bool TrendView::exportCsv(const QString& path) {
    const TrendStore& store = shown();
    QList<QStringList> rows;
    QStringList header{"time"};
    for (const TrendSeriesInfo& i : TrendSeriesInfos())
        header << i.key;
    rows << header;
    const int last = store.lowerBound(m_to);
    for (int i = store.lowerBound(m_from); i < last; ++i) {
        QStringList row{QDateTime::fromMSecsSinceEpoch(store.time(i)).toString(Qt::ISODateWithMs)};
        for (int s = 0; s < Trend::Count; ++s)
            row << QString::number(double(store.value(s, i)), 'f', TrendSeriesInfos()[s].decimals);
        rows << row;
    }
    QString error;
    if (!WriteCsvFile(path, rows, &error)) {
        m_hub.show(this, MessageKind::Warning, tr("The trend data was not saved: ") + error);
        return false;
    }
    return true;
}

void TrendView::chooseAndOpen() {
    const QString path =
        m_hub.chooseFile(this, tr("Open a data log"), "Data log (*.txt);;All files (*)", false);
    if (!path.isEmpty()) openDataLog(path);
}

void TrendView::chooseAndExport(bool png) {
    const QString suffix = png ? ".png" : ".csv";
    QString path = m_hub.chooseFile(
        this, png ? tr("Save the charts as an image") : tr("Save the shown data as CSV"),
        png ? "PNG image (*.png)" : "CSV (*.csv)", true,
        "trend-" + QDateTime::currentDateTime().toString("yyyyMMdd-HHmmss") + suffix);
    if (path.isEmpty()) return;
    if (!path.endsWith(suffix, Qt::CaseInsensitive)) path += suffix;
    QString error;
    if (png && !exportPng(path, &error)) {
        m_hub.show(this, MessageKind::Warning, tr("The image was not saved: ") + error);
        return;
    }
    if (!png && !exportCsv(path)) return;
    m_hub.show(this, MessageKind::Information, tr("Saved ") + path);
}

TrendChartView::TrendChartView(TrendView& view, int index, QChart* chart)
    : QChartView(chart), m_view(view), m_index(index) {
    setRubberBand(QChartView::HorizontalRubberBand);
    setRenderHint(QPainter::Antialiasing, false);
    setMouseTracking(true);
}

qint64 TrendChartView::msecsAt(qreal x) const {
    const QRectF area = chart()->plotArea();
    if (area.width() <= 0) return m_view.from();
    const double f = (x - area.left()) / area.width();
    return m_view.from() + qint64(f * double(m_view.to() - m_view.from()));
}

void TrendChartView::wheelEvent(QWheelEvent* e) {
    const qint64 at = msecsAt(mapToScene(e->position().toPoint()).x());
    const double factor = e->angleDelta().y() > 0 ? 0.8 : 1.25;
    const qint64 from = at - qint64(double(at - m_view.from()) * factor);
    const qint64 to = at + qint64(double(m_view.to() - at) * factor);
    m_view.zoomTo(from, std::max(to, from + 1000));
    e->accept();
}

void TrendChartView::mousePressEvent(QMouseEvent* e) {
    if (e->button() == Qt::RightButton) {
        m_panning = true;
        m_panFromX = e->position().x();
        m_panFrom = m_view.from();
        m_panTo = m_view.to();
        e->accept();
        return;
    }
    QChartView::mousePressEvent(e);
}

void TrendChartView::mouseMoveEvent(QMouseEvent* e) {
    const QPointF scene = mapToScene(e->position().toPoint());
    if (m_panning) {
        const double width = std::max(1.0, chart()->plotArea().width());
        const qint64 shift =
            qint64((m_panFromX - e->position().x()) / width * double(m_panTo - m_panFrom));
        m_view.zoomTo(m_panFrom + shift, m_panTo + shift);
        return;
    }
    m_view.cursorAt(m_index, msecsAt(scene.x()));
    // An alarm marker under the mouse shows its text.
    const QRectF area = chart()->plotArea();
    const double span = double(m_view.to() - m_view.from());
    QString tip;
    for (const TrendMarker& m : m_view.shown().markers()) {
        if (m.msecs < m_view.from() || m.msecs > m_view.to() || span <= 0) continue;
        const double x = area.left() + double(m.msecs - m_view.from()) / span * area.width();
        if (std::abs(x - scene.x()) <= 4) {
            tip += (tip.isEmpty() ? "" : "\n") +
                   QDateTime::fromMSecsSinceEpoch(m.msecs).toString("HH:mm:ss  ") + m.text;
        }
    }
    if (!tip.isEmpty())
        QToolTip::showText(e->globalPosition().toPoint(), tip, this);
    else
        QToolTip::hideText();
    QChartView::mouseMoveEvent(e);
}

void TrendChartView::mouseReleaseEvent(QMouseEvent* e) {
    if (e->button() == Qt::RightButton) {
        m_panning = false; // the base class would zoom out on a right click
        e->accept();
        return;
    }
    QChartView::mouseReleaseEvent(e);
}

void TrendChartView::drawForeground(QPainter* painter, const QRectF& rect) {
    QChartView::drawForeground(painter, rect);
    const QRectF area = chart()->plotArea();
    const double span = double(m_view.to() - m_view.from());
    if (span <= 0) return;
    QPen pen(QColor(0xd0, 0x20, 0x20));
    pen.setStyle(Qt::DashLine);
    painter->save();
    painter->setPen(pen);
    for (const TrendMarker& m : m_view.shown().markers()) {
        if (m.msecs < m_view.from() || m.msecs > m_view.to()) continue;
        const double x = area.left() + double(m.msecs - m_view.from()) / span * area.width();
        painter->drawLine(QPointF(x, area.top()), QPointF(x, area.bottom()));
        // A small flag at the top says whether alarms came or went.
        painter->fillRect(QRectF(x - 3, area.top(), 6, 6), (m.alarm1 | m.alarm2)
                                                               ? QColor(0xd0, 0x20, 0x20)
                                                               : QColor(0x20, 0xa0, 0x20));
    }
    painter->restore();
}
