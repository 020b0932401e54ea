// The monitoring engine: the command kind, the request clock's decisions, the write chain and the
// one dispatcher of every reply.
#include "core/monitor/MonitorEngine.h"

#include "core/monitor/ReplyDecoding.h"

#include <QCoreApplication>

namespace quma {

MonitorEngine::MonitorEngine(QObject* parent)
    : QObject(parent), m_alarmWatch(m_image), m_transfer(m_link, m_clock, m_image, m_mode) {
    qRegisterMetaType<quma::MessageKind>();
    qRegisterMetaType<quma::TransferKind>();
    connect(&m_link, &DeviceLink::replyReceived, this, &MonitorEngine::dispatch);
    connect(&m_link, &DeviceLink::exchangeFailed, this, &MonitorEngine::tcpExchangeFailed);
    connect(&m_link, &DeviceLink::exchangeFailed, &m_transfer, &TransferSession::exchangeFailed);
    connect(&m_clock, &PollClock::tick, this, &MonitorEngine::Timer1Timer);
    connect(&m_clock, &PollClock::timerChanged, this, &MonitorEngine::timer1Changed);
    connect(&m_clock, &PollClock::replyStateChanged, this, &MonitorEngine::replyStateChanged);
    connect(&m_alarmWatch, &AlarmWatch::treeBuild, this, &MonitorEngine::alarmTreeBuild);
    connect(&m_alarmWatch, &AlarmWatch::treeUpdate, this, &MonitorEngine::alarmTreeUpdate);
    connect(&m_alarmWatch, &AlarmWatch::treeRemove, this, &MonitorEngine::alarmTreeRemove);
    connect(&m_alarmWatch, &AlarmWatch::timerChanged, this, &MonitorEngine::timer3Changed);
    connect(&m_transfer, &TransferSession::transferBegun, this, &MonitorEngine::transferBegun);
    connect(&m_transfer, &TransferSession::recordStored, this, &MonitorEngine::recordStored);
    connect(&m_transfer, &TransferSession::transferProgress, this,
            &MonitorEngine::transferProgress);
    connect(&m_transfer, &TransferSession::transferCompleted, this,
            &MonitorEngine::transferCompleted);
    connect(&m_transfer, &TransferSession::transferStalled, this, &MonitorEngine::transferStalled);
    connect(&m_transfer, &TransferSession::userMessage, this, &MonitorEngine::userMessage);
}

void MonitorEngine::setLiveTimers(bool live) {
    m_clock.setLive(live);
    m_alarmWatch.setLive(live);
}

void MonitorEngine::startPolling(LinkKind kind) {
    m_link.setLinkKind(kind);
    m_mode = RectMode::Poll;
    m_link.resetReceive();
    m_clock.restart();
    m_clock.setTimer(true);
}

void MonitorEngine::stopPolling() {
    m_clock.setTimer(false);
    m_mode = RectMode::Poll;
    m_clock.restart();
}

void MonitorEngine::pollNow() {
    m_mode = RectMode::Poll;
    m_link.send(Request::readRegisters(kPollFirstRegister, kRegisterCount));
}

void MonitorEngine::readIdentityNow() {
    m_mode = RectMode::NetRead;
    m_link.send(Request::readNetworkIdentity());
}

void MonitorEngine::Timer1Timer() {
    const bool serial = m_link.linkKind() == LinkKind::Serial;
    if (m_clock.takeDue()) {
        m_link.trace("RectMode >> " + QByteArray(" [ ") + IntToHexN(m_mode, 2) + " ]");
        switch (m_mode) {
        case RectMode::Poll:
            m_clock.setTimer(m_clock.enabled(), serial ? 200 : 300);
            m_link.send(Request::readRegisters(kPollFirstRegister, kRegisterCount));
            m_clock.pollSent();
            break;
        case RectMode::NetRead:
            m_link.send(Request::readNetworkIdentity());
            m_mode = RectMode::Poll;
            break;
        case RectMode::HistoryPaging:
        case RectMode::EventPaging:
            // The same page again, a bounded number of times.
            m_transfer.repeatPage();
            break;
        default:
            break;
        }
    }
    // A serial count query that got no reply is asked again (over TCP the exchange's own
    // time-out does it).
    if (m_mode == RectMode::LogTransfer && serial) m_transfer.countTick();
    if (m_mode == RectMode::TransferWait) {
        if (m_clock.countDownTransfer()) m_clock.dueNow();
    }
    if (m_mode <= 11) {
        if (m_clock.countDownPoll()) m_clock.dueNow();
    }
    if ((m_mode >= 4 && m_mode <= 17) || (m_mode >= 31 && m_mode <= 52)) {
        if (m_clock.countDownPoll()) m_mode = RectMode::Setting;
    }
}

bool MonitorEngine::QueueWrites(const QList<RegWrite>& writes) {
    if (writes.isEmpty()) return false;
    if (writes.size() > PendingWriteList::Capacity) {
        message(MessageKind::Warning,
                QCoreApplication::translate("MonitorEngine",
                                            "Too many settings at once: %1 (at most %2).")
                    .arg(writes.size())
                    .arg(PendingWriteList::Capacity));
        return false;
    }
    for (const RegWrite& w : writes) {
        if (w.reg < 0 || w.reg > 0xFFFF || w.value < 0 || w.value > 0xFFFF) {
            message(
                MessageKind::Warning,
                QCoreApplication::translate(
                    "MonitorEngine", "Register %1: value %2 is outside 0..65535; nothing was sent.")
                    .arg(w.reg)
                    .arg(w.value));
            return false;
        }
    }
    m_mode = RectMode::Setting;
    PendingWriteList& p = m_pending;
    p = PendingWriteList{};
    for (const RegWrite& w : writes) {
        ++p.count;
        p.reg[p.count] = w.reg;
        p.value[p.count] = w.value;
    }
    sendNextWrite();
    m_clock.dueAfterCommand();
    return true;
}

void MonitorEngine::sendNextWrite() {
    // The list is sent from its end; the count then points below the write in flight.
    PendingWriteList& p = m_pending;
    const int at = p.count;
    --p.count;
    m_link.send(Request::writeRegister(p.reg[at], p.value[at]));
}

void MonitorEngine::ReturnToPolling() {
    m_mode = RectMode::Poll;
    m_clock.dueNow();
}

void MonitorEngine::writeAcknowledged() {
    PendingWriteList& p = m_pending;
    // The write just confirmed sits one above the count (the list is sent from its end).
    const int confirmed = p.count + 1;
    if (p.count >= 0 && confirmed <= PendingWriteList::Capacity)
        emit writeConfirmed(p.reg[confirmed], p.value[confirmed]);
    if (p.count > 0)
        sendNextWrite();
    else if (p.count == 0)
        succeeded(QCoreApplication::translate("MonitorEngine", " Setting Sucess!!"));
}

void MonitorEngine::ClearLog(TransferKind kind) {
    m_mode = RectMode::LogClear;
    m_link.send(Request::logClear(kind));
}

void MonitorEngine::ReadNetworkIdentity() {
    m_link.resetReceive();
    m_mode = RectMode::NetRead;
    m_clock.dueAfterCommand();
}

void MonitorEngine::WriteNetworkIdentity(const QByteArray& payload) {
    m_mode = RectMode::NetWrite;
    m_link.send(Request::writeNetworkIdentity(payload));
    m_clock.dueAfterCommand();
}

void MonitorEngine::refreshStatus(const RegisterImage& img) {
    m_image = img;
    m_clock.pollAnswered();
    // The tree is built with the first reply and shows its alarms at once; from then on Timer3
    // follows the alarm words once a second.
    m_alarmWatch.imageRefreshed();
    switch (m_image[Reg::SystemType]) {
    case 1:
        m_modelName = "  ";
        break;
    case 2:
        m_modelName = " QUMA-7T";
        break;
    case 3:
        m_modelName = " QUMA-7TN";
        break;
    case 4:
        m_modelName = " QUMA-7TN(A)";
        break;
    default:
        break;
    }
    emit alarmTestMode(m_image[Reg::AlarmTest] == 1);
    emit statusRefreshed(m_image);
    const QString alarmText = QString::fromLatin1(IntToHexN(m_image[Reg::Alarm1], 4) + " " +
                                                  IntToHexN(m_image[Reg::Alarm2], 4));
    if (alarmText != m_alarmText) {
        m_alarmText = alarmText;
        emit alarmTextChanged(alarmText);
    }
}

void MonitorEngine::dispatch(const Reply& reply) {
    const ReplyDecoding& decode = ReplyDecoding::of(reply.link);
    try {
        switch (reply.function) {
        case Fn::ReadRegisters:
            if (m_mode != RectMode::Poll) break;
            if (auto img = decode.poll(reply.payload)) refreshStatus(*img);
            break;
        case Fn::ReadNetId:
            if (auto id = decode.networkIdentity(reply.payload)) {
                m_netId = *id;
                emit networkIdentityDecoded(*m_netId);
            }
            break;
        case Fn::WriteRegister:
            writeAcknowledged();
            break;
        case Fn::AlarmCount:
        case Fn::EventCount:
            m_transfer.countReply(reply.function == Fn::AlarmCount ? TransferKind::Alarm
                                                                   : TransferKind::Event,
                                  decode.count(reply.payload));
            break;
        case Fn::AlarmRecord:
        case Fn::EventRecord:
            m_transfer.recordReply(reply.function == Fn::AlarmRecord ? TransferKind::Alarm
                                                                     : TransferKind::Event,
                                   reply.payload);
            break;
        case Fn::AlarmClear:
        case Fn::EventClear:
            switch (decode.cleared(reply.function, reply.payload)) {
            case TransferKind::Alarm:
                succeeded(QCoreApplication::translate("MonitorEngine", " Alarm Initial Sucess!!"));
                break;
            case TransferKind::Event:
                succeeded(QCoreApplication::translate("MonitorEngine", decode.eventClearedText));
                break;
            case TransferKind::None:
                break;
            }
            break;
        default:
            break;
        }
    } catch (const ConversionError&) {
        // A malformed field abandons this reply; the next one is received normally.
    }
}

} // namespace quma
