// The battery watched from the decoded polls: discharge tests and the cell trend.
#include "core/battery/BatteryWatch.h"

#include "core/monitor/MonitorEngine.h"

#include "core/io/ReadFile.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QJsonDocument>
#include <QStandardPaths>
#include <algorithm>
#include <cmath>
#include <optional>

namespace quma {

void CellTrend::add(const BatterySample& s) {
    const double mean = s.cellMean();
    if (mean < 1.0) return; // no pack reports cells
    for (int c = 0; c < Reg::CellCount; ++c) {
        const double d = s.cells[c] - mean;
        m_deviation[c] = d;
        if (std::abs(d) > m_settings.thresholdVolts) {
            if (m_apartSince[c] < 0) m_apartSince[c] = s.msecs;
            m_flagged[c] = s.msecs - m_apartSince[c] >= m_settings.holdMs;
        } else if (std::abs(d) <= m_settings.thresholdVolts / 2) {
            m_apartSince[c] = -1;
            m_flagged[c] = false;
        }
    }
}

QList<int> CellTrend::flagged() const {
    QList<int> cells;
    for (int c = 0; c < Reg::CellCount; ++c)
        if (m_flagged[c]) cells << c + 1;
    std::sort(cells.begin(), cells.end(),
              [&](int a, int b) { return m_deviation[a - 1] < m_deviation[b - 1]; });
    return cells;
}

std::optional<BatterySettings> BatterySettingsFromJson(const QJsonObject& o, const QString& where,
                                                       QString* error) {
    BatterySettings s;
    BatteryJudgement& j = s.judgement;
    double spreadMv = j.spreadLookVolts * 1000, thresholdMv = s.cells.thresholdVolts * 1000;
    double holdMinutes = s.cells.holdMs / 60000.0, minSocDrop = j.minSocDrop;
    struct Field {
        const char* key;
        double* value;
        double min, max;
    };
    const Field fields[] = {{"capacity_fail", &j.capacityFail, 0.1, 1},
                            {"capacity_look", &j.capacityLook, 0.1, 1},
                            {"resistance_look", &j.resistanceLook, 1, 5},
                            {"spread_look_mv", &spreadMv, 10, 1000},
                            {"cell_low_look_volts", &j.cellLowLookVolts, 2, 4},
                            {"min_soc_drop", &minSocDrop, 1, 100},
                            {"cell_threshold_mv", &thresholdMv, 10, 1000},
                            {"cell_hold_minutes", &holdMinutes, 1, 10080}};
    const auto refuse = [&](const QString& why) {
        if (error) *error = where + ": " + why;
        return std::nullopt;
    };
    for (auto it = o.begin(); it != o.end(); ++it) {
        const Field* f = std::find_if(std::begin(fields), std::end(fields),
                                      [&](const Field& x) { return it.key() == x.key; });
        if (f == std::end(fields)) {
            QStringList known;
            for (const Field& x : fields)
                known << x.key;
            return refuse(
                QString("field \"%1\": unknown field (known: %2)").arg(it.key(), known.join(", ")));
        }
        const double v = it.value().toDouble(std::nan(""));
        if (!it.value().isDouble() || !(v >= f->min && v <= f->max))
            return refuse(QString("field \"%1\": must be a number from %2 to %3")
                              .arg(it.key())
                              .arg(f->min)
                              .arg(f->max));
        *f->value = v;
    }
    if (j.capacityFail > j.capacityLook)
        return refuse("field \"capacity_fail\": must not be above capacity_look");
    j.spreadLookVolts = spreadMv / 1000;
    j.minSocDrop = int(minSocDrop);
    s.cells.thresholdVolts = thresholdMv / 1000;
    s.cells.holdMs = qint64(holdMinutes * 60000);
    return s;
}

QString BatterySettingsPath() {
    return QDir(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation))
        .filePath("quma/battery.json");
}

BatterySettings LoadBatterySettings(QString* error) {
    const QString path = BatterySettingsPath();
    if (!QFileInfo::exists(path)) return {};
    QString why;
    const auto bytes = ReadWholeFile(path, 1 << 20, "battery settings", &why);
    QJsonParseError parse{};
    const QJsonDocument doc = bytes ? QJsonDocument::fromJson(*bytes, &parse) : QJsonDocument();
    std::optional<BatterySettings> s;
    if (!bytes) {
    } else if (parse.error != QJsonParseError::NoError || !doc.isObject()) {
        why = path + ": not a JSON object";
    } else {
        s = BatterySettingsFromJson(doc.object(), path, &why);
    }
    if (!s && error) *error = why + " (the defaults are used)";
    return s.value_or(BatterySettings{});
}

BatteryWatch::BatteryWatch(QObject* parent)
    : QObject(parent), m_clock([] { return QDateTime::currentMSecsSinceEpoch(); }),
      m_folder(BatteryHistory::DefaultFolder()) {}

