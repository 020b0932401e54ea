// What the configuration dialogs write: their rows, ranges, scaling and the order of the writes,
// and the network identity record they send.
#include "core/settings/SettingRows.h"

#include <QCoreApplication>

#include "core/monitor/Formatters.h"
#include "core/settings/SettingRegisters.h"

#include <QDate>
#include <QRegularExpression>
#include <algorithm>

namespace quma {

const QList<SetPointRow>& SetPointRows() {
    // The dialog's controls for each register, in the dialog's order; the register table gives
    // the name, the range and the default.
    static const struct {
        const char* check;
        const char* entry;
        int reg;
        Scale scale;
    } controls[] = {
        {"ckbACUV", "mskACUV", Reg::AcUndervoltAlarm, Scale::Integer},
        {"ckbACOV", "mskACOV", Reg::AcOvervoltAlarm, Scale::Integer},
        {"ckbDCUV", "mskDCUV", Reg::DcUndervoltAlarm, Scale::Tenths},
        {"ckbDCOV", "mskDCOV", Reg::DcOvervoltAlarm, Scale::Tenths},
        {"ckbBLV", "mskBLV", Reg::BattLowVoltAlarm, Scale::Tenths},
        {"ckbDCOC", "mskDCOC", Reg::DcOvercurrentAlarm, Scale::Integer},
        {"ckbROT", "mskROT", Reg::RackCutoffTemp, Scale::Tenths},
        {"ckbFLV", "mskFLV", Reg::OutputVolts, Scale::Tenths},
        {"ckbCHLimit", "mskCHLimit", Reg::ChargeLimit, Scale::Tenths},
        {"ckbCH_Mode", "cbbCH_Mode", Reg::ChargeMode, Scale::IndexPlus1},
        {"ckbOvpFG", "cbbOvpFG", Reg::OutputOvervoltState, Scale::Index},
        {"ckbBattUse", "cbbBattUse", Reg::BattInstalled, Scale::Index},
        {"ckbBattTemp", "cbbBattTemp", Reg::BattTempSensor, Scale::Index},
        {"ckbBTP", "cbbBTP", Reg::TestPeriod, Scale::Index},
        {"ckbTSM", "mskTSM", Reg::TestStartMonth, Scale::Integer},
        {"ckbTSD", "mskTSD", Reg::TestStartDay, Scale::Integer},
        {"ckbTSH", "mskTSH", Reg::TestStartHour, Scale::Integer},
        {"ckbBTV", "mskBTV", Reg::TestEndVolts, Scale::Tenths},
        {"ckbBTT", "mskBTT", Reg::TestMinutes, Scale::Integer},
        {"ckbBMT", "cbbBMT", Reg::ForcedTest, Scale::IndexPlus1},
        {"ckbLiBattCHLimit", "mskLiBattCHLimit", Reg::LiChargeLimit, Scale::Tenths},
        {"ckbOVP", "mskOVP", Reg::DcCutoffVolts, Scale::Tenths},
        {"ckbLiBattLVD", "mskLiBattLVD", Reg::LiCutoffVolts, Scale::Tenths},
    };
    static const QList<SetPointRow> rows = [] {
        QList<SetPointRow> out;
        for (const auto& c : controls) {
            const SettingRegister& r = *FindSettingRegister(c.reg);
            // The range as the row shows it: tenths as decimals, list rows as positions.
            const double scale = c.scale == Scale::Tenths ? 10.0 : 1.0;
            const int offset = c.scale == Scale::IndexPlus1 ? 1 : 0;
            out.append({c.check, r.caption, c.entry, c.reg, c.scale, (r.rawMin - offset) / scale,
                        (r.rawMax - offset) / scale, r.defaultText});
        }
        return out;
    }();
    return rows;
}

std::pair<double, double> OutputVoltageRange(int chargeModeRegister) {
    // The test charge mode (3) widens the output-voltage range.
    if (chargeModeRegister == 3) return {42.0, 60.0};
    const SettingRegister& r = *FindSettingRegister(Reg::OutputVolts);
    return {r.rawMin / 10.0, r.rawMax / 10.0};
}

QString SetPointEntryText(const SetPointRow& row, int value) {
    if (row.scale != Scale::Tenths) return QString::number(value);
    // The charge-current limits show 0 (off) as a plain 0.
    if (value == 0 && (row.reg == Reg::ChargeLimit || row.reg == Reg::LiChargeLimit)) return "0";
    return FormatTenths(value);
}

std::optional<int> ParseTenths(const QString& text) {
    static const QRegularExpression re("^\\s*(\\d{1,5})(?:\\.(\\d*))?\\s*$");
    const auto m = re.match(text);
    if (!m.hasMatch()) return std::nullopt;
    const int whole = m.captured(1).toInt();
    const QString frac = m.captured(2);
    return whole * 10 + (frac.isEmpty() ? 0 : frac[0].digitValue());
}

std::optional<int> ParseInteger(const QString& text) {
    bool ok = false;
    const int v = text.trimmed().toInt(&ok);
    return ok ? std::optional<int>(v) : std::nullopt;
}

std::optional<QString> ClampedEntryText(const SetPointRow& row, const QString& text, double lo,
                                        double hi) {
    const bool integer = row.scale == Scale::Integer;
    const auto parse = [integer](const QString& t) {
        return integer ? ParseInteger(t) : ParseTenths(t);
    };
    const QString trimmed = text.trimmed();
    std::optional<int> v = parse(trimmed);
    // A negative number: below every range these rows have.
    if (!v && trimmed.startsWith('-') && parse(trimmed.mid(1))) v = -*parse(trimmed.mid(1));
    if (!v) return std::nullopt; // not a number: OK refuses it with a message
    const double shown = integer ? *v : *v / 10.0;
    const double clamped = std::clamp(shown, lo, hi);
    if (clamped == shown) return std::nullopt;
    return integer ? QString::number(int(clamped))
                   : SetPointEntryText(row, int(clamped * 10 + 0.5));
}

namespace {
QString rangeText(const SetPointRow& row, double min, double max) {
    if (row.scale == Scale::Tenths &&
        !(row.reg == Reg::LiChargeLimit || row.reg == Reg::ChargeLimit))
        return QString("%1 ~ %2").arg(min, 0, 'f', 1).arg(max, 0, 'f', 1);
    return QString("%1 ~ %2").arg(min).arg(max);
}
} // namespace

WritePlan PlanSetPoints(const QList<RowInput>& inputs, bool taskFailReset, int chargeModeRegister) {
    WritePlan plan;
    const QList<SetPointRow>& rows = SetPointRows();
    for (int i = 0; i < rows.size() && i < inputs.size(); ++i) {
        const SetPointRow& row = rows[i];
        const RowInput& in = inputs[i];
        if (!in.checked) continue;
        double min = row.min, max = row.max;
        if (row.reg == Reg::OutputVolts)
            std::tie(min, max) = OutputVoltageRange(chargeModeRegister);
        const QString name = QCoreApplication::translate("Settings", row.caption);
        int value = 0;
        switch (row.scale) {
        case Scale::Index:
        case Scale::IndexPlus1:
            // The charge mode writes 0 when its register showed no item; other lists refuse.
            if (in.index < 0 && row.reg != 64) {
                plan.error =
                    QCoreApplication::translate("Settings", "%1: choose an item from the list.")
                        .arg(name);
                return plan;
            }
            value = row.scale == Scale::IndexPlus1 ? std::max(in.index, -1) + 1 : in.index;
            break;
        case Scale::Integer:
        case Scale::Tenths: {
            const auto v =
                row.scale == Scale::Integer ? ParseInteger(in.text) : ParseTenths(in.text);
            const double shown =
                row.scale == Scale::Integer ? double(v.value_or(0)) : v.value_or(0) / 10.0;
            if (!v && row.scale == Scale::Integer && ParseTenths(in.text)) {
                plan.error =
                    QCoreApplication::translate("Settings", "%1: '%2' is not a whole number (%3).")
                        .arg(name, in.text.trimmed(), rangeText(row, min, max));
                return plan;
            }
            if (!v || shown < min - 1e-9 || shown > max + 1e-9) {
                plan.error = QCoreApplication::translate("Settings", "%1: '%2' is not within %3.")
                                 .arg(name, in.text.trimmed(), rangeText(row, min, max));
                return plan;
            }
            value = *v;
            break;
        }
        }
        plan.writes.append({row.reg, value});
    }
    if (taskFailReset) plan.writes.append({31, 255});
    return plan;
}

WritePlan PlanCalibration(const CalibrationInput& in) {
    // Register, whether zero is written, whether the digits are multiplied by 10.
    static const struct {
        int reg;
        bool zeroWritten;
        bool times10;
        const char* name;
    } kRows[6] = {{48, false, false, QT_TRANSLATE_NOOP("Settings", "AC 전압")},
                  {49, false, false, QT_TRANSLATE_NOOP("Settings", "AC 전류")},
                  {50, false, true, QT_TRANSLATE_NOOP("Settings", "DC 전압")},
                  {51, true, true, QT_TRANSLATE_NOOP("Settings", "DC 전류")},
                  {52, true, true, QT_TRANSLATE_NOOP("Settings", "Battery 전류 (+)")},
                  {53, true, true, QT_TRANSLATE_NOOP("Settings", "Battery 전류 (-)")}};
    WritePlan plan;
    for (int i = 0; i < 6; ++i) {
        if (!in.checked[i] || (i < 2 && !in.acRowsShown)) continue;
        // The mask's point is not part of the value: "54.00" is the digits 5400.
        QString digits = in.text[i];
        digits.remove('.');
        digits = digits.trimmed();
        bool ok = !digits.isEmpty();
        for (const QChar c : digits)
            ok = ok && c.isDigit();
        if (!ok) {
            plan.error =
                QCoreApplication::translate("Settings", "%1: '%2' is not a number.")
                    .arg(QCoreApplication::translate("Settings", kRows[i].name), in.text[i]);
            return plan;
        }
        // A register holds 0..65535: the digits are checked against it before any arithmetic.
        const int factor = kRows[i].times10 ? 10 : 1;
        const int maxDigits = 0xFFFF / factor;
        qsizetype lead = 0; // leading zeros do not count toward the length
        while (lead + 1 < digits.size() && digits[lead] == '0')
            ++lead;
        const QString significant = digits.mid(lead);
        const qint64 parsed =
            significant.size() > 5 ? qint64(maxDigits) + 1 : significant.toLongLong();
        if (parsed > maxDigits) {
            plan.error =
                QCoreApplication::translate("Settings", "%1: '%2' is not within 00.00 ~ %3.")
                    .arg(QCoreApplication::translate("Settings", kRows[i].name),
                         in.text[i].trimmed())
                    .arg(QString::number(maxDigits / 100.0, 'f', 2));
            return plan;
        }
        const int v = int(parsed) * factor;
        if (v == 0 && !kRows[i].zeroWritten) continue;
        plan.writes.append({kRows[i].reg, v});
    }
    return plan;
}

const QList<AlarmBox>& ShownAlarmBoxes() {
    static const QList<AlarmBox> boxes = {{1, QT_TRANSLATE_NOOP("Alarm", "AC 경보")},
                                          {2, QT_TRANSLATE_NOOP("Alarm", "DC 고전압")},
                                          {3, QT_TRANSLATE_NOOP("Alarm", "DC 저전압")},
                                          {6, QT_TRANSLATE_NOOP("Alarm", "DC 과전류")},
                                          {9, QT_TRANSLATE_NOOP("Alarm", "모듈 경보")},
                                          {7, QT_TRANSLATE_NOOP("Alarm", "축전지 경보")},
                                          {18, QT_TRANSLATE_NOOP("Alarm", "축전지 저전압")},
                                          {20, QT_TRANSLATE_NOOP("Alarm", "모듈 고온")},
                                          {23, QT_TRANSLATE_NOOP("Alarm", "축전지 셀")}};
    return boxes;
}

std::pair<int, int> AlarmWords(const QList<int>& checked) {
    int w1 = 0, w2 = 0;
    for (int n : checked) {
        if (n >= 1 && n <= 16) w1 |= 1 << (n - 1);
        if (n >= 17 && n <= 32) w2 |= 1 << (n - 17);
    }
    return {w1, w2};
}

bool AlarmBoxChecked(int n, int word1, int word2) {
    return n <= 16 ? (word1 >> (n - 1)) & 1 : (word2 >> (n - 17)) & 1;
}

QList<int> DefaultContactBoxes(int index) {
    switch (index) {
    case 0:
        return {1};
    case 2:
        return {2, 3, 6, 18};
    case 4:
        return {9, 20};
    case 6:
        return {7, 23};
    default:
        return {};
    }
}

int DaysInMonth(int year, int month) {
    static const int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12) return 0;
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : kDays[month - 1];
}

