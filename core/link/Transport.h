// The two small interfaces the request path sends through: a serial byte sink and a TCP exchanger.
#pragma once

#include <QByteArray>
#include <QObject>
#include <cstdint>

namespace quma {

// Serial side: writing starts at once and never waits for completion; replies come back through
// DeviceLink::receiveSerial whenever the port delivers bytes.
class ISerialTransport {
public:
    virtual ~ISerialTransport() = default;
    // Returns false when the bytes could not be handed to the port (closed, device gone).
    virtual bool writeBytes(const QByteArray& bytes) = 0;
};

// One request over TCP: the frame, the exact number of reply bytes to collect, and what the
// receive path needs to recognise its reply.
struct TcpRequest {
    QByteArray frame;
    int replyBytes = 0;
    std::uint16_t transactionId = 0;
    std::uint8_t function = 0;
};

// TCP side: one exchange at a time. A request made while another is in flight waits its turn.
// When an exchange ends, the transport emits exchangeFinished with the block it read: exactly
// replyBytes bytes when complete is true; complete is false after a time-out, a refused or lost
// connection. Bytes left over from an earlier exchange are discarded before the next one is sent.
class ITcpTransport : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    ~ITcpTransport() override = default;
    virtual bool isConnected() const = 0;
    // Drop the connection and connect again with the default time limit; queued exchanges go out
    // once connected (or fail if the connection cannot be made).
    virtual void reconnect() = 0;
    virtual void exchange(const TcpRequest& request) = 0;
    // True while a request with this function code waits in the queue (not yet sent).
    virtual bool isQueued(std::uint8_t function) const = 0;

signals:
    void exchangeFinished(const quma::TcpRequest& request, const QByteArray& block, bool complete);

protected:
    void deliver(const TcpRequest& request, const QByteArray& block, bool complete) {
        emit exchangeFinished(request, block, complete);
    }
};

} // namespace quma
