// The exposition built at each scrape from the sites' label sets and atomics.
#include "agent/FleetMetrics.h"

#include "agent/TlsFront.h"
#include "agent/WebConfig.h"

#include "agent/FleetMqtt.h"

#include <prometheus/collectable.h>
#include <prometheus/exposer.h>
#include <prometheus/metric_family.h>
#include <prometheus/text_serializer.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <sstream>

namespace quma::agent {

using prometheus::ClientMetric;
using prometheus::MetricFamily;
using prometheus::MetricType;

namespace {

// The plain gauges, in SiteMetrics' order.
constexpr std::pair<const char*, const char*> kPlainGauges[] = {
    {"quma_up", "1 while the controller answers its polls, 0 after three poll periods without a "
                "good reply"},
    {"quma_last_reply_age_seconds", "Seconds since the last good poll reply"},
    {"quma_ac_volts", "Mains input voltage"},
    {"quma_ac_amperes", "Mains input current"},
    {"quma_dc_volts", "DC output voltage"},
    {"quma_dc_amperes", "DC load current"},
    {"quma_battery_amperes", "Battery current, negative while the battery discharges"},
    {"quma_battery_temperature_celsius", "Battery temperature (NaN while the sensor is open)"},
    {"quma_rectifier_temperature_celsius", "Rectifier temperature"},
    {"quma_set_volts", "Output voltage set point"},
    {"quma_battery_volts", "Battery voltage (lithium battery data)"},
    {"quma_battery_charge_percent", "Battery state of charge"},
    {"quma_battery_test_running", "1 while a battery discharge test runs"},
    {"quma_battery_test_last_start_timestamp_seconds",
     "Start of the last discharge test (NaN: none recorded)"},
    {"quma_battery_test_last_duration_seconds", "Duration of the last discharge test"},
    {"quma_battery_test_last_ampere_hours", "Charge the battery delivered in the last test"},
    {"quma_battery_test_last_verdict",
     "Verdict of the last test: 0 pass, 1 look closer, 2 fail, 3 not judged (cut off)"},
    {"quma_battery_test_last_capacity_ratio",
     "Capacity in the last test over the plant's first test's (NaN: not measurable)"},
    {"quma_battery_test_last_resistance_ratio",
     "Resistance in the last test over the plant's first test's (NaN: not measurable)"},
};

using Labels = SiteMetrics::Labels;

// A series with the site's labels and `extra` (both sorted by name), merged in order.
ClientMetric metricWith(const Labels& site, const Labels& extra) {
    ClientMetric m;
    m.label.reserve(site.size() + extra.size());
    auto a = site.begin(), b = extra.begin();
    while (a != site.end() || b != extra.end()) {
        const bool fromSite = b == extra.end() || (a != site.end() && a->first < b->first);
        const auto& [name, value] = fromSite ? *a++ : *b++;
        m.label.push_back({name, value});
    }
    return m;
}

} // namespace

class FleetMetrics::Collector : public prometheus::Collectable {
public:
    std::vector<MetricFamily> Collect() const override {
        std::lock_guard lock(m_lock);
        std::vector<MetricFamily> out;
        build(out);
        if (m_mqtt) addMqtt(out);
        return out;
    }

    void join(SiteMetrics* site) {
        std::lock_guard lock(m_lock);
        m_sites.push_back(site);
    }
    void leave(SiteMetrics* site) {
        std::lock_guard lock(m_lock);
        std::erase(m_sites, site);
    }
    void watch(const FleetMqtt* mqtt) {
        std::lock_guard lock(m_lock);
        m_mqtt = mqtt;
    }

private:
    enum class Kind { Gauge, Counter, Histogram };
    // Where one series' value comes from.
    struct Source {
        Kind kind;
        const SiteMetrics* site;
        int index; // the gauge, or the counter (0 success, 1 failure, 2 timeout)
    };

