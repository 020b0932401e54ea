// Site profiles: a plant's whole configuration as a JSON file that people can read, diff and keep
// in version control; the comparison of two profiles and the writes that make a plant match one.
//
// A profile holds the set points, alarm limits, modes, discharge-test schedule, contact rest
// state and output type and the contacts' alarm sets (one field per register), and, in their own
// section, the network identity fields a site owns (addresses, rectifier ID, site text). It never
// holds calibration (each unit's own trim), the clock, or actions (alarm test, forced discharge
// test, task-fail reset, clears, resets).
#pragma once

#include "core/link/Request.h"
#include "core/monitor/RegisterMap.h"
#include "core/settings/SettingRegisters.h"
#include "core/settings/SettingRows.h"

#include <QDateTime>
#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>
#include <optional>

namespace quma {

inline constexpr char kProfileFormat[] = "quma-site-profile";
inline constexpr int kProfileVersion = 1;

// A profile field is a setting register that has a field name.
using ProfileField = SettingRegister;
// In the order the writes are queued (the last is sent first).
const QList<ProfileField>& ProfileSettingFields();
const ProfileField* FindProfileField(const QString& key);
// A text with its control characters written as \xNN (and a backslash doubled): safe to print.
QString EscapedText(const QString& text);
// A field's name as the configuration dialogs label it, in the interface's language.
QString ProfileFieldLabel(const ProfileField& field);
// The register range of a field; the output voltage's depends on the charge mode.
std::pair<int, int> ProfileFieldRange(const ProfileField& f, int chargeModeRaw);

// The network fields, in the order they are shown.
const QStringList& ProfileNetworkFields();

struct SiteProfile {
    // For the record: what was read and when.
    QString model;
    int systemType = 0;
    QString firmware;
    QString mac;
    QString serialNumber;
    QDateTime readAt;
    // The settings present, by field name, as register values.
    QMap<QString, int> settings;
    // The network section, by field name, as texts ("192.168.50.92", "00000001", UTF-8 site).
    QMap<QString, QString> network;
};

// The profile of a plant from its last poll and network identity read (none: no network section).
SiteProfile ProfileFromPlant(const RegisterImage& image, const NetworkIdentity* identity,
                             const QString& modelName, const QDateTime& readAt);

QByteArray ProfileToJson(const SiteProfile& profile);
// Reads a profile file's text. Refuses (with the field and the reason) anything that is not a
// whole profile of this format and a known version, a field that is unknown, repeated, on the
// wrong register or outside its range, and a value that disagrees with its raw register value.
struct ProfileLoad {
    std::optional<SiteProfile> profile;
    QString error;
};
ProfileLoad ProfileFromJson(const QByteArray& text);
ProfileLoad LoadProfileFile(const QString& path);
// Writes the file whole or not at all (an existing file stays as it was on failure).
bool SaveProfileFile(const QString& path, const SiteProfile& profile, QString* error);

// A setting's value as people read it ("54.0", "output voltage", "AC alarm, DC low voltage").
QString ProfileValueText(const ProfileField& f, int raw);

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
