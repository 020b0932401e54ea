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

namespace {
// Reads the identity record field by field and never past its end. A fixed-size field is taken
// only when all of it is there; a text takes what is left of it, like CutLeft.
class RecordReader {
public:
    explicit RecordReader(const QByteArray& bytes, int at) : m_b(bytes), m_p(at) {}
    bool fits(int n) const { return m_p + n <= m_b.size(); }
    int position() const { return m_p; }
    bool skip(int n) {
        if (!fits(n)) return stop();
        m_p += n;
        return true;
    }
    bool dotted(QString* out) {
        if (!fits(4)) return stop();
        *out = dotted4(m_b, m_p);
        m_p += 4;
        return true;
    }
    bool mac(QString* out) {
        if (!fits(6)) return stop();
        *out = mac6(m_b, m_p);
        m_p += 6;
        return true;
    }
    bool hex(int n, QString* out) {
        if (!fits(n)) return stop();
        *out = QString::fromLatin1(BytesToHex(m_b.mid(m_p, n)));
        m_p += n;
        return true;
    }
    bool byte(int* out) {
        if (!fits(1)) return stop();
        *out = u8(m_b, m_p++);
        return true;
    }
    // Up to n bytes; false (and the reading ends) when fewer were left.
    bool text(int n, QByteArray* out) {
        *out = m_b.mid(m_p, n);
        m_p += int(out->size());
        return out->size() == n || stop();
    }

private:
    bool stop() {
        m_p = int(m_b.size());
        return false;
    }
    const QByteArray& m_b;
    int m_p;
};

// The bytes as read, less a last character whose bytes were cut off by the end of the reply.
QByteArray wholeUtf8(const QByteArray& bytes) {
    for (qsizetype back = 1; back <= 3 && back <= bytes.size(); ++back) {
        const auto c = static_cast<unsigned char>(bytes[bytes.size() - back]);
        if ((c & 0xC0) == 0x80) continue; // a continuation byte: its lead is further back
        const int length = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 1;
        return length > back ? bytes.left(bytes.size() - back) : bytes;
    }
    return bytes;
}
} // namespace

std::optional<NetworkIdentity> DecodeNetworkIdentity(const QByteArray& rec) {
    if (rec.size() < 2) return std::nullopt;
    NetworkIdentity n;
    RecordReader r(rec, 2); // the count is skipped
    QByteArray site;
    n.complete = r.mac(&n.mac) && r.dotted(&n.ip) && r.dotted(&n.subnet) && r.dotted(&n.gateway) &&
                 r.skip(1) /* change flags */ && r.dotted(&n.savedIp) && r.skip(4) /* reserved */ &&
                 r.byte(&n.hwDescriptionLength) &&
                 r.text(n.hwDescriptionLength, &n.hwDescription) && r.text(10, &n.serialNumber) &&
                 r.skip(2) /* the serial number's terminator */ && r.dotted(&n.hwVersion) &&
                 r.mac(&n.savedMac) && r.mac(&n.savedIpMac) && r.skip(6) /* reserved */ &&
                 r.hex(4, &n.rectId) && r.hex(4, &n.savedRectId) && r.fits(8) &&
                 r.dotted(&n.firmware) && r.hex(4, &n.firmwareBuild) && r.byte(&n.siteInfoLength) &&
                 r.text(n.siteInfoLength, &site);
    if (!n.firmware.isEmpty()) n.firmware = "V" + n.firmware + "(" + n.firmwareBuild + ")";
    n.siteInfoUtf8 = n.complete ? site : wholeUtf8(site);
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