    // The families and their series with their values.
    void build(std::vector<MetricFamily>& shape) const {
        // Each family's series reserved at once: a scrape of thousands of sites takes no more
        // memory than it hands over.
        const auto family = [&](const char* name, const char* help, MetricType type,
                                std::size_t perSite) {
            shape.push_back({name, help, type, {}});
            shape.back().metric.reserve(perSite * m_sites.size());
            return std::uint32_t(shape.size() - 1);
        };
        shape.reserve(SiteMetrics::PlainCount + 7);
        const auto series = [&](std::uint32_t f, const SiteMetrics* site, const Labels& extra,
                                Kind kind, int index) {
            shape[f].metric.push_back(metricWith(site->m_labels, extra));
            fill(shape[f].metric.back(), {kind, site, index});
        };
        for (int g = 0; g < SiteMetrics::PlainCount; ++g) {
            const std::uint32_t f =
                family(kPlainGauges[g].first, kPlainGauges[g].second, MetricType::Gauge, 1);
            for (const SiteMetrics* site : m_sites)
                series(f, site, {}, Kind::Gauge, g);
        }
        std::uint32_t f = family("quma_cell_volts", "Battery cell voltage", MetricType::Gauge, 15);
        for (const SiteMetrics* site : m_sites)
            for (int c = 0; c < 15; ++c)
                series(f, site, {{"cell", std::to_string(c + 1)}}, Kind::Gauge,
                       SiteMetrics::cellGauge(c));
        f = family("quma_cell_deviation_volts",
                   "Battery cell voltage less the mean of the 15 cells", MetricType::Gauge, 15);
        for (const SiteMetrics* site : m_sites)
            for (int c = 0; c < 15; ++c)
                series(f, site, {{"cell", std::to_string(c + 1)}}, Kind::Gauge,
                       SiteMetrics::deviationGauge(c));
        f = family("quma_alarm_active", "1 while the alarm is raised", MetricType::Gauge,
                   std::size_t(KnownAlarms().size()));
        for (const SiteMetrics* site : m_sites)
            for (int a = 0; a < KnownAlarms().size(); ++a)
                series(f, site, {{"alarm", KnownAlarms()[a].key}}, Kind::Gauge,
                       SiteMetrics::alarmGauge(a));
        f = family("quma_contact_active", "1 while the alarm relay contact is active",
                   MetricType::Gauge, std::size_t(ContactNames().size()));
        for (const SiteMetrics* site : m_sites)
            for (int c = 0; c < ContactNames().size(); ++c)
                series(
                    f, site,
                    {{"contact", std::to_string(c + 1)}, {"name", ContactNames()[c].toStdString()}},
                    Kind::Gauge, SiteMetrics::contactGauge(c));
        f = family("quma_controller_info", "The controller's model, system type and firmware",
                   MetricType::Gauge, 1);
        for (const SiteMetrics* site : m_sites) {
            std::lock_guard info(site->m_infoLock);
            if (site->m_info.empty()) continue;
            shape[f].metric.push_back(metricWith(site->m_labels, site->m_info));
            shape[f].metric.back().gauge.value = 1;
        }
        f = family("quma_polls_total",
                   "Polls by result: success, failure (link error), timeout (no good reply "
                   "within the poll period)",
                   MetricType::Counter, 3);
        for (const SiteMetrics* site : m_sites) {
            series(f, site, {{"result", "success"}}, Kind::Counter, 0);
            series(f, site, {{"result", "failure"}}, Kind::Counter, 1);
            series(f, site, {{"result", "timeout"}}, Kind::Counter, 2);
        }
        f = family("quma_poll_duration_seconds", "Round-trip time of the successful polls",
                   MetricType::Histogram, 1);
        for (const SiteMetrics* site : m_sites)
            series(f, site, {}, Kind::Histogram, 0);
    }

    static void fill(ClientMetric& m, const Source& s) {
        switch (s.kind) {
        case Kind::Gauge:
            m.gauge.value = s.site->m_gauges[std::size_t(s.index)].load(std::memory_order_relaxed);
            break;
        case Kind::Counter: {
            const std::atomic<quint64>* counts[] = {&s.site->m_ok, &s.site->m_failed,
                                                    &s.site->m_timeouts};
            m.counter.value = double(counts[s.index]->load(std::memory_order_relaxed));
            break;
        }
        case Kind::Histogram: {
            // Cumulative counts, the last bucket unbounded.
            auto& buckets = m.histogram.bucket;
            buckets.reserve(SiteMetrics::RttBounds.size() + 1);
            quint64 below = 0;
            for (std::size_t b = 0; b <= SiteMetrics::RttBounds.size(); ++b) {
                below += s.site->m_rttBuckets[b].load(std::memory_order_relaxed);
                buckets.push_back({below, b < SiteMetrics::RttBounds.size()
                                              ? SiteMetrics::RttBounds[b]
                                              : std::numeric_limits<double>::infinity()});
            }
            m.histogram.sample_count = below;
            m.histogram.sample_sum = s.site->m_rttSum.load(std::memory_order_relaxed);
            break;
        }
        }
    }

