// Metric families and per-site series, named by Prometheus conventions with base units.
#include "agent/FleetMetrics.h"

#include "agent/FleetMqtt.h"

#include <prometheus/collectable.h>
#include <prometheus/counter.h>
#include <prometheus/exposer.h>
#include <prometheus/family.h>
#include <prometheus/gauge.h>
#include <prometheus/histogram.h>
#include <prometheus/metric_family.h>
#include <prometheus/registry.h>
#include <prometheus/text_serializer.h>

#include <cmath>
#include <limits>
#include <mutex>
#include <sstream>

namespace quma::agent {

using prometheus::Counter;
using prometheus::Family;
using prometheus::Gauge;
using prometheus::Histogram;

struct FleetMetrics::Families {
    explicit Families(prometheus::Registry& r)
        : up(gauge(r, "quma_up",
                   "1 while the controller answers its polls, 0 after three "
                   "poll periods without a good reply")),
          age(gauge(r, "quma_last_reply_age_seconds", "Seconds since the last good poll reply")),
          ac(gauge(r, "quma_ac_volts", "Mains input voltage")),
          acA(gauge(r, "quma_ac_amperes", "Mains input current")),
          dc(gauge(r, "quma_dc_volts", "DC output voltage")),
          dcA(gauge(r, "quma_dc_amperes", "DC load current")),
          battA(gauge(r, "quma_battery_amperes",
                      "Battery current, negative while the battery discharges")),
          battC(gauge(r, "quma_battery_temperature_celsius",
                      "Battery temperature (NaN while the sensor is open)")),
          rectC(gauge(r, "quma_rectifier_temperature_celsius", "Rectifier temperature")),
          setV(gauge(r, "quma_set_volts", "Output voltage set point")),
          battV(gauge(r, "quma_battery_volts", "Battery voltage (lithium battery data)")),
          battPct(gauge(r, "quma_battery_charge_percent", "Battery state of charge")),
          cell(gauge(r, "quma_cell_volts", "Battery cell voltage")),
          alarm(gauge(r, "quma_alarm_active", "1 while the alarm is raised")),
          contact(gauge(r, "quma_contact_active", "1 while the alarm relay contact is active")),
          info(
              gauge(r, "quma_controller_info", "The controller's model, system type and firmware")),
          polls(prometheus::BuildCounter()
                    .Name("quma_polls_total")
                    .Help("Polls by result: success, failure (link error), timeout (no good "
                          "reply within the poll period)")
                    .Register(r)),
          rtt(prometheus::BuildHistogram()
                  .Name("quma_poll_duration_seconds")
                  .Help("Round-trip time of the successful polls")
                  .Register(r)) {}

    static Family<Gauge>& gauge(prometheus::Registry& r, const char* name, const char* help) {
        return prometheus::BuildGauge().Name(name).Help(help).Register(r);
    }

