// One link to the controller: sends requests through the link's codec and transport, assembles
// each reply once and hands it on as a value.
#pragma once

#include "core/link/FrameEvent.h"
#include "core/link/LinkCodec.h"
#include "core/link/Transport.h"

#include <QObject>
#include <functional>

namespace quma {

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
    ~DeviceLink() override;

    // The link kind selects the codec; both transports may be attached at once.
    void setLinkKind(LinkKind kind);
    LinkKind linkKind() const { return m_codec->kind(); }
    void setSerialTransport(ISerialTransport* t) { m_serial = t; }
    void setTcpTransport(ITcpTransport* t);

    // Trace lines go to standard output unless another sink is set (an empty sink drops them).
    // Bytes from the controller reach a sink escaped (TraceText), never raw.
    void setTraceSink(TraceSink sink) { m_trace = std::move(sink); }
    void trace(const QByteArray& line) const;

    // Frames the request with the next transaction id and sends it. A register write outside
    // 0..65535 is not sent (callers refuse it first); a poll waiting for its turn on the TCP link
    // is not queued twice.
    void send(const Request& request);
    // The transaction id the next request gets (tests that build replies ahead use it).
    void setNextTransactionId(std::uint16_t id) {
        m_counter.set(static_cast<std::uint16_t>(id - 1));
    }

    // Bytes the serial port delivered.
    void receiveSerial(const QByteArray& block);
    // Forgets a serial frame half received: reception starts again at the next colon.
    void resetReceive() { m_serialState = SerialState::AwaitColon; }

    // A frame the transport dropped before the receive path saw it (stale TCP replies).
    void reportDropped(const QByteArray& bytes, const QString& why) {
        tap(FrameEvent::Dropped, bytes, why);
    }

signals:
    // A valid reply arrived (on TCP: the reply to `function`'s exchange, matched by its id).
    void replyReceived(const quma::Reply& reply);
    // A TCP exchange ended without a complete reply (time-out, refused or lost connection).
    void exchangeFailed(std::uint8_t function);
    // pnlConnect: true lime (sent on a connected client), false grey (reconnecting).
    void connectLamp(bool connected);
    // Every frame sent, received or dropped, and every exchange that timed out (the protocol
    // monitor and the session recorder listen; nothing is built when nobody does).
    void frameEvent(const quma::FrameEvent& event);

private:
    enum class SerialState { AwaitColon, InFrame, AwaitLineFeed, Complete };

    void tap(FrameEvent::Kind kind, const QByteArray& bytes, const QString& note = {});
    void sendTcp(const FramedRequest& framed, std::uint16_t transactionId);
    void sendSerial(const FramedRequest& framed);
    void serialFrameComplete();
    void exchangeFinished(const TcpRequest& request, const QByteArray& block, bool complete);

    // Both codecs live as long as the link: the TCP one remembers the last page requested.
    SerialCodec m_serialCodec;
    TcpCodec m_tcpCodec;
    LinkCodec* m_codec = &m_serialCodec;
    TransactionCounter m_counter;
    ISerialTransport* m_serial = nullptr;
    ITcpTransport* m_tcp = nullptr;
    TraceSink m_trace;
    // The serial frame being received.
    QByteArray m_serialFrame;
    SerialState m_serialState = SerialState::AwaitColon;
    // A serial request went out and no frame has come back since.
    bool m_serialAwaiting = false;
};

} // namespace quma
