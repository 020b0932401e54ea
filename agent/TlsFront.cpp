// TLS terminated by the agent, the bytes passed to the loopback endpoint.
#include "agent/TlsFront.h"

#include "agent/AgentConfig.h"

#include "core/io/ReadFile.h"

#include <QHostAddress>
#include <QSslKey>
#include <QSslSocket>
#include <QTcpSocket>
#include <QTimer>

namespace quma::agent {

TlsFront::TlsFront(const WebConfig& config, quint16 backendPort, QObject* parent)
    : QObject(parent), m_config(config), m_backendPort(backendPort), m_server(this) {
    connect(&m_server, &QTcpServer::pendingConnectionAvailable, this, &TlsFront::accept);
}

bool TlsFront::listen(const QString& hostPort, QString* error) {
    QString why;
    const auto cert = ReadWholeFile(m_config.certFile, 1 << 20, "certificate", &why);
    const auto key = ReadWholeFile(m_config.keyFile, 1 << 20, "key", &why);
    if (!cert || !key) {
        *error = why;
        return false;
    }
    QSslConfiguration tls = QSslConfiguration::defaultConfiguration();
    const QList<QSslCertificate> chain = QSslCertificate::fromData(*cert, QSsl::Pem);
    tls.setLocalCertificateChain(chain);
    QSslKey k(*key, QSsl::Rsa);
    if (k.isNull()) k = QSslKey(*key, QSsl::Ec);
    tls.setPrivateKey(k);
    tls.setProtocol(QSsl::TlsV1_2OrLater);
    if (m_config.requireClientCert) {
        tls.setCaCertificates(QSslCertificate::fromPath(m_config.clientCaFile));
        tls.setPeerVerifyMode(QSslSocket::VerifyPeer);
    } else {
        tls.setPeerVerifyMode(QSslSocket::VerifyNone);
    }
    m_server.setSslConfiguration(tls);
    m_server.setHandshakeTimeout(HandshakeMs);
    quint16 port = 0;
    const QHostAddress address = ListenAddress(hostPort, 0, &port);
    if (!m_server.listen(address.isNull() ? QHostAddress::Any : address, port)) {
        *error = QString("cannot serve metrics on %1: %2").arg(hostPort, m_server.errorString());
        return false;
    }
    return true;
}

void TlsFront::accept() {
    while (QTcpSocket* next = m_server.nextPendingConnection()) {
        auto* client = qobject_cast<QSslSocket*>(next);
        if (!client || m_open >= MaxConnections) {
            next->abort();
            next->deleteLater();
            continue;
        }
        ++m_open;
        auto* backend = new QTcpSocket(client);
        const auto pass = [](QAbstractSocket* from, QAbstractSocket* to) {
            if (to->state() == QAbstractSocket::ConnectedState) to->write(from->readAll());
        };
        connect(client, &QSslSocket::readyRead, backend, [=] { pass(client, backend); });
        connect(backend, &QTcpSocket::connected, client, [=] { pass(client, backend); });
        connect(backend, &QTcpSocket::readyRead, client, [=] { pass(backend, client); });
        const auto close = [this, client] {
            if (client->property("closing").toBool()) return;
            client->setProperty("closing", true);
            --m_open;
            client->disconnectFromHost();
            client->deleteLater(); // its backend with it
        };
        connect(backend, &QTcpSocket::disconnected, client, [=] {
            pass(backend, client);
            close();
        });
        connect(backend, &QTcpSocket::errorOccurred, client, close);
        connect(client, &QSslSocket::disconnected, client, close);
        connect(client, &QSslSocket::errorOccurred, client, close);
        backend->connectToHost(QHostAddress::LocalHost, m_backendPort);
    }
}

} // namespace quma::agent
