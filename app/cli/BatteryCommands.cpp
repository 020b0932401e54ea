// quma-cli: battery test start [--wait] | stop | history [--csv FILE] | cells. Every one reads
// the network identity first: the plant's history is kept under its MAC address.
#include "app/cli/Cli.h"

namespace quma::cli {

namespace {
// A forced test that the controller has not begun after this many polls did not start.
constexpr int kStartPolls = 15;
// Polls of the idle pack before a start is sent.
constexpr int kIdleBefore = 3;
} // namespace

bool Cli::parseBattery() {
    const QStringList a = m_args;
    if (a.value(0) == "test" && (a.value(1) == "start" || a.value(1) == "stop")) {
        m_batteryAction = a[1];
        const QStringList rest = a.mid(2);
        m_batteryWait = rest == QStringList{"--wait"} && m_batteryAction == "start";
        if (rest.isEmpty() || m_batteryWait) return true;
    } else if (a.value(0) == "history") {
        m_batteryAction = "history";
        if (a.size() == 1) return true;
        if (a.size() == 3 && a[1] == "--csv") {
            m_csv = a[2];
            return true;
        }
    } else if (a == QStringList{"cells"}) {
        m_batteryAction = "cells";
        return true;
    }
    return usage("battery test start [--wait] | test stop | history [--csv FILE] | cells") == 0;
}

void Cli::beginBattery() {
    QString settingsError;
    m_battery.setSettings(LoadBatterySettings(&settingsError));
    if (!settingsError.isEmpty()) std::fprintf(stderr, "quma-cli: %s\n", qPrintable(settingsError));
    connect(&m_battery, &BatteryWatch::problem, this,
            [](const QString& text) { std::fprintf(stderr, "quma-cli: %s\n", qPrintable(text)); });
    connect(&m_battery, &BatteryWatch::testStarted, this, [this] {
        m_batteryStarted = true;
        if (m_batteryAction == "start") out(QString("Test running."));
    });
    connect(&m_battery, &BatteryWatch::historyChanged, this, [this] {
        // After the engine is done with the identity reply that brought the plant.
        if (!std::exchange(m_plantSeen, true))
            QTimer::singleShot(0, this, [this] { onBatteryPlant(); });
    });
    connect(&m_battery, &BatteryWatch::cellsChanged, this, [this] {
        if (m_plantSeen) onBatteryPoll();
    });
    connect(&m_battery, &BatteryWatch::testEnded, this,
            [this](const DischargeTest& test, const QString& error) {
                if (m_batteryAction != "start") return;
                for (const QString& line : DischargeTestLines(test))
                    out(line);
                if (!error.isEmpty()) {
                    finish(1); // the reason is said already (problem)
                    return;
                }
                switch (test.verdict) {
                case Verdict::Pass:
                    finish(0);
                    break;
                case Verdict::LookCloser:
                    finish(3);
                    break;
                case Verdict::Fail:
                    finish(4);
                    break;
                case Verdict::Incomplete:
                    fail(EndReasonText(test.endReason));
                    break;
                }
            });
    m_battery.attach(m_engine);
    m_engine.ReadNetworkIdentity();
    m_engine.Timer1Timer();
}

// After the identity: the plant is known, its history loaded.
void Cli::onBatteryPlant() {
    if (m_batteryAction == "history") {
        const QList<DischargeTest>& tests = m_battery.history().tests();
        QList<QStringList> rows{DischargeTableHeader()};
        for (const DischargeTest& t : tests)
            rows << DischargeTableRow(t);
        for (const QStringList& r : rows)
            out(r.join('\t'));
        QString error;
        if (!m_csv.isEmpty() && !WriteCsvFile(m_csv, rows, &error)) {
            fail(error);
            return;
        }
        if (tests.isEmpty())
            std::fprintf(
                stderr, "%s\n",
                qPrintable(QString("No test recorded in %1").arg(m_battery.history().path())));
        finish();
    } else if (m_batteryAction == "stop") {
        sendBatteryCommand(2);
    }
}

void Cli::sendBatteryCommand(int value) {
    m_batteryWrite = true;
    if (!m_engine.QueueWrites({{Reg::ForcedTest, value}})) fail("nothing was written");
}

void Cli::onBatteryPoll() {
    // A start goes out after a few polls: the idle pack before it is part of the record (the
    // voltage step at the start gives the resistance figure).
    if (m_batteryAction == "start" && !m_batteryWrite && ++m_batteryIdlePolls >= kIdleBefore) {
        m_batteryIdlePolls = 0;
        sendBatteryCommand(1);
        return;
    }
    if (m_batteryAction == "cells") {
        const CellTrend& trend = m_battery.cells();
        const RegisterImage& img = m_engine.image();
        for (int c = 1; c <= Reg::CellCount; ++c)
            out(QString("Cell %1: %2 V (%3 mV from the mean)%4")
                    .arg(c, 2)
                    .arg(img[Reg::Cell1 + c - 1] / 100.0, 0, 'f', 2)
                    .arg(trend.deviations()[c - 1] * 1000, 0, 'f', 0)
                    .arg(img[Reg::CellBalance] & (1 << (c - 1)) ? QString(", balancing")
                                                                : QString()));
        finish();
        return;
    }
    // A confirmed start that the controller does not follow.
    if (m_batteryAction == "start" && m_batteryConfirmed && !m_batteryStarted &&
        ++m_batteryIdlePolls >= kStartPolls)
        fail(QString("the controller did not start a test (is a "
                     "battery installed and idle?)"));
}

void Cli::onBatteryConfirmed() {
    m_batteryConfirmed = true;
    if (m_batteryAction == "stop") {
        out(QString("Stop sent."));
        finish();
    } else if (!m_batteryWait) {
        out(QString("Start sent."));
        finish();
    } else {
        m_engine.ReturnToPolling(); // and the test followed from the polls
    }
}

} // namespace quma::cli
