// Site profiles: the fields, the file format, the comparison and the restore plan.
#include "core/profile/SiteProfile.h"

#include "core/io/ReadFile.h"
#include "core/io/WriteFile.h"
#include "core/monitor/Formatters.h"
#include "core/settings/SettingRegisters.h"
#include "core/settings/SettingRows.h"

#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <cmath>

namespace quma {

namespace {
// The value names as shown: the file keeps them in English, the windows translate them.
[[maybe_unused]] const char* const kValueNames[] = {
    QT_TRANSLATE_NOOP("Profile", "unused"),
    QT_TRANSLATE_NOOP("Profile", "used"),
    QT_TRANSLATE_NOOP("Profile", "output voltage"),
    QT_TRANSLATE_NOOP("Profile", "temperature compensation"),
    QT_TRANSLATE_NOOP("Profile", "test"),
    QT_TRANSLATE_NOOP("Profile", "normally open"),
    QT_TRANSLATE_NOOP("Profile", "normally closed"),
    QT_TRANSLATE_NOOP("Profile", "dry contact"),
    QT_TRANSLATE_NOOP("Profile", "TTL level"),
    QT_TRANSLATE_NOOP("Profile", "AC alarm"),
    QT_TRANSLATE_NOOP("Profile", "DC high voltage"),
    QT_TRANSLATE_NOOP("Profile", "DC low voltage"),
    QT_TRANSLATE_NOOP("Profile", "DC overcurrent"),
    QT_TRANSLATE_NOOP("Profile", "battery alarm"),
    QT_TRANSLATE_NOOP("Profile", "module alarm"),
    QT_TRANSLATE_NOOP("Profile", "battery low voltage"),
    QT_TRANSLATE_NOOP("Profile", "module high temperature"),
    QT_TRANSLATE_NOOP("Profile", "battery cell"),
    QT_TRANSLATE_NOOP("Profile", "none"),
};

QString shownValue(const QString& name) {
    return QCoreApplication::translate("Profile", name.toUtf8().constData());
}

// The alarms a contact word can carry, by bit (the nine the contact dialogs show).
const QMap<int, QString>& alarmNames(bool secondWord) {
    static const QMap<int, QString> first = {{0, "AC alarm"},       {1, "DC high voltage"},
                                             {2, "DC low voltage"}, {5, "DC overcurrent"},
                                             {6, "battery alarm"},  {8, "module alarm"}};
    static const QMap<int, QString> second = {
        {1, "battery low voltage"}, {3, "module high temperature"}, {6, "battery cell"}};
    return secondWord ? second : first;
}

} // namespace

const QList<ProfileField>& ProfileSettingFields() {
    static const QList<ProfileField> fields = [] {
        QList<ProfileField> out;
        for (const SettingRegister& r : SettingRegisters())
            if (r.key) out.append(r);
        return out;
    }();
    return fields;
}

QString EscapedText(const QString& text) {
    QString out;
    for (const QChar c : text) {
        if (c == '\\')
            out += "\\\\";
        else if (c.category() == QChar::Other_Control)
            out += QString("\\x%1").arg(c.unicode(), 2, 16, QChar('0'));
        else
            out += c;
    }
    return out;
}

QString ProfileFieldLabel(const ProfileField& field) {
    return QCoreApplication::translate("Settings", field.caption);
}

const ProfileField* FindProfileField(const QString& key) {
    for (const ProfileField& f : ProfileSettingFields())
        if (key == QLatin1String(f.key)) return &f;
    return nullptr;
}

std::pair<int, int> ProfileFieldRange(const ProfileField& f, int chargeModeRaw) {
    if (f.reg == Reg::OutputVolts) {
        const auto [lo, hi] = OutputVoltageRange(chargeModeRaw);
        return {int(std::lround(lo * 10)), int(std::lround(hi * 10))};
    }
    return {f.rawMin, f.rawMax};
}

const QStringList& ProfileNetworkFields() {
    static const QStringList fields = {"ip_address", "subnet_mask", "gateway", "rectifier_id",
                                       "site"};
    return fields;
}

namespace {
bool appliesTo(const ProfileField& f, int systemType) {
    return !f.typeThreeFourOnly || systemType == 3 || systemType == 4;
}

// "192.168.05.01" -> "192.168.5.1"; empty when it is not four octets.
QString plainAddress(const QString& dotted) {
    const QStringList parts = dotted.split('.');
    if (parts.size() != 4) return {};
    QStringList out;
    for (const QString& p : parts) {
        bool ok = false;
        const int v = p.toInt(&ok);
        if (!ok || v < 0 || v > 255) return {};
        out << QString::number(v);
    }
    return out.join('.');
}

QString rangeText(const ProfileField& f, int lo, int hi) {
    if (f.kind == ProfileField::Tenths)
        return QString("%1 ~ %2").arg(FormatTenths(lo), FormatTenths(hi));
    if (f.kind == ProfileField::Choice) return "\"" + f.choices.join("\", \"") + "\"";
    return QString("%1 ~ %2").arg(lo).arg(hi);
}

QJsonValue jsonValue(const ProfileField& f, int raw) {
    switch (f.kind) {
    case ProfileField::Tenths:
        return raw / 10.0;
    case ProfileField::Choice: {
        const int at = raw - f.rawMin;
        if (at >= 0 && at < f.choices.size()) return f.choices[at];
        return raw; // not an item: kept as the number, refused when read back
    }
    case ProfileField::AlarmWord: {
        QJsonArray names;
        for (int bit = 0; bit < 16; ++bit)
            if (raw & (1 << bit))
                names.append(alarmNames(f.secondWord).value(bit, QString("bit %1").arg(bit)));
        return names;
    }
    case ProfileField::Integer:
        break;
    }
    return raw;
}

// The register value a file's value stands for, or the reason it stands for none.
std::optional<int> rawFromJson(const ProfileField& f, const QJsonValue& v, QString* why) {
    switch (f.kind) {
    case ProfileField::Integer:
    case ProfileField::Tenths: {
        if (!v.isDouble()) {
            *why = "the value is not a number";
            return std::nullopt;
        }
        const double scaled = v.toDouble() * (f.kind == ProfileField::Tenths ? 10 : 1);
        if (!std::isfinite(scaled) || std::abs(scaled) > 1e6 ||
            std::abs(scaled - std::round(scaled)) > 1e-6) {
            *why = f.kind == ProfileField::Tenths
                       ? QString("%1 is not a multiple of 0.1").arg(v.toDouble())
                       : QString("%1 is not a whole number").arg(v.toDouble());
            return std::nullopt;
        }
        return int(std::lround(scaled));
    }
    case ProfileField::Choice: {
        const qsizetype at = f.choices.indexOf(v.toString());
        if (!v.isString() || at < 0) {
            *why = QString("the value is not one of %1").arg(rangeText(f, 0, 0));
            return std::nullopt;
        }
        return f.rawMin + int(at);
    }
    case ProfileField::AlarmWord: {
        if (!v.isArray()) {
            *why = "the value is not a list of alarm names";
            return std::nullopt;
        }
        int word = 0;
        for (const QJsonValue& name : v.toArray()) {
            const QString n = name.toString();
            int bit = alarmNames(f.secondWord).key(n, -1);
            if (bit < 0 && n.startsWith("bit ")) {
                bool ok = false;
                bit = n.mid(4).toInt(&ok);
                if (!ok || bit < 0 || bit > 15) bit = -1;
            }
            if (!name.isString() || bit < 0) {
                const QStringList known = alarmNames(f.secondWord).values();
                *why = QString("'%1' is not an alarm of this word (%2, or \"bit 0\" .. \"bit 15\")")
                           .arg(n, known.join(", "));
                return std::nullopt;
            }
            word |= 1 << bit;
        }
        return word;
    }
    }
    return std::nullopt;
}

QString networkError(const QString& key, const QString& value) {
    if (key == "ip_address" || key == "subnet_mask" || key == "gateway") {
        if (plainAddress(value).isEmpty())
            return QString("'%1' is not four numbers 0 ~ 255 joined by '.'").arg(value);
    } else if (key == "rectifier_id") {
        // Exactly what the dialog takes: 1 to 8 hex digits, no sign, prefix or blank.
        static const QRegularExpression hex("^[0-9A-Fa-f]{1,8}$");
        if (!hex.match(value).hasMatch())
            return QString("'%1' is not a hex number of at most 8 digits").arg(EscapedText(value));
    } else if (key == "site") {
        if (value.toUtf8().size() > 255)
            return QString("%1 bytes of UTF-8, at most 255").arg(value.toUtf8().size());
        for (const QChar c : value)
            if (c.category() == QChar::Other_Control)
                return QString("'%1' holds a control character (U+%2)")
                    .arg(EscapedText(value))
                    .arg(c.unicode(), 4, 16, QChar('0'));
    }
    return {};
}

// The form of a network field as compared: addresses without leading zeros, IDs as 8 hex digits.
QString networkCanonical(const QString& key, const QString& value) {
    if (key == "ip_address" || key == "subnet_mask" || key == "gateway") return plainAddress(value);
    if (key == "rectifier_id") return value.toUpper().rightJustified(8, '0');
    return value;
}
} // namespace

QString ProfileValueText(const ProfileField& f, int raw) {
    const QJsonValue v = jsonValue(f, raw);
    switch (f.kind) {
    case ProfileField::Tenths:
        return FormatTenths(raw);
    case ProfileField::AlarmWord: {
        QStringList names;
        for (const QJsonValue& n : v.toArray())
            names << shownValue(n.toString());
        return names.isEmpty() ? shownValue("none") : names.join(", ");
    }
    default:
        return v.isString() ? shownValue(v.toString()) : QString::number(raw);
    }
}

SiteProfile ProfileFromPlant(const RegisterImage& image, const NetworkIdentity* id,
                             const QString& modelName, const QDateTime& readAt) {
    SiteProfile p;
    p.model = modelName.trimmed();
    p.systemType = image[Reg::SystemType];
    p.readAt = readAt;
    for (const ProfileField& f : ProfileSettingFields())
        if (appliesTo(f, p.systemType)) p.settings.insert(f.key, image[f.reg]);
    if (id) {
        p.firmware = id->firmware;
        p.mac = id->mac;
        p.serialNumber = QString::fromLatin1(id->serialNumber).trimmed();
        p.network.insert("ip_address", plainAddress(id->ip));
        p.network.insert("subnet_mask", plainAddress(id->subnet));
        p.network.insert("gateway", plainAddress(id->gateway));
        p.network.insert("rectifier_id", id->rectId);
        p.network.insert("site", QString::fromUtf8(id->siteInfoUtf8));
    }
    return p;
}

QByteArray ProfileToJson(const SiteProfile& p) {
    QJsonObject plant{{"model", p.model},
                      {"system_type", p.systemType},
                      {"read_at", p.readAt.toString(Qt::ISODate)}};
    if (!p.firmware.isEmpty()) plant.insert("firmware", p.firmware);
    if (!p.mac.isEmpty()) plant.insert("mac_address", p.mac);
    if (!p.serialNumber.isEmpty()) plant.insert("serial_number", p.serialNumber);
    QJsonArray settings;
    for (const ProfileField& f : ProfileSettingFields()) {
        if (!p.settings.contains(f.key)) continue;
        const int raw = p.settings.value(f.key);
        QJsonObject o{{"field", f.key}, {"register", f.reg}, {"value", jsonValue(f, raw)}};
        if (*f.unit) o.insert("unit", f.unit);
        o.insert("raw", raw);
        settings.append(o);
    }
    QJsonArray network;
    for (const QString& key : ProfileNetworkFields())
        if (p.network.contains(key))
            network.append(QJsonObject{{"field", key}, {"value", p.network.value(key)}});
    QJsonObject root{{"format", kProfileFormat},
                     {"version", kProfileVersion},
                     {"plant", plant},
                     {"settings", settings}};
    if (!network.isEmpty()) root.insert("network", network);
    return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

ProfileLoad ProfileFromJson(const QByteArray& text) {
    ProfileLoad r;
    QJsonParseError pe;
    const QJsonDocument doc = QJsonDocument::fromJson(text, &pe);
    if (pe.error != QJsonParseError::NoError) {
        r.error = QString("not a profile: the JSON is broken at byte %1 (%2)")
                      .arg(pe.offset)
                      .arg(pe.errorString());
        return r;
    }
    if (!doc.isObject()) {
        r.error = "not a profile: the file holds no JSON object";
        return r;
    }
    const QJsonObject root = doc.object();
    if (root.value("format").toString() != kProfileFormat) {
        r.error = QString("format: '%1' is not a site profile (expected \"%2\")")
                      .arg(root.value("format").toVariant().toString(), kProfileFormat);
        return r;
    }
    const QJsonValue version = root.value("version");
    if (!version.isDouble() || version.toDouble() != kProfileVersion) {
        r.error = QString("version: %1 is not a version this program reads (it reads %2)")
                      .arg(version.toVariant().toString())
                      .arg(kProfileVersion);
        return r;
    }
    for (const QString& key : root.keys())
        if (key != "format" && key != "version" && key != "plant" && key != "settings" &&
            key != "network") {
            r.error = QString("%1: not a part of a site profile").arg(key);
            return r;
        }
    SiteProfile p;
    const QJsonObject plant = root.value("plant").toObject();
    const QJsonValue type = plant.value("system_type");
    if (!type.isDouble() || type.toInt() < 1 || type.toInt() > 4 ||
        type.toDouble() != type.toInt()) {
        r.error = "plant.system_type: missing or not one of 1 ~ 4";
        return r;
    }
    p.systemType = type.toInt();
    p.model = plant.value("model").toString();
    p.firmware = plant.value("firmware").toString();
    p.mac = plant.value("mac_address").toString();
    p.serialNumber = plant.value("serial_number").toString();
    p.readAt = QDateTime::fromString(plant.value("read_at").toString(), Qt::ISODate);

    if (!root.value("settings").isArray()) {
        r.error = "settings: missing or not a list";
        return r;
    }
    QMap<QString, QJsonObject> entries;
    for (const QJsonValue& e : root.value("settings").toArray()) {
        const QJsonObject o = e.toObject();
        const QString key = o.value("field").toString();
        const ProfileField* f = FindProfileField(key);
        if (!f) {
            r.error = QString("%1: not a setting this program knows")
                          .arg(key.isEmpty() ? QString("settings entry without a field") : key);
            return r;
        }
        if (entries.contains(key)) {
            r.error = QString("%1: given twice").arg(key);
            return r;
        }
        if (!appliesTo(*f, p.systemType)) {
            r.error = QString("%1: system type %2 has no such setting").arg(key).arg(p.systemType);
            return r;
        }
        for (const QString& k : o.keys())
            if (k != "field" && k != "register" && k != "unit" && k != "value" && k != "raw") {
                r.error = QString("%1: '%2' is not a part of a setting").arg(key, k);
                return r;
            }
        if (o.value("register").toInt(-1) != f->reg) {
            r.error = QString("%1: register %2, but this setting is register %3")
                          .arg(key, o.value("register").toVariant().toString())
                          .arg(f->reg);
            return r;
        }
        entries.insert(key, o);
    }
    // Values next: the output voltage's range depends on the charge mode the file holds.
    QString why;
    for (const ProfileField& f : ProfileSettingFields()) {
        if (!entries.contains(f.key)) continue;
        const QJsonObject o = entries.value(f.key);
        const auto raw = rawFromJson(f, o.value("value"), &why);
        if (!raw) {
            r.error = QString("%1: %2").arg(f.key, why);
            return r;
        }
        if (o.contains("raw") && o.value("raw").toDouble(-1) != *raw) {
            r.error = QString("%1: the value stands for register value %2, but raw says %3 "
                              "(change both, or remove raw)")
                          .arg(f.key)
                          .arg(*raw)
                          .arg(o.value("raw").toVariant().toString());
            return r;
        }
        p.settings.insert(f.key, *raw);
    }
    for (const ProfileField& f : ProfileSettingFields()) {
        if (!p.settings.contains(f.key)) continue;
        const int chargeMode = p.settings.value("charge_mode", 1);
        const auto [lo, hi] = ProfileFieldRange(f, chargeMode);
        const int raw = p.settings.value(f.key);
        if (raw < lo || raw > hi) {
            r.error = QString("%1: %2 is outside %3 %4")
                          .arg(f.key, ProfileValueText(f, raw), rangeText(f, lo, hi), f.unit)
                          .trimmed();
            return r;
        }
    }
    if (root.contains("network")) {
        if (!root.value("network").isArray()) {
            r.error = "network: not a list";
            return r;
        }
        for (const QJsonValue& e : root.value("network").toArray()) {
            const QJsonObject o = e.toObject();
            const QString key = o.value("field").toString();
            if (!ProfileNetworkFields().contains(key)) {
                r.error = QString("network.%1: not a network field this program knows (%2)")
                              .arg(key, ProfileNetworkFields().join(", "));
                return r;
            }
            if (p.network.contains(key)) {
                r.error = QString("network.%1: given twice").arg(key);
                return r;
            }
            if (!o.value("value").isString()) {
                r.error = QString("network.%1: the value is not a text").arg(key);
                return r;
            }
            const QString value = o.value("value").toString();
            const QString bad = networkError(key, value);
            if (!bad.isEmpty()) {
                r.error = QString("network.%1: %2").arg(key, bad);
                return r;
            }
            p.network.insert(key, networkCanonical(key, value));
        }
    }
    r.profile = p;
    return r;
}

ProfileLoad LoadProfileFile(const QString& path) {
    ProfileLoad r;
    // A profile is a few kilobytes: anything far larger is not one.
    const auto text = ReadWholeFile(path, 1 << 20, "site profile", &r.error);
    if (!text) return r;
    r = ProfileFromJson(*text);
    if (!r.error.isEmpty()) r.error = path + ": " + r.error;
    return r;
}

bool SaveProfileFile(const QString& path, const SiteProfile& profile, QString* error) {
    return WriteWholeFile(path, ProfileToJson(profile), error);
}

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
        if (!appliesTo(f, plant.systemType)) {
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
                             .arg(s.field, s.to, rangeText(*f, lo, hi));
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
