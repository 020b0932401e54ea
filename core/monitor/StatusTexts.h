// The status page's texts and visibility rules, rendered from the register image.
#pragma once

#include "core/monitor/RegisterMap.h"

#include <QList>
#include <QString>

namespace quma {

struct StatusView {
    QString clock;    // "[  2021-12-27  09:05:00 ]"
    QString firmware; // model name + "  F/W V..." + "  (2021/12/27)"
    QString acVolts, acAmps, dcVolts, dcAmps, battAmps, battTemp, rectTemp, setVolts;
    QString setVoltsValue; // the set-voltage text without its caption
    QString fwCounter, alarmText, dsp1, dsp2, taskFail, speedSetup, speed, chLimitFg;
    bool chLimit = false;
    // Battery group.
    QString battFw, battPackVolts, battVolts, battCurrent, battSoc, battPackTemp, battLvd,
        battChargeLimit, cellMax, cellMin, battFwDate, battChFet, battDchFet, battReady, battLink;
    QList<QString> cells; // 15 cell voltage texts
    bool batteryShown = false;
    bool battTempShown = false;
    bool battTestRunning = false;
    bool battFwKnown = false; // false: leave the previous battery firmware text
    // CAN fields (system type 4 only).
    bool canShown = false;
    QString canFailCount, canCpuVersion, canCpuCom;
    bool canCpuFailed = false;
    // Lamps: bit n-1 drives lamp n.
    int dryContacts = 0, battProtectA = 0, battProtectB = 0, cellBalance = 0;
    int contactCount = 6;
    bool factoryResetVisible = false;
    bool alarmTest = false;
};

StatusView RenderStatus(const RegisterImage& img, const QString& modelName);
// Parts of it for front ends that need no more: the firmware line, the relay contacts the plant
// has (4 or 6).
QString FirmwareText(const RegisterImage& img, const QString& modelName);
int ContactCount(const RegisterImage& img);

// The main status texts in page order, one per line (for front ends without the page).
QList<QString> StatusLines(const StatusView& v);

} // namespace quma
