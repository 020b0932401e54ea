// Must not compile: Qt Gui (colours, images, painting) is not for the core either.
#include <QtGui/QColor>
