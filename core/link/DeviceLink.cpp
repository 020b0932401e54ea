// The request builder, the command kind selector RectMode, the pending write list and the receive
// path of both links.
#include "core/link/DeviceLink.h"

#include <QDateTime>
#include <QMetaMethod>
#include <chrono>
#include <cstdio>

namespace quma {

namespace {
QByteArray word(int v) {
    QByteArray b;
    b.append(static_cast<char>((v >> 8) & 0xFF));
    b.append(static_cast<char>(v & 0xFF));
    return b;
}
} // namespace

DeviceLink::DeviceLink(QObject* parent) : QObject(parent) {
    m_trace = [](const QByteArray& line) {
        std::fwrite(line.constData(), 1, static_cast<size_t>(line.size()), stdout);
        std::fputc('\n', stdout);
        std::fflush(stdout);
    };
}

void DeviceLink::setTcpTransport(ITcpTransport* t) {
    m_tcp = t;
    if (m_tcp) {
        m_tcp->setReplyHandler([this](const TcpRequest& r, const QByteArray& block, bool complete) {
            TcpReceive(r, block, complete);
        });
    }
}

void DeviceLink::ReadEnv(const QByteArray& function) {
    SendRequest("01" + function);
}

void DeviceLink::ReadPara(const QByteArray& start, const QByteArray& count) {
    SendRequest("0104" + IntToHexN(HexToInt(start), 4) + IntToHexN(HexToInt(count), 4));
}

void DeviceLink::WritePara(int reg, int value) {
    // Registers and values are 16-bit; callers refuse anything else before it gets here.
    if (reg < 0 || reg > 0xFFFF || value < 0 || value > 0xFFFF) return;
    if (m_linkKind == LinkKind::Tcp) {
        writeSlot = {reg, value};
        SendRequest({});
        writeSlot = {0, 0};
    } else {
        SendRequest("0106" + IntToHexN(reg, 4) + IntToHexN(value, 4));
    }
}

void DeviceLink::SendLogRequest(const QByteArray& station, const QByteArray& function, int number) {
    QByteArray body;
    if (m_linkKind == LinkKind::Tcp) {
        if (function == "44" || function == "47") {
            transferStep = 2;
            pageIndex = number;
        } else {
            transferStep = 1;
        }
    } else {
        body = station + function;
        if (function == "31" || function == "41") body += IntToHexN(number, 4);
    }
    replyPending = false;
    receiveState = 0;
    SendRequest(body);
}

void DeviceLink::SendNetworkIdentity(const QByteArray& payload) {
    networkIdentityBlock = payload;
    ResetReceive();
    if (m_linkKind == LinkKind::Tcp) {
        rectMode = RectMode::NetWrite;
        SendRequest({});
    } else {
        SendRequest("01230000" + BytesToHex(payload));
    }
}

bool DeviceLink::tcpFrameFor(std::uint8_t mode, QByteArray* data, std::uint8_t* function,
                             int* reply) const {
    const bool alarm = transferKind == TransferKind::Alarm;
    const char kind = static_cast<char>(transferKind);
    switch (mode) {
    case RectMode::Poll:
        *function = Fn::ReadRegisters;
        *data = word(static_cast<int>(HexToInt(pollStart))) + word(pollCount);
        *reply = 2 * pollCount + 9;
        return true;
    case RectMode::NetRead:
        *function = Fn::ReadNetId;
        *reply = 158;
        return true;
    case RectMode::Setting:
        *function = Fn::WriteRegister;
        *data = word(writeSlot.reg) + word(writeSlot.value);
        *reply = 12;
        return true;
    case RectMode::NetWrite:
        *function = Fn::WriteNetId;
        *data = networkIdentityBlock;
        *reply = 6;
        return true;
    case RectMode::LogTransfer:
        if (transferStep == 2) {
            *function = alarm ? Fn::AlarmRecord : Fn::EventRecord;
            *data = QByteArray(1, kind) + word(pageIndex);
            *reply = alarm ? alarmRecordReplySize : 19;
        } else {
            *function = alarm ? Fn::AlarmCount : Fn::EventCount;
            *data = QByteArray(1, kind) + QByteArray(1, static_cast<char>(pageIndex & 0xFF));
            *reply = 12;
        }
        return true;
    case RectMode::LogClear:
        *function = alarm ? Fn::AlarmClear : Fn::EventClear;
        *data = QByteArray(1, kind);
        *reply = 9;
        return true;
    default:
        return false;
    }
}

void DeviceLink::SendRequest(const QByteArray& body) {
    const QByteArray frame = AsciiFrame(body);
    const std::uint16_t tid = counter.advance();
    if (m_linkKind == LinkKind::Tcp) {
        TcpRequest req;
        QByteArray data;
        if (!tcpFrameFor(rectMode, &data, &req.function, &req.replyBytes)) return;
        if (!m_tcp) return;
        // A poll already waiting for its turn is not queued twice.
        if (req.function == Fn::ReadRegisters && m_tcp->isQueued(Fn::ReadRegisters)) return;
        req.transactionId = tid;
        req.frame = TcpFrame(tid, req.function, data);
        tap(FrameEvent::Sent, req.frame);
        if (m_tcp->isConnected()) {
            emit connectLamp(true);
        } else {
            emit connectLamp(false);
            m_tcp->reconnect();
        }
        m_tcp->exchange(req);
        return;
    }
    if (m_serialAwaiting) tap(FrameEvent::TimeOut, {}, "no reply to the request before this one");
    tap(FrameEvent::Sent, frame);
    m_serialAwaiting = true;
    if (m_serial) m_serial->writeBytes(frame);
    trace("Send data >>[" + QByteArray::number(frame.size()) + "]" + frame);
}

void DeviceLink::tap(FrameEvent::Kind kind, const QByteArray& bytes, const QString& note) {
    static const QMetaMethod signal = QMetaMethod::fromSignal(&DeviceLink::frameEvent);
    if (!isSignalConnected(signal)) return;
    FrameEvent e;
    e.kind = kind;
    e.link = m_linkKind;
    e.monoNs = std::chrono::duration_cast<std::chrono::nanoseconds>(
                   std::chrono::steady_clock::now().time_since_epoch())
                   .count();
    e.wallMs = QDateTime::currentMSecsSinceEpoch();
    e.bytes = bytes;
    e.note = note;
    emit frameEvent(e);
}

void DeviceLink::SerialReceive(const QByteArray& block) {
    if (!replyPending) {
        for (char ch : block) {
            switch (receiveState) {
            case 0:
                if (ch == ':') {
                    replyBuffer = ":";
                    receiveState = 1;
                }
                break;
            case 1:
                if (replyBuffer.size() >= MaxSerialFrame) {
                    // Longer than any reply: noise. Dropped; reception starts at the next colon.
                    tap(FrameEvent::Dropped, replyBuffer, "noise longer than any reply");
                    replyBuffer.clear();
                    receiveState = 0;
                    break;
                }
                replyBuffer.append(ch);
                if (ch == '\r') receiveState = 2;
                break;
            case 2:
                if (ch == '\n') {
                    replyBuffer.append(ch);
                    frameReady = true;
                    receiveState = 3;
                }
                break;
            default:
                break;
            }
        }
    }
    if (frameReady) {
        frameReady = false;
        receiveState = 0;
        if (!replyBuffer.isEmpty()) {
            if (ValidateAsciiFrame(replyBuffer, nullptr)) {
                m_serialAwaiting = false;
                tap(FrameEvent::Received, replyBuffer);
            } else {
                // The dispatcher refuses it too; the monitor says why.
                QByteArray body = replyBuffer.mid(1);
                while (body.endsWith('\n') || body.endsWith('\r'))
                    body.chop(1);
                const bool hex = body.size() >= 6 && body.size() % 2 == 0 &&
                                 QByteArray::fromHex(body).size() * 2 == body.size();
                tap(FrameEvent::Dropped, replyBuffer, hex ? "LRC wrong" : "not a frame");
            }
            serialReply = replyBuffer;
            replyPending = true;
            trace("Receive >> " + serialReply);
        }
    }
    if (replyPending) emit serialReplyReady();
}

void DeviceLink::TcpReceive(const TcpRequest& request, const QByteArray& block, bool complete) {
    if (!complete) {
        tap(FrameEvent::TimeOut, request.frame,
            QString("no complete reply to transaction %1").arg(request.transactionId));
        emit tcpExchangeFailed(request.function);
        return;
    }
    if (block.size() >= 2 && (uchar(block[0]) << 8 | uchar(block[1])) != request.transactionId)
        tap(FrameEvent::Dropped, block,
            QString("transaction id %1 expected %2")
                .arg(uchar(block[0]) << 8 | uchar(block[1]))
                .arg(request.transactionId));
    else
        tap(FrameEvent::Received, block);
    // Every block is the whole answer to one request: what an earlier block left half-assembled
    // must not run into this one.
    receiveState = 0;
    frameReady = false;
    const auto hi = static_cast<char>(request.transactionId >> 8);
    const auto lo = static_cast<char>(request.transactionId & 0xFF);
    const int tail = request.function == Fn::WriteRegister ? 5 : 6;
    if (!replyPending) {
        const int count = block.size();
        for (int i = 0; i < count; ++i) {
            if (receiveState == 0) {
                // The reply starts the block: the transport discards stale bytes before sending.
                if (i == 0 && i + 3 < count && block[i] == hi && block[i + 1] == lo &&
                    block[i + 2] == 0 && block[i + 3] == 0) {
                    replyBuffer.clear();
                    receiveState = 1;
                }
                continue;
            }
            if (receiveState == 1 && i == 4) {
                if (i + 1 >= count) break;
                expectedLength = (static_cast<unsigned char>(block[4]) << 8) |
                                 static_cast<unsigned char>(block[5]);
                replyBuffer.append(block[i]);
                receiveState = 2;
                continue;
            }
            replyBuffer.append(block[i]);
            if (receiveState == 2 && i + 1 >= expectedLength + tail) frameReady = true;
        }
    }
    if (frameReady) {
        frameReady = false;
        receiveState = 0;
        if (!replyBuffer.isEmpty()) {
            replyText = replyBuffer;
            if (request.function == Fn::AlarmCount || request.function == Fn::AlarmRecord)
                trace("TcpStr >> " + replyText + " [" + BytesToHex(replyText) + "]");
            replyPending = true;
        }
    }
    if (replyPending) emit tcpReplyReady();
}

} // namespace quma
