// The site service report gathered from the simulator on both links, as PDF (read back by
// pdftotext) and HTML (parsed), the console's dialog, and a folder it cannot write to.
#include "core/trend/TrendStore.h"
#include "gui/mainwin/MainWindow.h"
#include "gui/report/ReportPdf.h"
#include "gui/report/ServiceReportDialog.h"
#include "gui/shared/ConsoleFont.h"
#include "gui/shared/MessageHub.h"
#include "tests/LinkRows.h"
#include "tests/LiveRig.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <QtTest>
#include <cmath>
#include <unistd.h>

using namespace quma;
using namespace quma::test;

namespace {
sim::SimOptions site() {
    sim::SimOptions o = LiveRig::frozen();
    o.historySize = 7;
    o.eventSize = 5;
    return o;
}

// `tickMs`: how often the request clock ticks (the tests' own pace, or the link's real one).
std::optional<ReportData> gather(LiveRig& rig, int tickMs = 60) {
    ReportCollector collector(rig.engine);
    QSignalSpy done(&collector, &ReportCollector::finished);
    QSignalSpy failed(&collector, &ReportCollector::failed);
    collector.start();
    rig.engine.Timer1Timer();
    QElapsedTimer t;
    t.start();
    while (done.isEmpty() && failed.isEmpty() && t.elapsed() < 60000) {
        QTest::qWait(5);
        if (t.elapsed() % tickMs < 6) rig.engine.Timer1Timer(); // the request clock
    }
    if (!failed.isEmpty())
        qWarning("the report failed: %s", qPrintable(failed.first().first().toString()));
    if (done.isEmpty()) return std::nullopt;
    return done.first().first().value<ReportData>();
}

QString squeeze(QString s) {
    static const QRegularExpression blank("\\s", QRegularExpression::UseUnicodePropertiesOption);
    return s.remove(blank);
}

// The PDF's text with every blank removed (the extraction does not keep them all).
QString pdfText(const QString& path, int page = 0) {
    QProcess p;
    QStringList args{path, "-"};
    if (page > 0)
        args = QStringList{"-f", QString::number(page), "-l", QString::number(page)} + args;
    p.start(QStandardPaths::findExecutable("pdftotext"), args);
    p.waitForFinished(30000);
    return squeeze(QString::fromUtf8(p.readAllStandardOutput()));
}
} // namespace

