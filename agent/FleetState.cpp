// The fleet's rows, alarms and their sequence numbers.
#include "agent/FleetState.h"

#include "core/monitor/RegisterMap.h"

#include <QMutexLocker>
#include <QStringList>

namespace quma::agent {

namespace {

struct AlarmKind {
    const char* key;
    const char* name;
    AlarmGroup group;
    Severity severity; // when the configuration names none
};

// The plant's alarm bits and the agent's derived battery-discharge alarm.
const std::vector<AlarmKind>& AlarmKinds() {
    using G = AlarmGroup;
    using S = Severity;
    static const std::vector<AlarmKind> kinds = {
        {"ac_failure", "AC Failure", G::Ac, S::Major},
        {"dc_high_voltage", "DC High Voltage", G::Dc, S::Major},
        {"dc_low_voltage", "DC Low Voltage", G::Dc, S::Critical},
        {"dc_overcurrent", "DC Overcurrent", G::Dc, S::Major},
        {"battery_alarm", "Battery Alarm", G::Battery, S::Major},
        {"rectifier_module_failure", "Rectifier Module Failure", G::Rectifier, S::Minor},
        {"battery_low_voltage", "Battery Low Voltage", G::Battery, S::Critical},
        {"module_high_temperature", "Module High Temperature", G::Rectifier, S::Minor},
        {"battery_cell", "Battery Cell Alarm", G::Battery, S::Minor},
        {"battery_discharge", "Battery Discharge", G::Battery, S::Major},
        {"contact", "Contact", G::Contact, S::Warning},
    };
    return kinds;
}

// A battery giving more than this is discharging.
constexpr double kDischargeAmperes = -0.5;

ActiveAlarm alarmOf(const AlarmKind& kind, const SnmpConfig& config) {
    ActiveAlarm a;
    a.key = kind.key;
    a.name = kind.name;
    a.group = kind.group;
    a.severity = SeverityFromText(config.severities.value(kind.key)).value_or(kind.severity);
    return a;
}

const AlarmKind& kindOf(const char* key) {
    for (const AlarmKind& k : AlarmKinds())
        if (qstrcmp(k.key, key) == 0) return k;
    Q_UNREACHABLE();
}

} // namespace

QString AlarmText(const QString& key) {
    for (const AlarmKind& k : AlarmKinds())
        if (key == k.key) return k.name;
    return key;
}

std::optional<Severity> SeverityFromText(const QString& text) {
    static const QStringList names = {"critical", "major", "minor", "warning"};
    const qsizetype at = names.indexOf(text);
    if (at < 0) return std::nullopt;
    return Severity(at + 1);
}

QString SeverityText(Severity s) {
    static const QStringList names = {"critical", "major", "minor", "warning"};
    return names.value(int(s) - 1);
}

std::vector<ActiveAlarm> AlarmsOf(const PlantReading& r, const SnmpConfig& config) {
    std::vector<ActiveAlarm> alarms;
    for (const QString& key : r.activeAlarms)
        alarms.push_back(alarmOf(kindOf(qPrintable(key)), config));
    if (r.batteryInstalled && r.batteryAmperes <= kDischargeAmperes) {
        ActiveAlarm a = alarmOf(kindOf("battery_discharge"), config);
        // Near the end voltage the load is about to be cut: critical, whatever was configured.
        if (r.batteryEndVolts > 0 && r.batteryVolts <= r.batteryEndVolts + config.endVoltageMargin)
            a.severity = Severity::Critical;
        alarms.push_back(a);
    }
    for (int i = 0; i < r.contacts.size(); ++i) {
        if (!r.contacts[i]) continue;
        ActiveAlarm a = alarmOf(kindOf("contact"), config);
        a.key = QString("contact_%1").arg(i + 1);
        a.name = "Contact " + ContactNames().value(i);
        alarms.push_back(a);
    }
    return alarms;
}

FleetState::FleetState(const SnmpConfig& config, QObject* parent)
    : QObject(parent), m_config(config) {
    qRegisterMetaType<FleetEvent>();
}

void FleetState::setSites(const QList<SiteConfig>& sites) {
    QMutexLocker lock(&m_mutex);
    std::map<quint32, SiteRow> rows;
    for (const SiteConfig& s : sites) {
        auto [it, fresh] = m_indexOf.try_emplace(s.name, m_nextIndex);
        if (fresh) ++m_nextIndex;
        const auto old = m_rows.find(it->second);
        SiteRow row = old != m_rows.end() ? old->second : SiteRow{};
        row.index = it->second;
        row.name = s.name;
        QStringList labels;
        for (auto l = s.labels.begin(); l != s.labels.end(); ++l)
            labels << l.key() + "=" + l.value();
        row.labels = labels.join(',');
        row.link = s.tcp.isEmpty() ? "serial " + s.serial : "tcp " + s.tcp;
        rows[row.index] = row;
    }
    m_rows = std::move(rows);
    ++m_generation;
    ++m_shape;
}

SiteRow* FleetState::find(const QString& site) {
    const auto index = m_indexOf.find(site);
    if (index == m_indexOf.end()) return nullptr;
    const auto it = m_rows.find(index->second);
    return it == m_rows.end() ? nullptr : &it->second;
}

void FleetState::replied(const QString& site, const PlantReading& reading, qint64 wallMs) {
    std::vector<FleetEvent> notices;
    {
        QMutexLocker lock(&m_mutex);
        SiteRow* r = find(site);
        if (!r) return;
        r->reading = reading;
        r->lastGoodMs = wallMs;
        const std::vector<ActiveAlarm> now = AlarmsOf(reading, m_config);
        const auto find = [](const std::vector<ActiveAlarm>& in, const ActiveAlarm& a) {
            return std::find_if(in.begin(), in.end(), [&](const ActiveAlarm& b) {
                return b.key == a.key && b.severity == a.severity;
            });
        };
        const auto say = [&](FleetEvent::Kind kind, const ActiveAlarm& a) {
            FleetEvent n;
            n.kind = kind;
            n.sequence = ++m_lastSequence;
            n.siteIndex = r->index;
            n.site = r->name;
            n.alarm = a;
            // A raised alarm's row is indexed by the sequence number of its notice.
            if (kind == FleetEvent::Kind::Raised) n.alarm.sequence = n.sequence;
            n.timeMs = wallMs;
            n.text = QString("%1: %2 (%3) %4")
                         .arg(r->name, a.name, SeverityText(a.severity),
                              kind == FleetEvent::Kind::Raised ? "raised" : "cleared");
            notices.push_back(n);
        };
        // A severity that changed clears the alarm and raises it again.
        std::vector<ActiveAlarm> kept;
        for (const ActiveAlarm& a : r->alarms)
            if (find(now, a) == now.end())
                say(FleetEvent::Kind::Cleared, a);
            else
                kept.push_back(a);
        for (ActiveAlarm a : now)
            if (find(kept, a) == kept.end()) {
                say(FleetEvent::Kind::Raised, a);
                a.sequence = notices.back().alarm.sequence;
                a.raisedMs = wallMs;
                kept.push_back(a);
            }
        r->alarms = std::move(kept);
        ++m_generation;
        if (!notices.empty()) ++m_shape;
    }
    emitAll(notices);
}

void FleetState::identified(const QString& site, const NetworkIdentity& identity) {
    QMutexLocker lock(&m_mutex);
    SiteRow* r = find(site);
    if (!r) return;
    r->mac = QByteArray::fromHex(identity.mac.toLatin1());
    r->serial = QString::fromLatin1(identity.serialNumber).trimmed();
    r->siteText = identity.siteInfo.trimmed();
    ++m_generation;
    ++m_shape;
}

void FleetState::setUp(const QString& site, bool up, qint64 wallMs) {
    std::vector<FleetEvent> notices;
    {
        QMutexLocker lock(&m_mutex);
        SiteRow* r = find(site);
        if (!r || r->up == up) return;
        r->up = up;
        FleetEvent n;
        n.kind = up ? FleetEvent::Kind::SiteUp : FleetEvent::Kind::SiteDown;
        n.sequence = ++m_lastSequence;
        n.siteIndex = r->index;
        n.site = r->name;
        n.timeMs = wallMs;
        n.text = QString("%1: %2").arg(r->name, up ? "up" : "down");
        notices.push_back(n);
        ++m_generation;
        ++m_shape;
    }
    emitAll(notices);
}

void FleetState::emitAll(const std::vector<FleetEvent>& notices) {
    for (const FleetEvent& n : notices)
        emit occurred(n);
}

void FleetState::setReplaceBattery(const QString& site, bool replace) {
    QMutexLocker lock(&m_mutex);
    if (SiteRow* r = find(site)) r->replaceBattery = replace;
    ++m_generation;
}

void FleetState::testEnded(const QString& site, const QString& verdict, bool failed,
                           qint64 wallMs) {
    FleetEvent n;
    {
        QMutexLocker lock(&m_mutex);
        SiteRow* r = find(site);
        if (!r) return;
        r->replaceBattery = failed;
        n.kind = FleetEvent::Kind::TestEnded;
        n.siteIndex = r->index;
        n.site = r->name;
        n.timeMs = wallMs;
        n.text = QString("%1: battery test ended: %2").arg(r->name, verdict);
        ++m_generation;
    }
    emitAll({n});
}

std::optional<SiteRow> FleetState::row(const QString& site) const {
    QMutexLocker lock(&m_mutex);
    const auto index = m_indexOf.find(site);
    if (index == m_indexOf.end()) return std::nullopt;
    const auto it = m_rows.find(index->second);
    if (it == m_rows.end()) return std::nullopt;
    return it->second;
}

FleetSnapshot FleetState::snapshot() const {
    QMutexLocker lock(&m_mutex);
    FleetSnapshot s;
    s.sites.reserve(m_rows.size());
    for (const auto& [index, row] : m_rows)
        s.sites.push_back(row);
    s.lastSequence = m_lastSequence;
    return s;
}

} // namespace quma::agent
