// The TCP client: asynchronous connect with a time limit, one exchange of exactly N reply bytes
// at a time with a 1000 ms read timeout, later requests waiting in order.
#include "core/link/TcpClient.h"

#include <QCoreApplication>
#include <utility>

namespace quma {

bool ParseHostPort(const QString& text, QString* host, quint16* port) {
    const QString t = text.trimmed();
    const int colon = t.lastIndexOf(':');
    // A bare IPv6 address has several colons; only "host:port" splits.
    if (colon > 0 && t.count(':') == 1) {
        bool ok = false;
        const uint p = t.mid(colon + 1).toUInt(&ok);
        if (!ok || p == 0 || p > 65535) return false;
        *host = t.left(colon);
        *port = static_cast<quint16>(p);
        return true;
    }
    *host = t;
    *port = 502;
    return !t.isEmpty();
}

void TcpReplyAssembler::start(std::uint16_t transactionId, int replyBytes) {
    m_header[0] = static_cast<char>(transactionId >> 8);
    m_header[1] = static_cast<char>(transactionId & 0xFF);
    m_header[2] = m_header[3] = 0; // protocol id
    m_replyBytes = std::max(replyBytes, 0);
    m_block.clear();
    m_block.reserve(m_replyBytes);
    m_skip = 0;
    m_discarded = 0;
    m_stale.clear();
}

bool TcpReplyAssembler::headerMatches() const {
    for (qsizetype k = 0; k < std::min<qsizetype>(m_block.size(), 4); ++k)
        if (m_block[k] != m_header[k]) return false;
    return true;
}

qsizetype TcpReplyAssembler::feed(const char* data, qsizetype size) {
    qsizetype used = 0;
    while (used < size && !complete()) {
        if (m_skip > 0) {
            const qsizetype n = std::min(m_skip, size - used);
            m_skip -= n;
            m_discarded += n;
            used += n;
            continue;
        }
        m_block.append(data[used++]);
        while (!m_block.isEmpty() && !headerMatches()) {
            const auto at = [&](int k) { return static_cast<unsigned char>(m_block[k]); };
            // Every reply carries protocol id 0 in bytes 2 and 3: with another transaction id in
            // front it is a late reply to an earlier request, skipped whole by its length.
            bool protocolZero = true;
            for (int k = 2; k < std::min<qsizetype>(m_block.size(), 4); ++k)
                protocolZero = protocolZero && at(k) == 0;
            if (protocolZero && m_block.size() < 6) break; // wait for its length field
            if (protocolZero) {
                const int length = (at(4) << 8) | at(5);
                if (length <= MaxStaleLength) {
                    if (m_stale.size() < 16) m_stale.append(m_block.left(6));
                    m_discarded += m_block.size();
                    m_block.clear();
                    m_skip = length;
                    break;
                }
            }
            m_block.remove(0, 1); // garbage: look for the reply one byte further on
            ++m_discarded;
        }
    }
    return used;
}

TcpClient::TcpClient(QObject* parent)
    : ITcpTransport(parent), m_connectTimer([this] {
          m_socket.abort();
          m_connecting = false;
          m_lastError =
              QCoreApplication::translate("TcpClient", "timed out: no answer from the controller");
          emit connectFinished(false, m_lastError);
          failAll(m_lastError);
      }),
      m_readTimer([this] { onReadTimeout(); }) {
    m_socket.setReadBufferSize(ReadBufferBytes);
    connect(&m_socket, &QTcpSocket::connected, this, &TcpClient::onConnected);
    connect(&m_socket, &QTcpSocket::readyRead, this, &TcpClient::onReadyRead);
    connect(&m_socket, &QTcpSocket::errorOccurred, this, &TcpClient::onSocketError);
    connect(&m_socket, &QTcpSocket::disconnected, this, &TcpClient::onPeerClosed);
}

TcpClient::~TcpClient() {
    m_socket.disconnect(this);
    m_socket.abort();
}

void TcpClient::useFleetMode(DeadlineQueue* queue) {
    m_fleet = true;
    m_connectTimer.share(queue);
    m_readTimer.share(queue);
}

bool TcpClient::Connected() const {
    return m_socket.state() == QAbstractSocket::ConnectedState;
}

void TcpClient::Connect() {
    if (Connected()) {
        m_lastError = "Already connected.";
        emit connectFinished(false, m_lastError);
        return;
    }
    if (m_connecting) return;
    m_connecting = true;
    m_socket.abort();
    m_connectTimer.start(ConnectTimeout);
    m_socket.connectToHost(
        Host, Port, m_fleet ? QIODevice::ReadWrite | QIODevice::Unbuffered : QIODevice::ReadWrite);
}

void TcpClient::CancelConnect() {
    if (!m_connecting) return;
    m_connectTimer.stop();
    m_connecting = false;
    m_socket.abort();
    m_lastError = "Connect cancelled.";
    emit connectFinished(false, m_lastError);
    failAll(m_lastError);
}

void TcpClient::Disconnect() {
    m_connectTimer.stop();
    const bool wasConnecting = m_connecting;
    m_connecting = false;
    const QSignalBlocker block(&m_socket);
    m_socket.abort();
    if (m_busy) finishExchange(false, "Not Connected");
    if (wasConnecting) emit connectFinished(false, "Disconnected.");
    failAll("Not Connected");
    emit disconnected();
}

void TcpClient::reconnect() {
    if (m_connecting) return;
    Disconnect();
    Connect();
}

void TcpClient::onConnected() {
    m_connectTimer.stop();
    m_connecting = false;
    emit connected();
    emit connectFinished(true, {});
    startNext();
}

void TcpClient::onSocketError() {
    // The common failures in words an engineer can act on; the system's own text otherwise.
    QString text = m_socket.errorString();
    switch (m_socket.error()) {
    case QAbstractSocket::ConnectionRefusedError:
        text = QCoreApplication::translate(
            "TcpClient", "connection refused: nothing answers on that port of the controller");
        break;
    case QAbstractSocket::HostNotFoundError:
        text = QCoreApplication::translate("TcpClient", "host not found");
        break;
    case QAbstractSocket::SocketTimeoutError:
        text = QCoreApplication::translate("TcpClient", "timed out");
        break;
    default:
        break;
    }
    if (m_connecting) {
        m_connectTimer.stop();
        m_connecting = false;
        m_lastError = text;
        emit connectFinished(false, text);
        failAll(text);
        return;
    }
    // RemoteHostClosed is handled by the disconnected signal.
    if (m_socket.error() == QAbstractSocket::RemoteHostClosedError) return;
    m_lastError = text;
    if (m_busy) finishExchange(false, text);
}

void TcpClient::exchange(const TcpRequest& request) {
    m_queue.append(request);
    startNext();
}

bool TcpClient::isQueued(std::uint8_t function) const {
    for (const TcpRequest& r : m_queue)
        if (r.function == function) return true;
    return false;
}

void TcpClient::startNext() {
    if (m_busy || m_connecting || m_queue.isEmpty()) return;
    if (!Connected()) {
        failAll("Not Connected");
        return;
    }
    m_current = m_queue.takeFirst();
    m_busy = true;
    // Bytes left from an earlier exchange (a short reply that timed out, an unread tail) never
    // become the start of this reply; a late one that comes later is skipped by the assembler.
    m_socket.skip(m_socket.bytesAvailable());
    m_reply.start(m_current.transactionId, m_current.replyBytes);
    m_socket.write(m_current.frame);
    m_readTimer.start(ReadTimeout);
}

void TcpClient::onReadyRead() {
    // Between exchanges nothing is read: the socket holds at most ReadBufferBytes and a peer
    // that sends unasked waits in the network, costing no memory and no time here. Unbuffered,
    // the socket learns that the peer closed only by reading: what comes is read and dropped.
    if (!m_busy) {
        if (m_fleet) {
            m_socket.skip(std::max<qint64>(1, m_socket.bytesAvailable()));
            closedWhileReading();
        }
        return;
    }
    char chunk[4096];
    // Unbuffered, a notification with nothing available is the end of the stream: read once.
    bool first = m_fleet;
    while (m_busy && (std::exchange(first, false) || m_socket.bytesAvailable() > 0)) {
        const qint64 n = m_socket.read(chunk, sizeof chunk);
        if (n <= 0) {
            closedWhileReading();
            return;
        }
        m_reply.feed(chunk, n); // what follows a complete block is excess: dropped
        if (m_reply.complete()) {
            finishExchange(true, {});
            return;
        }
        if (m_reply.discarded() > MaxDiscardBytes) {
            finishExchange(false, "The controller sends what was not asked for.");
            return;
        }
    }
}

void TcpClient::closedWhileReading() {
    // An unbuffered socket that reads the end of the stream closes without a signal.
    if (m_fleet && m_socket.state() == QAbstractSocket::UnconnectedState) onPeerClosed();
}

void TcpClient::onPeerClosed() {
    if (m_busy) finishExchange(false, "Connection Closed Gracefully.");
    emit disconnected();
    failAll("Not Connected");
}

void TcpClient::onReadTimeout() {
    if (m_busy) finishExchange(false, "Read Timeout");
}

void TcpClient::finishExchange(bool complete, const QString& error) {
    m_readTimer.stop();
    m_busy = false;
    const TcpRequest done = m_current;
    const QByteArray block = complete ? m_reply.block() : QByteArray();
    for (const QByteArray& h : m_reply.staleHeaders())
        emit replySkipped(h, QString("transaction id %1 expected %2")
                                 .arg(uchar(h[0]) << 8 | uchar(h[1]))
                                 .arg(done.transactionId));
    m_reply.start(0, 0);
    if (!complete) m_lastError = error;
    deliver(done, block, complete);
    startNext();
}

void TcpClient::failAll(const QString& error) {
    while (!m_queue.isEmpty()) {
        const TcpRequest r = m_queue.takeFirst();
        m_lastError = error;
        deliver(r, {}, false);
    }
}

} // namespace quma
