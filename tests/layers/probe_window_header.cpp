// Must not compile: the windows' folder is not on a UI-free library's include path.
#include "gui/shared/MessageHub.h"
