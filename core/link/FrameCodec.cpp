// Wire frames of the controller protocol: LRC, colon/hex frames, TCP frames, and the text
// utilities.
#include "core/link/FrameCodec.h"

namespace quma {

namespace {
const char kHex[] = "0123456789ABCDEF";

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}
} // namespace

QByteArray BytesToHex(const QByteArray& bytes) {
    return BytesToHexN(bytes, bytes.size());
}

QByteArray BytesToHexN(const QByteArray& bytes, int n) {
    QByteArray out;
    if (n <= 0) return out;
    n = std::min<int>(n, bytes.size());
    out.reserve(2 * n);
    for (int i = 0; i < n; ++i) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        out.append(kHex[b >> 4]);
        out.append(kHex[b & 0x0F]);
    }
    return out;
}

QString PadZero(qint64 value, int width) {
    return QStringLiteral("%1").arg(value, width, 10, QLatin1Char(' ')).replace(' ', '0');
}

QByteArray CutLeft(QByteArray& text, int n) {
    if (n <= 0) return {};
    QByteArray head = text.left(n);
    text.remove(0, head.size());
    return head;
}

qint64 HexToInt(const QByteArray& text) {
    qint64 v = 0;
    for (char c : text) {
        const int d = hexDigit(c);
        if (d < 0) throw ConversionError("'" + text.toStdString() + "' is not a valid hex value");
        v = v * 16 + d;
        if (v > 0xFFFFFFFFLL) throw ConversionError("hex value out of range");
    }
    return v;
}

QByteArray IntToHexN(qint64 value, int n) {
    return Int64ToHexN(value, n);
}

QByteArray Int64ToHexN(qint64 value, int n) {
    QByteArray out(n, '0');
    auto v = static_cast<quint64>(value);
    for (int i = n - 1; i >= 0; --i) {
        out[i] = kHex[v & 0x0F];
        v >>= 4;
    }
    return out;
}

QByteArray HexToBytes(const QByteArray& hex) {
    if (hex.size() % 2 != 0) throw ConversionError("odd number of hex characters");
    QByteArray out;
    out.reserve(hex.size() / 2);
    for (int i = 0; i < hex.size(); i += 2) {
        const int hi = hexDigit(hex[i]);
        const int lo = hexDigit(hex[i + 1]);
        if (hi < 0 || lo < 0) throw ConversionError("non-hex character in frame");
        out.append(static_cast<char>(hi * 16 + lo));
    }
    return out;
}

namespace {
// Length of the well-formed UTF-8 sequence of a printable character at i, or 0.
int printableUtf8At(const QByteArray& s, qsizetype i) {
    const auto byte = [&](qsizetype k) { return static_cast<unsigned char>(s[k]); };
    const unsigned char lead = byte(i);
    int n = 0;
    char32_t cp = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        n = 2;
        cp = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        n = 3;
        cp = lead & 0x0F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        n = 4;
        cp = lead & 0x07;
    } else {
        return 0;
    }
    if (i + n > s.size()) return 0;
    for (int k = 1; k < n; ++k) {
        if ((byte(i + k) & 0xC0) != 0x80) return 0;
        cp = (cp << 6) | (byte(i + k) & 0x3F);
    }
    const char32_t least[5] = {0, 0, 0x80, 0x800, 0x10000};
    if (cp < least[n] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 0;
    if (cp < 0xA0) return 0;                    // C1 controls: 8-bit escape sequences
    if (cp == 0x2028 || cp == 0x2029) return 0; // line and paragraph separators
    return n;
}
} // namespace

QByteArray TraceText(const QByteArray& line) {
    const bool frameEnd = line.endsWith("\r\n");
    const qsizetype end = line.size() - (frameEnd ? 2 : 0);
    QByteArray out;
    out.reserve(line.size());
    for (qsizetype i = 0; i < end;) {
        const auto c = static_cast<unsigned char>(line[i]);
        if (c >= 0x20 && c < 0x7F) {
            out.append(char(c));
            ++i;
        } else if (const int n = c >= 0x80 ? printableUtf8At(line, i) : 0; n > 0 && i + n <= end) {
            out.append(line.mid(i, n));
            i += n;
        } else {
            out.append("\\x").append(IntToHexN(c, 2).toLower());
            ++i;
        }
    }
    if (frameEnd) out.append("\r\n");
    return out;
}

std::uint8_t Lrc(const QByteArray& body) {
    unsigned sum = 0;
    for (int i = 0; i + 1 < body.size(); i += 2) {
        const int hi = hexDigit(body[i]);
        const int lo = hexDigit(body[i + 1]);
        if (hi < 0 || lo < 0) throw ConversionError("non-hex character in frame body");
        sum += static_cast<unsigned>(hi * 16 + lo);
    }
    return static_cast<std::uint8_t>((256 - (sum % 256)) % 256);
}

QByteArray AsciiFrame(const QByteArray& body) {
    return ':' + body + IntToHexN(Lrc(body), 2) + "\r\n";
}

QByteArray TcpFrame(std::uint16_t transactionId, std::uint8_t function, const QByteArray& data) {
    const int length = data.size() + 2;
    QByteArray f;
    f.reserve(8 + data.size());
    f.append(static_cast<char>(transactionId >> 8));
    f.append(static_cast<char>(transactionId & 0xFF));
    f.append('\0');
    f.append('\0');
    f.append(static_cast<char>((length >> 8) & 0xFF));
    f.append(static_cast<char>(length & 0xFF));
    f.append('\x01');
    f.append(static_cast<char>(function));
    f.append(data);
    return f;
}

bool ValidateAsciiFrame(const QByteArray& frame, AsciiReply* out) {
    const int c = frame.indexOf(':');
    if (c < 0) return false;
    const int r = frame.indexOf('\r');
    const int len = (c < r) ? r - c : 0;
    // Colon, address, function and LRC at the least; every character after the colon is hex.
    if (len < 7 || (len - 1) % 2 != 0) return false;
    const QByteArray text = frame.mid(c, len);
    unsigned sum = 0;
    for (int i = 1; i < len; i += 2) {
        const int hi = hexDigit(text[i]);
        const int lo = hexDigit(text[i + 1]);
        if (hi < 0 || lo < 0) return false;
        sum += static_cast<unsigned>(hi * 16 + lo);
    }
    if (sum % 256 != 0) return false;
    if (out) {
        out->text = text;
        out->address = text.mid(1, 2);
        out->function = text.mid(3, 2).toUpper();
    }
    return true;
}

} // namespace quma
