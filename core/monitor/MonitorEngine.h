// The monitoring engine: owns the link, the register image, the polling, alarm-tree and transfer
// state, dispatches every reply and tells the user interface what changed through signals.
#pragma once

#include "core/link/DeviceLink.h"
#include "core/monitor/RegisterMap.h"

#include <QObject>
#include <QStringList>
#include <QTimer>
#include <optional>

namespace quma {

enum class MessageKind { Information, Plain, Warning };

// Polling state, ticked by Timer1Timer.
struct PollState {
    // Polls in a row that got no valid reply before the link counts as silent.
    static constexpr int SilentAfter = 3;

    bool pollDue = true;
    std::uint8_t pollCountdown = 0;
    std::uint8_t transferCountdown = 0;
    int unanswered = 0;  // polls sent since the last valid poll reply
    bool silent = false; // connected, but the controller does not answer
};

// Alarm tree start-up steps and the masked alarm words Timer3Timer compares.
struct AlarmWatch {
    int phase = 0; // 0 no poll yet, 1 first poll, 2 tree built, 3 running
    int mask1 = 0xFFFF, mask2 = 0xFFFF;
    int masked1 = 0, masked2 = 0;
    bool viewReady = false;
    int battery = 0; // register 66 when the tree was built
};

// The running history or event-log transfer and the rows it has filled (row 0 is the header).
struct TransferState {
    // Times one request (the count query or one page) is sent before the transfer counts as
    // stalled: the first and three repeats.
    static constexpr int MaxAttempts = 4;
    // Serial Timer1 ticks without a count reply before the count query is repeated.
    static constexpr int CountRepeatTicks = 8;

    TransferKind kind = TransferKind::None;
    bool active = false;
    int recordIndex = 1;
    int recordTotal = 0;
    int progressTotal = 0;
    int requestStartCountdown = 0;
    QList<QStringList> rows;
    QString label = "Total : ";
    int percent = 0;
    bool complete = false;
    bool counted = false; // the count reply has come
    int attempts = 0;     // requests sent for what is awaited now (count or record recordIndex)
    int quietTicks = 0;   // serial ticks since the count query went out
    bool announce = true;
    bool stalled = false; // given up on the awaited request until RetryTransfer
    // The last stored page reply, and how many answers to repeats of its request may still
    // come: on the serial link such an answer is the same record again.
    QByteArray lastReply;
    int repeatAnswersDue = 0;
};

class MonitorEngine : public QObject {
    Q_OBJECT
public:
    explicit MonitorEngine(QObject* parent = nullptr);

    DeviceLink& link() { return m_link; }
    const RegisterImage& image() const { return m_image; }
    const PollState& poll() const { return m_poll; }
    const AlarmWatch& alarms() const { return m_alarms; }
    const TransferState& transfer() const { return m_transfer; }
    const std::optional<NetworkIdentity>& networkIdentity() const { return m_netId; }
    QString modelName() const { return m_modelName; }
    int systemType() const { return m_image[Reg::SystemType]; }

    // When live, Timer1 and Timer3 run on real timers; otherwise tests call the ticks by hand and
    // read the timer state below.
    void setLiveTimers(bool live);
    bool timer1Enabled() const { return m_timer1On; }
    int timer1Interval() const { return m_timer1Interval; }
    bool timer3Enabled() const { return m_timer3On; }
    void setTimer1(bool enabled, int interval = -1);

    // Connection and disconnection: polling starts with the poll-due flag raised.
    void startPolling(LinkKind kind);
    void stopPolling();

    // Timer ticks.
    void Timer1Timer();
    void Timer3Timer();

    // Configuration writes: sets the setting kind and sends the queued pairs, last first, one per
    // acknowledgement. Refuses (with a message) a list that is empty, too long, or holds a
    // register or value outside 0..65535; nothing is sent then.
    bool QueueWrites(const QList<RegWrite>& writes);
    // Stops a write chain: a confirmation still on its way sends nothing more.
    void CancelWrites() {
        m_link.pending = PendingWriteList{};
        m_link.pending.count = -1;
    }
    // Closing a dialog: back to polling on the next tick.
    void ReturnToPolling();

    // History windows: opening sets the log transfer kind; returns false when no window should
    // open (system type outside 1..4). The window's 100 ms timer calls RequestStartTick, which
    // sends the count query on its 4th tick and then returns true.
    // A transfer opened without `announce` (a report gathering the logs) shows no completion or
    // "no data" box; its signals are the same.
    bool OpenTransfer(TransferKind kind, bool announce = true);
    bool RequestStartTick();
    // Closing the window (by its Close button when byButton).
    void CloseTransfer(bool byButton);
    // After transferStalled: asks again for what could not be read, with a fresh set of attempts.
    void RetryTransfer();

    // History initialisation: alarm history or event log cleared on the controller.
    void ClearLog(TransferKind kind);
    // Network identity: the read goes out on the next Timer1 tick; the write at once.
    void ReadNetworkIdentity();
    void WriteNetworkIdentity(const QByteArray& payload);

    // Dispatchers (the receive path calls them through signals).
    void SerialDispatch();
    void TcpDispatch();

signals:
    void statusRefreshed();
    void networkIdentityDecoded();
    void transferBegun(quma::TransferKind kind, int total);
    void recordStored(quma::TransferKind kind, int row);
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
    void alarmTreeBuild();
    void alarmTreeUpdate();
    void alarmTreeRemove();
    void tcpExchangeFailed(std::uint8_t function);
    // The controller confirmed one write of the pending write list.
    void writeConfirmed(int reg, int value);
    // A setting write list or a log clear finished; its message has been sent just before.
    void commandSucceeded();

private:
    void RefreshStatus(const RegisterImage& img);
    void pollSent();
    void WriteAcknowledged();
    void BeginTransferTable(int total);
    void StoreTransferRecord(const QByteArray& replyText);
    void countReply(TransferKind kind, std::optional<std::pair<int, int>> count);
    void recordReply(TransferKind kind, const QByteArray& replyText);
    void requestPage(TransferKind kind);
    void requestCount();
    // An unanswered count query or page: asks again, or gives up after MaxAttempts.
    void repeatTransferRequest();
    void transferExchangeFailed(std::uint8_t function);
    void message(MessageKind kind, const QString& text) { emit userMessage(kind, text); }
    void succeeded(const QString& text) {
        message(MessageKind::Information, text);
        emit commandSucceeded();
    }

    DeviceLink m_link;
    RegisterImage m_image;
    PollState m_poll;
    AlarmWatch m_alarms;
    TransferState m_transfer;
    std::optional<NetworkIdentity> m_netId;
    QString m_modelName;
    QString m_alarmText;

    bool m_live = false;
    bool m_timer1On = false;
    int m_timer1Interval = 1000;
    bool m_timer3On = false;
    QTimer m_timer1;
    QTimer m_timer3;
};

} // namespace quma

Q_DECLARE_METATYPE(quma::MessageKind)
Q_DECLARE_METATYPE(quma::TransferKind)
