// The configuration dialogs against the simulated controller: the registers and values that
// reach it, in order, and the success message.
#include "gui/config/AlarmTestDialog.h"
#include "gui/config/CalibrationDialog.h"
#include "gui/config/ClockDialog.h"
#include "gui/config/ContactDefinitionDialog.h"
#include "gui/config/ContactSettingsDialog.h"
#include "gui/config/FactoryResetDialog.h"
#include "gui/config/HistoryClearDialog.h"
#include "gui/config/NetworkIdentityDialog.h"
#include "gui/config/SetPointDialog.h"
#include "tests/LiveRig.h"

#include "gui/mainwin/MainWindow.h"
#include "gui/shared/ConsoleFont.h"
#include "gui/shared/MessageHub.h"

#include "tests/LinkRows.h"
#include <QCalendarWidget>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>

#include <QLabel>
#include <QtTest>
#include <memory>
#include <vector>

using namespace quma;
using namespace quma::test;

namespace {
struct ConfigRig {
    LiveRig rig;
    MessageHub hub;
    QStringList boxes;
    QStringList questions;
    QMessageBox::StandardButton answer = QMessageBox::Yes;
    explicit ConfigRig(LinkKind link, int systemType = 4) : rig(link, options(systemType)) {
        hub.setRecorder([this](MessageKind, const QString& t) { boxes << t; });
        hub.setAnswerer([this](const QString& q) {
            questions << q;
            return answer;
        });
        QObject::connect(&rig.engine, &MonitorEngine::userMessage,
                         [this](MessageKind k, const QString& t) { hub.post(nullptr, k, t); });
        rig.pollOnce();
    }
    static sim::SimOptions options(int type) {
        sim::SimOptions o = LiveRig::frozen();
        o.systemType = type;
        return o;
    }
    QList<int> writtenRegisters() {
        QList<int> regs;
        for (const auto& w : rig.sim.model().writes())
            regs << w.first;
        return regs;
    }
    int written(int reg) {
        for (const auto& w : rig.sim.model().writes())
            if (w.first == reg) return w.second;
        return -1;
    }
    bool waitSuccess(int timeoutMs = 5000) {
        QElapsedTimer t;
        t.start();
        while (!boxes.contains(" Setting Sucess!!") && t.elapsed() < timeoutMs)
            QTest::qWait(5);
        QTest::qWait(20);
        return boxes.count(" Setting Sucess!!") == 1;
    }
};

template <class T> T* child(QWidget& w, const char* name) {
    return w.findChild<T*>(name);
}
void click(QWidget& w, const char* name) {
    QTest::mouseClick(child<QPushButton>(w, name), Qt::LeftButton);
}

// Every visible caption of a window shows all of its text, and the window fits a 1366x768
// laptop screen with its taskbar. Returns what is clipped, empty when nothing is.
QStringList clipped(QWidget& window) {
    QStringList out;
    if (window.width() > 1366 || window.height() > 700)
        out << QString("%1 is %2x%3")
                   .arg(window.objectName())
                   .arg(window.width())
                   .arg(window.height());
    for (QWidget* w : window.findChildren<QWidget*>()) {
        if (!w->isVisibleTo(&window)) continue;
        QString text;
        if (auto* l = qobject_cast<QLabel*>(w); l && !l->wordWrap())
            text = l->text();
        else if (auto* b = qobject_cast<QAbstractButton*>(w))
            text = b->text();
        if (text.isEmpty()) continue;
        const QSize need = w->minimumSizeHint();
        // Too small for its text, or laid out past the edge of what holds it.
        const bool outside = !w->parentWidget()->rect().contains(w->geometry());
        if (w->width() < need.width() || w->height() < need.height() || outside)
            out << QString("%1 '%2' %3x%4 < %5x%6")
                       .arg(w->objectName(), text)
                       .arg(w->width())
                       .arg(w->height())
                       .arg(need.width())
                       .arg(need.height());
    }
    if (const QString dir = qEnvironmentVariable("QUMA_SCREENSHOTS"); !dir.isEmpty())
        window.grab().save(dir + "/" + window.objectName() + ".png");
    return out;
}
} // namespace

