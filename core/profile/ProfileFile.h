// Site profiles: the JSON file.
#pragma once

#include "core/profile/SiteProfile.h"

namespace quma {

QByteArray ProfileToJson(const SiteProfile& profile);
// Reads a profile file's text. Refuses (with the field and the reason) anything that is not a
// whole profile of this format and a known version, a field that is unknown, repeated, on the
// wrong register or outside its range, and a value that disagrees with its raw register value.
struct ProfileLoad {
    std::optional<SiteProfile> profile;
    QString error;
};
ProfileLoad ProfileFromJson(const QByteArray& text);
ProfileLoad LoadProfileFile(const QString& path);
// Writes the file whole or not at all (an existing file stays as it was on failure).
bool SaveProfileFile(const QString& path, const SiteProfile& profile, QString* error);

} // namespace quma
