// Writing a file the user asked for: whole or not at all, and a failure reported as one.
#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <functional>

namespace quma {

// Writes `bytes` to `path` through a temporary file beside it that is renamed into place. The
// bytes go to the system without a buffer in between, so a full disk is met at the write (Qt 6.4's
// QSaveFile otherwise loses that error in its final flush and renames a short file into place).
// False with "path: the system's reason" in *error; then whatever was at `path` is unchanged and
// no temporary file is left.
bool WriteWholeFile(const QString& path, const QByteArray& bytes, QString* error);

// The same for a library that writes a file by its name (libxlsxwriter): `produce` writes to the
// temporary name it is given and returns false (with its reason) when it could not.
bool WriteWholeFileByName(
    const QString& path,
    const std::function<bool(const QString& tempPath, QString* error)>& produce, QString* error);

// Opens a file that grows a line at a time (recordings, watch --csv): unbuffered, so that each
// write reaches the system at once and its failure carries the system's reason.
bool OpenAppendFile(QFile& file, const QString& path, QIODevice::OpenMode extra, QString* error);
// Appends one piece; false with "path: reason" when the system did not take all of it.
bool AppendToFile(QFile& file, const QByteArray& bytes, QString* error);

} // namespace quma
