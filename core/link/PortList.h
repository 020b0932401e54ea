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

// A port as the connection dialog lists it: refusal is empty when this user may open it, else
// why not and what to do (see SerialOpenAdvice).
struct SerialPortEntry {
    QString name;
    QString refusal;
};
// The devices in `extras` (always offered) and then the published ports that pass the probe,
// each may be opened; after them the published ports and extras this user has no permission
// to open, with the reason. A port held by another program is left out, as the probe does.
QList<SerialPortEntry> SurveySerialPorts(const QStringList& extras);

} // namespace quma
