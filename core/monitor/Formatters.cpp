// Fixed-point display formatters: the decimal point is inserted into the digit string, never
// rounded.
#include "core/monitor/Formatters.h"

namespace quma {

namespace {
// Splits the decimal digits of n so that `decimals` digits follow the point.
QString point(qint64 n, int decimals) {
    const QString d = QString::number(n);
    return d.left(d.size() - decimals) + "." + d.right(decimals);
}
QString rightAligned3(qint64 n) {
    return QStringLiteral("%1").arg(n, 3);
}
} // namespace

QString FormatTenths(qint64 n) {
    if (n == 0) return "0.0";
    if (n >= 1 && n <= 9) return "0." + QString::number(n);
    if (n >= 10 && n <= 9999) return point(n, 1);
    return QString::number(n);
}

QString FormatTenthsSuffix(qint64 n, const QString& ch) {
    return FormatTenths(n) + " " + ch;
}

QString FormatHundredths(qint64 n) {
    if (n == 0) return "0.00";
    if (n >= 1 && n <= 9) return "0.0" + QString::number(n);
    if (n >= 10 && n <= 99) return "0." + QString::number(n);
    if (n >= 100 && n <= 9999) return point(n, 2);
    return QString::number(n);
}

QString FormatHundredthsSuffix(qint64 n, const QString& ch) {
    if (n == 0) return "0 " + ch;
    return FormatHundredths(n) + " " + ch;
}

QString FormatTenthsPadded(qint64 n) {
    if (n >= 1 && n <= 9) return "00." + QString::number(n);
    if (n >= 10 && n <= 99) return "0" + point(n, 1);
    if (n >= 100 && n <= 999) return point(n, 1);
    return rightAligned3(n);
}

QString FormatAcVolts(qint64 n) {
    if (n >= 1 && n <= 9) return "0." + QString::number(n);
    if (n >= 10 && n <= 9999) return point(n, 1);
    return rightAligned3(n);
}

QString FormatSignedUnit(qint64 n, int mode, const QString& unit) {
    const bool negative = (n & 0x8000) != 0;
    const qint64 magnitude = negative ? ((n ^ 0xFFFF) & 0xFFFF) + 1 : n;
    const QString sign = negative ? "-" : "+";
    if (mode == 1) return sign + FormatTenthsSuffix(magnitude, " ") + unit;
    return sign + QString::number(magnitude) + " " + unit;
}

QString FormatSignedCurrent(qint64 n, int mode, const QString& unit) {
    return FormatSignedUnit(n, mode == 1 ? 1 : 0, unit);
}

QString DecDigits(qint64 n, int width) {
    return QStringLiteral("%1").arg(n, width, 10, QLatin1Char('0'));
}

} // namespace quma
