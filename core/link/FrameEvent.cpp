// What a frame on the wire means.
#include "core/link/FrameEvent.h"

namespace quma {

namespace {
int word(const QByteArray& b, int at) {
    return at + 1 < b.size() ? (uchar(b[at]) << 8) | uchar(b[at + 1]) : -1;
}

// Serial: the body's bytes (address, function, data) without the LRC; empty when not hex.
QByteArray serialBody(const QByteArray& frame) {
    const int colon = frame.indexOf(':');
    const int cr = frame.indexOf('\r');
    if (colon < 0) return {};
    QByteArray hex = frame.mid(colon + 1, (cr > colon ? cr : frame.size()) - colon - 1);
    if (hex.size() < 6 || hex.size() % 2) return {};
    hex.chop(2); // the LRC
    const QByteArray bytes = QByteArray::fromHex(hex);
    return bytes.size() * 2 == hex.size() ? bytes : QByteArray();
}

FrameMeaning describe(std::uint8_t fn, const QByteArray& d, bool request, bool tcp) {
    using C = FrameCategory;
    const int w0 = word(d, 0), w1 = word(d, 2);
    // The serial and TCP function codes of the same request.
    enum { Poll, Write, NetRead, NetWrite, ACount, APage, AClear, ECount, EPage, EClear, None };
    int what = None;
    if (tcp) {
        switch (fn) {
        case Fn::ReadRegisters:
            what = Poll;
            break;
        case Fn::WriteRegister:
            what = Write;
            break;
        case Fn::ReadNetId:
            what = NetRead;
            break;
        case Fn::WriteNetId:
            what = NetWrite;
            break;
        case Fn::AlarmCount:
            what = ACount;
            break;
        case Fn::AlarmRecord:
            what = APage;
            break;
        case Fn::AlarmClear:
            what = AClear;
            break;
        case Fn::EventCount:
            what = ECount;
            break;
        case Fn::EventRecord:
            what = EPage;
            break;
        case Fn::EventClear:
            what = EClear;
            break;
        default:
            break;
        }
    } else {
        switch (fn) {
        case 0x04:
            what = Poll;
            break;
        case 0x06:
            what = Write;
            break;
        case 0x22:
            what = NetRead;
            break;
        case 0x23:
            what = NetWrite;
            break;
        case 0x30:
            what = ACount;
            break;
        case 0x31:
            what = APage;
            break;
        case 0x35:
            what = AClear;
            break;
        case 0x40:
            what = ECount;
            break;
        case 0x41:
            what = EPage;
            break;
        case 0x45:
            what = EClear;
            break;
        default:
            break;
        }
    }
    // The page number: serial requests carry it as a word, TCP ones after the kind byte.
    const int page = tcp ? word(d, 1) : w0;
    switch (what) {
    case Poll:
        if (request) return {C::Poll, QString("poll, registers %1..%2").arg(w0).arg(w0 + w1 - 1)};
        return {C::Poll, QString("poll reply, %1 registers")
                             .arg(tcp ? (d.size() - 1) / 2 : std::max(0, w0 / 2))};
    case Write:
        return {C::Write, QString(request ? "write reg %1 = %2" : "write confirmed, reg %1 = %2")
                              .arg(w0)
                              .arg(w1)};
    case NetRead:
        return {C::Identity, request ? "network identity read" : "network identity reply"};
    case NetWrite:
        return {C::Identity, request ? QString("network identity write, %1 bytes").arg(d.size())
                                     : QString("network identity write confirmed")};
    case ACount:
    case ECount: {
        const QString log = what == ACount ? "alarm history" : "event log";
        if (request) return {C::Transfer, log + " count query"};
        return {C::Transfer, log + " count reply"};
    }
    case APage:
    case EPage: {
        const QString log = what == APage ? "history" : "event";
        if (request) return {C::Transfer, QString("%1 page %2").arg(log).arg(page)};
        return {C::Transfer, QString("%1 record, %2 bytes").arg(log).arg(d.size())};
    }
    case AClear:
        return {C::Write, request ? "alarm history clear" : "alarm history cleared"};
    case EClear:
        return {C::Write, request ? "event log clear" : "event log cleared"};
    default:
        return {C::Other, QString("function %1").arg(QString::fromLatin1(IntToHexN(fn, 2)))};
    }
}
} // namespace

FrameMeaning MeaningOf(const FrameEvent& e) {
    if (e.kind == FrameEvent::TimeOut) return {FrameCategory::Other, "time-out: " + e.note, true};
    const bool tcp = e.link == LinkKind::Tcp;
    FrameMeaning m;
    if (tcp) {
        if (e.bytes.size() >= 8) {
            m = describe(uchar(e.bytes[7]), e.bytes.mid(8), e.kind == FrameEvent::Sent, true);
            m.text += QString(" (transaction %1)").arg(word(e.bytes, 0));
        } else {
            m.text = QString("%1 bytes, no whole header").arg(e.bytes.size());
        }
    } else {
        const QByteArray body = serialBody(e.bytes);
        if (body.size() >= 2)
            m = describe(uchar(body[1]), body.mid(2), e.kind == FrameEvent::Sent, false);
        else
            m.text = QString("%1 characters, not a frame").arg(e.bytes.size());
    }
    if (e.kind == FrameEvent::Dropped) {
        m.text = e.note + ": dropped" + (m.text.isEmpty() ? QString() : " (" + m.text + ")");
        m.error = true;
    }
    return m;
}

QString FrameBytesText(const FrameEvent& e, int maxBytes) {
    const QByteArray shown = e.bytes.left(maxBytes);
    QString text =
        e.link == LinkKind::Tcp
            ? QString::fromLatin1(shown.toHex(' ').toUpper())
            : QString::fromUtf8(TraceText(shown)).replace("\r", "\\r").replace("\n", "\\n");
    if (e.bytes.size() > maxBytes)
        text += QString(" ... (%1 bytes more)").arg(e.bytes.size() - maxBytes);
    return text;
}

const char* FrameKindName(FrameEvent::Kind kind) {
    switch (kind) {
    case FrameEvent::Sent:
        return "out";
    case FrameEvent::Received:
        return "in";
    case FrameEvent::Dropped:
        return "drop";
    case FrameEvent::TimeOut:
        return "timeout";
    }
    return "?";
}

} // namespace quma
