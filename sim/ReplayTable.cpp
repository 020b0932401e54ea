// Replaying a recorded session.
#include "sim/ReplayTable.h"

namespace quma::sim {

namespace {
// The bytes of a serial frame's body (address, function, data), without the LRC; empty when the
// frame is not whole.
QByteArray serialBytes(const QByteArray& frame) {
    AsciiReply r;
    if (!ValidateAsciiFrame(frame, &r)) return {};
    QByteArray hex = r.text.mid(1);
    hex.chop(2);
    return QByteArray::fromHex(hex);
}
} // namespace

ReplayTable::ReplayTable(const QList<FrameEvent>& events, bool loop) : m_loop(loop) {
    // Each reply answers the request sent last on its link before it.
    const FrameEvent* pending[2] = {nullptr, nullptr};
    for (const FrameEvent& e : events) {
        const int link = e.link == LinkKind::Tcp ? 1 : 0;
        if (e.kind == FrameEvent::Sent) {
            pending[link] = &e;
            continue;
        }
        if (e.kind != FrameEvent::Received || !pending[link]) continue;
        QByteArray key, reply;
        if (link == 1) {
            const QByteArray& req = pending[link]->bytes;
            if (req.size() < 8 || e.bytes.size() < 8 || req[7] != e.bytes[7]) continue;
            key = "T" + req.mid(7);
            reply = e.bytes.mid(8);
        } else {
            const QByteArray req = serialBytes(pending[link]->bytes);
            reply = serialBytes(e.bytes);
            if (req.size() < 2 || reply.isEmpty()) continue;
            key = "S" + req;
        }
        m_table[key].replies << reply;
        pending[link] = nullptr;
        ++m_pairs;
    }
}

std::optional<QByteArray> ReplayTable::take(const QByteArray& key) {
    auto it = m_table.find(key);
    if (it == m_table.end() || it->replies.isEmpty()) return std::nullopt;
    const QByteArray reply = it->replies[it->next];
    if (it->next + 1 < it->replies.size())
        ++it->next;
    else if (m_loop)
        it->next = 0;
    return reply;
}

std::optional<QByteArray> ReplayTable::serial(const QByteArray& request) {
    return take("S" + request);
}

std::optional<QByteArray> ReplayTable::tcp(quint8 function, const QByteArray& data) {
    return take("T" + QByteArray(1, char(function)) + data);
}

} // namespace quma::sim
