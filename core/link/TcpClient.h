// The TCP client: asynchronous connect with a time limit, one exchange of exactly N reply bytes
// at a time with a 1000 ms read timeout, later requests waiting in order.
#pragma once

#include "core/link/Transport.h"

#include <QElapsedTimer>
#include <QList>
#include <QObject>
#include <QTcpSocket>
#include <QTimer>
#include <functional>

namespace quma {

// Splits "host" or "host:port" (port defaults to 502); false on a bad port.
bool ParseHostPort(const QString& text, QString* host, quint16* port);

class TcpClient : public QObject, public ITcpTransport {
    Q_OBJECT
public:
    explicit TcpClient(QObject* parent = nullptr);

    QString Host;
    quint16 Port = 502;
    int ReadTimeout = 1000;
    int ConnectTimeout = 120000;

    // Starts a connection attempt; `connectFinished` tells how it ended. Raises nothing: an
    // attempt while connected ends at once with "Already connected.".
    void Connect();
    void CancelConnect();
    bool Connected() const;
    bool Connecting() const { return m_connecting; }
    // Closes the socket if open and fires OnDisconnected in every case.
    void Disconnect();
    QString lastError() const { return m_lastError; }

    // ITcpTransport
    bool isConnected() const override { return Connected(); }
    void reconnect() override;
    void exchange(const TcpRequest& request) override;
    bool isQueued(std::uint8_t function) const override;

    std::function<void()> OnConnected;
    std::function<void()> OnDisconnected;

signals:
    void connectFinished(bool ok, const QString& error);

private:
    void startNext();
    void finishExchange(bool complete, const QString& error);
    void failAll(const QString& error);
    void onReadyRead();
    void onConnected();
    void onSocketError();
    void onReadTimeout();

    QTcpSocket m_socket;
    QTimer m_connectTimer;
    QTimer m_readTimer;
    bool m_connecting = false;
    bool m_busy = false;
    TcpRequest m_current;
    QByteArray m_buffer;
    QList<TcpRequest> m_queue;
    QString m_lastError;
};

} // namespace quma
