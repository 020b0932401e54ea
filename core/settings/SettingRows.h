// What the configuration dialogs write: their rows, ranges, scaling and the order of the writes,
// and the network identity record they send. No widgets here: the dialogs hand in what the user
// entered and get back the register writes or the reason to refuse.
#pragma once

#include "core/link/Request.h"
#include "core/monitor/RegisterMap.h"

#include <QList>
#include <QString>
#include <optional>

namespace quma {

enum class Scale { Integer, Tenths, Index, IndexPlus1 };

// One row of the set-point dialog, in the order the rows are queued.
struct SetPointRow {
    const char* check;
    const char* caption; // the row's name in messages (the check box caption)
    const char* entry;
    int reg;
    Scale scale;
    double min, max;
    const char* def; // "" when the default leaves the entry unchanged
};
const QList<SetPointRow>& SetPointRows();
// The output-voltage range: 42.0..60.0 in the test charge mode (register 64 = 3), else 43.0..56.0.
std::pair<double, double> OutputVoltageRange(int chargeModeRegister);
// The entry text a row shows for a register value.
QString SetPointEntryText(const SetPointRow& row, int value);

// What the user entered in one row: the text of an entry field or the list position (-1: none).
struct RowInput {
    bool checked = false;
    QString text;
    int index = -1;
};

// The writes of the checked rows in queue order, or the reason the first bad row is refused
// (naming the row and its range). The task-fail reset goes last (it is sent first).
struct WritePlan {
    QList<RegWrite> writes;
    QString error;
};
WritePlan PlanSetPoints(const QList<RowInput>& rows, bool taskFailReset, int chargeModeRegister);

// Decimal text to tenths, truncated toward zero without rounding (54.36 -> 543); nullopt when
// the text is not a plain decimal number.
std::optional<int> ParseTenths(const QString& text);
// What an entry shows once the user leaves it: a number outside lo..hi (a negative one too) is
// clamped into the range; nullopt leaves the text as it is (in range, or not a number).
std::optional<QString> ClampedEntryText(const SetPointRow& row, const QString& text, double lo,
                                        double hi);
std::optional<int> ParseInteger(const QString& text);

// Calibration rows: the reference readings as the masked fields show them ("220.0", "54.00").
struct CalibrationInput {
    bool checked[6] = {};
    QString text[6];
    bool acRowsShown = false;
};
WritePlan PlanCalibration(const CalibrationInput& in);

// The two words of an alarm set (contact definitions, alarm test) from the nine alarm boxes:
// box number n (1..32) stands for bit n-1 of the first word or n-17 of the second.
std::pair<int, int> AlarmWords(const QList<int>& checkedBoxNumbers);
bool AlarmBoxChecked(int boxNumber, int word1, int word2);
// The factory assignment of contact index 0, 2, ... 10 as box numbers.
QList<int> DefaultContactBoxes(int index);
// The nine alarm boxes shown, in form order, with their captions.
struct AlarmBox {
    int number;
    const char* caption;
};
const QList<AlarmBox>& ShownAlarmBoxes();

// Gregorian days of a month (29 February in years divisible by 4 and not by 100, or by 400).
int DaysInMonth(int year, int month);

// The clock writes: second queued first so that minute goes out first and second last.
// Refuses a date that does not exist or fields out of range.
WritePlan PlanClock(int year, int month, int day, int hour, int minute, int second);

// The network identity dialog's entries.
struct NetIdForm {
    bool ip = false, gateway = false, subnet = false, mac = false, hwVersion = false,
         serial = false, hwDescription = false, rectId = false, site = false;
    QStringList ipText, gatewayText, subnetText, hwVersionText; // 4 decimal entries each
    QStringList macText;                                        // 6 hex entries
    QString serialText, hwDescriptionText, rectIdText, siteText;
};
// The last network identity read: unchecked address rows take their parts from here.
struct NetIdPayload {
    QByteArray payload;
    QString error;
};
NetIdPayload BuildNetIdPayload(const NetIdForm& form, const NetworkIdentity* lastRead);

} // namespace quma
