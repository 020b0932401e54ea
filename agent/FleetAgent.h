// The fleet agent: one poller per configured site in one process, the /metrics endpoint, and
// the MQTT connections. A new configuration is applied site by site: unchanged sites go on
// polling, removed ones stop, new or changed ones start.
#pragma once

#include "agent/AgentConfig.h"
#include "agent/FleetMetrics.h"
#include "agent/SitePoller.h"

#include <QObject>
#include <map>
#include <memory>
#include <vector>

namespace quma::agent {

class FleetAgent : public QObject {
    Q_OBJECT
public:
    explicit FleetAgent(QObject* parent = nullptr);
    ~FleetAgent() override;

    // Starts the metrics endpoint and every site; false with the reason when the endpoint
    // cannot be served (nothing is started then).
    bool start(const AgentConfig& config, QString* error);
    // Applies a new configuration; the endpoint's address and the MQTT options take effect
    // for the sites started from now on, the address only at the next start.
    void reload(const AgentConfig& config);
    // Stops every site (each publishes "offline").
    void stop();

    FleetMetrics& metrics() { return m_metrics; }
    const std::map<QString, std::unique_ptr<SitePoller>>& sites() const { return m_sites; }
    SitePoller* site(const QString& name) const;

signals:
    void siteError(const QString& site, const QString& why);
    void siteRecovered(const QString& site);

private:
    // Sites removed by one reload above which the registry is rebuilt instead.
    static constexpr std::size_t RebuildAbove = 16;
    void startSite(const SiteConfig& site);
    std::vector<SiteMetrics*> siteMetrics() const;

    MqttConfig m_mqtt; // for the sites started from now on
    FleetMetrics m_metrics;
    std::map<QString, std::unique_ptr<SitePoller>> m_sites;
};

} // namespace quma::agent
