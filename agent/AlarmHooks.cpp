// Journal lines and commands on the fleet's events.
#include "agent/AlarmHooks.h"

#include <QDateTime>
#include <QFileInfo>
#include <QTimer>

namespace quma::agent {

namespace {

// A killed command that ignores SIGTERM gets SIGKILL this much later.
constexpr int kKillAfterMs = 2000;

// Each kind of event: its name, the state it leaves, and what its debounce window is kept for
// (the alarm, the site's own state, its battery tests), in FleetEvent::Kind order.
struct KindInfo {
    const char* name;
    const char* state;
    const char* window; // empty: the alarm's key
};
constexpr KindInfo kKinds[] = {{"alarm_raised", "raised", ""},
                               {"alarm_cleared", "cleared", ""},
                               {"site_down", "down", "site"},
                               {"site_up", "up", "site"},
                               {"test_ended", "ended", "test"}};

const KindInfo& info(FleetEvent::Kind kind) {
    return kKinds[int(kind)];
}

QString gateKey(const FleetEvent& e) {
    const char* window = info(e.kind).window;
    return e.site + '/' + (*window ? QString(window) : e.alarm.key);
}

QString stateOf(const FleetEvent& e) {
    return info(e.kind).state;
}

} // namespace

QString EventName(FleetEvent::Kind kind) {
    return info(kind).name;
}

AlarmHooks::AlarmHooks(const QList<HookConfig>& hooks, int maxRunning, const FleetState& state,
                       QObject* parent)
    : QObject(parent), m_hooks(hooks), m_maxRunning(maxRunning), m_state(state) {}

AlarmHooks::~AlarmHooks() {
    // Commands still running are ended with the agent.
    for (QProcess* p : findChildren<QProcess*>()) {
        p->disconnect(this);
        p->kill();
        p->waitForFinished(1000);
    }
}

void AlarmHooks::handle(const FleetEvent& e) {
    QString line = QString("event %1 site=%2").arg(EventName(e.kind), e.site);
    if (!e.alarm.key.isEmpty() &&
        (e.kind == FleetEvent::Kind::Raised || e.kind == FleetEvent::Kind::Cleared))
        line += QString(" alarm=%1 severity=%2").arg(e.alarm.key, SeverityText(e.alarm.severity));
    if (e.sequence) line += QString(" sequence=%1").arg(e.sequence);
    emit log(line + ": " + e.text);
    for (int h = 0; h < m_hooks.size(); ++h) {
        const HookConfig& hook = m_hooks[h];
        if (!hook.sites.isEmpty() && !hook.sites.contains(e.site)) continue;
        if (!hook.events.isEmpty() && !hook.events.contains(EventName(e.kind))) continue;
        offer(h, e);
    }
}

void AlarmHooks::offer(int hook, const FleetEvent& e) {
    const QString key = gateKey(e);
    Gate& gate = m_gates[{hook, key}];
    const qint64 now = QDateTime::currentMSecsSinceEpoch();
    const qint64 window = qint64(m_hooks[hook].debounce * 1000);
    if (gate.lastRunMs < 0 || now - gate.lastRunMs >= window) {
        gate.lastRunMs = now;
        gate.lastState = stateOf(e);
        gate.pending.reset();
        run(hook, e);
        return;
    }
    // Within the window: the latest event waits for its end.
    ++m_debounced;
    gate.pending = e;
    if (gate.flushing) return;
    gate.flushing = true;
    QTimer::singleShot(int(gate.lastRunMs + window - now), this,
                       [this, hook, key] { flush(hook, key); });
}

void AlarmHooks::flush(int hook, const QString& key) {
    Gate& gate = m_gates[{hook, key}];
    gate.flushing = false;
    if (!gate.pending) return;
    const FleetEvent e = *gate.pending;
    gate.pending.reset();
    // Back where the last run left it: nothing new to say.
    if (stateOf(e) == gate.lastState && e.kind != FleetEvent::Kind::TestEnded) return;
    gate.lastRunMs = QDateTime::currentMSecsSinceEpoch();
    gate.lastState = stateOf(e);
    run(hook, e);
}

void AlarmHooks::run(int hook, const FleetEvent& e) {
    if (m_running >= m_maxRunning) {
        if (int(m_waiting.size()) >= MaxWaiting) {
            emit log(
                QString("hook %1 (%2): not run for %3 at %4: %5 commands are waiting already")
                    .arg(hook + 1)
                    .arg(QFileInfo(m_hooks[hook].command[0]).fileName(), EventName(e.kind), e.site)
                    .arg(MaxWaiting));
            return;
        }
        m_waiting.emplace_back(hook, e);
        return;
    }
    const HookConfig& config = m_hooks[hook];
    const QString name =
        QString("hook %1 (%2)").arg(hook + 1).arg(QFileInfo(config.command[0]).fileName());
    auto* p = new QProcess(this);
    p->setProcessEnvironment(environment(e));
    p->setStandardInputFile(QProcess::nullDevice());
    p->setStandardOutputFile(QProcess::nullDevice());
    p->setStandardErrorFile(QProcess::nullDevice());
    auto* limit = new QTimer(p);
    limit->setSingleShot(true);
    const auto killed = std::make_shared<bool>(false);
    connect(limit, &QTimer::timeout, p, [p, killed] {
        *killed = true;
        p->terminate();
        QTimer::singleShot(kKillAfterMs, p, [p] { p->kill(); });
    });
    const auto done = [this, p, killed, name, e, config] {
        if (*killed)
            emit log(QString("%1: killed after %2 s (%3 at %4)")
                         .arg(name)
                         .arg(config.timeout)
                         .arg(EventName(e.kind), e.site));
        else if (p->error() == QProcess::FailedToStart)
            emit log(QString("%1: could not start: %2").arg(name, p->errorString()));
        else if (p->exitStatus() != QProcess::NormalExit || p->exitCode() != 0)
            emit log(QString("%1: ended with code %2 (%3 at %4)")
                         .arg(name)
                         .arg(p->exitCode())
                         .arg(EventName(e.kind), e.site));
        p->deleteLater();
        --m_running;
        startNext();
    };
    connect(p, &QProcess::finished, this, done);
    connect(p, &QProcess::errorOccurred, this, [p, done](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart) done();
        (void)p;
    });
    ++m_running;
    ++m_runs;
    limit->start(int(config.timeout * 1000));
    p->start(config.command[0], config.command.mid(1));
}

