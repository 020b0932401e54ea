// The Protocol pane headless: opened by its menu command, it lists the frames of the simulator's
// link with their meanings; filter, search, pause, clear, copy, save and session recording.
#include "gui/mainwin/MainWindow.h"
#include "gui/monitor/ProtocolPane.h"
#include "gui/shared/ConsoleFont.h"
#include "gui/shared/MessageHub.h"
#include "tests/ConsoleRig.h"
#include "ui_MainWindow.h"

#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QtTest>

using namespace quma;
using namespace quma::test;

namespace {
struct Window : ConsoleRig {
    explicit Window(LinkKind kind) : ConsoleRig(kind) {}
    ProtocolPane& pane() { return console.protocolPane(); }
    template <class T> T* find(const char* name) { return pane().findChild<T*>(name); }
    QString cell(int row, int column) {
        return pane().model().index(row, column).data().toString();
    }
};
} // namespace

class TestProtocolWin : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { UseConsoleFont(); }

    void menuCommandShowsTheFrames() {
        Window c(LinkKind::Serial);
        QVERIFY(c.rig.ok);
        QAction* show = c.window.findChild<QAction*>("mProtocolMonitor");
        QVERIFY(show);
        QCOMPARE(show->shortcut(), QKeySequence("Ctrl+Shift+P"));
        QVERIFY(c.window.form()->Access1->actions().contains(show));
        QVERIFY(!c.pane().isVisible());
        show->trigger();
        QVERIFY(c.pane().isVisible());
        QVERIFY(c.rig.pollOnce());
        QVERIFY(c.rig.pollOnce());
        c.pane().catchUp();
        QCOMPARE(c.pane().model().rowCount(), 4);
        QCOMPARE(c.cell(0, 1), QString("out"));
        QCOMPARE(c.cell(0, 2), QString("serial"));
        QCOMPARE(c.cell(0, 3), QString(":01040001008377\\r\\n"));
        QCOMPARE(c.cell(0, 4), QString("poll, registers 1..131"));
        QCOMPARE(c.cell(1, 4), QString("poll reply, 131 registers"));
        QVERIFY(c.find<QLabel>("lbProtocolCounters")->text().startsWith("sent 2, received 2"));
    }

    // However much the link drops, the pane keeps its size and the window fits a laptop screen.
    void paneFitsTheScreenAtAnyTraffic() {
        Window c(LinkKind::Tcp);
        c.window.completeLogin();
        c.window.completeConnection();
        QVERIFY(c.rig.pollOnce()); // the status page is shown
        c.window.findChild<QAction*>("mProtocolMonitor")->trigger();
        const QSize before = c.pane().minimumSizeHint();
        for (int i = 0; i < 1000; ++i)
            c.console.protocolMonitor().add(
                FrameEvent{FrameEvent::Dropped, LinkKind::Tcp, 0, 0, QByteArray(8, char(i)),
                           QString("transaction id %1 expected %2").arg(i + 1).arg(i)});
        c.pane().catchUp();
        QCOMPARE(c.pane().minimumSizeHint(), before);
        const QString footer = c.find<QLabel>("lbProtocolCounters")->text();
        QVERIFY2(footer.contains("transaction id mismatch: 1000"), qPrintable(footer));
        QVERIFY(c.find<QLabel>("lbProtocolCounters")->toolTip().contains("expected"));
        qDebug() << "window min" << c.window.minimumSizeHint() << "pane" << before;
        QVERIFY(c.window.minimumSizeHint().width() <= 1366);
        QVERIFY(c.window.minimumSizeHint().height() <= 700);
    }

    void filterSearchPauseClearCopySave() {
        QTemporaryDir dir;
        Window c(LinkKind::Tcp);
        QVERIFY(c.rig.ok);
        c.window.findChild<QAction*>("mProtocolMonitor")->trigger();
        QVERIFY(c.rig.pollOnce());
        QVERIFY(c.rig.engine.QueueWrites({{60, 540}}));
        QVERIFY(c.rig.waitMessage());
        c.rig.sim.faults.badLrcEvery = 1; // over TCP: a reply with another transaction id
        c.rig.engine.ReturnToPolling();
        c.rig.engine.Timer1Timer();
        QTest::qWait(1300);
        c.rig.sim.faults.badLrcEvery = 0;
        c.pane().catchUp();
        const int all = c.pane().model().rowCount();
        QVERIFY(all >= 5);
        auto* filter = c.find<QComboBox>("cbbProtocolFilter");
        filter->setCurrentIndex(2); // writes
        QCOMPARE(c.pane().model().rowCount(), 2);
        QCOMPARE(c.cell(0, 4), QString("write reg 60 = 540 (transaction 2)"));
        filter->setCurrentIndex(4); // errors only
        QVERIFY(c.pane().model().rowCount() >= 1);
        for (int r = 0; r < c.pane().model().rowCount(); ++r)
            QVERIFY(c.pane().model().entry(r)->meaning.error);
        filter->setCurrentIndex(0);
        c.find<QLineEdit>("edtProtocolSearch")->setText("confirmed");
        QCOMPARE(c.pane().model().rowCount(), 1);
        c.find<QLineEdit>("edtProtocolSearch")->clear();
        QCOMPARE(c.pane().model().rowCount(), all);

        // Copy takes the selected rows (or all shown).
        c.pane().table()->selectRow(0);
        QTest::mouseClick(c.find<QPushButton>("btnProtocolCopy"), Qt::LeftButton);
        QCOMPARE(QApplication::clipboard()->text().count('\n'), 1);
        QVERIFY(QApplication::clipboard()->text().contains("\tout\ttcp\t00 01 00 00 00 06 01 04"));
        c.files << dir.filePath("frames");
        QTest::mouseClick(c.find<QPushButton>("btnProtocolSave"), Qt::LeftButton);
        QFile saved(dir.filePath("frames.txt"));
        QVERIFY(saved.open(QIODevice::ReadOnly));
        QCOMPARE(saved.readAll().count('\n'), all);

        // Paused, the list stands still while the counters go on; clear empties it.
        QTest::mouseClick(c.find<QCheckBox>("chkProtocolPause"), Qt::LeftButton);
        QVERIFY(c.rig.pollOnce());
        c.pane().catchUp();
        QCOMPARE(c.pane().model().rowCount(), all);
        QTest::mouseClick(c.find<QPushButton>("btnProtocolClear"), Qt::LeftButton);
        QCOMPARE(c.pane().model().rowCount(), 0);
        QTest::mouseClick(c.find<QCheckBox>("chkProtocolPause"), Qt::LeftButton);
        QVERIFY(c.rig.pollOnce());
        c.pane().catchUp();
        QCOMPARE(c.pane().model().rowCount(), 2);
    }

    void recordsTheSession() {
        QTemporaryDir dir;
        Window c(LinkKind::Serial);
        QVERIFY(c.rig.ok);
        c.files << dir.filePath("visit");
        QTest::mouseClick(c.find<QPushButton>("btnProtocolRecord"), Qt::LeftButton);
        QVERIFY(c.find<QPushButton>("btnProtocolRecord")->isChecked());
        QVERIFY(c.rig.pollOnce());
        QVERIFY(c.rig.pollOnce());
        QTest::mouseClick(c.find<QPushButton>("btnProtocolRecord"), Qt::LeftButton);
        const SessionRead read = ReadSessionFile(dir.filePath("visit.jsonl"));
        QVERIFY2(read.error.isEmpty(), qPrintable(read.error));
        QCOMPARE(read.program, QString("quma-console"));
        QCOMPARE(read.events.size(), 4);
        // A file that cannot be made: told, and the button goes back.
        c.files << dir.filePath("no/such/folder/x.jsonl");
        QTest::mouseClick(c.find<QPushButton>("btnProtocolRecord"), Qt::LeftButton);
        QVERIFY(!c.find<QPushButton>("btnProtocolRecord")->isChecked());
        QVERIFY(c.boxes.last().startsWith("The session is not recorded"));
    }
};

QTEST_MAIN(TestProtocolWin)
#include "tst_protocolwin.moc"
