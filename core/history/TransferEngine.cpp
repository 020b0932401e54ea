// The history and event-log transfer: count query, one page per record, rows and progress.
#include "core/history/TransferRecord.h"
#include "core/monitor/MonitorEngine.h"

#include <QCoreApplication>

namespace quma {

namespace {
bool knownSystem(int type) {
    return type >= 1 && type <= 4;
}
} // namespace

bool MonitorEngine::OpenTransfer(TransferKind kind, bool announce) {
    m_link.rectMode = RectMode::LogTransfer;
    m_transfer = TransferState{};
    m_transfer.kind = kind;
    m_transfer.announce = announce;
    m_transfer.active = true;
    m_transfer.recordIndex = 1;
    m_transfer.requestStartCountdown = 0;
    m_transfer.rows = {kind == TransferKind::Alarm ? AlarmHistoryHeader() : EventLogHeader()};
    m_link.transferKind = kind;
    return knownSystem(systemType());
}

bool MonitorEngine::RequestStartTick() {
    if (++m_transfer.requestStartCountdown <= 3) return false;
    m_transfer.requestStartCountdown = 0;
    m_transfer.attempts = 0;
    requestCount();
    return true;
}

void MonitorEngine::requestCount() {
    const bool alarm = m_link.transferKind == TransferKind::Alarm;
    const bool tcp = m_link.linkKind() == LinkKind::Tcp;
    ++m_transfer.attempts;
    m_transfer.quietTicks = 0;
    m_link.SendLogRequest("01", alarm ? (tcp ? "43" : "30") : (tcp ? "46" : "40"), 0);
}

void MonitorEngine::repeatTransferRequest() {
    TransferState& t = m_transfer;
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
        requestPage(t.kind);
    else
        requestCount();
}

void MonitorEngine::RetryTransfer() {
    TransferState& t = m_transfer;
    if (!t.active || !t.stalled) return;
    t.stalled = false;
    t.attempts = 0;
    if (t.counted)
        requestPage(t.kind);
    else
        requestCount();
}

void MonitorEngine::transferExchangeFailed(std::uint8_t function) {
    if (m_link.rectMode != RectMode::LogTransfer) return;
    if (function == Fn::AlarmCount || function == Fn::EventCount || function == Fn::AlarmRecord ||
        function == Fn::EventRecord)
        repeatTransferRequest();
}

void MonitorEngine::CloseTransfer(bool byButton) {
    m_transfer.active = false;
    if (byButton) m_transfer.recordIndex = 1;
    if (m_transfer.rows.size() > 1) m_transfer.rows.resize(1);
    setTimer1(true);
    m_link.rectMode = RectMode::Poll;
    m_poll.pollDue = true;
}

void MonitorEngine::BeginTransferTable(int total) {
    m_transfer.counted = true;
    m_transfer.attempts = 0;
    m_transfer.recordTotal = total;
    m_transfer.progressTotal = total;
    m_transfer.complete = false;
    QStringList header = m_transfer.rows.isEmpty() ? QStringList() : m_transfer.rows.first();
    m_transfer.rows.clear();
    m_transfer.rows.append(header);
    for (int i = 0; i < std::max(total, 0); ++i)
        m_transfer.rows.append(QStringList());
    m_transfer.label = "Total : 0 /0";
    m_transfer.percent = 0;
    emit transferBegun(m_transfer.kind, total);
    emit transferProgress(m_transfer.kind, 0, m_transfer.label);
}

void MonitorEngine::countReply(TransferKind kind, std::optional<std::pair<int, int>> count) {
    if (!count) return;
    // A count for a transfer nobody is waiting for (a late reply after Close) starts nothing.
    if (!m_transfer.active || m_transfer.kind != kind) return;
    // A second count reply (to a repeated query) does not start the table over.
    if (m_transfer.counted) return;
    BeginTransferTable(count->first);
    const bool serial = m_link.linkKind() == LinkKind::Serial;
    if (serial) {
        m_link.rectMode =
            kind == TransferKind::Alarm ? RectMode::HistoryPaging : RectMode::EventPaging;
        setTimer1(m_timer1On, 800);
    }
    if (m_transfer.recordTotal <= 0) {
        if (!m_transfer.announce) {
            // Nobody watches a window: the empty log is simply complete.
            m_transfer.active = false;
            m_transfer.complete = true;
            emit transferCompleted(kind, {});
            return;
        }
        message(MessageKind::Plain,
                kind == TransferKind::Alarm
                    ? QCoreApplication::translate("MonitorEngine", "No History data")
                    : QCoreApplication::translate("MonitorEngine", "No Event log data"));
        return;
    }
    requestPage(kind);
}

void MonitorEngine::requestPage(TransferKind kind) {
    const bool serial = m_link.linkKind() == LinkKind::Serial;
    const QByteArray fn =
        kind == TransferKind::Alarm ? (serial ? "31" : "44") : (serial ? "41" : "47");
    ++m_transfer.attempts;
    m_link.SendLogRequest("01", fn, m_transfer.recordTotal - m_transfer.recordIndex);
    // Timer1 repeats a serial page request only after two quiet ticks from now, so a reply that
    // is merely slow is not asked for twice and stored into two rows.
    m_poll.pollCountdown = 3;
    m_poll.pollDue = false;
}

void MonitorEngine::recordReply(TransferKind kind, const QByteArray& replyText) {
    TransferState& t = m_transfer;
    if (t.kind != kind) return;
    // The answer to a repeated page request coming after the answer to the first one.
    if (t.repeatAnswersDue > 0 && replyText == t.lastReply) {
        --t.repeatAnswersDue;
        return;
    }
    t.lastReply = replyText;
    t.repeatAnswersDue = std::max(t.attempts - 1, 0);
    t.attempts = 0;
    t.stalled = false;
    StoreTransferRecord(replyText);
    // A page arriving after the window closed asks for nothing more.
    if (m_transfer.active && m_transfer.recordTotal >= m_transfer.recordIndex) requestPage(kind);
}

void MonitorEngine::StoreTransferRecord(const QByteArray& replyText) {
    TransferState& t = m_transfer;
    if (!t.active || t.recordTotal < t.recordIndex) return;
    const QStringList cells =
        DecodeTransferRecord(replyText, m_link.linkKind(), t.kind, t.recordIndex);
    t.percent = t.progressTotal > 0 ? t.recordIndex * 100 / t.progressTotal : 0;
    t.label = QStringLiteral("Total : %1 /%2").arg(t.recordIndex).arg(t.recordTotal);
    if (knownSystem(systemType()) && t.recordIndex < t.rows.size()) {
        t.rows[t.recordIndex] = cells;
        emit recordStored(t.kind, t.recordIndex);
    }
    emit transferProgress(t.kind, t.percent, t.label);
    if (t.recordIndex == t.recordTotal) {
        setTimer1(false);
        const QString text =
            QCoreApplication::translate("MonitorEngine", "%1 History data").arg(t.recordIndex) +
            "\r" + QCoreApplication::translate("MonitorEngine", "are Saved!!");
        t.recordTotal = 0;
        t.active = false;
        t.complete = true;
        emit transferCompleted(t.kind, text);
        if (t.announce) message(MessageKind::Information, text);
    } else {
        ++t.recordIndex;
    }
}

} // namespace quma
