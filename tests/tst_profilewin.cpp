// The console's Profile menu headless: save, compare with export, restore with its preview, and
// the refusals, against the simulated controller, every box and file choice through the hub.
#include "gui/console/Console.h"
#include "gui/mainwin/MainWindow.h"
#include "gui/profile/ProfileCommands.h"
#include "gui/shared/ConsoleFont.h"
#include "gui/shared/MessageHub.h"
#include "tests/ConsoleRig.h"
#include "ui_MainWindow.h"

#include <QCheckBox>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTableView>
#include <QTemporaryDir>
#include <QtTest>

using namespace quma;
using namespace quma::test;

namespace {
// Logged in and connected.
struct Window : ConsoleRig {
    explicit Window(LinkKind kind, sim::SimOptions o = LiveRig::frozen()) : ConsoleRig(kind, o) {
        window.completeLogin();
        window.completeConnection();
    }
    Ui::MainWindow* ui() { return window.form(); }
    ProfileCommands& profiles() { return console.profiles(); }
    // Runs the request clock by hand until `done` holds.
    bool pump(const std::function<bool()>& done, int timeoutMs = 8000) {
        QElapsedTimer t;
        t.start();
        while (!done() && t.elapsed() < timeoutMs) {
            rig.engine.Timer1Timer();
            QTest::qWait(5);
        }
        return done();
    }
};

QString writeFile(const QTemporaryDir& dir, const QString& name, const QByteArray& text) {
    QFile f(dir.filePath(name));
    if (!f.open(QIODevice::WriteOnly)) return {};
    f.write(text);
    return f.fileName();
}

// The profile of the simulator's defaults, read through the menu.
QString saveDefaults(const QTemporaryDir& dir, LinkKind kind) {
    Window c(kind);
    if (!c.rig.ok || !c.rig.pollOnce()) return {};
    c.files << dir.filePath("defaults");
    c.ui()->mProfileSave->trigger();
    if (!c.pump([&] { return !c.boxes.isEmpty(); })) return {};
    return c.boxes.first().startsWith("Profile saved") ? dir.filePath("defaults.json") : QString();
}
} // namespace

