// The Battery tab.
#include "gui/battery/BatteryTab.h"

#include "core/battery/BatteryWatch.h"
#include "core/monitor/MonitorEngine.h"
#include "core/monitor/RectMode.h"
#include "gui/shared/MessageHub.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>
#include <cmath>

using namespace quma;

CellBars::CellBars(QWidget* parent) : QWidget(parent) {
    setObjectName("cellBars");
    setMinimumHeight(120);
}

void CellBars::setCells(const std::array<double, 15>& deviations, const QList<int>& flagged,
                        double thresholdVolts) {
    m_deviation = deviations;
    m_flagged = flagged;
    m_threshold = thresholdVolts;
    update();
}

void CellBars::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF area = QRectF(rect()).adjusted(36, 6, -6, -20);
    // The scale: at least twice the threshold, more when a cell is further out.
    double span = 2 * m_threshold;
    for (double d : m_deviation)
        span = std::max(span, std::abs(d) * 1.1);
    const double mid = area.center().y();
    const auto y = [&](double v) { return mid - v / span * area.height() / 2; };
    p.setPen(QPen(palette().color(QPalette::Mid), 1, Qt::DashLine));
    for (double t : {m_threshold, -m_threshold})
        p.drawLine(QPointF(area.left(), y(t)), QPointF(area.right(), y(t)));
    p.setPen(palette().color(QPalette::WindowText));
    p.drawLine(QPointF(area.left(), mid), QPointF(area.right(), mid));
    p.drawText(QRectF(0, y(span) - 8, 34, 16), Qt::AlignRight | Qt::AlignVCenter,
               QString("+%1").arg(span * 1000, 0, 'f', 0));
    p.drawText(QRectF(0, y(-span) - 8, 34, 16), Qt::AlignRight | Qt::AlignVCenter,
               QString("-%1").arg(span * 1000, 0, 'f', 0));
    p.drawText(QRectF(0, mid - 8, 34, 16), Qt::AlignRight | Qt::AlignVCenter, "mV");
    const double step = area.width() / 15;
    for (int c = 0; c < 15; ++c) {
        const double d = m_deviation[std::size_t(c)];
        const QRectF bar(area.left() + c * step + step * 0.2, std::min(y(d), mid), step * 0.6,
                         std::abs(y(d) - mid));
        p.fillRect(bar, m_flagged.contains(c + 1) ? QColor(200, 30, 30) : QColor(40, 110, 180));
        p.drawText(QRectF(area.left() + c * step, area.bottom() + 2, step, 16), Qt::AlignCenter,
                   QString::number(c + 1));
    }
}

