// Serial port enumeration with the exclusive-open probe, and display/device name mapping.
#include "core/link/PortList.h"

#include <QSerialPort>
#include <QSerialPortInfo>

namespace quma {

QString PortDeviceName(const QString& displayName) {
    if (displayName.contains('/') || displayName.startsWith("\\\\.\\")) return displayName;
    if (displayName.startsWith("COM", Qt::CaseInsensitive)) {
        // COM10 and above carry the device prefix; a name not ending in a number is unchanged.
        bool ok = false;
        const int n = displayName.mid(3).toInt(&ok);
        return (ok && n > 9) ? "\\\\.\\" + displayName : displayName;
    }
#ifdef Q_OS_WIN
    return displayName;
#else
    return "/dev/" + displayName;
#endif
}

QString PortDisplayName(const QString& deviceName) {
    if (deviceName.contains("\\\\.\\")) return deviceName.mid(4);
    if (deviceName.startsWith("/dev/") && deviceName.count('/') == 2) return deviceName.mid(5);
    return deviceName;
}

bool ProbePort(const QString& deviceName) {
    QSerialPort port;
    port.setPortName(deviceName);
    if (!port.open(QIODevice::ReadWrite)) return false;
    port.close();
    return true;
}

QStringList EnumerateSerialPorts(bool probe) {
    QStringList names;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts()) {
        const QString display = info.portName();
        if (!probe || ProbePort(info.systemLocation())) names << display;
    }
    return names;
}

} // namespace quma
