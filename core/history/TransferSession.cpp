// One alarm-history or event-log transfer: count query, one page per record, rows and progress.
#include "core/history/TransferSession.h"

#include "core/history/TransferRecord.h"

#include <QCoreApplication>

namespace quma {

TransferSession::TransferSession(DeviceLink& link, PollClock& clock, const RegisterImage& image,
                                 std::uint8_t& mode, QObject* parent)
    : QObject(parent), m_link(link), m_clock(clock), m_image(image), m_mode(mode) {}

bool TransferSession::knownSystem() const {
    const int type = m_image[Reg::SystemType];
    return type >= 1 && type <= 4;
}

bool TransferSession::open(TransferKind kind, bool announce) {
    m_mode = RectMode::LogTransfer;
    m_state = TransferState{};
    m_state.kind = kind;
    m_state.announce = announce;
    m_state.active = true;
    m_state.recordIndex = 1;
    m_state.requestStartCountdown = 0;
    m_state.rows = {kind == TransferKind::Alarm ? AlarmHistoryHeader() : EventLogHeader()};
    return knownSystem();
}

bool TransferSession::requestStartTick() {
    if (++m_state.requestStartCountdown <= 3) return false;
    m_state.requestStartCountdown = 0;
    m_state.attempts = 0;
    requestCount();
    return true;
}

void TransferSession::requestCount() {
    ++m_state.attempts;
    m_state.quietTicks = 0;
    m_link.send(Request::logCount(m_state.kind));
}

void TransferSession::repeatRequest() {
    TransferState& t = m_state;
    if (!t.active || t.stalled || t.complete) return;
    const bool paging = t.counted && t.recordTotal >= t.recordIndex;
    if (t.counted && !paging) return;
    const int record = t.counted ? t.recordIndex : 0;
    t.label = QStringLiteral("Total : %1 /%2").arg(std::max(record - 1, 0)).arg(t.recordTotal);
    if (t.attempts >= TransferState::MaxAttempts) {
        t.stalled = true;
        emit transferProgress(t.kind, t.percent, t.label);
        emit transferStalled(t.kind, record, t.recordTotal);
        return;
    }
    t.label += QCoreApplication::translate("MonitorEngine", " (no reply, asking again: %1 of %2)")
                   .arg(t.attempts)
                   .arg(TransferState::MaxAttempts - 1);
    emit transferProgress(t.kind, t.percent, t.label);
    if (t.counted)
        requestPage();
    else
        requestCount();
}

void TransferSession::repeatPage() {
    // Page requests are repeated only for a transfer that still expects this record.
    if (m_state.active && m_state.recordTotal >= m_state.recordIndex) repeatRequest();
}

void TransferSession::countTick() {
    TransferState& t = m_state;
    if (t.active && !t.counted && t.attempts > 0 &&
        ++t.quietTicks >= TransferState::CountRepeatTicks)
        repeatRequest();
}

void TransferSession::retry() {
    TransferState& t = m_state;
    if (!t.active || !t.stalled) return;
    t.stalled = false;
    t.attempts = 0;
    if (t.counted)
        requestPage();
    else
        requestCount();
}

void TransferSession::exchangeFailed(std::uint8_t function) {
    if (m_mode != RectMode::LogTransfer) return;
    if (function == Fn::AlarmCount || function == Fn::EventCount || function == Fn::AlarmRecord ||
        function == Fn::EventRecord)
        repeatRequest();
}

void TransferSession::close(bool byButton) {
    m_state.active = false;
    if (byButton) m_state.recordIndex = 1;
    if (m_state.rows.size() > 1) m_state.rows.resize(1);
    m_clock.setTimer(true);
    m_mode = RectMode::Poll;
    m_clock.dueNow();
}

void TransferSession::beginTable(int total) {
    TransferState& t = m_state;
    t.counted = true;
    t.attempts = 0;
    t.recordTotal = total;
    t.progressTotal = total;
    t.complete = false;
    QStringList header = t.rows.isEmpty() ? QStringList() : t.rows.first();
    t.rows.clear();
    t.rows.append(header);
    for (int i = 0; i < std::max(total, 0); ++i)
        t.rows.append(QStringList());
    t.label = "Total : 0 /0";
    t.percent = 0;
    emit transferBegun(t.kind, total);
    emit transferProgress(t.kind, 0, t.label);
}

void TransferSession::countReply(TransferKind kind, std::optional<std::pair<int, int>> count) {
    if (!count) return;
    // A count for a transfer nobody is waiting for (a late reply after Close) starts nothing.
    if (!m_state.active || m_state.kind != kind) return;
    // A second count reply (to a repeated query) does not start the table over.
    if (m_state.counted) return;
    beginTable(count->first);
    if (m_link.linkKind() == LinkKind::Serial) {
        // Serial pages are paced by Timer1, which repeats an unanswered one.
        m_mode = kind == TransferKind::Alarm ? RectMode::HistoryPaging : RectMode::EventPaging;
        m_clock.setTimer(m_clock.enabled(), 800);
    }
    if (m_state.recordTotal <= 0) {
        if (!m_state.announce) {
            // Nobody watches a window: the empty log is simply complete.
            m_state.active = false;
            m_state.complete = true;
            emit transferCompleted(kind, {});
            return;
        }
        emit userMessage(MessageKind::Plain,
                         kind == TransferKind::Alarm
                             ? QCoreApplication::translate("MonitorEngine", "No History data")
                             : QCoreApplication::translate("MonitorEngine", "No Event log data"));
        return;
    }
    requestPage();
}

void TransferSession::requestPage() {
    ++m_state.attempts;
    m_link.send(Request::logRecord(m_state.kind, m_state.recordTotal - m_state.recordIndex));
    // Timer1 repeats a serial page request only after two quiet ticks from now, so a reply that
    // is merely slow is not asked for twice and stored into two rows.
    m_clock.pageRequested();
}

void TransferSession::recordReply(TransferKind kind, const QByteArray& payload) {
    TransferState& t = m_state;
    if (t.kind != kind) return;
    // The answer to a repeated page request coming after the answer to the first one.
    if (t.repeatAnswersDue > 0 && payload == t.lastReply) {
        --t.repeatAnswersDue;
        return;
    }
    t.lastReply = payload;
    t.repeatAnswersDue = std::max(t.attempts - 1, 0);
    t.attempts = 0;
    t.stalled = false;
    storeRecord(payload);
    // A page arriving after the window closed asks for nothing more.
    if (t.active && t.recordTotal >= t.recordIndex) requestPage();
}

void TransferSession::storeRecord(const QByteArray& payload) {
    TransferState& t = m_state;
    if (!t.active || t.recordTotal < t.recordIndex) return;
    const QStringList cells =
        DecodeTransferRecord(payload, m_link.linkKind(), t.kind, t.recordIndex);
    t.percent = t.progressTotal > 0 ? t.recordIndex * 100 / t.progressTotal : 0;
    t.label = QStringLiteral("Total : %1 /%2").arg(t.recordIndex).arg(t.recordTotal);
    if (knownSystem() && t.recordIndex < t.rows.size()) {
        t.rows[t.recordIndex] = cells;
        emit recordStored(t.kind, t.recordIndex, cells);
    }
    emit transferProgress(t.kind, t.percent, t.label);
    if (t.recordIndex == t.recordTotal) {
        m_clock.setTimer(false);
        const QString text =
            QCoreApplication::translate("MonitorEngine", "%1 History data").arg(t.recordIndex) +
            "\r" + QCoreApplication::translate("MonitorEngine", "are Saved!!");
        t.recordTotal = 0;
        t.active = false;
        t.complete = true;
        emit transferCompleted(t.kind, text);
        if (t.announce) emit userMessage(MessageKind::Information, text);
    } else {
        ++t.recordIndex;
    }
}

} // namespace quma