BatteryTab::BatteryTab(MonitorEngine& engine, BatteryWatch& watch, MessageHub& hub, QWidget* parent)
    : QWidget(parent), m_engine(engine), m_watch(watch), m_hub(hub) {
    setObjectName("BatteryTab");
    auto* layout = new QVBoxLayout(this);

    m_liveBox = new QGroupBox(this);
    m_liveBox->setObjectName("gbBatteryTest");
    auto* live = new QGridLayout(m_liveBox);
    const auto label = [&](const char* name) {
        auto* l = new QLabel(m_liveBox);
        l->setObjectName(name);
        return l;
    };
    m_state = label("lblTestState");
    m_charge = label("lblTestCharge");
    m_pack = label("lblTestPack");
    m_projection = label("lblTestProjection");
    m_start = new QPushButton(m_liveBox);
    m_start->setObjectName("btnStartTest");
    m_stop = new QPushButton(m_liveBox);
    m_stop->setObjectName("btnStopTest");
    live->addWidget(m_state, 0, 0);
    live->addWidget(m_charge, 1, 0);
    live->addWidget(m_pack, 0, 1);
    live->addWidget(m_projection, 1, 1);
    live->addWidget(m_start, 0, 2);
    live->addWidget(m_stop, 1, 2);
    live->setColumnStretch(0, 1);
    live->setColumnStretch(1, 1);
    layout->addWidget(m_liveBox);

    m_historyBox = new QGroupBox(this);
    m_historyBox->setObjectName("gbBatteryHistory");
    auto* history = new QVBoxLayout(m_historyBox);
    m_tests = new QTableWidget(m_historyBox);
    m_tests->setObjectName("tblBatteryTests");
    m_tests->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_tests->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_tests->verticalHeader()->hide();
    m_tests->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    history->addWidget(m_tests);
    layout->addWidget(m_historyBox, 1);

    m_cellsBox = new QGroupBox(this);
    m_cellsBox->setObjectName("gbCells");
    auto* cells = new QVBoxLayout(m_cellsBox);
    m_bars = new CellBars(m_cellsBox);
    m_flagged = new QLabel(m_cellsBox);
    m_flagged->setObjectName("lblFlaggedCells");
    cells->addWidget(m_bars);
    cells->addWidget(m_flagged);
    layout->addWidget(m_cellsBox);

    connect(m_start, &QPushButton::clicked, this, &BatteryTab::startTest);
    connect(m_stop, &QPushButton::clicked, this, &BatteryTab::stopTest);
    connect(&m_watch, &BatteryWatch::testStarted, this, &BatteryTab::showLive);
    connect(&m_watch, &BatteryWatch::testProgress, this, &BatteryTab::showLive);
    connect(&m_watch, &BatteryWatch::historyChanged, this, &BatteryTab::showHistory);
    connect(&m_watch, &BatteryWatch::testEnded, this, [this](const DischargeTest& t) {
        showLive();
        m_hub.show(this,
                   t.verdict == Verdict::Fail ? MessageKind::Warning : MessageKind::Information,
                   DischargeTestLines(t).join('\n'));
    });
    connect(&m_watch, &BatteryWatch::plantNeeded, this, &BatteryTab::identifyPlant);
    connect(&m_watch, &BatteryWatch::problem, this,
            [this](const QString& text) { m_hub.show(this, MessageKind::Warning, text); });
    connect(&m_watch, &BatteryWatch::cellsChanged, this, [this] {
        if (isVisible()) showCells();
    });
    retranslate();
}

void BatteryTab::retranslate() {
    m_liveBox->setTitle(tr("Discharge test"));
    m_historyBox->setTitle(tr("Tests of this plant"));
    m_cellsBox->setTitle(tr("Cells: distance from the mean of the 15"));
    m_start->setText(tr("Start test..."));
    m_stop->setText(tr("Stop test"));
    m_start->setToolTip(tr("Start a forced discharge test (register 92)"));
    showLive();
    showHistory();
    showCells();
}

void BatteryTab::showLive() {
    const bool running = m_watch.running();
    m_stop->setEnabled(running);
    m_start->setEnabled(!running);
    if (!running) {
        m_state->setText(tr("No test running."));
        m_charge->clear();
        m_pack->clear();
        m_projection->clear();
        return;
    }
    const DischargeProgress& p = m_watch.progress();
    m_state->setText(
        tr("Test running: %1 of %2 min").arg(p.elapsedMs / 60000.0, 0, 'f', 1).arg(p.setMinutes));
    m_charge->setText(tr("%1 Ah delivered").arg(p.ampereHours, 0, 'f', 3));
    m_pack->setText(tr("%1 V, %2 A; cells %3 to %4 V")
                        .arg(p.last.volts, 0, 'f', 2)
                        .arg(p.last.amps, 0, 'f', 1)
                        .arg(p.last.cellMin, 0, 'f', 2)
                        .arg(p.last.cellMax, 0, 'f', 2));
    m_projection->setText(p.minutesToEndVolts < 0
                              ? tr("End voltage %1 V: not in sight").arg(p.endVolts, 0, 'f', 1)
                              : tr("End voltage %1 V in about %2 min")
                                    .arg(p.endVolts, 0, 'f', 1)
                                    .arg(p.minutesToEndVolts, 0, 'f', 0));
}

