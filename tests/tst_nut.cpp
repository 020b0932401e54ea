// The agent's NUT server through Debian's own clients: upsc reads a simulator's variables,
// upsmon as primary and as secondary follows a mains failure down to the shutdown, nut-cgi's
// upsstats.cgi renders the site, and hostile clients leave polling and upsmon alone.
#include "agent/NutServer.h"
#include "sim/SimServer.h"
#include "tests/AgentRig.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QtTest>
#include <memory>

using namespace quma;
using namespace quma::agent;
using namespace quma::test;

namespace {

sim::SimOptions frozen() {
    sim::SimOptions o;
    o.frozen = true;
    return o;
}

QByteArray agentConfig(quint16 nutPort, quint16 simPort) {
    const QJsonArray users{
        QJsonObject{{"name", "monuser"}, {"password", "secret"}, {"upsmon", "primary"}},
        QJsonObject{{"name", "watcher"}, {"password", "pass"}}};
    return QJsonDocument(
               QJsonObject{{"format", "quma-agent-config"},
                           {"version", 1},
                           {"metrics", QJsonObject{{"listen", "127.0.0.1:0"}}},
                           {"poll_period", 0.3},
                           {"nut", QJsonObject{{"listen", QString("127.0.0.1:%1").arg(nutPort)},
                                               {"max_clients", 16},
                                               {"users", users}}},
                           {"sites", QJsonArray{QJsonObject{
                                         {"name", "site-a"},
                                         {"tcp", QString("127.0.0.1:%1").arg(simPort)}}}}})
        .toJson();
}

// One exchange on a connection of its own.
QByteArray ask(quint16 port, const QByteArray& lines, int replyLines = 1) {
    QTcpSocket s;
    s.connectToHost(QHostAddress::LocalHost, port);
    if (!s.waitForConnected(2000)) return {};
    s.write(lines);
    QByteArray got;
    while (got.count('\n') < replyLines && s.waitForReadyRead(2000))
        got += s.readAll();
    return got.trimmed();
}

QString run(const QString& program, const QStringList& args,
            const QProcessEnvironment& env = QProcessEnvironment::systemEnvironment()) {
    QProcess p;
    p.setProcessEnvironment(env);
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(program, args);
    p.waitForFinished(20000);
    return QString::fromUtf8(p.readAll());
}

QString readFile(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

// A simulator, and the agent serving it as a UPS.
struct Rig {
    sim::SimServer plant{frozen()};
    const quint16 port = FreePort();
    AgentRun agent;
    bool start() { return plant.listenTcp() && agent.start(agentConfig(port, plant.tcpPort())); }
    QString ups() const { return QString("site-a@127.0.0.1:%1").arg(port); }
};

// An upsmon of Debian's in the foreground, its configuration, scripts and files in a folder.
struct Upsmon {
    QTemporaryDir dir;
    QProcess process;
    QString path(const QString& name) const { return dir.filePath(name); }
    bool start(quint16 port, const QString& user, const QString& password, bool primary) {
        const auto write = [this](const QString& name, const QString& text, bool run) {
            QFile f(path(name));
            if (!f.open(QIODevice::WriteOnly)) return false;
            f.write(text.toUtf8());
            f.setPermissions(run ? QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner
                                 : QFile::ReadOwner | QFile::WriteOwner);
            return true;
        };
        QString flags;
        for (const char* event :
             {"ONLINE", "ONBATT", "LOWBATT", "FSD", "SHUTDOWN", "COMMOK", "COMMBAD", "NOCOMM"})
            flags += QString("NOTIFYFLAG %1 EXEC\n").arg(event);
        if (!write("nut.conf", "MODE=netclient\n", false) ||
            !write("notify.sh",
                   "#!/bin/sh\necho \"$NOTIFYTYPE $UPSNAME\" >> " + path("notify.log") + "\n",
                   true) ||
            !write("shutdown.sh", "#!/bin/sh\necho shutdown >> " + path("shutdown.log") + "\n",
                   true) ||
            !write("upsmon.conf",
                   QString("MONITOR site-a@127.0.0.1:%1 1 %2 %3 %4\nMINSUPPLIES 1\n"
                           "SHUTDOWNCMD \"%5\"\nNOTIFYCMD %6\n%7"
                           "POLLFREQ 1\nPOLLFREQALERT 1\nHOSTSYNC 3\nDEADTIME 5\nFINALDELAY 0\n"
                           "POWERDOWNFLAG %8\n")
                       .arg(port)
                       .arg(user, password, primary ? "primary" : "secondary", path("shutdown.sh"),
                            path("notify.sh"), flags, path("killpower")),
                   false))
            return false;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("NUT_CONFPATH", dir.path());
        env.insert("NUT_STATEPATH", dir.path());
        env.insert("NUT_ALTPIDPATH", dir.path());
        process.setProcessEnvironment(env);
        process.setProcessChannelMode(QProcess::MergedChannels);
        // upsmon keeps one PID file per program name in a fixed folder: a name of its own for
        // each of the test's, beside a real upsmon the machine may run.
        const QString program =
            path(QString("upsmon-quma-test-%1").arg(primary ? "primary" : "secondary"));
        if (!QFile::link("/lib/nut/upsmon", program)) return false;
        process.start(program, {"-F", "-p"});
        return process.waitForStarted(5000);
    }
    QStringList notified() const {
        return readFile(path("notify.log")).split('\n', Qt::SkipEmptyParts);
    }
    ~Upsmon() {
        process.terminate();
        if (!process.waitForFinished(5000)) process.kill();
        QFile::remove("/run/nut/" + QFileInfo(process.program()).fileName() + ".pid");
    }
};

} // namespace

class TestNut : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        if (QStandardPaths::findExecutable("upsc").isEmpty() || !QFile::exists("/lib/nut/upsmon"))
            QSKIP("NUT's clients are not installed (Debian packages nut-client, nut-cgi)");
    }

    // upsc and upsmon against a simulator whose mains fail and whose battery runs down.
    void mainsFailureToShutdown() {
        Rig rig;
        QVERIFY(rig.start());
        auto& [plant, port, agent] = rig;
        const QString ups = rig.ups();
        QVERIFY2(WaitFor(
                     [&] {
                         return run("upsc", {ups, "device.serial"}).contains("22000");
                     },
                     15000),
                 qPrintable(agent.process.readAll()));

        // upsc's view, in the standard names.
        const QString vars = run("upsc", {ups});
        for (const char* line :
             {"device.type: psu", "device.model: QUMA-7TN(A)", "device.serial: 2200000001",
              "battery.voltage: 53.10", "battery.voltage.low: 43.00", "output.voltage: 54.",
              "input.voltage: ", "battery.charge: ", "ups.status: OL"})
            QVERIFY2(vars.contains(line), qPrintable(line + QString(" in\n") + vars));
        QVERIFY(run("upsc", {"-l", QString("127.0.0.1:%1").arg(port)}).contains("site-a"));
        QCOMPARE(ask(port, "GET VAR site-a no.such.var\n"), QByteArray("ERR VAR-NOT-SUPPORTED"));
        QCOMPARE(ask(port, "GET VAR site-b ups.status\n"), QByteArray("ERR UNKNOWN-UPS"));
        QCOMPARE(ask(port, "STARTTLS\n"), QByteArray("ERR FEATURE-NOT-CONFIGURED"));
        QCOMPARE(ask(port, "USERNAME watcher\nPASSWORD pass\nPRIMARY site-a\n", 3),
                 QByteArray("OK\nOK\nERR ACCESS-DENIED"));
        QCOMPARE(ask(port, "USERNAME watcher\nPASSWORD nope\nLOGIN site-a\n", 3),
                 QByteArray("OK\nOK\nERR ACCESS-DENIED"));

        // A primary and a secondary upsmon, both logged in.
        Upsmon primary, secondary;
        QVERIFY(primary.start(port, "monuser", "secret", true));
        QVERIFY(secondary.start(port, "watcher", "pass", false));
        QVERIFY2(
            WaitFor([&] { return ask(port, "GET NUMLOGINS site-a\n") == "NUMLOGINS site-a 2"; },
                    15000),
            qPrintable(primary.process.readAll()));

        // The mains fail: on battery.
        plant.model().setReg(Reg::Alarm1, 0x0001);
        plant.model().setReg(Reg::BattAmps, 0x10000 - 300); // 30 A out of the battery
        QVERIFY2(WaitFor(
                     [&] {
                         return primary.notified().contains("ONBATT site-a@127.0.0.1:" +
                                                            QString::number(port));
                     },
                     15000),
                 qPrintable(primary.notified().join('\n') + primary.process.readAll()));
        QVERIFY(run("upsc", {ups, "ups.status"}).contains("OB DISCHRG"));
        QVERIFY(!QFile::exists(primary.path("shutdown.log")));

        // The battery falls to within the margin of its end voltage (42.0 V + 1.0 V): low
        // battery, the forced shutdown, and the shutdown command, in that order.
        plant.model().setReg(Reg::BattVolts, 4290);
        QVERIFY2(WaitFor([&] { return QFile::exists(primary.path("shutdown.log")); }, 30000),
                 qPrintable(primary.notified().join('\n') + primary.process.readAll()));
        QStringList events;
        for (const QString& n : primary.notified())
            events << n.section(' ', 0, 0);
        QVERIFY2(events.indexOf("ONBATT") >= 0 &&
                     events.indexOf("ONBATT") < events.indexOf("LOWBATT") &&
                     events.indexOf("LOWBATT") < events.indexOf("SHUTDOWN"),
                 qPrintable(events.join(' ')));
        // The secondary was told to go first.
        QVERIFY(WaitFor([&] { return QFile::exists(secondary.path("shutdown.log")); }, 10000));
        QVERIFY(secondary.notified().join(' ').contains("FSD"));
        qInfo("upsmon (primary) notified: %s; it said:\n%s",
              qPrintable(primary.notified().join(", ")), primary.process.readAll().constData());
    }

    // nut-cgi's status page renders the site.
    void upsstatsPage() {
        const QString cgi = "/usr/lib/cgi-bin/nut/upsstats.cgi";
        if (!QFile::exists(cgi)) QSKIP("nut-cgi is not installed");
        Rig rig;
        QVERIFY(rig.start());
        const QString ups = rig.ups();
        QVERIFY(WaitFor([&] { return run("upsc", {ups, "ups.status"}).contains("OL"); }, 15000));
        QTemporaryDir conf;
        for (const char* page : {"upsstats.html", "upsstats-single.html"})
            QVERIFY(QFile::copy(QString("/etc/nut/") + page, conf.filePath(page)));
        QFile hosts(conf.filePath("hosts.conf"));
        QVERIFY(hosts.open(QIODevice::WriteOnly));
        hosts.write(QString("MONITOR %1 \"Site A\"\n").arg(ups).toUtf8());
        hosts.close();
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("NUT_CONFPATH", conf.path());
        env.insert("REQUEST_METHOD", "GET");
        env.insert("QUERY_STRING", "host=" + ups);
        const QString page = run(cgi, {}, env);
        QVERIFY2(page.contains("QUMA-7TN(A)") && page.contains("ONLINE") &&
                     page.contains("53.10 V"),
                 qPrintable(page));
    }

    // A line of a megabyte, garbage and 500 idle connections: each answered or closed, while
    // the plant is polled as before and a logged-in client goes on.
    void hostileClients() {
        Rig rig;
        QVERIFY(rig.start());
        auto& [plant, port, agent] = rig;
        QVERIFY(WaitFor([&] { return ask(port, "GET VAR site-a ups.status\n").startsWith("VAR"); },
                        15000));
        QTcpSocket loggedIn;
        loggedIn.connectToHost(QHostAddress::LocalHost, port);
        QVERIFY(loggedIn.waitForConnected(2000));
        loggedIn.write("USERNAME watcher\nPASSWORD pass\nLOGIN site-a\n");
        QVERIFY(WaitFor([&] { return loggedIn.bytesAvailable() >= 9; }, 5000));
        loggedIn.readAll();

        const int served = plant.requestsServed();
        QTcpSocket flood;
        flood.connectToHost(QHostAddress::LocalHost, port);
        QVERIFY(flood.waitForConnected(2000));
        flood.write(QByteArray(1 << 20, 'A'));
        QVERIFY(WaitFor([&] { return flood.state() == QAbstractSocket::UnconnectedState; }, 10000));
        QCOMPARE(ask(port, "\x01\x02 garbage\n"), QByteArray("ERR UNKNOWN-COMMAND"));
        std::vector<std::unique_ptr<QTcpSocket>> idle;
        for (int i = 0; i < 500; ++i) {
            idle.push_back(std::make_unique<QTcpSocket>());
            idle.back()->connectToHost(QHostAddress::LocalHost, port);
        }
        QTest::qWait(1000);
        // A newcomer still gets its answer, and so does the client that logged in first.
        QVERIFY(ask(port, "GET VAR site-a ups.status\n").startsWith("VAR site-a ups.status"));
        loggedIn.write("GET NUMLOGINS site-a\n");
        QVERIFY(WaitFor([&] { return loggedIn.canReadLine(); }, 5000));
        QCOMPARE(loggedIn.readLine().trimmed(), QByteArray("NUMLOGINS site-a 1"));
        // Polling went on meanwhile (every 0.3 s).
        QVERIFY(plant.requestsServed() >= served + 3);
    }

    // The status a reading gives.
    void status_data() {
        QTest::addColumn<bool>("acFailure");
        QTest::addColumn<double>("batteryAmperes");
        QTest::addColumn<double>("batteryVolts");
        QTest::addColumn<bool>("replace");
        QTest::addColumn<bool>("forced");
        QTest::addColumn<QString>("status");
        QTest::newRow("float") << false << 0.0 << 53.1 << false << false << "OL";
        QTest::newRow("charging") << false << 3.0 << 53.1 << false << false << "OL CHRG";
        QTest::newRow("mains failed") << true << -30.0 << 50.0 << false << false << "OB DISCHRG";
        QTest::newRow("discharging on mains")
            << false << -5.0 << 50.0 << false << false << "OB DISCHRG";
        QTest::newRow("low") << true << -30.0 << 42.9 << false << false << "OB LB DISCHRG";
        QTest::newRow("forced, failed test")
            << true << -30.0 << 42.9 << true << true << "FSD OB LB RB DISCHRG";
    }
    void status() {
        QFETCH(bool, acFailure);
        QFETCH(double, batteryAmperes);
        QFETCH(double, batteryVolts);
        QFETCH(bool, replace);
        QFETCH(bool, forced);
        QFETCH(QString, status);
        PlantReading r;
        if (acFailure) r.activeAlarms << "ac_failure";
        r.batteryInstalled = true;
        r.batteryAmperes = batteryAmperes;
        r.batteryVolts = batteryVolts;
        r.batteryEndVolts = 42.0;
        QCOMPARE(NutStatus(r, NutConfig{}, replace, forced), status);
    }
};

QTEST_GUILESS_MAIN(TestNut)
#include "tst_nut.moc"
