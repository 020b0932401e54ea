// Fuzz target: the serial receive path, fed arbitrary bytes in arbitrary chunks through
// reassembly, validation and dispatch into an engine.
// Properties: the receive buffer never exceeds one frame's bound; a frame that fails validation
// never changes the register image; after any garbage a good poll reply is decoded.
#include "tests/fuzz/FuzzSupport.h"

using namespace quma;
using namespace quma::fuzz;

namespace {
// One engine for the whole run (building one per input would halve the speed); every input starts
// from a fresh receive state and a poll kind.
struct Rig {
    MonitorEngine engine;
    SerialSink sink;
    Rig() {
        engine.link().setTraceSink({});
        engine.link().setSerialTransport(&sink);
        engine.link().setLinkKind(LinkKind::Serial);
    }
};
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static Rig rig;
    MonitorEngine& engine = rig.engine;
    DeviceLink& link = engine.link();
    link.ResetReceive();
    link.replyBuffer.clear();
    link.pending.count = 0;
    link.rectMode = RectMode::Poll;

    // The first byte sets the chunk size, the rest is the stream.
    const std::size_t chunk = size > 0 ? 1 + data[0] % 64 : 1;
    for (std::size_t at = 1; at < size; at += chunk) {
        const RegisterImage before = engine.image();
        const QByteArray block(reinterpret_cast<const char*>(data + at),
                               qsizetype(std::min(chunk, size - at)));
        const bool pending = link.replyPending;
        link.SerialReceive(block);
        QUMA_FUZZ_CHECK(link.replyBuffer.size() <= DeviceLink::MaxSerialFrame + 2);
        // A frame handed over this time that does not validate leaves the image alone.
        if (!pending && !SameImage(before, engine.image())) {
            AsciiReply reply;
            QUMA_FUZZ_CHECK(ValidateAsciiFrame(link.serialReply, &reply));
            QUMA_FUZZ_CHECK(reply.function == "04");
        }
    }

    // Recovery: whatever came before, a good reply after a fresh start of reception decodes.
    link.replyPending = false;
    link.SerialReceive(QByteArray(DeviceLink::MaxSerialFrame + 8, 'x'));
    link.ResetReceive();
    link.rectMode = RectMode::Poll;
    const RegisterImage known = KnownImage();
    link.SerialReceive(SerialPollFrame(known));
    QUMA_FUZZ_CHECK(SameImage(engine.image(), known));
    return 0;
}
