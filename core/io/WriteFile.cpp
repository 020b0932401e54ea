// Writing a file the user asked for: whole or not at all, and a failure reported as one.
#include "core/io/WriteFile.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <QTemporaryFile>
#include <cerrno>
#include <cstdio>
#include <cstring>

namespace quma {

namespace {
QString reason(const QString& path, const QString& why) {
    return QString("%1: %2").arg(QDir::toNativeSeparators(path), why);
}
} // namespace

bool WriteWholeFile(const QString& path, const QByteArray& bytes, QString* error) {
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        if (error) *error = reason(path, f.errorString());
        return false;
    }
    qint64 done = 0;
    while (done < bytes.size()) {
        const qint64 n = f.write(bytes.constData() + done, bytes.size() - done);
        if (n <= 0) {
            if (error) *error = reason(path, f.errorString());
            f.cancelWriting();
            return false;
        }
        done += n;
    }
    if (!f.commit()) {
        if (error) *error = reason(path, f.errorString());
        return false;
    }
    return true;
}

bool WriteWholeFileByName(
    const QString& path,
    const std::function<bool(const QString& tempPath, QString* error)>& produce, QString* error) {
    // A free name beside the target, on the same file system, so the rename is atomic.
    QString temp;
    {
        QTemporaryFile reserve(QFileInfo(path).absolutePath() + "/." + QFileInfo(path).fileName() +
                               ".XXXXXX");
        if (!reserve.open()) {
            if (error) *error = reason(path, reserve.errorString());
            return false;
        }
        reserve.setAutoRemove(false);
        temp = reserve.fileName();
    }
    QString why;
    if (!produce(temp, &why)) {
        QFile::remove(temp);
        if (error) *error = reason(path, why);
        return false;
    }
    if (std::rename(QFile::encodeName(temp).constData(), QFile::encodeName(path).constData()) !=
        0) {
        const QString system = QString::fromLocal8Bit(std::strerror(errno));
        QFile::remove(temp);
        if (error) *error = reason(path, system);
        return false;
    }
    return true;
}

bool OpenAppendFile(QFile& file, const QString& path, QIODevice::OpenMode extra, QString* error) {
    file.setFileName(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered | extra)) {
        if (error) *error = reason(path, file.errorString());
        return false;
    }
    return true;
}

bool AppendToFile(QFile& file, const QByteArray& bytes, QString* error) {
    qint64 done = 0;
    while (done < bytes.size()) {
        const qint64 n = file.write(bytes.constData() + done, bytes.size() - done);
        if (n <= 0) {
            if (error) *error = reason(file.fileName(), file.errorString());
            return false;
        }
        done += n;
    }
    return true;
}

} // namespace quma
