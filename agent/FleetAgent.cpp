// Sites started, reloaded and stopped, in their threads.
#include "agent/FleetAgent.h"

#include "agent/AlarmHooks.h"
#include "agent/FleetMqtt.h"
#include "agent/NutServer.h"
#include "agent/SnmpSubagent.h"

#include <malloc.h>
#include <mosquitto.h>
#include <set>

namespace quma::agent {

FleetAgent::FleetAgent(QObject* parent) : QObject(parent) {
    mosquitto_lib_init();
    m_trim.setInterval(TrimEveryMs);
    connect(&m_trim, &QTimer::timeout, this, [] { malloc_trim(0); });
}

FleetAgent::~FleetAgent() {
    stop();
    stopServers();
    for (auto& w : m_workers) {
        QMetaObject::invokeMethod(
            w->context,
            [&w] {
                delete w->clock;
                delete w->context;
            },
            Qt::BlockingQueuedConnection);
        w->thread.quit();
        w->thread.wait();
    }
    mosquitto_lib_cleanup();
}

bool FleetAgent::start(const AgentConfig& config, QString* error) {
    // A scrape of thousands of sites takes and frees some hundred megabytes on one of the
    // endpoint's threads. Left to itself the allocator keeps an arena per thread and what was
    // freed in it: the threads share a few arenas, and what they freed goes back to the system.
    mallopt(M_ARENA_MAX, 2);
    m_trim.start();
    if (!m_metrics.listen(config.metricsAddress, config.webConfig, error)) return false;
    if (m_workers.empty())
        startWorkers(config.threads > 0 ? config.threads
                                        : std::max(1, QThread::idealThreadCount()));
    if (config.snmp.enabled || config.nut.enabled || !config.hooks.isEmpty()) {
        // The severities are the snmp section's.
        m_state = std::make_unique<FleetState>(config.snmp);
        m_state->setSites(config.sites);
        // Each event in the journal, and the hooks run on them.
        m_hooks = std::make_unique<AlarmHooks>(config.hooks, config.hooksRunning, *m_state);
        connect(m_hooks.get(), &AlarmHooks::log, this, &FleetAgent::eventLogged);
        connect(m_state.get(), &FleetState::occurred, m_hooks.get(), &AlarmHooks::handle);
    }
    if ((config.snmp.enabled && !startSnmp(config, error)) ||
        (config.nut.enabled && !startNut(config.nut, error))) {
        stopServers();
        return false;
    }
    startMqtt(config.mqtt);
    startSites(config.sites);
    return true;
}

bool FleetAgent::startSnmp(const AgentConfig& config, QString* error) {
    m_snmpThread.setObjectName("snmp");
    m_snmpThread.start();
    m_snmp = new SnmpSubagent(config.snmp, *m_state);
    m_snmp->moveToThread(&m_snmpThread);
    connect(m_snmp, &SnmpSubagent::message, this, &FleetAgent::snmpMessage);
    bool started = false;
    QMetaObject::invokeMethod(
        m_snmp, [&] { started = m_snmp->start(error); }, Qt::BlockingQueuedConnection);
    if (!started) return false;
    connect(m_state.get(), &FleetState::occurred, m_snmp, &SnmpSubagent::send,
            Qt::QueuedConnection);
    return true;
}

bool FleetAgent::startNut(const NutConfig& config, QString* error) {
    m_nutThread.setObjectName("nut");
    m_nutThread.start();
    m_nut = new NutServer(config, *m_state);
    m_nut->moveToThread(&m_nutThread);
    bool started = false;
    QMetaObject::invokeMethod(
        m_nut, [&] { started = m_nut->start(error); }, Qt::BlockingQueuedConnection);
    return started;
}

void FleetAgent::stopServers() {
    // Each deleted in its own thread, before the rows it reads.
    const auto end = [](QObject*& server, QThread& thread) {
        if (server)
            QMetaObject::invokeMethod(
                server, [&server] { delete server; }, Qt::BlockingQueuedConnection);
        server = nullptr;
        thread.quit();
        thread.wait();
    };
    QObject* snmp = std::exchange(m_snmp, nullptr);
    QObject* nut = std::exchange(m_nut, nullptr);
    end(snmp, m_snmpThread);
    end(nut, m_nutThread);
    m_hooks.reset();
    m_state.reset();
}

void FleetAgent::startWorkers(int count) {
    for (int i = 0; i < count; ++i) {
        auto w = std::make_unique<Worker>();
        w->thread.setObjectName(QString("poll-%1").arg(i + 1));
        w->thread.start();
        w->context = new QObject;
        w->context->moveToThread(&w->thread);
        QMetaObject::invokeMethod(
            w->context, [ww = w.get()] { ww->clock = new DeadlineQueue; },
            Qt::BlockingQueuedConnection);
        m_workers.push_back(std::move(w));
    }
}

void FleetAgent::startMqtt(const MqttConfig& config) {
    m_mqttConfig = config;
    m_mqtt.reset();
    if (!config.enabled) return;
    m_mqtt = std::make_unique<FleetMqtt>(config);
    connect(m_mqtt.get(), &FleetMqtt::connectionChanged, this, &FleetAgent::mqttConnectionChanged);
    QString why;
    if (!m_mqtt->start(&why)) {
        emit mqttConnectionChanged(false, why);
        m_mqtt.reset();
    }
    m_metrics.watchMqtt(m_mqtt.get());
}

void FleetAgent::inEachWorker(const std::function<void(Worker&)>& work) {
    for (auto& w : m_workers)
        QMetaObject::invokeMethod(
            w->context, [&] { work(*w); }, Qt::BlockingQueuedConnection);
}

void FleetAgent::startSites(const QList<SiteConfig>& sites) {
    // Each new site goes to the thread with the fewest; a thread makes its own in one call.
    std::map<Worker*, std::vector<std::pair<SiteConfig, std::unique_ptr<SiteMetrics>>>> made;
    for (const SiteConfig& s : sites) {
        Worker* least = m_workers.front().get();
        for (auto& w : m_workers)
            if (w->sites.size() + made[w.get()].size() < least->sites.size() + made[least].size())
                least = w.get();
        made[least].emplace_back(s, m_metrics.addSite(s));
    }
    inEachWorker([&](Worker& w) {
        for (auto& [config, metrics] : made[&w]) {
            auto* poller =
                new SitePoller(config, std::move(metrics), m_mqtt.get(), *w.clock, m_state.get());
            connect(poller, &SitePoller::linkError, this,
                    [this, name = config.name](const QString& why) { emit siteError(name, why); });
            connect(poller, &SitePoller::batteryProblem, this,
                    [this, name = config.name](const QString& why) { emit siteError(name, why); });
            connect(poller, &SitePoller::linkRestored, this,
                    [this, name = config.name] { emit siteRecovered(name); });
            poller->start();
            w.sites.push_back(poller);
        }
    });
    for (auto& w : m_workers)
        for (SitePoller* p : w->sites)
            m_sites.try_emplace(p->config().name, p);
}

void FleetAgent::stopSites(const std::vector<QString>& names) {
    std::set<SitePoller*> going;
    for (const QString& name : names) {
        const auto it = m_sites.find(name);
        if (it == m_sites.end()) continue;
        going.insert(it->second);
        m_sites.erase(it);
    }
    inEachWorker([&](Worker& w) {
        std::erase_if(w.sites, [&](SitePoller* p) {
            if (!going.count(p)) return false;
            delete p; // its link closes here, in its own thread
            return true;
        });
    });
}

void FleetAgent::reload(const AgentConfig& config) {
    const bool mqttChanged = !(config.mqtt == m_mqttConfig);
    std::map<QString, const SiteConfig*> wanted;
    for (const SiteConfig& s : config.sites)
        wanted[s.name] = &s;
    std::vector<QString> going;
    for (const auto& [name, poller] : m_sites) {
        const auto w = wanted.find(name);
        if (w == wanted.end() || !(*w->second == poller->config()) || mqttChanged)
            going.push_back(name);
    }
    stopSites(going);
    if (m_state) m_state->setSites(config.sites);
    if (m_mqtt && !mqttChanged)
        for (const QString& name : going)
            if (!wanted.count(name)) m_mqtt->removeSite(name);
    if (mqttChanged) startMqtt(config.mqtt);
    QList<SiteConfig> fresh;
    for (const SiteConfig& s : config.sites)
        if (!m_sites.count(s.name)) fresh << s;
    startSites(fresh);
}

void FleetAgent::stop() {
    std::vector<QString> all;
    for (const auto& [name, poller] : m_sites)
        all.push_back(name);
    stopSites(all);
    m_metrics.watchMqtt(nullptr);
    m_mqtt.reset(); // says every site and the agent "offline"
}

SitePoller* FleetAgent::site(const QString& name) const {
    const auto it = m_sites.find(name);
    return it == m_sites.end() ? nullptr : it->second;
}

} // namespace quma::agent
