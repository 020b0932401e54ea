// Values on labels: a new value repaints its own label and moves nothing else.
#pragma once

#include <QLabel>
#include <QLineEdit>

// A value keeps a stable width: a new value repaints its own label and moves nothing else, until
// a text wider than any before arrives (the reserved width then grows once, with room to spare).
inline void ShowValue(QLabel* label, const QString& text) {
    if (label->text() == text) return;
    // A label of fixed size asks its layout for nothing when its text changes: the new value
    // repaints that label alone. It grows (once) when a longer text needs more room.
    label->setText(text);
    const QSize need = label->sizeHint();
    const bool fixed = label->minimumSize() == label->maximumSize();
    if (fixed && need.width() <= label->minimumWidth() && need.height() <= label->minimumHeight())
        return;
    label->setFixedSize(
        std::max(label->minimumWidth(),
                 need.width() + label->fontMetrics().horizontalAdvance(QStringLiteral("00"))),
        std::max(fixed ? label->minimumHeight() : 0, need.height()));
}

inline void ShowValue(QLineEdit* edit, const QString& text) {
    if (edit->text() != text) edit->setText(text);
}