WritePlan PlanClock(int year, int month, int day, int hour, int minute, int second) {
    WritePlan plan;
    if (year < 2001 || year > 2999)
        plan.error =
            QCoreApplication::translate("Settings", "년: the year must be within 2001 ~ 2999.");
    else if (month < 1 || month > 12)
        plan.error =
            QCoreApplication::translate("Settings", "월: the month must be within 1 ~ 12.");
    else if (day < 1 || day > DaysInMonth(year, month))
        plan.error =
            QString(QCoreApplication::translate("Settings", "일: the day must be within 1 ~ %1."))
                .arg(DaysInMonth(year, month));
    else if (hour < 0 || hour > 23)
        plan.error = QCoreApplication::translate("Settings", "시: the hour must be within 0 ~ 23.");
    else if (minute < 0 || minute > 59)
        plan.error =
            QCoreApplication::translate("Settings", "분: the minute must be within 0 ~ 59.");
    else if (second < 0 || second > 59)
        plan.error =
            QCoreApplication::translate("Settings", "초: the second must be within 0 ~ 59.");
    if (plan.error.isEmpty())
        plan.writes = {{6, second}, {1, year}, {2, month}, {3, day}, {4, hour}, {5, minute}};
    return plan;
}

namespace {
// Entry fields to bytes: decimal octets or hex bytes; false with the reason on a bad entry.
bool bytesFrom(const QStringList& parts, int count, int base, const QString& row, QByteArray* out,
               QString* error) {
    if (parts.size() != count) {
        *error = QCoreApplication::translate("Settings", "%1: %2 fields are needed.")
                     .arg(row)
                     .arg(count);
        return false;
    }
    for (const QString& p : parts) {
        bool ok = false;
        const int v = p.trimmed().toInt(&ok, base);
        if (!ok || v < 0 || v > 255) {
            *error = QCoreApplication::translate("Settings", "%1: '%2' is not within %3.")
                         .arg(row, p, base == 16 ? QString("00 ~ FF") : QString("0 ~ 255"));
            return false;
        }
        out->append(char(v));
    }
    return true;
}
QStringList parts(const QString& dotted) {
    return dotted.split('.');
}
} // namespace

