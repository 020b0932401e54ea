// Site profiles: the comparison of two profiles.
#pragma once

#include "core/profile/SiteProfile.h"

namespace quma {

// One row of a comparison.
struct ProfileDiffRow {
    QString section; // "settings" or "network"
    QString field;
    QString unit;
    int reg = 0;         // 0 for a network field
    QString left, right; // "" when the side does not hold the field
    bool differs = false;
};
// Every field either side holds, settings first, in field order.
QList<ProfileDiffRow> CompareProfiles(const SiteProfile& left, const SiteProfile& right);
bool ProfilesDiffer(const QList<ProfileDiffRow>& rows);
// The table as text, one row a line, aligned columns; differing rows marked with '*'.
QString DiffTable(const QList<ProfileDiffRow>& rows, const QString& leftName,
                  const QString& rightName, bool differencesOnly);

} // namespace quma
