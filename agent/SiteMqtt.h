// One site's MQTT connection (libmosquitto, its network loop on its own thread): the retained
// state, the alarm events, and the availability with "offline" as the last will, so that the
// broker tells subscribers when the agent goes away without a word.
#pragma once

#include "agent/AgentConfig.h"

#include <QByteArray>
#include <QString>
#include <atomic>
#include <mutex>
#include <thread>

struct mosquitto;

namespace quma::agent {

class SiteMqtt {
public:
    SiteMqtt(const MqttConfig& config, const QString& site);
    // Publishes "offline", disconnects and waits for the network thread.
    ~SiteMqtt();
    SiteMqtt(const SiteMqtt&) = delete;
    SiteMqtt& operator=(const SiteMqtt&) = delete;

    // Starts connecting (and reconnecting, 1 s doubling to 30 s); false with the reason when
    // the options are refused. Never waits for the broker or its name.
    bool start(QString* error);

    void publishState(const QByteArray& json);
    void publishAlarm(const QByteArray& json);
    // Retained "online" or "offline"; sent again after every reconnection.
    void setAvailable(bool online);
    bool connected() const { return m_connected; }

    QString topic(const char* leaf) const { return m_prefix + "/" + leaf; }

private:
    static void onConnect(struct mosquitto*, void* self, int rc);
    static void onDisconnect(struct mosquitto*, void* self, int rc);
    void publish(const char* leaf, const QByteArray& payload, int qos, bool retain);

    MqttConfig m_config;
    QString m_prefix;
    struct mosquitto* m_client = nullptr;
    std::thread m_starter; // connects, then runs the network loop
    bool m_started = false;
    std::atomic<bool> m_ready{false}; // the network thread runs
    std::atomic<bool> m_connected{false};
    std::atomic<bool> m_online{false};
    std::mutex m_availability; // availability changes and their messages, in one order
};

} // namespace quma::agent
