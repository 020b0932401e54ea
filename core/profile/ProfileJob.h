// Reading a plant's profile from the controller and restoring one onto it, through the engine's
// own requests: one poll (it carries every setting register) and one network identity read; the
// writes go through the same pending write list the configuration dialogs use.
#pragma once

#include "core/monitor/MonitorEngine.h"
#include "core/profile/ProfileCompare.h"
#include "core/profile/ProfileFile.h"
#include "core/profile/RestorePlan.h"

#include <QObject>
#include <QTimer>

namespace quma {

// What a restore did: the writes the controller confirmed, the one that was out when it stopped,
// and those never sent.
struct RestoreReport {
    QList<RestoreStep> confirmed;
    QList<RestoreStep> unconfirmed; // sent, no confirmation came
    QList<RestoreStep> notSent;
    bool networkSent = false;
    QString error; // empty when every write was confirmed
    QStringList lines() const;
};

class ProfileJob : public QObject {
    Q_OBJECT
public:
    explicit ProfileJob(MonitorEngine& engine, QObject* parent = nullptr);

    // How long a step may wait for the controller before the job gives up.
    void setTimeout(int ms) { m_timeoutMs = ms; }
    bool busy() const { return m_phase != Phase::Idle; }

    // Waits for the next poll reply, then reads the network identity; ends in plantRead or
    // failed.
    void readPlant();
    // Sends the plan's register writes (last first, one per confirmation), then the network
    // identity when the plan holds one, then reads the plant back: restoreFinished, then
    // plantRead. A write left unconfirmed ends it: restoreFinished carries the report, then
    // failed. Nothing is retried.
    void restore(const RestorePlan& plan);
    // The link went away: the running step ends at once with this reason.
    void abort(const QString& why);

signals:
    void progress(int done, int total, const QString& text);
    void plantRead(const quma::SiteProfile& plant);
    void restoreFinished(const quma::RestoreReport& report);
    void failed(const QString& why);

private:
    // The network identity the plan writes, built on the identity read last.
    NetIdPayload networkPayload() const;
    enum class Phase { Idle, WaitPoll, WaitIdentity, Writing, NetworkSettle };
    void enter(Phase phase);
    // The network identity read, asked again when its reply is lost (a noisy link).
    void askIdentity();
    static constexpr int IdentityAttempts = 4;
    static constexpr int IdentityRetryMs = 1500;
    void onStatus();
    void onIdentity();
    void onConfirmed(int reg, int value);
    void writeNetwork();
    void finishWrites();
    void fail(const QString& why);

    MonitorEngine& m_engine;
    Phase m_phase = Phase::Idle;
    QTimer m_watchdog;
    QTimer m_settle;
    QTimer m_identityRetry;
    int m_identityAttempts = 0;
    int m_timeoutMs = 5000;
    RestorePlan m_plan;
    RestoreReport m_report;
    int m_confirmed = 0;
    bool m_restoring = false;
};

} // namespace quma

Q_DECLARE_METATYPE(quma::SiteProfile)
Q_DECLARE_METATYPE(quma::RestoreReport)
