// The fleet agent's configuration: which controllers it polls, how, and where it publishes.
// One JSON file, checked whole before anything starts; every refusal names the site and field.
#pragma once

#include "core/battery/BatteryWatch.h"

#include <QByteArray>
#include <QHostAddress>
#include <QList>
#include <QMap>
#include <QString>
#include <optional>

namespace quma::agent {

struct SiteConfig {
    QString name;                  // label value and MQTT topic level: [A-Za-z0-9_.-]+
    QString tcp;                   // "host" or "host:port" (502 when none), or empty
    QString serial;                // a device path, or empty
    double pollPeriod = 1;         // seconds
    QMap<QString, QString> labels; // extra Prometheus labels (region, site code...)
    BatterySettings battery;       // the configuration's "battery" section, the same for all
    // Devices that allow one session: the link is closed after each poll, so that an engineer's
    // console can connect between polls.
    bool closeAfterPoll = false;
    double pauseAfterConnect = 0; // seconds between making the link and the first request

    bool operator==(const SiteConfig&) const = default;
};

struct MqttConfig {
    bool enabled = false;
    QString host = "127.0.0.1";
    int port = 1883;
    QString username, password;
    QString clientId = "quma-agent"; // the agent's one connection
    QString topicPrefix = "quma";
    int keepAlive = 30; // seconds
    // TLS: on when a CA file or folder is given.
    QString caFile, caPath, certFile, keyFile;
    bool tlsInsecure = false; // do not check the broker's host name (test brokers only)
    // Home Assistant's MQTT discovery: retained configurations under the discovery prefix.
    bool homeAssistant = false;
    QString discoveryPrefix = "homeassistant";

    bool operator==(const MqttConfig&) const = default;
};

// The SNMP subagent: the host's snmpd is the master; the agent registers its subtree there over
// AgentX and answers from what it polled. Severities are per alarm key (KnownAlarms(), plus
// "battery_discharge" and "contact").
struct SnmpConfig {
    bool enabled = false;
    QString agentxSocket = "/var/agentx/master"; // as snmpd's agentXSocket: a path or tcp:host:port
    QString rootOid = "1.3.6.1.4.1.32473";       // the MIB module's place: see QUMA-PLANT-MIB
    int heartbeatSeconds = 300;                  // 0: no heartbeat
    // Battery discharge turns critical when the battery voltage is this close to the end voltage.
    double endVoltageMargin = 1.0;
    QMap<QString, QString> severities; // alarm key -> critical / major / minor / warning

    bool operator==(const SnmpConfig&) const = default;
};

// The NUT server: each site a UPS to upsmon, upsc and the NUT CGI pages (read-only; a primary
// may set the forced-shutdown flag).
struct NutUser {
    QString name, password;
    bool primary = false; // "upsmon": "primary" (may ask for PRIMARY and FSD) or "secondary"

    bool operator==(const NutUser&) const = default;
};

struct NutConfig {
    bool enabled = false;
    QString listen = "127.0.0.1:3493";
    int maxClients = 32;
    // Low battery (LB) once the battery voltage is this close to the end voltage.
    double endVoltageMargin = 1.0;
    QList<NutUser> users;

    bool operator==(const NutConfig&) const = default;
};

// A command run on the fleet's events (no shell: the program and its arguments as given), with
// what happened in its environment.
struct HookConfig {
    QStringList command;
    QStringList sites;    // empty: every site
    QStringList events;   // alarm_raised, alarm_cleared, site_down, site_up, test_ended; empty: all
    double timeout = 10;  // seconds, then it is killed
    double debounce = 30; // seconds: one run per site and alarm (or site state) within it

    bool operator==(const HookConfig&) const = default;
};

struct AgentConfig {
    QString metricsAddress = "127.0.0.1:9851"; // host:port of the /metrics endpoint
    // The endpoint's TLS and basic auth: the exporter toolkit's web configuration file.
    QString webConfig;
    double defaultPollPeriod = 1;
    // Threads polling the sites, each with its own event loop; 0: one per core.
    int threads = 0;
    MqttConfig mqtt;
    SnmpConfig snmp;
    NutConfig nut;
    QList<HookConfig> hooks;
    int hooksRunning = 4; // hooks running at once at most; the others wait their turn
    QList<SiteConfig> sites;
};

struct ConfigResult {
    std::optional<AgentConfig> config;
    QString error; // e.g. "site \"busan-02\": field \"poll_period\": must be 0.2 to 3600 seconds"
};

// Parses and checks a configuration text; `source` names it in messages.
ConfigResult ParseAgentConfig(const QByteArray& json, const QString& source);
ConfigResult ReadAgentConfig(const QString& path);
// Where a server of the agent's listens: "host:port", or "host" and `defaultPort`; "localhost"
// is 127.0.0.1. A null address when the host is no address.
QHostAddress ListenAddress(const QString& hostPort, quint16 defaultPort, quint16* port);
// What an operator should know about a configuration that is valid: /metrics served beyond this
// machine (it has no authentication), a password in a file other users may read.
QStringList ConfigWarnings(const AgentConfig& config, const QString& path);

} // namespace quma::agent
