// Must not compile: the ground floor cannot reach the main window.
#include "gui/mainwin/MainWindow.h"
