// Site profiles: the comparison of two profiles, field by field.
#include "core/profile/ProfileCompare.h"

namespace quma {

QList<ProfileDiffRow> CompareProfiles(const SiteProfile& a, const SiteProfile& b) {
    QList<ProfileDiffRow> rows;
    for (const ProfileField& f : ProfileSettingFields()) {
        const bool inA = a.settings.contains(f.key), inB = b.settings.contains(f.key);
        if (!inA && !inB) continue;
        ProfileDiffRow r{"settings", f.key, f.unit, f.reg, {}, {}, false};
        if (inA) r.left = ProfileValueText(f, a.settings.value(f.key));
        if (inB) r.right = ProfileValueText(f, b.settings.value(f.key));
        r.differs = !inA || !inB || a.settings.value(f.key) != b.settings.value(f.key);
        rows << r;
    }
    for (const QString& key : ProfileNetworkFields()) {
        const bool inA = a.network.contains(key), inB = b.network.contains(key);
        if (!inA && !inB) continue;
        // The controller's own texts may hold anything: escaped before they reach a terminal.
        ProfileDiffRow r{"network",
                         key,
                         "",
                         0,
                         EscapedText(a.network.value(key)),
                         EscapedText(b.network.value(key)),
                         false};
        r.differs = !inA || !inB || r.left != r.right;
        rows << r;
    }
    return rows;
}

bool ProfilesDiffer(const QList<ProfileDiffRow>& rows) {
    for (const ProfileDiffRow& r : rows)
        if (r.differs) return true;
    return false;
}

QString DiffTable(const QList<ProfileDiffRow>& rows, const QString& leftName,
                  const QString& rightName, bool differencesOnly) {
    QList<QStringList> table = {{"", "field", "unit", "register", leftName, rightName}};
    for (const ProfileDiffRow& r : rows) {
        if (differencesOnly && !r.differs) continue;
        const QString field = r.section == "network" ? "network." + r.field : r.field;
        table << QStringList{r.differs ? "*" : "",
                             field,
                             r.unit,
                             r.reg ? QString::number(r.reg) : QString("-"),
                             r.left.isEmpty() && r.section == "settings" ? "(absent)" : r.left,
                             r.right.isEmpty() && r.section == "settings" ? "(absent)" : r.right};
    }
    QList<int> widths(6, 0);
    for (const QStringList& row : table)
        for (int c = 0; c < 6; ++c)
            widths[c] = std::max(widths[c], int(row[c].size()));
    QString out;
    for (const QStringList& row : table) {
        QString line;
        for (int c = 0; c < 6; ++c)
            line += (c < 5 ? row[c].leftJustified(widths[c]) + "  " : row[c]);
        out += line.trimmed().isEmpty() ? QString() : line + "\n";
    }
    return out;
}

} // namespace quma
