// The two links' wire forms: request framing and reply recognition.
#include "core/link/LinkCodec.h"

namespace quma {

namespace {
QByteArray word(int v) {
    QByteArray b;
    b.append(static_cast<char>((v >> 8) & 0xFF));
    b.append(static_cast<char>(v & 0xFF));
    return b;
}

bool isAlarm(const Request& r) {
    return r.log == TransferKind::Alarm;
}
} // namespace

FramedRequest SerialCodec::frame(const Request& r, std::uint16_t) {
    QByteArray body = "01";
    switch (r.kind) {
    case Request::Kind::ReadRegisters:
        body += "04" + IntToHexN(r.first, 4) + IntToHexN(r.value, 4);
        break;
    case Request::Kind::ReadNetworkIdentity:
        body += "22";
        break;
    case Request::Kind::WriteRegister:
        body += "06" + IntToHexN(r.first, 4) + IntToHexN(r.value, 4);
        break;
    case Request::Kind::WriteNetworkIdentity:
        body += "230000" + BytesToHex(r.block);
        break;
    case Request::Kind::LogCount:
        body += isAlarm(r) ? "30" : "40";
        break;
    case Request::Kind::LogRecord:
        body += (isAlarm(r) ? "31" : "41") + IntToHexN(r.first, 4);
        break;
    case Request::Kind::LogClear:
        body += isAlarm(r) ? "35" : "45";
        break;
    }
    FramedRequest f;
    f.frame = AsciiFrame(body);
    f.function = static_cast<std::uint8_t>(HexToInt(body.mid(2, 2)));
    return f;
}

std::optional<Reply> SerialCodec::reply(const QByteArray& frame) {
    AsciiReply ascii;
    if (!ValidateAsciiFrame(frame, &ascii)) return std::nullopt;
    // The serial function texts of the replies, by the TCP function code that names them.
    static const struct {
        const char* text;
        std::uint8_t function;
    } functions[] = {
        {"04", Fn::ReadRegisters}, {"06", Fn::WriteRegister}, {"B2", Fn::ReadNetId},
        {"C0", Fn::AlarmCount},    {"C1", Fn::AlarmRecord},   {"C5", Fn::AlarmClear},
        {"D0", Fn::EventCount},    {"D1", Fn::EventRecord},   {"D5", Fn::EventClear},
    };
    for (const auto& f : functions) {
        if (ascii.function == f.text) return Reply{LinkKind::Serial, f.function, ascii.text};
    }
    return std::nullopt;
}

FramedRequest TcpCodec::frame(const Request& r, std::uint16_t transactionId) {
    const char kind = static_cast<char>(r.log);
    QByteArray data;
    FramedRequest f;
    switch (r.kind) {
    case Request::Kind::ReadRegisters:
        f.function = Fn::ReadRegisters;
        data = word(r.first) + word(r.value);
        f.replyBytes = 2 * r.value + 9;
        break;
    case Request::Kind::ReadNetworkIdentity:
        f.function = Fn::ReadNetId;
        f.replyBytes = 158;
        break;
    case Request::Kind::WriteRegister:
        f.function = Fn::WriteRegister;
        data = word(r.first) + word(r.value);
        f.replyBytes = 12;
        break;
    case Request::Kind::WriteNetworkIdentity:
        f.function = Fn::WriteNetId;
        data = r.block;
        f.replyBytes = 6;
        break;
    case Request::Kind::LogCount:
        f.function = isAlarm(r) ? Fn::AlarmCount : Fn::EventCount;
        data = QByteArray(1, kind) + QByteArray(1, static_cast<char>(m_lastPage & 0xFF));
        f.replyBytes = 12;
        break;
    case Request::Kind::LogRecord:
        m_lastPage = r.first;
        f.function = isAlarm(r) ? Fn::AlarmRecord : Fn::EventRecord;
        data = QByteArray(1, kind) + word(r.first);
        f.replyBytes = isAlarm(r) ? AlarmRecordReplyBytes : 19;
        break;
    case Request::Kind::LogClear:
        f.function = isAlarm(r) ? Fn::AlarmClear : Fn::EventClear;
        data = QByteArray(1, kind);
        f.replyBytes = 9;
        break;
    }
    f.frame = TcpFrame(transactionId, f.function, data);
    return f;
}

std::optional<Reply> TcpCodec::reply(const TcpRequest& request, const QByteArray& block) {
    // Transaction id, protocol 0, length, unit, function: the reply starts the block (the
    // transport discards stale bytes before it).
    if (block.size() < 8) return std::nullopt;
    const auto at = [&block](int i) { return static_cast<unsigned char>(block[i]); };
    if ((at(0) << 8 | at(1)) != request.transactionId || at(2) != 0 || at(3) != 0)
        return std::nullopt;
    // The length field counts from the unit id; a write's echo is taken one byte short.
    const int length = at(4) << 8 | at(5);
    const int tail = request.function == Fn::WriteRegister ? 5 : 6;
    if (block.size() < length + tail) return std::nullopt;
    return Reply{LinkKind::Tcp, at(7), block.mid(8)};
}

} // namespace quma
