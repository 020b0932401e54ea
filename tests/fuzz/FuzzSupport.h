// What the fuzz targets share: a Qt application object, an engine on fake transports, and
// known-good controller replies to check recovery with.
#pragma once

#include "core/link/DeviceLink.h"
#include "core/link/FrameCodec.h"
#include "core/monitor/MonitorEngine.h"
#include "core/monitor/RegisterMap.h"

#include <QCoreApplication>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace quma::fuzz {

// A property that does not hold is a finding: libFuzzer keeps the input that broke it.
#define QUMA_FUZZ_CHECK(cond)                                                                      \
    do {                                                                                           \
        if (!(cond)) {                                                                             \
            std::fprintf(stderr, "property failed: %s (%s:%d)\n", #cond, __FILE__, __LINE__);      \
            std::abort();                                                                          \
        }                                                                                          \
    } while (0)

inline void startApplication() {
    static int argc = 1;
    static char name[] = "quma-fuzz";
    static char* argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv);
}

struct SerialSink : ISerialTransport {
    bool writeBytes(const QByteArray&) override { return true; }
};

struct TcpSink : ITcpTransport {
    TcpRequest last;
    bool isConnected() const override { return true; }
    void reconnect() override {}
    void exchange(const TcpRequest& r) override { last = r; }
    bool isQueued(std::uint8_t) const override { return false; }
    void reply(const QByteArray& block) { deliver(last, block, true); }
};

// A register image every field of which differs from a fresh one.
inline RegisterImage KnownImage() {
    RegisterImage img;
    for (int r = 0; r < kRegisterCount; ++r)
        img.regs[r] = (r * 7919 + 13) & 0xFFFF;
    return img;
}

inline QByteArray SerialPollFrame(const RegisterImage& img) {
    QByteArray body = "0104" + IntToHexN(2 * kRegisterCount, 4);
    for (int v : img.regs)
        body += IntToHexN(v, 4);
    return AsciiFrame(body);
}

inline QByteArray TcpPollReply(std::uint16_t tid, const RegisterImage& img) {
    QByteArray data(1, char(0xFE));
    for (int v : img.regs) {
        data.append(char(v >> 8));
        data.append(char(v & 0xFF));
    }
    return TcpFrame(tid, Fn::ReadRegisters, data);
}

inline bool SameImage(const RegisterImage& a, const RegisterImage& b) {
    return a.regs == b.regs;
}

} // namespace quma::fuzz

// Every target is its own program: the engine's objects need a Qt application first.
extern "C" int LLVMFuzzerInitialize(int*, char***) {
    quma::fuzz::startApplication();
    return 0;
}
