// The one place every message box goes through; tests replace it with a recorder.
#pragma once

#include "core/monitor/MessageKind.h"

#include <QMessageBox>
#include <QObject>
#include <QPointer>
#include <functional>

class QWidget;

class MessageHub : public QObject {
    Q_OBJECT
public:
    using Recorder = std::function<void(quma::MessageKind kind, const QString& text)>;
    using Answerer = std::function<QMessageBox::StandardButton(const QString& question)>;
    // The chooser gets the caption, whether it is for saving, and the proposed path.
    using FileChooser =
        std::function<QString(const QString& caption, bool forSaving, const QString& suggested)>;

    // With a recorder set, no box is shown: the recorder gets the message instead.
    void setRecorder(Recorder r) { m_recorder = std::move(r); }
    bool recording() const { return bool(m_recorder); }
    // With an answerer set, questions are answered by it instead of a box; while recording
    // without one, every question gets its escape answer (the one that changes nothing).
    void setAnswerer(Answerer a) { m_answerer = std::move(a); }
    // With a chooser set, file names come from it instead of a file dialog; while recording
    // without one, every choice is cancelled (an empty name).
    void setFileChooser(FileChooser c) { m_chooser = std::move(c); }

    // Asks a question with the given buttons; Escape and the close box give `escape`.
    QMessageBox::StandardButton ask(QWidget* parent, const QString& question,
                                    QMessageBox::StandardButtons buttons,
                                    QMessageBox::StandardButton defaultButton,
                                    QMessageBox::StandardButton escape);
    // Yes / Cancel, Cancel by default: true only when the user confirmed.
    bool confirm(QWidget* parent, const QString& question);

    // Shows a modal box now (callers in the user interface).
    void show(QWidget* parent, quma::MessageKind kind, const QString& text);
    // Shows the box once the current event has been handled (messages from the engine, which
    // may arrive in the middle of a reply chain).
    void post(QWidget* parent, quma::MessageKind kind, const QString& text);
    // A file to open or to save to (a filter such as "Site profile (*.json)"); empty when the
    // user cancelled.
    QString chooseFile(QWidget* parent, const QString& caption, const QString& filter,
                       bool forSaving, const QString& suggestedName = {});

private:
    Recorder m_recorder;
    Answerer m_answerer;
    FileChooser m_chooser;
};
