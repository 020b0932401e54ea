// The service report as an A4 PDF.
#include "gui/report/ReportPdf.h"

#include "core/io/WriteFile.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QImage>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QTextDocument>
#include <QUrl>

namespace quma {

QByteArray BatteryCurvePng(const DischargeTest& test, int width) {
    const int height = width * 9 / 20;
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::white);
    if (test.curve.size() < 2) return {};
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QFont font("DejaVu Sans");
    font.setPixelSize(std::max(10, width / 70));
    p.setFont(font);
    const QRectF area(width * 0.08, height * 0.06, width * 0.84, height * 0.78);
    const double seconds = std::max(1.0, test.curve.last().seconds);
    double vMin = 1e9, vMax = -1e9, aMin = 0, aMax = 0, cMin = 1e9, cMax = -1e9;
    for (const CurvePoint& c : test.curve) {
        vMin = std::min(vMin, c.volts);
        vMax = std::max(vMax, c.volts);
        aMin = std::min(aMin, c.amps);
        aMax = std::max(aMax, c.amps);
        cMin = std::min(cMin, c.lowestCell);
        cMax = std::max(cMax, c.lowestCell);
    }
    const auto line = [&](QColor colour, double lo, double hi, auto value) {
        if (hi - lo < 1e-6) hi = lo + 1;
        QPolygonF poly;
        for (const CurvePoint& c : test.curve)
            poly << QPointF(area.left() + c.seconds / seconds * area.width(),
                            area.bottom() - (value(c) - lo) / (hi - lo) * area.height());
        p.setPen(QPen(colour, std::max(1.5, width / 500.0)));
        p.drawPolyline(poly);
    };
    p.setPen(Qt::gray);
    p.drawRect(area);
    line(QColor(30, 90, 180), vMin, vMax, [](const CurvePoint& c) { return c.volts; });
    line(QColor(200, 60, 30), aMin, aMax, [](const CurvePoint& c) { return c.amps; });
    line(QColor(40, 150, 60), cMin, cMax, [](const CurvePoint& c) { return c.lowestCell; });
    p.setPen(Qt::black);
    const QString legend =
        QCoreApplication::translate("Report", "Battery V %1 to %2 (blue), A %3 to %4 (red), "
                                              "lowest cell V %5 to %6 (green); %7 s")
            .arg(vMin, 0, 'f', 2)
            .arg(vMax, 0, 'f', 2)
            .arg(aMin, 0, 'f', 1)
            .arg(aMax, 0, 'f', 1)
            .arg(cMin, 0, 'f', 2)
            .arg(cMax, 0, 'f', 2)
            .arg(seconds, 0, 'f', 0);
    p.drawText(QRectF(area.left(), area.bottom() + 4, area.width(), height - area.bottom() - 4),
               Qt::AlignLeft | Qt::AlignVCenter, legend);
    p.end();
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return png;
}

bool WriteReportPdf(const QString& path, const ReportData& given, QString* error) {
    ReportData data = given;
    if (data.batteryCurvePng.isEmpty() && !data.batteryTests.isEmpty())
        data.batteryCurvePng = BatteryCurvePng(data.batteryTests.last(), 1360);
    // Laid out in memory, then written whole: a full disk fails the write, never the layout.
    QByteArray bytes;
    {
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        QPdfWriter pdf(&buffer);
        pdf.setPageSize(QPageSize(QPageSize::A4));
        pdf.setPageMargins(QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter);
        pdf.setResolution(300);
        pdf.setTitle(QCoreApplication::translate("Report", "Service report ") + data.model);
        pdf.setCreator("quma-console " + data.consoleVersion);
        QTextDocument doc;
        // Latin text in a face whose blank maps to a space in the PDF's text layer (copy,
        // search, pdftotext); Korean falls back to the console's font.
        QFont font = QGuiApplication::font();
        font.setFamilies({"DejaVu Sans", QGuiApplication::font().family()});
        font.setPointSizeF(8.5);
        doc.setDefaultFont(font);
        for (int i = 0; i < data.charts.size(); ++i)
            doc.addResource(QTextDocument::ImageResource, QUrl(QString("chart-%1.png").arg(i)),
                            QImage::fromData(data.charts[i].second, "PNG"));
        if (!data.batteryCurvePng.isEmpty())
            doc.addResource(QTextDocument::ImageResource, QUrl("battery-curve.png"),
                            QImage::fromData(data.batteryCurvePng, "PNG"));
        doc.setHtml(ReportHtml(data, ReportImages::Named));
        // Unpaginated, the document is laid out on the writer's pages with their numbers.
        doc.print(&pdf);
    }
    return WriteWholeFile(path, bytes, error);
}

bool WriteReport(const QString& path, const ReportData& data, QString* error) {
    if (path.endsWith(".pdf", Qt::CaseInsensitive)) return WriteReportPdf(path, data, error);
    if (path.endsWith(".html", Qt::CaseInsensitive) || path.endsWith(".htm", Qt::CaseInsensitive))
        return WriteReportHtml(path, data, error);
    if (error) *error = QString("%1: a report is written as .pdf or .html").arg(path);
    return false;
}

} // namespace quma
