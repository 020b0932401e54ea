// The two links' reply payloads: the serial link's hex text, the TCP link's bytes.
#include "core/monitor/ReplyDecoding.h"

#include <QCoreApplication>

namespace quma {

namespace {
// ":" + station + function + byte count (4) + 131 fields of 4 hex characters + LRC (2).
constexpr int kSerialPollLength = kRegisterCount * 4 + 11;
constexpr unsigned char kTcpPollByteCount = 0xFE;

const ReplyDecoding serial{
    [](const QByteArray& text) -> std::optional<RegisterImage> {
        if (text.size() != kSerialPollLength) return std::nullopt;
        return DecodePollSerial(text);
    },
    [](const QByteArray& text) {
        // Count (4 hex characters) and record follow station and function; then the LRC.
        QByteArray hex = text.mid(5);
        hex.chop(2);
        return DecodeNetworkIdentity(HexToBytes(hex));
    },
    &DecodeCountSerial,
    [](std::uint8_t function, const QByteArray&) {
        return function == Fn::AlarmClear ? TransferKind::Alarm : TransferKind::Event;
    },
    QT_TRANSLATE_NOOP("MonitorEngine", " Event log Initial Sucess!!"),
};

const ReplyDecoding tcp{
    [](const QByteArray& data) -> std::optional<RegisterImage> {
        // The byte count first: the controller always says 0xFE.
        if (data.isEmpty() || static_cast<unsigned char>(data[0]) != kTcpPollByteCount)
            return std::nullopt;
        return DecodePollTcp(data.mid(1));
    },
    &DecodeNetworkIdentity,
    &DecodeCountTcp,
    [](std::uint8_t, const QByteArray& data) {
        // Either clear function answers with the kind it cleared.
        if (data.isEmpty()) return TransferKind::None;
        if (data[0] == 1) return TransferKind::Alarm;
        if (data[0] == 2) return TransferKind::Event;
        return TransferKind::None;
    },
    QT_TRANSLATE_NOOP("MonitorEngine", " Event Initial Sucess!!"),
};
} // namespace

const ReplyDecoding& ReplyDecoding::of(LinkKind link) {
    return link == LinkKind::Tcp ? tcp : serial;
}

} // namespace quma
