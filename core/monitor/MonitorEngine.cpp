// The monitoring engine: owns the link, the register image, the polling, alarm-tree and transfer
// state, dispatches every reply and tells the user interface what changed through signals.
#include "core/monitor/MonitorEngine.h"

#include <QCoreApplication>

namespace quma {

MonitorEngine::MonitorEngine(QObject* parent) : QObject(parent) {
    qRegisterMetaType<quma::MessageKind>();
    qRegisterMetaType<quma::TransferKind>();
    connect(&m_link, &DeviceLink::serialReplyReady, this, &MonitorEngine::SerialDispatch);
    connect(&m_link, &DeviceLink::tcpReplyReady, this, &MonitorEngine::TcpDispatch);
    connect(&m_link, &DeviceLink::tcpExchangeFailed, this, &MonitorEngine::tcpExchangeFailed);
    connect(&m_link, &DeviceLink::tcpExchangeFailed, this, &MonitorEngine::transferExchangeFailed);
    connect(&m_timer1, &QTimer::timeout, this, &MonitorEngine::Timer1Timer);
    connect(&m_timer3, &QTimer::timeout, this, &MonitorEngine::Timer3Timer);
    m_timer3.setInterval(1000);
}

void MonitorEngine::setLiveTimers(bool live) {
    m_live = live;
    if (!live) {
        m_timer1.stop();
        m_timer3.stop();
        return;
    }
    m_timer1.setInterval(m_timer1Interval);
    if (m_timer1On) m_timer1.start();
    if (m_timer3On) m_timer3.start();
}

void MonitorEngine::setTimer1(bool enabled, int interval) {
    if (interval > 0) m_timer1Interval = interval;
    const bool changed = enabled != m_timer1On || interval > 0;
    m_timer1On = enabled;
    if (m_live) {
        m_timer1.setInterval(m_timer1Interval);
        if (!enabled)
            m_timer1.stop();
        else if (!m_timer1.isActive())
            m_timer1.start();
    }
    if (changed) emit timer1Changed(m_timer1On, m_timer1Interval);
}

void MonitorEngine::startPolling(LinkKind kind) {
    m_link.setLinkKind(kind);
    m_link.rectMode = RectMode::Poll;
    m_link.ResetReceive();
    m_poll.pollDue = true;
    m_poll.unanswered = 0;
    m_poll.silent = false;
    setTimer1(true);
}

void MonitorEngine::stopPolling() {
    setTimer1(false);
    m_link.rectMode = RectMode::Poll;
    m_poll.pollDue = true;
    m_poll.unanswered = 0;
    m_poll.silent = false;
}

void MonitorEngine::pollSent() {
    if (++m_poll.unanswered > PollState::SilentAfter && !m_poll.silent) {
        m_poll.silent = true;
        emit replyStateChanged(false);
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
    m_link.rectMode = RectMode::Setting;
    PendingWriteList& p = m_link.pending;
    p = PendingWriteList{};
    p.count = 1;
    for (const RegWrite& w : writes) {
        p.reg[p.count] = w.reg;
        p.value[p.count] = w.value;
        ++p.count;
    }
    --p.count;
    if (p.count >= 1) {
        const int at = p.count;
        --p.count;
        m_link.WritePara(p.reg[at], p.value[at]);
    }
    m_poll.pollCountdown = 3;
    m_poll.pollDue = true;
    return true;
}

void MonitorEngine::ReturnToPolling() {
    m_link.rectMode = RectMode::Poll;
    m_poll.pollDue = true;
}

void MonitorEngine::WriteAcknowledged() {
    PendingWriteList& p = m_link.pending;
    // The write just confirmed sits one above the count (the list is sent from its end).
    const int confirmed = p.count + 1;
    if (p.count >= 0 && confirmed <= PendingWriteList::Capacity)
        emit writeConfirmed(p.reg[confirmed], p.value[confirmed]);
    if (p.count > 0) {
        const int at = p.count;
        --p.count;
        m_link.WritePara(p.reg[at], p.value[at]);
    } else if (p.count == 0) {
        succeeded(QCoreApplication::translate("MonitorEngine", " Setting Sucess!!"));
    }
}

void MonitorEngine::ClearLog(TransferKind kind) {
    m_link.rectMode = RectMode::LogClear;
    m_link.transferKind = kind;
    // Serial 0x35 or 0x45; over TCP the frame (0x45 or 0x48) follows from the kind.
    m_link.SendLogRequest("01", kind == TransferKind::Alarm ? "35" : "45", 0);
}

void MonitorEngine::ReadNetworkIdentity() {
    m_link.ResetReceive();
    m_link.rectMode = RectMode::NetRead;
    m_poll.pollCountdown = 3;
    m_poll.pollDue = true;
}

void MonitorEngine::WriteNetworkIdentity(const QByteArray& payload) {
    m_link.SendNetworkIdentity(payload);
    m_poll.pollCountdown = 3;
    m_poll.pollDue = true;
}

void MonitorEngine::RefreshStatus(const RegisterImage& img) {
    m_image = img;
    m_poll.unanswered = 0;
    if (m_poll.silent) {
        m_poll.silent = false;
        emit replyStateChanged(true);
    }
    // Alarm tree start-up steps. The tree is built with the first reply and shows its alarms at
    // once; from then on Timer3 follows the alarm words once a second.
    if (m_alarms.phase == 0) m_alarms.phase = 1;
    if (m_alarms.phase == 1) {
        m_alarms.phase = 2;
        m_alarms.battery = m_image[Reg::BattInstalled];
        emit alarmTreeBuild();
        m_alarms.viewReady = true;
        m_timer3On = true;
        if (m_live && !m_timer3.isActive()) m_timer3.start();
        emit timer3Changed(true);
        Timer3Timer();
    }
    if (m_alarms.phase == 3 && m_image[Reg::BattInstalled] != m_alarms.battery) {
        m_alarms.phase = 0;
        m_alarms.battery = m_image[Reg::BattInstalled];
        m_alarms.viewReady = false;
        emit alarmTreeRemove();
    }
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
    emit statusRefreshed();
    const QString alarmText = QString::fromLatin1(IntToHexN(m_image[Reg::Alarm1], 4) + " " +
                                                  IntToHexN(m_image[Reg::Alarm2], 4));
    if (alarmText != m_alarmText) {
        m_alarmText = alarmText;
        emit alarmTextChanged(alarmText);
    }
}

void MonitorEngine::SerialDispatch() {
    if (!m_link.replyPending) return;
    m_link.replyPending = false;
    AsciiReply reply;
    if (!ValidateAsciiFrame(m_link.serialReply, &reply)) return;
    const QByteArray& f = reply.function;
    try {
        if (f == "04") {
            if (m_link.rectMode == RectMode::Poll &&
                reply.text.size() == m_link.expectedSerialPollLength) {
                if (auto img = DecodePollSerial(reply.text)) RefreshStatus(*img);
            }
        } else if (f == "B2") {
            // Count (4 hex characters) and record follow station and function.
            QByteArray hex = reply.text.mid(5);
            hex.chop(2); // LRC
            if (auto id = DecodeNetworkIdentity(HexToBytes(hex))) {
                m_netId = *id;
                emit networkIdentityDecoded();
            }
        } else if (f == "06") {
            WriteAcknowledged();
        } else if (f == "C0" || f == "D0") {
            countReply(f == "C0" ? TransferKind::Alarm : TransferKind::Event,
                       DecodeCountSerial(reply.text));
        } else if (f == "C1" || f == "D1") {
            recordReply(f == "C1" ? TransferKind::Alarm : TransferKind::Event, reply.text);
        } else if (f == "C5") {
            succeeded(QCoreApplication::translate("MonitorEngine", " Alarm Initial Sucess!!"));
        } else if (f == "D5") {
            succeeded(QCoreApplication::translate("MonitorEngine", " Event log Initial Sucess!!"));
        }
    } catch (const ConversionError&) {
        // A malformed field abandons this reply; the next one is received normally.
    }
}

void MonitorEngine::TcpDispatch() {
    if (!m_link.replyPending) return;
    m_link.replyPending = false;
    QByteArray text = m_link.replyText;
    // Transaction id low byte, protocol id, length, unit id.
    if (text.size() < 7) return;
    const auto function = static_cast<std::uint8_t>(text[6]);
    QByteArray data = text.mid(7);
    switch (function) {
    case Fn::ReadRegisters: {
        if (data.isEmpty()) return;
        const QByteArray byteCount = IntToHexN(static_cast<unsigned char>(data[0]), 2);
        data.remove(0, 1);
        if (m_link.rectMode == RectMode::Poll && byteCount == m_link.expectedTcpByteCount) {
            if (auto img = DecodePollTcp(data)) RefreshStatus(*img);
        }
        break;
    }
    case Fn::ReadNetId:
        if (auto id = DecodeNetworkIdentity(data)) {
            m_netId = *id;
            emit networkIdentityDecoded();
        }
        break;
    case Fn::AlarmCount:
    case Fn::EventCount:
        countReply(function == Fn::AlarmCount ? TransferKind::Alarm : TransferKind::Event,
                   DecodeCountTcp(data));
        break;
    case Fn::AlarmRecord:
    case Fn::EventRecord:
        recordReply(function == Fn::AlarmRecord ? TransferKind::Alarm : TransferKind::Event, data);
        break;
    case Fn::AlarmClear:
    case Fn::EventClear:
        if (!data.isEmpty() && data[0] == 1)
            succeeded(QCoreApplication::translate("MonitorEngine", " Alarm Initial Sucess!!"));
        if (!data.isEmpty() && data[0] == 2)
            succeeded(QCoreApplication::translate("MonitorEngine", " Event Initial Sucess!!"));
        break;
    case Fn::WriteRegister:
        WriteAcknowledged();
        break;
    default:
        break;
    }
}

} // namespace quma
