// Reading and checking the agent's configuration file.
#include "agent/AgentConfig.h"

#include "agent/PlantReading.h"
#include "core/io/ReadFile.h"
#include "core/link/TcpClient.h"

#include <QFileInfo>
#include <QHostAddress>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QSet>

namespace quma::agent {

namespace {

constexpr qint64 kMaxConfigBytes = 16 * 1024 * 1024;

// Thrown inside the parser and turned into the result's error.
struct Refusal {
    QString text;
};

[[noreturn]] void refuse(const QString& where, const QString& why) {
    throw Refusal{where + ": " + why};
}

QString siteWhere(const QString& name, int index) {
    return name.isEmpty() ? QString("site %1").arg(index + 1) : QString("site \"%1\"").arg(name);
}

QString fieldWhere(const QString& owner, const QString& field) {
    return owner.isEmpty() ? QString("field \"%1\"").arg(field)
                           : QString("%1: field \"%2\"").arg(owner, field);
}

void onlyKnownFields(const QJsonObject& o, const QStringList& known, const QString& owner) {
    for (auto it = o.begin(); it != o.end(); ++it)
        if (!known.contains(it.key()))
            refuse(fieldWhere(owner, it.key()), "unknown field (known: " + known.join(", ") + ")");
}

QString stringField(const QJsonObject& o, const QString& key, const QString& owner,
                    const QString& fallback = {}) {
    if (!o.contains(key)) return fallback;
    if (!o[key].isString()) refuse(fieldWhere(owner, key), "must be a text");
    return o[key].toString();
}

double numberField(const QJsonObject& o, const QString& key, const QString& owner, double fallback,
                   double lo, double hi, const QString& unit) {
    if (!o.contains(key)) return fallback;
    if (!o[key].isDouble()) refuse(fieldWhere(owner, key), "must be a number");
    const double v = o[key].toDouble();
    if (!(v >= lo && v <= hi))
        refuse(fieldWhere(owner, key), QString("must be %1 to %2%3").arg(lo).arg(hi).arg(unit));
    return v;
}

bool boolField(const QJsonObject& o, const QString& key, const QString& owner, bool fallback) {
    if (!o.contains(key)) return fallback;
    if (!o[key].isBool()) refuse(fieldWhere(owner, key), "must be true or false");
    return o[key].toBool();
}

void checkHostPort(const QString& text, const QString& where) {
    QString host;
    quint16 port = 0;
    if (!ParseHostPort(text, &host, &port) || host.isEmpty())
        refuse(where, QString("'%1' is not a host or host:port").arg(text));
}

SiteConfig parseSite(const QJsonValue& v, int index, double defaultPeriod) {
    if (!v.isObject()) refuse(siteWhere({}, index), "must be an object");
    const QJsonObject o = v.toObject();
    static const QRegularExpression nameRe("^[A-Za-z0-9_.-]{1,64}\\z");
    SiteConfig s;
    s.name = stringField(o, "name", siteWhere({}, index));
    const QString where = siteWhere(s.name, index);
    if (!o.contains("name")) refuse(where, "field \"name\" is missing");
    if (!nameRe.match(s.name).hasMatch())
        refuse(fieldWhere(where, "name"),
               "1 to 64 letters, digits, '_', '.' or '-' (it is a label value and a topic level)");
    onlyKnownFields(o,
                    {"name", "tcp", "serial", "poll_period", "labels", "close_after_poll",
                     "pause_after_connect"},
                    where);
    s.tcp = stringField(o, "tcp", where).trimmed();
    s.serial = stringField(o, "serial", where).trimmed();
    if (s.tcp.isEmpty() == s.serial.isEmpty())
        refuse(where, "give exactly one link: \"tcp\": \"host[:port]\" or \"serial\": \"DEVICE\"");
    if (!s.tcp.isEmpty()) checkHostPort(s.tcp, fieldWhere(where, "tcp"));
    s.pollPeriod = numberField(o, "poll_period", where, defaultPeriod, 0.2, 3600, " seconds");
    s.closeAfterPoll = boolField(o, "close_after_poll", where, false);
    s.pauseAfterConnect = numberField(o, "pause_after_connect", where, 0, 0, 10, " seconds");
    if (s.pauseAfterConnect >= s.pollPeriod)
        refuse(fieldWhere(where, "pause_after_connect"), "must be shorter than the poll period");
    if (o.contains("labels")) {
        if (!o["labels"].isObject()) refuse(fieldWhere(where, "labels"), "must be an object");
        static const QRegularExpression labelRe("^[a-zA-Z_][a-zA-Z0-9_]{0,63}\\z");
        static const QStringList reserved = {"site",     "alarm",  "cell",     "contact",
                                             "name",     "result", "model",    "system_type",
                                             "firmware", "job",    "instance", "le"};
        const QJsonObject labels = o["labels"].toObject();
        for (auto it = labels.begin(); it != labels.end(); ++it) {
            const QString lw = fieldWhere(where, "labels." + it.key());
            if (!labelRe.match(it.key()).hasMatch() || it.key().startsWith("__"))
                refuse(lw, "a label name is a letter or '_' then letters, digits or '_'");
            if (reserved.contains(it.key())) refuse(lw, "this label name is the agent's own");
            if (!it.value().isString()) refuse(lw, "must be a text");
            s.labels.insert(it.key(), it.value().toString());
        }
    }
    return s;
}

MqttConfig parseMqtt(const QJsonValue& v) {
    const QString where = "mqtt";
    if (!v.isObject()) refuse(where, "must be an object");
    const QJsonObject o = v.toObject();
    onlyKnownFields(o,
                    {"host", "port", "username", "password", "client_id", "topic_prefix",
                     "keepalive", "tls", "home_assistant"},
                    where);
    MqttConfig m;
    m.enabled = true;
    m.host = stringField(o, "host", where, m.host).trimmed();
    if (m.host.isEmpty()) refuse(fieldWhere(where, "host"), "must not be empty");
    m.port = int(numberField(o, "port", where, m.port, 1, 65535, ""));
    m.username = stringField(o, "username", where);
    m.password = stringField(o, "password", where);
    if (!m.password.isEmpty() && m.username.isEmpty())
        refuse(fieldWhere(where, "password"), "a password needs a username");
    m.clientId = stringField(o, "client_id", where, m.clientId);
    static const QRegularExpression idRe("^[A-Za-z0-9_.-]{1,40}\\z");
    if (!idRe.match(m.clientId).hasMatch())
        refuse(fieldWhere(where, "client_id"), "1 to 40 letters, digits, '_', '.' or '-'");
    m.topicPrefix = stringField(o, "topic_prefix", where, m.topicPrefix);
    static const QRegularExpression topicRe("^[^#+\\s]+\\z");
    if (!topicRe.match(m.topicPrefix).hasMatch() || m.topicPrefix.startsWith('/') ||
        m.topicPrefix.endsWith('/'))
        refuse(fieldWhere(where, "topic_prefix"),
               "a topic without '#', '+', blanks or a leading or trailing '/'");
    m.keepAlive = int(numberField(o, "keepalive", where, m.keepAlive, 5, 3600, " seconds"));
    if (o.contains("tls")) {
        const QString tw = "mqtt.tls";
        if (!o["tls"].isObject()) refuse(tw, "must be an object");
        const QJsonObject t = o["tls"].toObject();
        onlyKnownFields(t, {"ca_file", "ca_path", "cert_file", "key_file", "insecure"}, tw);
        m.caFile = stringField(t, "ca_file", tw);
        m.caPath = stringField(t, "ca_path", tw);
        m.certFile = stringField(t, "cert_file", tw);
        m.keyFile = stringField(t, "key_file", tw);
        m.tlsInsecure = boolField(t, "insecure", tw, false);
        if (m.caFile.isEmpty() && m.caPath.isEmpty())
            refuse(tw, "give \"ca_file\" or \"ca_path\" to check the broker");
        if (m.certFile.isEmpty() != m.keyFile.isEmpty())
            refuse(tw, "\"cert_file\" and \"key_file\" go together");
    }
    if (o.contains("home_assistant")) {
        const QString hw = "mqtt.home_assistant";
        if (!o["home_assistant"].isObject()) refuse(hw, "must be an object");
        const QJsonObject h = o["home_assistant"].toObject();
        onlyKnownFields(h, {"enabled", "discovery_prefix"}, hw);
        m.homeAssistant = boolField(h, "enabled", hw, true);
        m.discoveryPrefix = stringField(h, "discovery_prefix", hw, m.discoveryPrefix);
        if (!topicRe.match(m.discoveryPrefix).hasMatch() || m.discoveryPrefix.startsWith('/') ||
            m.discoveryPrefix.endsWith('/'))
            refuse(fieldWhere(hw, "discovery_prefix"),
                   "a topic without '#', '+', blanks or a leading or trailing '/'");
    }
    return m;
}

SnmpConfig parseSnmp(const QJsonValue& v) {
    const QString where = "snmp";
    if (!v.isObject()) refuse(where, "must be an object");
    const QJsonObject o = v.toObject();
    onlyKnownFields(o,
                    {"enabled", "agentx_socket", "root_oid", "heartbeat_period",
                     "end_voltage_margin", "severities"},
                    where);
    SnmpConfig s;
    s.enabled = boolField(o, "enabled", where, true);
    s.agentxSocket = stringField(o, "agentx_socket", where, s.agentxSocket).trimmed();
    if (s.agentxSocket.isEmpty()) refuse(fieldWhere(where, "agentx_socket"), "must not be empty");
    s.rootOid = stringField(o, "root_oid", where, s.rootOid).trimmed();
    if (s.rootOid.startsWith('.')) s.rootOid.remove(0, 1);
    static const QRegularExpression oidRe(
        "^1\\.3\\.6\\.1\\.4\\.1(\\.(0|[1-9][0-9]{0,8})){1,20}\\z");
    if (!oidRe.match(s.rootOid).hasMatch())
        refuse(fieldWhere(where, "root_oid"),
               QString("'%1' is not an OID under enterprises (1.3.6.1.4.1.N...)").arg(s.rootOid));
    s.heartbeatSeconds = int(numberField(o, "heartbeat_period", where, s.heartbeatSeconds, 0, 86400,
                                         " seconds (0: off)"));
    s.endVoltageMargin =
        numberField(o, "end_voltage_margin", where, s.endVoltageMargin, 0, 10, " volts");
    if (o.contains("severities")) {
        const QString sw = fieldWhere(where, "severities");
        if (!o["severities"].isObject()) refuse(sw, "must be an object");
        QStringList keys;
        for (const AlarmBit& a : KnownAlarms())
            keys << a.key;
        keys << "battery_discharge"
             << "contact";
        static const QStringList levels = {"critical", "major", "minor", "warning"};
        const QJsonObject sev = o["severities"].toObject();
        for (auto it = sev.begin(); it != sev.end(); ++it) {
            const QString kw = fieldWhere(where, "severities." + it.key());
            if (!keys.contains(it.key()))
                refuse(kw, "not an alarm of the agent's (known: " + keys.join(", ") + ")");
            if (!levels.contains(it.value().toString()))
                refuse(kw, "must be \"critical\", \"major\", \"minor\" or \"warning\"");
            s.severities.insert(it.key(), it.value().toString());
        }
    }
    return s;
}

NutConfig parseNut(const QJsonValue& v) {
    const QString where = "nut";
    if (!v.isObject()) refuse(where, "must be an object");
    const QJsonObject o = v.toObject();
    onlyKnownFields(o, {"enabled", "listen", "max_clients", "end_voltage_margin", "users"}, where);
    NutConfig n;
    n.enabled = boolField(o, "enabled", where, true);
    n.listen = stringField(o, "listen", where, n.listen).trimmed();
    checkHostPort(n.listen, fieldWhere(where, "listen"));
    n.maxClients = int(numberField(o, "max_clients", where, n.maxClients, 1, 1024, ""));
    n.endVoltageMargin =
        numberField(o, "end_voltage_margin", where, n.endVoltageMargin, 0, 10, " volts");
    if (o.contains("users")) {
        if (!o["users"].isArray()) refuse(fieldWhere(where, "users"), "must be a list of users");
        const QJsonArray users = o["users"].toArray();
        for (int i = 0; i < users.size(); ++i) {
            const QString uw = QString("nut: user %1").arg(i + 1);
            if (!users[i].isObject()) refuse(uw, "must be an object");
            const QJsonObject u = users[i].toObject();
            onlyKnownFields(u, {"name", "password", "upsmon"}, uw);
            NutUser user;
            user.name = stringField(u, "name", uw);
            user.password = stringField(u, "password", uw);
            static const QRegularExpression tokenRe("^[!-~]{1,64}\\z");
            if (!tokenRe.match(user.name).hasMatch())
                refuse(fieldWhere(uw, "name"), "1 to 64 printable characters without blanks");
            if (!tokenRe.match(user.password).hasMatch())
                refuse(fieldWhere(uw, "password"), "1 to 64 printable characters without blanks");
            const QString role = stringField(u, "upsmon", uw, "secondary");
            if (role != "primary" && role != "secondary")
                refuse(fieldWhere(uw, "upsmon"), "must be \"primary\" or \"secondary\"");
            user.primary = role == "primary";
            n.users << user;
        }
    }
    return n;
}

QStringList textList(const QJsonObject& o, const QString& key, const QString& owner) {
    if (!o.contains(key)) return {};
    if (!o[key].isArray()) refuse(fieldWhere(owner, key), "must be a list of texts");
    QStringList out;
    for (const QJsonValue& v : o[key].toArray()) {
        if (!v.isString()) refuse(fieldWhere(owner, key), "must be a list of texts");
        out << v.toString();
    }
    return out;
}

HookConfig parseHook(const QJsonValue& v, int index, const QSet<QString>& sites) {
    const QString where = QString("hook %1").arg(index + 1);
    if (!v.isObject()) refuse(where, "must be an object");
    const QJsonObject o = v.toObject();
    onlyKnownFields(o, {"command", "sites", "events", "timeout", "debounce"}, where);
    HookConfig h;
    h.command = textList(o, "command", where);
    if (h.command.isEmpty() || h.command[0].isEmpty())
        refuse(fieldWhere(where, "command"), "give the program and its arguments, as a list");
    if (!QFileInfo(h.command[0]).isAbsolute())
        refuse(fieldWhere(where, "command"), "the program needs its full path (no shell runs it)");
    h.sites = textList(o, "sites", where);
    for (const QString& s : h.sites)
        if (!sites.contains(s)) refuse(fieldWhere(where, "sites"), "no site \"" + s + "\"");
    static const QStringList events = {"alarm_raised", "alarm_cleared", "site_down", "site_up",
                                       "test_ended"};
    h.events = textList(o, "events", where);
    for (const QString& e : h.events)
        if (!events.contains(e))
            refuse(fieldWhere(where, "events"), "'" + e + "' is not one of " + events.join(", "));
    h.timeout = numberField(o, "timeout", where, h.timeout, 0.1, 3600, " seconds");
    h.debounce = numberField(o, "debounce", where, h.debounce, 0, 86400, " seconds");
    return h;
}

} // namespace

ConfigResult ParseAgentConfig(const QByteArray& json, const QString& source) {
    ConfigResult r;
    QJsonParseError pe;
    const QJsonDocument doc = QJsonDocument::fromJson(json, &pe);
    if (pe.error != QJsonParseError::NoError) {
        r.error =
            QString("%1: not JSON at byte %2: %3").arg(source).arg(pe.offset).arg(pe.errorString());
        return r;
    }
    if (!doc.isObject()) {
        r.error = source + ": the file must hold one JSON object";
        return r;
    }
    try {
        const QJsonObject o = doc.object();
        onlyKnownFields(o,
                        {"format", "version", "metrics", "poll_period", "threads", "mqtt", "snmp",
                         "nut", "hooks", "hooks_running", "battery", "sites"},
                        {});
        if (o.value("format").toString() != "quma-agent-config")
            refuse(fieldWhere({}, "format"), "must be \"quma-agent-config\"");
        if (!o.value("version").isDouble() || o.value("version").toDouble() != 1)
            refuse(fieldWhere({}, "version"), "this agent reads version 1");
        AgentConfig c;
        if (o.contains("metrics")) {
            if (!o["metrics"].isObject()) refuse("metrics", "must be an object");
            const QJsonObject m = o["metrics"].toObject();
            onlyKnownFields(m, {"listen", "web_config"}, "metrics");
            c.webConfig = stringField(m, "web_config", "metrics").trimmed();
            c.metricsAddress = stringField(m, "listen", "metrics", c.metricsAddress).trimmed();
            // Port 0 takes a free port (tests).
            const qsizetype colon = c.metricsAddress.lastIndexOf(':');
            bool portOk = false;
            const uint port = c.metricsAddress.mid(colon + 1).toUInt(&portOk);
            if (colon <= 0 || !portOk || port > 65535)
                refuse(fieldWhere("metrics", "listen"),
                       QString("'%1' is not host:port").arg(c.metricsAddress));
        }
        c.defaultPollPeriod = numberField(o, "poll_period", {}, 1, 0.2, 3600, " seconds");
        c.threads = int(numberField(o, "threads", {}, 0, 0, 64, " (0: one per core)"));
        if (c.threads != o.value("threads").toDouble(c.threads))
            refuse(fieldWhere({}, "threads"), "must be a whole number");
        if (o.contains("mqtt")) c.mqtt = parseMqtt(o["mqtt"]);
        if (o.contains("snmp")) c.snmp = parseSnmp(o["snmp"]);
        if (o.contains("nut")) c.nut = parseNut(o["nut"]);
        // The thresholds discharge tests and cells are judged by.
        BatterySettings battery;
        if (o.contains("battery")) {
            if (!o["battery"].isObject()) refuse("battery", "must be an object");
            QString why;
            const auto read = BatterySettingsFromJson(o["battery"].toObject(), "battery", &why);
            if (!read) throw Refusal{why};
            battery = *read;
        }
        if (!o["sites"].isArray()) refuse(fieldWhere({}, "sites"), "must be a list of sites");
        const QJsonArray sites = o["sites"].toArray();
        QSet<QString> names;
        for (int i = 0; i < sites.size(); ++i) {
            SiteConfig s = parseSite(sites[i], i, c.defaultPollPeriod);
            s.battery = battery;
            if (names.contains(s.name))
                refuse(siteWhere(s.name, i), "the name is used by an earlier site");
            names.insert(s.name);
            c.sites << s;
        }
        if (o.contains("hooks")) {
            if (!o["hooks"].isArray()) refuse(fieldWhere({}, "hooks"), "must be a list of hooks");
            const QJsonArray hooks = o["hooks"].toArray();
            for (int i = 0; i < hooks.size(); ++i)
                c.hooks << parseHook(hooks[i], i, names);
        }
        c.hooksRunning = int(numberField(o, "hooks_running", {}, c.hooksRunning, 1, 64, ""));
        r.config = c;
    } catch (const Refusal& refusal) {
        r.error = source + ": " + refusal.text;
    }
    return r;
}

ConfigResult ReadAgentConfig(const QString& path) {
    QString error;
    const auto bytes = ReadWholeFile(path, kMaxConfigBytes, "configuration", &error);
    if (!bytes) return {std::nullopt, error};
    return ParseAgentConfig(*bytes, path);
}

QHostAddress ListenAddress(const QString& hostPort, quint16 defaultPort, quint16* port) {
    QString host;
    ParseHostPort(hostPort, &host, port);
    if (!hostPort.contains(':')) *port = defaultPort;
    return QHostAddress(host == "localhost" ? QString("127.0.0.1") : host);
}

QStringList ConfigWarnings(const AgentConfig& config, const QString& path) {
    QStringList warnings;
    const auto loopback = [](const QString& hostPort) {
        QString host = hostPort.contains(':') ? hostPort.section(':', 0, -2) : hostPort;
        if (host.startsWith('[')) host = host.mid(1, host.size() - 2);
        const QHostAddress address(host);
        return host == "localhost" || (!address.isNull() && address.isLoopback());
    };
    if (!loopback(config.metricsAddress) && config.webConfig.isEmpty())
        warnings << QString("/metrics is served on %1, beyond this machine, without "
                            "authentication: bind it to 127.0.0.1 unless a firewall or a proxy "
                            "guards it")
                        .arg(config.metricsAddress);
    if (config.nut.enabled && !loopback(config.nut.listen))
        warnings << QString("the NUT server listens on %1, beyond this machine, without TLS: "
                            "its passwords cross the network in clear; keep it on a management "
                            "network")
                        .arg(config.nut.listen);
    const QFileInfo file(path);
    const bool readable = file.permissions() & (QFileDevice::ReadGroup | QFileDevice::ReadOther);
    if (!config.mqtt.password.isEmpty() && readable)
        warnings << QString("%1 holds the MQTT password and other users may read it: "
                            "chmod 600 %1")
                        .arg(path);
    if (config.nut.enabled && !config.nut.users.isEmpty() && readable)
        warnings << QString("%1 holds the NUT users' passwords and other users may read it: "
                            "chmod 600 %1")
                        .arg(path);
    return warnings;
}

} // namespace quma::agent
