// One link to the controller at a time: the serial port with its channel, or the TCP client,
// wired to the engine. Connecting starts polling; disconnecting stops it.
#include "core/monitor/LinkSession.h"

#include "core/link/PortList.h"
#include "core/monitor/MonitorEngine.h"

namespace quma {

LinkSession::LinkSession(MonitorEngine& engine, QObject* parent)
    : QObject(parent), m_engine(engine), m_channel(m_port, engine.link()) {
    m_port.setObjectName("ComPort11");
    engine.link().setSerialTransport(&m_channel);
    engine.link().setTcpTransport(&m_tcp);
    connect(&m_tcp, &TcpClient::replySkipped, &engine.link(), &DeviceLink::reportDropped);
    connect(&m_tcp, &TcpClient::connectFinished, this, [this](bool ok, const QString& error) {
        // Only the user's connect starts polling; the sender's own reconnects change nothing.
        if (m_serial || !m_awaiting) return;
        m_awaiting = false;
        m_linked = ok;
        if (ok) {
            m_engine.startPolling(LinkKind::Tcp);
        } else {
            m_engine.stopPolling();
        }
        emit connected(ok, error);
    });
}

LinkSession::~LinkSession() {
    m_engine.link().setSerialTransport(nullptr);
    m_engine.link().setTcpTransport(nullptr);
}

bool LinkSession::connectSerial(const QString& device, QString* error) {
    m_tcp.Disconnect();
    m_serial = true;
    m_linked = false;
    m_name = PortDisplayName(PortDeviceName(device));
    try {
        m_port.Close();
        m_port.setDeviceName(PortDeviceName(device));
        m_port.Open();
    } catch (const EComError& e) {
        if (error) *error = QString::fromStdString(e.what());
        return false;
    } catch (const EComAbort&) {
        if (error) *error = "aborted";
        return false;
    }
    m_channel.setInUse(true);
    m_linked = true;
    m_name = PortDisplayName(m_port.DeviceName());
    m_engine.startPolling(LinkKind::Serial);
    m_engine.setTimer1(true, 300);
    return true;
}

bool LinkSession::connectTcp(const QString& hostPort, QString* error) {
    QString host;
    quint16 port = 502;
    if (!ParseHostPort(hostPort, &host, &port)) {
        if (error) *error = QString("'%1' is not a host or host:port").arg(hostPort);
        return false;
    }
    m_serial = false;
    m_linked = false;
    m_channel.setInUse(false);
    m_port.Close();
    m_engine.link().setLinkKind(LinkKind::Tcp);
    m_tcp.Host = host;
    m_tcp.Port = port;
    m_name = hostPort.trimmed();
    m_tcp.Disconnect();
    m_awaiting = true;
    m_tcp.Connect();
    return true;
}

void LinkSession::disconnectLink() {
    m_awaiting = false;
    m_linked = false;
    m_engine.stopPolling();
    m_channel.setInUse(false);
    m_tcp.Disconnect();
}

} // namespace quma
