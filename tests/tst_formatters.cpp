// Fixed-point formatters against their range tables.
#include "core/monitor/Formatters.h"

#include <QtTest>

using namespace quma;

class TestFormatters : public QObject {
    Q_OBJECT
private slots:
    void tenths() {
        QCOMPARE(FormatTenths(0), QString("0.0"));
        QCOMPARE(FormatTenths(5), QString("0.5"));
        QCOMPARE(FormatTenths(45), QString("4.5"));
        QCOMPARE(FormatTenths(123), QString("12.3"));
        QCOMPARE(FormatTenths(1234), QString("123.4"));
        QCOMPARE(FormatTenths(10000), QString("10000"));
        QCOMPARE(FormatTenths(-5), QString("-5"));
        QCOMPARE(FormatTenthsSuffix(0, "V"), QString("0.0 V"));
        QCOMPARE(FormatTenthsSuffix(2205, "V"), QString("220.5 V"));
        QCOMPARE(FormatTenthsSuffix(12345, "A"), QString("12345 A"));
    }
    void hundredths() {
        QCOMPARE(FormatHundredths(0), QString("0.00"));
        QCOMPARE(FormatHundredths(7), QString("0.07"));
        QCOMPARE(FormatHundredths(70), QString("0.70"));
        QCOMPARE(FormatHundredths(123), QString("1.23"));
        QCOMPARE(FormatHundredths(5312), QString("53.12"));
        QCOMPARE(FormatHundredths(10000), QString("10000"));
        QCOMPARE(FormatHundredthsSuffix(0, "V"), QString("0 V"));
        QCOMPARE(FormatHundredthsSuffix(5, "V"), QString("0.05 V"));
        QCOMPARE(FormatHundredthsSuffix(331, "V"), QString("3.31 V"));
        QCOMPARE(FormatHundredthsSuffix(5450, "V"), QString("54.50 V"));
    }
    void paddedAndAcVolts() {
        QCOMPARE(FormatTenthsPadded(5), QString("00.5"));
        QCOMPARE(FormatTenthsPadded(45), QString("04.5"));
        QCOMPARE(FormatTenthsPadded(545), QString("54.5"));
        QCOMPARE(FormatTenthsPadded(0), QString("  0"));
        QCOMPARE(FormatTenthsPadded(1000), QString("1000"));
        QCOMPARE(FormatAcVolts(45), QString("4.5"));
        QCOMPARE(FormatAcVolts(2201), QString("220.1"));
        QCOMPARE(FormatAcVolts(5), QString("0.5"));
        QCOMPARE(FormatAcVolts(0), QString("  0"));
        QCOMPARE(FormatAcVolts(10000), QString("10000"));
    }
    void signedValues() {
        QCOMPARE(FormatSignedUnit(0xFFF1, 1, "A"), QString("-1.5  A"));
        QCOMPARE(FormatSignedUnit(25, 1, "C"), QString("+2.5  C"));
        QCOMPARE(FormatSignedUnit(0xFFF6, 1, "A"), QString("-1.0  A"));
        QCOMPARE(FormatSignedUnit(0, 1, "A"), QString("+0.0  A"));
        QCOMPARE(FormatSignedUnit(0x8000, 1, "A"), QString("-32768  A"));
        QCOMPARE(FormatSignedUnit(25, 0, "C"), QString("+25 C"));
        QCOMPARE(FormatSignedCurrent(0xFFF6, 1, "A"), QString("-1.0  A"));
        QCOMPARE(FormatSignedCurrent(25, 2, "A"), QString("+25 A"));
    }
    void decDigits() {
        QCOMPARE(DecDigits(5, 2), QString("05"));
        QCOMPARE(DecDigits(7, 2), QString("07"));
        QCOMPARE(DecDigits(2024, 4), QString("2024"));
        QCOMPARE(DecDigits(2024, 2), QString("2024"));
    }
};

QTEST_GUILESS_MAIN(TestFormatters)
#include "tst_formatters.moc"
