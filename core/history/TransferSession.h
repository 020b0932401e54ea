// One alarm-history or event-log transfer: the count query, one page per record, the rows they
// fill, the progress line, asking again when a request goes unanswered, and giving up (stalled)
// after MaxAttempts requests until the user retries.
#pragma once

#include "core/link/DeviceLink.h"
#include "core/monitor/MessageKind.h"
#include "core/monitor/PollClock.h"
#include "core/monitor/RectMode.h"
#include "core/monitor/RegisterMap.h"

#include <QObject>
#include <QStringList>
#include <optional>

namespace quma {

// The running transfer and the rows it has filled (row 0 is the header).
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
    bool stalled = false; // given up on the awaited request until retry()
    // The last stored page reply, and how many answers to repeats of its request may still
    // come: on the serial link such an answer is the same record again.
    QByteArray lastReply;
    int repeatAnswersDue = 0;
};

class TransferSession : public QObject {
    Q_OBJECT
public:
    // Sends through `link`, paces through `clock`, reads the system type from `image` and sets
    // the engine's command kind `mode` as the transfer goes from count to pages and back.
    TransferSession(DeviceLink& link, PollClock& clock, const RegisterImage& image,
                    std::uint8_t& mode, QObject* parent = nullptr);

    const TransferState& state() const { return m_state; }

    bool open(TransferKind kind, bool announce);
    bool requestStartTick();
    void close(bool byButton);
    void retry();

    // What Timer1 does for the transfer on each tick: repeats an unanswered serial count query
    // or page (after its quiet ticks).
    void repeatPage();
    void countTick();

    // Replies routed by the engine's dispatcher.
    void countReply(TransferKind kind, std::optional<std::pair<int, int>> count);
    void recordReply(TransferKind kind, const QByteArray& payload);
    void exchangeFailed(std::uint8_t function);

signals:
    void transferBegun(quma::TransferKind kind, int total);
    void recordStored(quma::TransferKind kind, int row, const QStringList& cells);
    void transferProgress(quma::TransferKind kind, int percent, const QString& label);
    void transferCompleted(quma::TransferKind kind, const QString& text);
    void transferStalled(quma::TransferKind kind, int record, int total);
    void userMessage(quma::MessageKind kind, const QString& text);

private:
    bool knownSystem() const;
    void beginTable(int total);
    void storeRecord(const QByteArray& payload);
    void requestPage();
    void requestCount();
    void repeatRequest();

    DeviceLink& m_link;
    PollClock& m_clock;
    const RegisterImage& m_image;
    std::uint8_t& m_mode;
    TransferState m_state;
};

} // namespace quma

Q_DECLARE_METATYPE(quma::TransferKind)
