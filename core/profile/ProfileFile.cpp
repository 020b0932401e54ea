// Site profiles: the JSON file, read strictly and written whole.
#include "core/profile/ProfileFile.h"

#include "core/io/ReadFile.h"
#include "core/io/WriteFile.h"
#include "core/monitor/Formatters.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <cmath>

namespace quma {

namespace {
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
            *why = QString("the value is not one of %1").arg(ProfileRangeText(f, 0, 0));
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
            int bit = ContactAlarmNames(f.secondWord).key(n, -1);
            if (bit < 0 && n.startsWith("bit ")) {
                bool ok = false;
                bit = n.mid(4).toInt(&ok);
                if (!ok || bit < 0 || bit > 15) bit = -1;
            }
            if (!name.isString() || bit < 0) {
                const QStringList known = ContactAlarmNames(f.secondWord).values();
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
        if (PlainAddress(value).isEmpty())
            return QString("'%1' is not four numbers 0 ~ 255 joined by '.'").arg(value);
    } else if (key == "rectifier_id") {
        // Exactly what the dialog takes: 1 to 8 hex digits, no sign, prefix or blank.
        static const QRegularExpression hex("^[0-9A-Fa-f]{1,8}\\z");
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
    if (key == "ip_address" || key == "subnet_mask" || key == "gateway") return PlainAddress(value);
    if (key == "rectifier_id") return value.toUpper().rightJustified(8, '0');
    return value;
}
} // namespace

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
        QJsonObject o{{"field", f.key}, {"register", f.reg}, {"value", ProfileJsonValue(f, raw)}};
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
        if (!FieldAppliesTo(*f, p.systemType)) {
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
                          .arg(f.key, ProfileValueText(f, raw), ProfileRangeText(f, lo, hi), f.unit)
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

} // namespace quma
