// Time-outs for many links on one Qt timer. Qt keeps a thread's timers in one sorted list, so
// starting and stopping a timer at every exchange costs the number of timers in the thread; the
// fleet agent's thousands of links share one queue per thread instead, ordered by deadline, whose
// single timer is armed for the earliest.
#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>
#include <functional>
#include <queue>
#include <unordered_map>
#include <vector>

namespace quma {

class DeadlineQueue : public QObject {
public:
    using Id = quint64;
    explicit DeadlineQueue(QObject* parent = nullptr);

    // Calls `fire` once, `delayMs` from now (or from `dueMs` on the queue's clock), unless
    // cancelled first. A callback may schedule and cancel.
    Id schedule(int delayMs, std::function<void()> fire);
    Id scheduleAt(qint64 dueMs, std::function<void()> fire);
    void cancel(Id id);
    bool isPending(Id id) const { return m_live.count(id) != 0; }
    // The queue's clock (ms since it was made).
    qint64 now() const { return m_clock.elapsed(); }
    std::size_t pending() const { return m_live.size(); }

private:
    struct Entry {
        qint64 due;
        Id id;
        bool operator>(const Entry& o) const { return due != o.due ? due > o.due : id > o.id; }
    };
    void fireDue();
    void arm();

    // Cancelled entries stay in the heap until their time and are skipped then.
    std::priority_queue<Entry, std::vector<Entry>, std::greater<>> m_heap;
    std::unordered_map<Id, std::function<void()>> m_live;
    QElapsedTimer m_clock;
    QTimer m_timer;
    qint64 m_armedFor = -1;
    Id m_next = 1;
};

// A single-shot time-out: a Qt timer of its own, or an entry in a queue shared with other links
// of the same thread (share() before the first start()). The queue must outlive it.
class Timeout {
public:
    explicit Timeout(std::function<void()> fire);
    ~Timeout();
    Timeout(const Timeout&) = delete;
    Timeout& operator=(const Timeout&) = delete;

    void share(DeadlineQueue* queue);
    void start(int ms);
    void stop();
    bool isActive() const;

private:
    std::function<void()> m_fire;
    QTimer m_timer;
    DeadlineQueue* m_queue = nullptr;
    DeadlineQueue::Id m_id = 0;
};

} // namespace quma
