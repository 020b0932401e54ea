// The module's objects and the instances served from a snapshot.
#include "agent/SnmpTable.h"

#include <QDateTime>
#include <QStringList>
#include <algorithm>
#include <cmath>

namespace quma::agent {

SnmpOid ParseOid(const QString& dotted) {
    SnmpOid oid;
    const QStringList parts = (dotted.startsWith('.') ? dotted.mid(1) : dotted).split('.');
    for (const QString& p : parts) {
        bool ok = false;
        const qulonglong v = p.toULongLong(&ok);
        if (!ok || v > 0xFFFFFFFFull) return {};
        oid.push_back(static_cast<unsigned long>(v));
    }
    return oid;
}

QString OidText(const SnmpOid& oid) {
    QStringList parts;
    for (unsigned long v : oid)
        parts << QString::number(v);
    return parts.join('.');
}

const std::vector<SnmpObject>& SnmpObjects() {
    using namespace Mib;
    static const std::vector<SnmpObject> objects = {
        {"qumaAgentVersion", {1, Agent, AgentVersion}, SnmpObject::ReadOnly},
        {"qumaAgentSitesConfigured", {1, Agent, SitesConfigured}, SnmpObject::ReadOnly},
        {"qumaAgentSitesUp", {1, Agent, SitesUp}, SnmpObject::ReadOnly},
        {"qumaAgentLastSequence", {1, Agent, LastSequence}, SnmpObject::ReadOnly},
        {"qumaAgentHeartbeatPeriod", {1, Agent, HeartbeatPeriod}, SnmpObject::ReadOnly},
        {"qumaSiteIndex", {1, SiteTable, 1, SiteIndex}, SnmpObject::NotAccessible},
        {"qumaSiteName", {1, SiteTable, 1, SiteName}, SnmpObject::ReadOnly},
        {"qumaSiteLabels", {1, SiteTable, 1, SiteLabels}, SnmpObject::ReadOnly},
        {"qumaSiteLink", {1, SiteTable, 1, SiteLink}, SnmpObject::ReadOnly},
        {"qumaSiteStatus", {1, SiteTable, 1, SiteStatus}, SnmpObject::ReadOnly},
        {"qumaSiteLastReplyAge", {1, SiteTable, 1, SiteLastReplyAge}, SnmpObject::ReadOnly},
        {"qumaSiteModel", {1, SiteTable, 1, SiteModel}, SnmpObject::ReadOnly},
        {"qumaSiteSystemType", {1, SiteTable, 1, SiteSystemType}, SnmpObject::ReadOnly},
        {"qumaSiteFirmware", {1, SiteTable, 1, SiteFirmware}, SnmpObject::ReadOnly},
        {"qumaSiteMacAddress", {1, SiteTable, 1, SiteMacAddress}, SnmpObject::ReadOnly},
        {"qumaSiteSerialNumber", {1, SiteTable, 1, SiteSerialNumber}, SnmpObject::ReadOnly},
        {"qumaSiteText", {1, SiteTable, 1, SiteText}, SnmpObject::ReadOnly},
        {"qumaSiteAcVoltage", {1, SiteTable, 1, SiteAcVoltage}, SnmpObject::ReadOnly},
        {"qumaSiteAcCurrent", {1, SiteTable, 1, SiteAcCurrent}, SnmpObject::ReadOnly},
        {"qumaSiteDcVoltage", {1, SiteTable, 1, SiteDcVoltage}, SnmpObject::ReadOnly},
        {"qumaSiteDcCurrent", {1, SiteTable, 1, SiteDcCurrent}, SnmpObject::ReadOnly},
        {"qumaSiteBatteryVoltage", {1, SiteTable, 1, SiteBatteryVoltage}, SnmpObject::ReadOnly},
        {"qumaSiteBatteryCurrent", {1, SiteTable, 1, SiteBatteryCurrent}, SnmpObject::ReadOnly},
        {"qumaSiteBatteryCharge", {1, SiteTable, 1, SiteBatteryCharge}, SnmpObject::ReadOnly},
        {"qumaSiteBatteryTemperature",
         {1, SiteTable, 1, SiteBatteryTemperature},
         SnmpObject::ReadOnly},
        {"qumaSiteRectifierTemperature",
         {1, SiteTable, 1, SiteRectifierTemperature},
         SnmpObject::ReadOnly},
        {"qumaSiteActiveAlarms", {1, SiteTable, 1, SiteActiveAlarms}, SnmpObject::ReadOnly},
        {"qumaCellIndex", {1, CellTable, 1, CellIndex}, SnmpObject::NotAccessible},
        {"qumaCellVoltage", {1, CellTable, 1, CellVoltage}, SnmpObject::ReadOnly},
        {"qumaCellBalancing", {1, CellTable, 1, CellBalancing}, SnmpObject::ReadOnly},
        {"qumaAlarmSequence", {1, AlarmTable, 1, AlarmSequence}, SnmpObject::NotAccessible},
        {"qumaAlarmName", {1, AlarmTable, 1, AlarmName}, SnmpObject::ReadOnly},
        {"qumaAlarmGroup", {1, AlarmTable, 1, AlarmGroupColumn}, SnmpObject::ReadOnly},
        {"qumaAlarmSeverity", {1, AlarmTable, 1, AlarmSeverity}, SnmpObject::ReadOnly},
        {"qumaAlarmRaisedTime", {1, AlarmTable, 1, AlarmRaisedTime}, SnmpObject::ReadOnly},
        {"qumaAlarmKey", {1, AlarmTable, 1, AlarmKey}, SnmpObject::ReadOnly},
        {"qumaNotifySequence", {1, Notify, NotifySequence}, SnmpObject::ForNotify},
        {"qumaNotifyText", {1, Notify, NotifyText}, SnmpObject::ForNotify},
        {"qumaNotifyTime", {1, Notify, NotifyTime}, SnmpObject::ForNotify},
        {"qumaAlarmRaised", {2, 0, AlarmRaised}, SnmpObject::Notification},
        {"qumaAlarmCleared", {2, 0, AlarmCleared}, SnmpObject::Notification},
        {"qumaSiteDown", {2, 0, SiteDown}, SnmpObject::Notification},
        {"qumaSiteUp", {2, 0, SiteUp}, SnmpObject::Notification},
        {"qumaHeartbeat", {2, 0, Heartbeat}, SnmpObject::Notification},
    };
    return objects;
}

QByteArray DateAndTime(qint64 ms) {
    const QDateTime t = QDateTime::fromMSecsSinceEpoch(ms, Qt::UTC);
    const QDate d = t.date();
    const QTime h = t.time();
    QByteArray b(11, 0);
    b[0] = char(d.year() >> 8);
    b[1] = char(d.year() & 0xFF);
    b[2] = char(d.month());
    b[3] = char(d.day());
    b[4] = char(h.hour());
    b[5] = char(h.minute());
    b[6] = char(h.second());
    b[7] = char(h.msec() / 100);
    b[8] = '+';
    return b;
}

namespace {

qint64 milli(double v) {
    return std::llround(v * 1000);
}
qint64 tenth(double v) {
    return std::llround(v * 10);
}

} // namespace

std::vector<SnmpValue> BuildSnmpTable(const SnmpOid& root, const FleetSnapshot& s, qint64 nowMs,
                                      int heartbeatSeconds) {
    using namespace Mib;
    using Sy = SnmpSyntax;
    std::vector<SnmpValue> out;
    out.reserve(8 + s.sites.size() * (22 + 15 * 2) + 64);
    const auto put = [&](const SnmpOid& place, Sy syntax, qint64 number,
                         const QByteArray& octets = {}) {
        SnmpValue v;
        v.oid.reserve(root.size() + place.size());
        v.oid = root;
        v.oid.insert(v.oid.end(), place.begin(), place.end());
        v.syntax = syntax;
        v.number = number;
        v.octets = octets;
        out.push_back(std::move(v));
    };
    int up = 0;
    for (const SiteRow& r : s.sites)
        up += r.up;
    put({1, Agent, AgentVersion, 0}, Sy::OctetString, 0, QByteArray("quma-agent ") + QUMA_VERSION);
    put({1, Agent, SitesConfigured, 0}, Sy::Gauge, qint64(s.sites.size()));
    put({1, Agent, SitesUp, 0}, Sy::Gauge, up);
    put({1, Agent, LastSequence, 0}, Sy::Unsigned, s.lastSequence);
    put({1, Agent, HeartbeatPeriod, 0}, Sy::Integer, heartbeatSeconds);

    // Column by column, row by row: OID order.
    const auto site = [&](unsigned long column, auto value) {
        for (const SiteRow& r : s.sites)
            value(r, SnmpOid{1, SiteTable, 1, column, r.index});
    };
    const auto textColumn = [&](unsigned long column, auto text) {
        site(column, [&](const SiteRow& r, const SnmpOid& at) {
            put(at, Sy::OctetString, 0, text(r).toUtf8().left(255));
        });
    };
    // A measurement while the site is up and the plant reports it; Invalid otherwise.
    const auto measure = [&](unsigned long column, auto value) {
        site(column, [&](const SiteRow& r, const SnmpOid& at) {
            const std::optional<qint64> v =
                r.up && r.reading ? value(*r.reading) : std::optional<qint64>();
            put(at, Sy::Integer, v.value_or(Invalid));
        });
    };
    textColumn(SiteName, [](const SiteRow& r) { return r.name; });
    textColumn(SiteLabels, [](const SiteRow& r) { return r.labels; });
    textColumn(SiteLink, [](const SiteRow& r) { return r.link; });
    site(SiteStatus,
         [&](const SiteRow& r, const SnmpOid& at) { put(at, Sy::Integer, r.up ? 1 : 2); });
    site(SiteLastReplyAge, [&](const SiteRow& r, const SnmpOid& at) {
        put(at, Sy::Integer,
            r.lastGoodMs < 0 ? Invalid : std::max<qint64>(0, (nowMs - r.lastGoodMs) / 1000));
    });
    textColumn(SiteModel, [](const SiteRow& r) { return r.reading ? r.reading->model : ""; });
    site(SiteSystemType, [&](const SiteRow& r, const SnmpOid& at) {
        put(at, Sy::Integer, r.reading ? r.reading->systemType : Invalid);
    });
    textColumn(SiteFirmware, [](const SiteRow& r) { return r.reading ? r.reading->firmware : ""; });
    site(SiteMacAddress,
         [&](const SiteRow& r, const SnmpOid& at) { put(at, Sy::OctetString, 0, r.mac); });
    textColumn(SiteSerialNumber, [](const SiteRow& r) { return r.serial; });
    textColumn(SiteText, [](const SiteRow& r) { return r.siteText; });
    using M = std::optional<qint64>;
    measure(SiteAcVoltage, [](const PlantReading& p) -> M { return milli(p.acVolts); });
    measure(SiteAcCurrent, [](const PlantReading& p) -> M { return milli(p.acAmperes); });
    measure(SiteDcVoltage, [](const PlantReading& p) -> M { return milli(p.dcVolts); });
    measure(SiteDcCurrent, [](const PlantReading& p) -> M { return milli(p.dcAmperes); });
    measure(SiteBatteryVoltage, [](const PlantReading& p) -> M {
        return p.batteryInstalled ? M(milli(p.batteryVolts)) : std::nullopt;
    });
    measure(SiteBatteryCurrent, [](const PlantReading& p) -> M {
        return p.batteryInstalled ? M(milli(p.batteryAmperes)) : std::nullopt;
    });
    measure(SiteBatteryCharge, [](const PlantReading& p) -> M {
        return p.batteryInstalled ? M(std::llround(p.batteryChargePercent)) : std::nullopt;
    });
    measure(SiteBatteryTemperature, [](const PlantReading& p) -> M {
        return p.batteryCelsius ? M(tenth(*p.batteryCelsius)) : std::nullopt;
    });
    measure(SiteRectifierTemperature,
            [](const PlantReading& p) -> M { return tenth(p.rectifierCelsius); });
    site(SiteActiveAlarms,
         [&](const SiteRow& r, const SnmpOid& at) { put(at, Sy::Gauge, qint64(r.alarms.size())); });

    // The cells: 15 rows a site.
    for (unsigned long column : {CellVoltage, CellBalancing})
        for (const SiteRow& r : s.sites)
            for (unsigned long c = 1; c <= unsigned(Reg::CellCount); ++c) {
                const bool known = r.up && r.reading && r.reading->batteryInstalled;
                qint64 v = Invalid;
                if (column == CellVoltage && known)
                    v = milli(r.reading->cellVolts[c - 1]);
                else if (column == CellBalancing)
                    v = known && (r.reading->cellBalance & (1 << (c - 1))) ? 1 : 2;
                put({1, CellTable, 1, column, r.index, c}, Sy::Integer, v);
            }

    // The active alarms and contacts.
    for (unsigned long column :
         {AlarmName, AlarmGroupColumn, AlarmSeverity, AlarmRaisedTime, AlarmKey})
        for (const SiteRow& r : s.sites)
            for (const ActiveAlarm& a : r.alarms) {
                const SnmpOid at{1, AlarmTable, 1, column, r.index, a.sequence};
                switch (column) {
                case AlarmName:
                    put(at, Sy::OctetString, 0, a.name.toUtf8());
                    break;
                case AlarmGroupColumn:
                    put(at, Sy::Integer, int(a.group));
                    break;
                case AlarmSeverity:
                    put(at, Sy::Integer, int(a.severity));
                    break;
                case AlarmRaisedTime:
                    put(at, Sy::OctetString, 0, DateAndTime(a.raisedMs));
                    break;
                default:
                    put(at, Sy::OctetString, 0, a.key.toUtf8());
                }
            }
    return out;
}

} // namespace quma::agent
