// History windows over the simulator, the spreadsheet export read back, and the data log.
#include "core/datalog/DataLog.h"
#include "core/export/SheetExport.h"
#include "core/history/TransferRecord.h"
#include "core/i18n/Translations.h"
#include "gui/history/AlarmHistoryWindow.h"
#include "gui/history/EventLogWindow.h"
#include "gui/mainwin/MainWindow.h"
#include "gui/shared/ConsoleFont.h"
#include "gui/shared/MessageHub.h"
#include "tests/LiveRig.h"
#include "ui_MainWindow.h"

#include <QDir>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QStandardPaths>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtTest>
#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

using namespace quma;
using namespace quma::test;

namespace {
// A hub that records its boxes and answers its questions with `answer`.
struct AnsweringHub {
    MessageHub hub;
    QStringList boxes, questions;
    QMessageBox::StandardButton answer = QMessageBox::Cancel;
    AnsweringHub() {
        hub.setRecorder([this](MessageKind, const QString& t) { boxes << t; });
        hub.setAnswerer([this](const QString& q) {
            questions << q;
            return answer;
        });
    }
};

struct HistoryRig {
    LiveRig rig;
    MessageHub hub;
    QStringList boxes;
    std::unique_ptr<HistoryWindow> window;
    QStringList questions;
    std::function<QMessageBox::StandardButton()> answer = [] { return QMessageBox::Cancel; };
    QString chosen; // what the file chooser answers
    QStringList suggested;
    HistoryRig(LinkKind link, TransferKind kind, int records, int delayMs = 0, int dropEvery = 0,
               int badEvery = 0)
        : rig(link, options(records)) {
        rig.sim.faults.delayMs = delayMs;
        hub.setRecorder([this](MessageKind, const QString& t) { boxes << t; });
        hub.setAnswerer([this](const QString& q) {
            questions << q;
            return answer();
        });
        hub.setFileChooser([this](const QString&, bool, const QString& s) {
            suggested << s;
            return chosen;
        });
        QObject::connect(&rig.engine, &MonitorEngine::userMessage,
                         [this](MessageKind k, const QString& t) { hub.post(nullptr, k, t); });
        rig.pollOnce();
        rig.sim.faults.dropEvery = dropEvery;
        rig.sim.faults.badLrcEvery = badEvery;
        if (rig.engine.OpenTransfer(kind)) {
            if (kind == TransferKind::Alarm)
                window = std::make_unique<AlarmHistoryWindow>(rig.engine, hub);
            else
                window = std::make_unique<EventLogWindow>(rig.engine, hub);
            window->show();
            window->startRequest();
        }
    }
    static sim::SimOptions options(int records) {
        sim::SimOptions o = LiveRig::frozen();
        o.historySize = o.eventSize = records;
        return o;
    }
    bool waitDone(int timeoutMs = 20000) {
        QElapsedTimer t;
        t.start();
        while (boxes.isEmpty() && questions.isEmpty() && t.elapsed() < timeoutMs) {
            QTest::qWait(10);
            if (rig.engine.link().linkKind() == LinkKind::Serial) rig.engine.Timer1Timer();
        }
        return !boxes.isEmpty() || !questions.isEmpty();
    }
    QTableWidget* grid() { return window->grid(); }
    QString cell(int row, int col) {
        auto* it = grid()->item(row - 1, col);
        return it ? it->text() : QString();
    }
};

QByteArray unzip(const QString& file, const QString& member) {
    QProcess p;
    p.start("unzip", {"-p", file, member});
    p.waitForFinished(10000);
    return p.readAllStandardOutput();
}
} // namespace

