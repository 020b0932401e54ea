// Fuzz target: every decoder of controller bytes (poll replies, network identity, counts, history
// and event records on both links) and the trace escaping.
// Properties: nothing reads past its input; a trace line holds only printable characters.
#include "core/history/TransferRecord.h"
#include "tests/fuzz/FuzzSupport.h"

using namespace quma;
using namespace quma::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    (void)DecodePollSerial(bytes);
    (void)DecodePollTcp(bytes);
    if (auto id = DecodeNetworkIdentity(bytes)) {
        QUMA_FUZZ_CHECK(id->siteInfoUtf8.size() <= 255);
        QUMA_FUZZ_CHECK(id->hwDescription.size() <= 255);
    }
    try {
        (void)DecodeCountSerial(bytes);
    } catch (const ConversionError&) {
    }
    (void)DecodeCountTcp(bytes);
    for (LinkKind link : {LinkKind::Serial, LinkKind::Tcp})
        for (TransferKind kind : {TransferKind::Alarm, TransferKind::Event}) {
            try {
                const QStringList cells = DecodeTransferRecord(bytes, link, kind, 1);
                QUMA_FUZZ_CHECK(!cells.isEmpty());
            } catch (const ConversionError&) {
                // a serial record that is not hex: the dispatch drops it
            }
        }
    AsciiReply reply;
    (void)ValidateAsciiFrame(bytes, &reply);
    const QByteArray trace = TraceText(bytes);
    for (qsizetype i = 0; i < trace.size(); ++i) {
        const auto c = static_cast<unsigned char>(trace[i]);
        const bool endOfFrame = i >= trace.size() - 2 && (c == '\r' || c == '\n');
        QUMA_FUZZ_CHECK(c >= 0x20 || endOfFrame);
        QUMA_FUZZ_CHECK(c != 0x7F);
    }
    QUMA_FUZZ_CHECK(QString::fromUtf8(trace).toUtf8() == trace); // well-formed UTF-8
    return 0;
}
