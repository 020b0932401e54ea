// quma-cli end to end against the simulated controller on both links.
#include "sim/SimServer.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>
#include <functional>
#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace quma;

namespace {
struct Run {
    int rc = -1;
    QString out, err;
};

// Runs quma-cli while this process keeps serving the simulator; `during` is called as it runs
// with the time since it started (to change the simulator's faults).
Run cli(const QStringList& args, int timeoutMs = 20000,
        const std::function<void(qint64 ms)>& during = {}) {
    QProcess p;
    p.start(QUMA_CLI_PATH, args);
    Run r;
    if (!p.waitForStarted(5000)) return r;
    QElapsedTimer t;
    t.start();
    while (p.state() != QProcess::NotRunning && t.elapsed() < timeoutMs) {
        QTest::qWait(5);
        if (during) during(t.elapsed());
    }
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

    // Battery tests on a modelled pack (ticking every 100 ms); the histories in a folder of
    // their own.
    void packSim(const sim::PackOptions& pack, const QList<std::pair<int, int>>& regs = {}) {
        delete m_sim;
        sim::SimOptions o;
        o.frozen = true;
        o.pack = pack;
        o.registers = regs;
        m_sim = new sim::SimServer(o);
        QVERIFY(m_sim->listenTcp());
        QVERIFY(m_sim->openPty());
        m_tcp = QString("127.0.0.1:%1").arg(m_sim->tcpPort());
        m_serial = m_sim->ptyPath();
        m_sim->startTicking(100);
    }
    // The last test of the plant's history, as written.
    static QJsonObject lastTest(const QString& dataHome) {
        QFile f(dataHome + "/quma/battery/025EC4E00001.json");
        if (!f.open(QIODevice::ReadOnly)) return {};
        return QJsonDocument::fromJson(f.readAll())["tests"].toArray().last().toObject();
    }

    // A healthy pack passes; aged between two tests, the second is looked at closer against
    // the first. The history survives the runs, and a corrupt one is refused with its name and
    // kept.
    void batteryTestsJudgedAgainstTheFirst() {
        QTemporaryDir data;
        qputenv("XDG_DATA_HOME", data.path().toUtf8());
        packSim({5, 0, 0, 4});
        const QStringList start{"--quiet", "--lang", "en", "battery", "test", "start", "--wait"};
        Run r = cli(QStringList{"--tcp", m_tcp} + start, 60000);
        QVERIFY2(r.rc == 0, qPrintable(r.out + r.err));
        QVERIFY(r.out.contains("Verdict: pass"));
        m_sim->model().pack().setAge(0.15);
        r = cli(QStringList{"--serial", m_serial} + start, 60000);
        QVERIFY2(r.rc == 3, qPrintable(r.out + r.err));
        QVERIFY2(r.out.contains(QRegularExpression("Capacity 8\\d % of the first test's: down more "
                                                   "than 10 %.\n  - Resistance 1[2-4]\\d % of the "
                                                   "first test's: up 20 % or more.")),
                 qPrintable(r.out));
        // Thresholds out of range in the settings file: said, and the defaults judge.
        QTemporaryDir config;
        qputenv("XDG_CONFIG_HOME", config.path().toUtf8());
        QDir(config.path()).mkpath("quma");
        QFile settings(config.path() + "/quma/battery.json");
        QVERIFY(settings.open(QIODevice::WriteOnly) && settings.write("{\"spread_look_mv\": 5}"));
        settings.close();
        r = cli({"--tcp", m_tcp, "--quiet", "--lang", "en", "battery", "history"});
        qunsetenv("XDG_CONFIG_HOME");
        QCOMPARE(r.rc, 0);
        QVERIFY2(r.err.contains("battery.json: field \"spread_look_mv\": must be a number from 10 "
                                "to 1000 (the defaults are used)"),
                 qPrintable(r.err));
        QStringList rows = r.out.split('\n', Qt::SkipEmptyParts);
        QCOMPARE(rows.size(), 3);
        QVERIFY(rows[1].endsWith("\tpass") && rows[2].endsWith("\tlook closer"));
        // The service report's battery section: the last test, the tests against the first.
        // (Read back with pdftotext; a build without the PDF writer, the sanitizer run's, writes
        // HTML.)
        const QString pdf = data.path() + "/report.pdf";
        r = cli({"--tcp", m_tcp, "--quiet", "--lang", "en", "report", pdf}, 60000);
        QString report;
        if (r.rc == 2 && r.err.contains("writes HTML reports only")) {
            const QString html = data.path() + "/report.html";
            r = cli({"--tcp", m_tcp, "--quiet", "--lang", "en", "report", html}, 60000);
            QFile page(html);
            QVERIFY(page.open(QIODevice::ReadOnly));
            report = QString::fromUtf8(page.readAll());
        } else {
            QProcess text;
            text.start("pdftotext", {"-layout", pdf, "-"});
            QVERIFY(text.waitForFinished(20000));
            report = QString::fromUtf8(text.readAllStandardOutput());
        }
        QCOMPARE(r.rc, 0);
        for (const char* part :
             {"Last discharge test", "Verdict: look closer", "Lowest cell V", "Tests against the "})
            QVERIFY2(report.contains(part), part);
        const QString file = data.path() + "/quma/battery/025EC4E00001.json";
        QFile f(file);
        QVERIFY(f.open(QIODevice::WriteOnly) && f.write("{\"format\": \"quma-battery-hist") > 0);
        f.close();
        r = cli({"--tcp", m_tcp, "--quiet", "--lang", "en", "battery", "history"});
        QCOMPARE(r.rc, 0);
        QVERIFY2(r.err.contains(file + ": not JSON"), qPrintable(r.err));
        QVERIFY(QFile::exists(file + ".corrupt"));
        qunsetenv("XDG_DATA_HOME");
    }

    // How a test ends: at its time, at the end voltage (a pack too small, its weak cell lowest),
    // or cut off by a silent link. A test of a minute on the clock gives the Ah the simulator
    // drew within 1 % (the end is known to half a poll period: 450 ms over TCP, 300 ms on the
    // serial line).
    void batteryTestEnds_data() {
        QTest::addColumn<QString>("link");
        QTest::addColumn<double>("ampereHours");
        QTest::addColumn<double>("timeScale");
        QTest::addColumn<int>("minutes");
        QTest::addColumn<int>("weakCell");
        QTest::addColumn<int>("rc");
        QTest::addColumn<QString>("says");
        QTest::addColumn<QString>("reason");
        QTest::newRow("time, tcp") << "tcp" << 100.0 << 1.0 << 1 << 0 << 0 << "), time elapsed"
                                   << "time";
        QTest::newRow("time, serial")
            << "serial" << 100.0 << 1.0 << 1 << 0 << 0 << "), time elapsed"
            << "time";
        QTest::newRow("end voltage")
            << "serial" << 1.5 << 12.0 << 10 << 7 << 4 << "), end voltage reached early"
            << "end-voltage";
        QTest::newRow("link lost") << "tcp" << 5.0 << 1.0 << 1 << 7 << 1 << "), link lost"
                                   << "link-lost";
    }
    void batteryTestEnds() {
        QFETCH(QString, link);
        QFETCH(double, ampereHours);
        QFETCH(double, timeScale);
        QFETCH(int, minutes);
        QFETCH(int, weakCell);
        QFETCH(int, rc);
        QFETCH(QString, says);
        QFETCH(QString, reason);
        QTemporaryDir data;
        qputenv("XDG_DATA_HOME", data.path().toUtf8());
        packSim({ampereHours, 0, weakCell, timeScale}, {{79, minutes}});
        const bool cut = rc == 1;
        const Run r = cli({link == "tcp" ? "--tcp" : "--serial", link == "tcp" ? m_tcp : m_serial,
                           "--quiet", "--lang", "en", "battery", "test", "start", "--wait"},
                          90000, [&](qint64 ms) {
                              if (cut && ms > 6000) m_sim->faults.dropEvery = 1;
                          });
        QVERIFY2(r.rc == rc, qPrintable(r.out + r.err));
        QVERIFY2(r.out.contains(says), qPrintable(r.out));
        if (weakCell) QVERIFY(r.out.contains(QString("Weakest cell: #%1 ").arg(weakCell)));
        if (reason == "time") {
            const double drawn = m_sim->model().pack().lastTest().ampereHours;
            const double measured = lastTest(data.path())["ampere_hours"].toDouble();
            // The CLI integrates the polls it got: up to a poll period (0.3 s) of the minute can
            // fall outside its first and last sample at each end, 1 % together.
            QVERIFY2(qAbs(measured / drawn - 1) < 0.02,
                     qPrintable(QString("%1 Ah measured, %2 Ah drawn").arg(measured).arg(drawn)));
        }
        QCOMPARE(lastTest(data.path())["end_reason"].toString(), reason);
        qunsetenv("XDG_DATA_HOME");
    }

    void versionIsTheProjects() {
        const Run r = cli({"--version"});
        QCOMPARE(r.rc, 0);
        QCOMPARE(r.out, QString("quma-cli %1\n").arg(QUMA_VERSION));
    }

    // A device of a group the user is not in: the message names the device, its group and the
    // fix, read from the device (run as an unprivileged user).
    void serialPermissionSaysWhy() {
        const QString setpriv = QStandardPaths::findExecutable("setpriv");
        const group* dialout = ::getgrnam("dialout");
        if (::geteuid() != 0 || setpriv.isEmpty() || !dialout)
            QSKIP("needs root, setpriv and the dialout group");
        const QByteArray pty = QFile::encodeName(QFileInfo(m_serial).canonicalFilePath());
        QVERIFY(::chown(pty.constData(), 0, dialout->gr_gid) == 0);
        QVERIFY(::chmod(pty.constData(), 0660) == 0);
        QProcess p;
        p.start(setpriv, {"--reuid=65534", "--regid=65534", "--clear-groups", QUMA_CLI_PATH,
                          "--lang", "en", "--serial", QString::fromLocal8Bit(pty), "status"});
        QVERIFY(p.waitForFinished(20000));
        QVERIFY(p.exitCode() != 0);
        const QString err = QString::fromUtf8(p.readAllStandardError());
        QVERIFY2(err.contains(QString("%1 belongs to group dialout, which you are not in: sudo "
                                      "usermod -aG dialout $USER, then log in again")
                                  .arg(QString::fromLocal8Bit(pty))),
                 qPrintable(err));
    }

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

    // --lang en: the status, the history header and the write confirmation in English; a write
    // still ends when it is confirmed, whatever the message reads.
    void englishTexts() {
        Run r = cli({"--tcp", m_tcp, "--quiet", "--lang", "en", "status"});
        QCOMPARE(r.rc, 0);
        QStringList lines = r.out.split('\n', Qt::SkipEmptyParts);
        QVERIFY2(lines.contains("AC voltage: 220.0 V"), qPrintable(r.out));
        QVERIFY(lines.contains("Set voltage: 54.50 V"));
        QVERIFY(!r.out.contains("전압"));
        r = cli({"--serial", m_serial, "--quiet", "--lang", "en", "history", "event"});
        QCOMPARE(r.rc, 0);
        QCOMPARE(r.out.split('\n').value(0), QString("No.\tDate\tTime\tEvent\tValue"));
        r = cli({"--tcp", m_tcp, "--quiet", "--lang", "en", "write", "54=1700"});
        QCOMPARE(r.rc, 0);
        QCOMPARE(r.out.trimmed(), QString("Settings saved."));
        r = cli({"--tcp", m_tcp, "--lang", "fr", "status"});
        QCOMPARE(r.rc, 2);
        QVERIFY(r.err.contains("--lang takes ko or en"));
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

    // Save from the plant, restore onto it after it was configured otherwise, diff: equal.
    void profileSaveDiffRestore() {
        QTemporaryDir dir;
        const QString file = dir.filePath("site.json");
        for (const QStringList& link :
             {QStringList{"--tcp", m_tcp}, QStringList{"--serial", m_serial}}) {
            Run r = cli(link + QStringList{"--quiet", "profile", "save", file});
            QCOMPARE(r.rc, 0);
            QVERIFY(r.out.contains("35 settings and the network identity"));
            QCOMPARE(cli(link + QStringList{"--quiet", "profile", "diff", file}).rc, 0);

            m_sim->model().setReg(60, 535);
            m_sim->model().setReg(75, 9);
            m_sim->model().netId().siteInfo = "Elsewhere";
            r = cli(link + QStringList{"--quiet", "profile", "diff", file});
            QCOMPARE(r.rc, 1);
            QVERIFY(r.out.contains(QRegularExpression("\\*\\s+output_voltage\\s+V\\s+60\\s+54.0"
                                                      "\\s+53.5")));
            // Without --yes: the plan, and nothing written.
            r = cli(link + QStringList{"--quiet", "profile", "restore", file, "--network"});
            QCOMPARE(r.rc, 0);
            QVERIFY(r.out.contains("output_voltage (register 60): 53.5 -> 54.0 V"));
            QVERIFY(r.out.contains("network.site: written"));
            QVERIFY(r.out.contains("nothing was written"));
            QVERIFY(m_sim->model().writes().isEmpty());

            r = cli(link + QStringList{"--quiet", "profile", "restore", file, "--yes"});
            QCOMPARE(r.rc, 0);
            QVERIFY(r.out.contains("read back:\nequal"));
            const QList<std::pair<int, int>> expected = {{75, 5}, {60, 540}};
            QCOMPARE(m_sim->model().writes(), expected);
            // The site was left alone: it needs --network.
            QCOMPARE(m_sim->model().netId().siteInfo, QByteArray("Elsewhere"));
            QCOMPARE(cli(link + QStringList{"--quiet", "profile", "diff", file}).rc, 1);
            r = cli(link +
                    QStringList{"--quiet", "profile", "restore", file, "--network", "--yes"});
            QCOMPARE(r.rc, 0);
            QCOMPARE(m_sim->model().netId().siteInfo, QByteArray("Site A"));
            QCOMPARE(cli(link + QStringList{"--quiet", "profile", "diff", file}).rc, 0);
            cleanup();
            init();
        }
    }

    void profileFilesComparedOffline() {
        QTemporaryDir dir;
        const QString a = dir.filePath("a.json"), b = dir.filePath("b.json");
        QCOMPARE(cli({"--tcp", m_tcp, "--quiet", "profile", "save", a}).rc, 0);
        QFile fa(a);
        QVERIFY(fa.open(QIODevice::ReadOnly));
        QByteArray text = fa.readAll();
        text.replace("\"value\": 105", "\"value\": 110").replace("\"raw\": 105", "\"raw\": 110");
        QFile fb(b);
        QVERIFY(fb.open(QIODevice::WriteOnly));
        fb.write(text);
        fb.close();
        QCOMPARE(cli({"profile", "diff", a, a}).rc, 0);
        const Run r = cli({"profile", "diff", a, b});
        QCOMPARE(r.rc, 1);
        QVERIFY(r.out.contains(
            QRegularExpression("\\*\\s+dc_overcurrent_alarm\\s+%\\s+59\\s+105\\s+110")));
        QCOMPARE(cli({"profile", "diff", a, dir.filePath("none.json")}).rc, 2);
    }

    // Every bad file is refused before the link is opened: exit 2, nothing sent.
    void badProfileWritesNothing() {
        QTemporaryDir dir;
        const QString good = dir.filePath("good.json");
        QCOMPARE(cli({"--tcp", m_tcp, "--quiet", "profile", "save", good}).rc, 0);
        QFile f(good);
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QByteArray text = f.readAll();
        QByteArray otherModel = text;
        otherModel.replace("\"system_type\": 4", "\"system_type\": 3");
        const QList<std::pair<QByteArray, QString>> bad = {
            {"not json", "JSON"},
            {text.left(text.size() - 40), "JSON"},
            {QByteArray(text).replace("quma-site-profile", "other-format"), "format"},
            {QByteArray(text).replace("\"version\": 1", "\"version\": 9"), "version"},
            {QByteArray(text).replace("\"value\": 170", "\"value\": 999"), "ac_undervoltage_alarm"},
            {QByteArray(text).replace("dc_cutoff_voltage", "dc_cutout_voltage"),
             "dc_cutout_voltage"},
        };
        for (const auto& [content, named] : bad) {
            const QString path = dir.filePath("bad.json");
            QFile out(path);
            QVERIFY(out.open(QIODevice::WriteOnly | QIODevice::Truncate));
            out.write(content);
            out.close();
            const Run r = cli({"--tcp", m_tcp, "--quiet", "profile", "restore", path, "--yes"});
            QCOMPARE(r.rc, 2);
            QVERIFY2(r.err.contains(named), qPrintable(r.err));
        }
        // Made for another model: refused against the plant, with or without the network.
        m_sim->model().setReg(60, 535);
        const QString other = dir.filePath("other.json");
        QFile o(other);
        QVERIFY(o.open(QIODevice::WriteOnly));
        o.write(otherModel);
        o.close();
        Run r = cli({"--serial", m_serial, "--quiet", "profile", "restore", other, "--yes"});
        QCOMPARE(r.rc, 2);
        QVERIFY(r.err.contains("system type 3"));
        r = cli({"--serial", m_serial, "--quiet", "profile", "restore", other, "--other-model",
                 "--network", "--yes"});
        QCOMPARE(r.rc, 2);
        QVERIFY(m_sim->model().writes().isEmpty());
        r = cli({"--serial", m_serial, "--quiet", "profile", "restore", other, "--other-model",
                 "--yes"});
        QCOMPARE(r.rc, 0);
        const QList<std::pair<int, int>> expected = {{60, 540}};
        QCOMPARE(m_sim->model().writes(), expected);
    }

    // One flushed row per poll with an ISO 8601 time; a write that fails stops the run.
    void watchWritesCsvRows() {
        QTemporaryDir dir;
        const QString path = dir.filePath("watch.csv");
        const Run r =
            cli({"--serial", m_serial, "--quiet", "watch", "--count", "3", "--csv", path});
        QCOMPARE(r.rc, 0);
        QFile f(path);
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QByteArray all = f.readAll();
        QVERIFY(all.startsWith("\xEF\xBB\xBFtime,dc_voltage_V,dc_current_A,"));
        const QList<QByteArray> lines = all.trimmed().split('\n');
        QCOMPARE(lines.size(), 4);
        const QList<QByteArray> row = lines[1].trimmed().split(',');
        QCOMPARE(row.size(), 1 + 24 + 2);
        QVERIFY(QDateTime::fromString(QString::fromLatin1(row[0]), Qt::ISODateWithMs).isValid());
        QCOMPARE(row[1], QByteArray("54.5")); // DC voltage
        QCOMPARE(row[9], QByteArray("3.30")); // cell 1
        QCOMPARE(row[26], QByteArray("0000"));

        const Run full = cli({"--tcp", m_tcp, "--quiet", "watch", "--csv", "/dev/full"});
        QCOMPARE(full.rc, 1);
        QVERIFY(full.err.contains("No space left on device"));
    }

    // A long watch goes on through a silent controller and a dropped link, and says so; it ends
    // on its count, or on --max-silence.
    void watchThroughSilenceAndDrops() {
        QTemporaryDir dir;
        const QString path = dir.filePath("watch.csv");
        Run r = cli(
            {"--tcp", m_tcp, "--quiet", "--timeout", "1", "watch", "--count", "8", "--csv", path},
            30000, [this](qint64 ms) {
                m_sim->faults.dropEvery = ms > 2000 && ms < 6000 ? 1 : 0;
                m_sim->faults.disconnectEvery = ms > 6500 && ms < 7500 ? 1 : 0;
            });
        QCOMPARE(r.rc, 0);
        QVERIFY2(r.err.contains("no reply from the controller for 1.0 s; still polling"),
                 qPrintable(r.err));
        QVERIFY2(r.err.contains("the controller answers again after"), qPrintable(r.err));
        QFile f(path);
        QVERIFY(f.open(QIODevice::ReadOnly));
        int gaps = 0, polls = 0;
        for (const QByteArray& line : f.readAll().trimmed().split('\n').mid(1))
            line.contains(',') ? ++polls : ++gaps; // a gap is the time alone
        QCOMPARE(polls, 8);
        QVERIFY(gaps >= 2);

        r = cli({"--tcp", m_tcp, "--quiet", "--timeout", "1", "watch", "--max-silence", "2.5"},
                20000, [this](qint64 ms) { m_sim->faults.dropEvery = ms > 1500 ? 1 : 0; });
        QCOMPARE(r.rc, 1);
        QVERIFY2(r.err.contains("(--max-silence)"), qPrintable(r.err));
    }

    // A controller that answers just inside the 1 s time-out is never taken for a silent one.
    void slowRepliesJustInTime() {
        m_sim->faults.delayMs = 960;
        const Run r =
            cli({"--tcp", m_tcp, "--quiet", "--timeout", "3", "watch", "--count", "5"}, 40000);
        QCOMPARE(r.rc, 0);
        QCOMPARE(r.out.split('\n', Qt::SkipEmptyParts).size(), 5);
        QVERIFY2(!r.err.contains("no reply"), qPrintable(r.err));
    }

    void historyAsCsv() {
        QTemporaryDir dir;
        const QString path = dir.filePath("events.csv");
        const Run r = cli({"--tcp", m_tcp, "--quiet", "history", "event", "--csv", path});
        QCOMPARE(r.rc, 0);
        QFile f(path);
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QStringList lines = QString::fromUtf8(f.readAll()).split("\r\n", Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 8);
        QCOMPARE(lines[0], QString("\uFEFF순서,날짜,시간,이벤트 내용,value"));
        QCOMPARE(lines[7].split(',')[3], QString("Reset"));
    }
};

QTEST_GUILESS_MAIN(TestCli)
#include "tst_cli.moc"
