// quma-cli end to end against the simulated controller on both links.
#include "sim/SimServer.h"

#include <QProcess>
#include <QtTest>

using namespace quma;

namespace {
struct Run {
    int rc = -1;
    QString out, err;
};

// Runs quma-cli while this process keeps serving the simulator.
Run cli(const QStringList& args, int timeoutMs = 20000) {
    QProcess p;
    p.start(QUMA_CLI_PATH, args);
    Run r;
    if (!p.waitForStarted(5000)) return r;
    QElapsedTimer t;
    t.start();
    while (p.state() != QProcess::NotRunning && t.elapsed() < timeoutMs)
        QTest::qWait(5);
    if (p.state() != QProcess::NotRunning) p.kill();
    p.waitForFinished(1000);
    r.rc = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.out = QString::fromUtf8(p.readAllStandardOutput());
    r.err = QString::fromUtf8(p.readAllStandardError());
    return r;
}
} // namespace

class TestCli : public QObject {
    Q_OBJECT
    sim::SimServer* m_sim = nullptr;
    QString m_tcp, m_serial;

private slots:
    void init() {
        sim::SimOptions o;
        o.frozen = true;
        o.historySize = 12;
        o.eventSize = 7;
        m_sim = new sim::SimServer(o);
        QVERIFY(m_sim->listenTcp());
        QVERIFY(m_sim->openPty());
        m_tcp = QString("127.0.0.1:%1").arg(m_sim->tcpPort());
        m_serial = m_sim->ptyPath();
    }
    void cleanup() { delete m_sim; }

    void statusOnBothLinks() {
        for (const QStringList& link :
             {QStringList{"--tcp", m_tcp}, QStringList{"--serial", m_serial}}) {
            const Run r = cli(link + QStringList{"--quiet", "status"});
            QCOMPARE(r.rc, 0);
            const QStringList lines = r.out.split('\n', Qt::SkipEmptyParts);
            QVERIFY(lines.contains("AC전압 : 220.0 V"));
            QVERIFY(lines.contains("설정전압 : 54.50 V"));
            QCOMPARE(lines[lines.size() - 2], QString(" QUMA-7TN(A)"));
            QCOMPARE(lines.last(), QString("0000 0000"));
        }
    }

    void traceLinesUnlessQuiet() {
        const Run r = cli({"--serial", m_serial, "status"});
        QCOMPARE(r.rc, 0);
        QVERIFY(r.out.startsWith("RectMode >>  [ 00 ]\nSend data >>[17]:01040001008377\r\n"));
        QVERIFY(r.out.contains("Receive >> :01040106"));
    }

    void historyRows() {
        const Run r = cli({"--tcp", m_tcp, "--quiet", "history", "event"});
        QCOMPARE(r.rc, 0);
        const QStringList lines = r.out.split('\n', Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 8);
        QCOMPARE(lines[0], QString("순서\t날짜\t시간\t이벤트 내용\tvalue"));
        QVERIFY(lines[1].startsWith("001\t"));
        QCOMPARE(lines[7].split('\t')[3], QString("Reset")); // record 0, the oldest
        const Run a = cli({"--serial", m_serial, "--quiet", "history", "alarm"});
        QCOMPARE(a.rc, 0);
        QCOMPARE(a.out.split('\n', Qt::SkipEmptyParts).size(), 13);
    }

    void writesClearsResetsAndClock() {
        Run r = cli({"--tcp", m_tcp, "--quiet", "write", "54=5400", "55=0x14B4"});
        QCOMPARE(r.rc, 0);
        QCOMPARE(r.out.trimmed(), QString("Setting Sucess!!"));
        QCOMPARE(m_sim->model().reg(54), 5400);
        QCOMPARE(m_sim->model().reg(55), 0x14B4);
        r = cli({"--serial", m_serial, "--quiet", "clear", "alarm"});
        QCOMPARE(r.rc, 0);
        QVERIFY(m_sim->model().alarmHistory().isEmpty());
        r = cli({"--serial", m_serial, "--quiet", "history", "alarm"});
        QCOMPARE(r.rc, 0);
        QVERIFY(r.err.contains("No History data"));
        r = cli({"--tcp", m_tcp, "--quiet", "set-time", "2024-02-29T23:59:58"});
        QCOMPARE(r.rc, 0);
        QCOMPARE(m_sim->model().reg(1), 2024);
        QCOMPARE(m_sim->model().reg(3), 29);
        QCOMPARE(m_sim->model().reg(6), 58);
        r = cli({"--serial", m_serial, "reset", "2"});
        QCOMPARE(r.rc, 0);
        QVERIFY(r.out.contains("Send data >>[17]:0106007F000278\r\n"));
    }

    void netid() {
        const Run r = cli({"--serial", m_serial, "--quiet", "netid"});
        QCOMPARE(r.rc, 0);
        QVERIFY(r.out.contains("IP: 192.168.50.92\n"));
        QVERIFY(r.out.contains("Site: Site A\n"));
        QVERIFY(!r.out.contains("ended inside the record"));
    }

    // A record longer than the TCP reply: every field that fits is printed, and the cut is said.
    void netidLongRecordOverTcp() {
        sim::NetIdRecord& rec = m_sim->model().netId();
        const sim::NetIdRecord saved = rec;
        rec.hwDescription =
            "Kestra Tarvine;KESTRA;KESTRA 5G RectifierSystem 54V/37A/2000W;RKU_9V_2000W;";
        rec.siteInfo = QString("강남 국사").toUtf8();
        Run r = cli({"--tcp", m_tcp, "--quiet", "netid"});
        QCOMPARE(r.rc, 0);
        QVERIFY(r.out.contains("HW description: " + QString::fromUtf8(rec.hwDescription) + "\n"));
        QVERIFY(r.out.contains("Saved rectifier ID: 00000001\n"));
        QVERIFY(r.out.contains("FW version: \n"));
        QVERIFY(r.out.contains("ended inside the record"));
        r = cli({"--serial", m_serial, "--quiet", "netid"});
        QVERIFY(r.out.contains("Site: 강남 국사\n"));
        QVERIFY(r.out.contains("FW version: V01.02.03.04(20211227)\n"));
        rec = saved;
    }

    void failuresExitNonZero() {
        Run r = cli({"--tcp", "127.0.0.1:1", "status"});
        QVERIFY(r.rc != 0);
        QVERIFY(r.err.contains("127.0.0.1:1"));
        r = cli({"--serial", "/dev/quma-no-such-port", "status"});
        QVERIFY(r.rc != 0);
        QCOMPARE(r.err.count('\n'), 1);
        r = cli({"--tcp", m_tcp, "write", "54=70000"});
        QCOMPARE(r.rc, 2);
        r = cli({"status"});
        QCOMPARE(r.rc, 2);
        // Typed numbers are checked before they are used.
        r = cli({"--tcp", m_tcp, "--timeout", "1e300", "status"});
        QCOMPARE(r.rc, 2);
        QVERIFY(r.err.contains("--timeout"));
        r = cli({"--tcp", m_tcp, "watch", "--count", "99999999999"});
        QCOMPARE(r.rc, 2);
        m_sim->faults.dropEvery = 1; // a controller that never answers
        r = cli({"--tcp", m_tcp, "--timeout", "1.5", "status"});
        QCOMPARE(r.rc, 1);
        QVERIFY(r.err.contains("no reply"));
    }
};

QTEST_GUILESS_MAIN(TestCli)
#include "tst_cli.moc"
