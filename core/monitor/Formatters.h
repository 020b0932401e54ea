// Fixed-point display formatters: the decimal point is inserted into the digit string, never
// rounded.
#pragma once

#include <QString>

namespace quma {

QString FormatTenths(qint64 n);
QString FormatTenthsSuffix(qint64 n, const QString& ch);
QString FormatHundredths(qint64 n);
QString FormatHundredthsSuffix(qint64 n, const QString& ch);
QString FormatTenthsPadded(qint64 n);
QString FormatAcVolts(qint64 n);
QString FormatSignedUnit(qint64 n, int mode, const QString& unit);
QString FormatSignedCurrent(qint64 n, int mode, const QString& unit);
QString DecDigits(qint64 n, int width);

} // namespace quma
