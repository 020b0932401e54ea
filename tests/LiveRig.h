// An engine connected to an in-process simulated controller over loopback TCP or a real
// pseudo-terminal.
#pragma once

#include "core/monitor/LinkSession.h"
#include "core/monitor/MonitorEngine.h"
#include "core/monitor/SessionFile.h"
#include "sim/SimServer.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QList>
#include <QPair>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTest>

namespace quma::test {

struct LiveRig {
    sim::SimServer sim;
    MonitorEngine engine;
    LinkSession session{engine};
    SessionRecorder recorder;
    QList<QPair<MessageKind, QString>> messages;
    bool ok = false;

    LiveRig(LinkKind kind, const sim::SimOptions& options = frozen()) : sim(options) {
        engine.link().setTraceSink({});
        record();
        QObject::connect(&engine, &MonitorEngine::userMessage,
                         [this](MessageKind k, const QString& t) {
                             messages.append({k, t});
                         });
        QString error;
        if (kind == LinkKind::Tcp) {
            if (!sim.listenTcp()) return;
            QSignalSpy connected(&session, &LinkSession::connected);
            session.connectTcp(QString("127.0.0.1:%1").arg(sim.tcpPort()), &error);
            ok = connected.wait(5000) && connected.first().first().toBool();
        } else {
            ok = sim.openPty() && session.connectSerial(sim.ptyPath(), &error);
        }
    }
    // With QUMA_TEST_RECORDINGS naming a folder, the link is recorded there, a file per rig named
    // after the suite, the test function and its row (scripts/wire-session.sh compares builds).
    void record() {
        const QString folder = qEnvironmentVariable("QUMA_TEST_RECORDINGS");
        if (folder.isEmpty()) return;
        QString name = QCoreApplication::applicationName() + '.' + QTest::currentTestFunction() +
                       '.' + QTest::currentDataTag();
        name.replace(QRegularExpression("[^A-Za-z0-9_.-]"), "_");
        const QString stem = folder + '/' + name;
        QString path = stem + ".jsonl";
        for (int n = 2; QFileInfo::exists(path); ++n)
            path = stem + '.' + QString::number(n) + ".jsonl";
        QString error;
        if (recorder.start(path, "test", &error))
            recorder.attach(engine.link());
        else
            qWarning("%s", qPrintable(error));
    }
    static sim::SimOptions frozen() {
        sim::SimOptions o;
        o.frozen = true;
        return o;
    }
    QStringList texts() const {
        QStringList out;
        for (const auto& m : messages)
            out << m.second;
        return out;
    }
    // Ticks Timer1 by hand until a poll has been decoded.
    bool pollOnce(int timeoutMs = 3000) {
        QSignalSpy refreshed(&engine, &MonitorEngine::statusRefreshed);
        QElapsedTimer t;
        t.start();
        while (t.elapsed() < timeoutMs) {
            engine.Timer1Timer();
            if (refreshed.count() > 0 || refreshed.wait(50)) return true;
        }
        return false;
    }
    // Waits until a message arrives (or the time is up).
    bool waitMessage(int count = 1, int timeoutMs = 5000) {
        QElapsedTimer t;
        t.start();
        while (messages.size() < count && t.elapsed() < timeoutMs)
            QTest::qWait(5);
        return messages.size() >= count;
    }
};

} // namespace quma::test
