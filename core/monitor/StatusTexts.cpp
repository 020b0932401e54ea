// The status page's texts and visibility rules, rendered from the register image.
#include "core/monitor/StatusTexts.h"

#include <QCoreApplication>

#include "core/link/FrameCodec.h"
#include "core/monitor/Formatters.h"

namespace quma {

namespace {
int hi(int r) {
    return r >> 8;
}
int lo(int r) {
    return r & 0xFF;
}
QString num(int v) {
    return QString::number(v);
}
QString hex(int v, int n) {
    return QString::fromLatin1(IntToHexN(v, n));
}
} // namespace

QString FirmwareText(const RegisterImage& r, const QString& modelName) {
    return modelName + "  F/W V" + num(hi(r[Reg::FwVersion])) + "." + num(lo(r[Reg::FwVersion])) +
           "." + num(hi(r[Reg::FwRevision])) + "." + num(lo(r[Reg::FwRevision])) + "  (" +
           hex(r[Reg::FwYear], 4) + "/" + hex(hi(r[Reg::FwMonthDay]), 2) + "/" +
           hex(lo(r[Reg::FwMonthDay]), 2) + ")";
}

int ContactCount(const RegisterImage& r) {
    const int type = r[Reg::SystemType];
    return ((type == 3 || type == 4) && r[Reg::AlarmOutputType] == 1) ? 4 : 6;
}

StatusView RenderStatus(const RegisterImage& r, const QString& modelName) {
    StatusView v;
    v.clock = "[  " + num(r[Reg::Year]) + "-" + DecDigits(r[Reg::Month], 2) + "-" +
              DecDigits(r[Reg::Day], 2) + "  " + DecDigits(r[Reg::Hour], 2) + ":" +
              DecDigits(r[Reg::Minute], 2) + ":" + DecDigits(r[Reg::Second], 2) + " ]";
    v.acVolts = QCoreApplication::translate("Status", "AC전압 : ") +
                FormatTenthsSuffix(r[Reg::AcVolts], "V");
    v.acAmps = QCoreApplication::translate("Status", "AC전류 : ") +
               FormatTenthsSuffix(r[Reg::AcAmps], "A");
    v.dcVolts = QCoreApplication::translate("Status", "DC전압 : ") +
                FormatTenthsSuffix(r[Reg::DcVolts], "V");
    v.dcAmps = QCoreApplication::translate("Status", "DC전류 : ") +
               FormatSignedCurrent(r[Reg::LoadAmps], 1, "A");
    v.battAmps = QCoreApplication::translate("Status", "Battery전류 : ") +
                 FormatSignedCurrent(r[Reg::BattAmps], 1, "A");
    v.battTemp = QCoreApplication::translate("Status", "Battery온도 : ") +
                 (r[Reg::BattTemp] == kTempProbeOpen ? QString("Open")
                                                     : FormatSignedUnit(r[Reg::BattTemp], 1, "C"));
    v.rectTemp = QCoreApplication::translate("Status", "정류기온도 : ") +
                 FormatSignedUnit(r[Reg::RectTemp], 1, "C");
    v.fwCounter = num(r[Reg::FwCounter]);
    v.alarmText = hex(r[Reg::Alarm1], 4) + " " + hex(r[Reg::Alarm2], 4);
    const auto dsp = [&](int a, int b) {
        return "( V 0." + num(hi(r[a])) + " ) " + num(lo(r[a])) + "-" + num(hi(r[b])) + "-" +
               num(lo(r[b]));
    };
    v.dsp1 = "DSP#1 VER : " + dsp(22, 23);
    v.dsp2 = "DSP#2 VER : " + dsp(24, 25);
    v.firmware = FirmwareText(r, modelName);
    v.taskFail = "Task Fail Count : " + num(r[Reg::TaskFail]);
    static const char* const kSpeeds[] = {"Auto Nego", "10M Half", "10M Full", "100M Half",
                                          "100M Full"};
    v.speedSetup = (r[Reg::SpeedSetup] >= 0 && r[Reg::SpeedSetup] <= 4)
                       ? QString(kSpeeds[r[Reg::SpeedSetup]])
                       : QString();
    v.speed = num(r[Reg::Speed]);
    v.setVoltsValue = r[Reg::SetVolts] < 1001 ? FormatTenthsSuffix(r[Reg::SetVolts], "V")
                                              : FormatHundredthsSuffix(r[Reg::SetVolts], "V");
    v.setVolts = QCoreApplication::translate("Status", "설정전압 : ") + v.setVoltsValue;
    v.chLimit = r[Reg::ChargeLimitFlag] != 0;
    v.chLimitFg = "CHLimit FG : " + num(r[Reg::ChargeLimitFlag]);
    v.battTestRunning = r[Reg::BattTestRunning] != 0;

    const int type = r[Reg::SystemType];
    const int n = r[Reg::BattFirmware];
    if (type == 2) {
        v.battFwKnown = true;
        if (n < 10)
            v.battFw = "FW : V0." + num(n);
        else if (n < 30)
            v.battFw = "FW : V" + num((n - 10) / 10) + "." + num(n - 10);
        else
            v.battFw = "FW : V" + num(n / 10) + "." + num(n % 10);
    } else if (type == 3 || type == 4) {
        v.battFwKnown = true;
        v.battFw = "FW : V" + num(n / 100) + "." + num(n % 100);
    }
    v.battPackVolts = QCoreApplication::translate("Status", "팩 : ") +
                      FormatHundredthsSuffix(r[Reg::PackVolts], "V");
    v.battVolts = QCoreApplication::translate("Status", "전압 : ") +
                  FormatHundredthsSuffix(r[Reg::BattVolts], "V");
    v.battCurrent = QCoreApplication::translate("Status", "전류 : ") +
                    FormatSignedCurrent(r[Reg::BattCurrent], 1, "A");
    v.battSoc = QCoreApplication::translate("Status", "잔량 : ") + num(r[Reg::BattSoc]) + " %";
    v.battPackTemp = QCoreApplication::translate("Status", "온도 : ") +
                     FormatSignedUnit(r[Reg::PackTemp], 1, "C");
    v.battLvd = QCoreApplication::translate("Status", "종지 전압 : ") +
                FormatTenthsSuffix(r[Reg::BattLvd], "V");
    v.battChargeLimit = QCoreApplication::translate("Status", "전류 제한 : ") +
                        FormatTenthsSuffix(r[Reg::BattChargeLimit], "A");
    v.cellMax = QCoreApplication::translate("Status", "셀 최고전압 : ") +
                FormatHundredthsSuffix(r[Reg::CellMax], "V");
    v.cellMin = QCoreApplication::translate("Status", "셀 최저전압 : ") +
                FormatHundredthsSuffix(r[Reg::CellMin], "V");
    v.battProtectB = r[Reg::BattProtectB];
    v.battProtectA = r[Reg::BattProtectA];
    v.cellBalance = r[Reg::CellBalance];
    const int st = r[Reg::BattState];
    v.battChFet = (st & 4) ? QCoreApplication::translate("Status", "충전 FET : On")
                           : QCoreApplication::translate("Status", "충전 FET : OFF");
    v.battDchFet = (st & 8) ? QCoreApplication::translate("Status", "방전 FET : On")
                            : QCoreApplication::translate("Status", "방전 FET : OFF");
    v.battReady = ((st & 1) || r[Reg::BattVolts] == 0)
                      ? QCoreApplication::translate("Status", "축전지-NFB : OFF")
                      : QCoreApplication::translate("Status", "축전지-NFB : On");
    v.battLink = (st & 2) ? QCoreApplication::translate("Status", "Link 상태 : On")
                          : QCoreApplication::translate("Status", "Link 상태 : OFF");
    for (int i = 1; i <= Reg::CellCount; ++i)
        v.cells << QCoreApplication::translate("Status", "셀전압%1 : ").arg(i) +
                       FormatHundredthsSuffix(r[Reg::Cell1 + i - 1], "V");
    v.battFwDate =
        QCoreApplication::translate("Status", "축전지 FW 변경일%1").arg(r[Reg::BattFwDate]);
    v.batteryShown = r[Reg::BattInstalled] != 0;
    v.battTempShown = r[Reg::BattTempSensor] != 0;

    v.canShown = type == 4;
    v.canFailCount = "Can Fail Cnt : " + num(r[Reg::CanFailCount]);
    v.canCpuVersion = "CAN CPU VER : " + QString("( V ") +
                      FormatTenthsSuffix(hi(r[Reg::CanCpuVersion]), " ") + ") " +
                      num(lo(r[Reg::CanCpuVersion])) + "-" + num(hi(r[Reg::CanCpuBuild])) + "-" +
                      num(lo(r[Reg::CanCpuBuild]));
    v.canCpuFailed = r[Reg::CanCpuFail] != 0;
    v.canCpuCom = v.canCpuFailed ? "CPU Com(Fail)" : "CPU Com(Normal)";

    v.dryContacts = r[Reg::DryContacts];
    v.contactCount = ContactCount(r);
    v.factoryResetVisible = type == 3 || type == 4;
    v.alarmTest = r[Reg::AlarmTest] == 1;
    return v;
}

QList<QString> StatusLines(const StatusView& v) {
    QList<QString> lines{v.clock, v.acVolts, v.acAmps, v.dcVolts, v.dcAmps};
    if (v.batteryShown) lines << v.battAmps;
    if (v.battTempShown) lines << v.battTemp;
    lines << v.rectTemp << v.setVolts << v.firmware << v.dsp1 << v.dsp2 << v.taskFail
          << v.chLimitFg;
    if (v.batteryShown) {
        if (v.battFwKnown) lines << v.battFw;
        lines << v.battVolts << v.battCurrent << v.battSoc << v.battPackTemp << v.battLvd
              << v.battChargeLimit << v.battReady;
        lines << v.cells;
    }
    if (v.canShown) lines << v.canFailCount << v.canCpuVersion << v.canCpuCom;
    return lines;
}

} // namespace quma
