// Reading a whole file the user named.
#include "core/io/ReadFile.h"

#include <QFile>

namespace quma {

std::optional<QByteArray> ReadWholeFile(const QString& path, qint64 maxBytes, const QString& what,
                                        QString* error) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        if (error) *error = QString("%1: %2").arg(path, f.errorString());
        return std::nullopt;
    }
    if (maxBytes >= 0 && f.size() > maxBytes) {
        if (error)
            *error = QString("%1: %2 bytes is larger than any %3 (at most %4)")
                         .arg(path)
                         .arg(f.size())
                         .arg(what)
                         .arg(maxBytes);
        return std::nullopt;
    }
    return f.readAll();
}

} // namespace quma
