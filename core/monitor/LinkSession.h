// One link to the controller at a time: the serial port with its channel, or the TCP client,
// wired to the engine. Connecting starts polling; disconnecting stops it.
#pragma once

#include "core/link/ComPort.h"
#include "core/link/SerialChannel.h"
#include "core/link/TcpClient.h"

#include <QObject>

namespace quma {

class TMonitorEngine;

class TLinkSession : public QObject {
    Q_OBJECT
public:
    explicit TLinkSession(TMonitorEngine& engine, QObject* parent = nullptr);
    ~TLinkSession() override;

    tcomport2& port() { return m_port; }
    TTcpClient& tcp() { return m_tcp; }
    TSerialChannel& channel() { return m_channel; }

    // Opens the device (a display name or a path) and starts polling; on failure returns false
    // with the port's error text.
    bool connectSerial(const QString& device, QString* error);
    // Starts a TCP connection to "host" or "host:port"; `connected` tells how it ended.
    bool connectTcp(const QString& hostPort, QString* error);
    void cancelConnect() { m_tcp.CancelConnect(); }
    void disconnectLink();
    bool isSerial() const { return m_serial; }
    QString linkName() const { return m_name; }

signals:
    void connected(bool ok, const QString& error);

private:
    TMonitorEngine& m_engine;
    tcomport2 m_port;
    TTcpClient m_tcp;
    TSerialChannel m_channel;
    bool m_serial = false;
    bool m_awaiting = false;
    QString m_name;
};

} // namespace quma
