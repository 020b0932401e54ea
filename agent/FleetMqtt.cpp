// libmosquitto driven by the agent's event loop.
#include "agent/FleetMqtt.h"

#include "agent/HomeAssistant.h"

#include <QSocketNotifier>
#include <fcntl.h>
#include <mosquitto.h>
#include <mutex>
#include <poll.h>
#include <thread>

namespace quma::agent {

struct FleetMqtt::Attempt {
    std::mutex lock;
    FleetMqtt* owner; // null once the object is gone
    struct mosquitto* client;
    bool running = false;
};

FleetMqtt::FleetMqtt(const MqttConfig& config, QObject* parent)
    : QObject(parent), m_config(config), m_attempt(std::make_shared<Attempt>()) {
    m_client = mosquitto_new(config.clientId.toUtf8().constData(), true, this);
    m_attempt->owner = this;
    m_attempt->client = m_client;
    if (m_client) {
        mosquitto_connect_callback_set(m_client, &FleetMqtt::onConnect);
        mosquitto_disconnect_callback_set(m_client, &FleetMqtt::onDisconnect);
    }
    m_misc.setInterval(1000);
    connect(&m_misc, &QTimer::timeout, this, [this] {
        if (m_connecting || !m_readable) return;
        service(mosquitto_loop_misc(m_client));
    });
    m_retry.setSingleShot(true);
    connect(&m_retry, &QTimer::timeout, this, &FleetMqtt::connectNow);
}

FleetMqtt::~FleetMqtt() {
    if (!m_client) return;
    if (m_connected) {
        // Said before leaving: a clean disconnect does not fire the will.
        for (auto it = m_online.begin(); it != m_online.end(); ++it)
            publish(topic(it.key(), "availability"), "offline", 1, true);
        publish(agentTopic(), "offline", 1, true);
        flush(2000);
        mosquitto_disconnect(m_client);
        flush(500);
    }
    unwatchSocket();
    std::lock_guard lock(m_attempt->lock);
    m_attempt->owner = nullptr;
    // A connection attempt still running keeps the client; its thread frees it.
    if (!m_attempt->running) mosquitto_destroy(m_client);
}

QString FleetMqtt::topic(const QString& site, const char* leaf) const {
    return m_config.topicPrefix + "/" + site + "/" + leaf;
}

bool FleetMqtt::start(QString* error) {
    const auto fail = [&](const QString& what, int rc) {
        if (error)
            *error = QString("MQTT %1: %2").arg(what, QString::fromUtf8(mosquitto_strerror(rc)));
        return false;
    };
    if (!m_client) {
        if (error) *error = "MQTT: the client could not be created";
        return false;
    }
    const QByteArray will = agentTopic().toUtf8();
    int rc = mosquitto_will_set(m_client, will.constData(), 7, "offline", 1, true);
    if (rc != MOSQ_ERR_SUCCESS) return fail("last will", rc);
    if (!m_config.username.isEmpty()) {
        rc = mosquitto_username_pw_set(
            m_client, m_config.username.toUtf8().constData(),
            m_config.password.isEmpty() ? nullptr : m_config.password.toUtf8().constData());
        if (rc != MOSQ_ERR_SUCCESS) return fail("credentials", rc);
    }
    if (!m_config.caFile.isEmpty() || !m_config.caPath.isEmpty()) {
        const auto path = [](const QString& s) { return s.isEmpty() ? QByteArray() : s.toUtf8(); };
        const QByteArray ca = path(m_config.caFile), caDir = path(m_config.caPath),
                         cert = path(m_config.certFile), key = path(m_config.keyFile);
        rc = mosquitto_tls_set(m_client, ca.isEmpty() ? nullptr : ca.constData(),
                               caDir.isEmpty() ? nullptr : caDir.constData(),
                               cert.isEmpty() ? nullptr : cert.constData(),
                               key.isEmpty() ? nullptr : key.constData(), nullptr);
        if (rc != MOSQ_ERR_SUCCESS) return fail("TLS", rc);
        if (m_config.tlsInsecure) mosquitto_tls_insecure_set(m_client, true);
    }
    connectNow();
    return true;
}

void FleetMqtt::connectNow() {
    if (m_connecting) return;
    unwatchSocket();
    m_connecting = true;
    m_attempt->running = true;
    // libmosquitto looks the broker's name up, connects and sets up TLS in one blocking call:
    // on a thread of its own, so that a slow name server or broker never holds up the polling.
    std::thread([attempt = m_attempt, host = m_config.host.toUtf8(), port = m_config.port,
                 keepAlive = m_config.keepAlive] {
        const int rc = mosquitto_connect(attempt->client, host.constData(), port, keepAlive);
        std::lock_guard lock(attempt->lock);
        attempt->running = false;
        if (!attempt->owner) {
            mosquitto_destroy(attempt->client);
            return;
        }
        QMetaObject::invokeMethod(
            attempt->owner, [owner = attempt->owner, rc] { owner->connectDone(rc); },
            Qt::QueuedConnection);
    }).detach();
}

void FleetMqtt::connectDone(int rc) {
    m_connecting = false;
    if (rc != MOSQ_ERR_SUCCESS) {
        lost(rc == MOSQ_ERR_ERRNO ? QString::fromLocal8Bit(strerror(errno))
                                  : QString::fromUtf8(mosquitto_strerror(rc)));
        return;
    }
    // Replies are read as they come, never waited for.
    const int fd = mosquitto_socket(m_client);
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_NONBLOCK);
    watchSocket();
    m_misc.start();
    service(MOSQ_ERR_SUCCESS); // the CONNECT may still be queued
}

