// Alarm-history and event-log records: their layouts, texts and the table rows they decode into.
#pragma once

#include "core/link/Request.h"

#include <QStringList>

namespace quma {

QStringList AlarmHistoryHeader();
QStringList EventLogHeader();
QList<int> AlarmHistoryColumnWidths();
QList<int> EventLogColumnWidths();

// Alarm text of an alarm-history record; " Recov" is appended when the occurrence flag is 0.
QString AlarmCodeText(int code, int occurrence);
// Event text and value text of an event-log record.
QString EventText(int code);
QString EventValueText(int code, int value);

// Decodes one page reply into the cells of its table row (15 for alarms, 5 for events).
// Serial: the validated reply text; TCP: the bytes after the function code. Missing trailing
// fields read as 0.
QStringList DecodeTransferRecord(const QByteArray& replyText, LinkKind link, TransferKind kind,
                                 int recordIndex);

} // namespace quma
