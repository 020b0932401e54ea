// One link to the controller: sends requests through the link's codec and transport, assembles
// each reply once and hands it on as a value.
#include "core/link/DeviceLink.h"

#include <QDateTime>
#include <QMetaMethod>
#include <chrono>
#include <cstdio>

namespace quma {

DeviceLink::DeviceLink(QObject* parent) : QObject(parent) {
    qRegisterMetaType<quma::Reply>();
    m_trace = [](const QByteArray& line) {
        std::fwrite(line.constData(), 1, static_cast<size_t>(line.size()), stdout);
        std::fputc('\n', stdout);
        std::fflush(stdout);
    };
}

DeviceLink::~DeviceLink() = default;

void DeviceLink::setLinkKind(LinkKind kind) {
    if (kind == LinkKind::Tcp)
        m_codec = &m_tcpCodec;
    else
        m_codec = &m_serialCodec;
}

void DeviceLink::setTcpTransport(ITcpTransport* t) {
    if (m_tcp) disconnect(m_tcp, nullptr, this, nullptr);
    m_tcp = t;
    if (m_tcp)
        connect(m_tcp, &ITcpTransport::exchangeFinished, this, &DeviceLink::exchangeFinished);
}

void DeviceLink::trace(const QByteArray& line) const {
    if (!m_trace) return;
    if (line.size() <= MaxTraceBytes) {
        m_trace(TraceText(line));
        return;
    }
    m_trace(TraceText(line.left(MaxTraceBytes)) + " ... (" +
            QByteArray::number(line.size() - MaxTraceBytes) + " bytes more)");
}

void DeviceLink::send(const Request& request) {
    if (request.kind == Request::Kind::WriteRegister &&
        (request.first < 0 || request.first > 0xFFFF || request.value < 0 ||
         request.value > 0xFFFF))
        return;
    switch (request.kind) {
    case Request::Kind::LogCount:
    case Request::Kind::LogRecord:
    case Request::Kind::LogClear:
    case Request::Kind::WriteNetworkIdentity:
        // What an earlier frame left half received does not run into this reply.
        resetReceive();
        break;
    default:
        break;
    }
    // Every request takes a transaction id, on the serial link too.
    const std::uint16_t tid = m_counter.advance();
    const FramedRequest framed = m_codec->frame(request, tid);
    if (m_codec->kind() == LinkKind::Tcp)
        sendTcp(framed, tid);
    else
        sendSerial(framed);
}

void DeviceLink::sendTcp(const FramedRequest& framed, std::uint16_t transactionId) {
    if (!m_tcp) return;
    // A poll already waiting for its turn is not queued twice.
    if (framed.function == Fn::ReadRegisters && m_tcp->isQueued(Fn::ReadRegisters)) return;
    TcpRequest req;
    req.frame = framed.frame;
    req.function = framed.function;
    req.replyBytes = framed.replyBytes;
    req.transactionId = transactionId;
    tap(FrameEvent::Sent, req.frame);
    if (m_tcp->isConnected()) {
        emit connectLamp(true);
    } else {
        emit connectLamp(false);
        m_tcp->reconnect();
    }
    m_tcp->exchange(req);
}

void DeviceLink::sendSerial(const FramedRequest& framed) {
    if (m_serialAwaiting) tap(FrameEvent::TimeOut, {}, "no reply to the request before this one");
    tap(FrameEvent::Sent, framed.frame);
    m_serialAwaiting = true;
    if (m_serial) m_serial->writeBytes(framed.frame);
    trace("Send data >>[" + QByteArray::number(framed.frame.size()) + "]" + framed.frame);
}

void DeviceLink::tap(FrameEvent::Kind kind, const QByteArray& bytes, const QString& note) {
    static const QMetaMethod signal = QMetaMethod::fromSignal(&DeviceLink::frameEvent);
    if (!isSignalConnected(signal)) return;
    FrameEvent e;
    e.kind = kind;
    e.link = m_codec->kind();
    e.monoNs = std::chrono::duration_cast<std::chrono::nanoseconds>(
                   std::chrono::steady_clock::now().time_since_epoch())
                   .count();
    e.wallMs = QDateTime::currentMSecsSinceEpoch();
    e.bytes = bytes;
    e.note = note;
    emit frameEvent(e);
}

void DeviceLink::receiveSerial(const QByteArray& block) {
    // One frame per block: what follows a complete frame in the same block is not read.
    for (char ch : block) {
        switch (m_serialState) {
        case SerialState::AwaitColon:
            if (ch == ':') {
                m_serialFrame = ":";
                m_serialState = SerialState::InFrame;
            }
            break;
        case SerialState::InFrame:
            if (m_serialFrame.size() >= MaxSerialFrame) {
                // Longer than any reply: noise. Dropped; reception starts at the next colon.
                tap(FrameEvent::Dropped, m_serialFrame, "noise longer than any reply");
                m_serialFrame.clear();
                m_serialState = SerialState::AwaitColon;
                break;
            }
            m_serialFrame.append(ch);
            if (ch == '\r') m_serialState = SerialState::AwaitLineFeed;
            break;
        case SerialState::AwaitLineFeed:
            if (ch == '\n') {
                m_serialFrame.append(ch);
                m_serialState = SerialState::Complete;
            }
            break;
        case SerialState::Complete:
            break;
        }
    }
    if (m_serialState == SerialState::Complete) {
        m_serialState = SerialState::AwaitColon;
        serialFrameComplete();
    }
}

void DeviceLink::serialFrameComplete() {
    const QByteArray frame = m_serialFrame;
    if (ValidateAsciiFrame(frame, nullptr)) {
        m_serialAwaiting = false;
        tap(FrameEvent::Received, frame);
    } else {
        QByteArray body = frame.mid(1);
        while (body.endsWith('\n') || body.endsWith('\r'))
            body.chop(1);
        const bool hex = body.size() >= 6 && body.size() % 2 == 0 &&
                         QByteArray::fromHex(body).size() * 2 == body.size();
        tap(FrameEvent::Dropped, frame, hex ? "LRC wrong" : "not a frame");
    }
    trace("Receive >> " + frame);
    if (const auto reply = SerialCodec::reply(frame)) emit replyReceived(*reply);
}

void DeviceLink::exchangeFinished(const TcpRequest& request, const QByteArray& block,
                                  bool complete) {
    if (!complete) {
        tap(FrameEvent::TimeOut, request.frame,
            QString("no complete reply to transaction %1").arg(request.transactionId));
        emit exchangeFailed(request.function);
        return;
    }
    if (block.size() >= 2 && (uchar(block[0]) << 8 | uchar(block[1])) != request.transactionId)
        tap(FrameEvent::Dropped, block,
            QString("transaction id %1 expected %2")
                .arg(uchar(block[0]) << 8 | uchar(block[1]))
                .arg(request.transactionId));
    else
        tap(FrameEvent::Received, block);
    const auto reply = TcpCodec::reply(request, block);
    if (!reply) return;
    if (request.function == Fn::AlarmCount || request.function == Fn::AlarmRecord) {
        const QByteArray text = block.mid(1);
        trace("TcpStr >> " + text + " [" + BytesToHex(text) + "]");
    }
    emit replyReceived(*reply);
}

} // namespace quma
