// Alarm-history and event-log records: their layouts, texts and the table rows they decode into.
#include "core/history/TransferRecord.h"

#include <QCoreApplication>

#include "core/monitor/Formatters.h"

namespace quma {

QStringList AlarmHistoryHeader() {
    return {QCoreApplication::translate("History", "순서"),
            QCoreApplication::translate("History", "날짜"),
            QCoreApplication::translate("History", "시간"),
            QCoreApplication::translate("History", "AC전압"),
            QCoreApplication::translate("History", "AC전류"),
            QCoreApplication::translate("History", "DC전압"),
            QCoreApplication::translate("History", "DC전류"),
            QCoreApplication::translate("History", "Batt전류"),
            QCoreApplication::translate("History", "Rack온도"),
            "-",
            "-",
            "-",
            "-",
            "-",
            QCoreApplication::translate("History", "경보")};
}

QStringList EventLogHeader() {
    return {QCoreApplication::translate("History", "순서"),
            QCoreApplication::translate("History", "날짜"),
            QCoreApplication::translate("History", "시간"),
            QCoreApplication::translate("History", "이벤트 내용"),
            QCoreApplication::translate("History", "value")};
}

QList<int> AlarmHistoryColumnWidths() {
    return {27, 90, 77, 74, 57, 58, 58, 64, 64, 64, 36, 34, 32, 31, 153};
}

QList<int> EventLogColumnWidths() {
    return {27, 73, 61, 265, 97, 59};
}

QString AlarmCodeText(int code, int occurrence) {
    QString text;
    switch (code) {
    case 1:
        text = QCoreApplication::translate("Alarm", "AC 경보");
        break;
    case 2:
        text = QCoreApplication::translate("Alarm", "DC 고전압");
        break;
    case 3:
        text = QCoreApplication::translate("Alarm", "DC 저전압");
        break;
    case 6:
        text = QCoreApplication::translate("Alarm", "DC 과전류");
        break;
    case 7:
        text = QCoreApplication::translate("Alarm", "축전지 경보");
        break;
    case 9:
        text = QCoreApplication::translate("Alarm", "모듈 경보");
        break;
    case 18:
        text = QCoreApplication::translate("Alarm", "축전지 저전압");
        break;
    case 20:
        text = QCoreApplication::translate("Alarm", "모듈 고온");
        break;
    case 23:
        text = QCoreApplication::translate("Alarm", "축전지 셀");
        break;
    case 25:
        text = "Reset";
        break;
    case 26:
        text = "Remote Reset";
        break;
    default:
        break;
    }
    if (occurrence == 0) text += " Recov";
    return text;
}

QString EventText(int code) {
    static const char* const kTexts[] = {"Reset",
                                         "Date/Time Set",
                                         "AD_ACV",
                                         "AD_ACA",
                                         "AD_DC",
                                         "AD_LC",
                                         "AD_BCP",
                                         "AD_BCN",
                                         "AD_LC",
                                         "AC_Low_Voltage",
                                         "AC_High_Voltage",
                                         "DC_Low_Voltage",
                                         "DC_High_Voltage",
                                         "BTT_Low_Voltage",
                                         "DC_High_Current",
                                         "Over Temperature",
                                         "FL_VOLT",
                                         "CH_LIMIT",
                                         "Charge Mode",
                                         "OVP_FG",
                                         "BATT_USE",
                                         "BATT_TEMP_USE",
                                         "FE_DebugMode",
                                         "ALM_SEL",
                                         "TestAlarm_Mode",
                                         "TestAlarm_Data_Set1",
                                         "TestAlarm_Data_Set2",
                                         "",
                                         "",
                                         "TEST_Period",
                                         "TEST_Start_Month",
                                         "TEST_Start_Day",
                                         "TEST_Start_Hour",
                                         "BATT_TEST_VOLT",
                                         "TEST_TIME",
                                         "Batt Manual Test",
                                         "Batt Auto Test",
                                         "HW ALARM1_H",
                                         "HW ALARM1_L",
                                         "HW ALARM2_H",
                                         "HW ALARM2_L",
                                         "HW ALARM3_H",
                                         "HW ALARM3_L",
                                         "HW ALARM4_H",
                                         "HW ALARM4_L",
                                         "HW ALARM5_H",
                                         "HW ALARM5_L",
                                         "HW ALARM6_H",
                                         "HW ALARM6_L",
                                         "",
                                         "ENV_Setting",
                                         "Remote Reset",
                                         "Remote Test Volt",
                                         "Remote Test Time",
                                         "Remote IP_H Set",
                                         "Remote IP_L Set",
                                         "Remote MNG_ID Set",
                                         "Li-Batt Charge Limit",
                                         "DC OVP Setting",
                                         "Li-Batt LVD Setting",
                                         "IP PreFix Setting"};
    constexpr int n = sizeof(kTexts) / sizeof(kTexts[0]);
    if (code == 70) return "Task Fail Count";
    return (code >= 0 && code < n) ? QString::fromLatin1(kTexts[code]) : QString();
}

QString EventValueText(int code, int value) {
    const QString dec = QString::number(value);
    const auto usedText = [&] {
        return value == 0 ? QString(" Unused ") : value == 1 ? QString(" Used ") : QString();
    };
    const auto monthText = [&] { return value == 0 ? QString(" Off ") : dec + " Month "; };
    const auto bytesDotted = [&] {
        return QString::number(value >> 8) + "." + QString::number(value & 0xFF);
    };
    switch (code) {
    case 2:
        return FormatAcVolts(value) + " V";
    case 3:
        return FormatHundredths(value) + " A";
    case 4:
        return FormatHundredths(value) + " V";
    case 5:
    case 6:
    case 7:
        return FormatTenths(value) + " A";
    case 9:
    case 10:
        return dec + " V";
    case 11:
    case 12:
    case 13:
    case 16:
    case 33:
        return FormatTenths(value) + " V";
    case 14:
        return dec + " %";
    case 15: {
        const bool negative = (value & 0x8000) != 0;
        const int magnitude = negative ? 65536 - value : value;
        return QString(negative ? "-" : "+") + FormatTenths(magnitude) + " " + "'" + "C";
    }
    case 17:
        return value == 0 ? QString(" OFF") : FormatTenths(value) + " A";
    case 18:
        return value == 1   ? QString("Manual_FL")
               : value == 2 ? QString("Temp_mode")
               : value == 3 ? QString("Test_mode")
                            : QString();
    case 19:
        return value == 0 ? QString(" Release ") : value == 1 ? QString(" Occur ") : QString();
    case 20:
    case 21:
    case 22:
    case 24:
        return usedText();
    case 23:
        return value == 0   ? QString(" Normal Open ")
               : value == 1 ? QString(" Normal Close ")
                            : QString();
    case 25:
    case 26:
        return QString::fromLatin1(IntToHexN(value, 4));
    case 29:
    case 30:
        return monthText();
    case 31:
        return dec + " Day ";
    case 32:
        return dec + " Hour ";
    case 34:
    case 53:
        return dec + " Min ";
    case 54:
    case 55:
    case 60:
        return bytesDotted();
    case 70:
        return value == 255 ? QString("Reset") : dec;
    default:
        if (code >= 37 && code <= 48) return QString::fromLatin1(IntToHexN(value, 4));
        return dec;
    }
}

QStringList DecodeTransferRecord(const QByteArray& replyText, LinkKind link, TransferKind kind,
                                 int recordIndex) {
    // Bring both links to the same raw record bytes.
    QByteArray rec;
    if (link == LinkKind::Serial) {
        QByteArray hex = replyText.mid(5);
        if (hex.size() % 2) hex.chop(1);
        rec = HexToBytes(hex);
    } else {
        rec = replyText.mid(1);
    }
    const bool alarm = kind == TransferKind::Alarm;
    const int need = alarm ? 6 + 22 + 6 : 6 + 4;
    if (rec.size() < need) rec.append(QByteArray(need - rec.size(), '\0'));
    const auto b = [&](int i) { return static_cast<int>(static_cast<unsigned char>(rec[i])); };
    const auto w = [&](int i) { return (b(6 + 2 * i) << 8) | b(7 + 2 * i); };

    QStringList cells;
    cells << PadZero(recordIndex, 3);
    cells << "20" + DecDigits(b(0), 2) + "-" + DecDigits(b(1), 2) + "-" + DecDigits(b(2), 2);
    cells << DecDigits(b(3), 2) + ":" + DecDigits(b(4), 2) + ":" + DecDigits(b(5), 2);
    if (alarm) {
        cells << FormatAcVolts(w(0)) + " V" << FormatTenthsPadded(w(1)) + " A"
              << FormatTenthsPadded(w(2)) + " V" << FormatTenthsPadded(w(3)) + " A"
              << FormatSignedUnit(w(4), 1, "A") << FormatSignedUnit(w(5), 1, "C");
        for (int i = 9; i <= 13; ++i)
            cells << "-";
        const int bytesAt = 6 + 22;
        cells << AlarmCodeText(b(bytesAt + 4), b(bytesAt + 5));
    } else {
        cells << EventText(w(0)) << EventValueText(w(0), w(1));
    }
    return cells;
}

} // namespace quma
