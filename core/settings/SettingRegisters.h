// The controller's setting registers, each described once: number, field name, the name the
// dialogs give it, unit, kind, the register values allowed, the dialog's default and which
// models have it. The set-point dialog's rows, the profile fields and the simulator read it.
#pragma once

#include "core/monitor/RegisterMap.h"

#include <QList>
#include <QStringList>

namespace quma {

struct SettingRegister {
    enum Kind { Integer, Tenths, Choice, AlarmWord };
    int reg;
    const char* key;     // the profile's field name; nullptr: not part of a profile
    const char* caption; // the dialogs' name for it (translated where shown)
    const char* unit;
    Kind kind;
    int rawMin, rawMax;      // register values allowed (a choice: of the first and last item)
    const char* defaultText; // what the set-point dialog's Default puts in its entry ("": none)
    QStringList choices;     // Choice: the item names; the register holds rawMin + position
    bool typeThreeFourOnly;  // exists only on system types 3 and 4
    bool secondWord;         // AlarmWord: the second word of a contact (ALARM2 bit layout)
};

// Every setting register, in the order a profile queues its writes (the last is sent first).
const QList<SettingRegister>& SettingRegisters();
// The register's description; nullptr for a register that is not a setting.
const SettingRegister* FindSettingRegister(int reg);

} // namespace quma
