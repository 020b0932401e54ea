// Discovery configurations for Home Assistant.
#include "agent/HomeAssistant.h"

#include "agent/FleetState.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace quma::agent {

namespace {

struct Measurement {
    const char* key; // in the state payload
    const char* name;
    const char* deviceClass;
    const char* unit;
};

const QList<Measurement>& Measurements() {
    static const QList<Measurement> m = {
        {"ac_volts", "AC voltage", "voltage", "V"},
        {"ac_amperes", "AC current", "current", "A"},
        {"dc_volts", "DC voltage", "voltage", "V"},
        {"dc_amperes", "DC current", "current", "A"},
        {"set_volts", "Set voltage", "voltage", "V"},
        {"battery_amperes", "Battery current", "current", "A"},
        {"rectifier_celsius", "Rectifier temperature", "temperature", "°C"},
        {"battery_celsius", "Battery temperature", "temperature", "°C"},
        {"battery_volts", "Battery voltage", "voltage", "V"},
        {"battery_charge_percent", "Battery charge", "battery", "%"},
    };
    return m;
}

} // namespace

QList<QPair<QString, QByteArray>> DiscoveryConfigs(const MqttConfig& config, const QString& site,
                                                   const PlantReading& r, const QString& stateTopic,
                                                   const QString& siteAvailability,
                                                   const QString& agentAvailability) {
    // Discovery's node ids take letters, digits, '_' and '-'.
    QString node = "quma_" + site;
    node.replace('.', '_');
    const QJsonObject device{{"identifiers", QJsonArray{node}},
                             {"name", "QUMA " + site},
                             {"manufacturer", "QUMA"},
                             {"model", r.model},
                             {"sw_version", r.firmware}};
    const QJsonArray availability{QJsonObject{{"topic", siteAvailability}},
                                  QJsonObject{{"topic", agentAvailability}}};
    const QJsonObject state = StateJson(site, r, 0);
    QList<QPair<QString, QByteArray>> out;
    const auto add = [&](const QString& component, const QString& id, QJsonObject entity) {
        entity["unique_id"] = node + "_" + id;
        entity["object_id"] = node + "_" + id;
        entity["state_topic"] = stateTopic;
        entity["availability"] = availability;
        entity["availability_mode"] = "all";
        entity["device"] = device;
        out.append({QString("%1/%2/%3/%4/config").arg(config.discoveryPrefix, component, node, id),
                    QJsonDocument(entity).toJson(QJsonDocument::Compact)});
    };
    for (const Measurement& m : Measurements()) {
        // Only what this plant reports: no battery, no probe, no entity.
        if (!state.contains(m.key) || state[m.key].isNull()) continue;
        add("sensor", m.key,
            QJsonObject{{"name", m.name},
                        {"device_class", m.deviceClass},
                        {"unit_of_measurement", QString::fromUtf8(m.unit)},
                        {"state_class", "measurement"},
                        {"value_template", QString("{{ value_json.%1 }}").arg(m.key)}});
    }
    for (const AlarmBit& a : KnownAlarms())
        add("binary_sensor", a.key,
            QJsonObject{
                {"name", AlarmText(a.key)},
                {"device_class", "problem"},
                {"value_template",
                 QString("{{ 'ON' if '%1' in value_json.alarms else 'OFF' }}").arg(a.key)}});
    return out;
}

} // namespace quma::agent
