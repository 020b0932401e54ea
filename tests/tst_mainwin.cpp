// The console window headless: login, menu availability, connecting to the simulator on both
// links and the status page it shows.
#include "gui/battery/BatteryTab.h"
#include "gui/config/ClockDialog.h"
#include "gui/config/ContactAlarmView.h"
#include "gui/config/SetPointDialog.h"
#include "gui/console/Console.h"
#include "gui/link/ConnectionDialog.h"
#include "gui/mainwin/LoginDialog.h"
#include "gui/mainwin/MainWindow.h"
#include "gui/monitor/ProtocolPane.h"
#include "gui/shared/ConsoleFont.h"
#include "gui/shared/MessageHub.h"
#include "gui/shared/PaintedWidgets.h"
#include "gui/trend/TrendView.h"
#include "tests/LiveRig.h"
#include "ui_MainWindow.h"

#include "tests/LinkRows.h"
#include <QApplication>
#include <QCalendarWidget>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSettings>
#include <QStandardItemModel>
#include <QStatusBar>
#include <QTableWidget>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeWidget>

#include <QtTest>
#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace quma;
using namespace quma::test;

namespace {
// The window on a live rig, with every message box recorded.
struct Window {
    LiveRig rig;
    MessageHub hub;
    QStringList boxes;
    ::Console console;
    MainWindow& window;
    explicit Window(LinkKind kind, sim::SimOptions o = LiveRig::frozen())
        : rig(kind, o), console(rig.engine, rig.session, hub), window(console.window()) {
        hub.setRecorder([this](MessageKind, const QString& t) { boxes << t; });
        window.show();
    }
    Ui::MainWindow* ui() { return window.form(); }
    template <class T> T* find(const QString& name) { return window.findChild<T*>(name); }
    QString text(const QString& name) { return find<QLabel>(name)->text(); }
    bool lampAlarm(const QString& name) { return find<LampPair>(name)->isAlarm(); }
};

// The window on a modelled pack (5 Ah, cell 4 weak, a test of a minute played at 12x), logged
// in, connected and polling.
struct PackWindow : Window {
    explicit PackWindow(sim::SimOptions o) : Window(LinkKind::Tcp, withPack(o)) {
        rig.sim.startTicking(100);
        window.completeLogin();
        window.completeConnection();
        rig.engine.setLiveTimers(true);
    }
    static sim::SimOptions withPack(sim::SimOptions o) {
        o.pack = {5, 0, 4, 12};
        o.registers = {{Reg::TestMinutes, 1}};
        return o;
    }
};

struct MenuState {
    bool connect, disconnect, login, logout, data;
};
MenuState menus(Ui::MainWindow* ui) {
    return {ui->mConnect->isEnabled(), ui->mDisconnect->isEnabled(), ui->mLogin->isEnabled(),
            ui->mLogout->isEnabled(), ui->mAlarmLog->isEnabled()};
}

// Runs `act` on the connection dialog once it is shown modally (its exec() does not return
// before the dialog closes).
void onConnectionDialog(std::function<void(ConnectionDialog*)> act) {
    auto* timer = new QTimer;
    QObject::connect(timer, &QTimer::timeout, [timer, act] {
        if (auto* d = qobject_cast<ConnectionDialog*>(QApplication::activeModalWidget())) {
            timer->stop();
            timer->deleteLater();
            act(d);
        }
    });
    timer->start(10);
}

quint16 deadPort() {
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost);
    return probe.serverPort(); // closed again when probe goes
}

QString statusText(Window& c, int panel) {
    return c.window.findChild<QLabel*>(QString("ComSettingPanel%1").arg(panel))->text();
}
} // namespace

