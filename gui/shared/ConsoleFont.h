// The console's font. Qt Gui alone: the command-line tool's PDF report uses it too.
#pragma once

#include <QFont>
#include <QFontDatabase>
#include <QGuiApplication>

// The application font: one that has the Korean captions (Debian's Nanum), at 9 pt. Tests use
// it too, so that what they measure is what the engineer sees.
inline void UseConsoleFont() {
    for (const QString& family : QFontDatabase::families()) {
        if (family.startsWith("NanumGothic")) {
            QFont f(family);
            f.setPointSize(9);
            QGuiApplication::setFont(f);
            return;
        }
    }
}
