// The protocol monitor's list and counters.
#include "core/monitor/ProtocolMonitor.h"

#include <QRegularExpression>

namespace quma {

QString DropReason(const QString& note) {
    // The numbers tell one frame from another; the reason is what is left without them.
    if (note.startsWith("transaction id")) return QStringLiteral("transaction id mismatch");
    static const QRegularExpression numbers("\\s*\\d+");
    QString reason = note;
    reason.remove(numbers);
    return reason.trimmed().left(60);
}

int MonitorCounters::droppedTotal() const {
    int n = 0;
    for (int v : dropped)
        n += v;
    return n;
}

QString MonitorCounters::text() const {
    QString s = QString("sent %1, received %2, dropped %3, time-outs %4")
                    .arg(sent)
                    .arg(received)
                    .arg(droppedTotal())
                    .arg(timeOuts);
    if (!dropped.isEmpty()) {
        QStringList reasons;
        for (auto it = dropped.begin(); it != dropped.end(); ++it)
            reasons << QString("%1: %2").arg(it.key()).arg(it.value());
        s += " (" + reasons.join(", ") + ")";
    }
    s += lastRoundTripMs < 0 ? QString(", round trip -")
                             : QString(", round trip %1 ms").arg(lastRoundTripMs, 0, 'f', 1);
    return s;
}

bool MonitorMatches(const MonitorEntry& e, MonitorFilter filter, const QString& search) {
    switch (filter) {
    case MonitorFilter::Polls:
        if (e.meaning.category != FrameCategory::Poll) return false;
        break;
    case MonitorFilter::Writes:
        if (e.meaning.category != FrameCategory::Write &&
            e.meaning.category != FrameCategory::Identity)
            return false;
        break;
    case MonitorFilter::Transfers:
        if (e.meaning.category != FrameCategory::Transfer) return false;
        break;
    case MonitorFilter::Errors:
        if (!e.meaning.error) return false;
        break;
    case MonitorFilter::All:
        break;
    }
    if (search.isEmpty()) return true;
    return e.meaning.text.contains(search, Qt::CaseInsensitive) ||
           FrameBytesText(e.event).contains(search, Qt::CaseInsensitive);
}

QString MonitorLine(const MonitorEntry& e) {
    return QString("%1 ms\t%2\t%3\t%4\t%5")
        .arg(e.ms, 0, 'f', 1)
        .arg(FrameKindName(e.event.kind))
        .arg(e.event.link == LinkKind::Tcp ? "tcp" : "serial")
        .arg(FrameBytesText(e.event))
        .arg(e.meaning.text);
}

void ProtocolMonitor::attach(DeviceLink& link) {
    connect(&link, &DeviceLink::frameEvent, this, &ProtocolMonitor::add);
}

void ProtocolMonitor::add(const FrameEvent& e) {
    switch (e.kind) {
    case FrameEvent::Sent:
        ++m_counters.sent;
        m_lastSentNs = e.monoNs;
        break;
    case FrameEvent::Received:
        ++m_counters.received;
        if (m_lastSentNs >= 0) m_counters.lastRoundTripMs = (e.monoNs - m_lastSentNs) / 1e6;
        break;
    case FrameEvent::Dropped:
        // Keyed by reason, so the counters stay a handful however long the link is noisy.
        ++m_counters.dropped[DropReason(e.note)];
        m_counters.lastDropped = e.note;
        break;
    case FrameEvent::TimeOut:
        ++m_counters.timeOuts;
        break;
    }
    if (m_paused) return;
    if (m_firstNs < 0) m_firstNs = e.monoNs;
    MonitorEntry entry{m_added++, e, MeaningOf(e), (e.monoNs - m_firstNs) / 1e6};
    m_bytes += e.bytes.size();
    m_entries.push_back(std::move(entry));
    while (!m_entries.empty() && (int(m_entries.size()) > MaxFrames || m_bytes > MaxBytes)) {
        m_bytes -= m_entries.front().event.bytes.size();
        m_entries.pop_front();
    }
}

void ProtocolMonitor::clear() {
    m_entries.clear();
    m_bytes = 0;
    m_counters = MonitorCounters{};
    m_lastSentNs = -1;
}

} // namespace quma
