// Site profiles: the writes that make a plant match a profile.
#include "core/profile/RestorePlan.h"

#include <QCoreApplication>

namespace quma {

QList<RegWrite> RestorePlan::writes() const {
    QList<RegWrite> w;
    for (const RestoreStep& s : steps)
        w.append({s.reg, s.raw});
    return w;
}

RestorePlan PlanRestore(const SiteProfile& file, const SiteProfile& plant,
                        const RestoreOptions& options) {
    RestorePlan plan;
    const bool sameType = file.systemType == plant.systemType;
    if (!sameType && !options.otherModel) {
        plan.error = QString("plant.system_type: the profile was made for system type %1 (%2), "
                             "this plant is %3 (%4); nothing was written. Restore its settings "
                             "to another model only on purpose (--other-model).")
                         .arg(file.systemType)
                         .arg(file.model.isEmpty() ? QString("?") : file.model)
                         .arg(plant.systemType)
                         .arg(plant.model.isEmpty() ? QString("?") : plant.model);
        return plan;
    }
    if (!sameType && options.network) {
        plan.error = "network: the network section of a profile made for another model is never "
                     "written; nothing was written.";
        return plan;
    }
    for (const ProfileField& f : ProfileSettingFields()) {
        if (!file.settings.contains(f.key)) continue;
        if (!FieldAppliesTo(f, plant.systemType)) {
            plan.notApplicable << f.key;
            continue;
        }
        const int want = file.settings.value(f.key);
        const bool known = plant.settings.contains(f.key);
        const int have = plant.settings.value(f.key);
        if (known && have == want) continue;
        plan.steps.append({f.key, f.unit, f.reg, want,
                           known ? ProfileValueText(f, have) : QString("?"),
                           ProfileValueText(f, want)});
    }
    // The output voltage's range follows the charge mode the plant will have.
    const int chargeMode = file.settings.value("charge_mode", plant.settings.value("charge_mode"));
    for (const RestoreStep& s : plan.steps) {
        const ProfileField* f = FindProfileField(s.field);
        const auto [lo, hi] = ProfileFieldRange(*f, chargeMode);
        if (s.raw < lo || s.raw > hi) {
            plan.error = QString("%1: %2 is outside %3 with the charge mode this plant will have; "
                                 "nothing was written.")
                             .arg(s.field, s.to, ProfileRangeText(*f, lo, hi));
            plan.steps.clear();
            return plan;
        }
    }
    for (const QString& key : ProfileNetworkFields())
        if (file.network.contains(key) && file.network.value(key) != plant.network.value(key))
            plan.networkFields << key;
    if (options.network && !plan.networkFields.isEmpty()) {
        if (plant.network.isEmpty()) {
            plan.error = "network: the plant's network identity was not read; nothing was written.";
            plan.steps.clear();
            return plan;
        }
        NetIdForm form;
        for (const QString& key : plan.networkFields) {
            const QString v = file.network.value(key);
            if (key == "ip_address") {
                form.ip = true;
                form.ipText = v.split('.');
            } else if (key == "subnet_mask") {
                form.subnet = true;
                form.subnetText = v.split('.');
            } else if (key == "gateway") {
                form.gateway = true;
                form.gatewayText = v.split('.');
            } else if (key == "rectifier_id") {
                form.rectId = true;
                form.rectIdText = v;
            } else if (key == "site") {
                form.site = true;
                form.siteText = v;
            }
        }
        plan.networkForm = form;
    }
    return plan;
}

QStringList PlanLines(const RestorePlan& plan) {
    QStringList lines;
    for (const RestoreStep& s : plan.steps)
        lines << QString("%1 (register %2): %3 -> %4 %5")
                     .arg(s.field)
                     .arg(s.reg)
                     .arg(s.from, s.to, s.unit)
                     .trimmed();
    for (const QString& key : plan.networkFields)
        lines << (plan.networkForm ? QString("network.%1: written").arg(key)
                                   : QString("network.%1: differs, not written (needs the "
                                             "network option)")
                                         .arg(key));
    for (const QString& key : plan.notApplicable)
        lines << QString("%1: this plant has no such setting, skipped").arg(key);
    return lines;
}

} // namespace quma
