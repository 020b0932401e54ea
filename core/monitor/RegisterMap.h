// The parameter register image and the decoding of poll, network identity and count replies.
#pragma once

#include <QByteArray>
#include <QString>
#include <array>
#include <optional>

namespace quma {

constexpr int kRegisterCount = 131;

// Entry r - 1 holds the last polled value of register r as an unsigned 16-bit number.
struct RegisterImage {
    std::array<int, kRegisterCount> regs{};
    int operator[](int reg) const {
        return (reg >= 1 && reg <= kRegisterCount) ? regs[reg - 1] : 0;
    }
    void set(int reg, int value) {
        if (reg >= 1 && reg <= kRegisterCount) regs[reg - 1] = value & 0xFFFF;
    }
};

// A register holding a two's-complement value (currents, temperatures).
inline int SignedRegister(int value) {
    return value >= 0x8000 ? value - 0x10000 : value;
}

// Registers by name. The measurements and states the status page shows:
namespace Reg {
constexpr int Year = 1, Month = 2, Day = 3, Hour = 4, Minute = 5, Second = 6, AcVolts = 7,
              AcAmps = 8, DcVolts = 9, LoadAmps = 10, BattAmps = 11, BattTemp = 12, RectTemp = 13,
              FwCounter = 14, Alarm1 = 15, Alarm2 = 16, Dsp1Version = 22, Dsp1Build = 23,
              Dsp2Version = 24, Dsp2Build = 25, SystemType = 26, FwVersion = 27, FwRevision = 28,
              FwYear = 29, FwMonthDay = 30, TaskFail = 31, DryContacts = 41, SpeedSetup = 43,
              Speed = 44, SetVolts = 61, ChargeLimitFlag = 93, BattTestRunning = 94,
              BattFirmware = 96, PackVolts = 97, BattVolts = 98, BattCurrent = 99, BattSoc = 100,
              PackTemp = 101, BattLvd = 102, BattChargeLimit = 103, CellMax = 104, CellMin = 105,
              BattProtectB = 106, BattProtectA = 107, CellBalance = 108, BattState = 109,
              Cell1 = 110, BattFwDate = 126, CanFailCount = 128, CanCpuVersion = 129,
              CanCpuBuild = 130, CanCpuFail = 131;
// The settings (SettingRegisters describes each):
constexpr int AlarmOutputType = 42, AcUndervoltAlarm = 54, AcOvervoltAlarm = 55,
              DcUndervoltAlarm = 56, DcOvervoltAlarm = 57, BattLowVoltAlarm = 58,
              DcOvercurrentAlarm = 59, OutputVolts = 60, LiChargeLimit = 62, ChargeLimit = 63,
              ChargeMode = 64, OutputOvervoltState = 65, BattInstalled = 66, BattTempSensor = 67,
              DcCutoffVolts = 68, LiCutoffVolts = 69, ContactRestState = 70, AlarmTest = 71,
              AlarmTestWord1 = 72, AlarmTestWord2 = 73, TestPeriod = 74, TestStartMonth = 75,
              TestStartDay = 76, TestStartHour = 77, TestEndVolts = 78, TestMinutes = 79,
              ContactWordsFirst = 80, ContactWordsLast = 91, ForcedTest = 92, RackCutoffTemp = 95;
// The command register: 1 restarts the controller, 2 initialises its configuration.
constexpr int Restart = 127;
constexpr int CellCount = 15;
} // namespace Reg

// What a temperature register holds when its probe is open (not connected).
constexpr int kTempProbeOpen = 1250;

// Decodes the registers of an accepted poll reply. Serial: the validated reply text
// (":" + station + function + 4-character byte count + 131 fields of 4 hex characters + LRC).
// TCP: the register bytes after the byte count. A reply too short or with a malformed field
// yields nothing: the image is only ever replaced by a whole, well-formed reply.
std::optional<RegisterImage> DecodePollSerial(const QByteArray& replyText);
std::optional<RegisterImage> DecodePollTcp(const QByteArray& registerBytes);

// The network identity record as texts.
struct NetworkIdentity {
    QString mac, ip, subnet, gateway, savedIp;
    QByteArray hwDescription; // as stored
    int hwDescriptionLength = 0;
    QByteArray serialNumber; // 10 characters
    QString hwVersion, savedMac, savedIpMac, rectId, savedRectId;
    QString firmware;        // "V" + version + "(" + build + ")"
    QString firmwareBuild;   // the build bytes as 8 hex digits
    QString siteInfo;        // decoded from UTF-8
    QByteArray siteInfoUtf8; // the bytes as read, ending on a whole character
    int siteInfoLength = 0;
    // False when the reply ended inside the record: the fields it did not reach stay empty and a
    // text it cut holds what was there.
    bool complete = false;
};

// Record bytes (the 2-byte count first). Serial replies are converted from hex before this.
// Every field that the bytes hold is decoded; nothing is read past their end. No identity at all
// when not even the count is there.
std::optional<NetworkIdentity> DecodeNetworkIdentity(const QByteArray& countAndRecord);

// Record total and the second count. Serial: the validated reply text; TCP: the data bytes.
std::optional<std::pair<int, int>> DecodeCountSerial(const QByteArray& replyText);
std::optional<std::pair<int, int>> DecodeCountTcp(const QByteArray& data);

} // namespace quma
