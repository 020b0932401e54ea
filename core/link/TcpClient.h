// The TCP client: asynchronous connect with a time limit, one exchange of exactly N reply bytes
// at a time with a 1000 ms read timeout, later requests waiting in order.
#pragma once

#include "core/link/Deadlines.h"
#include "core/link/Transport.h"

#include <QElapsedTimer>
#include <QList>
#include <QObject>
#include <QTcpSocket>

namespace quma {

// Splits "host" or "host:port" (port defaults to 502); false on a bad port.
bool ParseHostPort(const QString& text, QString* host, quint16* port);

// Gathers the reply to one exchange from whatever arrives: bytes in front of it (a late reply to
// an earlier transaction, garbage) are skipped, and it never holds more than the one block.
class TcpReplyAssembler {
public:
    // Length fields a stale reply of this protocol can have (its longest reply is the poll).
    static constexpr int MaxStaleLength = 300;

    void start(std::uint16_t transactionId, int replyBytes);
    // Takes bytes until the block is complete; returns how many it took.
    qsizetype feed(const char* data, qsizetype size);
    bool complete() const { return m_block.size() == m_replyBytes; }
    const QByteArray& block() const { return m_block; }
    // Bytes skipped since start().
    qsizetype discarded() const { return m_discarded; }
    // The headers of late replies skipped whole since start() (their first six bytes).
    const QList<QByteArray>& staleHeaders() const { return m_stale; }

private:
    bool headerMatches() const;

    char m_header[4] = {};
    int m_replyBytes = 0;
    QByteArray m_block;
    qsizetype m_skip = 0;
    qsizetype m_discarded = 0;
    QList<QByteArray> m_stale;
};

class TcpClient : public ITcpTransport {
    Q_OBJECT
public:
    explicit TcpClient(QObject* parent = nullptr);
    // Closes the socket without calling back: the members its signals reach go first.
    ~TcpClient() override;

    QString Host;
    quint16 Port = 502;
    // An exchange ends this long after its request at the latest, however the reply trickles.
    int ReadTimeout = 1000;
    // Bytes held by the socket at most; what a peer sends beyond it waits in the network.
    static constexpr qint64 ReadBufferBytes = 4096;
    // Bytes one exchange skips before it gives up on a peer that sends what nobody asked for.
    static constexpr qsizetype MaxDiscardBytes = 64 * 1024;
    int ConnectTimeout = 120000;

    // Starts a connection attempt; `connectFinished` tells how it ended. Raises nothing: an
    // attempt while connected ends at once with "Already connected.".
    void Connect();
    void CancelConnect();
    bool Connected() const;
    bool Connecting() const { return m_connecting; }
    // Closes the socket if open and emits disconnected in every case.
    void Disconnect();
    QString lastError() const { return m_lastError; }

    // ITcpTransport
    bool isConnected() const override { return Connected(); }
    void reconnect() override;
    void exchange(const TcpRequest& request) override;
    bool isQueued(std::uint8_t function) const override;

    // For a fleet of thousands of links, before the first connection: the time-outs go into
    // `queue` (shared by the links of one thread) instead of timers of their own, and the socket
    // is unbuffered (Qt's buffers would keep some 48 KB a link): replies are read from the
    // system straight into the assembler, and what comes between exchanges is dropped.
    void useFleetMode(DeadlineQueue* queue);

signals:
    void connectFinished(bool ok, const QString& error);
    void connected();
    // Disconnect() was called or the peer closed the connection.
    void disconnected();
    // A late reply skipped while waiting for another: its header and why.
    void replySkipped(const QByteArray& header, const QString& why);

private:
    void startNext();
    void finishExchange(bool complete, const QString& error);
    void failAll(const QString& error);
    void onReadyRead();
    void onConnected();
    void onSocketError();
    void onReadTimeout();
    void onPeerClosed();
    void closedWhileReading();

    QTcpSocket m_socket;
    Timeout m_connectTimer;
    Timeout m_readTimer;
    bool m_connecting = false;
    bool m_busy = false;
    bool m_fleet = false;
    TcpRequest m_current;
    TcpReplyAssembler m_reply;
    QList<TcpRequest> m_queue;
    QString m_lastError;
};

} // namespace quma
