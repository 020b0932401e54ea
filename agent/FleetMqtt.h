// The agent's one MQTT connection (libmosquitto), shared by every site, as MQTT bridges do it:
// the agent's own availability is retained under <prefix>/availability with "offline" as the last
// will; each site's state, alarm events and availability go under <prefix>/<site>/. A consumer
// takes a site as available while both say "online".
//
// The connection is driven from this object's event loop: its socket is watched by notifiers
// (no select(), so no limit on descriptor numbers), keep-alive and retries run on one timer, and
// only the blocking part of connecting (name lookup, TCP and TLS set-up) runs on a helper thread.
#pragma once

#include "agent/AgentConfig.h"
#include "agent/PlantReading.h"

#include <QByteArray>
#include <QHash>
#include <QObject>
#include <QString>
#include <QTimer>
#include <atomic>
#include <memory>

class QSocketNotifier;
struct mosquitto;

namespace quma::agent {

class FleetMqtt : public QObject {
    Q_OBJECT
public:
    explicit FleetMqtt(const MqttConfig& config, QObject* parent = nullptr);
    // Says every site and the agent "offline", disconnects cleanly (no will) and waits for the
    // helper thread.
    ~FleetMqtt() override;

    // Starts connecting (and reconnecting, 1 s doubling to 30 s); false with the reason when
    // the options are refused. Never waits for the broker or its name.
    bool start(QString* error);

    // From any thread: the work is done on this object's thread, in the order of the calls.
    void publishState(const QString& site, const QByteArray& json);
    void publishAlarm(const QString& site, const QByteArray& json);
    // Retained "online" or "offline"; every site's is sent again after each reconnection.
    void setAvailable(const QString& site, bool online);
    // The site is gone from the configuration: "offline", and it is not repeated any more; its
    // Home Assistant configurations are emptied.
    void removeSite(const QString& site);
    // With Home Assistant discovery: the site's entities from its first reading, retained, and
    // said again after each reconnection.
    void announceSite(const QString& site, const PlantReading& reading);

    bool connected() const { return m_connected; }
    qint64 publishFailures() const { return m_publishFailures; }
    qint64 connectionLosses() const { return m_losses; }
    QString topic(const QString& site, const char* leaf) const;
    QString agentTopic() const { return m_config.topicPrefix + "/availability"; }

signals:
    // The connection is up (`why` empty) or lost or refused (why).
    void connectionChanged(bool connected, const QString& why);

private:
    static void onConnect(struct mosquitto*, void* self, int rc);
    static void onDisconnect(struct mosquitto*, void* self, int rc);
    void connectNow();
    void connectDone(int rc);
    void lost(const QString& why);
    void watchSocket();
    void unwatchSocket();
    void service(int rc);
    void publish(const QString& topic, const QByteArray& payload, int qos, bool retain);
    void sayAvailability(const QString& site);
    // Writes what is queued, waiting at most `ms` (before a clean disconnect).
    void flush(int ms);

    MqttConfig m_config;
    struct mosquitto* m_client = nullptr;
    // The blocking part of a connection attempt runs on a detached thread that shares this with
    // the object; an object destroyed meanwhile leaves the client to the thread, which frees it.
    struct Attempt;
    std::shared_ptr<Attempt> m_attempt;
    bool m_connecting = false;
    std::unique_ptr<QSocketNotifier> m_readable, m_writable;
    QTimer m_misc;  // keep-alive, every second
    QTimer m_retry; // the next connection attempt
    int m_backoffMs = 1000;
    QString m_saidLost;
    QString m_refused;        // the broker's answer to the last refused connection
    bool m_sessionUp = false; // connected since the last loss (counts the next one)
    std::atomic<bool> m_connected{false};
    std::atomic<qint64> m_publishFailures{0}, m_losses{0};
    QHash<QString, bool> m_online; // each site's availability, said again on reconnection
    // Each site's discovery configurations, said again on reconnection.
    QHash<QString, QList<QPair<QString, QByteArray>>> m_discovery;
};

} // namespace quma::agent
