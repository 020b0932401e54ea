// Site profiles: the writes that make a plant match a profile.
#pragma once

#include "core/profile/SiteProfile.h"

namespace quma {

// The writes that make a plant match a profile: only the fields that differ.
struct RestoreOptions {
    bool network = false;    // also write the network section
    bool otherModel = false; // restore the settings of a profile made for another model
};
struct RestoreStep {
    QString field;
    QString unit;
    int reg;
    int raw;
    QString from, to; // the plant's value and the profile's, as people read them
};
struct RestorePlan {
    QList<RestoreStep> steps;  // register writes, in queue order
    QStringList networkFields; // the network fields that differ (written only with `network`)
    std::optional<NetIdForm> networkForm;
    QStringList notApplicable; // fields the target plant does not have
    QString error;             // the reason nothing may be written
    bool empty() const { return steps.isEmpty() && !networkForm; }
    QList<RegWrite> writes() const;
};
RestorePlan PlanRestore(const SiteProfile& file, const SiteProfile& plant,
                        const RestoreOptions& options);
// The plan as lines a person confirms.
QStringList PlanLines(const RestorePlan& plan);

} // namespace quma
