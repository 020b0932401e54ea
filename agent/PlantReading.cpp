// Registers to base units.
#include "agent/PlantReading.h"

#include "core/monitor/StatusTexts.h"

#include <QJsonArray>

namespace quma::agent {

namespace {
double tenths(int r) {
    return r / 10.0;
}
double signedTenths(int r) {
    return SignedRegister(r) / 10.0;
}
} // namespace

const QList<AlarmBit>& KnownAlarms() {
    static const QList<AlarmBit> alarms = {
        {"ac_failure", 1, 0x0001},          {"dc_high_voltage", 1, 0x0002},
        {"dc_low_voltage", 1, 0x0004},      {"dc_overcurrent", 1, 0x0020},
        {"battery_alarm", 1, 0x0040},       {"rectifier_module_failure", 1, 0x0100},
        {"battery_low_voltage", 2, 0x0002}, {"module_high_temperature", 2, 0x0008},
        {"battery_cell", 2, 0x0040},
    };
    return alarms;
}

const QList<QString>& ContactNames() {
    static const QList<QString> names = {"AC Fail",      "DC Fail", "Module Fail",
                                         "Battery Fail", "Spare 1", "Spare 2"};
    return names;
}

PlantReading ReadPlant(const RegisterImage& r, const QString& modelName) {
    PlantReading p;
    p.acVolts = tenths(r[Reg::AcVolts]);
    p.acAmperes = tenths(r[Reg::AcAmps]);
    p.dcVolts = tenths(r[Reg::DcVolts]);
    p.dcAmperes = signedTenths(r[Reg::LoadAmps]);
    p.batteryAmperes = signedTenths(r[Reg::BattAmps]);
    if (r[Reg::BattTemp] != kTempProbeOpen) p.batteryCelsius = signedTenths(r[Reg::BattTemp]);
    p.rectifierCelsius = signedTenths(r[Reg::RectTemp]);
    const int set = r[Reg::SetVolts];
    p.setVolts = set < 1001 ? set / 10.0 : set / 100.0;
    p.batteryInstalled = r[Reg::BattInstalled] != 0;
    p.batteryVolts = r[Reg::BattVolts] / 100.0;
    p.batteryChargePercent = r[Reg::BattSoc];
    p.batteryEndVolts = tenths(r[Reg::BattLvd]);
    p.cellBalance = r[Reg::CellBalance];
    for (int c = 0; c < 15; ++c)
        p.cellVolts[std::size_t(c)] = r[Reg::Cell1 + c] / 100.0;
    p.alarmWord1 = r[Reg::Alarm1];
    p.alarmWord2 = r[Reg::Alarm2];
    for (const AlarmBit& a : KnownAlarms())
        if (((a.word == 1 ? p.alarmWord1 : p.alarmWord2) & a.mask) != 0) p.activeAlarms << a.key;
    for (int i = 0; i < ContactCount(r); ++i)
        p.contacts << ((r[Reg::DryContacts] & (1 << i)) != 0);
    p.systemType = r[Reg::SystemType];
    p.model = modelName.trimmed();
    // "QUMA-7TN(A)  F/W V1.1.5.0  (2021/12/27)" gives "1.1.5.0 (2021/12/27)".
    const QString firmware = FirmwareText(r, {});
    const qsizetype at = firmware.indexOf("F/W V");
    p.firmware = (at < 0 ? firmware : firmware.mid(at + 5)).simplified();
    return p;
}

QJsonObject StateJson(const QString& site, const PlantReading& r, qint64 msecs) {
    QJsonArray cells, alarms, contacts;
    for (double c : r.cellVolts)
        cells << c;
    for (const QString& a : r.activeAlarms)
        alarms << a;
    for (int i = 0; i < r.contacts.size(); ++i)
        contacts << QJsonObject{
            {"contact", i + 1}, {"name", ContactNames().value(i)}, {"active", r.contacts[i]}};
    QJsonObject o{{"site", site},
                  {"time_ms", msecs},
                  {"model", r.model},
                  {"system_type", r.systemType},
                  {"firmware", r.firmware},
                  {"ac_volts", r.acVolts},
                  {"ac_amperes", r.acAmperes},
                  {"dc_volts", r.dcVolts},
                  {"dc_amperes", r.dcAmperes},
                  {"battery_amperes", r.batteryAmperes},
                  {"rectifier_celsius", r.rectifierCelsius},
                  {"set_volts", r.setVolts},
                  {"alarms", alarms},
                  {"contacts", contacts}};
    o["battery_celsius"] = r.batteryCelsius ? QJsonValue(*r.batteryCelsius) : QJsonValue();
    if (r.batteryInstalled) {
        o["battery_volts"] = r.batteryVolts;
        o["battery_charge_percent"] = r.batteryChargePercent;
        o["cell_volts"] = cells;
    }
    return o;
}

} // namespace quma::agent
