// The agent as an AgentX subagent, through Debian's snmpd and snmptrapd started for the test:
// the site, cell and alarm tables read by snmpwalk in the MIB's units, the notifications, a
// restarted master, and the MIB module against what the code serves. Every OID here is numeric,
// so the checks hold without MIB text; the MIB itself is checked by smilint and snmptranslate.
#include "agent/SnmpTable.h"
#include "sim/SimServer.h"
#include "tests/SnmpRig.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QSet>
#include <QtTest>

using namespace quma;
using namespace quma::agent;
using namespace quma::test;

namespace {

const QString kRoot = "1.3.6.1.4.1.32473";
const QString kMibDirs =
    QString(QUMA_SOURCE_DIR) + "/tests/snmp/mibs:" + QUMA_SOURCE_DIR + "/deploy";

QString at(const QString& place) {
    return kRoot + "." + place;
}

sim::SimOptions frozen(quint32 seed) {
    sim::SimOptions o;
    o.frozen = true;
    o.seed = seed;
    return o;
}

// The agent's configuration: `sites` polled every 0.3 s, a subagent of `snmpd`. Sites by name:
// a TCP port, or a serial device.
QByteArray agentConfig(const SnmpdServer& snmpd, const QList<QPair<QString, QVariant>>& sites,
                       int heartbeat) {
    QJsonArray list;
    for (const auto& [name, link] : sites) {
        QJsonObject site{{"name", name}, {"labels", QJsonObject{{"region", "south"}}}};
        if (link.typeId() == QMetaType::QString)
            site["serial"] = link.toString();
        else
            site["tcp"] = QString("127.0.0.1:%1").arg(link.toInt());
        list << site;
    }
    return QJsonDocument(QJsonObject{{"format", "quma-agent-config"},
                                     {"version", 1},
                                     {"metrics", QJsonObject{{"listen", "127.0.0.1:0"}}},
                                     {"poll_period", 0.3},
                                     {"snmp", QJsonObject{{"agentx_socket", snmpd.socket},
                                                          {"heartbeat_period", heartbeat}}},
                                     {"sites", list}})
        .toJson();
}

// The servers and the agent for one test.
struct Rig {
    SnmptrapdServer traps;
    SnmpdServer snmpd;
    AgentRun agent;
    QString failure;
    bool start(const QList<QPair<QString, QVariant>>& sites, int heartbeat = 0) {
        if (!traps.start())
            failure = traps.missing.isEmpty() ? "snmptrapd did not start: " + traps.readLog()
                                              : traps.missing;
        else if (!snmpd.start(traps.port))
            failure = snmpd.missing.isEmpty() ? "snmpd did not start" : snmpd.missing;
        else if (!agent.start(agentConfig(snmpd, sites, heartbeat)))
            failure = "the agent did not start";
        return failure.isEmpty();
    }
    QString agentLog() { return QString::fromUtf8(agent.process.readAll()); }
};

QList<SnmptrapdServer::Trap> trapsOf(const SnmptrapdServer& traps, unsigned long which) {
    QList<SnmptrapdServer::Trap> found;
    for (const auto& t : traps.traps())
        if (t.oid == at(QString("2.0.%1").arg(which))) found << t;
    return found;
}

} // namespace

