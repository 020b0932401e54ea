// The one place every message box goes through; tests replace it with a recorder.
#include "gui/mainwin/MessageHub.h"

#include <QMessageBox>
#include <QTimer>
#include <QWidget>

void MessageHub::show(QWidget* parent, quma::MessageKind kind, const QString& text) {
    if (m_recorder) {
        m_recorder(kind, text);
        return;
    }
    QMessageBox box(parent);
    box.setWindowTitle("QUMA");
    box.setText(text);
    box.setIcon(kind == quma::MessageKind::Information ? QMessageBox::Information
                : kind == quma::MessageKind::Warning   ? QMessageBox::Warning
                                                       : QMessageBox::NoIcon);
    box.exec();
}

void MessageHub::post(QWidget* parent, quma::MessageKind kind, const QString& text) {
    if (m_recorder) {
        m_recorder(kind, text);
        return;
    }
    QPointer<QWidget> p(parent);
    QTimer::singleShot(0, this, [this, p, kind, text] { show(p, kind, text); });
}
