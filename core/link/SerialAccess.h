// Why a serial device will not open, in words that say what to do: the group that owns it and
// how to join it, a device that is not there, a device another program holds.
#pragma once

#include <QSerialPort>
#include <QString>

namespace quma {

// The message for a failed open of `path` (`error` as the port reported it, `systemText` the
// system's own words, kept when nothing better can be said).
QString SerialOpenAdvice(const QString& path, QSerialPort::SerialPortError error,
                         const QString& systemText);

} // namespace quma
