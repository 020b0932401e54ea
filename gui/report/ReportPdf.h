// The service report as an A4 PDF: the report's HTML laid out by Qt's text engine, the Korean
// font embedded, page numbers at the foot of each page.
#pragma once

#include "core/report/ServiceReport.h"

namespace quma {

// A discharge test's curve: battery voltage, current and the lowest cell over the test.
QByteArray BatteryCurvePng(const DischargeTest& test, int width);
// Written whole or not at all: a failure says why and leaves no file. The battery curve is
// drawn when the data has tests and no curve yet.
bool WriteReportPdf(const QString& path, const ReportData& data, QString* error);
// PDF or HTML by the file name's suffix (".pdf", ".html" or ".htm").
bool WriteReport(const QString& path, const ReportData& data, QString* error);

} // namespace quma
