// The fleet agent: one poller per configured site, spread over a few threads (each with its own
// event loop and deadline queue, so that two cores serve twice the sites), the /metrics endpoint,
// and one MQTT connection for all. A new configuration is applied site by site: unchanged sites
// go on polling, removed ones stop, new or changed ones start.
#pragma once

#include "agent/AgentConfig.h"
#include "agent/FleetMetrics.h"
#include "agent/SitePoller.h"

#include <QObject>
#include <QThread>
#include <QTimer>
#include <functional>
#include <map>
#include <memory>
#include <vector>

namespace quma::agent {

class FleetMqtt;
class FleetState;
class SnmpSubagent;
class NutServer;
class AlarmHooks;

class FleetAgent : public QObject {
    Q_OBJECT
public:
    explicit FleetAgent(QObject* parent = nullptr);
    ~FleetAgent() override;

    // Starts the metrics endpoint, the polling threads and every site; false with the reason
    // when the endpoint cannot be served (nothing is started then).
    bool start(const AgentConfig& config, QString* error);
    // Applies a new configuration; the endpoint's address and the number of threads take effect
    // only at the next start.
    void reload(const AgentConfig& config);
    // Stops every site; MQTT says each "offline", and the agent too.
    void stop();

    FleetMetrics& metrics() { return m_metrics; }
    // The pollers live in the polling threads: from here, read only their counters.
    const std::map<QString, SitePoller*>& sites() const { return m_sites; }
    SitePoller* site(const QString& name) const;
    int threadCount() const { return int(m_workers.size()); }
    // Null while MQTT is not configured.
    const FleetMqtt* mqtt() const { return m_mqtt.get(); }
    // Null while SNMP, NUT are not configured.
    const SnmpSubagent* snmp() const { return m_snmp; }
    const NutServer* nut() const { return m_nut; }

signals:
    void siteError(const QString& site, const QString& why);
    void siteRecovered(const QString& site);
    // The MQTT connection came up (why empty), or was lost or refused.
    void mqttConnectionChanged(bool connected, const QString& why);
    // What the SNMP subagent's library says about its master.
    void snmpMessage(const QString& text);
    // A line for the journal: an event of the fleet's, or a hook that failed.
    void eventLogged(const QString& line);

private:
    // Freed memory goes back to the system this often.
    static constexpr int TrimEveryMs = 5000;
    struct Worker {
        QThread thread;
        QObject* context = nullptr; // lives in the thread: what runs there is invoked on it
        DeadlineQueue* clock = nullptr;
        std::vector<SitePoller*> sites;
    };
    void startWorkers(int count);
    void startMqtt(const MqttConfig& config);
    bool startSnmp(const AgentConfig& config, QString* error);
    bool startNut(const NutConfig& config, QString* error);
    void stopServers();
    void startSites(const QList<SiteConfig>& sites);
    // Deletes the pollers in their threads.
    void stopSites(const std::vector<QString>& names);
    // Runs `work` in each worker's thread with that worker's sites, and waits.
    void inEachWorker(const std::function<void(Worker&)>& work);

    MqttConfig m_mqttConfig;
    std::unique_ptr<FleetMqtt> m_mqtt;
    FleetMetrics m_metrics;
    std::vector<std::unique_ptr<Worker>> m_workers;
    std::map<QString, SitePoller*> m_sites;
    QTimer m_trim;
    // What the SNMP subagent and the NUT server serve, each in a thread of its own (their
    // sections take effect at start).
    std::unique_ptr<FleetState> m_state;
    QThread m_snmpThread, m_nutThread;
    SnmpSubagent* m_snmp = nullptr;
    NutServer* m_nut = nullptr;
    std::unique_ptr<AlarmHooks> m_hooks; // in this thread
};

} // namespace quma::agent
