// A recorded TCP session as a pcap capture: each frame in its own IPv4/TCP packet between a
// client and port 502, so that Wireshark's Modbus/TCP dissector reads it.
#pragma once

#include "core/link/FrameEvent.h"

#include <QList>
#include <QString>

namespace quma {

// Writes the TCP frames sent and received (serial frames and time-outs are left out). False
// with the reason when there is no TCP frame or the file cannot be written.
bool WritePcap(const QString& path, const QList<FrameEvent>& events, QString* error,
               int* packets = nullptr);

} // namespace quma
