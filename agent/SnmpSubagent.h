// The agent as an AgentX subagent of the host's snmpd, through net-snmp's agent library: it
// registers the module's subtree, answers GET and GETNEXT (GETBULK arrives as GETNEXT) from the
// fleet's snapshot, and sends the notices and a heartbeat as notifications, which the master
// sends to the trap sinks the operator configured. It lives in a thread of its own whose event
// loop waits on net-snmp's sockets and timers; nothing there waits for a controller, and the
// pollers only ever take a short lock to write their rows.
//
// net-snmp keeps its state in the library: one subagent per process.
#pragma once

#include "agent/AgentConfig.h"
#include "agent/FleetState.h"
#include "agent/SnmpTable.h"

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>
#include <map>
#include <memory>

class QSocketNotifier;

namespace quma::agent {

class SnmpSubagent : public QObject {
    Q_OBJECT
public:
    // Values may be served this late; rows, alarms and up/down never are.
    static constexpr int MaxValueAgeMs = 1000;
    // How often a lost master is tried again.
    static constexpr int ReconnectSeconds = 2;

    SnmpSubagent(const SnmpConfig& config, const FleetState& state, QObject* parent = nullptr);
    ~SnmpSubagent() override;

    // In the subagent's thread: opens the session to the master (or keeps trying); false with
    // the reason when net-snmp cannot start (another subagent in this process, a bad root).
    bool start(QString* error);
    void stop();

    // A notice as a notification; in the subagent's thread.
    void send(const quma::agent::FleetEvent& notice);
    void sendHeartbeat();

    // Requests answered (read by tests and the benchmark).
    qint64 requests() const { return m_requests; }

signals:
    // What net-snmp says: the master connected, lost, refused.
    void message(const QString& text);

private:
    friend struct SnmpHandlerAccess;
    // The table of the moment, rebuilt when the state changed.
    const std::vector<SnmpValue>& table();
    // Arms a socket notifier per descriptor net-snmp waits on and a timer for its next timeout.
    void pump();
    void readSocket(int fd);

    const SnmpConfig m_config;
    const FleetState& m_state;
    SnmpOid m_root;
    bool m_started = false;
    std::vector<SnmpValue> m_table;
    quint64 m_tableGeneration = ~0ull, m_tableShape = ~0ull;
    QElapsedTimer m_tableAge;
    std::map<int, std::unique_ptr<QSocketNotifier>> m_notifiers;
    QTimer m_timeout, m_heartbeat;
    std::atomic<qint64> m_requests{0};
    QString m_lastLog; // net-snmp's last log line, said once
};

} // namespace quma::agent
