// CSV that spreadsheet programs open anywhere: UTF-8 with a byte-order mark (so Korean shows),
// fields quoted as RFC 4180 asks (a field with a comma, a quote or a line break is put in
// quotes, its quotes doubled), lines ended by CRLF.
#pragma once

#include <QFile>
#include <QList>
#include <QStringList>

namespace quma {

inline constexpr char kUtf8Bom[] = "\xEF\xBB\xBF";

QByteArray CsvField(const QString& field);
QByteArray CsvLine(const QStringList& fields);
// The whole file at once, written whole or not at all (an existing file stays on failure).
bool WriteCsvFile(const QString& path, const QList<QStringList>& rows, QString* error);

// A file that grows a row at a time and can run for days: each row reaches the disk before
// appendRow returns, and a failed write is reported, never dropped silently.
class CsvAppender {
public:
    // Creates (or empties) the file and writes the BOM and the header row.
    bool open(const QString& path, const QStringList& header, QString* error);
    bool appendRow(const QStringList& fields, QString* error);

private:
    QFile m_file;
};

} // namespace quma