class TestSnmp : public QObject {
    Q_OBJECT
private slots:
    // Three sites, two of them on links with faults (TCP and serial): the site table in the
    // MIB's units, the cells, the invalid value, the alarm table and its notifications, the
    // heartbeat, and a site that stops answering.
    void tablesAndNotifications() {
        sim::SimServer a(frozen(1));
        a.model().setReg(Reg::DcVolts, 545);
        a.model().setReg(Reg::BattAmps, 0x10000 - 123); // discharging 12.3 A
        a.model().setReg(Reg::BattTemp, kTempProbeOpen);
        QVERIFY(a.listenTcp());
        auto b = std::make_unique<sim::SimServer>(frozen(2));
        b->faults.dropEvery = 5;
        b->faults.garbageEvery = 7;
        b->faults.badLrcEvery = 11;
        b->model().setReg(Reg::DcVolts, 536);
        QVERIFY(b->listenTcp());
        sim::SimServer c(frozen(3));
        c.faults = b->faults;
        c.model().setReg(Reg::DcVolts, 527);
        QVERIFY(c.openPty());
        Rig rig;
        if (!rig.start({{"site-a", a.tcpPort()}, {"site-b", b->tcpPort()}, {"site-c", c.ptyPath()}},
                       2))
            QFAIL(qPrintable(rig.failure));

        const QString status1 = at("1.2.1.5.1"), status2 = at("1.2.1.5.2");
        QVERIFY2(WaitFor([&] { return rig.snmpd.get(status1) == "INTEGER: 1"; }, 20000),
                 qPrintable(rig.agentLog()));
        QVERIFY(WaitFor([&] { return rig.snmpd.get(status2) == "INTEGER: 1"; }, 20000));
        QVERIFY(WaitFor([&] { return rig.snmpd.get(at("1.2.1.5.3")) == "INTEGER: 1"; }, 20000));
        // The identity is read once each site answers, through the faults too.
        for (const QString site : {"1", "2", "3"})
            QVERIFY2(WaitFor(
                         [&] {
                             return rig.snmpd.get(at("1.2.1.11." + site)) ==
                                    "STRING: \"2200000001\"";
                         },
                         10000),
                     qPrintable("site " + site));

        const QMap<QString, QString> walk = rig.snmpd.walk(kRoot);
        QCOMPARE(walk.value(at("1.1.2.0")), QString("Gauge32: 3"));
        QCOMPARE(walk.value(at("1.1.3.0")), QString("Gauge32: 3"));
        QCOMPARE(walk.value(at("1.2.1.2.1")), QString("STRING: \"site-a\""));
        QCOMPARE(walk.value(at("1.2.1.3.1")), QString("STRING: \"region=south\""));
        QCOMPARE(walk.value(at("1.2.1.7.1")), QString("STRING: \"QUMA-7TN(A)\""));
        QCOMPARE(walk.value(at("1.2.1.10.1")), QString("Hex-STRING: 02 5E C4 E0 00 01"));
        QCOMPARE(walk.value(at("1.2.1.11.1")), QString("STRING: \"2200000001\""));
        QCOMPARE(walk.value(at("1.2.1.15.1")), QString("INTEGER: 54500"));
        QCOMPARE(walk.value(at("1.2.1.15.2")), QString("INTEGER: 53600"));
        QCOMPARE(walk.value(at("1.2.1.15.3")), QString("INTEGER: 52700"));
        QVERIFY(walk.value(at("1.2.1.4.3")).startsWith("STRING: \"serial /dev/pts/"));
        QCOMPARE(walk.value(at("1.2.1.18.1")), QString("INTEGER: -12300"));
        QCOMPARE(walk.value(at("1.2.1.20.1")), QString("INTEGER: 2147483647"));
        // 15 cells a site, in mV.
        for (const QString site : {"1", "2", "3"}) {
            int cells = 0;
            for (auto it = walk.begin(); it != walk.end(); ++it)
                cells += it.key().startsWith(at("1.3.1.2." + site + "."));
            QCOMPARE(cells, 15);
        }
        QVERIFY(walk.value(at("1.3.1.2.1.1")).contains(QRegularExpression("^INTEGER: 3\\d{3}$")));

        // What is served is what the MIB declares readable: each instance belongs to a
        // read-only object, and each such object has instances (the alarm table's, below).
        QSet<QString> readable, served;
        for (const SnmpObject& o : SnmpObjects())
            if (o.access == SnmpObject::ReadOnly) readable << at(OidText(o.place));
        const auto objectOf = [&](const QString& instance) {
            for (const QString& r : readable)
                if (instance.startsWith(r + ".")) return r;
            return QString();
        };
        const auto collect = [&](const QMap<QString, QString>& w) {
            for (auto it = w.begin(); it != w.end(); ++it) {
                const QString object = objectOf(it.key());
                QVERIFY2(!object.isEmpty(), qPrintable(it.key() + " is not in the MIB"));
                served << object;
            }
        };
        collect(walk);

        // Two alarms: two raise notifications, in sequence, and two rows.
        const qsizetype before = rig.traps.traps().size();
        a.model().setReg(Reg::Alarm1, 0x0101); // AC failure, rectifier module failure
        const auto alarmTraps = [&](unsigned long which) {
            QList<SnmptrapdServer::Trap> list;
            for (const auto& t : trapsOf(rig.traps, which))
                if (t.vars.value(at("1.2.1.2.1")) == "STRING: \"site-a\"" &&
                    !t.vars.value(at("1.5.2.0")).contains("Contact") &&
                    !t.vars.value(at("1.5.2.0")).contains("Battery Discharge"))
                    list << t;
            return list;
        };
        QList<SnmptrapdServer::Trap> raised;
        QVERIFY(
            WaitFor([&] { return (raised = alarmTraps(Mib::AlarmRaised)).size() == 2; }, 10000));
        QVERIFY(rig.traps.traps().size() > before);
        QMap<QString, quint32> sequenceOf;
        QMap<QString, QString> severityOf;
        quint32 last = 0;
        for (const auto& t : raised) {
            const quint32 seq = t.vars.value(at("1.5.1.0")).section(' ', -1).toUInt();
            QVERIFY(seq > last);
            last = seq;
            // The row's instance is the notification's sequence number.
            const QString name = t.vars.value(at(QString("1.4.1.2.1.%1").arg(seq)));
            sequenceOf[name] = seq;
            severityOf[name] = t.vars.value(at(QString("1.4.1.4.1.%1").arg(seq)));
        }
        const QMap<QString, QString> severities{
            {"STRING: \"AC Failure\"", "INTEGER: 2"},              // major
            {"STRING: \"Rectifier Module Failure\"", "INTEGER: 3"} // minor
        };
        QCOMPARE(severityOf, severities);
        const quint32 acSeq = sequenceOf.first(), moduleSeq = sequenceOf.last();
        QVERIFY(WaitFor(
            [&] {
                const auto rows = rig.snmpd.walk(at("1.4.1.2.1"));
                return rows.value(at(QString("1.4.1.2.1.%1").arg(acSeq))) ==
                           "STRING: \"AC Failure\"" &&
                       rows.value(at(QString("1.4.1.2.1.%1").arg(moduleSeq))) ==
                           "STRING: \"Rectifier Module Failure\"";
            },
            5000));
        collect(rig.snmpd.walk(at("1.4")));
        QCOMPARE(served, readable);

        // Cleared: two clear notifications naming the rows, and the rows gone.
        a.model().setReg(Reg::Alarm1, 0);
        QVERIFY(WaitFor([&] { return alarmTraps(Mib::AlarmCleared).size() == 2; }, 10000));
        for (const auto& t : alarmTraps(Mib::AlarmCleared))
            QVERIFY(t.vars.value(at("1.5.1.0")).section(' ', -1).toUInt() > moduleSeq);
        QVERIFY(WaitFor(
            [&] {
                const auto rows = rig.snmpd.walk(at("1.4.1.2.1"));
                return !rows.contains(at(QString("1.4.1.2.1.%1").arg(acSeq))) &&
                       !rows.contains(at(QString("1.4.1.2.1.%1").arg(moduleSeq)));
            },
            5000));

        // The heartbeat every 2 s carries the last sequence number.
        QVERIFY(WaitFor([&] { return trapsOf(rig.traps, Mib::Heartbeat).size() >= 3; }, 10000));
        const auto beats = trapsOf(rig.traps, Mib::Heartbeat);
        QVERIFY(beats.last().vars.value(at("1.1.4.0")).section(' ', -1).toUInt() > moduleSeq);

        // A simulator that stops: its row goes down within three poll periods (0.9 s), and a
        // site-down notification says so.
        b.reset();
        QElapsedTimer down;
        down.start();
        QVERIFY(WaitFor([&] { return rig.snmpd.get(status2) == "INTEGER: 2"; }, 5000));
        qInfo("site-b down in the table %lld ms after its simulator stopped", down.elapsed());
        QVERIFY(WaitFor([&] { return !trapsOf(rig.traps, Mib::SiteDown).isEmpty(); }, 5000));
        QCOMPARE(rig.snmpd.get(at("1.2.1.15.2")), QString("INTEGER: 2147483647"));
        QCOMPARE(rig.snmpd.get(status1), QString("INTEGER: 1"));

        // The operator's view through the MIB text.
        const SnmpTool table = RunSnmpTool(
            "snmptable",
            {"-v2c", "-c", "public", "-M", kMibDirs, "-m", "QUMA-PLANT-MIB", "-OU", "-Cf", ",",
             QString("127.0.0.1:%1").arg(rig.snmpd.port), "QUMA-PLANT-MIB::qumaSiteTable"},
            rig.snmpd.env);
        QVERIFY2(table.out.contains("site-a,region=south,tcp 127.0.0.1:"),
                 qPrintable(table.out + table.err));
        QVERIFY(table.out.contains(",54500,"));
    }