class TestProfileWin : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { UseConsoleFont(); }

    void menuIsThereAndNeedsAController() {
        Window c(LinkKind::Tcp);
        QVERIFY(c.rig.ok);
        QCOMPARE(c.ui()->Profile1->title(), QString("프로파일 (Profile)"));
        // Before the first reply the commands that read the plant are off; two files compare
        // without one.
        QVERIFY(!c.ui()->mProfileSave->isEnabled());
        QVERIFY(c.ui()->mProfileCompareFiles->isEnabled());
        QVERIFY(c.rig.pollOnce());
        QVERIFY(c.ui()->mProfileSave->isEnabled());
        QVERIFY(c.ui()->mProfileRestore->isEnabled());
        // A cancelled file choice does nothing.
        c.ui()->mProfileSave->trigger();
        QVERIFY(!c.profiles().busy());
        QVERIFY(c.boxes.isEmpty());
    }

    void saveWritesTheFile() {
        QTemporaryDir dir;
        const QString path = saveDefaults(dir, LinkKind::Serial);
        QVERIFY(!path.isEmpty());
        const ProfileLoad load = LoadProfileFile(path);
        QVERIFY2(load.profile, qPrintable(load.error));
        QCOMPARE(load.profile->settings.value("output_voltage"), 540);
        QCOMPARE(load.profile->network.value("site"), QString("Site A"));
        QCOMPARE(load.profile->model, QString("QUMA-7TN(A)"));
    }

    void compareHighlightsFiltersAndExports() {
        QTemporaryDir dir;
        const QString file = saveDefaults(dir, LinkKind::Tcp);
        QVERIFY(!file.isEmpty());
        Window c(LinkKind::Tcp);
        c.rig.sim.model().setReg(59, 110);
        c.rig.sim.model().setReg(88, 0x0001);
        QVERIFY(c.rig.pollOnce());
        c.files << file;
        c.ui()->mProfileCompare->trigger();
        QVERIFY(c.pump([&] { return c.profiles().comparison() != nullptr; }));
        ProfileCompareDialog* d = c.profiles().comparison();
        QVERIFY(d->isVisible());
        auto* model = qobject_cast<QStandardItemModel*>(d->table()->model());
        QCOMPARE(model->rowCount(), 40); // 35 settings and 5 network fields
        QCOMPARE(d->visibleRows(), 40);
        QTest::mouseClick(d->differencesOnly(), Qt::LeftButton);
        QCOMPARE(d->visibleRows(), 2);
        const QList<QStringList> rows = d->tableRows();
        QCOMPARE(rows[1], (QStringList{"DC 과전류", "%", "59", "105", "110"}));
        QCOMPARE(rows[2][0], QString("예비 1 접점 경보 1"));
        // The differing rows stand out.
        QCOMPARE(model->item(5, 0)->background().color(), QColor(0xFF, 0xD8, 0xD8));
        QVERIFY(model->item(5, 0)->font().bold());
        QVERIFY(model->item(0, 0)->background().style() == Qt::NoBrush);

        c.files << dir.filePath("comparison");
        d->findChild<QPushButton*>("btnExportXlsx")->click();
        QVERIFY(QFileInfo(dir.filePath("comparison.xlsx")).size() > 0);
        QVERIFY(c.boxes.last().startsWith("2 rows exported"));
        // A failed export says so and keeps the window.
        c.files << dir.filePath("no/such/folder/x.xlsx");
        d->findChild<QPushButton*>("btnExportXlsx")->click();
        QVERIFY(c.boxes.last().startsWith("The comparison was not exported"));
        QVERIFY(d->isVisible());
    }

    // The preview shows exactly the differing fields; confirmed, the writes go through the chain
    // and the read-back comparison shows no difference.
    void restorePreviewsWritesAndReadsBack() {
        QTemporaryDir dir;
        const QString file = saveDefaults(dir, LinkKind::Serial);
        QVERIFY(!file.isEmpty());
        Window c(LinkKind::Serial);
        c.rig.sim.model().setReg(60, 535);
        c.rig.sim.model().setReg(77, 5);
        c.rig.sim.model().netId().siteInfo = "Elsewhere";
        QVERIFY(c.rig.pollOnce());
        c.files << file;
        c.ui()->mProfileRestore->trigger();
        QVERIFY(c.pump([&] { return c.profiles().preview() != nullptr; }));
        ProfilePreviewDialog* p = c.profiles().preview();
        QCOMPARE(p->plan().steps.size(), 2);
        QCOMPARE(p->table()->model()->rowCount(), 3); // and the site, not written
        QCOMPARE(p->table()->model()->index(2, 4).data().toString(), QString("(not written)"));
        QTest::mouseClick(p->networkOption(), Qt::LeftButton);
        QVERIFY(p->plan().networkForm);
        QCOMPARE(p->table()->model()->index(2, 4).data().toString(), QString("Site A"));
        QVERIFY(c.rig.sim.model().writes().isEmpty());
        p->writeButton()->click();
        QVERIFY(c.pump([&] { return c.profiles().comparison() != nullptr; }));
        const QList<std::pair<int, int>> expected = {{77, 3}, {60, 540}};
        QCOMPARE(c.rig.sim.model().writes(), expected);
        QCOMPARE(c.rig.sim.model().netId().siteInfo, QByteArray("Site A"));
        QVERIFY(c.profiles().comparison()->windowTitle().endsWith("after the restore"));
        QCOMPARE(c.profiles().comparison()->findChild<QLabel*>("lbProfileSummary")->text(),
                 QString("40 fields, no difference"));
        QVERIFY(c.boxes.contains(" Setting Sucess!!"));
    }

    void cancelledPreviewWritesNothing() {
        QTemporaryDir dir;
        const QString file = saveDefaults(dir, LinkKind::Tcp);
        Window c(LinkKind::Tcp);
        c.rig.sim.model().setReg(60, 535);
        QVERIFY(c.rig.pollOnce());
        c.files << file;
        c.ui()->mProfileRestore->trigger();
        QVERIFY(c.pump([&] { return c.profiles().preview() != nullptr; }));
        // Polling pauses while the preview is open, as for the setting dialogs.
        QCOMPARE(int(c.rig.engine.commandKind()), int(RectMode::Setting));
        c.profiles().preview()->findChild<QPushButton*>("btnCancel")->click();
        QCOMPARE(int(c.rig.engine.commandKind()), int(RectMode::Poll));
        QTest::qWait(300);
        QVERIFY(c.rig.sim.model().writes().isEmpty());
        QVERIFY(!c.profiles().busy());
    }

    void badOrForeignFilesWriteNothing() {
        QTemporaryDir dir;
        const QString file = saveDefaults(dir, LinkKind::Tcp);
        QFile f(file);
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QByteArray text = f.readAll();
        Window c(LinkKind::Tcp);
        c.rig.sim.model().setReg(60, 535);
        QVERIFY(c.rig.pollOnce());

        c.files << writeFile(dir, "bad.json",
                             QByteArray(text).replace("\"value\": 54", "\"value\": 99"));
        c.ui()->mProfileRestore->trigger();
        QCOMPARE(c.boxes.size(), 1);
        QVERIFY(c.boxes[0].contains("output_voltage"));
        QVERIFY(!c.profiles().busy());

        // Made for another model: asked first; no means nothing is written.
        const QString foreign =
            writeFile(dir, "foreign.json",
                      QByteArray(text).replace("\"system_type\": 4", "\"system_type\": 3"));
        c.files << foreign;
        c.ui()->mProfileRestore->trigger();
        QVERIFY(c.pump([&] { return !c.questions.isEmpty() && !c.profiles().busy(); }));
        QVERIFY(c.questions[0].contains("system type 3"));
        QVERIFY(!c.profiles().preview());
        // Yes: the settings may be restored, never the network section.
        c.answerYes = true;
        c.files << foreign;
        c.ui()->mProfileRestore->trigger();
        QVERIFY2(c.pump([&] { return c.profiles().preview() != nullptr; }),
                 qPrintable(c.boxes.join('|') + c.questions.join('|')));
        QVERIFY(!c.profiles().preview()->networkOption()->isEnabled());
        QCOMPARE(c.profiles().preview()->plan().steps.size(), 1);
        QVERIFY(c.rig.sim.model().writes().isEmpty());
    }

    void twoFilesCompareWithoutAController() {
        QTemporaryDir dir;
        const QString file = saveDefaults(dir, LinkKind::Tcp);
        QFile f(file);
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QString other =
            writeFile(dir, "other.json",
                      f.readAll().replace("\"value\": \"Site A\"", "\"value\": \"기지국 7\""));
        LiveRig rig(LinkKind::Tcp);
        MessageHub hub;
        QStringList files{file, other};
        hub.setRecorder([](MessageKind, const QString&) {});
        hub.setFileChooser([&](const QString&, bool, const QString&) { return files.takeFirst(); });
        Console console(rig.engine, rig.session, hub);
        console.window().form()->mProfileCompareFiles->trigger();
        ProfileCompareDialog* d = console.profiles().comparison();
        QVERIFY(d);
        QTest::mouseClick(d->differencesOnly(), Qt::LeftButton);
        QCOMPARE(d->visibleRows(), 1);
        QCOMPARE(d->tableRows()[1], (QStringList{"network.site", "", "-", "Site A", "기지국 7"}));
    }
};

QTEST_MAIN(TestProfileWin)
#include "tst_profilewin.moc"
