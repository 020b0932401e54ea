// The fleet agent against simulated controllers, with Debian's Prometheus server and Mosquitto
// broker started on loopback ports: values, up/down, MQTT state, alarm events and availability,
// configuration errors, reload and signals.
#include "agent/AgentConfig.h"
#include "agent/FleetAgent.h"
#include "sim/SimServer.h"
#include "tests/AgentRig.h"

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <csignal>
#include <memory>
#include <sys/resource.h>
#include <unistd.h>

using namespace quma;
using namespace quma::agent;
using namespace quma::test;

namespace {

sim::SimOptions frozen(quint32 seed = 1) {
    sim::SimOptions o;
    o.frozen = true;
    o.seed = seed;
    return o;
}

QByteArray configJson(const QString& metrics, const QList<QPair<QString, QString>>& sites,
                      double period, quint16 mqttPort = 0) {
    QJsonArray list;
    for (const auto& [name, tcp] : sites)
        list << QJsonObject{
            {"name", name}, {"tcp", tcp}, {"labels", QJsonObject{{"region", "test"}}}};
    QJsonObject o{{"format", "quma-agent-config"},
                  {"version", 1},
                  {"metrics", QJsonObject{{"listen", metrics}}},
                  {"poll_period", period},
                  {"sites", list}};
    if (mqttPort) o["mqtt"] = QJsonObject{{"host", "127.0.0.1"}, {"port", mqttPort}};
    return QJsonDocument(o).toJson();
}

AgentConfig parse(const QByteArray& json) {
    const ConfigResult r = ParseAgentConfig(json, "test.json");
    if (!r.config) qWarning("%s", qPrintable(r.error));
    return r.config.value_or(AgentConfig{});
}

QString tcpOf(const sim::SimServer& s) {
    return QString("127.0.0.1:%1").arg(s.tcpPort());
}

} // namespace

