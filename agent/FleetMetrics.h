// The agent's Prometheus metrics, served on /metrics by prometheus-cpp's exposer.
//
// A registry of prometheus-cpp families walks every series' hash maps under locks and copies
// its labels at every scrape, which at thousands of sites takes most of a second. Here each site
// keeps its values in atomics (written by its polling thread, never locked) beside its label set,
// made once; a scrape lays the families out from them in one pass. Nothing of the exposition is
// kept between scrapes (at 5,000 sites it would hold some 100 MB).
#pragma once

#include "agent/AgentConfig.h"
#include "agent/PlantReading.h"
#include "core/battery/DischargeTest.h"

#include <QString>
#include <QThread>
#include <array>
#include <atomic>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace prometheus {
class Exposer;
} // namespace prometheus

namespace quma::agent {

class FleetMqtt;
class SiteMetrics;
class BasicAuth;
class TlsFront;

class FleetMetrics {
public:
    FleetMetrics();
    ~FleetMetrics();
    FleetMetrics(const FleetMetrics&) = delete;
    FleetMetrics& operator=(const FleetMetrics&) = delete;

    // Serves /metrics on "host:port", with the web configuration's TLS and basic auth when a
    // path is given; false with the reason when the address cannot be bound or the web
    // configuration is refused.
    static constexpr int ServerThreads = 16;
    static constexpr int RequestTimeoutMs = 2000;
    bool listen(const QString& hostPort, const QString& webConfig, QString* error);
    // The port actually bound (port 0 in the address takes a free one); 0 when not listening.
    int port() const;
    // Served over TLS.
    bool secure() const { return m_tls != nullptr; }
    // The text a scrape would return (for tests and the benchmarks).
    std::string render() const;

    // The site's series, in the exposition until the returned object is destroyed.
    std::unique_ptr<SiteMetrics> addSite(const SiteConfig& site);
    // The MQTT connection's state and counts (quma_mqtt_*), read at each scrape; null: none.
    void watchMqtt(const FleetMqtt* mqtt);

private:
    friend class SiteMetrics;
    class Collector;
    void join(SiteMetrics* site);
    void stopTls();
    void leave(SiteMetrics* site);

    std::shared_ptr<Collector> m_collector;
    std::unique_ptr<prometheus::Exposer> m_exposer;
    std::unique_ptr<BasicAuth> m_auth;
    // TLS in front of the endpoint, in its own thread.
    QThread m_tlsThread;
    TlsFront* m_tls = nullptr;
};

// One site's values. Its setters are called by the site's polling thread.
class SiteMetrics {
public:
    ~SiteMetrics();
    SiteMetrics(const SiteMetrics&) = delete;
    SiteMetrics& operator=(const SiteMetrics&) = delete;

    void setUp(bool up);
    // A success without a round-trip time: a reply that came after its period.
    void pollSucceeded(std::optional<double> roundTripSeconds);
    void pollFailed();
    void pollTimedOut();
    void setLastReplyAge(double seconds);
    void update(const PlantReading& reading);
    // The battery: a test running, each cell's distance from the mean of the 15.
    void updateBattery(bool testRunning, const std::array<double, 15>& cellDeviations);
    // The last discharge test's figures and verdict.
    void lastTest(const DischargeTest& test);

    using Labels = std::vector<std::pair<std::string, std::string>>;
    // Upper bounds of the round-trip histogram's buckets (seconds).
    static constexpr std::array<double, 9> RttBounds{0.005, 0.01, 0.025, 0.05, 0.1,
                                                     0.25,  0.5,  1,     2.5};

private:
    friend class FleetMetrics;
    SiteMetrics(FleetMetrics& fleet, Labels labels);

    // The gauges, in the order of the exposition's gauge families: the plain ones, then the
    // 15 cells and their deviations, the alarms and the contacts.
    enum Plain {
        Up,
        Age,
        Ac,
        AcA,
        Dc,
        DcA,
        BattA,
        BattC,
        RectC,
        SetV,
        BattV,
        BattPct,
        TestRunning,
        TestStart,
        TestDuration,
        TestAh,
        TestVerdict,
        TestCapacity,
        TestResistance,
        PlainCount
    };
    static int cellGauge(int cell) { return PlainCount + cell; }
    static int deviationGauge(int cell) { return PlainCount + 15 + cell; }
    static int alarmGauge(int alarm) { return PlainCount + 30 + alarm; }
    static int contactGauge(int contact);
    static int gaugeCount();

    FleetMetrics& m_fleet;
    const Labels m_labels; // sorted by name
    std::unique_ptr<std::atomic<double>[]> m_gauges;
    std::atomic<quint64> m_ok{0}, m_failed{0}, m_timeouts{0};
    std::array<std::atomic<quint64>, RttBounds.size() + 1> m_rttBuckets{}; // not cumulative
    std::atomic<double> m_rttSum{0};
    mutable std::mutex m_infoLock;
    Labels m_info; // model, system type, firmware; empty until the first reply
};

} // namespace quma::agent
