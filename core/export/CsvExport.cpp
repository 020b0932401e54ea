// CSV that spreadsheet programs open anywhere.
#include "core/export/CsvExport.h"

#include "core/io/WriteFile.h"

namespace quma {

QByteArray CsvField(const QString& field) {
    QByteArray f = field.toUtf8();
    if (!f.contains(',') && !f.contains('"') && !f.contains('\n') && !f.contains('\r')) return f;
    f.replace("\"", "\"\"");
    return "\"" + f + "\"";
}

QByteArray CsvLine(const QStringList& fields) {
    QByteArray line;
    for (int i = 0; i < fields.size(); ++i) {
        if (i > 0) line += ',';
        line += CsvField(fields[i]);
    }
    return line + "\r\n";
}

bool WriteCsvFile(const QString& path, const QList<QStringList>& rows, QString* error) {
    QByteArray text(kUtf8Bom);
    for (const QStringList& row : rows)
        text += CsvLine(row);
    return WriteWholeFile(path, text, error);
}

bool CsvAppender::open(const QString& path, const QStringList& header, QString* error) {
    return OpenAppendFile(m_file, path, QIODevice::Truncate, error) &&
           AppendToFile(m_file, QByteArray(kUtf8Bom) + CsvLine(header), error);
}

bool CsvAppender::appendRow(const QStringList& fields, QString* error) {
    return AppendToFile(m_file, CsvLine(fields), error);
}

} // namespace quma