class TestHistory : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { UseConsoleFont(); }

    void transfersFillTheGrid_data() {
        QTest::addColumn<int>("link");
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("records");
        QTest::addColumn<int>("dropEvery");
        QTest::addColumn<int>("badEvery");
        const int serial = int(LinkKind::Serial), tcp = int(LinkKind::Tcp);
        QTest::newRow("serial event 3") << serial << 2 << 3 << 0 << 0;
        QTest::newRow("tcp alarm 3") << tcp << 1 << 3 << 0 << 0;
        QTest::newRow("serial alarm 40") << serial << 1 << 40 << 0 << 0;
        QTest::newRow("tcp event 40") << tcp << 2 << 40 << 0 << 0;
        // A noisy link: unanswered requests are asked again, every record lands once.
        QTest::newRow("tcp alarm, 1 in 3 dropped") << tcp << 1 << 10 << 3 << 0;
        QTest::newRow("tcp event, 1 in 4 wrong id") << tcp << 2 << 10 << 0 << 4;
        QTest::newRow("serial alarm, 1 in 3 dropped") << serial << 1 << 20 << 3 << 0;
        QTest::newRow("serial event, 1 in 4 bad LRC") << serial << 2 << 20 << 0 << 4;
    }
    void transfersFillTheGrid() {
        QFETCH(int, link);
        QFETCH(int, kind);
        QFETCH(int, records);
        QFETCH(int, dropEvery);
        QFETCH(int, badEvery);
        HistoryRig h(LinkKind{quint8(link)}, TransferKind(kind), records, 0, dropEvery, badEvery);
        QVERIFY(h.window);
        QVERIFY(h.waitDone());
        QCOMPARE(h.boxes, QStringList{QString("%1 History data\rare Saved!!").arg(records)});
        QCOMPARE(h.grid()->rowCount(), records);
        QCOMPARE(h.grid()->columnCount(), kind == 1 ? 15 : 6);
        QCOMPARE(h.grid()->horizontalHeaderItem(0)->text(), QString("순서"));
        if (kind == 2) QCOMPARE(h.grid()->horizontalHeaderItem(5)->text(), QString());
        // At its default size every column fits: no horizontal scroll bar.
        QCOMPARE(h.grid()->horizontalScrollBar()->maximum(), 0);
        const auto& log =
            kind == 1 ? h.rig.sim.model().alarmHistory() : h.rig.sim.model().eventLog();
        for (int r = 1; r <= records; ++r) {
            QCOMPARE(h.cell(r, 0), PadZero(r, 3));
            // Row r holds the controller's record number total - r.
            const QStringList want = DecodeTransferRecord(QByteArray(1, 0) + log[records - r],
                                                          LinkKind::Tcp, TransferKind(kind), r);
            QCOMPARE(h.cell(r, kind == 1 ? 14 : 3), want[kind == 1 ? 14 : 3]);
        }
        QVERIFY(h.window->findChild<QPushButton*>("bbtFileSave")->isEnabled());
        QCOMPARE(h.window->findChild<QProgressBar*>("Gauge")->value(), 100);
        QCOMPARE(h.window->findChild<QLabel*>("LabAlarm")->text(),
                 QString("Total : %1 /%1").arg(records));
        QVERIFY(!h.rig.engine.timer1Enabled());
        h.window->closeByButton();
        QVERIFY(h.rig.engine.timer1Enabled());
        QCOMPARE(h.rig.engine.commandKind(), RectMode::Poll);
    }

    void emptyLogs() {
        HistoryRig a(LinkKind::Tcp, TransferKind::Alarm, 0);
        QVERIFY(a.waitDone());
        QCOMPARE(a.boxes, QStringList{"No History data"});
        QVERIFY(!a.window->findChild<QPushButton*>("bbtFileSave")->isEnabled());
        HistoryRig e(LinkKind::Serial, TransferKind::Event, 0);
        QVERIFY(e.waitDone());
        QCOMPARE(e.boxes, QStringList{"No Event log data"});
    }

    void closeStopsATransferAndLatePagesAreIgnored() {
        HistoryRig h(LinkKind::Serial, TransferKind::Event, 30, 60);
        QTRY_VERIFY_WITH_TIMEOUT(h.rig.engine.transfer().recordIndex >= 3, 10000);
        h.window->findChild<QLineEdit*>("edtFileName")->setText("site-7");
        h.window->closeByButton();
        const int served = h.rig.sim.requestsServed();
        QTest::qWait(300); // pages already asked for arrive now
        QVERIFY(!h.rig.engine.transfer().active);
        QCOMPARE(h.rig.engine.transfer().rows.size(), 1);
        QCOMPARE(h.rig.engine.transfer().recordIndex, 1);
        QVERIFY(h.rig.sim.requestsServed() <= served + 1);
        QVERIFY(h.window->findChild<QLineEdit*>("edtFileName")->text().isEmpty());
        QVERIFY(h.boxes.isEmpty());
    }

    void exportReadBack() {
        QTemporaryDir dir;
        const QString old = QDir::currentPath();
        QDir::setCurrent(dir.path());
        HistoryRig h(LinkKind::Tcp, TransferKind::Event, 3);
        QVERIFY(h.waitDone());
        h.boxes.clear();
        // Nothing typed: a chooser in the documents folder proposes the name with the date.
        h.chosen = QDir(dir.path()).absoluteFilePath("visit");
        const QString path = h.window->exportSheet();
        QDir::setCurrent(old);
        QCOMPARE(path, h.chosen + ".xlsx");
        QCOMPARE(h.boxes, QStringList{"Saved " + path});
        QCOMPARE(h.suggested.size(), 1);
        const QFileInfo proposed(h.suggested[0]);
        QCOMPARE(proposed.absolutePath(),
                 QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));
        // The model's leading blank stays on screen and in the title, not in the file name.
        QVERIFY(proposed.fileName().startsWith("QUMA-7TN(A)_EVENT_("));
        QVERIFY(proposed.fileName().contains(QRegularExpression("\\(\\d{14}\\)\\.xlsx$")));
        const QByteArray sheet = unzip(path, "xl/worksheets/sheet1.xml");
        const QByteArray strings = unzip(path, "xl/sharedStrings.xml");
        const QByteArray styles = unzip(path, "xl/styles.xml");
        QVERIFY(strings.contains(" QUMA-7TN(A)Log Data"));
        QVERIFY(strings.contains("<t>이벤트 내용</t>"));
        QVERIFY(styles.contains("formatCode=\"yyyy/mm/dd\""));
        // Header in row 2, records in rows 3..5 with real dates in column B; row 6 empty.
        QVERIFY(sheet.contains("<c r=\"E2\" t=\"s\">"));
        QVERIFY(!sheet.contains("r=\"F2\""));
        QVERIFY(QRegularExpression("<c r=\"B3\" s=\"1\"><v>\\d+</v>")
                    .match(QString::fromUtf8(sheet))
                    .hasMatch());
        QVERIFY(sheet.contains("<c r=\"A5\" t=\"s\">"));
        QVERIFY(!sheet.contains("<c r=\"A6\""));
        QVERIFY(sheet.contains("<c r=\"B7\" s=\"1\"/>")); // the date format reaches row 7
        // 2021-11-27 is day 44527 counted from 1899-12-30.
        QVERIFY(sheet.contains("<v>44527</v>"));
    }

    void stalledTransferAsksAgainOrKeepsWhatArrived_data() {
        QTest::addColumn<int>("link");
        QTest::addColumn<bool>("save");
        QTest::newRow("tcp, retry") << int(LinkKind::Tcp) << false;
        QTest::newRow("serial, save") << int(LinkKind::Serial) << true;
    }
    void stalledTransferAsksAgainOrKeepsWhatArrived() {
        QFETCH(int, link);
        QFETCH(bool, save);
        QTemporaryDir dir;
        HistoryRig h(LinkKind{quint8(link)}, TransferKind::Alarm, 8);
        // The controller falls silent after the fifth record.
        QObject::connect(&h.rig.engine, &MonitorEngine::recordStored, &h.rig.engine,
                         [&](TransferKind, int row) {
                             if (row == 5) h.rig.sim.faults.dropEvery = 1;
                         });
        h.chosen = QDir(dir.path()).absoluteFilePath("partial.xlsx");
        h.answer = [&] {
            h.rig.sim.faults.dropEvery = 0;
            return save ? QMessageBox::Save : QMessageBox::Retry;
        };
        QVERIFY(h.waitDone(30000));
        QCOMPARE(h.questions.size(), 1);
        QVERIFY2(h.questions[0].startsWith("Record 6 of 8 could not be read"),
                 qPrintable(h.questions[0]));
        QVERIFY(h.questions[0].contains("5 records"));
        if (save) {
            QCOMPARE(h.boxes, QStringList{"Saved " + h.chosen});
            QCOMPARE(h.window->findChild<QLabel*>("LabAlarm")->text(),
                     QString("Record 6 not read"));
            const QByteArray sheet = unzip(h.chosen, "xl/worksheets/sheet1.xml");
            QVERIFY(sheet.contains("<c r=\"A7\"")); // header in row 2, records 1..5 below it
            QVERIFY(!sheet.contains("<c r=\"A8\""));
        } else {
            QTRY_COMPARE_WITH_TIMEOUT(h.boxes, QStringList{"8 History data\rare Saved!!"}, 10000);
            QCOMPARE(h.cell(8, 0), QString("008"));
        }
    }

    // For a person to look at: the alarm history on a noisy TCP link, in the Korean interface.
    void screenshot() {
        const QString path = qEnvironmentVariable("QUMA_SCREENSHOT");
        if (path.isEmpty()) QSKIP("set QUMA_SCREENSHOT=file.png to write the history window");
        Translations korean({"quma_core", "quma_gui"});
        QVERIFY(korean.apply(Language::Korean));
        HistoryRig h(LinkKind::Tcp, TransferKind::Alarm, 120, 150, 7, 11);
        h.window->resize(1000, 600);
        QTest::qWait(9000);
        h.window->grab().save(path);
    }

    void failedExportNamesTheFile() {
        QString error;
        QVERIFY(!WriteHistorySheet("/nonexistent-folder/x.xlsx", {EventLogHeader()},
                                   TransferKind::Event, " QUMA-7T", &error));
        QVERIFY(!error.isEmpty());
        QCOMPARE(ExportFileName(" QUMA-7T", TransferKind::Alarm, QTime(14, 23, 5)),
                 QString("QUMA-7T_ALARM_(142305).xlsx"));
        QCOMPARE(ExportFileName(" QUMA-7T", TransferKind::Event,
                                QDateTime(QDate(2026, 12, 8), QTime(14, 23, 5))),
                 QString("QUMA-7T_EVENT_(20261208142305).xlsx"));
    }

    // A name typed into the File Name field is used: in the current folder unless it holds a
    // path, with ".xlsx" added when missing.
    void typedExportName() {
        QCOMPARE(ExportPath("", "gen.xlsx", "/data"), QString("/data/gen.xlsx"));
        QCOMPARE(ExportPath("  site 12 ", "gen.xlsx", "/data"), QString("/data/site 12.xlsx"));
        QCOMPARE(ExportPath("a.XLSX", "gen.xlsx", "/data"), QString("/data/a.XLSX"));
        QCOMPARE(ExportPath("visits/a", "gen.xlsx", "/data"), QString("/data/visits/a.xlsx"));
        QCOMPARE(ExportPath("/tmp/b", "gen.xlsx", "/data"), QString("/tmp/b.xlsx"));

        QTemporaryDir dir;
        const QString old = QDir::currentPath();
        QDir::setCurrent(dir.path());
        HistoryRig h(LinkKind::Tcp, TransferKind::Alarm, 2);
        QVERIFY(h.waitDone());
        h.window->findChild<QLineEdit*>("edtFileName")->setText("강남 국사");
        const QString path = h.window->exportSheet();
        QDir::setCurrent(old);
        QCOMPARE(path, QDir(dir.path()).absoluteFilePath("강남 국사.xlsx"));
        QVERIFY(QFileInfo::exists(path));
    }

    // Beside the spreadsheet, the same rows as CSV under the same name.
    void csvBesideTheSpreadsheet() {
        QTemporaryDir dir;
        const QString old = QDir::currentPath();
        QDir::setCurrent(dir.path());
        HistoryRig h(LinkKind::Serial, TransferKind::Alarm, 3);
        QVERIFY(h.waitDone());
        auto* csv = h.window->findChild<QPushButton*>("btnCsvSave");
        QVERIFY(csv && csv->isEnabled());
        h.window->findChild<QLineEdit*>("edtFileName")->setText("site 9");
        h.boxes.clear();
        QTest::mouseClick(csv, Qt::LeftButton);
        QDir::setCurrent(old);
        const QString path = QDir(dir.path()).absoluteFilePath("site 9.csv");
        QCOMPARE(h.boxes, QStringList{"Saved " + path});
        QFile f(path);
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QStringList lines = QString::fromUtf8(f.readAll()).split("\r\n", Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 4);
        QVERIFY(lines[0].startsWith("\uFEFF순서,"));
        QCOMPARE(lines[1].split(',').size(), h.window->grid()->columnCount());
    }

    void dataLogLines() {
        RegisterImage img;
        img.set(1, 2021);
        img.set(2, 3);
        img.set(3, 7);
        img.set(7, 2205);
        img.set(11, 0xFFF6);
        img.set(61, 5450);
        img.set(15, 0x0020);
        img.set(106, 0x00A5);
        const QStringList header = LogHeaderLines();
        QCOMPARE(header.size(), 5);
        QVERIFY(header[0].startsWith("  시간;  입력전압; "));
        QVERIFY(header[0].endsWith(" 셀전압 15;  배터리 보호;"));
        QCOMPARE(header[1], QString(178, '-'));
        QCOMPARE(
            header[2],
            QString("ALARM1 //0x0001:AC FAIL, 0x0002:OV, 0x0004:UV, 0x0020:OCA, 0x0100:UF    "));
        const QString line = LogDataLine(img);
        QCOMPARE(line.count("; "), 26);
        QCOMPARE(line.count(" ; "), 25);
        QVERIFY(line.startsWith("[  2021-03-07  00:00:00 ]; 220.5 V ; "));
        QVERIFY(line.contains(" ; -1.0  A ; "));
        QVERIFY(line.contains(" ; 54.50 V ; 0020 0000 ; "));
        QVERIFY(line.endsWith(" ; 00A5"));
        QCOMPARE(LogFileName(QDateTime(QDate(2024, 1, 2), QTime(3, 4, 5))),
                 QString("QUMA-7TN(A)_20240102030405.txt"));
    }

    void dataLogRollsOverAndKeepsLinesWhenSavingFails() {
        QTemporaryDir dir;
        RegisterImage img;
        DataLog log(img);
        log.setFolder(dir.path());
        int stamp = 0;
        log.setClock([&] { return QDateTime(QDate(2024, 1, 1), QTime(0, 0, 0)).addSecs(stamp++); });
        log.alarmChanged();
        QVERIFY(log.lines().isEmpty()); // not logging: no alarm line
        log.start();
        QCOMPARE(log.lines().size(), 5);
        log.alarmChanged();
        QVERIFY(log.lines().last().startsWith("[al][  "));
        for (int i = 0; i < 4994; ++i)
            log.Timer2Timer();
        QCOMPARE(log.lines().size(), 5000);
        log.Timer2Timer();
        QCOMPARE(log.lines().size(), 5); // saved, cleared, new header
        QCOMPARE(QDir(dir.path()).entryList({"*.txt"}).size(), 1);
        QFile saved(QDir(dir.path()).filePath(QDir(dir.path()).entryList({"*.txt"}).first()));
        QVERIFY(saved.open(QIODevice::ReadOnly));
        QCOMPARE(saved.readAll().count('\n'), 5001);
        for (int i = 0; i < 995; ++i)
            log.alarmChanged();
        QCOMPARE(log.lines().size(), 1000);
        log.alarmChanged();
        QCOMPARE(log.lines().size(), 5);
        // An unwritable folder: every line stays, logging goes on, the failure is told.
        QSignalSpy failed(&log, &DataLog::saveFailed);
        log.setFolder("/proc/quma-unwritable");
        for (int i = 0; i < 4996; ++i)
            log.Timer2Timer();
        QCOMPARE(failed.count(), 1);
        QVERIFY(failed.first().at(0).toString().startsWith("/proc/quma-unwritable/QUMA-7TN(A)_"));
        QVERIFY(!failed.first().at(1).toString().isEmpty());
        QCOMPARE(log.lines().size(), 5001);
        QVERIFY(log.running());
        log.Timer2Timer();
        QCOMPARE(failed.count(), 1); // not retried on every line
        QCOMPARE(log.lines().size(), 5002);
        log.stop();
        QVERIFY(!log.running());
    }

    // The console killed while logging: at the next start its lines are offered and saved, line
    // for line as they were recorded.
    void dataLogSurvivesAKill() {
        QTemporaryDir dir;
        const QString journal = dir.filePath("journal.txt");
        RegisterImage img;
        img.set(1, 2026);
        QStringList recorded = LogHeaderLines();
        for (int i = 0; i < 30; ++i) {
            img.set(6, i % 60); // the seconds of the controller's clock
            recorded << LogDataLine(img);
        }
        const pid_t child = fork();
        if (child == 0) {
            RegisterImage live;
            live.set(1, 2026);
            DataLog log(live);
            log.setJournal(journal);
            log.start();
            for (int i = 0; i < 30; ++i) {
                live.set(6, i % 60);
                log.Timer2Timer();
            }
            raise(SIGKILL); // no destructor, no save, no flush at exit
        }
        int status = 0;
        QCOMPARE(waitpid(child, &status, 0), child);
        QVERIFY(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL);

        HistoryRig h(LinkKind::Tcp, TransferKind::Event, 0);
        h.answer = [] { return QMessageBox::Save; };
        MainWindow w(h.rig.engine, h.rig.session, h.hub);
        w.dataLog().setFolder(dir.path());
        h.boxes.clear();
        w.useDataLogJournal(journal);
        QCOMPARE(h.questions.size(), 1);
        QVERIFY2(h.questions[0].contains("30 line(s)"), qPrintable(h.questions[0]));
        QCOMPARE(h.boxes.size(), 1);
        QVERIFY(h.boxes[0].startsWith("Saved "));
        QFile saved(h.boxes[0].mid(6));
        QVERIFY(saved.open(QIODevice::ReadOnly));
        QCOMPARE(QString::fromUtf8(saved.readAll()).split('\n', Qt::SkipEmptyParts), recorded);
        // The journal now records this run: empty until the log starts.
        QCOMPARE(QFileInfo(journal).size(), 0);
        w.close();
        QVERIFY(!QFileInfo::exists(journal)); // a settled exit leaves no journal behind
    }

    void logTabButtons() {
        LiveRig rig(LinkKind::Tcp);
        AnsweringHub h;
        MessageHub& hub = h.hub;
        QStringList &boxes = h.boxes, &questions = h.questions;
        QMessageBox::StandardButton& answer = h.answer;
        MainWindow w(rig.engine, rig.session, hub);
        QTemporaryDir dir;
        w.dataLog().setFolder(dir.path());
        auto* ui = w.form();
        QTest::mouseClick(ui->btnLogo, Qt::LeftButton);
        QCOMPARE(ui->btnLogo->text(), QString("Log 중지"));
        QCOMPARE(ui->mmLogo->blockCount(), 5); // the header block
        QVERIFY(rig.pollOnce());               // the first alarm text counts as a change
        QVERIFY(ui->mmLogo->toPlainText().contains("[al][  "));
        QTest::mouseClick(ui->Button1, Qt::LeftButton);
        QCOMPARE(boxes.size(), 1);
        QVERIFY(boxes[0].startsWith("Saved " + dir.path()));
        // Deleting the lines asks first; cancelled, they stay.
        QTest::mouseClick(ui->Button2, Qt::LeftButton);
        QCOMPARE(questions.size(), 1);
        QVERIFY(!ui->mmLogo->toPlainText().isEmpty());
        answer = QMessageBox::Yes;
        QTest::mouseClick(ui->Button2, Qt::LeftButton);
        QVERIFY(ui->mmLogo->toPlainText().isEmpty());
        QTest::mouseClick(ui->btnLogo, Qt::LeftButton);
        QCOMPARE(ui->btnLogo->text(), QString("Log 시작"));
        // An empty log is not saved: no file, and the user is told.
        boxes.clear();
        QTest::mouseClick(ui->Button1, Qt::LeftButton);
        QCOMPARE(boxes, QStringList{"The data log is empty: nothing to save."});
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files).size(), 1);
    }

    // Leaving with a recording log asks: Cancel keeps the window, Save writes the lines first,
    // Discard leaves without a file.
    void exitWithUnsavedLog() {
        LiveRig rig(LinkKind::Tcp);
        AnsweringHub h;
        MessageHub& hub = h.hub;
        QStringList& questions = h.questions;
        QMessageBox::StandardButton& answer = h.answer;
        QTemporaryDir dir;
        {
            MainWindow w(rig.engine, rig.session, hub);
            w.dataLog().setFolder(dir.path());
            w.show();
            QVERIFY(w.close()); // nothing logged: no question
            QVERIFY(questions.isEmpty());
        }
        MainWindow w(rig.engine, rig.session, hub);
        w.dataLog().setFolder(dir.path());
        w.show();
        QTest::mouseClick(w.form()->btnLogo, Qt::LeftButton);
        w.dataLog().Timer2Timer();
        QVERIFY(!w.close());
        QCOMPARE(questions.size(), 1);
        QVERIFY(questions[0].contains("unsaved"));
        QVERIFY(w.isVisible());
        QVERIFY(QDir(dir.path()).entryList(QDir::Files).isEmpty());
        answer = QMessageBox::Save;
        QVERIFY(w.close());
        const QStringList files = QDir(dir.path()).entryList(QDir::Files);
        QCOMPARE(files.size(), 1);
        QFile saved(QDir(dir.path()).filePath(files[0]));
        QVERIFY(saved.open(QIODevice::ReadOnly));
        QCOMPARE(saved.readAll().count('\n'), 6); // header block and the data line

        MainWindow w2(rig.engine, rig.session, hub);
        w2.dataLog().setFolder(dir.path());
        w2.show();
        QTest::mouseClick(w2.form()->btnLogo, Qt::LeftButton);
        w2.dataLog().Timer2Timer();
        answer = QMessageBox::Discard;
        QVERIFY(w2.close());
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files).size(), 1);
    }
};

QTEST_MAIN(TestHistory)
#include "tst_history.moc"
