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

StatusPage::StatusPage(QWidget* parent) : QWidget(parent) {
    m_noticeTimer.setObjectName("Timer6");
    m_noticeTimer.setInterval(100);
    connect(&m_noticeTimer, &QTimer::timeout, this, &StatusPage::blinkAlarmTestNotice);
}

void StatusPage::attach(Ui::MainWindow& form, PanelColour& tx, PanelColour& rx) {
    m_ui = &form;
    m_txColour = &tx;
    m_rxColour = &rx;
    QWidget* page = this;
    m_cellLabels = numberedChildren<QLabel>(page, "Lable_BCV", Reg::CellCount);
    m_dryLamps = numberedChildren<LampPair>(page, "ImDry", 6);
    m_protectLampsA = numberedChildren<LampPair>(page, "ImBatt", 8);
    m_protectLampsB = numberedChildren<LampPair>(page, "ImBattP", 8);
    m_cellLamps = numberedChildren<LampPair>(page, "ImCell", Reg::CellCount);
}

StatusView StatusPage::show(const RegisterImage& img, const QString& modelName) {
    const StatusView v = RenderStatus(img, modelName);
    // What the window shows beyond the page follows every poll.
    ShowValue(m_ui->edtFwCnt, v.fwCounter);
    ShowValue(m_ui->lbDspVer1, v.dsp1);
    ShowValue(m_ui->lbDspVer2, v.dsp2);
    ShowValue(m_ui->lbTaskFail, v.taskFail);
    ShowValue(m_ui->edtSpeedSetup, v.speedSetup);
    ShowValue(m_ui->edtSpeed, v.speed);
    ShowValue(m_ui->lbCHLimitFG, v.chLimitFg);
    // The charge-limit flag colours the TX/RX captions.
    const QColor caption = v.chLimit ? Qt::yellow : Qt::white;
    m_txColour->setTextColour(caption);
    m_rxColour->setTextColour(caption);
    // Another tab in front: the page takes the latest poll when it is shown again, so that a
    // hidden page costs nothing.
    if (!isVisible()) {
        const bool keepBatteryFirmware = !v.battFwKnown && m_hidden && m_hidden->battFwKnown;
        const QString batteryFirmware = keepBatteryFirmware ? m_hidden->battFw : QString();
        m_hidden = v;
        if (keepBatteryFirmware) { // a poll that did not know it leaves the last one known
            m_hidden->battFwKnown = true;
            m_hidden->battFw = batteryFirmware;
        }
        return v;
    }
    m_hidden.reset();
    showOnPage(v);
    return v;
}

void StatusPage::showEvent(QShowEvent* e) {
    QWidget::showEvent(e);
    if (!m_hidden) return;
    const StatusView v = *m_hidden;
    m_hidden.reset();
    showOnPage(v);
}

void StatusPage::showOnPage(const StatusView& v) {
    ShowValue(m_ui->edtDateTime, v.clock);
    ShowValue(m_ui->edtFW, v.firmware);
    // The firmware line is never clipped: the column widens to it (within the window).
    const int firmwareWidth = m_ui->edtFW->fontMetrics().horizontalAdvance(v.firmware) + 16;
    if (m_ui->edtFW->minimumWidth() < firmwareWidth) m_ui->edtFW->setMinimumWidth(firmwareWidth);
    m_ui->edtFW->setCursorPosition(0);
    if (m_ui->edtFW->toolTip() != v.firmware) m_ui->edtFW->setToolTip(v.firmware);
    ShowValue(m_ui->Label_ACV, v.acVolts);
    ShowValue(m_ui->Label_ACA, v.acAmps);
    ShowValue(m_ui->Lable_DCV, v.dcVolts);
    ShowValue(m_ui->Lable_DCA, v.dcAmps);
    ShowValue(m_ui->Lable_BCA, v.battAmps);
    ShowValue(m_ui->Label_BT, v.battTemp);
    ShowValue(m_ui->Label_RT, v.rectTemp);
    ShowValue(m_ui->Label_SetV, v.setVolts);
    m_ui->Lable_BTest->setVisible(v.battTestRunning);
    if (v.battFwKnown) ShowValue(m_ui->Lable_BFW, v.battFw);
    ShowValue(m_ui->Lable_BPackV, v.battPackVolts);
    ShowValue(m_ui->Lable_BV, v.battVolts);
    ShowValue(m_ui->Lable_BC, v.battCurrent);
    ShowValue(m_ui->Lable_BSoc, v.battSoc);
    ShowValue(m_ui->Lable_BTp, v.battPackTemp);
    ShowValue(m_ui->Lable_LVD, v.battLvd);
    ShowValue(m_ui->Label_CHLimit, v.battChargeLimit);
    ShowValue(m_ui->Lable_BCVMax, v.cellMax);
    ShowValue(m_ui->Lable_BCVMin, v.cellMin);
    ShowValue(m_ui->Lable_BFWDate, v.battFwDate);
    ShowValue(m_ui->Lable_BChFET, v.battChFet);
    ShowValue(m_ui->Lable_BDChFET, v.battDchFet);
    ShowValue(m_ui->Lable_BReady, v.battReady);
    ShowValue(m_ui->Lable_BLink, v.battLink);
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
         {static_cast<QWidget*>(m_ui->Lable_Contact5), static_cast<QWidget*>(m_ui->Lable_Contact6),
          static_cast<QWidget*>(m_ui->ImDry5), static_cast<QWidget*>(m_ui->ImDry6)})
        w->setVisible(six);
    m_ui->Lable_BCA->setVisible(v.batteryShown);
    m_ui->GroupBattery->setVisible(v.batteryShown);
    m_ui->Label_BT->setVisible(v.battTempShown);
    m_ui->CanFrame->setVisible(v.canShown);
    if (v.canShown) {
        ShowValue(m_ui->LabCanFailCnt, v.canFailCount);
        ShowValue(m_ui->lbCanCpuVer, v.canCpuVersion);
        ShowValue(m_ui->LabCanCpuCom, v.canCpuCom);
        if (m_ui->LabCanCpuCom->property("failed").toBool() != v.canCpuFailed ||
            !m_ui->LabCanCpuCom->property("failed").isValid()) {
            m_ui->LabCanCpuCom->setProperty("failed", v.canCpuFailed);
            QPalette p = m_ui->LabCanCpuCom->palette();
            p.setColor(QPalette::WindowText, v.canCpuFailed ? Qt::red : Qt::black);
            m_ui->LabCanCpuCom->setPalette(p);
        }
    }
}

void StatusPage::advancePowerFlow(const RegisterImage& image) {
    m_ui->MainPanel->setFlow(m_flow);
    m_flow = StepFlow(m_flow, image);
}

void StatusPage::alarmTestMode(bool active) {
    if (active) {
        if (!m_noticeTimer.isActive()) m_noticeTimer.start();
        return;
    }
    m_noticeTimer.stop();
    m_noticeCounter = 0;
    m_ui->Lab_Alarm_Test->setVisible(false);
}

void StatusPage::blinkAlarmTestNotice() {
    const NoticeStep s = StepNotice(m_noticeCounter);
    m_noticeCounter = s.counter;
    if (s.changed) m_ui->Lab_Alarm_Test->setVisible(s.visible);
}
