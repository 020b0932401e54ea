// The monitoring engine: owns one controller's link, register image and command kind, composes
// the request clock, the alarm watch and the log transfer, dispatches every reply and tells the
// user interface what changed through signals that carry it.
#pragma once

#include "core/history/TransferSession.h"
#include "core/link/DeviceLink.h"
#include "core/monitor/AlarmWatch.h"
#include "core/monitor/MessageKind.h"
#include "core/monitor/PollClock.h"
#include "core/monitor/RectMode.h"
#include "core/monitor/RegisterMap.h"

#include <QObject>
#include <QStringList>
#include <array>
#include <optional>

namespace quma {

// Writes queued by a dialog: positions 1..100, sent last queued first, one per acknowledgement.
struct PendingWriteList {
    static constexpr int Capacity = 100;
    std::array<int, Capacity + 1> reg{};
    std::array<int, Capacity + 1> value{};
    int count = 0;
};

class MonitorEngine : public QObject {
    Q_OBJECT
public:
    explicit MonitorEngine(QObject* parent = nullptr);

    DeviceLink& link() { return m_link; }
    const RegisterImage& image() const { return m_image; }
    const PollState& poll() const { return m_clock.state(); }
    const AlarmWatch::State& alarms() const { return m_alarmWatch.state(); }
    const TransferState& transfer() const { return m_transfer.state(); }
    const std::optional<NetworkIdentity>& networkIdentity() const { return m_netId; }
    QString modelName() const { return m_modelName; }
    int systemType() const { return m_image[Reg::SystemType]; }

    // The command kind (RectMode): what the next Timer1 tick sends and which replies are taken.
    std::uint8_t commandKind() const { return m_mode; }
    // A command dialog opens: polling pauses in its kind until ReturnToPolling.
    void setCommandKind(std::uint8_t mode) { m_mode = mode; }

    // When live, Timer1 and Timer3 run on real timers; otherwise tests call the ticks by hand and
    // read the timer state below.
    void setLiveTimers(bool live);
    bool timer1Enabled() const { return m_clock.enabled(); }
    int timer1Interval() const { return m_clock.interval(); }
    bool timer3Enabled() const { return m_alarmWatch.timerEnabled(); }
    void setTimer1(bool enabled, int interval = -1) { m_clock.setTimer(enabled, interval); }

    // Connection and disconnection: polling starts with the poll-due flag raised.
    void startPolling(LinkKind kind);
    void stopPolling();
    // One poll now, outside the clock (a poller with its own period).
    void pollNow();
    // The network identity read now, outside the clock; polling resumes with pollNow().
    void readIdentityNow();

    // Timer ticks.
    void Timer1Timer();
    void Timer3Timer() { m_alarmWatch.tick(); }

    // Configuration writes: sets the setting kind and sends the queued pairs, last first, one per
    // acknowledgement. Refuses (with a message) a list that is empty, too long, or holds a
    // register or value outside 0..65535; nothing is sent then.
    bool QueueWrites(const QList<RegWrite>& writes);
    // Stops a write chain: a confirmation still on its way sends nothing more.
    void CancelWrites() {
        m_pending = PendingWriteList{};
        m_pending.count = -1;
    }
    // Closing a dialog: back to polling on the next tick.
    void ReturnToPolling();

    // History windows: opening sets the log transfer kind; returns false when no window should
    // open (system type outside 1..4). The window's 100 ms timer calls RequestStartTick, which
    // sends the count query on its 4th tick and then returns true.
    // A transfer opened without `announce` (a report gathering the logs) shows no completion or
    // "no data" box; its signals are the same.
    bool OpenTransfer(TransferKind kind, bool announce = true) {
        return m_transfer.open(kind, announce);
    }
    bool RequestStartTick() { return m_transfer.requestStartTick(); }
    // Closing the window (by its Close button when byButton).
    void CloseTransfer(bool byButton) { m_transfer.close(byButton); }
    // After transferStalled: asks again for what could not be read, with a fresh set of attempts.
    void RetryTransfer() { m_transfer.retry(); }

    // History initialisation: alarm history or event log cleared on the controller.
    void ClearLog(TransferKind kind);
    // Network identity: the read goes out on the next Timer1 tick; the write at once.
    void ReadNetworkIdentity();
    void WriteNetworkIdentity(const QByteArray& payload);

signals:
    void statusRefreshed(const quma::RegisterImage& image);
    void networkIdentityDecoded(const quma::NetworkIdentity& identity);
    void transferBegun(quma::TransferKind kind, int total);
    void recordStored(quma::TransferKind kind, int row, const QStringList& cells);
    void transferProgress(quma::TransferKind kind, int percent, const QString& label);
    void transferCompleted(quma::TransferKind kind, const QString& text);
    // The count (record 0) or record `record` of `total` went unanswered MaxAttempts times; the
    // transfer waits for RetryTransfer or CloseTransfer.
    void transferStalled(quma::TransferKind kind, int record, int total);
    void userMessage(quma::MessageKind kind, const QString& text);
    void timer1Changed(bool enabled, int interval);
    void timer3Changed(bool enabled);
    void alarmTestMode(bool active);
    // The controller stopped answering polls (silent) or answers again.
    void replyStateChanged(bool answering);
    // The alarm words (registers 15 and 16 as hex) differ from the last poll's.
    void alarmTextChanged(const QString& text);
    // The alarm tree to build or update from the alarm words of `image` under the masks.
    void alarmTreeBuild(const quma::RegisterImage& image, int mask1, int mask2);
    void alarmTreeUpdate(const quma::RegisterImage& image, int mask1, int mask2);
    void alarmTreeRemove();
    void tcpExchangeFailed(std::uint8_t function);
    // The controller confirmed one write of the pending write list.
    void writeConfirmed(int reg, int value);
    // A setting write list or a log clear finished; its message has been sent just before.
    void commandSucceeded();

private:
    void dispatch(const Reply& reply);
    void refreshStatus(const RegisterImage& img);
    void writeAcknowledged();
    void sendNextWrite();
    void message(MessageKind kind, const QString& text) { emit userMessage(kind, text); }
    void succeeded(const QString& text) {
        message(MessageKind::Information, text);
        emit commandSucceeded();
    }

    DeviceLink m_link;
    RegisterImage m_image;
    std::uint8_t m_mode = RectMode::Poll;
    PendingWriteList m_pending;
    PollClock m_clock;
    AlarmWatch m_alarmWatch;
    TransferSession m_transfer;
    std::optional<NetworkIdentity> m_netId;
    QString m_modelName;
    QString m_alarmText;
};

} // namespace quma