void BatteryWatch::attach(MonitorEngine& engine) {
    connect(&engine, &MonitorEngine::statusRefreshed, this, &BatteryWatch::addPoll);
    connect(&engine, &MonitorEngine::writeConfirmed, this, &BatteryWatch::commandConfirmed);
    connect(&engine, &MonitorEngine::replyStateChanged, this, [this](bool answering) {
        if (!answering) linkLost();
    });
    connect(
        &engine, &MonitorEngine::networkIdentityDecoded, this, [this](const NetworkIdentity& id) {
            const QString key = !id.mac.isEmpty() ? id.mac : QString::fromLatin1(id.serialNumber);
            if (!key.trimmed().isEmpty()) setPlant(key);
        });
}

void BatteryWatch::setPlant(const QString& key) {
    if (key == m_plant) return;
    m_plant = key;
    QString error;
    m_history = BatteryHistory::Load(BatteryHistory::PathFor(m_folder, key), &error);
    if (!error.isEmpty()) emit problem(error);
    emit historyChanged();
    const QList<DischargeTest> waiting = std::exchange(m_unstored, {});
    for (const DischargeTest& t : waiting)
        store(t);
}

void BatteryWatch::forgetPlant() {
    m_plant.clear();
    m_history = BatteryHistory{};
    emit historyChanged();
}

void BatteryWatch::commandConfirmed(int reg, int value) {
    if (reg != Reg::ForcedTest) return;
    if (value == 1) m_forcedAt = m_clock();
    if (value == 2 && m_running) m_stopped = true;
}

void BatteryWatch::addPoll(const RegisterImage& image) {
    const BatterySample s = BatterySample::FromImage(image, m_clock());
    m_cells.add(s);
    emit cellsChanged();
    if (!m_running && m_samples.isEmpty()) {
        if (!s.running) {
            m_idle.push_back(s);
            if (m_idle.size() > kBefore) m_idle.pop_front();
            return;
        }
        // A test begins: how it was started, and the settings it runs by.
        m_running = true;
        m_stopped = false;
        m_samples = QList<BatterySample>(m_idle.begin(), m_idle.end());
        m_idle.clear();
        m_context = TestContext{};
        m_context.setMinutes = image[Reg::TestMinutes];
        m_context.endVolts = image[Reg::TestEndVolts] / 10.0;
        if (m_forcedAt && s.msecs - m_forcedAt < 60000) {
            m_context.kind = TestKind::Forced;
            m_context.startMs = m_forcedAt;
        } else if (image[Reg::TestPeriod] != 0 && image[Reg::Hour] == image[Reg::TestStartHour])
            m_context.kind = TestKind::Scheduled;
        m_forcedAt = 0;
        m_slopeFrom = 0;
        m_progress = DischargeProgress{};
        m_progress.startMs = m_context.startMs     ? m_context.startMs
                             : m_samples.isEmpty() ? s.msecs
                                                   : (m_samples.last().msecs + s.msecs) / 2;
        m_progress.setMinutes = m_context.setMinutes;
        m_progress.endVolts = m_context.endVolts;
        emit testStarted();
    }
    // A copy: appending may move the list.
    const std::optional<BatterySample> previous =
        m_samples.isEmpty() ? std::nullopt : std::optional(m_samples.last());
    m_samples << s;
    if (m_running && !s.running) {
        m_running = false;
        m_after = 0;
    }
    if (!m_running) {
        if (++m_after >= kAfter) finish(false);
        return;
    }
    // The live figures: charge so far, and when the end voltage comes at the last minute's pace.
    if (previous && previous->running)
        m_progress.ampereHours +=
            -0.5 * (previous->amps + s.amps) * (s.msecs - previous->msecs) / 3.6e6;
    m_progress.elapsedMs = s.msecs - m_progress.startMs;
    m_progress.last = s;
    m_progress.minutesToEndVolts = -1;
    while (m_slopeFrom < m_samples.size() - 1 &&
           (!m_samples[m_slopeFrom].running || s.msecs - m_samples[m_slopeFrom].msecs > 60000))
        ++m_slopeFrom;
    const BatterySample& minuteAgo = m_samples[m_slopeFrom];
    if (s.msecs - minuteAgo.msecs >= 5000) {
        const double slope = (s.volts - minuteAgo.volts) / (s.msecs - minuteAgo.msecs) * 60000;
        if (slope < 0 && s.volts > m_context.endVolts)
            m_progress.minutesToEndVolts = (s.volts - m_context.endVolts) / -slope;
    }
    emit testProgress(m_progress);
}

void BatteryWatch::linkLost() {
    if (m_running) finish(true);
}

void BatteryWatch::finish(bool lost) {
    m_context.stopped = m_stopped;
    m_context.linkLost = lost;
    const DischargeTest test = AnalyseDischarge(m_samples, m_context);
    m_samples.clear();
    m_running = false;
    m_stopped = false;
    if (m_plant.isEmpty()) {
        m_unstored << test;
        emit plantNeeded();
        return;
    }
    store(test);
}

void BatteryWatch::store(const DischargeTest& test) {
    QString error;
    if (m_history.add(test, m_judgement, &error)) {
        emit historyChanged();
        emit testEnded(m_history.tests().last(), {});
        return;
    }
    DischargeTest judged = test;
    JudgeTest(judged, m_history.baseline(), m_history.latestComplete(), m_judgement);
    emit problem(error);
    emit testEnded(judged, error);
}

} // namespace quma
