// libmosquitto, driven by its own network thread per connection.
#include "agent/SiteMqtt.h"

#include <mosquitto.h>

namespace quma::agent {

SiteMqtt::SiteMqtt(const MqttConfig& config, const QString& site)
    : m_config(config), m_prefix(config.topicPrefix + "/" + site) {
    const QByteArray id = (config.clientId + "-" + site).toUtf8();
    m_client = mosquitto_new(id.constData(), true, this);
    if (m_client) {
        mosquitto_connect_callback_set(m_client, &SiteMqtt::onConnect);
        mosquitto_disconnect_callback_set(m_client, &SiteMqtt::onDisconnect);
    }
}

SiteMqtt::~SiteMqtt() {
    if (!m_client) return;
    if (m_started) {
        m_starter.join();
        // Said before leaving: a clean disconnect does not fire the will.
        setAvailable(false);
        mosquitto_disconnect(m_client);
        mosquitto_loop_stop(m_client, false);
    }
    mosquitto_destroy(m_client);
}

bool SiteMqtt::start(QString* error) {
    const auto fail = [&](const QString& what, int rc) {
        if (error)
            *error = QString("MQTT %1: %2").arg(what, QString::fromUtf8(mosquitto_strerror(rc)));
        return false;
    };
    if (!m_client) {
        if (error) *error = "MQTT: the client could not be created";
        return false;
    }
    const QByteArray will = topic("availability").toUtf8();
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
    mosquitto_reconnect_delay_set(m_client, 1, 30, true);
    // libmosquitto looks the broker's name up where the connection starts: on a thread of its
    // own, so that a slow name server never holds up the polling. A broker that is not there
    // yet is retried by the network thread.
    m_starter = std::thread([this, host = m_config.host.toUtf8(), port = m_config.port,
                             keepAlive = m_config.keepAlive] {
        mosquitto_connect_async(m_client, host.constData(), port, keepAlive);
        mosquitto_loop_start(m_client);
        m_ready = true;
    });
    m_started = true;
    return true;
}

void SiteMqtt::onConnect(struct mosquitto*, void* self, int rc) {
    auto* s = static_cast<SiteMqtt*>(self);
    // Under the lock: a change made meanwhile on the main thread goes out after this one.
    std::lock_guard lock(s->m_availability);
    s->m_connected = rc == 0;
    if (rc == 0) s->publish("availability", s->m_online ? "online" : "offline", 1, true);
}

void SiteMqtt::onDisconnect(struct mosquitto*, void* self, int) {
    static_cast<SiteMqtt*>(self)->m_connected = false;
}

void SiteMqtt::publish(const char* leaf, const QByteArray& payload, int qos, bool retain) {
    // Nothing goes out before the connection has been started (the availability is sent on
    // connecting, the state again at the next poll).
    if (!m_client || !m_ready) return;
    const QByteArray t = topic(leaf).toUtf8();
    // Not connected: the message is dropped (the state is sent again at the next poll, and
    // the availability after the reconnection).
    mosquitto_publish(m_client, nullptr, t.constData(), int(payload.size()), payload.constData(),
                      qos, retain);
}

void SiteMqtt::publishState(const QByteArray& json) {
    publish("state", json, 0, true);
}

void SiteMqtt::publishAlarm(const QByteArray& json) {
    publish("alarm", json, 1, false);
}

void SiteMqtt::setAvailable(bool online) {
    std::lock_guard lock(m_availability);
    if (m_online.exchange(online) == online && m_connected) return;
    publish("availability", online ? "online" : "offline", 1, true);
}

} // namespace quma::agent
