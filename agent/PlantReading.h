// One poll of a controller in base units: what the agent publishes for a site.
#pragma once

#include "core/monitor/RegisterMap.h"

#include <QJsonObject>
#include <QList>
#include <QString>
#include <array>
#include <optional>

namespace quma::agent {

// The alarms the controller reports in its alarm words, with the agent's label for each.
struct AlarmBit {
    const char* key; // label value, e.g. "ac_failure"
    int word;        // 1 or 2
    int mask;
};
const QList<AlarmBit>& KnownAlarms();

// The relay contacts, in register-41 bit order.
const QList<QString>& ContactNames();

struct PlantReading {
    double acVolts = 0, acAmperes = 0;
    double dcVolts = 0, dcAmperes = 0;
    double batteryAmperes = 0;            // negative while the battery discharges
    std::optional<double> batteryCelsius; // none while the sensor is open
    double rectifierCelsius = 0;
    double setVolts = 0;
    bool batteryInstalled = false;
    double batteryVolts = 0, batteryChargePercent = 0;
    double batteryEndVolts = 0; // where the controller ends a discharge
    std::array<double, 15> cellVolts{};
    int cellBalance = 0;         // bit c - 1: cell c is being balanced
    QList<QString> activeAlarms; // keys of KnownAlarms()
    QList<bool> contacts;        // one per contact the plant has (4 or 6)
    int alarmWord1 = 0, alarmWord2 = 0;
    int systemType = 0;
    QString model, firmware;
};

PlantReading ReadPlant(const RegisterImage& image, const QString& modelName);

// The retained state message of a site.
QJsonObject StateJson(const QString& site, const PlantReading& r, qint64 msecsSinceEpoch);

} // namespace quma::agent
