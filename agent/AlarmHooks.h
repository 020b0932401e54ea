// The fleet's events for sites with no monitoring stack: a journal line for each, and the
// configured commands run on them (as NUT's NOTIFYCMD or apcupsd's apccontrol), never through a
// shell, with what happened in their environment. Bounded: a command is killed at its time
// limit, at most a few run at once (the others wait their turn, up to MaxWaiting), and a
// debounce per site and alarm lets a flapping contact run a command once a window: the last
// state within a window runs at its end if it differs from the one that ran.
#pragma once

#include "agent/AgentConfig.h"
#include "agent/FleetState.h"

#include <QObject>
#include <QProcess>
#include <deque>
#include <map>
#include <memory>

namespace quma::agent {

// The event's name in the configuration and the environment: alarm_raised, alarm_cleared,
// site_down, site_up, test_ended.
QString EventName(FleetEvent::Kind kind);

class AlarmHooks : public QObject {
    Q_OBJECT
public:
    static constexpr int MaxWaiting = 256;

    AlarmHooks(const QList<HookConfig>& hooks, int maxRunning, const FleetState& state,
               QObject* parent = nullptr);
    ~AlarmHooks() override;

    void handle(const quma::agent::FleetEvent& event);

    qint64 runs() const { return m_runs; }
    qint64 debounced() const { return m_debounced; }

signals:
    // One line per event and per command that failed, was killed or could not start.
    void log(const QString& line);

private:
    struct Gate {
        qint64 lastRunMs = -1;
        QString lastState;
        std::optional<FleetEvent> pending;
        bool flushing = false;
    };
    void offer(int hook, const FleetEvent& event);
    void flush(int hook, const QString& key);
    void run(int hook, const FleetEvent& event);
    void startNext();
    QProcessEnvironment environment(const FleetEvent& event) const;

    const QList<HookConfig> m_hooks;
    const int m_maxRunning;
    const FleetState& m_state;
    std::map<std::pair<int, QString>, Gate> m_gates;
    std::deque<std::pair<int, FleetEvent>> m_waiting;
    int m_running = 0;
    qint64 m_runs = 0, m_debounced = 0;
};

} // namespace quma::agent