void AlarmHooks::startNext() {
    while (m_running < m_maxRunning && !m_waiting.empty()) {
        const auto [hook, e] = m_waiting.front();
        m_waiting.pop_front();
        run(hook, e);
    }
}

QProcessEnvironment AlarmHooks::environment(const FleetEvent& e) const {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QUMA_EVENT", EventName(e.kind));
    env.insert("QUMA_SITE", e.site);
    env.insert("QUMA_STATE", stateOf(e));
    env.insert("QUMA_TIME",
               QDateTime::fromMSecsSinceEpoch(e.timeMs, Qt::UTC).toString(Qt::ISODate));
    env.insert("QUMA_TEXT", e.text);
    if (e.sequence) env.insert("QUMA_SEQUENCE", QString::number(e.sequence));
    if (e.kind == FleetEvent::Kind::Raised || e.kind == FleetEvent::Kind::Cleared) {
        env.insert("QUMA_ALARM", e.alarm.key);
        env.insert("QUMA_ALARM_NAME", e.alarm.name);
        env.insert("QUMA_SEVERITY", SeverityText(e.alarm.severity));
    }
    const std::optional<SiteRow> row = m_state.row(e.site);
    if (row && row->reading && row->up) {
        const PlantReading& r = *row->reading;
        env.insert("QUMA_AC_VOLTS", QString::number(r.acVolts, 'f', 1));
        env.insert("QUMA_DC_VOLTS", QString::number(r.dcVolts, 'f', 1));
        env.insert("QUMA_DC_AMPERES", QString::number(r.dcAmperes, 'f', 1));
        if (r.batteryInstalled) {
            env.insert("QUMA_BATTERY_VOLTS", QString::number(r.batteryVolts, 'f', 2));
            env.insert("QUMA_BATTERY_AMPERES", QString::number(r.batteryAmperes, 'f', 1));
            env.insert("QUMA_BATTERY_CHARGE", QString::number(r.batteryChargePercent, 'f', 0));
        }
    }
    return env;
}

} // namespace quma::agent
