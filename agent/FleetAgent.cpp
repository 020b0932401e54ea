// Sites started, reloaded and stopped.
#include "agent/FleetAgent.h"

#include "agent/SiteMqtt.h"

#include <mosquitto.h>

namespace quma::agent {

FleetAgent::FleetAgent(QObject* parent) : QObject(parent) {
    mosquitto_lib_init();
}

FleetAgent::~FleetAgent() {
    stop();
    mosquitto_lib_cleanup();
}

bool FleetAgent::start(const AgentConfig& config, QString* error) {
    if (!m_metrics.listen(config.metricsAddress, error)) return false;
    m_mqtt = config.mqtt;
    for (const SiteConfig& s : config.sites)
        startSite(s);
    return true;
}

void FleetAgent::startSite(const SiteConfig& s) {
    std::unique_ptr<SiteMqtt> mqtt;
    if (m_mqtt.enabled) {
        mqtt = std::make_unique<SiteMqtt>(m_mqtt, s.name);
        QString why;
        if (!mqtt->start(&why)) {
            emit siteError(s.name, why);
            mqtt.reset();
        }
    }
    auto poller = std::make_unique<SitePoller>(s, m_metrics.addSite(s), std::move(mqtt));
    connect(poller.get(), &SitePoller::linkError, this,
            [this, name = s.name](const QString& why) { emit siteError(name, why); });
    connect(poller.get(), &SitePoller::linkRestored, this,
            [this, name = s.name] { emit siteRecovered(name); });
    poller->start();
    m_sites[s.name] = std::move(poller);
}

void FleetAgent::reload(const AgentConfig& config) {
    const bool mqttChanged = !(config.mqtt == m_mqtt);
    m_mqtt = config.mqtt;
    std::map<QString, const SiteConfig*> wanted;
    for (const SiteConfig& s : config.sites)
        wanted[s.name] = &s;
    std::vector<QString> going;
    for (const auto& [name, poller] : m_sites) {
        const auto w = wanted.find(name);
        if (w == wanted.end() || !(*w->second == poller->config()) || mqttChanged)
            going.push_back(name);
    }
    // A few sites leave their series one by one; many leave with the registry, rebuilt around
    // the sites that stay, so a reload never blocks polling for long.
    const bool rebuild = going.size() > RebuildAbove;
    for (const QString& name : going) {
        auto it = m_sites.find(name);
        if (rebuild && it->second->metrics()) it->second->metrics()->forget();
        m_sites.erase(it); // its MQTT connection goes with it
    }
    if (rebuild) m_metrics.rebuild(siteMetrics());
    for (const SiteConfig& s : config.sites)
        if (!m_sites.count(s.name)) startSite(s);
}

void FleetAgent::stop() {
    // Everything goes at once: no series is removed one by one.
    for (const auto& [name, poller] : m_sites)
        if (poller->metrics()) poller->metrics()->forget();
    m_sites.clear();
    m_metrics.rebuild({});
}

std::vector<SiteMetrics*> FleetAgent::siteMetrics() const {
    std::vector<SiteMetrics*> all;
    for (const auto& [name, poller] : m_sites)
        if (poller->metrics()) all.push_back(poller->metrics());
    return all;
}

SitePoller* FleetAgent::site(const QString& name) const {
    const auto it = m_sites.find(name);
    return it == m_sites.end() ? nullptr : it->second.get();
}

} // namespace quma::agent
