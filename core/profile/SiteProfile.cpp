// Site profiles: the fields and their values as people read them.
#include "core/profile/SiteProfile.h"

#include "core/monitor/Formatters.h"
#include "core/settings/SettingRegisters.h"
#include "core/settings/SettingRows.h"

#include <QCoreApplication>
#include <QJsonArray>
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

} // namespace

// The alarms a contact word can carry, by bit (the nine the contact dialogs show).
const QMap<int, QString>& ContactAlarmNames(bool secondWord) {
    static const QMap<int, QString> first = {{0, "AC alarm"},       {1, "DC high voltage"},
                                             {2, "DC low voltage"}, {5, "DC overcurrent"},
                                             {6, "battery alarm"},  {8, "module alarm"}};
    static const QMap<int, QString> second = {
        {1, "battery low voltage"}, {3, "module high temperature"}, {6, "battery cell"}};
    return secondWord ? second : first;
}

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

bool FieldAppliesTo(const ProfileField& f, int systemType) {
    return !f.typeThreeFourOnly || systemType == 3 || systemType == 4;
}

// "192.168.05.01" -> "192.168.5.1"; empty when it is not four octets.
QString PlainAddress(const QString& dotted) {
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

QString ProfileRangeText(const ProfileField& f, int lo, int hi) {
    if (f.kind == ProfileField::Tenths)
        return QString("%1 ~ %2").arg(FormatTenths(lo), FormatTenths(hi));
    if (f.kind == ProfileField::Choice) return "\"" + f.choices.join("\", \"") + "\"";
    return QString("%1 ~ %2").arg(lo).arg(hi);
}

QJsonValue ProfileJsonValue(const ProfileField& f, int raw) {
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
                names.append(
                    ContactAlarmNames(f.secondWord).value(bit, QString("bit %1").arg(bit)));
        return names;
    }
    case ProfileField::Integer:
        break;
    }
    return raw;
}

QString ProfileValueText(const ProfileField& f, int raw) {
    const QJsonValue v = ProfileJsonValue(f, raw);
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
        if (FieldAppliesTo(f, p.systemType)) p.settings.insert(f.key, image[f.reg]);
    if (id) {
        p.firmware = id->firmware;
        p.mac = id->mac;
        p.serialNumber = QString::fromLatin1(id->serialNumber).trimmed();
        p.network.insert("ip_address", PlainAddress(id->ip));
        p.network.insert("subnet_mask", PlainAddress(id->subnet));
        p.network.insert("gateway", PlainAddress(id->gateway));
        p.network.insert("rectifier_id", id->rectId);
        p.network.insert("site", QString::fromUtf8(id->siteInfoUtf8));
    }
    return p;
}

} // namespace quma
