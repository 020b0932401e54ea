// Binds the serial port to the request path: writes frames, and hands received blocks to the
// receive path while the serial link is in use (otherwise the receive event closes the port).
#pragma once

#include "core/link/ComPort.h"
#include "core/link/DeviceLink.h"
#include "core/link/Transport.h"

#include <QObject>

namespace quma {

class SerialChannel : public QObject, public ISerialTransport {
    Q_OBJECT
public:
    SerialChannel(TCustomComPort& port, DeviceLink& link);

    // Serial-in-use flag.
    void setInUse(bool inUse) { m_inUse = inUse; }
    bool inUse() const { return m_inUse; }

    bool writeBytes(const QByteArray& bytes) override;

private:
    void rxChar();

    TCustomComPort& m_port;
    DeviceLink& m_link;
    bool m_inUse = false;
};

} // namespace quma
