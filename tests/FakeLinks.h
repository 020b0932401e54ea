// Test doubles for the two transports and helpers that build controller replies.
#pragma once

#include "core/link/DeviceLink.h"
#include "core/link/FrameCodec.h"
#include "core/monitor/MonitorEngine.h"
#include "core/monitor/RegisterMap.h"

#include <QList>
#include <QPair>

namespace quma::test {

struct FakeSerial : ISerialTransport {
    QList<QByteArray> written;
    bool writeBytes(const QByteArray& bytes) override {
        written << bytes;
        return true;
    }
};

// Records every exchange; a test answers the oldest one with reply() or fail().
struct FakeTcp : ITcpTransport {
    bool connected = true;
    int reconnects = 0;
    QList<TcpRequest> sent;
    QList<TcpRequest> waiting;
    bool isConnected() const override { return connected; }
    void reconnect() override {
        ++reconnects;
        connected = true;
    }
    void exchange(const TcpRequest& r) override {
        sent << r;
        waiting << r;
    }
    bool isQueued(std::uint8_t) const override { return false; }
    void reply(const QByteArray& block) { deliver(waiting.takeFirst(), block, true); }
    void fail() { deliver(waiting.takeFirst(), {}, false); }
    // Ends an exchange that was never sent (a test that builds the request itself).
    void finish(const TcpRequest& r, const QByteArray& block, bool complete = true) {
        deliver(r, block, complete);
    }
};

inline QByteArray u16(int v) {
    QByteArray b;
    b.append(char((v >> 8) & 0xFF));
    b.append(char(v & 0xFF));
    return b;
}

// A controller's TCP reply to a request: same transaction id, the given function and data.
inline QByteArray TcpReplyTo(const TcpRequest& r, std::uint8_t function, const QByteArray& data) {
    return TcpFrame(r.transactionId, function, data);
}

// Register image as a serial poll reply (535 characters with CR LF removed) or TCP register data.
inline QByteArray SerialPollReply(const RegisterImage& img) {
    QByteArray body = "0104" + IntToHexN(2 * kRegisterCount, 4);
    for (int v : img.regs)
        body += IntToHexN(v, 4);
    return AsciiFrame(body);
}
inline QByteArray TcpPollData(const RegisterImage& img) {
    QByteArray d(1, char(0xFE));
    for (int v : img.regs)
        d += u16(v);
    return d;
}

inline RegisterImage SampleImage() {
    RegisterImage img;
    img.set(1, 2021);
    img.set(2, 12);
    img.set(3, 27);
    img.set(Reg::AcVolts, 2200);
    img.set(Reg::DcVolts, 545);
    img.set(Reg::LoadAmps, 0xFFF6);
    img.set(Reg::BattTemp, 1250);
    img.set(Reg::SystemType, 4);
    img.set(Reg::BattInstalled, 1);
    img.set(Reg::SetVolts, 5450);
    return img;
}

// An engine whose trace lines are collected instead of printed.
struct EngineRig {
    MonitorEngine engine;
    FakeSerial serial;
    FakeTcp tcp;
    QList<QByteArray> traces;
    QList<QPair<MessageKind, QString>> messages;
    explicit EngineRig(LinkKind kind) {
        engine.link().setSerialTransport(&serial);
        engine.link().setTcpTransport(&tcp);
        engine.link().setTraceSink([this](const QByteArray& l) { traces << l; });
        QObject::connect(&engine, &MonitorEngine::userMessage,
                         [this](MessageKind k, const QString& t) {
                             messages.append({k, t});
                         });
        engine.startPolling(kind);
    }
    QStringList messageTexts() const {
        QStringList out;
        for (const auto& m : messages)
            out << m.second;
        return out;
    }
};

} // namespace quma::test
