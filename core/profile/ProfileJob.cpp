// Reading a plant's profile from the controller and restoring one onto it.
#include "core/profile/ProfileJob.h"

#include <algorithm>

namespace quma {

namespace {
// After a network identity write the controller may restart its interface: the read-back waits.
constexpr int kNetworkSettleMs = 1000;

QString stepText(const RestoreStep& s) {
    return QString("%1 (register %2) = %3 %4").arg(s.field).arg(s.reg).arg(s.to, s.unit).trimmed();
}
} // namespace

QStringList RestoreReport::lines() const {
    QStringList out;
    for (const RestoreStep& s : confirmed)
        out << "written: " + stepText(s);
    for (const RestoreStep& s : unconfirmed)
        out << "sent, not confirmed: " + stepText(s);
    for (const RestoreStep& s : notSent)
        out << "not written: " + stepText(s);
    if (networkSent) out << "written: network identity";
    return out;
}

ProfileJob::ProfileJob(MonitorEngine& engine, QObject* parent) : QObject(parent), m_engine(engine) {
    qRegisterMetaType<quma::SiteProfile>();
    qRegisterMetaType<quma::RestoreReport>();
    m_watchdog.setSingleShot(true);
    m_watchdog.setTimerType(Qt::PreciseTimer);
    m_settle.setSingleShot(true);
    connect(&m_watchdog, &QTimer::timeout, this, [this] {
        switch (m_phase) {
        case Phase::WaitPoll:
            fail("no poll reply from the controller");
            break;
        case Phase::Writing:
            fail("the controller did not confirm a write: the link may be lost");
            break;
        default:
            break;
        }
    });
    connect(&m_settle, &QTimer::timeout, this, [this] {
        if (m_phase != Phase::NetworkSettle) return;
        m_engine.ReturnToPolling();
        enter(Phase::WaitPoll);
        m_engine.Timer1Timer();
    });
    connect(&m_engine, &MonitorEngine::statusRefreshed, this, &ProfileJob::onStatus);
    connect(&m_engine, &MonitorEngine::networkIdentityDecoded, this, &ProfileJob::onIdentity);
    connect(&m_engine, &MonitorEngine::writeConfirmed, this, &ProfileJob::onConfirmed);
    m_identityRetry.setSingleShot(true);
    m_identityRetry.setTimerType(Qt::PreciseTimer);
    connect(&m_identityRetry, &QTimer::timeout, this, [this] {
        if (m_phase != Phase::WaitIdentity) return;
        if (m_identityAttempts < IdentityAttempts)
            askIdentity();
        else
            fail(QString("the controller did not answer the network identity read (asked %1 "
                         "times)")
                     .arg(m_identityAttempts));
    });
    connect(&m_engine, &MonitorEngine::tcpExchangeFailed, this, [this] {
        // A lost poll is followed by the next one, a lost identity read is asked again; a lost
        // write confirmation ends a restore (nothing is written twice behind the user's back).
        if (m_phase == Phase::WaitIdentity)
            m_identityRetry.start(0);
        else if (m_phase == Phase::Writing || m_phase == Phase::NetworkSettle)
            abort("the TCP exchange with the controller failed");
    });
}

void ProfileJob::enter(Phase phase) {
    m_phase = phase;
    // The identity read is bounded by its own attempts instead.
    if (phase == Phase::Idle || phase == Phase::WaitIdentity)
        m_watchdog.stop();
    else
        m_watchdog.start(m_timeoutMs);
    if (phase != Phase::WaitIdentity) m_identityRetry.stop();
}

void ProfileJob::readPlant() {
    m_restoring = false;
    emit progress(0, 2, "reading the registers");
    enter(Phase::WaitPoll);
}

void ProfileJob::onStatus() {
    if (m_phase != Phase::WaitPoll) return;
    // Nothing is in flight right after a poll reply: the identity read goes out now.
    emit progress(1, 2, "reading the network identity");
    m_identityAttempts = 0;
    askIdentity();
}

void ProfileJob::askIdentity() {
    ++m_identityAttempts;
    enter(Phase::WaitIdentity);
    m_identityRetry.start(std::min(IdentityRetryMs, m_timeoutMs));
    m_engine.ReadNetworkIdentity();
    m_engine.Timer1Timer();
}

void ProfileJob::onIdentity() {
    if (m_phase != Phase::WaitIdentity) return;
    m_identityRetry.stop();
    enter(Phase::Idle);
    const auto& id = m_engine.networkIdentity();
    const SiteProfile plant =
        ProfileFromPlant(m_engine.image(), id && id->complete ? &*id : nullptr,
                         m_engine.modelName(), QDateTime::currentDateTime());
    emit progress(2, 2, "read");
    emit plantRead(plant);
}

void ProfileJob::restore(const RestorePlan& plan) {
    m_plan = plan;
    m_report = RestoreReport{};
    m_confirmed = 0;
    m_restoring = true;
    if (!plan.error.isEmpty()) {
        fail(plan.error);
        return;
    }
    // The network identity is checked before any register is written: a plant is never left
    // half restored by a field that could not have been sent.
    if (m_plan.networkForm) {
        const QString why = networkPayload().error;
        if (!why.isEmpty()) {
            m_report.notSent = plan.steps;
            m_report.error = "network: " + why + "; nothing was written";
            emit restoreFinished(m_report);
            fail(m_report.error);
            return;
        }
    }
    if (plan.steps.isEmpty()) {
        writeNetwork();
        return;
    }
    enter(Phase::Writing);
    emit progress(0, int(plan.steps.size()), "writing");
    if (!m_engine.QueueWrites(plan.writes())) {
        m_report.notSent = plan.steps;
        fail("the writes were refused before any was sent");
    }
}

void ProfileJob::onConfirmed(int reg, int value) {
    if (m_phase != Phase::Writing) return;
    const qsizetype total = m_plan.steps.size();
    // The list goes out from its end: the write confirmed now is this one.
    const RestoreStep& expected = m_plan.steps[total - 1 - m_confirmed];
    if (expected.reg != reg || expected.raw != value) return;
    ++m_confirmed;
    m_watchdog.start(m_timeoutMs);
    emit progress(m_confirmed, int(total), QString("written %1").arg(expected.field));
    if (m_confirmed == total) finishWrites();
}

void ProfileJob::finishWrites() {
    m_report.confirmed = m_plan.steps;
    writeNetwork();
}

void ProfileJob::writeNetwork() {
    if (!m_plan.networkForm) {
        m_engine.ReturnToPolling();
        emit restoreFinished(m_report);
        emit progress(0, 2, "reading back");
        enter(Phase::WaitPoll);
        m_engine.Timer1Timer();
        return;
    }
    const NetIdPayload payload = networkPayload();
    if (!payload.error.isEmpty() || payload.payload.isEmpty()) {
        fail("network: " + (payload.error.isEmpty() ? QString("nothing to write") : payload.error));
        return;
    }
    m_engine.WriteNetworkIdentity(payload.payload);
    m_report.networkSent = true;
    emit restoreFinished(m_report);
    emit progress(0, 2, "waiting for the controller to take the new identity");
    m_phase = Phase::NetworkSettle;
    m_watchdog.stop();
    m_settle.start(kNetworkSettleMs);
}

NetIdPayload ProfileJob::networkPayload() const {
    const auto& last = m_engine.networkIdentity();
    NetIdForm form = *m_plan.networkForm;
    // The description and serial number always travel; unflagged, they go back as read.
    if (last) {
        form.hwDescriptionText = QString::fromUtf8(last->hwDescription);
        form.serialText = QString::fromLatin1(last->serialNumber);
    }
    return BuildNetIdPayload(form, last ? &*last : nullptr);
}

void ProfileJob::abort(const QString& why) {
    if (busy()) fail(why);
}

void ProfileJob::fail(const QString& why) {
    const Phase was = m_phase;
    enter(Phase::Idle);
    m_settle.stop();
    if (was == Phase::Writing) {
        // What went out and what did not, as the confirmations tell it (each write once).
        m_report.confirmed.clear();
        m_report.unconfirmed.clear();
        m_report.notSent.clear();
        const qsizetype total = m_plan.steps.size();
        for (qsizetype i = 0; i < total; ++i) {
            const qsizetype sentAt = total - 1 - i; // the i-th write sent
            const RestoreStep& s = m_plan.steps[sentAt];
            if (i < m_confirmed)
                m_report.confirmed.prepend(s);
            else if (i == m_confirmed)
                m_report.unconfirmed << s;
            else
                m_report.notSent.prepend(s);
        }
        if (m_plan.networkForm) m_report.error = why + "; the network identity was not written";
    }
    if (m_report.error.isEmpty()) m_report.error = why;
    if (m_restoring && was == Phase::Writing) emit restoreFinished(m_report);
    // Stop the rest of the chain: nothing is retried behind the user's back.
    if (was == Phase::Writing) {
        m_engine.CancelWrites();
        m_engine.ReturnToPolling();
    }
    emit failed(why);
}

} // namespace quma
