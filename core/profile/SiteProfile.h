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
#include <QJsonValue>
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

// A setting's value as people read it ("54.0", "output voltage", "AC alarm, DC low voltage").
QString ProfileValueText(const ProfileField& f, int raw);

// For the profile's own files: whether a field exists on a system type, an address without
// leading zeros ("192.168.05.01" -> "192.168.5.1"; empty when it is not four octets), a field's
// range as a refusal names it, a register value as the file writes it, and the alarms a contact
// word can carry, by bit.
bool FieldAppliesTo(const ProfileField& f, int systemType);
QString PlainAddress(const QString& dotted);
QString ProfileRangeText(const ProfileField& f, int lo, int hi);
QJsonValue ProfileJsonValue(const ProfileField& f, int raw);
const QMap<int, QString>& ContactAlarmNames(bool secondWord);

} // namespace quma
