// The battery watched from the decoded polls, with no request of its own: discharge tests
// recorded from a little before their start to a little after their end, and each cell's
// deviation from the others with the cells that stay apart flagged.
#pragma once

#include "core/battery/BatteryHistory.h"
#include "core/battery/DischargeTest.h"

#include <QJsonObject>
#include <QObject>
#include <array>
#include <deque>
#include <functional>

namespace quma {

class MonitorEngine;

// Each cell against the mean of the 15, per poll. A cell flagged stays further from the mean
// than the threshold, without coming back within half of it, for the hold time: a single noisy
// poll flags nothing.
class CellTrend {
public:
    struct Settings {
        double thresholdVolts = 0.03;
        qint64 holdMs = 10 * 60 * 1000;
        bool operator==(const Settings&) const = default;
    };
    void setSettings(const Settings& s) { m_settings = s; }
    const Settings& settings() const { return m_settings; }
    void add(const BatterySample& sample);
    // Volts from the mean, cell 1 first.
    const std::array<double, Reg::CellCount>& deviations() const { return m_deviation; }
    // Cell numbers (1..15) flagged now, lowest deviation first.
    QList<int> flagged() const;
    bool isFlagged(int cell) const { return m_flagged[cell - 1]; }

private:
    Settings m_settings;
    std::array<double, Reg::CellCount> m_deviation{};
    std::array<qint64, Reg::CellCount> m_apartSince = filled(-1); // -1: not apart
    static std::array<qint64, Reg::CellCount> filled(qint64 v) {
        std::array<qint64, Reg::CellCount> a;
        a.fill(v);
        return a;
    }
    std::array<bool, Reg::CellCount> m_flagged{};
};

// The thresholds a plant's battery is judged by, as JSON (the agent's "battery" section, the
// console's and quma-cli's battery.json): each key optional, each value checked against its range.
struct BatterySettings {
    BatteryJudgement judgement;
    CellTrend::Settings cells;
    bool operator==(const BatterySettings&) const = default;
};
// Nullopt with the field, its range and `where` in *error when a value is missing its range or
// a key is unknown.
std::optional<BatterySettings> BatterySettingsFromJson(const QJsonObject& o, const QString& where,
                                                       QString* error);
// The settings file of the console and quma-cli: ~/.config/quma/battery.json. Absent: the
// defaults; unreadable or out of range: the defaults and the reason in *error.
QString BatterySettingsPath();
BatterySettings LoadBatterySettings(QString* error);

// A test in progress as the windows show it.
struct DischargeProgress {
    qint64 startMs = 0, elapsedMs = 0;
    double ampereHours = 0;
    int setMinutes = 0;
    double endVolts = 0;
    double minutesToEndVolts = -1; // projected from the last minute's slope; -1 unknown
    BatterySample last;
};

class BatteryWatch : public QObject {
    Q_OBJECT
public:
    static constexpr int kBefore = 5; // idle polls kept before a start
    static constexpr int kAfter = 3;  // polls kept after the end

    explicit BatteryWatch(QObject* parent = nullptr);
    // Follows `engine`: its polls, its confirmed writes of the forced-test register (a test
    // started or stopped from here), its silence, and its network identity (the plant's key).
    void attach(MonitorEngine& engine);
    // The clock samples are stamped with (ms since the epoch; tests fix it).
    void setClock(std::function<qint64()> clock) { m_clock = std::move(clock); }
    // Where the plants' histories are kept (default: BatteryHistory::DefaultFolder()).
    void setFolder(const QString& folder) { m_folder = folder; }
    void setJudgement(const BatteryJudgement& j) { m_judgement = j; }
    void setSettings(const BatterySettings& s) {
        m_judgement = s.judgement;
        m_cells.setSettings(s.cells);
    }
    CellTrend& cells() { return m_cells; }

    // What the engine would tell: one decoded poll, a confirmed write, the link lost.
    void addPoll(const RegisterImage& image);
    void commandConfirmed(int reg, int value);
    void linkLost();
    // The plant's key (MAC or serial number): its history is loaded (and a test that ended
    // before the key was known is written to it).
    void setPlant(const QString& key);
    // Another controller may come next: the plant is known again from its identity.
    void forgetPlant();

    bool running() const { return m_running; }
    const DischargeProgress& progress() const { return m_progress; }
    const BatteryHistory& history() const { return m_history; }
    QString plant() const { return m_plant; }

signals:
    void testStarted();
    void testProgress(const quma::DischargeProgress& progress);
    // The test's record, judged and written to the history (or not: `error` says why).
    void testEnded(const quma::DischargeTest& test, const QString& error);
    void historyChanged();
    // Each poll: the cells' deviations and the flagged ones.
    void cellsChanged();
    // The history file could not be read or written.
    void problem(const QString& text);
    // A test ended before the plant was known: it is written once its identity is read.
    void plantNeeded();

private:
    void finish(bool linkLost);
    void store(const DischargeTest& test);

    std::function<qint64()> m_clock;
    QString m_folder, m_plant;
    BatteryJudgement m_judgement;
    BatteryHistory m_history;
    CellTrend m_cells;
    std::deque<BatterySample> m_idle; // the polls before a start
    QList<BatterySample> m_samples;   // the test's, from kBefore idle ones on
    bool m_running = false;
    int m_after = 0;           // idle polls since the end
    qsizetype m_slopeFrom = 0; // the first running sample of the last minute
    bool m_stopped = false;
    qint64 m_forcedAt = 0; // when a start was confirmed from here
    TestContext m_context;
    DischargeProgress m_progress;
    QList<DischargeTest> m_unstored; // ended before the plant was known
};

} // namespace quma
