// The console window on a live rig, with every box recorded, every yes/cancel question answered
// by `answerYes` and every file choice taken from `files` in turn (none left: cancelled).
#pragma once

#include "gui/console/Console.h"
#include "gui/mainwin/MainWindow.h"
#include "gui/shared/MessageHub.h"
#include "tests/LiveRig.h"

namespace quma::test {

struct ConsoleRig {
    LiveRig rig;
    MessageHub hub;
    QStringList boxes, questions;
    QStringList files;
    bool answerYes = false;
    Console console;
    MainWindow& window;

    explicit ConsoleRig(LinkKind kind, sim::SimOptions o = LiveRig::frozen())
        : rig(kind, o), console(rig.engine, rig.session, hub), window(console.window()) {
        hub.setRecorder([this](MessageKind, const QString& t) { boxes << t; });
        hub.setAnswerer([this](const QString& q) {
            questions << q;
            return answerYes ? QMessageBox::Yes : QMessageBox::Cancel;
        });
        hub.setFileChooser([this](const QString&, bool, const QString&) {
            return files.isEmpty() ? QString() : files.takeFirst();
        });
        window.show();
    }
};

} // namespace quma::test
