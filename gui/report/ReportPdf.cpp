// The service report as an A4 PDF.
#include "gui/report/ReportPdf.h"

#include "core/io/WriteFile.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QImage>
#include <QPageLayout>
#include <QPdfWriter>
#include <QTextDocument>
#include <QUrl>

namespace quma {

bool WriteReportPdf(const QString& path, const ReportData& data, QString* error) {
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
