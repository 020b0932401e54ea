// Reads a data-log file this console wrote (header blocks, data lines and "[al]" alarm lines)
// back into trend samples. Lines that do not parse are skipped and counted, never guessed.
#pragma once

#include "core/trend/TrendStore.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <memory>

namespace quma {

struct DataLogRead {
    std::shared_ptr<TrendStore> store; // null when the file is not a data log
    int samples = 0;
    int alarmLines = 0;
    int skipped = 0;            // lines with bad fields
    QList<int> skippedLines;    // their numbers (1-based), the first few
    bool truncatedLast = false; // the file ends inside a line: that line is left out
    QString error;              // why nothing was read
    // What the user should be told: counts, skipped lines, a truncated end.
    QString summary() const;
};

DataLogRead ReadDataLog(const QByteArray& text);
DataLogRead ReadDataLogFile(const QString& path);

} // namespace quma
