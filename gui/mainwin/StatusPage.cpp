// The status page of the main window.
#include "gui/mainwin/StatusPage.h"

#include "gui/shared/PaintedWidgets.h"
#include "gui/shared/PanelColour.h"
#include "gui/shared/ShownValue.h"
#include "ui_MainWindow.h"

using namespace quma;

namespace {
// The children named prefix + 1 .. prefix + count, in that order.
template <class T> QList<T*> numberedChildren(QObject* parent, const QString& prefix, int count) {
    QList<T*> found;
    for (int n = 1; n <= count; ++n)
        if (auto* w = parent->findChild<T*>(prefix + QString::number(n))) found << w;
    return found;
}
} // namespace

StatusPage::StatusPage(Ui::MainWindow& form, PanelColour& tx, PanelColour& rx, QObject* parent)
    : QObject(parent), ui(form), m_txColour(tx), m_rxColour(rx) {
    QWidget* page = ui.MainPanel->window();
    m_cellLabels = numberedChildren<QLabel>(page, "Lable_BCV", Reg::CellCount);
    m_dryLamps = numberedChildren<LampPair>(page, "ImDry", 6);
    m_protectLampsA = numberedChildren<LampPair>(page, "ImBatt", 8);
    m_protectLampsB = numberedChildren<LampPair>(page, "ImBattP", 8);
    m_cellLamps = numberedChildren<LampPair>(page, "ImCell", Reg::CellCount);
    m_noticeTimer.setObjectName("Timer6");
    m_noticeTimer.setInterval(100);
    connect(&m_noticeTimer, &QTimer::timeout, this, &StatusPage::blinkAlarmTestNotice);
}

StatusView StatusPage::show(const RegisterImage& img, const QString& modelName) {
    const StatusView v = RenderStatus(img, modelName);
    ShowValue(ui.edtDateTime, v.clock);
    ShowValue(ui.edtFW, v.firmware);
    // The firmware line is never clipped: the column widens to it (within the window).
    const int firmwareWidth = ui.edtFW->fontMetrics().horizontalAdvance(v.firmware) + 16;
    if (ui.edtFW->minimumWidth() < firmwareWidth) ui.edtFW->setMinimumWidth(firmwareWidth);
    ui.edtFW->setCursorPosition(0);
    if (ui.edtFW->toolTip() != v.firmware) ui.edtFW->setToolTip(v.firmware);
    ShowValue(ui.Label_ACV, v.acVolts);
    ShowValue(ui.Label_ACA, v.acAmps);
    ShowValue(ui.Lable_DCV, v.dcVolts);
    ShowValue(ui.Lable_DCA, v.dcAmps);
    ShowValue(ui.Lable_BCA, v.battAmps);
    ShowValue(ui.Label_BT, v.battTemp);
    ShowValue(ui.Label_RT, v.rectTemp);
    ShowValue(ui.edtFwCnt, v.fwCounter);
    ShowValue(ui.lbDspVer1, v.dsp1);
    ShowValue(ui.lbDspVer2, v.dsp2);
    ShowValue(ui.lbTaskFail, v.taskFail);
    ShowValue(ui.edtSpeedSetup, v.speedSetup);
    ShowValue(ui.edtSpeed, v.speed);
    ShowValue(ui.Label_SetV, v.setVolts);
    ShowValue(ui.lbCHLimitFG, v.chLimitFg);
    // The charge-limit flag colours the TX/RX captions.
    const QColor caption = v.chLimit ? Qt::yellow : Qt::white;
    m_txColour.setTextColour(caption);
    m_rxColour.setTextColour(caption);
    ui.Lable_BTest->setVisible(v.battTestRunning);
    if (v.battFwKnown) ShowValue(ui.Lable_BFW, v.battFw);
    ShowValue(ui.Lable_BPackV, v.battPackVolts);
    ShowValue(ui.Lable_BV, v.battVolts);
    ShowValue(ui.Lable_BC, v.battCurrent);
    ShowValue(ui.Lable_BSoc, v.battSoc);
    ShowValue(ui.Lable_BTp, v.battPackTemp);
    ShowValue(ui.Lable_LVD, v.battLvd);
    ShowValue(ui.Label_CHLimit, v.battChargeLimit);
    ShowValue(ui.Lable_BCVMax, v.cellMax);
    ShowValue(ui.Lable_BCVMin, v.cellMin);
    ShowValue(ui.Lable_BFWDate, v.battFwDate);
    ShowValue(ui.Lable_BChFET, v.battChFet);
    ShowValue(ui.Lable_BDChFET, v.battDchFet);
    ShowValue(ui.Lable_BReady, v.battReady);
    ShowValue(ui.Lable_BLink, v.battLink);
    for (int i = 0; i < m_cellLabels.size(); ++i)
        ShowValue(m_cellLabels[i], v.cells[i]);
    // Lamp pairs: bit n-1 of the register drives lamp n.
    const auto lamps = [](const QList<LampPair*>& row, int count, int bits) {
        for (int n = 1; n <= count && n <= row.size(); ++n)
            row[n - 1]->setAlarm(bits & (1 << (n - 1)));
    };
    lamps(m_dryLamps, v.contactCount, v.dryContacts);
    lamps(m_protectLampsA, 8, v.battProtectA);
    lamps(m_protectLampsB, 8, v.battProtectB);
    lamps(m_cellLamps, 15, v.cellBalance);
    const bool six = v.contactCount == 6;
    for (QWidget* w :
         {static_cast<QWidget*>(ui.Lable_Contact5), static_cast<QWidget*>(ui.Lable_Contact6),
          static_cast<QWidget*>(ui.ImDry5), static_cast<QWidget*>(ui.ImDry6)})
        w->setVisible(six);
    ui.Lable_BCA->setVisible(v.batteryShown);
    ui.GroupBattery->setVisible(v.batteryShown);
    ui.Label_BT->setVisible(v.battTempShown);
    ui.CanFrame->setVisible(v.canShown);
    if (v.canShown) {
        ShowValue(ui.LabCanFailCnt, v.canFailCount);
        ShowValue(ui.lbCanCpuVer, v.canCpuVersion);
        ShowValue(ui.LabCanCpuCom, v.canCpuCom);
        if (ui.LabCanCpuCom->property("failed").toBool() != v.canCpuFailed ||
            !ui.LabCanCpuCom->property("failed").isValid()) {
            ui.LabCanCpuCom->setProperty("failed", v.canCpuFailed);
            QPalette p = ui.LabCanCpuCom->palette();
            p.setColor(QPalette::WindowText, v.canCpuFailed ? Qt::red : Qt::black);
            ui.LabCanCpuCom->setPalette(p);
        }
    }
    return v;
}

void StatusPage::advancePowerFlow(const RegisterImage& image) {
    ui.MainPanel->setFlow(m_flow);
    m_flow = StepFlow(m_flow, image);
}

void StatusPage::alarmTestMode(bool active) {
    if (active) {
        if (!m_noticeTimer.isActive()) m_noticeTimer.start();
        return;
    }
    m_noticeTimer.stop();
    m_noticeCounter = 0;
    ui.Lab_Alarm_Test->setVisible(false);
}

void StatusPage::blinkAlarmTestNotice() {
    const NoticeStep s = StepNotice(m_noticeCounter);
    m_noticeCounter = s.counter;
    if (s.changed) ui.Lab_Alarm_Test->setVisible(s.visible);
}
