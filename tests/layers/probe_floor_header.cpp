// Must compile: the ground floor sees itself and the core.
#include "core/monitor/MessageKind.h"
#include "gui/shared/MessageHub.h"