    // snmpd restarted under the agent: the subtree is back by itself, and polling never
    // stopped meanwhile.
    void masterRestarts() {
        sim::SimServer a(frozen(3));
        QVERIFY(a.listenTcp());
        Rig rig;
        if (!rig.start({{"site-a", a.tcpPort()}})) QFAIL(qPrintable(rig.failure));
        const QString name = at("1.2.1.2.1");
        QVERIFY2(WaitFor([&] { return rig.snmpd.get(name) == "STRING: \"site-a\""; }, 20000),
                 qPrintable(rig.agentLog()));
        rig.snmpd.process.kill();
        rig.snmpd.process.waitForFinished(5000);
        const int served = a.requestsServed();
        QTest::qWait(1500);
        QVERIFY2(a.requestsServed() >= served + 3, "polling stopped while snmpd was away");
        QElapsedTimer back;
        back.start();
        QVERIFY(rig.snmpd.restart());
        QVERIFY(WaitFor([&] { return rig.snmpd.get(name) == "STRING: \"site-a\""; }, 10000));
        qInfo("the subtree was back %lld ms after snmpd was started again", back.elapsed());
        QVERIFY(rig.agentLog().contains("SNMP: "));
    }

    // The alarms a reading gives and their severities: the defaults, the configuration's, and
    // a battery discharge that turns critical near the end voltage.
    void alarmSeverities_data() {
        QTest::addColumn<double>("batteryAmperes");
        QTest::addColumn<double>("batteryVolts");
        QTest::addColumn<QString>("configured"); // the severity given to ac_failure
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("charging") << 2.0 << 53.1 << "" << QStringList{"ac_failure major"};
        QTest::newRow("configured")
            << 2.0 << 53.1 << "critical" << QStringList{"ac_failure critical"};
        QTest::newRow("discharging")
            << -12.3 << 48.0 << "" << QStringList{"ac_failure major", "battery_discharge major"};
        QTest::newRow("near the end voltage")
            << -12.3 << 42.9 << "" << QStringList{"ac_failure major", "battery_discharge critical"};
        QTest::newRow("a trickle is no discharge")
            << -0.4 << 42.9 << "" << QStringList{"ac_failure major"};
    }
    void alarmSeverities() {
        QFETCH(double, batteryAmperes);
        QFETCH(double, batteryVolts);
        QFETCH(QString, configured);
        QFETCH(QStringList, expected);
        PlantReading r;
        r.activeAlarms = {"ac_failure"};
        r.batteryInstalled = true;
        r.batteryAmperes = batteryAmperes;
        r.batteryVolts = batteryVolts;
        r.batteryEndVolts = 42.0; // margin 1 V
        r.contacts = {false, false};
        SnmpConfig config;
        if (!configured.isEmpty()) config.severities["ac_failure"] = configured;
        QStringList got;
        for (const ActiveAlarm& a : AlarmsOf(r, config))
            got << a.key + " " + SeverityText(a.severity);
        QCOMPARE(got, expected);
    }

