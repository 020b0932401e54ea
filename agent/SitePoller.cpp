// Polling one site on its own period.
#include "agent/SitePoller.h"

#include <QDir>

#include "agent/FleetMetrics.h"
#include "agent/FleetMqtt.h"
#include "agent/FleetState.h"

#include <QDateTime>
#include <QJsonArray>
#include <QJsonDocument>

namespace quma::agent {

SitePoller::SitePoller(const SiteConfig& config, std::unique_ptr<SiteMetrics> metrics,
                       FleetMqtt* mqtt, DeadlineQueue& clock, FleetState* fleet, QObject* parent)
    : QObject(parent), m_config(config), m_session(m_engine), m_metrics(std::move(metrics)),
      m_mqtt(mqtt), m_fleet(fleet), m_deadlines(clock), m_reconnect([this] { connectLink(); }) {
    m_engine.link().setTraceSink({});
    m_session.tcp().useFleetMode(&clock);
    m_reconnect.share(&clock);
    m_clock.start();
    connect(&m_engine, &MonitorEngine::statusRefreshed, this, &SitePoller::replied);
    connect(&m_engine, &MonitorEngine::networkIdentityDecoded, this,
            [this](const NetworkIdentity& identity) {
                m_identified = true;
                if (m_fleet) m_fleet->identified(m_config.name, identity);
                release();
            });
    // The battery from the same polls (after replied(): the reading is published first).
    const QString state = qEnvironmentVariable("STATE_DIRECTORY").section(':', 0, 0);
    if (!state.isEmpty()) m_battery.setFolder(QDir(state).filePath("battery"));
    m_battery.attach(m_engine);
    m_battery.setSettings(m_config.battery);
    connect(&m_battery, &BatteryWatch::cellsChanged, this, [this] {
        if (m_metrics)
            m_metrics->updateBattery(m_battery.running(), m_battery.cells().deviations());
    });
    connect(&m_battery, &BatteryWatch::problem, this,
            [this](const QString& text) { emit batteryProblem(text); });
    connect(&m_battery, &BatteryWatch::testEnded, this, [this](const DischargeTest& t) {
        if (m_metrics) m_metrics->lastTest(t);
        if (m_fleet)
            m_fleet->testEnded(m_config.name, VerdictText(t.verdict), t.verdict == Verdict::Fail,
                               t.endMs);
        if (!m_mqtt) return;
        const QJsonObject event{{"site", m_config.name},
                                {"time_ms", t.endMs},
                                {"event", "battery_test_ended"},
                                {"test", t.toJson()}};
        m_mqtt->publishAlarm(m_config.name, QJsonDocument(event).toJson(QJsonDocument::Compact));
    });

    connect(&m_engine, &MonitorEngine::tcpExchangeFailed, this, [this] {
        // The exchange failed before its period ended (connection trouble): a failure, not
        // a time-out.
        if (m_sentAt < 0) return;
        m_sentAt = -1;
        ++m_failures;
        if (m_metrics) m_metrics->pollFailed();
    });
    connect(&m_session, &LinkSession::connected, this, [this](bool ok, const QString& error) {
        m_connecting = false;
        if (ok)
            linkUp();
        else
            linkDown(error);
    });
    connect(&m_session.tcp(), &TcpClient::disconnected, this, [this] {
        // A serial site's session says so too when it closes its unused TCP client.
        if (!m_connecting && !m_released && !m_config.tcp.isEmpty())
            linkDown("the controller closed the connection");
    });
    connect(&m_session.port(), &TCustomComPort::error, this, [this](const EComError& e) {
        const QString why = QString("serial port: %1").arg(e.what());
        QTimer::singleShot(0, this, [this, why] { linkDown(why); });
    });
}

SitePoller::~SitePoller() {
    m_deadlines.cancel(m_nextPoll);
    m_deadlines.cancel(m_downCheck);
    m_deadlines.cancel(m_pauseEnd);
    // Closing the link now says nothing to this poller.
    disconnect(&m_session.tcp(), nullptr, this, nullptr);
    disconnect(&m_session.port(), nullptr, this, nullptr);
    m_session.disconnectLink();
}

void SitePoller::start() {
    if (m_mqtt) m_mqtt->setAvailable(m_config.name, false);
    // The site's test history: its last test in the metrics from the start.
    m_battery.setPlant(m_config.name);
    if (!m_battery.history().tests().isEmpty()) {
        const DischargeTest& last = m_battery.history().tests().last();
        if (m_metrics) m_metrics->lastTest(last);
        if (m_fleet) m_fleet->setReplaceBattery(m_config.name, last.verdict == Verdict::Fail);
    }
    m_pollDue = m_deadlines.now();
    schedulePoll();
    connectLink();
}

void SitePoller::schedulePoll() {
    // On the period's grid, so that polls do not drift by the time a callback takes; a thread
    // that fell behind skips the periods it missed instead of polling in a burst.
    const qint64 period = qint64(m_config.pollPeriod * 1000);
    m_pollDue += period;
    if (m_pollDue <= m_deadlines.now()) m_pollDue = m_deadlines.now() + period;
    m_nextPoll = m_deadlines.scheduleAt(m_pollDue, [this] {
        m_nextPoll = 0;
        schedulePoll();
        tick();
    });
}

void SitePoller::connectLink() {
    QString error;
    if (!m_config.tcp.isEmpty()) {
        m_connecting = true;
        if (!m_session.connectTcp(m_config.tcp, &error)) {
            m_connecting = false;
            linkDown(error);
        }
        return;
    }
    if (m_session.connectSerial(m_config.serial, &error))
        linkUp();
    else
        linkDown(error);
}

void SitePoller::linkUp() {
    m_sentAt = -1;
    if (m_config.pauseAfterConnect <= 0) {
        tick(); // the first poll at once
        return;
    }
    // A device that needs a moment after the link is made: nothing is asked until then.
    m_pausing = true;
    m_pauseEnd = m_deadlines.schedule(int(m_config.pauseAfterConnect * 1000), [this] {
        m_pauseEnd = 0;
        m_pausing = false;
        tick();
    });
}

void SitePoller::release() {
    if (!m_config.closeAfterPoll || !linked()) return;
    m_released = true;
    m_session.disconnectLink();
    if (!m_config.serial.isEmpty()) m_session.port().Close();
}

void SitePoller::linkDown(const QString& why) {
    m_battery.linkLost();
    // Once per loss: closing the link below reports the close again.
    if (m_reconnect.isActive()) return;
    m_reconnect.start(m_backoffMs);
    m_backoffMs = std::min(m_backoffMs * 2, MaxBackoffMs);
    m_connecting = false;
    m_sentAt = -1;
    m_released = m_pausing = false;
    m_deadlines.cancel(m_pauseEnd);
    // The controller may have changed: its identity is read again.
    m_identityAsks = 0;
    m_identified = false;
    m_session.disconnectLink();
    if (!m_config.serial.isEmpty()) m_session.port().Close();
    ++m_failures;
    ++m_linkLosses;
    if (m_metrics) m_metrics->pollFailed();
    refreshUp();
    if (why != m_saidDown) {
        m_saidDown = why;
        emit linkError(why);
    }
}

void SitePoller::tick() {
    if (m_sentAt >= 0) {
        // The last poll got no good reply within its period.
        m_sentAt = -1;
        ++m_timeouts;
        if (m_metrics) m_metrics->pollTimedOut();
    }
    refreshUp();
    // Silence that reaches its limit before the next period is checked when it does, not a
    // period late.
    if (m_up && !m_deadlines.isPending(m_downCheck)) {
        const qint64 quiet = m_clock.elapsed() - m_lastGood;
        if (quiet + qint64(m_config.pollPeriod * 1000) >= silenceMs())
            m_downCheck = m_deadlines.schedule(int(silenceMs() - quiet) + 1, [this] {
                m_downCheck = 0;
                refreshUp();
            });
    }
    if (m_released) {
        // Closed after the last poll: made again for this one, which goes out once it is up.
        m_released = false;
        connectLink();
        return;
    }
    if (!linked() || m_pausing) return;
    // Once the plant answered, this period reads its identity instead (not a poll: no
    // time-out is counted for it).
    if (m_fleet && !m_identified && m_successes > 0 && m_identityAsks < IdentityAsks) {
        ++m_identityAsks;
        m_engine.readIdentityNow();
        return;
    }
    m_sentAt = m_clock.nsecsElapsed();
    m_engine.pollNow();
}

void SitePoller::replied() {
    const qint64 sentAt = m_sentAt;
    // A reply later than its period still counts as the plant's state, but it has no
    // round-trip time of its own.
    if (m_metrics)
        m_metrics->pollSucceeded(
            sentAt >= 0 ? std::optional<double>((m_clock.nsecsElapsed() - sentAt) / 1e9)
                        : std::nullopt);
    m_sentAt = -1;
    m_backoffMs = 1000;
    if (!m_saidDown.isEmpty()) {
        m_saidDown.clear();
        emit linkRestored();
    }
    m_lastGood = m_clock.elapsed();
    ++m_successes;
    const PlantReading r = ReadPlant(m_engine.image(), m_engine.modelName());
    const qint64 wall = QDateTime::currentMSecsSinceEpoch();
    if (m_metrics) m_metrics->update(r);
    refreshUp();
    if (m_fleet) m_fleet->replied(m_config.name, r, wall);
    if (m_mqtt) {
        // Home Assistant's entities once the plant says what it has (its first reading).
        if (!m_announced) {
            m_announced = true;
            m_mqtt->announceSite(m_config.name, r);
        }
        m_mqtt->publishState(
            m_config.name,
            QJsonDocument(StateJson(m_config.name, r, wall)).toJson(QJsonDocument::Compact));
        if (m_last && (m_last->activeAlarms != r.activeAlarms || m_last->contacts != r.contacts)) {
            QJsonArray raised, cleared, active;
            for (const QString& a : r.activeAlarms) {
                active << a;
                if (!m_last->activeAlarms.contains(a)) raised << a;
            }
            for (const QString& a : m_last->activeAlarms)
                if (!r.activeAlarms.contains(a)) cleared << a;
            QJsonObject event{{"site", m_config.name},
                              {"time_ms", wall},
                              {"raised", raised},
                              {"cleared", cleared},
                              {"active", active}};
            QJsonArray contacts;
            for (bool c : r.contacts)
                contacts << c;
            event["contacts"] = contacts;
            m_mqtt->publishAlarm(m_config.name,
                                 QJsonDocument(event).toJson(QJsonDocument::Compact));
        }
    }
    m_last = r;
    release();
}

void SitePoller::refreshUp() {
    const qint64 now = m_clock.elapsed();
    // Checked at every poll period: silence is noticed within a period of its limit.
    const bool up = m_lastGood >= 0 && now - m_lastGood < silenceMs();
    if (m_metrics && m_lastGood >= 0) m_metrics->setLastReplyAge((now - m_lastGood) / 1000.0);
    if (up == m_up) return;
    m_up = up;
    if (!up) m_battery.linkLost();
    if (m_metrics) m_metrics->setUp(up);
    if (m_mqtt) m_mqtt->setAvailable(m_config.name, up);
    if (m_fleet) m_fleet->setUp(m_config.name, up, QDateTime::currentMSecsSinceEpoch());
}

} // namespace quma::agent
