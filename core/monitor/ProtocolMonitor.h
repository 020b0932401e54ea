// The protocol monitor: the frames of a link with their meaning, in a bounded list, and the
// counters an engineer reads first (sent, received, dropped by reason, time-outs, round trip).
#pragma once

#include "core/link/DeviceLink.h"
#include "core/link/FrameEvent.h"

#include <QMap>
#include <QObject>
#include <deque>

namespace quma {

struct MonitorEntry {
    quint64 number = 0; // running count since the monitor started
    FrameEvent event;
    FrameMeaning meaning;
    double ms = 0; // since the first frame
};

struct MonitorCounters {
    qint64 sent = 0, received = 0, timeOuts = 0;
    QMap<QString, int> dropped; // by reason
    QString lastDropped;        // the note of the newest dropped frame
    double lastRoundTripMs = -1;
    int droppedTotal() const;
    QString text() const;
};

// What a dropped frame's note says without its numbers ("transaction id mismatch", "LRC wrong").
QString DropReason(const QString& note);

enum class MonitorFilter { All, Polls, Writes, Transfers, Errors };
bool MonitorMatches(const MonitorEntry& e, MonitorFilter filter, const QString& search);
// One line of text for copying and saving: time, direction, link, bytes, meaning.
QString MonitorLine(const MonitorEntry& e);

class ProtocolMonitor : public QObject {
    Q_OBJECT
public:
    // Bounds: whichever is reached first drops the oldest frames.
    static constexpr int MaxFrames = 20000;
    static constexpr qint64 MaxBytes = 4 << 20;

    explicit ProtocolMonitor(QObject* parent = nullptr) : QObject(parent) {}
    void attach(DeviceLink& link);

    void add(const FrameEvent& e);
    // Paused, frames are still counted but not kept.
    void setPaused(bool on) { m_paused = on; }
    bool paused() const { return m_paused; }
    void clear();

    const std::deque<MonitorEntry>& entries() const { return m_entries; }
    qint64 bytes() const { return m_bytes; }
    const MonitorCounters& counters() const { return m_counters; }
    // Entries added since the start (the view compares it to what it has shown).
    quint64 added() const { return m_added; }

private:
    std::deque<MonitorEntry> m_entries;
    MonitorCounters m_counters;
    qint64 m_bytes = 0;
    quint64 m_added = 0;
    qint64 m_firstNs = -1;
    qint64 m_lastSentNs = -1;
    bool m_paused = false;
};

} // namespace quma
