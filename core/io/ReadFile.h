// Reading a whole file the user named, with the reason in words when it cannot be read.
#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

namespace quma {

// The file's bytes; nullopt with "path: reason" when it cannot be opened or is larger than
// maxBytes (a negative maxBytes: no limit). `what` names the kind of file in that reason.
std::optional<QByteArray> ReadWholeFile(const QString& path, qint64 maxBytes, const QString& what,
                                        QString* error);

} // namespace quma
