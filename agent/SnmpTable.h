// QUMA-PLANT-MIB in code: the objects the module declares (each once, with its place under the
// module's root), and the sorted list of instances and values the subagent serves from a
// snapshot. No net-snmp here: the subagent maps the syntaxes onto its types.
#pragma once

#include "agent/FleetState.h"

#include <QByteArray>
#include <vector>

namespace quma::agent {

// Sub-identifiers, as net-snmp's `oid`.
using SnmpOid = std::vector<unsigned long>;

SnmpOid ParseOid(const QString& dotted); // empty when not an OID
QString OidText(const SnmpOid& oid);

// Where the module's objects sit under its root.
namespace Mib {
// qumaPlantObjects(1)
constexpr unsigned long Agent = 1, SiteTable = 2, CellTable = 3, AlarmTable = 4, Notify = 5;
// qumaAgent(1.1)
constexpr unsigned long AgentVersion = 1, SitesConfigured = 2, SitesUp = 3, LastSequence = 4,
                        HeartbeatPeriod = 5;
// qumaSiteEntry(1.2.1)
constexpr unsigned long SiteIndex = 1, SiteName = 2, SiteLabels = 3, SiteLink = 4, SiteStatus = 5,
                        SiteLastReplyAge = 6, SiteModel = 7, SiteSystemType = 8, SiteFirmware = 9,
                        SiteMacAddress = 10, SiteSerialNumber = 11, SiteText = 12,
                        SiteAcVoltage = 13, SiteAcCurrent = 14, SiteDcVoltage = 15,
                        SiteDcCurrent = 16, SiteBatteryVoltage = 17, SiteBatteryCurrent = 18,
                        SiteBatteryCharge = 19, SiteBatteryTemperature = 20,
                        SiteRectifierTemperature = 21, SiteActiveAlarms = 22;
// qumaCellEntry(1.3.1)
constexpr unsigned long CellIndex = 1, CellVoltage = 2, CellBalancing = 3;
// qumaAlarmEntry(1.4.1)
constexpr unsigned long AlarmSequence = 1, AlarmName = 2, AlarmGroupColumn = 3, AlarmSeverity = 4,
                        AlarmRaisedTime = 5, AlarmKey = 6;
// qumaNotifyObjects(1.5), accessible for notify only
constexpr unsigned long NotifySequence = 1, NotifyText = 2, NotifyTime = 3;
// qumaPlantNotifications(2.0)
constexpr unsigned long AlarmRaised = 1, AlarmCleared = 2, SiteDown = 3, SiteUp = 4, Heartbeat = 5;
// What a measurement holds when the plant reports none (no battery, an open probe, a site
// that is down).
constexpr qint64 Invalid = 2147483647;
} // namespace Mib

enum class SnmpSyntax { Integer, Gauge, Unsigned, OctetString, ObjectId };

struct SnmpObject {
    const char* name;
    SnmpOid place; // under the root
    enum Access { NotAccessible, ReadOnly, ForNotify, Notification } access;
};
// Every object the module declares below its root, tables and entries excepted.
const std::vector<SnmpObject>& SnmpObjects();

struct SnmpValue {
    SnmpOid oid; // the instance, root included
    SnmpSyntax syntax = SnmpSyntax::Integer;
    qint64 number = 0;
    QByteArray octets;
};

// Every instance in OID order.
std::vector<SnmpValue> BuildSnmpTable(const SnmpOid& root, const FleetSnapshot& snapshot,
                                      qint64 nowMs, int heartbeatSeconds);

// DateAndTime (SNMPv2-TC), in UTC.
QByteArray DateAndTime(qint64 msecsSinceEpoch);

} // namespace quma::agent
