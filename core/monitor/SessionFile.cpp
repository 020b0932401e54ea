// Session recordings as JSON lines.
#include "core/monitor/SessionFile.h"

#include "core/io/WriteFile.h"

#include "core/io/ReadFile.h"

#include <QDateTime>
#include <QJsonDocument>
#include <QJsonObject>

namespace quma {

namespace {
FrameEvent::Kind kindOf(const QString& name, bool* ok) {
    *ok = true;
    if (name == "out") return FrameEvent::Sent;
    if (name == "in") return FrameEvent::Received;
    if (name == "drop") return FrameEvent::Dropped;
    if (name == "timeout") return FrameEvent::TimeOut;
    *ok = false;
    return FrameEvent::Sent;
}
} // namespace

QByteArray SessionLine(const FrameEvent& e) {
    QJsonObject o{{"mono_ns", QString::number(e.monoNs)},
                  {"wall", QDateTime::fromMSecsSinceEpoch(e.wallMs).toString(Qt::ISODateWithMs)},
                  {"link", e.link == LinkKind::Tcp ? "tcp" : "serial"},
                  {"dir", FrameKindName(e.kind)},
                  {"hex", QString::fromLatin1(e.bytes.toHex())}};
    if (!e.note.isEmpty()) o.insert("note", e.note);
    return QJsonDocument(o).toJson(QJsonDocument::Compact);
}

bool SessionRecorder::start(const QString& path, const QString& program, QString* error) {
    stop();
    m_frames = 0;
    if (!OpenAppendFile(m_file, path, QIODevice::Truncate, error)) return false;
    const QJsonObject header{
        {"format", kSessionFormat},
        {"version", kSessionVersion},
        {"program", program},
        {"started", QDateTime::currentDateTime()
                        .toOffsetFromUtc(QDateTime::currentDateTime().offsetFromUtc())
                        .toString(Qt::ISODateWithMs)}};
    if (!writeLine(QJsonDocument(header).toJson(QJsonDocument::Compact), error)) {
        m_file.close();
        return false;
    }
    return true;
}

void SessionRecorder::stop() {
    if (m_file.isOpen()) m_file.close();
}

void SessionRecorder::attach(DeviceLink& link) {
    connect(&link, &DeviceLink::frameEvent, this, &SessionRecorder::record);
}

bool SessionRecorder::writeLine(const QByteArray& line, QString* error) {
    // Unbuffered: each frame reaches the system as it happens, a failure with its reason.
    return AppendToFile(m_file, line + '\n', error);
}

void SessionRecorder::record(const FrameEvent& e) {
    if (!m_file.isOpen()) return;
    QString why;
    if (!writeLine(SessionLine(e), &why)) {
        m_file.close();
        emit failed("The session recording stopped: " + why);
        return;
    }
    ++m_frames;
}

SessionRead ReadSession(const QByteArray& text) {
    SessionRead r;
    QList<QByteArray> lines = text.split('\n');
    const bool endsInside = !text.isEmpty() && !text.endsWith('\n');
    if (!endsInside && !lines.isEmpty()) lines.removeLast(); // after the last line break
    if (lines.isEmpty() || lines.first().trimmed().isEmpty()) {
        r.error = "not a session recording: the file is empty";
        return r;
    }
    if (lines.first().size() > MaxSessionLineBytes) {
        r.error = "not a session recording of this console (no \"quma-session\" header line)";
        return r;
    }
    const QJsonObject header = QJsonDocument::fromJson(lines.first()).object();
    if (header.value("format").toString() != kSessionFormat) {
        r.error = "not a session recording of this console (no \"quma-session\" header line)";
        return r;
    }
    if (header.value("version").toInt(-1) != kSessionVersion) {
        r.error = QString("a session recording of version %1; this program reads version %2")
                      .arg(header.value("version").toVariant().toString())
                      .arg(kSessionVersion);
        return r;
    }
    r.program = header.value("program").toString();
    for (int i = 1; i < lines.size(); ++i) {
        if (lines[i].trimmed().isEmpty()) continue;
        if (lines[i].size() > MaxSessionLineBytes) {
            r.error = QString("line %1 is longer than any frame's line (%2 bytes, at most %3)")
                          .arg(i + 1)
                          .arg(lines[i].size())
                          .arg(MaxSessionLineBytes);
            return r;
        }
        QJsonParseError pe;
        const QJsonObject o = QJsonDocument::fromJson(lines[i], &pe).object();
        bool kindOk = false;
        FrameEvent e;
        e.kind = kindOf(o.value("dir").toString(), &kindOk);
        bool numberOk = false;
        e.monoNs = o.value("mono_ns").toString().toLongLong(&numberOk);
        const QString link = o.value("link").toString();
        const QByteArray hex = o.value("hex").toString().toLatin1();
        e.bytes = QByteArray::fromHex(hex);
        const bool valid = pe.error == QJsonParseError::NoError && kindOk && numberOk &&
                           (link == "tcp" || link == "serial") && e.bytes.size() * 2 == hex.size();
        if (!valid) {
            if (endsInside && i == lines.size() - 1) {
                r.truncated = true; // the recording was cut in the middle of this line
                break;
            }
            r.error = QString("line %1 is not a frame of a session recording").arg(i + 1);
            r.events.clear();
            return r;
        }
        e.link = link == "tcp" ? LinkKind::Tcp : LinkKind::Serial;
        e.wallMs = QDateTime::fromString(o.value("wall").toString(), Qt::ISODateWithMs)
                       .toMSecsSinceEpoch();
        e.note = o.value("note").toString();
        r.events << e;
    }
    return r;
}

SessionRead ReadSessionFile(const QString& path) {
    SessionRead r;
    const auto text = ReadWholeFile(path, MaxSessionFileBytes, "session recording", &r.error);
    if (!text) return r;
    r = ReadSession(*text);
    if (!r.error.isEmpty()) r.error = path + ": " + r.error;
    return r;
}

} // namespace quma
