// The periodic data log: the header block, the data and alarm lines, roll-over into files.
#pragma once

#include "core/monitor/RegisterMap.h"

#include <QDateTime>
#include <QFile>
#include <QObject>
#include <QStringList>
#include <QTimer>

namespace quma {

QStringList LogHeaderLines();
// The 27 fields of one line: the clock text first, then the measurements.
QString LogDataLine(const RegisterImage& img);
// "QUMA-7TN(A)_" + yyyymmddhhnnss + ".txt".
QString LogFileName(const QDateTime& now);
// Timer2 interval of a "Log Time" choice 0..6.
int LogIntervalMs(int choice);

class DataLog : public QObject {
    Q_OBJECT
public:
    static constexpr int PeriodicLimit = 5000;
    static constexpr int AlarmLimit = 1000;

    explicit DataLog(const RegisterImage& image, QObject* parent = nullptr);

    const QStringList& lines() const { return m_lines; }
    // Data or alarm lines added since the last save or clear.
    bool hasUnsavedLines() const { return m_unsaved; }
    bool running() const { return m_running; }
    void setFolder(const QString& folder) { m_folder = folder; }
    QString folder() const { return m_folder; }
    // The clock used for file names (tests fix it).
    void setClock(std::function<QDateTime()> clock) { m_clock = std::move(clock); }

    // btnLogo: start (header, Timer2) or stop.
    void toggle();
    void start();
    void stop();
    // rgLogoTime: a running log goes on at the new interval.
    void setIntervalChoice(int choice);
    int intervalMs() const { return m_timer.interval(); }
    // Timer2: one periodic line.
    void Timer2Timer();
    // A changed alarm text while logging: an alarm line.
    void alarmChanged();
    // Button1: save the lines as they are (an empty log writes no file); Button2: clear them.
    bool save(QString* path = nullptr, QString* error = nullptr);
    void clear();

    // A journal on disk that every line reaches as it is recorded (unbuffered), so a crash, a
    // power cut or a kill loses nothing; a save or a clear starts it afresh. It is truncated
    // here: recover an earlier run's journal (ReadDataLogJournal) first.
    bool setJournal(const QString& path, QString* error = nullptr);
    QString journalPath() const { return m_journal.fileName(); }
    // Ends and removes the journal: the user saved or discarded the log on leaving.
    void closeJournal();

signals:
    void linesAppended(const QStringList& lines);
    void cleared();
    void runningChanged(bool running);
    // Every save tells where it went, or why it failed (the lines are kept then).
    void saved(const QString& path);
    void saveFailed(const QString& path, const QString& reason);
    // The journal could not be written: the log goes on in memory only.
    void journalFailed(const QString& reason);

private:
    // Header lines alone (data false) leave nothing unsaved.
    void append(const QStringList& lines, bool data = true);
    void rollOverIfAbove(int limit);
    void restartJournal();

    const RegisterImage& m_image;
    QStringList m_lines;
    bool m_running = false;
    QTimer m_timer;
    QString m_folder;
    std::function<QDateTime()> m_clock;
    int m_failedAt = -1; // line count of the last failed roll-over
    bool m_unsaved = false;
    QFile m_journal;
};

// What an earlier run's journal holds: its lines, and the data lines among them with the times
// of the first and the last. nullopt when there is no journal or it holds no data line.
struct DataLogJournal {
    QStringList lines;
    int dataLines = 0;
    QString from, to;
};
std::optional<DataLogJournal> ReadDataLogJournal(const QString& path, QString* error = nullptr);
// The journal as a data log file (its header first) in `folder`; the path written, or empty with
// the reason.
QString SaveDataLogJournal(const DataLogJournal& journal, const QString& folder,
                           const QDateTime& now, QString* error);

} // namespace quma
