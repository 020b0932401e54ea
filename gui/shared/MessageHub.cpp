// The one place every message box goes through; tests replace it with a recorder.
#include "gui/shared/MessageHub.h"

#include <QFileDialog>
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

QMessageBox::StandardButton MessageHub::ask(QWidget* parent, const QString& question,
                                            QMessageBox::StandardButtons buttons,
                                            QMessageBox::StandardButton defaultButton,
                                            QMessageBox::StandardButton escape) {
    if (m_answerer) return m_answerer(question);
    if (m_recorder) return escape; // nobody to ask: the answer that changes nothing
    QMessageBox box(parent);
    box.setWindowTitle("QUMA");
    box.setIcon(QMessageBox::Question);
    box.setText(question);
    box.setStandardButtons(buttons);
    box.setDefaultButton(defaultButton);
    box.setEscapeButton(escape);
    const int answer = box.exec();
    return buttons.testFlag(QMessageBox::StandardButton(answer))
               ? QMessageBox::StandardButton(answer)
               : escape;
}

bool MessageHub::confirm(QWidget* parent, const QString& question) {
    return ask(parent, question, QMessageBox::Yes | QMessageBox::Cancel, QMessageBox::Cancel,
               QMessageBox::Cancel) == QMessageBox::Yes;
}

void MessageHub::post(QWidget* parent, quma::MessageKind kind, const QString& text) {
    if (m_recorder) {
        m_recorder(kind, text);
        return;
    }
    QPointer<QWidget> p(parent);
    QTimer::singleShot(0, this, [this, p, kind, text] { show(p, kind, text); });
}

QString MessageHub::chooseFile(QWidget* parent, const QString& caption, const QString& filter,
                               bool forSaving, const QString& suggestedName) {
    if (m_chooser) return m_chooser(caption, forSaving, suggestedName);
    if (m_recorder) return {};
    return forSaving ? QFileDialog::getSaveFileName(parent, caption, suggestedName, filter)
                     : QFileDialog::getOpenFileName(parent, caption, {}, filter);
}