class TestReport : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { UseConsoleFont(); }

    void reportFromTheSimulator_data() { AddLinkRows(); }
    void reportFromTheSimulator() {
        QFETCH(int, link);
        LiveRig rig{LinkKind(link), site()};
        QVERIFY(rig.ok);
        auto data = gather(rig);
        QVERIFY(data);
        QCOMPARE(data->model, QString("QUMA-7TN(A)"));
        QCOMPARE(data->alarmHistory.size(), 8);
        QCOMPARE(data->eventLog.size(), 6);
        QVERIFY(data->identity);
        QCOMPARE(data->settings.settings.value("output_voltage"), 540);
        data->engineer = "김 기사";
        data->note = "Replaced the fan of module 2 & checked <the> battery string.";
        data->consoleVersion = "test";
        // What the rows hold, as the tables print them.
        const QString alarmRow = data->alarmHistory[1].mid(0, 3).join("");
        const QString eventRow = data->eventLog[1].join("");

        QTemporaryDir dir;
        QString error;
        QVERIFY2(WriteReport(dir.filePath("r.html"), *data, &error), qPrintable(error));
        QFile html(dir.filePath("r.html"));
        QVERIFY(html.open(QIODevice::ReadOnly));
        const QByteArray text = html.readAll();
        QXmlStreamReader xml(text);
        QString all;
        while (!xml.atEnd())
            if (xml.readNext() == QXmlStreamReader::Characters) all += xml.text();
        QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));
        QVERIFY(text.contains("<html xmlns=\"http://www.w3.org/1999/xhtml\" lang=\"ko\""));
        QVERIFY(text.contains("<thead><tr><th>"));
        for (const QString& wanted : {QString("QUMA-7TN(A)"), QString("출력전압"),
                                      QString("김 기사"), data->note, QString("Site A")})
            QVERIFY2(all.contains(wanted), qPrintable(wanted));
        QVERIFY(squeeze(all).contains(squeeze(alarmRow)));
        QVERIFY(squeeze(all).contains(squeeze(eventRow)));

        QVERIFY2(WriteReport(dir.filePath("r.pdf"), *data, &error), qPrintable(error));
        QFile pdf(dir.filePath("r.pdf"));
        QVERIFY(pdf.open(QIODevice::ReadOnly));
        QVERIFY(pdf.read(5) == "%PDF-");
        if (QStandardPaths::findExecutable("pdftotext").isEmpty())
            QSKIP("pdftotext is not installed (scripts/deps.sh installs poppler-utils)");
        const QString pdfAll = pdfText(dir.filePath("r.pdf"));
        for (const QString& wanted :
             {QString("QUMA-7TN(A)"), QString("출력전압"), squeeze(data->note), squeeze(alarmRow),
              squeeze(eventRow), QString("김기사")})
            QVERIFY2(pdfAll.contains(wanted), qPrintable(wanted));
        QVERIFY(!pdfAll.contains("output_voltage")); // settings go by their dialog's labels

        // A long table carries its header onto every page it runs over.
        for (int r = 0; r < 300; ++r)
            data->alarmHistory.append(QStringList{QString("R%1X").arg(r, 3, 10, QChar('0')), "a",
                                                  "b", "c", "d", "e", "f", "g", "h", "i", "j", "k",
                                                  "l", "m", "n"});
        QVERIFY2(WriteReport(dir.filePath("long.pdf"), *data, &error), qPrintable(error));
        int pagesWithRows = 0;
        for (int page = 2; page < 40; ++page) {
            const QString t = pdfText(dir.filePath("long.pdf"), page);
            if (t.isEmpty()) break;
            if (!t.contains("R150X") && !t.contains("R299X")) continue;
            ++pagesWithRows;
            QVERIFY2(t.contains("AC전압") && t.contains("DC전압"),
                     qPrintable(QString("page %1 has no header").arg(page)));
        }
        QCOMPARE(pagesWithRows, 2);
    }

    // On a noisy link (replies dropped, wrong LRC or id, noise, slow) the report still gathers
    // everything: what was lost is asked for again.
    void noisyLinkReport_data() { AddLinkRows(); }
    void noisyLinkReport() {
        QFETCH(int, link);
        LiveRig rig{LinkKind(link), site()};
        QVERIFY(rig.ok);
        rig.sim.faults.dropEvery = 3;
        rig.sim.faults.badLrcEvery = 5;
        rig.sim.faults.garbageEvery = 7;
        rig.sim.faults.delayMs = 150;
        // At the link's own pace: a reply 150 ms late is not overtaken by the next poll, as it
        // would be at the tests' quicker ticks.
        const auto data = gather(rig, LinkKind(link) == LinkKind::Serial ? 200 : 300);
        QVERIFY(data);
        QVERIFY(data->identity);
        QCOMPARE(data->alarmHistory.size(), 8);
        QCOMPARE(data->eventLog.size(), 6);
    }

    void unwritableFolderLeavesNoFile() {
        ReportData d;
        d.model = "QUMA-7T";
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkdir("locked"));
        QFile::setPermissions(dir.filePath("locked"), QFile::ReadOwner | QFile::ExeOwner);
        QString error;
        for (const QString& name :
             {QString("locked/r.pdf"), QString("locked/r.html"), QString("missing/r.pdf")}) {
            error.clear();
            QVERIFY(!WriteReport(dir.filePath(name), d, &error) || ::geteuid() == 0);
            if (error.isEmpty()) continue; // root writes anywhere: only the missing folder fails
            QVERIFY(error.contains(dir.filePath(name)));
            QVERIFY(!QFile::exists(dir.filePath(name)));
        }
        QVERIFY(!WriteReport(dir.filePath("missing/r.pdf"), d, &error));
        QVERIFY(!QFile::exists(dir.filePath("missing/r.pdf")));
        QVERIFY(!WriteReport(dir.filePath("r.txt"), d, &error));
        QVERIFY(error.contains(".pdf or .html"));
    }

    // The console's dialog: name, note and format, the file through the hub, the charts added.
    void dialogWritesTheReport() {
        QTemporaryDir dir;
        LiveRig rig{LinkKind::Tcp, site()};
        QVERIFY(rig.ok);
        QVERIFY(rig.pollOnce());
        TrendStore trends(100);
        for (int i = 0; i < 20; ++i)
            trends.append(QDateTime::currentMSecsSinceEpoch() - (20 - i) * 900,
                          TrendValuesFromImage(rig.engine.image()));
        MessageHub hub;
        QStringList boxes;
        QStringList files{dir.filePath("visit")};
        hub.setRecorder([&](MessageKind, const QString& t) { boxes << t; });
        hub.setFileChooser([&](const QString&, bool, const QString&) { return files.takeFirst(); });
        rig.engine.setLiveTimers(true);
        ServiceReportDialog dialog(rig.engine, trends, hub);
        dialog.show();
        dialog.engineer()->setText("J. Park");
        dialog.note()->setPlainText("Annual visit.");
        dialog.format()->setCurrentIndex(1); // HTML
        QTest::mouseClick(dialog.createButton(), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(!boxes.isEmpty(), 20000);
        QCOMPARE(boxes.first(), "Report saved: " + dir.filePath("visit.html"));
        QFile f(dir.filePath("visit.html"));
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QString html = QString::fromUtf8(f.readAll());
        QVERIFY(html.contains("J. Park"));
        QVERIFY(html.contains("Annual visit."));
        QVERIFY(html.contains("data:image/png;base64,")); // the trends, inside the one file
        QVERIFY(html.contains("Event log (5 records)"));
        QTest::qWait(50);
        QCOMPARE(boxes.size(), 1); // one message when the report is done, none per log

        // A sample PDF for a person to look at: an hour of varying trends with a gap.
        if (const QString sample = qEnvironmentVariable("QUMA_REPORT_SAMPLE"); !sample.isEmpty()) {
            const qint64 now = QDateTime::currentMSecsSinceEpoch();
            TrendStore hour(4000);
            for (int i = 0; i < 3600; ++i) {
                if (i > 1500 && i < 1800) continue; // a history download paused polling
                TrendValues v = TrendValuesFromImage(rig.engine.image());
                v[Trend::DcAmps] += float(5 * std::sin(i / 300.0));
                v[Trend::BattAmps] = float(2 * std::cos(i / 200.0));
                hour.append(now - (3600 - i) * 1000, v);
            }
            ServiceReportDialog pdf(rig.engine, hour, hub);
            pdf.show();
            files << sample;
            pdf.format()->setCurrentIndex(0);
            QTest::mouseClick(pdf.createButton(), Qt::LeftButton);
            QTRY_VERIFY_WITH_TIMEOUT(boxes.size() == 2, 20000);
        }
    }
};

QTEST_MAIN(TestReport)
#include "tst_report.moc"
