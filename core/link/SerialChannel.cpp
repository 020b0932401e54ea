// Binds the serial port to the request path: writes frames, and hands received blocks to the
// receive path while the serial link is in use (otherwise the receive event closes the port).
#include "core/link/SerialChannel.h"

namespace quma {

SerialChannel::SerialChannel(TCustomComPort& port, DeviceLink& link) : m_port(port), m_link(link) {
    connect(&m_port, &TCustomComPort::rxChar, this, &SerialChannel::rxChar);
}

bool SerialChannel::writeBytes(const QByteArray& bytes) {
    try {
        m_port.WriteString(bytes);
        return true;
    } catch (const EComError&) {
        return false; // a failed write is swallowed; the poll goes on
    } catch (const EComAbort&) {
        return false;
    }
}

void SerialChannel::rxChar() {
    if (!m_inUse) {
        m_port.Close();
        return;
    }
    QByteArray block;
    try {
        m_port.ReadString(block);
    } catch (const EComError&) {
        return;
    } catch (const EComAbort&) {
        return;
    }
    m_link.receiveSerial(block);
}

} // namespace quma
