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

// Well-known registers.
namespace Reg {
constexpr int Year = 1, AcVolts = 7, AcAmps = 8, DcVolts = 9, LoadAmps = 10, BattAmps = 11,
              BattTemp = 12, RectTemp = 13, FwCounter = 14, Alarm1 = 15, Alarm2 = 16,
              SystemType = 26, TaskFail = 31, DryContacts = 41, AlarmOutputType = 42, SetVolts = 61,
              BattInstalled = 66, BattTempSensor = 67, AlarmTest = 71;
}

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
