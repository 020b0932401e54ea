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

StatusView RenderStatus(const RegisterImage& r, const QString& modelName) {
    StatusView v;
    v.clock = "[  " + num(r[1]) + "-" + DecDigits(r[2], 2) + "-" + DecDigits(r[3], 2) + "  " +
              DecDigits(r[4], 2) + ":" + DecDigits(r[5], 2) + ":" + DecDigits(r[6], 2) + " ]";
    v.acVolts = QCoreApplication::translate("Status", "AC전압 : ") + FormatTenthsSuffix(r[7], "V");
    v.acAmps = QCoreApplication::translate("Status", "AC전류 : ") + FormatTenthsSuffix(r[8], "A");
    v.dcVolts = QCoreApplication::translate("Status", "DC전압 : ") + FormatTenthsSuffix(r[9], "V");
    v.dcAmps =
        QCoreApplication::translate("Status", "DC전류 : ") + FormatSignedCurrent(r[10], 1, "A");
    v.battAmps = QCoreApplication::translate("Status", "Battery전류 : ") +
                 FormatSignedCurrent(r[11], 1, "A");
    v.battTemp = QCoreApplication::translate("Status", "Battery온도 : ") +
                 (r[12] == 1250 ? QString("Open") : FormatSignedUnit(r[12], 1, "C"));
    v.rectTemp =
        QCoreApplication::translate("Status", "정류기온도 : ") + FormatSignedUnit(r[13], 1, "C");
    v.fwCounter = num(r[14]);
    v.alarmText = hex(r[15], 4) + " " + hex(r[16], 4);
    const auto dsp = [&](int a, int b) {
        return "( V 0." + num(hi(r[a])) + " ) " + num(lo(r[a])) + "-" + num(hi(r[b])) + "-" +
               num(lo(r[b]));
    };
    v.dsp1 = "DSP#1 VER : " + dsp(22, 23);
    v.dsp2 = "DSP#2 VER : " + dsp(24, 25);
    v.firmware = modelName + "  F/W V" + num(hi(r[27])) + "." + num(lo(r[27])) + "." +
                 num(hi(r[28])) + "." + num(lo(r[28])) + "  (" + hex(r[29], 4) + "/" +
                 hex(hi(r[30]), 2) + "/" + hex(lo(r[30]), 2) + ")";
    v.taskFail = "Task Fail Count : " + num(r[31]);
    static const char* const kSpeeds[] = {"Auto Nego", "10M Half", "10M Full", "100M Half",
                                          "100M Full"};
    v.speedSetup = (r[43] >= 0 && r[43] <= 4) ? QString(kSpeeds[r[43]]) : QString();
    v.speed = num(r[44]);
    v.setVoltsValue =
        r[61] < 1001 ? FormatTenthsSuffix(r[61], "V") : FormatHundredthsSuffix(r[61], "V");
    v.setVolts = QCoreApplication::translate("Status", "설정전압 : ") + v.setVoltsValue;
    v.chLimit = r[93] != 0;
    v.chLimitFg = "CHLimit FG : " + num(r[93]);
    v.battTestRunning = r[94] != 0;

    const int type = r[26];
    const int n = r[96];
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
    v.battPackVolts =
        QCoreApplication::translate("Status", "팩 : ") + FormatHundredthsSuffix(r[97], "V");
    v.battVolts =
        QCoreApplication::translate("Status", "전압 : ") + FormatHundredthsSuffix(r[98], "V");
    v.battCurrent =
        QCoreApplication::translate("Status", "전류 : ") + FormatSignedCurrent(r[99], 1, "A");
    v.battSoc = QCoreApplication::translate("Status", "잔량 : ") + num(r[100]) + " %";
    v.battPackTemp =
        QCoreApplication::translate("Status", "온도 : ") + FormatSignedUnit(r[101], 1, "C");
    v.battLvd =
        QCoreApplication::translate("Status", "종지 전압 : ") + FormatTenthsSuffix(r[102], "V");
    v.battChargeLimit =
        QCoreApplication::translate("Status", "전류 제한 : ") + FormatTenthsSuffix(r[103], "A");
    v.cellMax = QCoreApplication::translate("Status", "셀 최고전압 : ") +
                FormatHundredthsSuffix(r[104], "V");
    v.cellMin = QCoreApplication::translate("Status", "셀 최저전압 : ") +
                FormatHundredthsSuffix(r[105], "V");
    v.battProtectB = r[106];
    v.battProtectA = r[107];
    v.cellBalance = r[108];
    const int st = r[109];
    v.battChFet = (st & 4) ? QCoreApplication::translate("Status", "충전 FET : On")
                           : QCoreApplication::translate("Status", "충전 FET : OFF");
    v.battDchFet = (st & 8) ? QCoreApplication::translate("Status", "방전 FET : On")
                            : QCoreApplication::translate("Status", "방전 FET : OFF");
    v.battReady = ((st & 1) || r[98] == 0)
                      ? QCoreApplication::translate("Status", "축전지-NFB : OFF")
                      : QCoreApplication::translate("Status", "축전지-NFB : On");
    v.battLink = (st & 2) ? QCoreApplication::translate("Status", "Link 상태 : On")
                          : QCoreApplication::translate("Status", "Link 상태 : OFF");
    for (int i = 1; i <= 15; ++i)
        v.cells << QCoreApplication::translate("Status", "셀전압%1 : ").arg(i) +
                       FormatHundredthsSuffix(r[109 + i], "V");
    v.battFwDate = QCoreApplication::translate("Status", "축전지 FW 변경일%1").arg(r[126]);
    v.batteryShown = r[66] != 0;
    v.battTempShown = r[67] != 0;

    v.canShown = type == 4;
    v.canFailCount = "Can Fail Cnt : " + num(r[128]);
    v.canCpuVersion = "CAN CPU VER : " + QString("( V ") + FormatTenthsSuffix(hi(r[129]), " ") +
                      ") " + num(lo(r[129])) + "-" + num(hi(r[130])) + "-" + num(lo(r[130]));
    v.canCpuFailed = r[131] != 0;
    v.canCpuCom = v.canCpuFailed ? "CPU Com(Fail)" : "CPU Com(Normal)";

    v.dryContacts = r[41];
    v.contactCount = ((type == 3 || type == 4) && r[42] == 1) ? 4 : 6;
    v.factoryResetVisible = type == 3 || type == 4;
    v.alarmTest = r[71] == 1;
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