    void addMqtt(std::vector<MetricFamily>& out) const {
        const auto one = [&](const char* name, const char* help, MetricType type, double value) {
            ClientMetric m;
            (type == MetricType::Counter ? m.counter.value : m.gauge.value) = value;
            out.push_back({name, help, type, {m}});
        };
        one("quma_mqtt_connected", "1 while the agent's MQTT connection is up", MetricType::Gauge,
            m_mqtt->connected() ? 1 : 0);
        one("quma_mqtt_publish_failures_total",
            "Messages that could not be handed to the broker (not connected, refused)",
            MetricType::Counter, double(m_mqtt->publishFailures()));
        one("quma_mqtt_connection_losses_total",
            "Times the MQTT connection was lost after it had been up", MetricType::Counter,
            double(m_mqtt->connectionLosses()));
    }

    mutable std::mutex m_lock;
    std::vector<SiteMetrics*> m_sites; // in the order they came
    const FleetMqtt* m_mqtt = nullptr;
};

FleetMetrics::FleetMetrics() : m_collector(std::make_shared<Collector>()) {}

FleetMetrics::~FleetMetrics() {
    stopTls();
}

bool FleetMetrics::listen(const QString& hostPort, const QString& webConfig, QString* error) {
    stopTls();
    m_exposer.reset();
    WebConfig web;
    if (!webConfig.isEmpty()) {
        auto read = ReadWebConfig(webConfig, error);
        if (!read) return false;
        web = *read;
    }
    // With TLS the endpoint listens on loopback only, behind the agent's TLS.
    const QString address = web.tls() ? QString("127.0.0.1:0") : hostPort;
    try {
        // Enough workers, and a short read time-out, that clients sending their request slowly
        // (or not at all) cannot keep a scrape waiting: each holds a worker 2 s at the most.
        m_exposer = std::make_unique<prometheus::Exposer>(std::vector<std::string>{
            "listening_ports", address.toStdString(), "num_threads", std::to_string(ServerThreads),
            "request_timeout_ms", std::to_string(RequestTimeoutMs), "linger_timeout_ms", "0"});
        m_exposer->RegisterCollectable(m_collector);
        if (!web.users.empty()) {
            m_auth = std::make_unique<BasicAuth>(web.users);
            m_exposer->RegisterAuth(
                [auth = m_auth.get()](const std::string& user, const std::string& password) {
                    return auth->check(QString::fromStdString(user),
                                       QString::fromStdString(password));
                },
                "quma-agent");
        }
    } catch (const std::exception& e) {
        m_exposer.reset();
        if (error) *error = QString("cannot serve metrics on %1: %2").arg(address, e.what());
        return false;
    }
    if (!web.tls()) return true;
    m_tlsThread.setObjectName("metrics-tls");
    m_tlsThread.start();
    m_tls = new TlsFront(web, quint16(m_exposer->GetListeningPorts().front()));
    m_tls->moveToThread(&m_tlsThread);
    bool listening = false;
    QMetaObject::invokeMethod(
        m_tls, [&] { listening = m_tls->listen(hostPort, error); }, Qt::BlockingQueuedConnection);
    if (!listening) {
        stopTls();
        m_exposer.reset();
    }
    return listening;
}

void FleetMetrics::stopTls() {
    if (!m_tls) return;
    QMetaObject::invokeMethod(
        m_tls, [this] { delete m_tls; }, Qt::BlockingQueuedConnection);
    m_tls = nullptr;
    m_tlsThread.quit();
    m_tlsThread.wait();
}

int FleetMetrics::port() const {
    if (m_tls) return m_tls->port();
    if (!m_exposer) return 0;
    const auto ports = m_exposer->GetListeningPorts();
    return ports.empty() ? 0 : ports.front();
}

std::string FleetMetrics::render() const {
    std::ostringstream out;
    prometheus::TextSerializer().Serialize(out, m_collector->Collect());
    return out.str();
}

std::unique_ptr<SiteMetrics> FleetMetrics::addSite(const SiteConfig& site) {
    SiteMetrics::Labels labels{{"site", site.name.toStdString()}};
    for (auto it = site.labels.begin(); it != site.labels.end(); ++it)
        labels.emplace_back(it.key().toStdString(), it.value().toStdString());
    std::sort(labels.begin(), labels.end());
    std::unique_ptr<SiteMetrics> m(new SiteMetrics(*this, std::move(labels)));
    join(m.get());
    return m;
}

void FleetMetrics::watchMqtt(const FleetMqtt* mqtt) {
    m_collector->watch(mqtt);
}

void FleetMetrics::join(SiteMetrics* site) {
    m_collector->join(site);
}

void FleetMetrics::leave(SiteMetrics* site) {
    m_collector->leave(site);
}

int SiteMetrics::contactGauge(int contact) {
    return alarmGauge(int(KnownAlarms().size())) + contact;
}

int SiteMetrics::gaugeCount() {
    return contactGauge(int(ContactNames().size()));
}

SiteMetrics::SiteMetrics(FleetMetrics& fleet, Labels labels)
    : m_fleet(fleet), m_labels(std::move(labels)),
      m_gauges(std::make_unique<std::atomic<double>[]>(std::size_t(gaugeCount()))) {
    for (int g : {int(Age), int(TestStart), int(TestDuration), int(TestAh), int(TestVerdict),
                  int(TestCapacity), int(TestResistance)})
        m_gauges[std::size_t(g)] = std::numeric_limits<double>::quiet_NaN();
}

SiteMetrics::~SiteMetrics() {
    m_fleet.leave(this);
}

void SiteMetrics::setUp(bool up) {
    m_gauges[Up] = up ? 1 : 0;
}

void SiteMetrics::pollSucceeded(std::optional<double> roundTripSeconds) {
    ++m_ok;
    if (!roundTripSeconds) return;
    const auto bound =
        std::lower_bound(RttBounds.begin(), RttBounds.end(), *roundTripSeconds) - RttBounds.begin();
    ++m_rttBuckets[std::size_t(bound)];
    m_rttSum.fetch_add(*roundTripSeconds, std::memory_order_relaxed);
}

void SiteMetrics::pollFailed() {
    ++m_failed;
}

void SiteMetrics::pollTimedOut() {
    ++m_timeouts;
}

void SiteMetrics::setLastReplyAge(double seconds) {
    m_gauges[Age] = seconds;
}

void SiteMetrics::updateBattery(bool testRunning, const std::array<double, 15>& deviations) {
    m_gauges[TestRunning].store(testRunning ? 1 : 0, std::memory_order_relaxed);
    for (int c = 0; c < 15; ++c)
        m_gauges[std::size_t(deviationGauge(c))].store(deviations[std::size_t(c)],
                                                       std::memory_order_relaxed);
}

void SiteMetrics::lastTest(const DischargeTest& t) {
    constexpr double none = std::numeric_limits<double>::quiet_NaN();
    m_gauges[TestStart] = t.startMs / 1000.0;
    m_gauges[TestDuration] = (t.endMs - t.startMs) / 1000.0;
    m_gauges[TestAh] = t.ampereHours;
    m_gauges[TestVerdict] = double(int(t.verdict));
    m_gauges[TestCapacity] = t.capacityVsBaseline.value_or(none);
    m_gauges[TestResistance] = t.milliohmsVsBaseline.value_or(none);
}

void SiteMetrics::update(const PlantReading& r) {
    const auto set = [&](int g, double v) {
        m_gauges[std::size_t(g)].store(v, std::memory_order_relaxed);
    };
    set(Ac, r.acVolts);
    set(AcA, r.acAmperes);
    set(Dc, r.dcVolts);
    set(DcA, r.dcAmperes);
    set(BattA, r.batteryAmperes);
    set(BattC, r.batteryCelsius.value_or(std::numeric_limits<double>::quiet_NaN()));
    set(RectC, r.rectifierCelsius);
    set(SetV, r.setVolts);
    set(BattV, r.batteryVolts);
    set(BattPct, r.batteryChargePercent);
    for (int c = 0; c < 15; ++c)
        set(cellGauge(c), r.cellVolts[std::size_t(c)]);
    for (int i = 0; i < KnownAlarms().size(); ++i)
        set(alarmGauge(i), r.activeAlarms.contains(KnownAlarms()[i].key) ? 1 : 0);
    for (int i = 0; i < ContactNames().size(); ++i)
        set(contactGauge(i), i < r.contacts.size() && r.contacts[i] ? 1 : 0);
    Labels info{{"firmware", r.firmware.toStdString()},
                {"model", r.model.toStdString()},
                {"system_type", std::to_string(r.systemType)}};
    std::lock_guard lock(m_infoLock);
    if (info != m_info) m_info = std::move(info);
}

} // namespace quma::agent
