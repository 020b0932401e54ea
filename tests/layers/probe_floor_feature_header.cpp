// Must not compile: the ground floor cannot reach a feature folder of the windows.
#include "gui/config/SetPointDialog.h"
