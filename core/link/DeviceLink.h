// The request builder, the command kind selector RectMode, the pending write list and the receive
// path of both links.
#pragma once

#include "core/link/FrameCodec.h"
#include "core/link/FrameEvent.h"
#include "core/link/Transport.h"

#include <QObject>
#include <array>
#include <functional>

namespace quma {

// The one-byte command kind selector.
namespace RectMode {
constexpr std::uint8_t Poll = 0;
constexpr std::uint8_t NetRead = 2;
constexpr std::uint8_t HistoryPaging = 10;
constexpr std::uint8_t EventPaging = 11;
constexpr std::uint8_t TransferWait = 18;
constexpr std::uint8_t Setting = 20;
constexpr std::uint8_t NetWrite = 21;
constexpr std::uint8_t LogTransfer = 22;
constexpr std::uint8_t LogClear = 23;
} // namespace RectMode

enum class TransferKind : std::uint8_t { None = 0, Alarm = 1, Event = 2 };

// Writes queued by a dialog: positions 1..100, sent last queued first, one per acknowledgement.
struct PendingWriteList {
    static constexpr int Capacity = 100;
    std::array<int, Capacity + 1> reg{};
    std::array<int, Capacity + 1> value{};
    int count = 0;
};

struct RegWrite {
    int reg = 0;
    int value = 0;
};

class DeviceLink : public QObject {
    Q_OBJECT
public:
    // The longest serial frame any reply can make (the network identity record with both texts
    // at 255 bytes is about 1,200 characters); longer ones are noise and are dropped.
    static constexpr int MaxSerialFrame = 2048;
    // Trace lines show at most this many bytes of a frame.
    static constexpr int MaxTraceBytes = 4096;
    using TraceSink = std::function<void(const QByteArray& line)>;

    explicit DeviceLink(QObject* parent = nullptr);

    // Links. The link kind selects the encoding; both transports may be attached at once.
    void setLinkKind(LinkKind kind) { m_linkKind = kind; }
    LinkKind linkKind() const { return m_linkKind; }
    void setSerialTransport(ISerialTransport* t) { m_serial = t; }
    void setTcpTransport(ITcpTransport* t);
    ITcpTransport* tcpTransport() const { return m_tcp; }

    // Trace lines go to standard output unless another sink is set (an empty sink drops them).
    // Bytes from the controller reach a sink escaped (TraceText), never raw.
    void setTraceSink(TraceSink sink) { m_trace = std::move(sink); }
    void trace(const QByteArray& line) const {
        if (!m_trace) return;
        if (line.size() <= MaxTraceBytes) {
            m_trace(TraceText(line));
            return;
        }
        m_trace(TraceText(line.left(MaxTraceBytes)) + " ... (" +
                QByteArray::number(line.size() - MaxTraceBytes) + " bytes more)");
    }

    // Request builders.
    void ReadEnv(const QByteArray& function);
    void ReadPara(const QByteArray& start, const QByteArray& count);
    void WritePara(int reg, int value);
    void SendLogRequest(const QByteArray& station, const QByteArray& function, int number);
    void SendRequest(const QByteArray& body);
    // The network identity write: function 0x23 with a zero word and the block (serial) or 0x42
    // with the block (TCP).
    void SendNetworkIdentity(const QByteArray& payload);

    // Receive path.
    void SerialReceive(const QByteArray& block);
    void TcpReceive(const TcpRequest& request, const QByteArray& block, bool complete);
    void ResetReceive() {
        receiveState = 0;
        replyPending = false;
    }

    // Shared request values.
    std::uint8_t rectMode = RectMode::Poll;
    TransactionCounter counter;
    QByteArray pollStart = "0001";
    int pollCount = 131;
    QByteArray pollCountHex = "0083";
    int expectedSerialPollLength = 131 * 4 + 11;
    QByteArray expectedTcpByteCount = "FE";
    int alarmRecordReplySize = 43;
    RegWrite writeSlot;
    TransferKind transferKind = TransferKind::None;
    int transferStep = 1;
    int pageIndex = 0;
    QByteArray networkIdentityBlock;
    PendingWriteList pending;

    // Receive state, shared by both links.
    QByteArray replyBuffer;
    int receiveState = 0;
    bool frameReady = false;
    bool replyPending = false;
    QByteArray serialReply;
    QByteArray replyText;
    int expectedLength = 0;

signals:
    // A whole frame was handed over and waits for its dispatcher (reply-pending flag set).
    void serialReplyReady();
    void tcpReplyReady();
    // pnlConnect: true lime (sent on a connected client), false grey (reconnecting).
    void connectLamp(bool connected);
    // A TCP exchange ended without a complete reply (time-out, refused or lost connection).
    void tcpExchangeFailed(std::uint8_t function);
    // Every frame sent, received or dropped, and every exchange that timed out (the protocol
    // monitor and the session recorder listen; nothing is built when nobody does).
    void frameEvent(const quma::FrameEvent& event);

public:
    // A frame the transport dropped before the receive path saw it (stale TCP replies).
    void reportDropped(const QByteArray& bytes, const QString& why) {
        tap(FrameEvent::Dropped, bytes, why);
    }

private:
    void tap(FrameEvent::Kind kind, const QByteArray& bytes, const QString& note = {});
    bool tcpFrameFor(std::uint8_t mode, QByteArray* data, std::uint8_t* function, int* reply) const;

    LinkKind m_linkKind = LinkKind::Serial;
    ISerialTransport* m_serial = nullptr;
    ITcpTransport* m_tcp = nullptr;
    TraceSink m_trace;
    // A serial request went out and no frame has come back since.
    bool m_serialAwaiting = false;
};

} // namespace quma