    Family<Gauge>&up, &age, &ac, &acA, &dc, &dcA, &battA, &battC, &rectC, &setV, &battV, &battPct,
        &cell, &alarm, &contact, &info;
    Family<Counter>& polls;
    Family<Histogram>& rtt;
};

// Reads the connection's atomics when scraped.
class FleetMetrics::MqttCollector : public prometheus::Collectable {
public:
    void watch(const FleetMqtt* mqtt) {
        std::lock_guard lock(m_lock);
        m_mqtt = mqtt;
    }
    std::vector<prometheus::MetricFamily> Collect() const override {
        std::lock_guard lock(m_lock);
        if (!m_mqtt) return {};
        const auto one = [](const char* name, const char* help, prometheus::MetricType type,
                            double value) {
            prometheus::MetricFamily f{name, help, type, {}};
            prometheus::ClientMetric m;
            if (type == prometheus::MetricType::Counter)
                m.counter.value = value;
            else
                m.gauge.value = value;
            f.metric.push_back(m);
            return f;
        };
        return {one("quma_mqtt_connected", "1 while the agent's MQTT connection is up",
                    prometheus::MetricType::Gauge, m_mqtt->connected() ? 1 : 0),
                one("quma_mqtt_publish_failures_total",
                    "Messages that could not be handed to the broker (not connected, refused)",
                    prometheus::MetricType::Counter, double(m_mqtt->publishFailures())),
                one("quma_mqtt_connection_losses_total",
                    "Times the MQTT connection was lost after it had been up",
                    prometheus::MetricType::Counter, double(m_mqtt->connectionLosses()))};
    }

private:
    mutable std::mutex m_lock;
    const FleetMqtt* m_mqtt = nullptr;
};

FleetMetrics::FleetMetrics()
    : m_registry(std::make_shared<prometheus::Registry>()),
      m_families(std::make_unique<Families>(*m_registry)),
      m_mqtt(std::make_shared<MqttCollector>()) {}

FleetMetrics::~FleetMetrics() = default;

bool FleetMetrics::listen(const QString& hostPort, QString* error) {
    m_exposer.reset();
    try {
        // Enough workers, and a short read time-out, that clients sending their request slowly
        // (or not at all) cannot keep a scrape waiting: each holds a worker 2 s at the most.
        m_exposer = std::make_unique<prometheus::Exposer>(std::vector<std::string>{
            "listening_ports", hostPort.toStdString(), "num_threads", std::to_string(ServerThreads),
            "request_timeout_ms", std::to_string(RequestTimeoutMs), "linger_timeout_ms", "0"});
        m_exposer->RegisterCollectable(m_registry);
        m_exposer->RegisterCollectable(m_mqtt);
    } catch (const std::exception& e) {
        m_exposer.reset();
        if (error) *error = QString("cannot serve metrics on %1: %2").arg(hostPort, e.what());
        return false;
    }
    return true;
}

int FleetMetrics::port() const {
    if (!m_exposer) return 0;
    const auto ports = m_exposer->GetListeningPorts();
    return ports.empty() ? 0 : ports.front();
}

std::string FleetMetrics::render() const {
    std::ostringstream out;
    auto families = m_registry->Collect();
    for (auto& f : m_mqtt->Collect())
        families.push_back(std::move(f));
    prometheus::TextSerializer().Serialize(out, families);
    return out.str();
}

FleetMetrics::Rebuild::Rebuild() = default;
FleetMetrics::Rebuild::~Rebuild() = default;
FleetMetrics::Rebuild::Rebuild(Rebuild&&) noexcept = default;
FleetMetrics::Rebuild& FleetMetrics::Rebuild::operator=(Rebuild&&) noexcept = default;

FleetMetrics::Rebuild FleetMetrics::beginRebuild() const {
    Rebuild next;
    next.registry = std::make_shared<prometheus::Registry>();
    next.families = std::make_unique<Families>(*next.registry);
    return next;
}

void FleetMetrics::Rebuild::keep(SiteMetrics& site) {
    site.moveTo(*families);
}

void FleetMetrics::finishRebuild(Rebuild next) {
    if (m_exposer) {
        m_exposer->RemoveCollectable(m_registry);
        m_exposer->RegisterCollectable(next.registry);
    }
    m_families = std::move(next.families);
    m_registry = std::move(next.registry); // the old series go with the old registry, all at once
}

void FleetMetrics::watchMqtt(const FleetMqtt* mqtt) {
    m_mqtt->watch(mqtt);
}

std::unique_ptr<SiteMetrics> FleetMetrics::addSite(const SiteConfig& site) {
    SiteMetrics::Labels labels{{"site", site.name.toStdString()}};
    for (auto it = site.labels.begin(); it != site.labels.end(); ++it)
        labels[it.key().toStdString()] = it.value().toStdString();
    return std::unique_ptr<SiteMetrics>(new SiteMetrics(*m_families, labels));
}

SiteMetrics::SiteMetrics(FleetMetrics::Families& f, Labels labels)
    : m_families(&f), m_labels(std::move(labels)) {
    build();
    m_age->Set(std::numeric_limits<double>::quiet_NaN());
}

void SiteMetrics::build() {
    FleetMetrics::Families& f = *m_families;
    m_gauges.clear();
    m_alarms.clear();
    m_contacts.clear();
    m_up = &gauge(f.up);
    m_age = &gauge(f.age);
    m_ac = &gauge(f.ac);
    m_acA = &gauge(f.acA);
    m_dc = &gauge(f.dc);
    m_dcA = &gauge(f.dcA);
    m_battA = &gauge(f.battA);
    m_battC = &gauge(f.battC);
    m_rectC = &gauge(f.rectC);
    m_setV = &gauge(f.setV);
    m_battV = &gauge(f.battV);
    m_battPct = &gauge(f.battPct);
    for (int c = 0; c < 15; ++c)
        m_cells[c] = &gauge(f.cell, {{"cell", std::to_string(c + 1)}});
    for (const AlarmBit& a : KnownAlarms())
        m_alarms.push_back(&gauge(f.alarm, {{"alarm", a.key}}));
    for (int i = 0; i < ContactNames().size(); ++i)
        m_contacts.push_back(&gauge(f.contact, {{"contact", std::to_string(i + 1)},
                                                {"name", ContactNames()[i].toStdString()}}));
    const auto result = [&](const char* r) -> Counter& {
        Labels l = m_labels;
        l["result"] = r;
        return f.polls.Add(l);
    };
    m_ok = &result("success");
    m_failed = &result("failure");
    m_timeouts = &result("timeout");
    m_rtt = &f.rtt.Add(
        m_labels, Histogram::BucketBoundaries{0.005, 0.01, 0.025, 0.05, 0.1, 0.25, 0.5, 1, 2.5});
    if (m_info) {
        m_info = &f.info.Add(m_infoLabels);
        m_info->Set(1);
    }
}

void SiteMetrics::moveTo(FleetMetrics::Families& families) {
    std::vector<double> values;
    for (const auto& [family, g] : m_gauges)
        values.push_back(g->Value());
    const double ok = m_ok->Value(), failed = m_failed->Value(), timeouts = m_timeouts->Value();
    const prometheus::ClientMetric rtt = m_rtt->Collect();
    m_families = &families;
    build();
    for (std::size_t i = 0; i < values.size() && i < m_gauges.size(); ++i)
        m_gauges[i].second->Set(values[i]);
    m_ok->Increment(ok);
    m_failed->Increment(failed);
    m_timeouts->Increment(timeouts);
    // The histogram's buckets are cumulative counts; it takes them back as increments.
    std::vector<double> increments;
    double below = 0;
    for (const auto& bucket : rtt.histogram.bucket) {
        increments.push_back(double(bucket.cumulative_count) - below);
        below = double(bucket.cumulative_count);
    }
    if (!increments.empty()) m_rtt->ObserveMultiple(increments, rtt.histogram.sample_sum);
}

SiteMetrics::~SiteMetrics() {
    if (m_forgotten) return;
    FleetMetrics::Families& f = *m_families;
    for (auto& [family, g] : m_gauges)
        family->Remove(g);
    if (m_info) f.info.Remove(m_info);
    f.polls.Remove(m_ok);
    f.polls.Remove(m_failed);
    f.polls.Remove(m_timeouts);
    f.rtt.Remove(m_rtt);
}

Gauge& SiteMetrics::gauge(Family<Gauge>& family, const Labels& extra) {
    Labels l = m_labels;
    l.insert(extra.begin(), extra.end());
    Gauge& g = family.Add(l);
    m_gauges.emplace_back(&family, &g);
    return g;
}

void SiteMetrics::setUp(bool up) {
    m_up->Set(up ? 1 : 0);
}

void SiteMetrics::pollSucceeded(std::optional<double> roundTripSeconds) {
    m_ok->Increment();
    if (roundTripSeconds) m_rtt->Observe(*roundTripSeconds);
}

void SiteMetrics::pollFailed() {
    m_failed->Increment();
}

void SiteMetrics::pollTimedOut() {
    m_timeouts->Increment();
}

void SiteMetrics::setLastReplyAge(double seconds) {
    m_age->Set(seconds);
}

void SiteMetrics::update(const PlantReading& r) {
    m_ac->Set(r.acVolts);
    m_acA->Set(r.acAmperes);
    m_dc->Set(r.dcVolts);
    m_dcA->Set(r.dcAmperes);
    m_battA->Set(r.batteryAmperes);
    m_battC->Set(r.batteryCelsius.value_or(std::numeric_limits<double>::quiet_NaN()));
    m_rectC->Set(r.rectifierCelsius);
    m_setV->Set(r.setVolts);
    m_battV->Set(r.batteryVolts);
    m_battPct->Set(r.batteryChargePercent);
    for (int c = 0; c < 15; ++c)
        m_cells[c]->Set(r.cellVolts[std::size_t(c)]);
    for (int i = 0; i < KnownAlarms().size(); ++i)
        m_alarms[std::size_t(i)]->Set(r.activeAlarms.contains(KnownAlarms()[i].key) ? 1 : 0);
    for (int i = 0; i < int(m_contacts.size()); ++i)
        m_contacts[std::size_t(i)]->Set(i < r.contacts.size() && r.contacts[i] ? 1 : 0);
    Labels info = m_labels;
    info["model"] = r.model.toStdString();
    info["system_type"] = std::to_string(r.systemType);
    info["firmware"] = r.firmware.toStdString();
    if (!m_info || info != m_infoLabels) {
        if (m_info) m_families->info.Remove(m_info);
        m_info = &m_families->info.Add(info);
        m_info->Set(1);
        m_infoLabels = info;
    }
}

} // namespace quma::agent
