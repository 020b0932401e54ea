// Must not compile: Qt Widgets is not on a UI-free library's include path.
#include <QWidget>