class TestAgent : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { mosquitto_lib_init(); }
    void cleanupTestCase() { mosquitto_lib_cleanup(); }

    // Each refusal names the site and the field.
    void configurationErrors_data() {
        QTest::addColumn<QByteArray>("json");
        QTest::addColumn<QString>("message");
        const auto cfg = [](const QByteArray& sites, const QByteArray& more = {}) {
            return "{\"format\":\"quma-agent-config\",\"version\":1," + more + "\"sites\":[" +
                   sites + "]}";
        };
        QTest::newRow("not json") << QByteArray("{\"sites\": [") << "not JSON at byte";
        QTest::newRow("format") << QByteArray("{\"format\":\"x\",\"version\":1,\"sites\":[]}")
                                << "field \"format\": must be \"quma-agent-config\"";
        QTest::newRow("version") << QByteArray("{\"format\":\"quma-agent-config\",\"version\":2,"
                                               "\"sites\":[]}")
                                 << "this agent reads version 1";
        QTest::newRow("no name") << cfg("{\"tcp\":\"h:1\"}") << "site 1: field \"name\" is missing";
        QTest::newRow("bad name") << cfg("{\"name\":\"a b\",\"tcp\":\"h:1\"}")
                                  << "site \"a b\": field \"name\": 1 to 64 letters";
        QTest::newRow("two links")
            << cfg("{\"name\":\"a\",\"tcp\":\"h:1\",\"serial\":\"/dev/ttyS0\"}")
            << "site \"a\": give exactly one link";
        QTest::newRow("no link") << cfg("{\"name\":\"a\"}") << "site \"a\": give exactly one link";
        QTest::newRow("bad host") << cfg("{\"name\":\"a\",\"tcp\":\"h:99999\"}")
                                  << "site \"a\": field \"tcp\": 'h:99999' is not a host";
        QTest::newRow("period") << cfg("{\"name\":\"a\",\"tcp\":\"h\",\"poll_period\":0.01}")
                                << "site \"a\": field \"poll_period\": must be 0.2 to 3600 seconds";
        QTest::newRow("period text") << cfg("{\"name\":\"a\",\"tcp\":\"h\",\"poll_period\":\"1\"}")
                                     << "field \"poll_period\": must be a number";
        QTest::newRow("same name")
            << cfg("{\"name\":\"a\",\"tcp\":\"h\"},{\"name\":\"a\",\"tcp\":\"g\"}")
            << "site \"a\": the name is used by an earlier site";
        QTest::newRow("name with a line break")
            << cfg("{\"name\":\"a\\n\",\"tcp\":\"h\"}") << "field \"name\"";
        QTest::newRow("label name")
            << cfg("{\"name\":\"a\",\"tcp\":\"h\",\"labels\":{\"1x\":\"v\"}}")
            << "site \"a\": field \"labels.1x\": a label name";
        QTest::newRow("reserved label")
            << cfg("{\"name\":\"a\",\"tcp\":\"h\",\"labels\":{\"site\":\"v\"}}")
            << "field \"labels.site\": this label name is the agent's own";
        QTest::newRow("unknown site field") << cfg("{\"name\":\"a\",\"tcp\":\"h\",\"port\":1}")
                                            << "site \"a\": field \"port\": unknown field";
        QTest::newRow("metrics address") << cfg("", "\"metrics\":{\"listen\":\"nowhere\"},")
                                         << "field \"listen\": 'nowhere' is not host:port";
        QTest::newRow("mqtt port")
            << cfg("", "\"mqtt\":{\"port\":0},") << "mqtt: field \"port\": must be 1 to 65535";
        QTest::newRow("mqtt tls") << cfg("", "\"mqtt\":{\"tls\":{\"cert_file\":\"c\"}},")
                                  << "mqtt.tls: give \"ca_file\" or \"ca_path\"";
        QTest::newRow("battery threshold")
            << cfg("", "\"battery\":{\"capacity_fail\":2},")
            << "battery: field \"capacity_fail\": must be a number from 0.1 to 1";
        QTest::newRow("battery field")
            << cfg("", "\"battery\":{\"spread\":2},") << "battery: field \"spread\": unknown field";
        QTest::newRow("mqtt password")
            << cfg("", "\"mqtt\":{\"password\":\"p\"},") << "a password needs a username";
        QTest::newRow("snmp root")
            << cfg("", "\"snmp\":{\"root_oid\":\"1.3.6.1.2.1\"},")
            << "snmp: field \"root_oid\": '1.3.6.1.2.1' is not an OID under enterprises";
        QTest::newRow("snmp severity")
            << cfg("", "\"snmp\":{\"severities\":{\"ac_failure\":\"urgent\"}},")
            << "snmp: field \"severities.ac_failure\": must be \"critical\"";
        QTest::newRow("snmp alarm")
            << cfg("", "\"snmp\":{\"severities\":{\"fire\":\"major\"}},")
            << "snmp: field \"severities.fire\": not an alarm of the agent's";
        QTest::newRow("snmp heartbeat")
            << cfg("", "\"snmp\":{\"heartbeat_period\":-1},")
            << "snmp: field \"heartbeat_period\": must be 0 to 86400 seconds";
        QTest::newRow("nut role")
            << cfg("",
                   "\"nut\":{\"users\":[{\"name\":\"u\",\"password\":\"p\",\"upsmon\":\"boss\"}]},")
            << "nut: user 1: field \"upsmon\": must be \"primary\" or \"secondary\"";
        QTest::newRow("nut password")
            << cfg("", "\"nut\":{\"users\":[{\"name\":\"u\",\"password\":\"a b\"}]},")
            << "nut: user 1: field \"password\": 1 to 64 printable characters";
    }
    void configurationErrors() {
        QFETCH(QByteArray, json);
        QFETCH(QString, message);
        const ConfigResult r = ParseAgentConfig(json, "fleet.json");
        QVERIFY(!r.config);
        QVERIFY2(r.error.startsWith("fleet.json: ") && r.error.contains(message),
                 qPrintable(r.error));
    }

    void exampleConfigurationAndCheckOption() {
        const QString example = QString(QUMA_SOURCE_DIR) + "/deploy/quma-agent.example.json";
        const ConfigResult r = ReadAgentConfig(example);
        QVERIFY2(r.config, qPrintable(r.error));
        QCOMPARE(r.config->sites.size(), 3);
        QCOMPARE(r.config->sites[2].pollPeriod, 5.0);
        QCOMPARE(r.config->sites[0].pollPeriod, 1.0);
        QCOMPARE(r.config->sites[0].labels.value("site_code"), QString("D001"));
        QVERIFY(r.config->mqtt.enabled);

        QProcess p;
        p.start(QUMA_AGENT_PATH, {"--check", example});
        QVERIFY(p.waitForFinished(10000));
        QCOMPARE(p.exitCode(), 0);
        QVERIFY(p.readAllStandardOutput().contains("valid, 3 site(s)"));
        QTemporaryDir dir;
        QFile bad(dir.filePath("bad.json"));
        QVERIFY(bad.open(QIODevice::WriteOnly));
        bad.write("{\"format\":\"quma-agent-config\",\"version\":1,\"sites\":[{\"name\":\"x\"}]}");
        bad.close();
        p.start(QUMA_AGENT_PATH, {"--check", bad.fileName()});
        QVERIFY(p.waitForFinished(10000));
        QCOMPARE(p.exitCode(), 2);
        QVERIFY(p.readAllStandardError().contains("site \"x\": give exactly one link"));
        // Not only --check: a bad configuration stops the start with the same message.
        p.start(QUMA_AGENT_PATH, {bad.fileName()});
        QVERIFY(p.waitForFinished(10000));
        QCOMPARE(p.exitCode(), 2);
        p.start(QUMA_AGENT_PATH, {dir.filePath("missing.json")});
        QVERIFY(p.waitForFinished(10000));
        QCOMPARE(p.exitCode(), 2);
        QVERIFY(p.readAllStandardError().contains("missing.json"));
    }

    // Prometheus scrapes the agent polling two simulators, one of them with faults: the values
    // are the registers, quma_up is 1, and 0 once a simulator is gone.
    void prometheusScrapesTheSites() {
        auto a = std::make_unique<sim::SimServer>(frozen(1));
        sim::SimServer b(frozen(2));
        a->model().setReg(7, 2213);
        a->model().setReg(10, 0xFFF6); // -1.0 A
        a->model().setReg(112, 341);
        b.model().setReg(7, 1987);
        b.faults.garbageEvery = 3;
        b.faults.dropEvery = 4;
        QVERIFY(a->listenTcp() && b.listenTcp());
        FleetAgent agent;
        QString error;
        QVERIFY2(
            agent.start(parse(configJson("127.0.0.1:0", {{"a", tcpOf(*a)}, {"b", tcpOf(b)}}, 0.5)),
                        &error),
            qPrintable(error));
        QVERIFY(agent.metrics().port() > 0);
        PrometheusServer prom;
        if (!prom.start(quint16(agent.metrics().port())))
            QFAIL(qPrintable(prom.missing.isEmpty()
                                 ? "prometheus did not start: " + prom.process.readAll()
                                 : prom.missing));
        QVERIFY(prom.waitValue("quma_up{site=\"a\"}", 1));
        QVERIFY(prom.waitValue("quma_ac_volts{site=\"a\",region=\"test\"}", 221.3));
        QVERIFY(prom.waitValue("quma_dc_amperes{site=\"a\"}", -1.0));
        QVERIFY(prom.waitValue("quma_cell_volts{site=\"a\",cell=\"3\"}", 3.41));
        QVERIFY(prom.waitValue("quma_ac_volts{site=\"b\"}", 198.7));
        QVERIFY(prom.waitValue("quma_up{site=\"b\"}", 1));
        QVERIFY(prom.waitValue("quma_controller_info{site=\"a\",system_type=\"4\"}", 1));
        // The faulty site's losses are counted, and it is still up.
        QVERIFY(WaitFor(
            [&] {
                const auto lost =
                    prom.query("sum(quma_polls_total{site=\"b\",result!=\"success\"})");
                return lost && *lost > 0;
            },
            20000));
        QVERIFY(prom.waitValue("quma_polls_total{site=\"a\",result=\"timeout\"}", 0));

        // a goes silent: down within three poll periods (1.5 s), seen at the next scrapes.
        a.reset(); // the controller is gone
        QVERIFY(prom.waitValue("quma_up{site=\"a\"}", 0, 10000));
        QVERIFY(prom.waitValue("quma_up{site=\"b\"}", 1));
    }

    // State retained, an event when an alarm rises, "offline" when the agent stops.
    // /metrics behind TLS and basic auth (the exporter toolkit's web configuration): Debian's
    // Prometheus scrapes it over HTTPS with its credentials; curl without them gets 401, and with
    // another certificate authority no answer at all.
    void metricsOverHttpsWithBasicAuth() {
        PrometheusServer prometheus;
        if (!prometheus.makeCertificates() ||
            !prometheus.run("htpasswd", {"-cbBC", "10", "users", "scraper", "s3cret"}))
            QFAIL("openssl or htpasswd failed");
        QFile users(prometheus.dir.filePath("users"));
        QVERIFY(users.open(QIODevice::ReadOnly));
        const QString hash = QString::fromUtf8(users.readAll()).trimmed().section(':', 1);
        const QString web = prometheus.writeFile(
            "web.yml",
            QString("tls_server_config:\n  cert_file: server.crt\n  key_file: server.key\n"
                    "basic_auth_users:\n  scraper: %1\n")
                .arg(hash));
        sim::SimServer a(frozen());
        QVERIFY(a.listenTcp());
        QJsonObject o =
            QJsonDocument::fromJson(configJson("127.0.0.1:0", {{"site-a", tcpOf(a)}}, 0.5))
                .object();
        o["metrics"] = QJsonObject{{"listen", "127.0.0.1:0"}, {"web_config", web}};
        FleetAgent agent;
        QString error;
        QVERIFY2(agent.start(parse(QJsonDocument(o).toJson()), &error), qPrintable(error));
        QVERIFY(agent.metrics().secure());
        const quint16 port = quint16(agent.metrics().port());
        if (!prometheus.start(port,
                              QString("    scheme: https\n    tls_config:\n      ca_file: %1\n"
                                      "    basic_auth:\n      username: scraper\n"
                                      "      password: s3cret\n")
                                  .arg(prometheus.dir.filePath("ca.crt"))))
            QFAIL(qPrintable(prometheus.missing.isEmpty() ? "prometheus did not start"
                                                          : prometheus.missing));
        QVERIFY(prometheus.waitValue("up{job=\"quma\"}", 1));
        QVERIFY(prometheus.waitValue("quma_up{site=\"site-a\"}", 1));
        const auto curl = [&](const QStringList& args) {
            QProcess p;
            p.start("curl", QStringList{"-s", "-o", "/dev/null", "-w", "%{http_code}"} + args +
                                QStringList{QString("https://127.0.0.1:%1/metrics").arg(port)});
            p.waitForFinished(10000);
            return QPair<int, QByteArray>(p.exitCode(), p.readAllStandardOutput());
        };
        const QString ca = prometheus.dir.filePath("ca.crt");
        QCOMPARE(curl({"--cacert", ca}), (QPair<int, QByteArray>(0, "401")));
        QCOMPARE(curl({"--cacert", ca, "-u", "scraper:wrong"}), (QPair<int, QByteArray>(0, "401")));
        QCOMPARE(curl({"--cacert", ca, "-u", "scraper:s3cret"}),
                 (QPair<int, QByteArray>(0, "200")));
        QCOMPARE(curl({"-u", "scraper:s3cret"}).first,
                 60); // the system's authorities do not know it
    }

    // A web configuration that cannot be served stops the agent at its start, saying why.
    void badWebConfiguration_data() {
        QTest::addColumn<QString>("yaml");
        QTest::addColumn<QString>("message");
        QTest::newRow("missing") << QString() << "web.yml: No such file or directory";
        QTest::newRow("bad hash") << "basic_auth_users:\n  scraper: plain-text\n"
                                  << "basic_auth_users.scraper: not a bcrypt hash";
        QTest::newRow("no key") << "tls_server_config:\n  cert_file: x.crt\n"
                                << "tls_server_config: give cert_file and key_file";
        QTest::newRow("unknown") << "http_server_config:\n  http2: false\n"
                                 << "http_server_config: not read by this agent";
    }
    void badWebConfiguration() {
        QFETCH(QString, yaml);
        QFETCH(QString, message);
        QTemporaryDir dir;
        const QString web = dir.filePath("web.yml");
        if (!yaml.isEmpty()) {
            QFile f(web);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(yaml.toUtf8());
        }
        AgentConfig config = parse(configJson("127.0.0.1:0", {}, 1));
        config.webConfig = web;
        FleetAgent agent;
        QString error;
        QVERIFY(!agent.start(config, &error));
        QVERIFY2(error.contains(message), qPrintable(error));
    }

    void mqttStateAlarmsAndAvailability() {
        MosquittoServer broker;
        if (!broker.start())
            QFAIL(qPrintable(broker.missing.isEmpty()
                                 ? "mosquitto did not start: " + broker.process.readAll()
                                 : broker.missing));
        sim::SimServer a(frozen());
        a.model().setReg(7, 2301);
        QVERIFY(a.listenTcp());
        auto agent = std::make_unique<FleetAgent>();
        QString error;
        QVERIFY(agent->start(
            parse(configJson("127.0.0.1:0", {{"site-a", tcpOf(a)}}, 0.3, broker.port)), &error));
        QVERIFY(WaitFor([&] { return agent->site("site-a")->successes() >= 2; }, 10000));

        // A subscriber that comes later gets the retained state and availability at once.
        MqttSubscriber sub(broker.port, "quma/site-a/#");
        const auto state =
            sub.waitFor("quma/site-a/state", [](const auto& m) { return m.retained; });
        QVERIFY(state);
        const QJsonObject o = QJsonDocument::fromJson(state->payload).object();
        QCOMPARE(o["site"].toString(), QString("site-a"));
        QCOMPARE(o["ac_volts"].toDouble(), 230.1);
        QCOMPARE(o["model"].toString(), QString("QUMA-7TN(A)"));
        QVERIFY(sub.waitFor("quma/site-a/availability",
                            [](const auto& m) { return m.retained && m.payload == "online"; }));

        a.model().setReg(15, 0x0101); // AC failure and rectifier module failure
        const auto alarm = sub.waitFor("quma/site-a/alarm", [](const auto&) { return true; });
        QVERIFY(alarm);
        const QJsonObject event = QJsonDocument::fromJson(alarm->payload).object();
        QCOMPARE(event["raised"].toArray(), (QJsonArray{"ac_failure", "rectifier_module_failure"}));
        QCOMPARE(event["cleared"].toArray(), QJsonArray{});

        // A broker that goes away is in the log and the metrics; back, it hears every
        // availability again (it kept none: no persistence).
        QSignalSpy mqttState(agent.get(), &FleetAgent::mqttConnectionChanged);
        QVERIFY(broker.restart());
        QVERIFY(WaitFor([&] { return mqttState.size() >= 2; }, 10000));
        QCOMPARE(mqttState.first().first().toBool(), false);
        QCOMPARE(mqttState.last().first().toBool(), true);
        QVERIFY(agent->metrics().render().find("quma_mqtt_connection_losses_total 1") !=
                std::string::npos);
        MqttSubscriber again(broker.port, "quma/#");
        QVERIFY(again.waitFor("quma/site-a/availability",
                              [](const auto& m) { return m.retained && m.payload == "online"; }));
        QVERIFY(again.waitFor("quma/availability",
                              [](const auto& m) { return m.retained && m.payload == "online"; }));

        agent.reset(); // as on SIGTERM: the site and the agent say "offline"
        QVERIFY(again.waitFor("quma/site-a/availability",
                              [](const auto& m) { return m.payload == "offline"; }));
        QVERIFY(again.waitFor("quma/availability",
                              [](const auto& m) { return m.payload == "offline"; }));
    }

    // Home Assistant's discovery: a retained configuration per entity whose template reads a key
    // of the state; emptied when the site leaves the configuration; no state while it is down.
    void homeAssistantDiscovery() {
        MosquittoServer broker;
        if (!broker.start()) QFAIL(qPrintable(broker.missing));
        auto a = std::make_unique<sim::SimServer>(frozen());
        a->model().setReg(Reg::BattTemp, kTempProbeOpen);
        QVERIFY(a->listenTcp());
        // The broker's section with discovery on.
        const auto withDiscovery = [&](const QList<QPair<QString, QString>>& sites) {
            QJsonObject o =
                QJsonDocument::fromJson(configJson("127.0.0.1:0", sites, 0.3, broker.port))
                    .object();
            QJsonObject mqtt = o["mqtt"].toObject();
            mqtt["home_assistant"] = QJsonObject{{"enabled", true}};
            o["mqtt"] = mqtt;
            return parse(QJsonDocument(o).toJson());
        };
        FleetAgent agent;
        QString error;
        QVERIFY(agent.start(withDiscovery({{"site-a", tcpOf(*a)}}), &error));
        MqttSubscriber sub(broker.port, "#");
        const auto state = sub.waitFor("quma/site-a/state", [](const auto&) { return true; });
        QVERIFY(state);
        const QJsonObject values = QJsonDocument::fromJson(state->payload).object();
        QVERIFY(WaitFor(
            [&] {
                int n = 0;
                for (const auto& m : sub.messages())
                    n += m.topic.startsWith("homeassistant/");
                return n >= 9 + 9; // the sensors this plant has and the nine alarms
            },
            10000));
        QSet<QString> topics;
        static const QRegularExpression key("value_json\\.(\\w+)");
        for (const auto& m : sub.messages()) {
            if (!m.topic.startsWith("homeassistant/")) continue;
            topics << m.topic;
            const QJsonObject c = QJsonDocument::fromJson(m.payload).object();
            QVERIFY2(c["unique_id"].toString().startsWith("quma_site-a_"), m.payload.constData());
            QCOMPARE(c["state_topic"].toString(), QString("quma/site-a/state"));
            const QString read = key.match(c["value_template"].toString()).captured(1);
            QVERIFY2(values.contains(read) && !values[read].isNull(), m.payload.constData());
            if (m.topic.startsWith("homeassistant/sensor/")) {
                QCOMPARE(c["state_class"].toString(), QString("measurement"));
                QVERIFY(!c["unit_of_measurement"].toString().isEmpty());
            }
        }
        QVERIFY(topics.contains("homeassistant/sensor/quma_site-a/dc_volts/config"));
        QVERIFY(topics.contains("homeassistant/binary_sensor/quma_site-a/ac_failure/config"));
        // Retained, for a Home Assistant that comes later.
        MqttSubscriber late(broker.port, "homeassistant/#");
        QVERIFY(late.waitFor("homeassistant/sensor/quma_site-a/dc_volts/config",
                             [](const auto& m) { return m.retained; }));
        // An open probe is no entity, rather than a temperature of 0.
        QVERIFY(!topics.contains("homeassistant/sensor/quma_site-a/battery_celsius/config"));

        // Down: no state goes out.
        a.reset();
        QVERIFY(sub.waitFor("quma/site-a/availability",
                            [](const auto& m) { return m.payload == "offline"; }));
        sub.clear();
        QTest::qWait(1000);
        for (const auto& m : sub.messages())
            QVERIFY2(m.topic != "quma/site-a/state", m.payload.constData());

        // Gone from the configuration: every configuration emptied.
        agent.reload(withDiscovery({}));
        QVERIFY(WaitFor(
            [&] {
                QSet<QString> emptied;
                for (const auto& m : sub.messages())
                    if (m.topic.startsWith("homeassistant/") && m.payload.isEmpty())
                        emptied << m.topic;
                return emptied == topics;
            },
            10000));
    }

    // A discharge test at a site: running, then its figures and verdict in the metrics, the
    // cells' deviations, and a test-ended event on the alarm topic; its history in the state
    // folder systemd gives the service.
    void batteryTestInMetricsAndMqtt() {
        MosquittoServer broker;
        if (!broker.start()) QFAIL(qPrintable(broker.missing));
        QTemporaryDir state;
        qputenv("STATE_DIRECTORY", state.path().toUtf8());
        sim::SimOptions o = frozen();
        o.pack = {5, 0, 2, 12};
        o.registers = {{79, 1}};
        sim::SimServer a(o);
        a.startTicking(100);
        QVERIFY(a.listenTcp());
        FleetAgent agent;
        QString error;
        QVERIFY(agent.start(
            parse(configJson("127.0.0.1:0", {{"site-a", tcpOf(a)}}, 0.3, broker.port)), &error));
        qunsetenv("STATE_DIRECTORY");
        MqttSubscriber sub(broker.port, "quma/site-a/alarm");
        QVERIFY(WaitFor([&] { return agent.site("site-a")->successes() >= 3; }, 10000));
        const auto has = [&](const std::string& line) {
            return agent.metrics().render().find(line) != std::string::npos;
        };
        QVERIFY(has("quma_battery_test_last_verdict{region=\"test\",site=\"site-a\"} Nan"));
        a.model().writeRegister(92, 1);
        QVERIFY(WaitFor(
            [&] { return has("quma_battery_test_running{region=\"test\",site=\"site-a\"} 1"); },
            5000));
        QVERIFY(WaitFor(
            [&] {
                return !has("quma_battery_test_last_verdict{region=\"test\",site=\"site-a\"} Nan");
            },
            20000));
        QVERIFY(has("quma_battery_test_running{region=\"test\",site=\"site-a\"} 0"));
        const std::string text = agent.metrics().render();
        QVERIFY(text.find(
                    "quma_cell_deviation_volts{cell=\"2\",region=\"test\",site=\"site-a\"} -0.0") !=
                std::string::npos);
        const auto ended = sub.waitFor("quma/site-a/alarm", [](const auto& m) {
            return QJsonDocument::fromJson(m.payload)["event"] == "battery_test_ended";
        });
        QVERIFY(ended);
        const QJsonObject test = QJsonDocument::fromJson(ended->payload)["test"].toObject();
        QCOMPARE(test["kind"].toString(), QString("controller"));
        QCOMPARE(test["weakest_cell"].toInt(), 2);
        QVERIFY(QFile::exists(state.path() + "/battery/site-a.json"));
    }

    // Hundreds of sites on one broker connection whose descriptor is above 1023, where a
    // select()-based loop cannot follow it: every site's retained availability is right.
    void mqttAvailabilityOfManySites() {
        MosquittoServer broker;
        if (!broker.start()) QFAIL(qPrintable(broker.missing + broker.process.readAll()));
        constexpr int Sites = 300;
        std::vector<std::unique_ptr<sim::SimServer>> sims;
        QList<QPair<QString, QString>> sites;
        for (int i = 0; i < Sites; ++i) {
            sims.push_back(std::make_unique<sim::SimServer>(frozen(quint32(i + 1))));
            QVERIFY(sims.back()->listenTcp());
            sites << qMakePair(QString("s%1").arg(i), tcpOf(*sims.back()));
        }
        rlimit files{};
        QVERIFY(::getrlimit(RLIMIT_NOFILE, &files) == 0);
        files.rlim_cur = files.rlim_max;
        ::setrlimit(RLIMIT_NOFILE, &files);
        std::vector<int> padding;
        for (int fd = ::dup(0); fd >= 0 && fd < 1100; fd = ::dup(0))
            padding.push_back(fd);
        FleetAgent agent;
        QString error;
        QVERIFY(agent.start(parse(configJson("127.0.0.1:0", sites, 1.0, broker.port)), &error));
        for (int fd : padding)
            ::close(fd); // the subscriber below needs a low descriptor: its library selects
        QVERIFY(WaitFor(
            [&] {
                return std::all_of(agent.sites().begin(), agent.sites().end(),
                                   [](const auto& s) { return s.second->up(); });
            },
            20000));
        MqttSubscriber sub(broker.port, "quma/#");
        QVERIFY(WaitFor(
            [&] {
                QHash<QString, QByteArray> availability;
                for (const auto& m : sub.messages())
                    if (m.topic.endsWith("/availability")) availability[m.topic] = m.payload;
                return availability.value("quma/availability") == "online" &&
                       std::all_of(sites.begin(), sites.end(), [&](const auto& s) {
                           return availability.value("quma/" + s.first + "/availability") ==
                                  "online";
                       });
            },
            15000));
        QVERIFY(agent.metrics().render().find("quma_mqtt_connected 1") != std::string::npos);
    }

    // One dead, one slow and one garbage-speaking site do not hold back a healthy one; a
    // host that does not resolve is reported and retried with a growing wait.
    void faultySitesDoNotDelayTheOthers() {
        sim::SimServer good(frozen(1)), slow(frozen(2)), noisy(frozen(3));
        slow.faults.delayMs = 3000;
        noisy.faults.garbageEvery = 1;
        noisy.faults.badLrcEvery = 1;
        QVERIFY(good.listenTcp() && slow.listenTcp() && noisy.listenTcp());
        FleetAgent agent;
        QStringList errors;
        connect(&agent, &FleetAgent::siteError, this,
                [&](const QString& site, const QString& why) { errors << site + ": " + why; });
        QString error;
        QVERIFY(agent.start(parse(configJson("127.0.0.1:0",
                                             {{"good", tcpOf(good)},
                                              {"slow", tcpOf(slow)},
                                              {"noisy", tcpOf(noisy)},
                                              {"dead", QString("127.0.0.1:%1").arg(FreePort())},
                                              {"ghost", "no-such-host.invalid:502"}},
                                             0.25)),
                            &error));
        QTest::qWait(3000);
        // Twelve periods: nearly every poll of the good site answered.
        QVERIFY2(agent.site("good")->successes() >= 9,
                 qPrintable(QString::number(agent.site("good")->successes())));
        QVERIFY(agent.site("good")->up());
        QVERIFY(!agent.site("slow")->up());
        QVERIFY(!agent.site("dead")->up());
        QVERIFY(!agent.site("ghost")->up());
        QCOMPARE(agent.site("noisy")->successes(), 0);
        QVERIFY(errors.filter("ghost: ").size() >= 1);
        QVERIFY(agent.site("ghost")->backoffMs() > 1000);
        const std::string text = agent.metrics().render();
        QVERIFY(text.find("quma_up{region=\"test\",site=\"ghost\"} 0") != std::string::npos);
        QVERIFY(text.find("quma_up{region=\"test\",site=\"good\"} 1") != std::string::npos);
    }

    // A site on a serial line (a pseudo-terminal here), like one on TCP.
    // An endpoint open beyond this machine, or a password others may read, is said at start.
    void configWarnings() {
        QTemporaryDir dir;
        QFile file(dir.filePath("agent.json"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        AgentConfig c;
        c.mqtt.username = "quma";
        c.mqtt.password = "secret";
        c.metricsAddress = "0.0.0.0:9851";
        QVERIFY(file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                    QFileDevice::ReadOther));
        const QStringList both = ConfigWarnings(c, file.fileName());
        QCOMPARE(both.size(), 2);
        QVERIFY(both[0].contains("beyond this machine"));
        QVERIFY(both[1].contains("chmod 600"));
        QVERIFY(file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner));
        for (const char* local : {"127.0.0.1:9851", "localhost:9851", "[::1]:9851"}) {
            c.metricsAddress = local;
            QVERIFY2(ConfigWarnings(c, file.fileName()).isEmpty(), local);
        }
    }

    // Clients that send their request slowly (a header line now and then) or not at all cannot
    // keep Prometheus from scraping.
    void slowClientsDoNotStarveScrapes_data() {
        QTest::addColumn<int>("clients");
        QTest::newRow("2 slow clients") << 2;
        QTest::newRow("20 slow clients") << 20;
    }
    void slowClientsDoNotStarveScrapes() {
        QFETCH(int, clients);
        FleetAgent agent;
        QString error;
        QVERIFY(
            agent.start(parse(configJson("127.0.0.1:0",
                                         {{"dead", QString("127.0.0.1:%1").arg(FreePort())}}, 1.0)),
                        &error));
        const quint16 port = quint16(agent.metrics().port());
        std::vector<std::unique_ptr<QTcpSocket>> slow;
        for (int i = 0; i < clients; ++i) {
            slow.push_back(std::make_unique<QTcpSocket>());
            slow.back()->connectToHost(QHostAddress::LocalHost, port);
            QVERIFY(slow.back()->waitForConnected(2000));
            slow.back()->write("GET /metrics HTTP/1.1\r\n");
        }
        QTimer trickle;
        connect(&trickle, &QTimer::timeout, this, [&] {
            for (auto& s : slow)
                if (s->state() == QAbstractSocket::ConnectedState) s->write("X-Slow: 1\r\n");
        });
        trickle.start(1000);
        QTest::qWait(500);
        QTcpSocket scrape;
        QElapsedTimer t;
        t.start();
        scrape.connectToHost(QHostAddress::LocalHost, port);
        QVERIFY(scrape.waitForConnected(2000));
        scrape.write("GET /metrics HTTP/1.1\r\nHost: localhost\r\nConnection: close\r\n\r\n");
        QByteArray reply;
        while (t.elapsed() < 8000 && !reply.contains("quma_up")) {
            QTest::qWait(20);
            reply += scrape.readAll();
        }
        QVERIFY2(reply.startsWith("HTTP/1.1 200"), reply.left(200).constData());
        QVERIFY(reply.contains("quma_up{"));
        qDebug() << clients << "slow clients: the scrape took" << t.elapsed() << "ms";
    }

    // A controller that takes the connection and closes it at once: the retries slow down
    // (1, 2, 4 s ...) and the log says so once, not at every attempt.
    void closingSiteBacksOff() {
        QTcpServer closer;
        QVERIFY(closer.listen(QHostAddress::LocalHost));
        int accepted = 0;
        connect(&closer, &QTcpServer::newConnection, this, [&] {
            while (QTcpSocket* s = closer.nextPendingConnection()) {
                ++accepted;
                s->close();
                s->deleteLater();
            }
        });
        FleetAgent agent;
        QStringList errors;
        connect(&agent, &FleetAgent::siteError, this,
                [&](const QString& site, const QString& why) { errors << site + ": " + why; });
        QString error;
        QVERIFY(agent.start(
            parse(configJson("127.0.0.1:0",
                             {{"closer", QString("127.0.0.1:%1").arg(closer.serverPort())}}, 0.5)),
            &error));
        QTest::qWait(7500);
        // Attempts at about 0, 1, 3 and 7 s; reconnecting every second would make eight.
        QVERIFY2(accepted >= 3 && accepted <= 5, qPrintable(QString::number(accepted)));
        QCOMPARE(errors, QStringList{"closer: the controller closed the connection"});
        QVERIFY(agent.site("closer")->backoffMs() >= 8000);
    }

    // A device that allows one session, polled with close_after_poll (and a pause after each
    // connection): one connection a poll, no link counted lost, and a second client gets in
    // between polls.
    void closeAfterPoll() {
        sim::SimServer plant(frozen());
        plant.oneSession = true;
        QVERIFY(plant.listenTcp());
        FleetAgent agent;
        QString error;
        AgentConfig config = parse(configJson("127.0.0.1:0", {{"one", tcpOf(plant)}}, 0.5));
        config.sites[0].closeAfterPoll = true;
        config.sites[0].pauseAfterConnect = 0.1;
        QVERIFY(agent.start(config, &error));
        QVERIFY(WaitFor([&] { return agent.site("one")->successes() >= 6; }, 15000));
        const qint64 polls = agent.site("one")->successes();
        QVERIFY2(std::abs(plant.connectionsAccepted() - polls) <= 1,
                 qPrintable(QString("%1 connections for %2 polls")
                                .arg(plant.connectionsAccepted())
                                .arg(polls)));
        QCOMPARE(agent.site("one")->linkLosses(), 0);
        QVERIFY(agent.site("one")->up());
        // Between polls the device is free: an engineer's console connects and stays.
        bool gotIn = false;
        for (int attempt = 0; attempt < 20 && !gotIn; ++attempt) {
            QTcpSocket console;
            console.connectToHost(QHostAddress::LocalHost, plant.tcpPort());
            QVERIFY(console.waitForConnected(1000));
            gotIn = !console.waitForDisconnected(100);
            QTest::qWait(37);
        }
        QVERIFY(gotIn);
        // On a serial line too: the port closed and opened again each poll, nothing lost.
        sim::SimServer serial(frozen());
        QVERIFY(serial.openPty());
        AgentConfig onSerial = parse(configJson("127.0.0.1:0", {}, 0.5));
        SiteConfig site;
        site.name = "line";
        site.serial = serial.ptyPath();
        site.pollPeriod = 0.5;
        site.closeAfterPoll = true;
        onSerial.sites << site;
        FleetAgent second;
        QVERIFY(second.start(onSerial, &error));
        QVERIFY(WaitFor([&] { return second.site("line")->successes() >= 6; }, 15000));
        QCOMPARE(second.site("line")->linkLosses(), 0);
    }

    void serialSite() {
        sim::SimServer s(frozen());
        s.model().setReg(9, 537);
        QVERIFY(s.openPty());
        FleetAgent agent;
        QString error;
        AgentConfig config;
        config.metricsAddress = "127.0.0.1:0";
        SiteConfig site;
        site.name = "line";
        site.serial = s.ptyPath();
        site.pollPeriod = 0.3;
        config.sites << site;
        QVERIFY(agent.start(config, &error));
        QVERIFY(WaitFor([&] { return agent.site("line")->up(); }, 5000));
        QVERIFY(agent.metrics().render().find("quma_dc_volts{site=\"line\"} 53.7") !=
                std::string::npos);
    }

    // Over TLS with a user name and password, as the configuration says; a wrong password
    // gets nothing through.
    void mqttOverTlsWithCredentials() {
        SecureMosquittoServer broker;
        if (!broker.start("agent", "s3cret"))
            QFAIL(qPrintable(broker.missing + broker.process.readAll()));
        sim::SimServer a(frozen());
        QVERIFY(a.listenTcp());
        MqttSubscriber sub(broker.port, "quma/#");
        const auto configFor = [&](const QString& site, const QString& password) {
            QJsonObject o =
                QJsonDocument::fromJson(configJson("127.0.0.1:0", {{site, tcpOf(a)}}, 0.3))
                    .object();
            o["mqtt"] = QJsonObject{{"host", "127.0.0.1"},
                                    {"port", broker.tlsPort},
                                    {"username", "agent"},
                                    {"password", password},
                                    {"tls", QJsonObject{{"ca_file", broker.caFile}}}};
            return parse(QJsonDocument(o).toJson());
        };
        FleetAgent good, bad;
        QString error;
        QVERIFY(good.start(configFor("tls-ok", "s3cret"), &error));
        QVERIFY(bad.start(configFor("tls-bad", "wrong"), &error));
        QVERIFY(sub.waitFor(
            "quma/tls-ok/state", [](const auto&) { return true; }, 30000));
        QVERIFY(sub.waitFor("quma/tls-ok/availability",
                            [](const auto& m) { return m.payload == "online"; }));
        QTest::qWait(1000);
        for (const auto& m : sub.messages())
            QVERIFY2(!m.topic.startsWith("quma/tls-bad/"), qPrintable(m.topic));
    }

    // Killed without a word: the broker publishes the agent's last will; the site's own
    // availability stays as it was, and consumers read both.
    void lastWillWhenKilled() {
        MosquittoServer broker;
        if (!broker.start()) QFAIL(qPrintable(broker.missing + broker.process.readAll()));
        sim::SimServer a(frozen());
        QVERIFY(a.listenTcp());
        AgentRun run;
        QVERIFY(run.start(configJson(QString("127.0.0.1:%1").arg(FreePort()), {{"w", tcpOf(a)}},
                                     0.3, broker.port)));
        MqttSubscriber sub(broker.port, "quma/#");
        QVERIFY(sub.waitFor("quma/w/availability",
                            [](const auto& m) { return m.payload == "online"; }));
        QVERIFY(
            sub.waitFor("quma/availability", [](const auto& m) { return m.payload == "online"; }));
        run.signal(SIGKILL);
        QVERIFY(run.process.waitForFinished(5000));
        const auto will =
            sub.waitFor("quma/availability", [](const auto& m) { return m.payload == "offline"; });
        QVERIFY(will);
    }

    // A reload keeps the unchanged sites polling (same poller), drops the removed ones with
    // their series and starts the new ones.
    void reloadKeepsUnchangedSites() {
        sim::SimServer a(frozen(1)), b(frozen(2)), c(frozen(3));
        QVERIFY(a.listenTcp() && b.listenTcp() && c.listenTcp());
        FleetAgent agent;
        QString error;
        QVERIFY(agent.start(
            parse(configJson("127.0.0.1:0", {{"a", tcpOf(a)}, {"b", tcpOf(b)}}, 0.25)), &error));
        QVERIFY(WaitFor([&] { return agent.site("a")->up() && agent.site("b")->up(); }, 5000));
        SitePoller* kept = agent.site("a");
        const qint64 before = kept->successes();
        agent.reload(parse(configJson("127.0.0.1:0", {{"a", tcpOf(a)}, {"c", tcpOf(c)}}, 0.25)));
        QCOMPARE(agent.site("a"), kept);
        QVERIFY(kept->successes() >= before);
        QVERIFY(!agent.site("b"));
        QVERIFY(WaitFor([&] { return agent.site("c") && agent.site("c")->up(); }, 5000));
        const std::string text = agent.metrics().render();
        QVERIFY(text.find("site=\"b\"") == std::string::npos);
        QVERIFY(text.find("site=\"c\"") != std::string::npos);

        // Many sites leaving at once go with the registry, rebuilt around the ones that stay:
        // their values and counts are carried over, a's polls go on.
        QList<std::pair<QString, QString>> many{{"a", tcpOf(a)}};
        for (int i = 0; i < 40; ++i)
            many.append({QString("dead%1").arg(i), QString("127.0.0.1:%1").arg(FreePort())});
        agent.reload(parse(configJson("127.0.0.1:0", many, 0.25)));
        QTest::qWait(300);
        const auto count = [&](const std::string& series) {
            const std::string all = agent.metrics().render();
            const std::size_t at = all.find(series);
            return at == std::string::npos ? -1.0 : std::stod(all.substr(all.find(' ', at)));
        };
        const std::string okA = "quma_polls_total{region=\"test\",result=\"success\",site=\"a\"}";
        const double okBefore = count(okA);
        QVERIFY(okBefore > 0);
        agent.reload(parse(configJson("127.0.0.1:0", {{"a", tcpOf(a)}}, 0.25)));
        QCOMPARE(agent.site("a"), kept);
        const std::string after = agent.metrics().render();
        QVERIFY(after.find("site=\"dead7\"") == std::string::npos);
        QVERIFY(after.find("site=\"c\"") == std::string::npos);
        QVERIFY(count(okA) >= okBefore);
        QVERIFY(after.find("quma_ac_volts{region=\"test\",site=\"a\"}") != std::string::npos);
        QVERIFY(WaitFor([&] { return count(okA) > okBefore + 2; }, 5000));
    }

    // The program: SIGHUP reloads (a bad file is refused and the sites go on), SIGTERM ends it
    // with exit code 0.
    void signalsReloadAndStop() {
        sim::SimServer a(frozen(1)), b(frozen(2));
        QVERIFY(a.listenTcp() && b.listenTcp());
        const quint16 port = FreePort();
        const QString listen = QString("127.0.0.1:%1").arg(port);
        AgentRun run;
        QVERIFY(run.start(configJson(listen, {{"a", tcpOf(a)}}, 0.25)));
        const QString url = QString("http://%1/metrics").arg(listen);
        QVERIFY(WaitFor(
            [&] { return HttpGet(url).contains("quma_up{region=\"test\",site=\"a\"} 1"); }, 10000));
        run.rewrite(configJson(listen, {{"a", tcpOf(a)}, {"b", tcpOf(b)}}, 0.25));
        run.signal(SIGHUP);
        QVERIFY(WaitFor(
            [&] { return HttpGet(url).contains("quma_up{region=\"test\",site=\"b\"} 1"); }, 10000));
        run.rewrite("{ not json");
        run.signal(SIGHUP);
        QVERIFY(
            WaitFor([&] { return run.process.peek(1 << 16).contains("reload refused"); }, 5000));
        QVERIFY(HttpGet(url).contains("site=\"b\""));
        run.signal(SIGTERM);
        QVERIFY(run.process.waitForFinished(10000));
        QCOMPARE(run.process.exitStatus(), QProcess::NormalExit);
        QCOMPARE(run.process.exitCode(), 0);
        QVERIFY(run.process.readAll().contains("stopped"));
    }
};

QTEST_GUILESS_MAIN(TestAgent)
#include "tst_agent.moc"
