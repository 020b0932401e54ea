// One site: its engine and link, polled on the site's own period, with reconnection and the
// site's metrics and MQTT messages. Nothing here waits: every exchange is a signal. Its clock is
// the deadline queue of the thread it lives in, shared with the other sites there: a poll starts
// no timer of its own.
#pragma once

#include "agent/AgentConfig.h"
#include "agent/PlantReading.h"
#include "core/battery/BatteryWatch.h"
#include "core/link/Deadlines.h"
#include "core/monitor/LinkSession.h"
#include "core/monitor/MonitorEngine.h"

#include <QElapsedTimer>
#include <QObject>
#include <atomic>
#include <memory>

namespace quma::agent {

class FleetMqtt;
class SiteMetrics;
class FleetState;

class SitePoller : public QObject {
    Q_OBJECT
public:
    // Reconnection waits 1 s, doubling up to this.
    static constexpr int MaxBackoffMs = 30000;
    // Silence for this many poll periods puts the site down.
    static constexpr int DownAfterPeriods = 3;

    // Identity reads asked per connection, while SNMP and NUT want the plant's MAC and serial
    // number.
    static constexpr int IdentityAsks = 3;

    // `clock`, `mqtt` and `fleet` (the rows SNMP and NUT serve; null: none) outlive the poller.
    SitePoller(const SiteConfig& config, std::unique_ptr<SiteMetrics> metrics, FleetMqtt* mqtt,
               DeadlineQueue& clock, FleetState* fleet = nullptr, QObject* parent = nullptr);
    ~SitePoller() override;

    void start();
    const SiteConfig& config() const { return m_config; }
    bool up() const { return m_up; }
    bool linked() const { return m_session.isLinked() && !m_connecting; }
    int backoffMs() const { return m_backoffMs; }
    int silenceMs() const { return int(DownAfterPeriods * m_config.pollPeriod * 1000); }
    qint64 successes() const { return m_successes; }
    // Polls that got no good reply within their period, and link failures.
    qint64 timeouts() const { return m_timeouts; }
    qint64 failures() const { return m_failures; }
    // Read from the poller's own thread only.
    const MonitorEngine& engine() const { return m_engine; }
    SiteMetrics* metrics() const { return m_metrics.get(); }

    // Times the link was lost or could not be made (each reconnection attempt that failed).
    qint64 linkLosses() const { return m_linkLosses; }

signals:
    // Once when the link is lost (or its reason changes), not at every attempt to restore it.
    void linkError(const QString& why);
    // The first good reply after linkError.
    void linkRestored();
    // The site's battery history could not be read or written.
    void batteryProblem(const QString& text);

private:
    void connectLink();
    void linkUp();
    void linkDown(const QString& why);
    void tick();
    void replied();
    void refreshUp();
    void schedulePoll();
    // With close_after_poll: the link is closed until the next period.
    void release();

    SiteConfig m_config;
    MonitorEngine m_engine;
    LinkSession m_session;
    std::unique_ptr<SiteMetrics> m_metrics;
    FleetMqtt* m_mqtt;
    FleetState* m_fleet;
    DeadlineQueue& m_deadlines;
    DeadlineQueue::Id m_nextPoll = 0;
    DeadlineQueue::Id m_downCheck = 0; // when the silence will have lasted its limit
    qint64 m_pollDue = 0;
    Timeout m_reconnect;
    QElapsedTimer m_clock;
    qint64 m_sentAt = -1;   // when the poll in flight went out (ns), or -1
    qint64 m_lastGood = -1; // the last good reply, or -1
    // Doubles at each loss up to MaxBackoffMs; back to 1 s only after a good reply, so a
    // controller that accepts and at once closes is not reconnected every second.
    std::atomic<int> m_backoffMs{1000};
    QString m_saidDown; // the reason last logged, empty while the link is good
    // Counters read by other threads (the agent's, the benchmark's).
    std::atomic<qint64> m_linkLosses{0};
    bool m_connecting = false;
    std::atomic<bool> m_up{false};
    std::atomic<qint64> m_successes{0}, m_timeouts{0}, m_failures{0};
    std::optional<PlantReading> m_last;
    // Since the link was last lost: identity reads asked, whether one was answered.
    int m_identityAsks = 0;
    bool m_identified = false;
    bool m_announced = false; // the site's discovery configurations went out
    // Closed by close_after_poll (not a loss); within pause_after_connect.
    bool m_released = false, m_pausing = false;
    DeadlineQueue::Id m_pauseEnd = 0;
    // Discharge tests and the cell trend from the same polls; the history kept under the site's
    // name in the agent's state folder.
    BatteryWatch m_battery;
};

} // namespace quma::agent
