// The agent's Prometheus metrics: one registry, served on /metrics by prometheus-cpp's exposer;
// each site adds its series when it starts and removes them when it goes.
#pragma once

#include "agent/AgentConfig.h"
#include "agent/PlantReading.h"

#include <QString>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace prometheus {
class Counter;
class Exposer;
class Gauge;
class Histogram;
class Registry;
template <typename T> class Family;
} // namespace prometheus

namespace quma::agent {

class FleetMqtt;
class SiteMetrics;

class FleetMetrics {
public:
    FleetMetrics();
    ~FleetMetrics();
    FleetMetrics(const FleetMetrics&) = delete;
    FleetMetrics& operator=(const FleetMetrics&) = delete;

    // Serves /metrics on "host:port"; false with the reason when the address cannot be bound.
    struct Families;
    static constexpr int ServerThreads = 16;
    static constexpr int RequestTimeoutMs = 2000;
    bool listen(const QString& hostPort, QString* error);
    // The port actually bound (port 0 in the address takes a free one); 0 when not listening.
    int port() const;
    // The text a scrape would return (for tests and the benchmark).
    std::string render() const;

    std::unique_ptr<SiteMetrics> addSite(const SiteConfig& site);
    // A fresh registry that takes the series of the sites that stay (values, counts and
    // histograms carried over) and nothing else: every other site's series go at once with the
    // old registry. prometheus-cpp removes a series by a search through its family, so removing
    // sites one by one costs the square of the fleet; this costs its size. The sites left out
    // must have been forgotten; each kept site is moved in the thread that updates it.
    class Rebuild {
    public:
        Rebuild();
        ~Rebuild();
        Rebuild(Rebuild&&) noexcept;
        Rebuild& operator=(Rebuild&&) noexcept;
        void keep(SiteMetrics& site);

    private:
        friend class FleetMetrics;
        std::shared_ptr<prometheus::Registry> registry;
        std::unique_ptr<Families> families;
    };
    Rebuild beginRebuild() const;
    void finishRebuild(Rebuild next);

    // The MQTT connection's state and counts (quma_mqtt_*), read at each scrape; null: none.
    void watchMqtt(const FleetMqtt* mqtt);

private:
    friend class SiteMetrics;
    std::shared_ptr<prometheus::Registry> m_registry;
    std::unique_ptr<Families> m_families;
    class MqttCollector;
    std::shared_ptr<MqttCollector> m_mqtt;
    std::unique_ptr<prometheus::Exposer> m_exposer;
};

// One site's series. Removed from the registry when destroyed.
class SiteMetrics {
public:
    ~SiteMetrics();
    // Its series go with the registry (FleetMetrics::finishRebuild), not one by one when destroyed.
    void forget() { m_forgotten = true; }
    void setUp(bool up);
    // A success without a round-trip time: a reply that came after its period.
    void pollSucceeded(std::optional<double> roundTripSeconds);
    void pollFailed();
    void pollTimedOut();
    void setLastReplyAge(double seconds);
    void update(const PlantReading& reading);

private:
    friend class FleetMetrics;
    friend class FleetMetrics::Rebuild;
    using Labels = std::map<std::string, std::string>;
    SiteMetrics(FleetMetrics::Families& families, Labels labels);
    // Makes the series in `families` (the order of m_gauges is the same every time).
    void build();
    // Moves the series to other families, with their values.
    void moveTo(FleetMetrics::Families& families);
    prometheus::Gauge& gauge(prometheus::Family<prometheus::Gauge>& family,
                             const Labels& extra = {});

    FleetMetrics::Families* m_families;
    bool m_forgotten = false;
    Labels m_labels;
    std::vector<std::pair<prometheus::Family<prometheus::Gauge>*, prometheus::Gauge*>> m_gauges;
    prometheus::Gauge *m_up, *m_age, *m_ac, *m_acA, *m_dc, *m_dcA, *m_battA, *m_battC, *m_rectC,
        *m_setV, *m_battV, *m_battPct;
    prometheus::Gauge* m_cells[15];
    std::vector<prometheus::Gauge*> m_alarms;
    std::vector<prometheus::Gauge*> m_contacts;
    prometheus::Gauge* m_info = nullptr;
    Labels m_infoLabels;
    prometheus::Counter *m_ok, *m_failed, *m_timeouts;
    prometheus::Histogram* m_rtt;
};

} // namespace quma::agent
