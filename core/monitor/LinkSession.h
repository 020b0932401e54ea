// One link to the controller at a time: the serial port with its channel, or the TCP client,
// wired to the engine. Connecting starts polling; disconnecting stops it.
#pragma once

#include "core/link/ComPort.h"
#include "core/link/SerialChannel.h"
#include "core/link/TcpClient.h"

#include <QObject>

namespace quma {

class MonitorEngine;

class LinkSession : public QObject {
    Q_OBJECT
public:
    explicit LinkSession(MonitorEngine& engine, QObject* parent = nullptr);
    ~LinkSession() override;

    ControllerPort& port() { return m_port; }
    TcpClient& tcp() { return m_tcp; }
    SerialChannel& channel() { return m_channel; }

    // Opens the device (a display name or a path) and starts polling; on failure returns false
    // with the port's error text.
    bool connectSerial(const QString& device, QString* error);
    // Starts a TCP connection to "host" or "host:port"; `connected` tells how it ended.
    bool connectTcp(const QString& hostPort, QString* error);
    void cancelConnect() { m_tcp.CancelConnect(); }
    void disconnectLink();
    bool isSerial() const { return m_serial; }
    // A link was made and not given up since (the controller may still be silent).
    bool isLinked() const { return m_linked; }
    QString linkName() const { return m_name; }

signals:
    void connected(bool ok, const QString& error);

private:
    MonitorEngine& m_engine;
    ControllerPort m_port;
    TcpClient m_tcp;
    SerialChannel m_channel;
    bool m_serial = false;
    bool m_awaiting = false;
    bool m_linked = false;
    QString m_name;
};

} // namespace quma
