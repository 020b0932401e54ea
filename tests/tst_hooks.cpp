// The agent's hooks: a command run on each alarm raised and cleared with what happened in its
// environment, a flapping contact held to the debounce, a command that hangs killed at its limit.
#include "core/monitor/RegisterMap.h"
#include "sim/SimServer.h"
#include "tests/AgentRig.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QtTest>

using namespace quma;
using namespace quma::test;

namespace {

// A script that appends its environment's QUMA_ variables, one line a run.
QString recorder(const QTemporaryDir& dir) {
    const QString path = dir.filePath("hook.sh");
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    f.write(QString("#!/bin/sh\necho \"$QUMA_EVENT $QUMA_SITE $QUMA_ALARM $QUMA_STATE "
                    "$QUMA_SEVERITY dc=$QUMA_DC_VOLTS\" >> %1\n")
                .arg(dir.filePath("runs.log"))
                .toUtf8());
    f.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return path;
}

QByteArray agentConfig(quint16 simPort, const QJsonObject& hook) {
    return QJsonDocument(
               QJsonObject{{"format", "quma-agent-config"},
                           {"version", 1},
                           {"metrics", QJsonObject{{"listen", "127.0.0.1:0"}}},
                           {"poll_period", 0.2},
                           {"hooks", QJsonArray{hook}},
                           {"sites", QJsonArray{QJsonObject{
                                         {"name", "site-a"},
                                         {"tcp", QString("127.0.0.1:%1").arg(simPort)}}}}})
        .toJson();
}

// The agent running the recorder on the alarms of `plant`.
bool startRecording(AgentRun& agent, const sim::SimServer& plant, const QTemporaryDir& dir,
                    double debounce) {
    return agent.start(agentConfig(
        plant.tcpPort(), QJsonObject{{"command", QJsonArray{recorder(dir)}},
                                     {"events", QJsonArray{"alarm_raised", "alarm_cleared"}},
                                     {"debounce", debounce}}));
}

QStringList runs(const QTemporaryDir& dir, const QString& alarm) {
    QFile f(dir.filePath("runs.log"));
    QStringList lines;
    if (f.open(QIODevice::ReadOnly))
        for (const QString& l : QString::fromUtf8(f.readAll()).split('\n', Qt::SkipEmptyParts))
            if (l.section(' ', 2, 2) == alarm) lines << l;
    return lines;
}

sim::SimOptions frozen() {
    sim::SimOptions o;
    o.frozen = true;
    return o;
}

} // namespace

class TestHooks : public QObject {
    Q_OBJECT
private slots:
    void raisedThenCleared() {
        sim::SimServer plant(frozen());
        plant.model().setReg(Reg::DcVolts, 545);
        QVERIFY(plant.listenTcp());
        QTemporaryDir dir;
        AgentRun agent;
        QVERIFY(startRecording(agent, plant, dir, 0));
        QVERIFY(WaitFor([&] { return plant.requestsServed() > 2; }, 10000));
        plant.model().setReg(Reg::Alarm1, 0x0001);
        QVERIFY(WaitFor([&] { return runs(dir, "ac_failure").size() == 1; }, 10000));
        plant.model().setReg(Reg::Alarm1, 0);
        QVERIFY(WaitFor([&] { return runs(dir, "ac_failure").size() == 2; }, 10000));
        QCOMPARE(runs(dir, "ac_failure"),
                 (QStringList{"alarm_raised site-a ac_failure raised major dc=54.5",
                              "alarm_cleared site-a ac_failure cleared major dc=54.5"}));
        const QString log = QString::fromUtf8(agent.process.readAll());
        QVERIFY2(log.contains("event alarm_raised site=site-a alarm=ac_failure severity=major"),
                 qPrintable(log));
    }

    // A contact toggling every 200 ms for 10 s, a debounce of 2 s: at most one run a window
    // and one at the window's end.
    void flappingContact() {
        sim::SimServer plant(frozen());
        QVERIFY(plant.listenTcp());
        QTemporaryDir dir;
        AgentRun agent;
        QVERIFY(startRecording(agent, plant, dir, 2));
        QVERIFY(WaitFor([&] { return plant.requestsServed() > 2; }, 10000));
        QTimer flap;
        int toggles = 0;
        QObject::connect(&flap, &QTimer::timeout,
                         [&] { plant.model().setReg(Reg::DryContacts, ++toggles % 2); });
        flap.start(200);
        QTest::qWait(10000);
        flap.stop();
        plant.model().setReg(Reg::DryContacts, 0);
        QTest::qWait(3000); // the last window's end
        const QStringList got = runs(dir, "contact_1");
        qInfo("%d toggles, %lld runs", toggles, qlonglong(got.size()));
        QVERIFY2(got.size() >= 2 && got.size() <= 13 / 2 + 1, qPrintable(got.join('\n')));
        // The last run tells the state the contact was left in.
        QVERIFY(got.last().startsWith("alarm_cleared"));
    }

    void hangingHookIsKilled() {
        sim::SimServer plant(frozen());
        QVERIFY(plant.listenTcp());
        QTemporaryDir dir;
        const QString script = dir.filePath("hang.sh");
        QFile f(script);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("#!/bin/sh\nexec sleep 30\n");
        f.close();
        f.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        AgentRun agent;
        QVERIFY(agent.start(agentConfig(
            plant.tcpPort(),
            QJsonObject{{"command", QJsonArray{script}}, {"timeout", 0.5}, {"debounce", 0}})));
        QByteArray log;
        QVERIFY2(WaitFor(
                     [&] {
                         log += agent.process.readAll();
                         return log.contains("killed after 0.5 s (site_up at site-a)");
                     },
                     10000),
                 log.constData());
    }
};

QTEST_GUILESS_MAIN(TestHooks)
#include "tst_hooks.moc"