class TestMainWin : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { UseConsoleFont(); }

    void loginByButtonAndByEnter() {
        MessageHub hub;
        QStringList boxes;
        hub.setRecorder([&](MessageKind, const QString& t) { boxes << t; });
        {
            LoginDialog dlg(hub);
            dlg.show();
            auto* pw = dlg.findChild<QLineEdit*>("PW_Input");
            QTest::keyClicks(pw, "vroom8315 ");
            QTest::keyClick(pw, Qt::Key_Return); // wrong (trailing blank): stays open
            QVERIFY(dlg.isVisible());
            QCOMPARE(boxes, QStringList{" Please try again "});
            pw->clear();
            QTest::keyClicks(pw, "VROOM8315");
            QTest::mouseClick(dlg.findChild<QPushButton*>("bbtnOK"), Qt::LeftButton);
            QVERIFY(!dlg.isVisible()); // the button always closes the dialog
            QCOMPARE(dlg.result(), int(QDialog::Rejected));
            QCOMPARE(boxes.size(), 2);
        }
        LoginDialog dlg(hub);
        dlg.show();
        QTest::keyClicks(dlg.findChild<QLineEdit*>("PW_Input"), "vroom8315");
        QTest::keyClick(dlg.findChild<QLineEdit*>("PW_Input"), Qt::Key_Return);
        QCOMPARE(dlg.result(), int(QDialog::Accepted));
        QCOMPARE(boxes.size(), 2);
    }

    void menuAvailabilityThroughASession() {
        Window c(LinkKind::Tcp);
        QVERIFY(c.rig.ok);
        auto* ui = c.ui();
        const auto check = [&](MenuState want) {
            const MenuState got = menus(ui);
            QCOMPARE(got.connect, want.connect);
            QCOMPARE(got.disconnect, want.disconnect);
            QCOMPARE(got.login, want.login);
            QCOMPARE(got.logout, want.logout);
            QCOMPARE(got.data, want.data);
        };
        check({false, false, true, false, false});
        QVERIFY(ui->mExit->isEnabled() && ui->N3->isEnabled() && ui->KestraTarvine1->isEnabled());
        QVERIFY(ui->lbLoginHint->isVisible());
        QCOMPARE(ui->mExit->shortcut(), QKeySequence(QKeySequence::Quit));
        c.window.completeLogin();
        QVERIFY(!ui->lbLoginHint->isVisible());
        check({true, false, false, true, false});
        // Connect chosen: the dialog is left at once with Close.
        ui->mConnect->setEnabled(false);
        ui->mDisconnect->setEnabled(true);
        check({false, true, false, true, false});
        QVERIFY(c.rig.pollOnce());
        check({false, true, false, true, true});
        QVERIFY(ui->GroupBox1->isVisible());
        QVERIFY(ui->ComSetting->isVisible());
        c.window.disconnectFromController();
        check({true, false, false, true, false});
        QVERIFY(!ui->GroupBox1->isVisible());
        QVERIFY(!ui->ComSetting->isVisible());
        QVERIFY(!c.rig.engine.timer1Enabled());
        // Logout keeps the event log and alarm test commands as they were.
        QVERIFY(c.rig.pollOnce());
        c.window.completeLogout();
        check({false, false, true, false, false});
        QVERIFY(ui->mEventLog->isEnabled());
        QVERIFY(ui->mAlarmTest->isEnabled());
        QVERIFY(!ui->mSystemConfiguration->isEnabled());
        QCOMPARE(c.window.connectLamp().colour(), Rgb::Grey);
    }

    void versionAndFirmwareCounter() {
        Window c(LinkKind::Tcp);
        c.window.showVersion();
        // The version as the controller's console shows it, then the license.
        QCOMPARE(c.boxes.size(), 1);
        QCOMPARE(c.boxes[0].split('\n').first(), QString("V2.1  2021-12-27 "));
        QVERIFY(c.boxes[0].contains("GPL-3.0-or-later"));
        QVERIFY(!c.ui()->edtFwCnt->isVisible());
        QTest::mouseClick(c.ui()->Image1, Qt::LeftButton);
        QVERIFY(c.ui()->edtFwCnt->isVisible());
        QTest::mouseClick(c.ui()->Image1, Qt::LeftButton);
        QVERIFY(!c.ui()->edtFwCnt->isVisible());
    }

    void statusPageOfAKnownImage_data() { AddLinkRows(); }
    void statusPageOfAKnownImage() {
        QFETCH(int, link);
        sim::SimOptions o = LiveRig::frozen();
        o.systemType = 2;
        Window c(LinkKind{quint8(link)}, o);
        QVERIFY(c.rig.ok);
        auto& m = c.rig.sim.model();
        m.setReg(7, 2200);
        m.setReg(10, 0xFFF6);
        m.setReg(12, 1250);
        m.setReg(61, 5450);
        m.setReg(96, 25);
        m.setReg(109, 1);
        m.setReg(98, 500);
        m.setReg(41, 0b000101);
        m.setReg(107, 0x80);
        m.setReg(108, 0x4001);
        c.window.completeLogin();
        c.window.completeConnection();
        QVERIFY(c.rig.pollOnce());
        QCOMPARE(c.text("Label_ACV"), QString("AC전압 : 220.0 V"));
        QCOMPARE(c.text("Lable_DCA"), QString("DC전류 : -1.0  A"));
        QCOMPARE(c.text("Label_BT"), QString("Battery온도 : Open"));
        QCOMPARE(c.text("Label_SetV"), QString("설정전압 : 54.50 V"));
        QCOMPARE(c.text("Lable_BFW"), QString("FW : V1.15"));
        QCOMPARE(c.text("Lable_BReady"), QString("축전지-NFB : OFF"));
        QVERIFY(c.text("ComSettingPanel0").startsWith(" QUMA-7T  F/W V"));
        QCOMPARE(c.window.windowTitle(), QString(" QUMA-7T"));
        QVERIFY(c.lampAlarm("ImDry1") && !c.lampAlarm("ImDry2") && c.lampAlarm("ImDry3"));
        QVERIFY(c.lampAlarm("ImBatt8") && !c.lampAlarm("ImBatt7"));
        QVERIFY(c.lampAlarm("ImCell1") && c.lampAlarm("ImCell15") && !c.lampAlarm("ImCell2"));
        QVERIFY(!c.ui()->mFactoryInitial->isVisible()); // QUMA-7T has no factory reset
        QVERIFY(!c.ui()->CanFrame->isVisible());
        const bool serial = link == int(LinkKind::Serial);
        QCOMPARE(c.ui()->FlatPanel3->isVisible(), serial);
        QCOMPARE(c.ui()->pnlConnect->isVisible(), !serial);
        QCOMPARE(c.text("ComSettingPanel2"), c.rig.session.linkName());
    }

    void fourContactsAndTheBatteryGroup() {
        sim::SimOptions o = LiveRig::frozen();
        o.systemType = 3;
        o.battery = false;
        Window c(LinkKind::Tcp, o);
        QVERIFY(c.rig.ok);
        c.rig.sim.model().setReg(42, 1);
        QVERIFY(c.rig.pollOnce());
        QVERIFY(!c.ui()->ImDry5->isVisible() && !c.ui()->Lable_Contact6->isVisible());
        QVERIFY(c.ui()->ImDry4->isVisible());
        QVERIFY(!c.ui()->GroupBattery->isVisible());
        QVERIFY(!c.ui()->Lable_BCA->isVisible());
        QVERIFY(c.ui()->mFactoryInitial->isVisible());
        c.rig.sim.model().setReg(42, 0);
        c.rig.sim.model().setReg(66, 1);
        c.rig.engine.ReturnToPolling();
        QVERIFY(c.rig.pollOnce());
        QVERIFY(c.ui()->ImDry6->isVisible());
        QVERIFY(c.ui()->GroupBattery->isVisible());
    }

    void alarmTreeFollowsTheAlarmWords() {
        Window c(LinkKind::Serial);
        QVERIFY(c.rig.ok);
        auto* tree = c.ui()->TreeViewM;
        QVERIFY(c.rig.pollOnce()); // the tree comes with the first reply
        QCOMPARE(tree->topLevelItemCount(), 1);
        QTreeWidgetItem* root = tree->topLevelItem(0);
        QCOMPARE(root->text(0), QString("Alarm그룹"));
        QCOMPARE(root->childCount(), 4); // battery installed
        QCOMPARE(root->foreground(0).color(), QColor(0x80, 0, 0));
        QCOMPARE(root->child(1)->foreground(0).color(), QColor(0, 0, 0xFF));
        c.rig.engine.Timer3Timer();
        c.rig.sim.model().setReg(15, 0x0020);
        c.rig.engine.ReturnToPolling();
        QVERIFY(c.rig.pollOnce());
        c.rig.engine.Timer3Timer();
        QTreeWidgetItem* dc = root->child(1);
        QCOMPARE(dc->text(0), QString("직류출력"));
        QCOMPARE(dc->data(0, Qt::UserRole).toBool(), false); // over-current alone
        QCOMPARE(dc->child(2)->data(0, Qt::UserRole).toBool(), true);
        QCOMPARE(root->data(0, Qt::UserRole).toBool(), true);
        // No battery any more: removed, then rebuilt with three groups with the next poll.
        c.rig.sim.model().setReg(66, 0);
        c.rig.engine.ReturnToPolling();
        QVERIFY(c.rig.pollOnce());
        QCOMPARE(tree->topLevelItemCount(), 0);
        c.rig.engine.ReturnToPolling();
        QVERIFY(c.rig.pollOnce());
        QCOMPARE(tree->topLevelItem(0)->childCount(), 3);
    }

    void contactViewIsReadOnly() {
        RegisterImage img;
        img.set(82, 0x0026);
        img.set(83, 0x0002);
        ContactAlarmView view(img, 2);
        QVERIFY(!view.findChild<QGroupBox*>("GroupBox1")->isEnabled());
        QVERIFY(view.findChild<QCheckBox*>("CheckBox2")->isChecked());
        QVERIFY(view.findChild<QCheckBox*>("CheckBox3")->isChecked());
        QVERIFY(view.findChild<QCheckBox*>("CheckBox6")->isChecked());
        QVERIFY(view.findChild<QCheckBox*>("CheckBox18")->isChecked());
        QVERIFY(!view.findChild<QCheckBox*>("CheckBox1")->isChecked());
        // Which contact it is, and a way out.
        ContactAlarmView named(img, 2, "DC Fail");
        named.show();
        QCOMPARE(named.findChild<QGroupBox*>("GroupBox1")->title(), QString("DC Fail"));
        QTest::mouseClick(
            named.findChild<QDialogButtonBox*>("CloseButtons")->button(QDialogButtonBox::Close),
            Qt::LeftButton);
        QVERIFY(!named.isVisible());
    }

    void connectionDialogOverTcpAndSerial() {
        sim::SimServer sim(LiveRig::frozen());
        QVERIFY(sim.listenTcp());
        QVERIFY(sim.openPty());
        MonitorEngine engine;
        engine.link().setTraceSink({});
        LinkSession session(engine);
        MessageHub hub;
        QStringList boxes;
        hub.setRecorder([&](MessageKind, const QString& t) { boxes << t; });
        {
            ConnectionDialog dlg(session, hub, {sim.ptyPath()},
                                 QString("127.0.0.1:%1").arg(sim.tcpPort()));
            dlg.show();
            auto* connectButton = dlg.findChild<QPushButton*>("BitBtn1");
            QVERIFY(!connectButton->isEnabled());
            QTest::mouseClick(dlg.findChild<QRadioButton*>("TCP"), Qt::LeftButton);
            QVERIFY(connectButton->isEnabled());
            QTest::mouseClick(connectButton, Qt::LeftButton);
            QVERIFY(dlg.connecting());
            QTRY_VERIFY_WITH_TIMEOUT(!dlg.isVisible(), 5000);
            QCOMPARE(dlg.result(), int(QDialog::Accepted));
            QVERIFY(session.tcp().Connected());
            QVERIFY(engine.timer1Enabled());
        }
        {
            ConnectionDialog dlg(session, hub, {sim.ptyPath()});
            dlg.show();
            QTest::mouseClick(dlg.findChild<QRadioButton*>("Serial"), Qt::LeftButton);
            auto* list = dlg.findChild<QComboBox*>("PortSelect");
            list->setCurrentText(sim.ptyPath());
            QTest::mouseClick(dlg.findChild<QPushButton*>("BitBtn1"), Qt::LeftButton);
            QCOMPARE(dlg.result(), int(QDialog::Accepted));
            QVERIFY(session.isSerial());
            QVERIFY(session.port().Active());
            QVERIFY(!session.tcp().Connected());
        }
        {
            // Nothing listens: the failure message, polling stays off.
            QTcpServer probe;
            probe.listen(QHostAddress::LocalHost);
            const quint16 dead = probe.serverPort();
            probe.close();
            ConnectionDialog dlg(session, hub, {}, QString("127.0.0.1:%1").arg(dead));
            dlg.show();
            // The arrow keys choose the link kind.
            auto* serial = dlg.findChild<QRadioButton*>("Serial");
            serial->setFocus();
            QTest::keyClick(serial, Qt::Key_Down);
            QVERIFY(dlg.findChild<QRadioButton*>("TCP")->isChecked());
            QTest::mouseClick(dlg.findChild<QPushButton*>("BitBtn1"), Qt::LeftButton);
            QTRY_VERIFY_WITH_TIMEOUT(!dlg.connecting(), 5000);
            // The controller's words first, then the link and the system's reason; the dialog
            // stays for another try.
            QCOMPARE(boxes.value(boxes.size() - 1),
                     QString("Please, Check PC Lan Port Connection!\n\nTCP/IP 127.0.0.1:%1: "
                             "connection refused: nothing answers on that port of the controller")
                         .arg(dead));
            QVERIFY(dlg.isVisible());
            QVERIFY(!engine.timer1Enabled());
            QCOMPARE(dlg.triedLink(), QString("127.0.0.1:%1").arg(dead));
            QVERIFY(!dlg.failure().isEmpty());
            // Enter tries again, now where the controller listens.
            auto* host = dlg.findChild<QLineEdit*>("edtHostIP");
            host->setText(QString("127.0.0.1:%1").arg(sim.tcpPort()));
            host->setFocus();
            QTest::keyClick(host, Qt::Key_Return);
            QTRY_VERIFY_WITH_TIMEOUT(!dlg.isVisible(), 5000);
            QCOMPARE(dlg.result(), int(QDialog::Accepted));
            QVERIFY(session.tcp().Connected());
        }
        {
            // Port Refind says what it found.
            ConnectionDialog dlg(session, hub, {sim.ptyPath()});
            dlg.show();
            auto* refind = dlg.findChild<QPushButton*>("Port");
            QCOMPARE(refind->shortcut(), QKeySequence(Qt::Key_F5));
            QTest::mouseClick(refind, Qt::LeftButton);
            QVERIFY2(dlg.findChild<QLabel*>("lbState")->text().contains(sim.ptyPath()),
                     qPrintable(dlg.findChild<QLabel*>("lbState")->text()));
        }
    }

    // A port this user may not open is listed greyed out with the reason; with no other port the
    // message names the device, its group and the fix.
    void portsThisUserMayNotOpenSayWhy() {
        const group* dialout = ::getgrnam("dialout");
        if (::geteuid() != 0 || !dialout) QSKIP("needs root and the dialout group");
        sim::SimServer sim(LiveRig::frozen());
        QVERIFY(sim.openPty());
        const QByteArray pty = QFile::encodeName(QFileInfo(sim.ptyPath()).canonicalFilePath());
        QVERIFY(::chown(pty.constData(), 0, dialout->gr_gid) == 0);
        QVERIFY(::chmod(pty.constData(), 0660) == 0);
        const QString advice = QString("%1 belongs to group dialout, which you are not in: sudo "
                                       "usermod -aG dialout $USER, then log in again")
                                   .arg(sim.ptyPath());
        MonitorEngine engine;
        LinkSession session(engine);
        MessageHub hub;
        QStringList boxes;
        hub.setRecorder([&](MessageKind, const QString& t) { boxes << t; });
        // The effective user and groups of nobody while the dialog looks at the ports.
        const int n = ::getgroups(0, nullptr);
        std::vector<gid_t> groups(std::size_t(std::max(n, 0)));
        QVERIFY(::getgroups(n, groups.data()) == n);
        QVERIFY(::setgroups(0, nullptr) == 0 && ::setegid(65534) == 0 && ::seteuid(65534) == 0);
        const auto restore = qScopeGuard([&] {
            QVERIFY(::seteuid(0) == 0 && ::setegid(0) == 0);
            QVERIFY(::setgroups(groups.size(), groups.data()) == 0);
        });
        ConnectionDialog dlg(session, hub, {sim.ptyPath()});
        dlg.show();
        QTest::mouseClick(dlg.findChild<QRadioButton*>("Serial"), Qt::LeftButton);
        auto* list = dlg.findChild<QComboBox*>("PortSelect");
        const int row = list->findText(sim.ptyPath() + " (no permission)");
        QVERIFY(row >= 0);
        QCOMPARE(list->itemData(row, Qt::ToolTipRole).toString(), advice);
        QVERIFY(!qobject_cast<QStandardItemModel*>(list->model())->item(row)->isEnabled());
        if (!dlg.chosenPort().isEmpty()) QSKIP("this machine has a port nobody may open");
        QVERIFY2(boxes.value(0).startsWith("Can not find the serial port\n\n" + advice),
                 qPrintable(boxes.value(0)));
        QTest::mouseClick(dlg.findChild<QPushButton*>("BitBtn1"), Qt::LeftButton);
        QCOMPARE(boxes.size(), 2);
        QVERIFY(dlg.isVisible() && !session.port().Active());
        QTest::mouseClick(dlg.findChild<QPushButton*>("Port"), Qt::LeftButton);
        QVERIFY(dlg.findChild<QLabel*>("lbState")->text().contains(advice));
    }

    // A failed connect leaves the console ready to connect again and says what was tried and why.
    void failedConnectionOffersConnectAgain() {
        Window c(LinkKind::Tcp);
        c.window.disconnectFromController();
        c.window.completeLogin();
        const QString dead = QString("127.0.0.1:%1").arg(deadPort());
        c.window.setConnectHints({}, dead);
        onConnectionDialog([](ConnectionDialog* d) {
            QTest::mouseClick(d->findChild<QRadioButton*>("TCP"), Qt::LeftButton);
            QTest::mouseClick(d->findChild<QPushButton*>("BitBtn1"), Qt::LeftButton);
            QTRY_VERIFY_WITH_TIMEOUT(!d->connecting(), 5000);
            QTest::mouseClick(d->findChild<QPushButton*>("BitBtn2"), Qt::LeftButton);
        });
        c.window.openConnection();
        QTRY_COMPARE(QApplication::activeWindow(), &c.window); // the keyboard is back
        QVERIFY(c.ui()->mConnect->isEnabled());
        QVERIFY(!c.ui()->mDisconnect->isEnabled());
        QCOMPARE(statusText(c, 2), dead);
        QVERIFY(statusText(c, 0).startsWith("Not connected: "));
        QVERIFY(statusText(c, 0).size() > QString("Not connected: ").size());
        QCOMPARE(c.window.connectLamp().colour(), Rgb::Grey);
    }

    // A controller that takes the link but never answers is shown as such, and the warning goes
    // as soon as a valid reply comes.
    void silentControllerIsShown() {
        Window c(LinkKind::Serial);
        QVERIFY(c.rig.ok);
        c.window.completeLogin();
        c.window.completeConnection();
        QVERIFY(c.rig.pollOnce());
        c.rig.sim.faults.dropEvery = 1;
        for (int i = 0; i < 60 && !c.rig.engine.poll().silent; ++i) {
            c.rig.engine.Timer1Timer();
            QTest::qWait(5);
        }
        QVERIFY(c.rig.engine.poll().silent);
        QCOMPARE(c.window.connectLamp().colour(), Rgb::Orange);
        QVERIFY(c.ui()->pnlConnect->isVisible());
        QCOMPARE(c.ui()->pnlConnect->text(), QString("No reply"));
        QVERIFY(statusText(c, 0).contains("does not reply"));
        c.rig.sim.faults.dropEvery = 0;
        QVERIFY(c.rig.pollOnce());
        QVERIFY(!c.rig.engine.poll().silent);
        QVERIFY(!c.ui()->pnlConnect->isVisible()); // a serial link shows its TX/RX lamps instead
        QVERIFY(!statusText(c, 0).contains("does not reply"));
    }

    // Logout ends the link on screen too; commands that need a link say so instead of waiting.
    void logoutClearsTheLinkAndCommandsAskForOne() {
        Window c(LinkKind::Tcp);
        c.window.completeLogin();
        c.window.completeConnection();
        QVERIFY(c.rig.pollOnce());
        QVERIFY(!statusText(c, 1).isEmpty());
        c.window.completeLogout();
        QVERIFY(statusText(c, 0).isEmpty());
        QVERIFY(statusText(c, 1).isEmpty());
        QVERIFY(statusText(c, 2).isEmpty());
        QVERIFY(c.ui()->edtDateTime->text().isEmpty());
        QCOMPARE(c.window.connectLamp().colour(), Rgb::Grey);
        c.boxes.clear();
        c.ui()->mEventLog->trigger();
        c.ui()->mAlarmTest->trigger();
        QCOMPARE(c.boxes.size(), 2);
        QVERIFY(c.boxes[0].startsWith("No controller is connected"));
        QCOMPARE(QApplication::activeModalWidget(), nullptr);
    }

    // The Language menu switches the open window, the dialogs opened after it and the messages
    // at once, remembers the choice, and Korean comes back exactly as it was.
    void languageSwitchesAtRuntime() {
        QTemporaryDir dir;
        QSettings settings(dir.filePath("console.ini"), QSettings::IniFormat);
        Window c(LinkKind::Tcp);
        c.window.setSettings(&settings);
        c.window.completeLogin();
        c.window.completeConnection();
        c.rig.sim.model().setReg(7, 2200);
        QVERIFY(c.rig.pollOnce());
        QCOMPARE(c.ui()->TreeViewM->topLevelItemCount(), 1);
        const QString koreanAc = c.text("Label_ACV");
        QCOMPARE(koreanAc, QString("AC전압 : 220.0 V"));
        QCOMPARE(MainWindow::rememberedLanguage(settings), Language::Korean);

        auto* menu = c.find<QMenu>("mLanguage");
        QVERIFY(menu);
        QCOMPARE(menu->title(), QString("Language / 언어"));
        c.find<QAction>("mLanguageEnglish")->trigger();
        QCOMPARE(c.window.language(), Language::English);
        QVERIFY(c.find<QAction>("mLanguageEnglish")->isChecked());
        QCOMPARE(settings.value("language").toString(), QString("en"));
        QCOMPARE(MainWindow::rememberedLanguage(settings), Language::English);
        // Menus and the page, without waiting for a poll.
        QCOMPARE(c.ui()->Access1->title(), QString("Connection"));
        QCOMPARE(c.ui()->mConnect->text(), QString("Connect..."));
        QCOMPARE(c.find<QAction>("mServiceReport")->text(), QString("Service report..."));
        QCOMPARE(c.text("Label_ACV"), QString("AC voltage: 220.0 V"));
        QCOMPARE(c.ui()->TreeViewM->topLevelItem(0)->text(0), QString("Alarm groups"));
        QCOMPARE(menu->title(), QString("Language / 언어"));
        // A dialog opened now.
        {
            SetPointDialog dialog(c.rig.engine, c.hub, &c.window);
            QCOMPARE(dialog.windowTitle(), QString("Operation and alarm settings"));
            QVERIFY(dialog.findChild<QCheckBox*>("ckbFLV")->text().startsWith("Output voltage ("));
        }
        // Messages: the engine's and the window's own.
        c.boxes.clear();
        QVERIFY(c.rig.engine.QueueWrites({{60, 540}}));
        QTRY_VERIFY_WITH_TIMEOUT(c.boxes.contains("Settings saved."), 5000);
        c.window.completeLogout();
        c.boxes.clear();
        c.ui()->mEventLog->trigger();
        QCOMPARE(c.boxes.value(0),
                 QString("No controller is connected: connect first (Connection → Connect...)."));

        c.find<QAction>("mLanguageKorean")->trigger();
        QCOMPARE(c.window.language(), Language::Korean);
        QCOMPARE(c.ui()->Access1->title(), QString("접속"));
        QCOMPARE(c.ui()->mConnect->text(), QString("연결하기"));
        QCOMPARE(settings.value("language").toString(), QString("ko"));
        // What the original screens did not have is Korean too; their own texts are unchanged.
        QCOMPARE(c.ui()->PageControl1->tabText(c.ui()->PageControl1->indexOf(&c.console.trends())),
                 QString("트렌드"));
        QCOMPARE(
            c.ui()->PageControl1->tabText(c.ui()->PageControl1->indexOf(&c.console.batteryTab())),
            QString("축전지"));
        QCOMPARE(c.console.protocolPane().findChild<QCheckBox*>("chkProtocolPause")->text(),
                 QString("일시 정지"));
        QCOMPARE(c.window.findChild<QPushButton*>("btnTrendFollow")->text(), QString("따라가기"));
        {
            ClockDialog clock(c.rig.engine, c.hub, &c.window);
            QCOMPARE(clock.findChild<QCalendarWidget*>("EngCalendar1")->locale().language(),
                     QLocale::Korean);
            SetPointDialog dialog(c.rig.engine, c.hub, &c.window);
            QCOMPARE(dialog.findChild<QCheckBox*>("ckbFLV")->text(),
                     QString("출력전압 (43.0 ~ 56.0V)"));
            c.boxes.clear();
            QTest::mouseClick(dialog.findChild<QPushButton*>("BitBtnOK"), Qt::LeftButton);
            QCOMPARE(c.boxes, QStringList{"선택한 항목이 없어 아무것도 쓰지 않았습니다."});
        }
        c.rig.engine.QueueWrites({{60, 540}});
        QTRY_VERIFY_WITH_TIMEOUT(c.boxes.contains(" Setting Sucess!!"), 5000);
    }

    // The dialog remembers the link that was used and offers it first the next time.
    void connectionIsRemembered() {
        QTemporaryDir dir;
        QSettings settings(dir.filePath("console.ini"), QSettings::IniFormat);
        Window c(LinkKind::Tcp);
        c.window.disconnectFromController();
        c.window.completeLogin();
        c.window.setSettings(&settings);
        const QString host = QString("127.0.0.1:%1").arg(c.rig.sim.tcpPort());
        c.window.setConnectHints({}, host);
        onConnectionDialog([](ConnectionDialog* d) {
            QTest::mouseClick(d->findChild<QRadioButton*>("TCP"), Qt::LeftButton);
            QTest::mouseClick(d->findChild<QPushButton*>("BitBtn1"), Qt::LeftButton);
        });
        c.window.openConnection();
        QVERIFY(c.rig.session.isLinked());
        QCOMPARE(settings.value("connection/kind").toString(), QString("tcp"));
        QCOMPARE(settings.value("connection/host").toString(), host);
        c.window.disconnectFromController();
        c.window.setConnectHints({}, {});
        bool tcpChosen = false;
        QString shownHost;
        onConnectionDialog([&](ConnectionDialog* d) {
            tcpChosen = d->findChild<QRadioButton*>("TCP")->isChecked() &&
                        d->findChild<QPushButton*>("BitBtn1")->isEnabled();
            shownHost = d->findChild<QLineEdit*>("edtHostIP")->text();
            d->reject();
        });
        c.window.openConnection();
        QVERIFY(tcpChosen);
        QCOMPARE(shownHost, host);
        QVERIFY(c.ui()->mConnect->isEnabled()); // closed without connecting
    }

    // The window fits a 1366x768 laptop screen (taskbar and title bar left over) and keeps its
    // size when the first reply fills the page.
    void windowFitsALaptopAndKeepsItsSize() {
        Window c(LinkKind::Tcp);
        const QSize before = c.window.size();
        QVERIFY(before.width() <= 1366 && before.height() <= 700);
        c.window.completeLogin();
        c.window.completeConnection();
        QVERIFY(c.rig.pollOnce());
        QApplication::processEvents();
        QCOMPARE(c.window.size(), before);
        QVERIFY(c.window.minimumSizeHint().width() <= before.width());
        QVERIFY(c.window.minimumSizeHint().height() <= before.height());
        // Nothing clipped: the firmware line shows all of its text.
        auto* fw = c.ui()->edtFW;
        QVERIFY(fw->width() >= fw->fontMetrics().horizontalAdvance(fw->text()));
        // Larger, the page takes the room: the tree and the power flow grow.
        const int treeHeight = c.ui()->TreeViewM->height();
        const int flowHeight = c.ui()->MainPanel->height();
        c.window.resize(before + QSize(200, 200));
        QApplication::processEvents();
        QVERIFY(c.ui()->TreeViewM->height() > treeHeight);
        QVERIFY(c.ui()->MainPanel->height() > flowHeight);
    }

    // Polling does not change how the lamps are styled: after 10,000 refreshes they are as after
    // one (no style text that grows, no style set again and again).
    void lampStyleIsStableOverPolls() {
        Window c(LinkKind::Tcp);
        c.window.completeLogin();
        c.window.completeConnection();
        QVERIFY(c.rig.pollOnce());
        const auto state = [&](QLabel* l) {
            return std::make_tuple(l->styleSheet(), l->palette().color(QPalette::Window),
                                   l->palette().color(QPalette::WindowText));
        };
        const auto tx = state(c.ui()->pnl_TX), rx = state(c.ui()->pnl_RX);
        const auto can = state(c.ui()->LabCanCpuCom);
        for (int i = 0; i < 10000; ++i)
            emit c.rig.engine.statusRefreshed(c.rig.engine.image());
        QCOMPARE(state(c.ui()->pnl_TX), tx);
        QCOMPARE(state(c.ui()->pnl_RX), rx);
        QCOMPARE(state(c.ui()->LabCanCpuCom), can);
        QVERIFY(c.ui()->pnl_TX->styleSheet().isEmpty());
    }

    // The Battery tab: Cancel at the confirmation sends nothing; a confirmed start is followed
    // live and ends as a row of the plant's history (read under the identity the tab asks for).
    void batteryTabFollowsATest() {
        QTemporaryDir data;
        qputenv("XDG_DATA_HOME", data.path().toUtf8());
        PackWindow c(LiveRig::frozen());
        c.ui()->PageControl1->setCurrentWidget(&c.console.batteryTab());
        QTRY_VERIFY_WITH_TIMEOUT(!c.console.battery().plant().isEmpty(), 5000);
        auto* start = c.window.findChild<QPushButton*>("btnStartTest");
        QTest::mouseClick(start, Qt::LeftButton); // no answerer: the escape answer, Cancel
        QTest::qWait(1000);
        QVERIFY(!c.rig.sim.model().writes().contains(std::pair<int, int>{Reg::ForcedTest, 1}));
        c.hub.setAnswerer([](const QString&) { return QMessageBox::Yes; });
        QTest::mouseClick(start, Qt::LeftButton);
        auto* state = c.window.findChild<QLabel*>("lblTestState");
        QTRY_VERIFY_WITH_TIMEOUT(state->text().startsWith("Test running: "), 5000);
        QVERIFY(c.window.findChild<QLabel*>("lblTestCharge")->text().endsWith(" Ah delivered"));
        QVERIFY(!start->isEnabled());
        auto* table = c.window.findChild<QTableWidget*>("tblBatteryTests");
        QTRY_COMPARE_WITH_TIMEOUT(table->rowCount(), 1, 20000);
        QCOMPARE(table->item(0, 1)->text(), QString("forced"));
        QVERIFY(c.boxes.last().startsWith("Discharge test: forced"));
        QCOMPARE(state->text(), QString("No test running."));
        QVERIFY(c.window.findChild<QLabel*>("lblFlaggedCells")->isVisible());
        qunsetenv("XDG_DATA_HOME");
    }

    void screenshot() {
        const QString path = qEnvironmentVariable("QUMA_SCREENSHOT");
        if (path.isEmpty()) QSKIP("set QUMA_SCREENSHOT=file.png to write the status page");
        sim::SimOptions o;
        Window c(LinkKind::Tcp, o);
        c.rig.sim.startTicking(100);
        c.window.completeLogin();
        c.window.completeConnection();
        c.rig.engine.setLiveTimers(true);
        if (qEnvironmentVariableIsSet("QUMA_SCREENSHOT_NOISY")) {
            // A bad day on a laptop screen: the Protocol pane docked, a noisy link; the window
            // still fits the screen.
            c.rig.sim.faults.dropEvery = 7;
            c.rig.sim.faults.badLrcEvery = 11;
            c.rig.sim.faults.garbageEvery = 13;
            c.rig.sim.faults.delayMs = 150;
            c.window.findChild<QAction*>("mProtocolMonitor")->trigger();
            c.window.showMaximized();
            QTest::qWait(25000);
            const QRect screen = c.window.screen()->availableGeometry();
            QVERIFY(c.window.frameGeometry().height() <= screen.height());
            QVERIFY(c.window.frameGeometry().width() <= screen.width());
            c.window.screen()->grabWindow(0).save(path);
            return;
        }
        if (qEnvironmentVariableIsSet("QUMA_SCREENSHOT_TRENDS")) {
            // The Trends tab in the Korean interface, as the console starts it.
            QVERIFY(c.window.setLanguage(Language::Korean, false));
            c.ui()->PageControl1->setCurrentWidget(&c.console.trends());
            c.window.showMaximized();
            QTest::qWait(20000);
            c.window.screen()->grabWindow(0).save(path);
            return;
        }
        QTest::qWait(2500);
        c.window.grab().save(path);
    }

    // The Battery tab (QUMA_SCREENSHOT_LANG=en or ko): two tests recorded, the pack aged between
    // them, and a third one running.
    void screenshotBattery() {
        const QString path = qEnvironmentVariable("QUMA_SCREENSHOT_BATTERY");
        if (path.isEmpty()) QSKIP("set QUMA_SCREENSHOT_BATTERY=file.png to write the Battery tab");
        QTemporaryDir data;
        qputenv("XDG_DATA_HOME", data.path().toUtf8());
        PackWindow c(sim::SimOptions{});
        c.hub.setAnswerer([](const QString&) { return QMessageBox::Yes; });
        QVERIFY(c.window.setLanguage(qEnvironmentVariable("QUMA_SCREENSHOT_LANG") == "en"
                                         ? Language::English
                                         : Language::Korean,
                                     false));
        c.ui()->PageControl1->setCurrentWidget(&c.console.batteryTab());
        c.window.showMaximized();
        auto* table = c.window.findChild<QTableWidget*>("tblBatteryTests");
        for (int test = 0; test < 3; ++test) {
            QTRY_VERIFY_WITH_TIMEOUT(!c.console.battery().running(), 20000);
            QTest::qWait(2000);
            if (test == 2) c.rig.sim.model().pack().setAge(0.2);
            c.console.batteryTab().startTest();
            if (test < 2) QTRY_COMPARE_WITH_TIMEOUT(table->rowCount(), test + 1, 20000);
        }
        QTest::qWait(2500);
        c.window.screen()->grabWindow(0).save(path);
        qunsetenv("XDG_DATA_HOME");
    }
};

QTEST_MAIN(TestMainWin)
#include "tst_mainwin.moc"