NetIdPayload BuildNetIdPayload(const NetIdForm& f, const NetworkIdentity* last) {
    NetIdPayload r;
    const bool any = f.ip || f.gateway || f.subnet || f.mac || f.hwVersion || f.serial ||
                     f.hwDescription || f.rectId || f.site;
    if (!any) return r;
    if (!last) {
        r.error = QCoreApplication::translate(
            "Settings",
            "Read the network identity first (조회): unchanged fields are sent as read.");
        return r;
    }
    QByteArray mac, ip, subnet, gateway, hw, rect;
    QString& e = r.error;
    // A field left unchecked goes out as it was read; one the read did not reach (a record cut by
    // the reply size) goes out as zeros, which its clear flag tells the controller to ignore.
    const auto field = [](bool typed, const QStringList& text, const QString& read, int count) {
        if (typed) return text;
        return read.isEmpty() ? QStringList(count, "0") : parts(read);
    };
    if (!bytesFrom(field(f.mac, f.macText, last->mac, 6), 6, 16,
                   QCoreApplication::translate("Settings", "Mac 주소"), &mac, &e) ||
        !bytesFrom(field(f.ip, f.ipText, last->ip, 4), 4, 10,
                   QCoreApplication::translate("Settings", "정류기 IP 주소"), &ip, &e) ||
        !bytesFrom(field(f.subnet, f.subnetText, last->subnet, 4), 4, 10, "SUBNET MASK", &subnet,
                   &e) ||
        !bytesFrom(field(f.gateway, f.gatewayText, last->gateway, 4), 4, 10, "GATEWAY", &gateway,
                   &e) ||
        !bytesFrom(field(f.hwVersion, f.hwVersionText, last->hwVersion, 4), 4, 10,
                   QCoreApplication::translate("Settings", "HW 버전"), &hw, &e))
        return r;
    QString rectText = (f.rectId ? f.rectIdText : last->rectId).trimmed();
    if (!f.rectId && rectText.isEmpty()) rectText = "0";
    // 1 to 8 hex digits and nothing else ("0x1f" or "+1f" would be taken by toULongLong).
    static const QRegularExpression hexDigits("^[0-9A-Fa-f]{1,8}\\z");
    bool ok = hexDigits.match(rectText).hasMatch();
    const qulonglong rectValue = ok ? rectText.toULongLong(&ok, 16) : 0;
    if (!ok) {
        e = QString(QCoreApplication::translate(
                        "Settings", "정류기 ID: '%1' is not a hex number of at most 8 digits."))
                .arg(rectText);
        return r;
    }
    for (int s = 24; s >= 0; s -= 8)
        rect.append(char((rectValue >> s) & 0xFF));
    const QByteArray desc = f.hwDescriptionText.toUtf8();
    const QByteArray site = f.site ? f.siteText.toUtf8() : last->siteInfoUtf8;
    if (desc.size() > 255) {
        e = QString(QCoreApplication::translate("Settings", "HW 설명: %1 bytes, at most 255."))
                .arg(desc.size());
        return r;
    }
    if (site.size() > 255) {
        e = QString(QCoreApplication::translate("Settings", "Site 정보: %1 bytes, at most 255."))
                .arg(site.size());
        return r;
    }
    if (f.site && std::any_of(f.siteText.cbegin(), f.siteText.cend(),
                              [](QChar c) { return c.category() == QChar::Other_Control; })) {
        e = QCoreApplication::translate("Settings",
                                        "Site 정보: control characters (line breaks, escapes) "
                                        "cannot be written.");
        return r;
    }
    // The serial number is 10 characters: a shorter one is padded with blanks.
    const QByteArray serial = f.serialText.toLatin1().left(10).leftJustified(10, ' ');
    const int flags = (f.ip ? 0x01 : 0) | (f.hwDescription ? 0x02 : 0) | (f.serial ? 0x04 : 0) |
                      (f.hwVersion ? 0x08 : 0) | (f.mac ? 0x10 : 0) | (f.rectId ? 0x20 : 0) |
                      (f.site ? 0x40 : 0);
    QByteArray& p = r.payload;
    p = QByteArray::fromHex("12345678");
    p += mac + ip + subnet + gateway + char(flags) + ip + QByteArray(4, 0);
    p += char(desc.size()) + desc + serial + "; " + hw + mac + QByteArray(6, 0) + QByteArray(6, 0);
    p += rect + QByteArray(4, 0) + QByteArray(4, 0) + QByteArray(4, 0);
    p += char(site.size()) + site;
    return r;
}

} // namespace quma
