// Serial port enumeration with the exclusive-open probe, and display/device name mapping.
#include "core/link/PortList.h"

#include "core/link/SerialAccess.h"

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

namespace {

// The open's error, NoError when the device may be opened (and was closed again).
QSerialPort::SerialPortError tryOpen(const QString& deviceName, QString* systemText = nullptr) {
    QSerialPort port;
    port.setPortName(deviceName);
    if (!port.open(QIODevice::ReadWrite)) {
        if (systemText) *systemText = port.errorString();
        return port.error() == QSerialPort::NoError ? QSerialPort::OpenError : port.error();
    }
    port.close();
    return QSerialPort::NoError;
}

} // namespace

bool ProbePort(const QString& deviceName) {
    return tryOpen(deviceName) == QSerialPort::NoError;
}

QList<SerialPortEntry> SurveySerialPorts(const QStringList& extras) {
    QList<SerialPortEntry> usable, refused;
    const auto sort = [&](const QString& display, const QString& device, bool keepIfBusy) {
        QString system;
        const QSerialPort::SerialPortError error = tryOpen(device, &system);
        if (error == QSerialPort::PermissionError)
            refused << SerialPortEntry{display, SerialOpenAdvice(device, error, system)};
        else if (error == QSerialPort::NoError || keepIfBusy)
            usable << SerialPortEntry{display, {}};
    };
    // A device given by hand stays on offer whatever else is wrong with it: opening it says why.
    for (const QString& extra : extras)
        sort(extra, PortDeviceName(extra), true);
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts())
        sort(info.portName(), info.systemLocation(), false);
    return usable + refused;
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
