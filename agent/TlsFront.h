// TLS in front of the metrics endpoint: prometheus-cpp's HTTP server (civetweb as Debian builds
// it) does not complete a TLS handshake, so the agent terminates TLS itself with Qt's TLS backend
// and passes each connection's bytes to the endpoint, which listens on loopback only. It lives in
// a thread of its own; at most MaxConnections are open, a handshake that does not finish within
// HandshakeMs is dropped.
#pragma once

#include "agent/WebConfig.h"

#include <QObject>
#include <QSslConfiguration>
#include <QSslServer>

namespace quma::agent {

class TlsFront : public QObject {
    Q_OBJECT
public:
    static constexpr int MaxConnections = 64;
    static constexpr int HandshakeMs = 5000;

    TlsFront(const WebConfig& config, quint16 backendPort, QObject* parent = nullptr);

    // In its thread; false with the reason.
    bool listen(const QString& hostPort, QString* error);
    quint16 port() const { return m_server.serverPort(); }

private:
    void accept();

    const WebConfig m_config;
    const quint16 m_backendPort;
    QSslServer m_server;
    int m_open = 0;
};

} // namespace quma::agent
