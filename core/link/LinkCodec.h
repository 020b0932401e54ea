// The two links' wire forms, each in one place: how a request is framed (serial: colon, hex
// text, LRC, CR LF; TCP: the seven-byte header with the transaction id) and how a received frame
// becomes a reply. DeviceLink uses the codec of the link kind it is set to.
#pragma once

#include "core/link/Request.h"
#include "core/link/Transport.h"

#include <optional>

namespace quma {

// A request as it goes on the wire: the frame, its function code and, over TCP, the number of
// bytes its reply has.
struct FramedRequest {
    QByteArray frame;
    std::uint8_t function = 0;
    int replyBytes = 0;
};

class LinkCodec {
public:
    virtual ~LinkCodec() = default;
    virtual LinkKind kind() const = 0;
    // Frames a request under a transaction id (the serial frame carries none).
    virtual FramedRequest frame(const Request& request, std::uint16_t transactionId) = 0;
};

class SerialCodec : public LinkCodec {
public:
    LinkKind kind() const override { return LinkKind::Serial; }
    FramedRequest frame(const Request& request, std::uint16_t transactionId) override;
    // The reply a received frame (":" ... CR LF) carries, or nothing when its LRC or hex text is
    // wrong or its function is none the console reads.
    static std::optional<Reply> reply(const QByteArray& frame);
};

class TcpCodec : public LinkCodec {
public:
    // The alarm-history record reply's size.
    static constexpr int AlarmRecordReplyBytes = 43;

    LinkKind kind() const override { return LinkKind::Tcp; }
    FramedRequest frame(const Request& request, std::uint16_t transactionId) override;
    // The reply in the block an exchange read for `request`: nothing when the block is not
    // that transaction's reply or is shorter than its own length field says.
    static std::optional<Reply> reply(const TcpRequest& request, const QByteArray& block);

private:
    // The count queries carry the low byte of the last page requested (0 before the first).
    int m_lastPage = 0;
};

} // namespace quma
