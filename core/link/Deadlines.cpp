// One timer for a thread's deadlines.
#include "core/link/Deadlines.h"

namespace quma {

DeadlineQueue::DeadlineQueue(QObject* parent) : QObject(parent) {
    m_clock.start();
    m_timer.setSingleShot(true);
    // A coarse timer may fire up to 5 % early; a link's time-out must not.
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, [this] {
        m_armedFor = -1;
        fireDue();
    });
}

DeadlineQueue::Id DeadlineQueue::schedule(int delayMs, std::function<void()> fire) {
    return scheduleAt(now() + std::max(0, delayMs), std::move(fire));
}

DeadlineQueue::Id DeadlineQueue::scheduleAt(qint64 dueMs, std::function<void()> fire) {
    const Id id = m_next++;
    m_live.emplace(id, std::move(fire));
    m_heap.push({dueMs, id});
    arm();
    return id;
}

void DeadlineQueue::cancel(Id id) {
    m_live.erase(id);
    // The queue may now be empty of live entries: its heap is cleared at once then, so that an
    // idle queue holds nothing.
    if (m_live.empty()) {
        m_heap = {};
        m_timer.stop();
        m_armedFor = -1;
    }
}

void DeadlineQueue::fireDue() {
    const qint64 t = now();
    while (!m_heap.empty() && m_heap.top().due <= t) {
        const Id id = m_heap.top().id;
        m_heap.pop();
        const auto it = m_live.find(id);
        if (it == m_live.end()) continue; // cancelled
        const std::function<void()> fire = std::move(it->second);
        m_live.erase(it);
        fire();
    }
    arm();
}

void DeadlineQueue::arm() {
    while (!m_heap.empty() && !m_live.count(m_heap.top().id))
        m_heap.pop();
    if (m_heap.empty()) return;
    const qint64 due = m_heap.top().due;
    // Armed for this one or an earlier one already: nothing to do (the common case, as later
    // deadlines are added behind the earliest).
    if (m_armedFor >= 0 && m_armedFor <= due) return;
    m_armedFor = due;
    m_timer.start(int(std::max<qint64>(0, due - now())));
}

Timeout::Timeout(std::function<void()> fire) : m_fire(std::move(fire)) {
    m_timer.setSingleShot(true);
    m_timer.setTimerType(Qt::PreciseTimer);
    QObject::connect(&m_timer, &QTimer::timeout, [this] { m_fire(); });
}

Timeout::~Timeout() {
    stop();
}

void Timeout::share(DeadlineQueue* queue) {
    stop();
    m_queue = queue;
}

void Timeout::start(int ms) {
    if (!m_queue) {
        m_timer.start(ms);
        return;
    }
    stop();
    m_id = m_queue->schedule(ms, [this] {
        m_id = 0;
        m_fire();
    });
}

void Timeout::stop() {
    if (!m_queue) {
        m_timer.stop();
        return;
    }
    if (m_id) m_queue->cancel(m_id);
    m_id = 0;
}

bool Timeout::isActive() const {
    return m_queue ? m_id != 0 : m_timer.isActive();
}

} // namespace quma
