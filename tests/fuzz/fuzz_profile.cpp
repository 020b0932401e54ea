// Fuzz target: the site profile reader.
// Properties: a file the reader accepts saves back to a file it accepts again and that saves to
// the same bytes (nothing is lost or changed by a round trip); an accepted file's network texts
// hold no control character.
#include "core/profile/ProfileCompare.h"
#include "core/profile/ProfileFile.h"
#include "core/profile/RestorePlan.h"
#include "tests/fuzz/FuzzSupport.h"

using namespace quma;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const ProfileLoad first = ProfileFromJson(bytes);
    if (!first.profile) {
        QUMA_FUZZ_CHECK(!first.error.isEmpty());
        return 0;
    }
    for (const QString& value : first.profile->network)
        for (const QChar c : value)
            QUMA_FUZZ_CHECK(c.category() != QChar::Other_Control);
    const QByteArray saved = ProfileToJson(*first.profile);
    const ProfileLoad second = ProfileFromJson(saved);
    QUMA_FUZZ_CHECK(second.profile.has_value());
    QUMA_FUZZ_CHECK(ProfileToJson(*second.profile) == saved);
    return 0;
}