    // The MIB module: smilint finds nothing at its strictest level, and its leaves (scalars,
    // columns, notifications) are exactly the objects the code serves and sends, at the same
    // OIDs, as net-snmp's own parser reads them.
    void mibModule() {
        const QString mib = QString(QUMA_SOURCE_DIR) + "/deploy/QUMA-PLANT-MIB.txt";
        if (QStandardPaths::findExecutable("smilint").isEmpty())
            QSKIP("smilint is not installed (Debian package smitools)");
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("SMIPATH", QString(QUMA_SOURCE_DIR) + "/tests/snmp/mibs");
        const SnmpTool lint = RunSnmpTool("smilint", {"-l", "6", "-s", mib}, env);
        QCOMPARE(lint.exitCode, 0);
        QVERIFY2(lint.out.isEmpty() && lint.err.isEmpty(), qPrintable(lint.out + lint.err));

        QTemporaryDir persistent;
        const SnmpTool tree =
            RunSnmpTool("snmptranslate", {"-M", kMibDirs, "-m", "QUMA-PLANT-MIB", "-Tz", "-On"},
                        SnmpToolEnvironment(persistent.path()));
        // Nothing said but the persistent folder it made.
        const QString said = QString(tree.err).remove(
            QRegularExpression("^Created directory:.*$\\n?", QRegularExpression::MultilineOption));
        QVERIFY2(tree.exitCode == 0 && said.isEmpty(), qPrintable(tree.err));
        QMap<QString, QString> declared; // OID -> name
        static const QRegularExpression line("^\"(\\w+)\"\\s+\"([\\d.]+)\"$");
        for (const QString& l : tree.out.split('\n')) {
            const auto m = line.match(l.trimmed());
            if (m.hasMatch() && m.captured(2).startsWith(kRoot + "."))
                declared.insert(m.captured(2), m.captured(1));
        }
        QMap<QString, QString> leaves;
        for (auto it = declared.begin(); it != declared.end(); ++it) {
            const bool object = it.key().startsWith(at("1.")) || it.key().startsWith(at("2."));
            const auto next = std::next(it);
            const bool leaf = next == declared.end() || !next.key().startsWith(it.key() + ".");
            if (object && leaf) leaves.insert(it.key(), it.value());
        }
        QMap<QString, QString> code;
        for (const SnmpObject& o : SnmpObjects())
            code.insert(at(OidText(o.place)), o.name);
        QCOMPARE(code, leaves);
    }
};

QTEST_GUILESS_MAIN(TestSnmp)
#include "tst_snmp.moc"
