// Serial port enumeration with the exclusive-open probe, and display/device name mapping.
#pragma once

#include <QString>
#include <QStringList>

namespace quma {

// Display names ("ttyUSB0", "COM3") of the ports the system publishes; with probe, only those
// that an exclusive open succeeds on.
QStringList EnumerateSerialPorts(bool probe);
// What the port component opens for a display name: "/dev/ttyUSB0", "COM3", "\\.\COM12".
// A path typed by hand (a pseudo-terminal, a symlink) is used unchanged.
QString PortDeviceName(const QString& displayName);
// The short name shown for a device name.
QString PortDisplayName(const QString& deviceName);
// Opens the device exclusively and closes it again.
bool ProbePort(const QString& deviceName);

} // namespace quma
