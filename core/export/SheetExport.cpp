// The spreadsheet export of a completed alarm-history or event-log table.
#include "core/export/SheetExport.h"

#include "core/io/WriteFile.h"

#include "core/link/FrameCodec.h"

#include <QDate>
#include <QDir>
#include <cerrno>
#include <cstring>
#include <xlsxwriter.h>

namespace quma {

QString ExportFileName(const QString& modelName, TransferKind kind, const QTime& now) {
    // The model name carries a leading blank on screen; a file name does not start with one.
    return modelName.trimmed() + (kind == TransferKind::Alarm ? "_ALARM_(" : "_EVENT_(") +
           PadZero(now.hour(), 2) + PadZero(now.minute(), 2) + PadZero(now.second(), 2) + ").xlsx";
}

QString ExportFileName(const QString& modelName, TransferKind kind, const QDateTime& now) {
    QString name = ExportFileName(modelName, kind, now.time());
    const int open = int(name.lastIndexOf('('));
    return name.insert(open + 1, now.date().toString("yyyyMMdd"));
}

QString ExportPath(const QString& typedName, const QString& generatedName, const QString& folder) {
    QString name = typedName.trimmed();
    if (name.isEmpty()) name = generatedName;
    if (!name.endsWith(".xlsx", Qt::CaseInsensitive)) name += ".xlsx";
    return QDir(folder).absoluteFilePath(name); // a typed absolute path stays as it is
}

int ExportColumnCount(TransferKind kind) {
    return kind == TransferKind::Alarm ? 15 : 11;
}

namespace {
// Column width in character units: a Korean (wide) character takes about two Latin ones.
double textWidth(const QString& s) {
    double w = 0;
    for (const QChar c : s)
        w += (c.unicode() >= 0x1100) ? 2.0 : 1.0;
    return w;
}

lxw_workbook* openWorkbook(const QString& path, QString* error) {
    lxw_workbook* wb = workbook_new(path.toUtf8().constData());
    if (!wb && error) *error = "cannot create the workbook";
    return wb;
}

// Writes the file; false with libxlsxwriter's reason (and the system's, when it gave one).
bool closeWorkbook(lxw_workbook* wb, QString* error) {
    errno = 0;
    const lxw_error rc = workbook_close(wb);
    if (rc != LXW_NO_ERROR) {
        if (error) {
            *error = QString::fromUtf8(lxw_strerror(rc));
            if (errno != 0) *error += " (" + QString::fromLocal8Bit(std::strerror(errno)) + ")";
        }
        return false;
    }
    return true;
}

bool writeHistorySheet(const QString& path, const QList<QStringList>& rows, TransferKind kind,
                       const QString& modelName, QString* error) {
    lxw_workbook* wb = openWorkbook(path, error);
    if (!wb) return false;
    lxw_worksheet* ws = workbook_add_worksheet(wb, nullptr);
    lxw_format* dateFormat = workbook_add_format(wb);
    format_set_num_format(dateFormat, "yyyy/mm/dd");

    const int columns = ExportColumnCount(kind);
    QList<double> widths(columns, 8.43);
    const auto put = [&](int row, int col, const QString& text, lxw_format* fmt) {
        if (text.isEmpty()) {
            if (fmt) worksheet_write_blank(ws, lxw_row_t(row), lxw_col_t(col), fmt);
            return;
        }
        worksheet_write_string(ws, lxw_row_t(row), lxw_col_t(col), text.toUtf8().constData(), fmt);
        if (col < columns) widths[col] = std::max(widths[col], textWidth(text) + 1.5);
    };

    const QString title = modelName + "Log Data";
    worksheet_write_string(ws, 0, 0, title.toUtf8().constData(), nullptr);
    const int n = int(rows.size()) - 1;
    // Table rows 0 (header) .. n + 1 (one past the last record, empty) go to sheet rows 2 ...
    for (int r = 0; r <= n + 1; ++r) {
        const QStringList cells = r < rows.size() ? rows[r] : QStringList();
        for (int c = 0; c < columns; ++c) {
            const QString text = cells.value(c);
            const int sheetRow = r + 1; // 0-based: sheet row r + 2
            if (c == 1 && r >= 1) {
                // Record dates as real dates; the empty rows still carry the date format.
                const QDate d = QDate::fromString(text, "yyyy-MM-dd");
                if (d.isValid()) {
                    lxw_datetime dt{d.year(), d.month(), d.day(), 0, 0, 0};
                    worksheet_write_datetime(ws, lxw_row_t(sheetRow), 1, &dt, dateFormat);
                    widths[1] = std::max(widths[1], 12.0);
                } else {
                    put(sheetRow, c, text, dateFormat);
                }
                continue;
            }
            put(sheetRow, c, text, nullptr);
        }
    }
    // The date format reaches one row further still: sheet row n + 4.
    worksheet_write_blank(ws, lxw_row_t(n + 3), 1, dateFormat);
    for (int c = 0; c < columns; ++c)
        worksheet_set_column(ws, lxw_col_t(c), lxw_col_t(c), std::min(widths[c], 80.0), nullptr);

    return closeWorkbook(wb, error);
}

bool writeTableSheet(const QString& path, const QString& title, const QList<QStringList>& rows,
                     const QList<bool>& marked, QString* error) {
    lxw_workbook* wb = openWorkbook(path, error);
    if (!wb) return false;
    lxw_worksheet* ws = workbook_add_worksheet(wb, nullptr);
    lxw_format* bold = workbook_add_format(wb);
    format_set_bold(bold);
    lxw_format* mark = workbook_add_format(wb);
    format_set_bg_color(mark, 0xFFD8D8);
    worksheet_write_string(ws, 0, 0, title.toUtf8().constData(), bold);
    QList<double> widths;
    for (int r = 0; r < rows.size(); ++r) {
        lxw_format* fmt = r == 0 ? bold : (marked.value(r) ? mark : nullptr);
        for (int c = 0; c < rows[r].size(); ++c) {
            const QString& text = rows[r][c];
            worksheet_write_string(ws, lxw_row_t(r + 1), lxw_col_t(c), text.toUtf8().constData(),
                                   fmt);
            if (widths.size() <= c) widths.resize(c + 1, 8.43);
            widths[c] = std::max(widths[c], textWidth(text) + 1.5);
        }
    }
    for (int c = 0; c < widths.size(); ++c)
        worksheet_set_column(ws, lxw_col_t(c), lxw_col_t(c), std::min(widths[c], 80.0), nullptr);
    return closeWorkbook(wb, error);
}

} // namespace

// The sheets are written under a temporary name beside the target and renamed into place.
bool WriteHistorySheet(const QString& path, const QList<QStringList>& rows, TransferKind kind,
                       const QString& modelName, QString* error) {
    return WriteWholeFileByName(
        path,
        [&](const QString& temp, QString* why) {
            return writeHistorySheet(temp, rows, kind, modelName, why);
        },
        error);
}

bool WriteTableSheet(const QString& path, const QString& title, const QList<QStringList>& rows,
                     const QList<bool>& marked, QString* error) {
    return WriteWholeFileByName(
        path,
        [&](const QString& temp, QString* why) {
            return writeTableSheet(temp, title, rows, marked, why);
        },
        error);
}

} // namespace quma
