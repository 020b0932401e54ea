// The spreadsheet export of a completed alarm-history or event-log table.
#pragma once

#include "core/link/DeviceLink.h"

#include <QDateTime>
#include <QList>
#include <QStringList>

namespace quma {

// Model name + "_ALARM_(" or "_EVENT_(" + hhmmss + ").xlsx".
QString ExportFileName(const QString& modelName, TransferKind kind, const QTime& now);
// The same name with the date before the time: "_ALARM_(yyyyMMddhhmmss).xlsx", the name a
// file chooser proposes.
QString ExportFileName(const QString& modelName, TransferKind kind, const QDateTime& now);
// Where an export goes: the typed name when there is one (in `folder` unless it holds a path;
// ".xlsx" added when missing), else the generated name in `folder`.
QString ExportPath(const QString& typedName, const QString& generatedName, const QString& folder);
// Columns copied: 15 for the alarm history, 11 for the event log (the last ones empty).
int ExportColumnCount(TransferKind kind);

// Writes the sheet: the title in row 1, the header in row 2, records from row 3, one empty row
// after them; column 2 holds real dates shown as yyyy/mm/dd; columns sized to their text.
// rows[0] is the header; rows[1..n] the records. False with a reason when the file could not be
// written.
bool WriteHistorySheet(const QString& path, const QList<QStringList>& rows, TransferKind kind,
                       const QString& modelName, QString* error);

// A plain table: the title in row 1, the header (rows[0], bold) in row 2, the rows below it;
// rows whose `marked` entry is true get a highlighted background. Columns sized to their text.
bool WriteTableSheet(const QString& path, const QString& title, const QList<QStringList>& rows,
                     const QList<bool>& marked, QString* error);

} // namespace quma