class TestConfig : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { UseConsoleFont(); }

    void setPointsSelectAll_data() { AddLinkRows(); }
    void setPointsSelectAll() {
        QFETCH(int, link);
        ConfigRig c(LinkKind{quint8(link)});
        c.rig.engine.setCommandKind(RectMode::Setting);
        SetPointDialog dlg(c.rig.engine, c.hub);
        QCOMPARE(child<QLineEdit>(dlg, "mskFLV")->text(), QString("54.0")); // from register 60
        click(dlg, "btnAllCheck");
        QVERIFY(!child<QCheckBox>(dlg, "ckbBMT")->isChecked());
        QVERIFY(!child<QCheckBox>(dlg, "cbTaskFailReset")->isChecked());
        child<QLineEdit>(dlg, "mskFLV")->setText("54.36");
        click(dlg, "BitBtnOK");
        QVERIFY(c.waitSuccess());
        const QList<int> regs = c.writtenRegisters();
        QCOMPARE(regs.size(), 22);
        QCOMPARE(regs.first(), 69);
        QCOMPARE(regs.last(), 54);
        QCOMPARE(c.written(60), 543);
        for (QCheckBox* b : dlg.findChildren<QCheckBox*>())
            QVERIFY(!b->isChecked());
        dlg.reject();
        QCOMPARE(c.rig.engine.commandKind(), RectMode::Poll);
        QVERIFY(c.rig.engine.poll().pollDue);
    }

    void setPointDefaultsAndRefusals() {
        for (int type : {2, 3}) {
            ConfigRig c(LinkKind::Tcp, type);
            SetPointDialog dlg(c.rig.engine, c.hub);
            click(dlg, "BitBtnDefault");
            QCOMPARE(child<QLineEdit>(dlg, "mskDCOC")->text(), QString(type == 3 ? "103" : "105"));
        }
        ConfigRig c(LinkKind::Tcp);
        SetPointDialog dlg(c.rig.engine, c.hub);
        QCOMPARE(child<QCheckBox>(dlg, "ckbFLV")->text(), QString("출력전압 (43.0 ~ 56.0V)"));
        child<QCheckBox>(dlg, "ckbFLV")->setChecked(true);
        child<QLineEdit>(dlg, "mskFLV")->setText("59.5"); // typed, not yet clamped
        click(dlg, "BitBtnOK");
        QCOMPARE(c.boxes, QStringList{"출력전압: '59.5' is not within 43.0 ~ 56.0."});
        QVERIFY(child<QCheckBox>(dlg, "ckbFLV")->isChecked()); // kept
        QTest::qWait(30);
        QVERIFY(c.rig.sim.model().writes().isEmpty());
        // Leaving the field clamps it, marks it, and OK asks before writing the changed value.
        emit child<QLineEdit>(dlg, "mskFLV")->editingFinished();
        QCOMPARE(child<QLineEdit>(dlg, "mskFLV")->text(), QString("56.0"));
        QVERIFY(child<QLineEdit>(dlg, "mskFLV")->toolTip().startsWith("59.5 was outside"));
        c.boxes.clear();
        c.answer = QMessageBox::Cancel;
        click(dlg, "BitBtnOK");
        QCOMPARE(c.questions.size(), 1);
        QVERIFY(c.questions[0].contains("출력전압 (43.0 ~ 56.0V): 59.5 → 56.0"));
        QTest::qWait(30);
        QVERIFY(c.rig.sim.model().writes().isEmpty());
        c.answer = QMessageBox::Yes;
        click(dlg, "BitBtnOK");
        QVERIFY(c.waitSuccess());
        QCOMPARE(c.written(60), 560);
    }

    // Typing into a field ticks its row; OK with nothing ticked says so and writes nothing.
    void setPointEditingTicksItsRow() {
        ConfigRig c(LinkKind::Serial);
        SetPointDialog dlg(c.rig.engine, c.hub);
        click(dlg, "BitBtnOK");
        QCOMPARE(c.boxes, QStringList{"Nothing was ticked: nothing was written."});
        auto* field = child<QLineEdit>(dlg, "mskFLV");
        field->setFocus();
        field->selectAll();
        QTest::keyClicks(field, "53.5");
        QVERIFY(child<QCheckBox>(dlg, "ckbFLV")->isChecked());
        click(dlg, "BitBtnOK");
        QVERIFY(c.waitSuccess());
        QCOMPARE(c.writtenRegisters(), QList<int>{60});
        QCOMPARE(c.written(60), 535);
    }

    void calibration_data() { AddLinkRows(); }
    void calibration() {
        QFETCH(int, link);
        ConfigRig c(LinkKind{quint8(link)});
        CalibrationDialog dlg(c.rig.engine, c.hub);
        child<QCheckBox>(dlg, "cbDCV_SET_EN")->setChecked(true);
        child<QCheckBox>(dlg, "cbACA_SET_EN")->setChecked(true);
        child<QCheckBox>(dlg, "cbLCA_SET_EN")->setChecked(true);
        click(dlg, "btnZero");
        click(dlg, "BitBtnOK");
        QVERIFY(c.waitSuccess());
        QCOMPARE(c.writtenRegisters(), (QList<int>{51, 50})); // AC current 0 skipped
        QCOMPARE(c.written(50), 54000);
        QCOMPARE(c.written(51), 0);
    }

    void calibrationHidesAcRowsOnOlderModels() {
        ConfigRig c(LinkKind::Tcp, 2);
        CalibrationDialog dlg(c.rig.engine, c.hub);
        QVERIFY(child<QCheckBox>(dlg, "cbACV_SET_EN")->isHidden());
        QVERIFY(!child<QCheckBox>(dlg, "cbDCV_SET_EN")->isHidden());
    }

    void clockOrder() {
        ConfigRig c(LinkKind::Serial);
        ClockDialog dlg(c.rig.engine, c.hub);
        child<QSpinBox>(dlg, "spinedtYear")->setValue(2024);
        child<QComboBox>(dlg, "cbMonth")->setCurrentText("2");
        child<QCalendarWidget>(dlg, "EngCalendar1")->setSelectedDate(QDate(2024, 2, 29));
        child<QSpinBox>(dlg, "spinedtHour")->setValue(23);
        child<QSpinBox>(dlg, "spinedtMIn")->setValue(59);
        child<QSpinBox>(dlg, "spinedtSec")->setValue(58);
        click(dlg, "bbtOK");
        QVERIFY(c.waitSuccess());
        QCOMPARE(c.writtenRegisters(), (QList<int>{5, 4, 3, 2, 1, 6}));
        QCOMPARE(c.rig.sim.model().reg(3), 29);
        QCOMPARE(c.rig.sim.model().reg(1), 2024);
        // A common year moves 29 February to the 28th.
        child<QSpinBox>(dlg, "spinedtYear")->setValue(2100);
        QCOMPARE(child<QCalendarWidget>(dlg, "EngCalendar1")->selectedDate(), QDate(2100, 2, 28));
    }

    void networkIdentity_data() { AddLinkRows(); }
    void networkIdentity() {
        QFETCH(int, link);
        ConfigRig c(LinkKind{quint8(link)});
        c.rig.engine.setLiveTimers(true);
        c.rig.engine.setCommandKind(RectMode::NetWrite);
        NetworkIdentityDialog dlg(c.rig.engine, c.rig.session, c.hub);
        QTRY_VERIFY_WITH_TIMEOUT(c.rig.engine.networkIdentity().has_value(), 3000);
        dlg.showIdentity();
        QCOMPARE(child<QLineEdit>(dlg, "edtIP4")->text(), QString("92"));
        click(dlg, "btnAllCheck");
        QVERIFY(!child<QCheckBox>(dlg, "cbMAC_SET_EN")->isChecked());
        click(dlg, "btnAllRelease");
        child<QCheckBox>(dlg, "cbGW_SET_EN")->setChecked(true);
        child<QLineEdit>(dlg, "edtGW4")->setText("254");
        child<QCheckBox>(dlg, "cbSite_SET_EN")->setChecked(true);
        child<QPlainTextEdit>(dlg, "mmSiteInfo")->setPlainText("강남 국사");
        click(dlg, "bbtnOK");
        QTRY_COMPARE_WITH_TIMEOUT(c.rig.sim.model().netId().siteInfo, QString("강남 국사").toUtf8(),
                                  3000);
        QCOMPARE(c.rig.sim.model().netId().gateway.toHex(), QByteArray("c0a832fe"));
        QVERIFY(!child<QCheckBox>(dlg, "cbGW_SET_EN")->isChecked());
        // An octet above 255 is refused and nothing is sent.
        child<QCheckBox>(dlg, "cbIP_SET_EN")->setChecked(true);
        child<QLineEdit>(dlg, "edtIP4")->setText("300");
        click(dlg, "bbtnOK");
        QVERIFY(c.boxes.last().contains("0 ~ 255"));
        QVERIFY(child<QCheckBox>(dlg, "cbIP_SET_EN")->isChecked());
        dlg.reject();
        QCOMPARE(c.rig.engine.commandKind(), RectMode::Poll);
    }

    void alarmTestOrder() {
        ConfigRig c(LinkKind::Tcp);
        c.rig.sim.model().setReg(71, 1);
        c.rig.engine.ReturnToPolling();
        c.rig.pollOnce();
        AlarmTestDialog dlg(c.rig.engine, c.hub);
        QCOMPARE(child<QComboBox>(dlg, "cbbAlarmTestUsed")->currentText(), QString("사용"));
        child<QComboBox>(dlg, "cbbAlarmTestUsed")->setCurrentIndex(0);
        child<QCheckBox>(dlg, "ckbAlarmTestUsed")->setChecked(true);
        child<QCheckBox>(dlg, "ckbAlarmTest")->setChecked(true);
        for (QCheckBox* b : dlg.findChildren<QCheckBox*>(QRegularExpression("^CheckBox")))
            b->setChecked(false);
        child<QCheckBox>(dlg, "CheckBox1")->setChecked(true);
        child<QCheckBox>(dlg, "CheckBox23")->setChecked(true);
        click(dlg, "BitBtnOK");
        QVERIFY(c.waitSuccess());
        QCOMPARE(c.writtenRegisters(), (QList<int>{73, 72, 71}));
        QCOMPARE(c.written(73), 0x0040);
        QCOMPARE(c.written(72), 0x0001);
        QCOMPARE(c.written(71), 0);
    }

    void contactDefinitionDefault() {
        ConfigRig c(LinkKind::Serial);
        ContactDefinitionDialog dlg(c.rig.engine, c.hub, 2);
        click(dlg, "btnAllCheck");
        click(dlg, "btnDefault");
        click(dlg, "BitBtnOK");
        QVERIFY(c.waitSuccess());
        QCOMPARE(c.writtenRegisters(), (QList<int>{83, 82}));
        QCOMPARE(c.written(82), 0x0026);
        QCOMPARE(c.written(83), 0x0002);
    }

    void contactSettings() {
        ConfigRig c(LinkKind::Tcp, 2);
        ContactSettingsDialog older(c.rig.engine, c.hub);
        QVERIFY(child<QCheckBox>(older, "ckbAlmType")->isHidden());
        QVERIFY(!child<QWidget>(older, "Label5")->isHidden());
        ConfigRig d(LinkKind::Tcp, 4);
        d.rig.sim.model().setReg(42, 1);
        d.rig.sim.model().setReg(70, 2); // outside the list: no selection
        d.rig.engine.ReturnToPolling();
        d.rig.pollOnce();
        ContactSettingsDialog dlg(d.rig.engine, d.hub);
        QVERIFY(child<QWidget>(dlg, "Label5")->isHidden());
        QCOMPARE(child<QComboBox>(dlg, "cbbDryContact")->currentIndex(), -1);
        child<QCheckBox>(dlg, "ckbDryContact")->setChecked(true);
        click(dlg, "BitBtnOK");
        QVERIFY(d.boxes.last().contains("경보접점 상태"));
        child<QComboBox>(dlg, "cbbDryContact")->setCurrentIndex(1);
        child<QCheckBox>(dlg, "ckbAlmType")->setChecked(true);
        child<QComboBox>(dlg, "cbbAlmType")->setCurrentIndex(0);
        click(dlg, "BitBtnOK");
        QVERIFY(d.waitSuccess());
        QCOMPARE(d.writtenRegisters(), (QList<int>{42, 70}));
        QCOMPARE(d.written(70), 1);
    }

    void dialogsClipNothing() {
        ConfigRig c(LinkKind::Tcp);
        std::vector<std::unique_ptr<QDialog>> dialogs;
        dialogs.emplace_back(new SetPointDialog(c.rig.engine, c.hub));
        dialogs.emplace_back(new CalibrationDialog(c.rig.engine, c.hub));
        dialogs.emplace_back(new ClockDialog(c.rig.engine, c.hub));
        dialogs.emplace_back(new NetworkIdentityDialog(c.rig.engine, c.rig.session, c.hub));
        dialogs.emplace_back(new AlarmTestDialog(c.rig.engine, c.hub));
        dialogs.emplace_back(new ContactDefinitionDialog(c.rig.engine, c.hub, 0));
        dialogs.emplace_back(new ContactSettingsDialog(c.rig.engine, c.hub));
        dialogs.emplace_back(new HistoryClearDialog(c.rig.engine, c.hub));
        dialogs.emplace_back(new FactoryResetDialog(c.rig.engine, c.hub));
        for (auto& d : dialogs) {
            d->show();
            QVERIFY(QTest::qWaitForWindowExposed(d.get()));
            const QStringList bad = clipped(*d);
            QVERIFY2(bad.isEmpty(), qPrintable(bad.join("; ")));
            d->hide();
        }
    }

    void clearsAndFactoryReset() {
        ConfigRig c(LinkKind::Serial);
        c.rig.engine.setCommandKind(RectMode::LogClear);
        {
            HistoryClearDialog dlg(c.rig.engine, c.hub);
            QVERIFY(!child<QPushButton>(dlg, "BitBtnI_OK")->isEnabled());
            QTest::mouseClick(child<QRadioButton>(dlg, "Event_Init"), Qt::LeftButton);
            QVERIFY(child<QPushButton>(dlg, "BitBtnI_OK")->isEnabled());
            // Asked first: cancelling (Esc) sends nothing.
            c.answer = QMessageBox::Cancel;
            click(dlg, "BitBtnI_OK");
            QCOMPARE(c.questions.size(), 1);
            QVERIFY(c.questions[0].startsWith("이벤트로그 초기화"));
            QTest::qWait(50);
            QVERIFY(c.boxes.isEmpty());
            QVERIFY(!c.rig.sim.model().eventLog().isEmpty());
            c.answer = QMessageBox::Yes;
            click(dlg, "BitBtnI_OK");
            QTRY_COMPARE(c.boxes, QStringList{" Event log Initial Sucess!!"});
            QVERIFY(c.rig.sim.model().eventLog().isEmpty());
            dlg.reject();
        }
        QCOMPARE(c.rig.engine.commandKind(), RectMode::Poll);
        c.boxes.clear();
        c.rig.engine.setCommandKind(RectMode::Setting);
        FactoryResetDialog dlg(c.rig.engine, c.hub);
        dlg.show();
        click(dlg, "BitBtnI_OK"); // nothing chosen: nothing sent
        QTest::qWait(30);
        QVERIFY(c.rig.sim.model().writes().isEmpty());
        child<QRadioButton>(dlg, "rgFactoryInitial1")->setChecked(true);
        c.answer = QMessageBox::Cancel;
        click(dlg, "BitBtnI_OK"); // not confirmed: nothing sent
        QTest::qWait(30);
        QVERIFY(c.rig.sim.model().writes().isEmpty());
        QVERIFY(c.questions.last().startsWith("Config 초기화"));
        c.answer = QMessageBox::Yes;
        click(dlg, "BitBtnI_OK");
        QVERIFY(c.waitSuccess());
        QCOMPARE(c.rig.sim.model().writes().first(), std::make_pair(127, 2));
        QVERIFY(!child<QRadioButton>(dlg, "rgFactoryInitial1")->isChecked());
        click(dlg, "BitBtnI_OK"); // the selection was cleared: nothing more
        QTest::qWait(30);
        QCOMPARE(c.rig.sim.model().writes().size(), 1);
        dlg.close(); // the close box returns to polling as 나가기 does
        QCOMPARE(c.rig.engine.commandKind(), RectMode::Poll);
    }
};

QTEST_MAIN(TestConfig)
#include "tst_config.moc"