void BatteryTab::showHistory() {
    const QList<DischargeTest>& tests = m_watch.history().tests();
    m_tests->clear();
    m_tests->setColumnCount(int(DischargeTableHeader().size()));
    m_tests->setHorizontalHeaderLabels(DischargeTableHeader());
    m_tests->setRowCount(int(tests.size()));
    // The newest first.
    for (int r = 0; r < tests.size(); ++r) {
        const DischargeTest& t = tests[tests.size() - 1 - r];
        const QStringList cells = DischargeTableRow(t);
        for (int c = 0; c < cells.size(); ++c) {
            auto* item = new QTableWidgetItem(cells[c]);
            if (c == cells.size() - 1) {
                static const QColor kColours[] = {QColor(200, 240, 200), QColor(255, 235, 170),
                                                  QColor(250, 190, 190), QColor(225, 225, 225)};
                item->setBackground(kColours[int(t.verdict)]);
                item->setToolTip(t.findings.join('\n'));
            }
            m_tests->setItem(r, c, item);
        }
    }
}

void BatteryTab::showCells() {
    const CellTrend& trend = m_watch.cells();
    m_bars->setCells(trend.deviations(), trend.flagged(), trend.settings().thresholdVolts);
    QStringList flagged;
    for (int c : trend.flagged())
        flagged << QString("#%1 (%2 mV)").arg(c).arg(trend.deviations()[c - 1] * 1000, 0, 'f', 0);
    m_flagged->setText(flagged.isEmpty() ? tr("No cell stays apart from the others.")
                                         : tr("Apart from the others for %1 min or more: %2")
                                               .arg(trend.settings().holdMs / 60000)
                                               .arg(flagged.join(", ")));
}

void BatteryTab::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    showCells();
    identifyPlant();
}

void BatteryTab::identifyPlant() {
    if (!m_watch.plant().isEmpty() || !m_engine.timer1Enabled() ||
        m_engine.commandKind() != RectMode::Poll)
        return;
    m_engine.ReadNetworkIdentity();
}

void BatteryTab::startTest() {
    if (m_linkCheck && !m_linkCheck()) return;
    const RegisterImage& img = m_engine.image();
    const QString question =
        tr("A discharge test makes the battery carry the plant's load: the rectifiers stand back "
           "until the test ends after %1 min or at the end voltage of %2 V. A weak battery may "
           "leave the load without power.\n\nStart the test?")
            .arg(img[Reg::TestMinutes])
            .arg(img[Reg::TestEndVolts] / 10.0, 0, 'f', 1);
    if (!m_hub.confirm(this, question)) return;
    send(1);
}

void BatteryTab::stopTest() {
    if (m_linkCheck && !m_linkCheck()) return;
    send(2);
}

void BatteryTab::send(int value) {
    if (m_engine.commandKind() != RectMode::Poll) {
        m_hub.show(this, MessageKind::Warning,
                   tr("The console is busy with another command: try again when it has "
                      "finished."));
        return;
    }
    if (!m_engine.QueueWrites({{Reg::ForcedTest, value}})) return;
    // Polling again once the controller took it: the test is followed from the polls.
    auto* done = new QObject(this);
    const auto back = [this, done] {
        m_engine.ReturnToPolling();
        done->deleteLater();
    };
    connect(&m_engine, &MonitorEngine::commandSucceeded, done, back);
    QTimer::singleShot(5000, done, [this, back] {
        back();
        m_hub.show(this, MessageKind::Warning,
                   tr("The controller did not confirm the test command: look at the Battery tab "
                      "to see whether a test runs."));
    });
    connect(&m_engine, &MonitorEngine::userMessage, done, [back](MessageKind kind) {
        if (kind == MessageKind::Warning) back();
    });
}
