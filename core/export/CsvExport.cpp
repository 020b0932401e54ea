// CSV that spreadsheet programs open anywhere.
#include "core/export/CsvExport.h"

#include <QSaveFile>

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
    QSaveFile f(path);
    QByteArray text(kUtf8Bom);
    for (const QStringList& row : rows)
        text += CsvLine(row);
    if (!f.open(QIODevice::WriteOnly) || f.write(text) != text.size() || !f.commit()) {
        if (error) *error = QString("%1: %2").arg(path, f.errorString());
        return false;
    }
    return true;
}

bool CsvAppender::open(const QString& path, const QStringList& header, QString* error) {
    m_file.setFileName(path);
    if (!m_file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        if (error) *error = QString("%1: %2").arg(path, m_file.errorString());
        return false;
    }
    const QByteArray first = QByteArray(kUtf8Bom) + CsvLine(header);
    if (m_file.write(first) != first.size() || !m_file.flush()) {
        if (error) *error = QString("%1: %2").arg(path, m_file.errorString());
        return false;
    }
    return true;
}

bool CsvAppender::appendRow(const QStringList& fields, QString* error) {
    const QByteArray line = CsvLine(fields);
    if (m_file.write(line) != line.size() || !m_file.flush()) {
        if (error) *error = QString("%1: %2").arg(m_file.fileName(), m_file.errorString());
        return false;
    }
    return true;
}

} // namespace quma
