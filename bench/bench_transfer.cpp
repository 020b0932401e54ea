// Benchmarks: a 2000-record alarm-history transfer over loopback TCP and a pseudo-terminal, and
// the cost of decoding one poll reply on each link.
#include "bench/BenchLink.h"
#include "core/monitor/LinkSession.h"
#include "core/monitor/MonitorEngine.h"
#include "sim/SimServer.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTest>
#include <cstdio>

using namespace quma;

namespace {

double transfer(LinkKind kind, int records, int paceBaud) {
    sim::SimOptions o;
    o.frozen = true;
    o.historySize = records;
    sim::SimServer sim(o);
    sim.paceBaud = paceBaud;
    MonitorEngine engine;
    engine.link().setTraceSink({});
    LinkSession session(engine);
    if (!ConnectToSimulator(kind, sim, session)) return -1;
    engine.setLiveTimers(true);
    QSignalSpy polled(&engine, &MonitorEngine::statusRefreshed);
    if (!polled.wait(5000)) return -1;
    QSignalSpy done(&engine, &MonitorEngine::transferCompleted);
    engine.OpenTransfer(TransferKind::Alarm);
    QElapsedTimer t;
    t.start();
    while (!engine.RequestStartTick()) {
    }
    if (!done.wait(600000)) return -1;
    const double s = t.elapsed() / 1000.0;
    if (engine.transfer().rows.size() != records + 1) return -1;
    return records / s;
}

// Hands the link blocks as if an exchange had read them.
struct ReplayTcp : ITcpTransport {
    bool isConnected() const override { return true; }
    void reconnect() override {}
    void exchange(const TcpRequest&) override {}
    bool isQueued(std::uint8_t) const override { return false; }
    void finish(const TcpRequest& r, const QByteArray& block) { deliver(r, block, true); }
};

void pollDecode() {
    sim::ControllerModel model;
    QByteArray serial = model.serialReply(QByteArray::fromHex("010400010083"));
    const QByteArray frame = AsciiFrame(BytesToHex(serial));
    MonitorEngine engine;
    engine.link().setTraceSink({});
    engine.link().setLinkKind(LinkKind::Serial);
    const int n = 20000;
    QElapsedTimer t;
    t.start();
    for (int i = 0; i < n; ++i)
        engine.link().receiveSerial(frame);
    const double serialUs = t.nsecsElapsed() / 1000.0 / n;

    TcpRequest req;
    req.function = Fn::ReadRegisters;
    req.transactionId = 7;
    const QByteArray block =
        TcpFrame(7, 0x04, *model.tcpReply(0x04, QByteArray::fromHex("00010083")));
    ReplayTcp tcp;
    engine.link().setTcpTransport(&tcp);
    engine.link().setLinkKind(LinkKind::Tcp);
    t.restart();
    for (int i = 0; i < n; ++i)
        tcp.finish(req, block);
    const double tcpUs = t.nsecsElapsed() / 1000.0 / n;
    std::printf("poll reply receive+validate+decode+refresh: serial %.1f us, tcp %.1f us\n",
                serialUs, tcpUs);
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const int records = argc > 1 ? std::atoi(argv[1]) : 2000;
    pollDecode();
    std::printf("alarm history, %d records, loopback TCP: %.0f records/s\n", records,
                transfer(LinkKind::Tcp, records, 0));
    std::printf("alarm history, %d records, pseudo-terminal (unpaced): %.0f records/s\n", records,
                transfer(LinkKind::Serial, records, 0));
    // The wire limit: each record is one page request and its reply, 10 bits a byte.
    sim::ControllerModel model;
    const qsizetype request = AsciiFrame("01310000").size();
    const qsizetype reply =
        AsciiFrame(BytesToHex(model.serialReply(HexToBytes("01310000")))).size();
    const double limit = 115200.0 / 10 / double(request + reply);
    const int paced = std::min(records, 400);
    const double rate = transfer(LinkKind::Serial, paced, 115200);
    std::printf(
        "alarm history, %d records, pseudo-terminal paced at 115200 bit/s: %.1f records/s; "
        "the wire allows %.1f (%lld + %lld bytes a record): %.2f of the limit (goal >= 0.9, "
        "never above 1)\n",
        paced, rate, limit, static_cast<long long>(request), static_cast<long long>(reply),
        rate / limit);
    return 0;
}
