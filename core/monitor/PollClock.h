// The request clock (Timer1) and the polling state it counts: when the next poll is due, the
// countdowns that bring polling back after a command, and whether the controller has gone
// silent. The engine decides on each tick what to send.
#pragma once

#include <QObject>
#include <QTimer>
#include <cstdint>

namespace quma {

struct PollState {
    // Polls in a row that got no valid reply before the link counts as silent.
    static constexpr int SilentAfter = 3;

    bool pollDue = true;
    std::uint8_t pollCountdown = 0;
    std::uint8_t transferCountdown = 0;
    int unanswered = 0;  // polls sent since the last valid poll reply
    bool silent = false; // connected, but the controller does not answer
};

class PollClock : public QObject {
    Q_OBJECT
public:
    explicit PollClock(QObject* parent = nullptr);

    const PollState& state() const { return m_state; }

    // When live, Timer1 runs on a real timer; otherwise tests call the tick by hand.
    void setLive(bool live);
    bool enabled() const { return m_on; }
    int interval() const { return m_interval; }
    // Starts or stops Timer1; a positive interval replaces the current one.
    void setTimer(bool enabled, int interval = -1);

    // Polling from the start: the next tick polls, nothing counts as unanswered.
    void restart();
    // The next tick sends (the poll or what the command kind asks for).
    void dueNow() { m_state.pollDue = true; }
    // A command went out: the tick after the third from now is due.
    void dueAfterCommand() {
        m_state.pollCountdown = 3;
        m_state.pollDue = true;
    }
    // A page request went out: nothing is due until its countdown ends.
    void pageRequested() {
        m_state.pollCountdown = 3;
        m_state.pollDue = false;
    }
    // Takes the due flag at the start of a tick (true when something is to be sent).
    bool takeDue();
    // One step of the countdowns; true when it reached zero.
    bool countDownPoll() { return --m_state.pollCountdown == 0; }
    bool countDownTransfer() { return --m_state.transferCountdown == 0; }

    // A poll went out / a good poll reply came.
    void pollSent();
    void pollAnswered();

signals:
    void timerChanged(bool enabled, int interval);
    void tick();
    // The controller stopped answering polls (false) or answers again (true).
    void replyStateChanged(bool answering);

private:
    PollState m_state;
    bool m_live = false;
    bool m_on = false;
    int m_interval = 1000;
    QTimer m_timer;
};

} // namespace quma
