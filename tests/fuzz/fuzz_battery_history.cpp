// Fuzz target: the battery test history reader.
// Properties: a history the reader accepts saves to one it accepts again and that saves to the
// same bytes; every accepted test can be judged and written out as text.
#include "core/battery/BatteryHistory.h"
#include "tests/fuzz/FuzzSupport.h"

using namespace quma;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    QString error;
    const auto first = BatteryHistory::FromJson(bytes, &error);
    if (!first) {
        QUMA_FUZZ_CHECK(!error.isEmpty());
        return 0;
    }
    const QByteArray saved = first->toJson();
    const auto second = BatteryHistory::FromJson(saved, &error);
    QUMA_FUZZ_CHECK(second.has_value());
    QUMA_FUZZ_CHECK(second->toJson() == saved);
    for (DischargeTest t : first->tests()) {
        JudgeTest(t, first->baseline(), first->latestComplete(), BatteryJudgement{});
        QUMA_FUZZ_CHECK(!DischargeTestLines(t).isEmpty());
        QUMA_FUZZ_CHECK(DischargeTableRow(t).size() == DischargeTableHeader().size());
    }
    return 0;
}
