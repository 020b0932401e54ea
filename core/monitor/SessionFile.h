// Session recordings: every frame in and out of a link, written as it happens as JSON lines (a
// header line with the format name and version, then one line per frame), so that a crash or a
// power loss keeps everything written before it. Read back for replay and for pcap export.
#pragma once

#include "core/link/DeviceLink.h"
#include "core/link/FrameEvent.h"

#include <QFile>
#include <QList>
#include <QObject>

namespace quma {

inline constexpr char kSessionFormat[] = "quma-session";
inline constexpr int kSessionVersion = 1;

class SessionRecorder : public QObject {
    Q_OBJECT
public:
    explicit SessionRecorder(QObject* parent = nullptr) : QObject(parent) {}
    // Creates the file (an existing one is replaced) and writes the header line; `program` names
    // who recorded it.
    bool start(const QString& path, const QString& program, QString* error);
    void stop();
    bool recording() const { return m_file.isOpen(); }
    QString path() const { return m_file.fileName(); }
    qint64 frames() const { return m_frames; }
    // Records the frames of a link while recording.
    void attach(DeviceLink& link);
    // One frame, on disk before this returns. A write that fails stops the recording.
    void record(const FrameEvent& e);

signals:
    void failed(const QString& why);

private:
    bool writeLine(const QByteArray& line, QString* error);
    QFile m_file;
    qint64 m_frames = 0;
};

// One line of a recording (without the line break).
QByteArray SessionLine(const FrameEvent& e);

struct SessionRead {
    QList<FrameEvent> events;
    QString program;
    QString error;          // nothing usable: not a recording, another version, a bad line
    bool truncated = false; // the file ends inside its last line: read up to it
};
// Limits of what is read: a recording of a day's busy link is tens of MiB; a frame's line is at
// most a few KiB (the longest frame is 2 KiB).
constexpr qint64 MaxSessionFileBytes = 256 << 20;
constexpr int MaxSessionLineBytes = 64 << 10;
SessionRead ReadSession(const QByteArray& text);
SessionRead ReadSessionFile(const QString& path);

} // namespace quma
