// Reads a data-log file back into trend samples.
#include "core/trend/DataLogReader.h"

#include "core/io/ReadFile.h"

#include <QDateTime>
#include <QRegularExpression>

namespace quma {

namespace {
constexpr int kFields = 27;
constexpr qint64 kLargestLog = 64 << 20;
// A data line is about 300 bytes; a line past this is not one.
constexpr qint64 kLongestLine = 4096;

bool isHeaderLine(const QString& line) {
    static const QRegularExpression rule("^-{20,}$");
    return line.startsWith("  시간; ") || line.startsWith("ALARM1 //") ||
           line.startsWith("ALARM2 //") || rule.match(line).hasMatch();
}

// The number a formatted field starts with ("220.0 V", "+2.5 A", "-0.5 C").
std::optional<float> number(const QString& field) {
    static const QRegularExpression re("^([+-]?)\\s*(\\d{1,6}(?:\\.\\d{1,3})?)\\s*[A-Za-z ]*$");
    const auto m = re.match(field);
    if (!m.hasMatch()) return std::nullopt;
    const double v = m.captured(2).toDouble();
    return float(m.captured(1) == "-" ? -v : v);
}

std::optional<qint64> clock(const QString& field) {
    static const QRegularExpression re(
        "^\\[\\s*(\\d{1,5})-(\\d{2})-(\\d{2})\\s+(\\d{2}):(\\d{2}):(\\d{2})\\s*\\]$");
    const auto m = re.match(field);
    if (!m.hasMatch()) return std::nullopt;
    const QDateTime t(QDate(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt()),
                      QTime(m.captured(4).toInt(), m.captured(5).toInt(), m.captured(6).toInt()));
    if (!t.isValid()) return std::nullopt;
    return t.toMSecsSinceEpoch();
}

struct Parsed {
    qint64 msecs;
    TrendValues values;
    int alarm1, alarm2;
};

std::optional<Parsed> parseLine(const QString& line) {
    const QStringList f = line.split(';');
    if (f.size() != kFields) return std::nullopt;
    Parsed p{};
    const auto t = clock(f[0].trimmed());
    if (!t) return std::nullopt;
    p.msecs = *t;
    // Field positions of the series (1-based as in the file).
    const std::pair<int, int> columns[] = {
        {2, Trend::AcVolts},  {3, Trend::AcAmps},   {4, Trend::DcVolts},  {5, Trend::DcAmps},
        {6, Trend::BattAmps}, {7, Trend::BattTemp}, {8, Trend::RectTemp}, {11, Trend::BattVolts}};
    for (const auto& [field, series] : columns) {
        const auto v = number(f[field - 1].trimmed());
        if (!v) return std::nullopt;
        p.values[series] = *v;
    }
    float lo = 0, hi = 0;
    for (int c = 0; c < 15; ++c) {
        const auto v = number(f[11 + c].trimmed());
        if (!v) return std::nullopt;
        p.values[Trend::Cell1 + c] = *v;
        lo = c == 0 ? *v : std::min(lo, *v);
        hi = c == 0 ? *v : std::max(hi, *v);
    }
    p.values[Trend::CellSpread] = hi - lo;
    static const QRegularExpression words("^([0-9A-Fa-f]{4}) ([0-9A-Fa-f]{4})$");
    const auto w = words.match(f[9].trimmed());
    bool ok = false;
    f[26].trimmed().toInt(&ok, 16);
    if (!w.hasMatch() || !ok) return std::nullopt;
    p.alarm1 = w.captured(1).toInt(nullptr, 16);
    p.alarm2 = w.captured(2).toInt(nullptr, 16);
    return p;
}
} // namespace

QString DataLogRead::summary() const {
    if (!error.isEmpty()) return error;
    QString s = QString("%1 samples, %2 alarm lines").arg(samples).arg(alarmLines);
    if (skipped > 0) {
        QStringList numbers;
        for (int n : skippedLines)
            numbers << QString::number(n);
        s += QString("; %1 line(s) with bad fields skipped (line %2%3)")
                 .arg(skipped)
                 .arg(numbers.join(", "))
                 .arg(skipped > skippedLines.size() ? ", ..." : "");
    }
    if (truncatedLast)
        s += "; the last line is cut short (the file ends inside it) and was left out";
    return s;
}

DataLogRead ReadDataLog(const QByteArray& text) {
    DataLogRead r;
    QList<QByteArray> lines = text.split('\n');
    // The file ends inside a line when it does not end with a line break.
    const bool endsInside = !text.isEmpty() && !text.endsWith('\n');
    if (!text.isEmpty() && text.endsWith('\n')) lines.removeLast();
    QList<Parsed> parsed;
    bool header = false;
    for (int i = 0; i < lines.size(); ++i) {
        if (lines[i].size() > kLongestLine) {
            // Far longer than any line the console writes: bad, and not split into its fields.
            ++r.skipped;
            if (r.skippedLines.size() < 10) r.skippedLines << i + 1;
            continue;
        }
        QString line = QString::fromUtf8(lines[i]);
        if (line.endsWith('\r')) line.chop(1);
        if (line.trimmed().isEmpty()) continue;
        if (isHeaderLine(line)) {
            header = true;
            continue;
        }
        const bool alarm = line.startsWith("[al]");
        const auto p = parseLine(alarm ? line.mid(4) : line);
        if (!p) {
            if (endsInside && i == lines.size() - 1) {
                r.truncatedLast = true;
                continue;
            }
            ++r.skipped;
            if (r.skippedLines.size() < 10) r.skippedLines << i + 1;
            continue;
        }
        parsed << *p;
        if (alarm) ++r.alarmLines;
    }
    if (!header && parsed.isEmpty()) {
        r.error = "This is not a data log written by this console: it has neither the log's "
                  "header nor one line of its data.";
        return r;
    }
    r.store = std::make_shared<TrendStore>(std::max<int>(1, int(parsed.size())));
    int alarm1 = -1, alarm2 = -1;
    for (const Parsed& p : parsed) {
        r.store->append(p.msecs, p.values);
        if (p.alarm1 != alarm1 || p.alarm2 != alarm2) {
            // The marker's names as the alarm tree shows them (battery alarms included).
            RegisterImage image;
            image.set(Reg::Alarm1, p.alarm1);
            image.set(Reg::Alarm2, p.alarm2);
            image.set(Reg::BattInstalled, 1);
            if (alarm1 >= 0 || p.alarm1 != 0 || p.alarm2 != 0)
                r.store->addMarker({r.store->time(r.store->size() - 1), p.alarm1, p.alarm2,
                                    AlarmMarkerText(image)});
            alarm1 = p.alarm1;
            alarm2 = p.alarm2;
        }
    }
    r.samples = int(parsed.size());
    return r;
}

DataLogRead ReadDataLogFile(const QString& path) {
    DataLogRead r;
    const auto text = ReadWholeFile(path, kLargestLog, "data log", &r.error);
    if (!text) return r;
    r = ReadDataLog(*text);
    if (!r.error.isEmpty()) r.error = path + ": " + r.error;
    return r;
}

} // namespace quma
