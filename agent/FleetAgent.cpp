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
    for (auto it = m_sites.begin(); it != m_sites.end();) {
        const auto w = wanted.find(it->first);
        if (w == wanted.end() || !(*w->second == it->second->config()) || mqttChanged)
            it = m_sites.erase(it); // its series and its MQTT connection go with it
        else
            ++it;
    }
    for (const SiteConfig& s : config.sites)
        if (!m_sites.count(s.name)) startSite(s);
}

void FleetAgent::stop() {
    m_sites.clear();
}

SitePoller* FleetAgent::site(const QString& name) const {
    const auto it = m_sites.find(name);
    return it == m_sites.end() ? nullptr : it->second.get();
}

} // namespace quma::agent
