// The TCP client: asynchronous connect with a time limit, one exchange of exactly N reply bytes
// at a time with a 1000 ms read timeout, later requests waiting in order.
#include "core/link/TcpClient.h"

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

TcpClient::TcpClient(QObject* parent) : QObject(parent) {
    m_connectTimer.setSingleShot(true);
    m_readTimer.setSingleShot(true);
    connect(&m_connectTimer, &QTimer::timeout, this, [this] {
        m_socket.abort();
        m_connecting = false;
        m_lastError = "Connect timed out.";
        emit connectFinished(false, m_lastError);
        failAll(m_lastError);
    });
    connect(&m_readTimer, &QTimer::timeout, this, &TcpClient::onReadTimeout);
    connect(&m_socket, &QTcpSocket::connected, this, &TcpClient::onConnected);
    connect(&m_socket, &QTcpSocket::readyRead, this, &TcpClient::onReadyRead);
    connect(&m_socket, &QTcpSocket::errorOccurred, this, &TcpClient::onSocketError);
    connect(&m_socket, &QTcpSocket::disconnected, this, [this] {
        if (m_busy) finishExchange(false, "Connection Closed Gracefully.");
        if (OnDisconnected) OnDisconnected();
        failAll("Not Connected");
    });
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
    m_socket.connectToHost(Host, Port);
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
    if (OnDisconnected) OnDisconnected();
}

void TcpClient::reconnect() {
    if (m_connecting) return;
    Disconnect();
    Connect();
}

void TcpClient::onConnected() {
    m_connectTimer.stop();
    m_connecting = false;
    if (OnConnected) OnConnected();
    emit connectFinished(true, {});
    startNext();
}

void TcpClient::onSocketError() {
    const QString text = m_socket.errorString();
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
    // become the start of this reply.
    m_socket.readAll();
    m_buffer.clear();
    m_socket.write(m_current.frame);
    m_readTimer.start(ReadTimeout);
}

void TcpClient::onReadyRead() {
    if (!m_busy) return; // stale bytes wait to be discarded before the next exchange
    m_buffer += m_socket.read(m_current.replyBytes - m_buffer.size());
    if (m_buffer.size() >= m_current.replyBytes) {
        finishExchange(true, {});
        return;
    }
    m_readTimer.start(ReadTimeout); // the timeout counts silence
}

void TcpClient::onReadTimeout() {
    if (m_busy) finishExchange(false, "Read Timeout");
}

void TcpClient::finishExchange(bool complete, const QString& error) {
    m_readTimer.stop();
    m_busy = false;
    const TcpRequest done = m_current;
    const QByteArray block = m_buffer;
    m_buffer.clear();
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
