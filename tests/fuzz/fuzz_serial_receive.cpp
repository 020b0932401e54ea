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
    // The function of the last reply the link handed on (-1: none since the last reset).
    int lastFunction = -1;
    qsizetype longestDrop = 0;
    Rig() {
        engine.link().setTraceSink({});
        engine.link().setSerialTransport(&sink);
        engine.link().setLinkKind(LinkKind::Serial);
        QObject::connect(&engine.link(), &DeviceLink::replyReceived,
                         [this](const Reply& r) { lastFunction = r.function; });
        QObject::connect(&engine.link(), &DeviceLink::frameEvent, [this](const FrameEvent& e) {
            if (e.kind == FrameEvent::Dropped) longestDrop = std::max(longestDrop, e.bytes.size());
        });
    }
};
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static Rig rig;
    MonitorEngine& engine = rig.engine;
    DeviceLink& link = engine.link();
    link.resetReceive();
    engine.CancelWrites();
    engine.setCommandKind(RectMode::Poll);

    // The first byte sets the chunk size, the rest is the stream.
    const std::size_t chunk = size > 0 ? 1 + data[0] % 64 : 1;
    for (std::size_t at = 1; at < size; at += chunk) {
        const RegisterImage before = engine.image();
        const QByteArray block(reinterpret_cast<const char*>(data + at),
                               qsizetype(std::min(chunk, size - at)));
        rig.lastFunction = -1;
        link.receiveSerial(block);
        QUMA_FUZZ_CHECK(rig.longestDrop <= DeviceLink::MaxSerialFrame + 2);
        // Only a valid poll reply changes the image.
        if (!SameImage(before, engine.image()))
            QUMA_FUZZ_CHECK(rig.lastFunction == Fn::ReadRegisters);
    }

    // Recovery: whatever came before, a good reply after a fresh start of reception decodes.
    link.receiveSerial(QByteArray(DeviceLink::MaxSerialFrame + 8, 'x'));
    link.resetReceive();
    engine.setCommandKind(RectMode::Poll);
    const RegisterImage known = KnownImage();
    link.receiveSerial(SerialPollFrame(known));
    QUMA_FUZZ_CHECK(SameImage(engine.image(), known));
    return 0;
}