void FleetMqtt::watchSocket() {
    const int fd = mosquitto_socket(m_client);
    if (fd < 0) return;
    m_readable = std::make_unique<QSocketNotifier>(fd, QSocketNotifier::Read);
    connect(m_readable.get(), &QSocketNotifier::activated, this,
            [this] { service(mosquitto_loop_read(m_client, 1)); });
    m_writable = std::make_unique<QSocketNotifier>(fd, QSocketNotifier::Write);
    m_writable->setEnabled(false);
    connect(m_writable.get(), &QSocketNotifier::activated, this,
            [this] { service(mosquitto_loop_write(m_client, 1)); });
}

void FleetMqtt::unwatchSocket() {
    m_readable.reset();
    m_writable.reset();
    m_misc.stop();
}

void FleetMqtt::service(int rc) {
    if (rc != MOSQ_ERR_SUCCESS || mosquitto_socket(m_client) < 0) {
        lost(!m_refused.isEmpty() ? m_refused
             : rc == MOSQ_ERR_SUCCESS || rc == MOSQ_ERR_NO_CONN
                 ? QString("the broker closed the connection")
                 : QString::fromUtf8(mosquitto_strerror(rc)));
        return;
    }
    if (m_writable) m_writable->setEnabled(mosquitto_want_write(m_client));
}

void FleetMqtt::lost(const QString& why) {
    unwatchSocket();
    if (m_sessionUp) ++m_losses;
    m_sessionUp = false;
    m_connected = false;
    m_refused.clear();
    const QString said = QString("%1 (again in %2 s)").arg(why).arg(m_backoffMs / 1000);
    if (why != m_saidLost) emit connectionChanged(false, said);
    m_saidLost = why;
    m_retry.start(m_backoffMs);
    m_backoffMs = std::min(m_backoffMs * 2, 30000);
}

void FleetMqtt::onConnect(struct mosquitto*, void* self, int rc) {
    auto* s = static_cast<FleetMqtt*>(self);
    if (rc != 0) {
        s->m_refused = QString("the broker refused the connection: %1")
                           .arg(QString::fromUtf8(mosquitto_connack_string(rc)));
        return;
    }
    s->m_connected = true;
    s->m_sessionUp = true;
    s->m_backoffMs = 1000;
    s->m_saidLost.clear();
    s->publish(s->agentTopic(), "online", 1, true);
    for (auto it = s->m_online.begin(); it != s->m_online.end(); ++it)
        s->sayAvailability(it.key());
    for (const auto& configs : std::as_const(s->m_discovery))
        for (const auto& [t, payload] : configs)
            s->publish(t, payload, 1, true);
    emit s->connectionChanged(true, {});
}

void FleetMqtt::onDisconnect(struct mosquitto*, void* self, int) {
    static_cast<FleetMqtt*>(self)->m_connected = false;
}

void FleetMqtt::publish(const QString& topic, const QByteArray& payload, int qos, bool retain) {
    // Not connected: the message is dropped and counted (the state goes again at the next poll,
    // the availability after the reconnection).
    if (!m_connected) {
        ++m_publishFailures;
        return;
    }
    const QByteArray t = topic.toUtf8();
    const int rc = mosquitto_publish(m_client, nullptr, t.constData(), int(payload.size()),
                                     payload.constData(), qos, retain);
    if (rc != MOSQ_ERR_SUCCESS) ++m_publishFailures;
    if (m_writable) m_writable->setEnabled(mosquitto_want_write(m_client));
}

void FleetMqtt::sayAvailability(const QString& site) {
    // Not lost while not connected: every site's is said again on connecting.
    if (!m_connected) return;
    publish(topic(site, "availability"), m_online.value(site) ? "online" : "offline", 1, true);
}

void FleetMqtt::publishState(const QString& site, const QByteArray& json) {
    QMetaObject::invokeMethod(
        this, [this, site, json] { publish(topic(site, "state"), json, 0, true); },
        Qt::AutoConnection);
}

void FleetMqtt::publishAlarm(const QString& site, const QByteArray& json) {
    QMetaObject::invokeMethod(
        this, [this, site, json] { publish(topic(site, "alarm"), json, 1, false); },
        Qt::AutoConnection);
}

void FleetMqtt::setAvailable(const QString& site, bool online) {
    QMetaObject::invokeMethod(
        this,
        [this, site, online] {
            const auto it = m_online.constFind(site);
            if (it != m_online.constEnd() && *it == online) return;
            m_online[site] = online;
            sayAvailability(site);
        },
        Qt::AutoConnection);
}

void FleetMqtt::removeSite(const QString& site) {
    QMetaObject::invokeMethod(
        this,
        [this, site] {
            // An empty retained message removes an entity from Home Assistant.
            for (const auto& [t, payload] : m_discovery.take(site))
                publish(t, {}, 1, true);
            if (!m_online.remove(site)) return;
            publish(topic(site, "availability"), "offline", 1, true);
        },
        Qt::AutoConnection);
}

void FleetMqtt::announceSite(const QString& site, const PlantReading& reading) {
    if (!m_config.homeAssistant) return;
    const auto configs = DiscoveryConfigs(m_config, site, reading, topic(site, "state"),
                                          topic(site, "availability"), agentTopic());
    QMetaObject::invokeMethod(
        this,
        [this, site, configs] {
            m_discovery[site] = configs;
            for (const auto& [t, payload] : configs)
                publish(t, payload, 1, true);
        },
        Qt::AutoConnection);
}

void FleetMqtt::flush(int ms) {
    const int fd = mosquitto_socket(m_client);
    for (int waited = 0; fd >= 0 && mosquitto_want_write(m_client) && waited < ms; waited += 50) {
        pollfd p{fd, POLLOUT, 0};
        if (::poll(&p, 1, 50) > 0 && mosquitto_loop_write(m_client, 1) != MOSQ_ERR_SUCCESS) break;
    }
}

} // namespace quma::agent
