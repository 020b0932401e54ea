// The parameter register image and the decoding of poll, network identity and count replies.
#include "core/monitor/RegisterMap.h"

#include "core/link/FrameCodec.h"
#include "core/monitor/Formatters.h"

#include <QStringList>

namespace quma {

namespace {
int u8(const QByteArray& b, int i) {
    return static_cast<unsigned char>(b[i]);
}
int u16(const QByteArray& b, int i) {
    return (u8(b, i) << 8) | u8(b, i + 1);
}

QString dotted4(const QByteArray& b, int at) {
    QStringList parts;
    for (int i = 0; i < 4; ++i)
        parts << DecDigits(u8(b, at + i), 2);
    return parts.join('.');
}
QString mac6(const QByteArray& b, int at) {
    QStringList parts;
    for (int i = 0; i < 6; ++i)
        parts << QString::fromLatin1(IntToHexN(u8(b, at + i), 2));
    return parts.join('.');
}
} // namespace

std::optional<RegisterImage> DecodePollSerial(const QByteArray& replyText) {
    const int start = 1 + 2 + 2 + 4;
    if (replyText.size() < start + 4 * kRegisterCount) return std::nullopt;
    RegisterImage img;
    try {
        for (int r = 0; r < kRegisterCount; ++r)
            img.regs[r] = static_cast<int>(HexToInt(replyText.mid(start + 4 * r, 4)));
    } catch (const ConversionError&) {
        return std::nullopt;
    }
    return img;
}

std::optional<RegisterImage> DecodePollTcp(const QByteArray& registerBytes) {
    if (registerBytes.size() < 2 * kRegisterCount) return std::nullopt;
    RegisterImage img;
    for (int r = 0; r < kRegisterCount; ++r)
        img.regs[r] = u16(registerBytes, 2 * r);
    return img;
}

std::optional<NetworkIdentity> DecodeNetworkIdentity(const QByteArray& rec) {
    NetworkIdentity n;
    int p = 2; // the count is skipped
    auto need = [&](int bytes) { return p + bytes <= rec.size(); };
    if (!need(6 + 4 + 4 + 4 + 1 + 4 + 4 + 1)) return std::nullopt;
    n.mac = mac6(rec, p);
    p += 6;
    n.ip = dotted4(rec, p);
    p += 4;
    n.subnet = dotted4(rec, p);
    p += 4;
    n.gateway = dotted4(rec, p);
    p += 4;
    p += 1; // change flags
    n.savedIp = dotted4(rec, p);
    p += 4;
    p += 4; // reserved
    n.hwDescriptionLength = u8(rec, p++);
    if (!need(n.hwDescriptionLength + 10 + 2 + 4 + 6 + 6 + 6 + 4 + 4 + 4 + 4 + 1))
        return std::nullopt;
    n.hwDescription = rec.mid(p, n.hwDescriptionLength);
    p += n.hwDescriptionLength;
    n.serialNumber = rec.mid(p, 10);
    p += 10 + 2; // serial number and its terminator
    n.hwVersion = dotted4(rec, p);
    p += 4;
    n.savedMac = mac6(rec, p);
    p += 6;
    n.savedIpMac = mac6(rec, p);
    p += 6;
    p += 6; // reserved
    n.rectId = QString::fromLatin1(BytesToHex(rec.mid(p, 4)));
    p += 4;
    n.savedRectId = QString::fromLatin1(BytesToHex(rec.mid(p, 4)));
    p += 4;
    n.firmware =
        "V" + dotted4(rec, p) + "(" + QString::fromLatin1(BytesToHex(rec.mid(p + 4, 4))) + ")";
    p += 8;
    n.siteInfoLength = u8(rec, p++);
    if (!need(n.siteInfoLength)) return std::nullopt;
    n.siteInfoUtf8 = rec.mid(p, n.siteInfoLength);
    n.siteInfo = QString::fromUtf8(n.siteInfoUtf8);
    return n;
}

std::optional<std::pair<int, int>> DecodeCountSerial(const QByteArray& replyText) {
    if (replyText.size() < 5 + 8) return std::nullopt;
    try {
        return std::make_pair(static_cast<int>(HexToInt(replyText.mid(5, 4))),
                              static_cast<int>(HexToInt(replyText.mid(9, 4))));
    } catch (const ConversionError&) {
        return std::nullopt;
    }
}

std::optional<std::pair<int, int>> DecodeCountTcp(const QByteArray& data) {
    if (data.size() < 4) return std::nullopt;
    return std::make_pair(u16(data, 0), u16(data, 2));
}

} // namespace quma
