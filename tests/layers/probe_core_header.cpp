// Control: what the core includes of itself compiles with the core's include path.
#include "core/monitor/MonitorEngine.h"

int probeCoreHeader() {
    return quma::Reg::SystemType;
}
