// The periodic data log: the header block, the data and alarm lines, roll-over into files.
#include "core/datalog/DataLog.h"

#include "core/io/ReadFile.h"
#include "core/io/WriteFile.h"
#include "core/link/FrameCodec.h"
#include "core/monitor/Formatters.h"
#include "core/monitor/StatusTexts.h"

#include <QDir>
#include <QFileInfo>

namespace quma {

QStringList LogHeaderLines() {
    QString names = QString("  시간; ") + " 입력전압; " + " 입력전류; " + " 출력전압; " +
                    " 출력부하; " + " 축전지전류; " + " 축전지실온도; " + " 랙온도; " +
                    " 출력설정; " + " 알람상태; " + " 배터리 전압; ";
    for (int i = 1; i <= 15; ++i)
        names += QString(" 셀전압 %1; ").arg(i);
    names += " 배터리 보호;";
    const QString rule(178, '-');
    return {names, rule, "ALARM1 //0x0001:AC FAIL, 0x0002:OV, 0x0004:UV, 0x0020:OCA, 0x0100:UF    ",
            "ALARM2 //0x0002:BLV,     0x0008:OT, 0x0020:BF, 0x0040:BCF", rule};
}

QString LogDataLine(const RegisterImage& r) {
    const StatusView v = RenderStatus(r, {});
    QStringList f;
    f << v.clock << FormatTenthsSuffix(r[Reg::AcVolts], "V")
      << FormatTenthsSuffix(r[Reg::AcAmps], "A") << FormatTenthsSuffix(r[Reg::DcVolts], "V")
      << FormatTenthsSuffix(r[Reg::LoadAmps], "A") << FormatSignedUnit(r[Reg::BattAmps], 1, "A")
      << FormatSignedUnit(r[Reg::BattTemp], 1, "C") << FormatSignedUnit(r[Reg::RectTemp], 1, "C")
      << v.setVoltsValue << v.alarmText << FormatHundredthsSuffix(r[Reg::PackVolts], "V");
    for (int c = 110; c <= 124; ++c)
        f << FormatHundredthsSuffix(r[c], "V");
    f << QString::fromLatin1(IntToHexN(r[Reg::BattProtectB], 4));
    return f.first() + "; " + f.mid(1).join(" ; ");
}

QString LogFileName(const QDateTime& now) {
    return "QUMA-7TN(A)_" + now.toString("yyyyMMddHHmmss") + ".txt";
}

int LogIntervalMs(int choice) {
    static const int kMs[] = {2000, 10000, 60000, 120000, 300000, 600000, 1800000};
    return (choice >= 0 && choice < 7) ? kMs[choice] : 2000;
}

DataLog::DataLog(const RegisterImage& image, QObject* parent)
    : QObject(parent), m_image(image), m_folder(QDir::currentPath()),
      m_clock([] { return QDateTime::currentDateTime(); }) {
    m_timer.setInterval(2000);
    m_timer.setSingleShot(false);
    connect(&m_timer, &QTimer::timeout, this, &DataLog::Timer2Timer);
}

void DataLog::toggle() {
    if (m_running)
        stop();
    else
        start();
}

void DataLog::start() {
    if (m_running) return;
    m_running = true;
    m_timer.start();
    append(LogHeaderLines(), false);
    emit runningChanged(true);
}

void DataLog::stop() {
    if (!m_running) return;
    m_running = false;
    m_timer.stop();
    emit runningChanged(false);
}

void DataLog::setIntervalChoice(int choice) {
    m_timer.setInterval(LogIntervalMs(choice));
}

void DataLog::Timer2Timer() {
    m_timer.stop();
    append({LogDataLine(m_image)});
    rollOverIfAbove(PeriodicLimit);
    // A failed roll-over does not stop the log: it runs on and says so (saveFailed).
    if (m_running) m_timer.start();
}

void DataLog::alarmChanged() {
    if (!m_running) return;
    append({"[al]" + LogDataLine(m_image)});
    rollOverIfAbove(AlarmLimit);
}

void DataLog::rollOverIfAbove(int limit) {
    if (m_lines.size() <= limit) return;
    // After a failed save, try again only when another limit's worth of lines has come.
    if (m_failedAt >= 0 && m_lines.size() <= m_failedAt + limit) return;
    if (!save()) {
        m_failedAt = int(m_lines.size());
        return;
    }
    m_failedAt = -1;
    clear();
    append(LogHeaderLines(), false);
}

bool DataLog::save(QString* pathOut, QString* error) {
    if (m_lines.isEmpty()) {
        if (error) *error = "The data log is empty: nothing to save.";
        return false;
    }
    const QString path = QDir(m_folder).filePath(LogFileName(m_clock()));
    if (pathOut) *pathOut = path;
    QByteArray text;
    for (const QString& l : m_lines)
        text += l.toUtf8() + '\n';
    QString reason;
    if (WriteWholeFile(path, text, &reason)) {
        m_unsaved = false;
        restartJournal(); // what it held is on disk now
        emit saved(path);
        return true;
    }
    reason.remove(0, QDir::toNativeSeparators(path).size() + 2); // the path is said separately
    if (error) *error = reason;
    emit saveFailed(path, reason);
    return false;
}

void DataLog::clear() {
    m_lines.clear();
    m_unsaved = false;
    restartJournal();
    emit cleared();
}

void DataLog::append(const QStringList& lines, bool data) {
    m_lines += lines;
    m_unsaved = m_unsaved || data;
    if (m_journal.isOpen()) {
        QString error;
        if (!AppendToFile(m_journal, (lines.join('\n') + '\n').toUtf8(), &error)) {
            m_journal.close();
            emit journalFailed(error);
        }
    }
    emit linesAppended(lines);
}

bool DataLog::setJournal(const QString& path, QString* error) {
    m_journal.close();
    if (path.isEmpty()) return true;
    QDir().mkpath(QFileInfo(path).absolutePath());
    return OpenAppendFile(m_journal, path, QIODevice::Truncate, error);
}

void DataLog::restartJournal() {
    if (!m_journal.isOpen()) return;
    if (!m_journal.resize(0)) {
        const QString reason = m_journal.fileName() + ": " + m_journal.errorString();
        m_journal.close();
        emit journalFailed(reason);
    }
}

void DataLog::closeJournal() {
    if (!m_journal.isOpen()) return;
    m_journal.close();
    QFile::remove(m_journal.fileName());
}

std::optional<DataLogJournal> ReadDataLogJournal(const QString& path, QString* error) {
    if (!QFileInfo::exists(path)) return std::nullopt;
    // A journal holds at most a roll-over's worth of lines (5,000 of about 300 bytes).
    const auto bytes = ReadWholeFile(path, 16 << 20, "data log journal", error);
    if (!bytes) return std::nullopt;
    DataLogJournal j;
    const QStringList header = LogHeaderLines();
    for (const QByteArray& raw : bytes->split('\n')) {
        const QString line = QString::fromUtf8(raw);
        if (line.isEmpty()) continue;
        j.lines << line;
        if (header.contains(line)) continue;
        ++j.dataLines;
        const QString time =
            QString(line).remove(0, line.startsWith("[al]") ? 4 : 0).section(';', 0, 0).trimmed();
        if (j.from.isEmpty()) j.from = time;
        j.to = time;
    }
    if (j.dataLines == 0) return std::nullopt;
    return j;
}

QString SaveDataLogJournal(const DataLogJournal& journal, const QString& folder,
                           const QDateTime& now, QString* error) {
    QStringList lines = journal.lines;
    // A journal started after a save has no header of its own.
    if (lines.value(0) != LogHeaderLines().first()) lines = LogHeaderLines() + lines;
    const QString path = QDir(folder).filePath(LogFileName(now));
    QByteArray text;
    for (const QString& l : lines)
        text += l.toUtf8() + '\n';
    return WriteWholeFile(path, text, error) ? path : QString();
}

} // namespace quma
