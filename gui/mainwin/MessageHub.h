// The one place every message box goes through; tests replace it with a recorder.
#pragma once

#include "core/monitor/MonitorEngine.h"

#include <QObject>
#include <QPointer>
#include <functional>

class QWidget;

class MessageHub : public QObject {
    Q_OBJECT
public:
    using Recorder = std::function<void(quma::MessageKind kind, const QString& text)>;

    // With a recorder set, no box is shown: the recorder gets the message instead.
    void setRecorder(Recorder r) { m_recorder = std::move(r); }
    bool recording() const { return bool(m_recorder); }

    // Shows a modal box now (callers in the user interface).
    void show(QWidget* parent, quma::MessageKind kind, const QString& text);
    // Shows the box once the current event has been handled (messages from the engine, which
    // may arrive in the middle of a reply chain).
    void post(QWidget* parent, quma::MessageKind kind, const QString& text);

private:
    Recorder m_recorder;
};
