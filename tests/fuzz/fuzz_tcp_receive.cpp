// Fuzz target: the TCP receive path. Arbitrary bytes stand in front of and around the awaited
// reply; the assembler picks the block, the receive path and the dispatch decode it.
// Properties: the assembler never holds more than one block, and a block it completes starts with
// the awaited transaction; a block of another transaction never changes the register image; a
// good reply after any garbage is decoded.
#include "core/link/TcpClient.h"
#include "tests/fuzz/FuzzSupport.h"

using namespace quma;
using namespace quma::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) return 0;
    const std::uint16_t tid = std::uint16_t((data[0] << 8) | data[1]);
    const QByteArray stream(reinterpret_cast<const char*>(data + 2), qsizetype(size - 2));
    const int replyBytes = 2 * kRegisterCount + 9;

    // Assembler alone, fed the stream in one piece: bounded and aligned.
    TcpReplyAssembler assembler;
    assembler.start(tid, replyBytes);
    assembler.feed(stream.constData(), stream.size());
    QUMA_FUZZ_CHECK(assembler.block().size() <= replyBytes);
    if (assembler.complete()) {
        QUMA_FUZZ_CHECK(uchar(assembler.block()[0]) == (tid >> 8));
        QUMA_FUZZ_CHECK(uchar(assembler.block()[1]) == (tid & 0xFF));
    }

    // The raw stream handed to the receive path as if it were the block of an exchange.
    MonitorEngine engine;
    TcpSink tcp;
    engine.link().setTraceSink({});
    engine.link().setTcpTransport(&tcp);
    engine.link().setLinkKind(LinkKind::Tcp);
    engine.setCommandKind(RectMode::Poll);
    engine.link().setNextTransactionId(tid);
    engine.Timer1Timer(); // sends the poll with transaction id tid
    QUMA_FUZZ_CHECK(tcp.last.transactionId == tid);
    const RegisterImage before = engine.image();
    tcp.reply(stream);
    const bool ours =
        stream.size() >= 2 && uchar(stream[0]) == (tid >> 8) && uchar(stream[1]) == (tid & 0xFF);
    if (!ours) QUMA_FUZZ_CHECK(SameImage(before, engine.image()));

    // Recovery: the stream first, then the good reply, through the assembler.
    const RegisterImage known = KnownImage();
    engine.setCommandKind(RectMode::Poll);
    engine.Timer1Timer();
    engine.Timer1Timer();
    engine.Timer1Timer();
    const std::uint16_t next = tcp.last.transactionId;
    assembler.start(next, replyBytes);
    const QByteArray good = TcpPollReply(next, known);
    // Garbage that happens to hold a whole reply of this transaction may legitimately win.
    assembler.feed(stream.constData(), stream.size());
    if (!assembler.complete()) {
        assembler.feed(good.constData(), good.size());
        if (assembler.complete() && assembler.block() == good) {
            tcp.reply(assembler.block());
            QUMA_FUZZ_CHECK(SameImage(engine.image(), known));
        }
    }
    return 0;
}
