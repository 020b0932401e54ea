// One frame on the wire as the link saw it: sent, received, dropped (with the reason) or an
// exchange that timed out; and what it means in the controller's protocol, in one line.
#pragma once

#include "core/link/FrameCodec.h"

#include <QByteArray>
#include <QMetaType>
#include <QString>

namespace quma {

struct FrameEvent {
    enum Kind { Sent, Received, Dropped, TimeOut };
    Kind kind = Sent;
    LinkKind link = LinkKind::Serial;
    qint64 monoNs = 0; // steady clock, ns (only differences mean something)
    qint64 wallMs = 0; // ms since the epoch
    QByteArray bytes;  // the frame as it went over the wire (serial: the ASCII frame)
    QString note;      // why it was dropped, or what timed out
};

enum class FrameCategory { Poll, Write, Transfer, Identity, Other };

struct FrameMeaning {
    FrameCategory category = FrameCategory::Other;
    QString text; // "poll", "poll reply, 131 registers", "write reg 60 = 540", ...
    bool error = false;
};
// Reads a frame's function and data: requests and replies of both links, and the reason of a
// dropped frame or a time-out.
FrameMeaning MeaningOf(const FrameEvent& e);

// The frame for a person: hex bytes (TCP) or the escaped ASCII frame (serial).
QString FrameBytesText(const FrameEvent& e, int maxBytes = 512);
const char* FrameKindName(FrameEvent::Kind kind); // "out", "in", "drop", "timeout"

} // namespace quma

Q_DECLARE_METATYPE(quma::FrameEvent)
