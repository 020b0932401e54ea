// The fleet as the agent's servers see it: each site's row (identity, the last reading, up/down),
// its active alarms and contacts with their sequence numbers, and the events (raised, cleared,
// site down, site up) each change gives. The pollers write from their threads; the SNMP subagent
// and the NUT server read from theirs.
#pragma once

#include "agent/AgentConfig.h"
#include "agent/PlantReading.h"

#include <QMutex>
#include <QObject>
#include <atomic>
#include <map>
#include <optional>
#include <vector>

namespace quma {
struct NetworkIdentity;
}

namespace quma::agent {

// As the MIB numbers them.
enum class Severity { Critical = 1, Major = 2, Minor = 3, Warning = 4 };
enum class AlarmGroup { Ac = 1, Dc = 2, Battery = 3, Rectifier = 4, Contact = 5 };

std::optional<Severity> SeverityFromText(const QString& text);
// An alarm key's English name ("ac_failure": "AC Failure").
QString AlarmText(const QString& key);
QString SeverityText(Severity s);

struct ActiveAlarm {
    quint32 sequence = 0; // of the event that raised it: its row's index
    QString key;          // "ac_failure", "battery_discharge", "contact_1"...
    QString name;         // the English text
    AlarmGroup group = AlarmGroup::Ac;
    Severity severity = Severity::Warning;
    qint64 raisedMs = 0; // since the epoch

    bool operator==(const ActiveAlarm&) const = default;
};

struct SiteRow {
    quint32 index = 0; // stable while the agent runs
    QString name, labels, link;
    bool up = false;
    qint64 lastGoodMs = -1; // since the epoch, or -1 before the first good reply
    std::optional<PlantReading> reading;
    QByteArray mac; // 6 bytes once the identity was read
    QString serial, siteText;
    std::vector<ActiveAlarm> alarms; // by sequence
    bool replaceBattery = false;     // the last discharge test failed
};

struct FleetEvent {
    // TestEnded has no sequence number: SNMP has no notification for it.
    enum class Kind { Raised, Cleared, SiteDown, SiteUp, TestEnded };
    Kind kind = Kind::Raised;
    quint32 sequence = 0;
    quint32 siteIndex = 0;
    QString site;
    ActiveAlarm alarm; // Raised and Cleared
    QString text;      // "busan-02: AC Failure raised"
    qint64 timeMs = 0;
};

struct FleetSnapshot {
    std::vector<SiteRow> sites; // by index
    quint32 lastSequence = 0;
};

// The alarms a reading holds, each with its severity under `config`.
std::vector<ActiveAlarm> AlarmsOf(const PlantReading& reading, const SnmpConfig& config);

class FleetState : public QObject {
    Q_OBJECT
public:
    explicit FleetState(const SnmpConfig& config, QObject* parent = nullptr);

    // The configured sites: new ones get the next index, gone ones lose their row.
    void setSites(const QList<SiteConfig>& sites);
    // From a poller's thread.
    void replied(const QString& site, const PlantReading& reading, qint64 wallMs);
    void identified(const QString& site, const NetworkIdentity& identity);
    void setUp(const QString& site, bool up, qint64 wallMs);
    void setReplaceBattery(const QString& site, bool replace);
    // A discharge test ended at the site: an event, and RB while its verdict is a failure.
    void testEnded(const QString& site, const QString& verdict, bool failed, qint64 wallMs);

    FleetSnapshot snapshot() const;
    // One site's row, if it is configured.
    std::optional<SiteRow> row(const QString& site) const;
    // Grows at every change; `shape` only when rows, alarms or up/down change (values alone
    // may be served a little late, these may not).
    quint64 generation() const { return m_generation; }
    quint64 shape() const { return m_shape; }
    quint32 lastSequence() const { return m_lastSequence; }

signals:
    void occurred(const quma::agent::FleetEvent& event);

private:
    SiteRow* find(const QString& site);
    void emitAll(const std::vector<FleetEvent>& events);

    const SnmpConfig m_config;
    mutable QMutex m_mutex;
    std::map<QString, quint32> m_indexOf;
    std::map<quint32, SiteRow> m_rows;
    quint32 m_nextIndex = 1;
    std::atomic<quint32> m_lastSequence{0};
    std::atomic<quint64> m_generation{0}, m_shape{0};
};

} // namespace quma::agent

Q_DECLARE_METATYPE(quma::agent::FleetEvent)
