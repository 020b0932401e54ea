// Battery discharge tests: a sample of the pack from one poll, a test's record computed from its
// samples, the verdict against the plant's first and previous tests, and the record as JSON.
#pragma once

#include "core/monitor/RegisterMap.h"

#include <QJsonObject>
#include <QList>
#include <QString>
#include <QStringList>
#include <array>
#include <optional>

namespace quma {

// The pack as one poll reports it.
struct BatterySample {
    qint64 msecs = 0;   // ms since the epoch
    double volts = 0;   // battery voltage (register 98)
    double amps = 0;    // battery current, negative while discharging (99)
    int soc = 0;        // state of charge, percent (100)
    double celsius = 0; // pack temperature (101); NaN with the probe open
    std::array<double, Reg::CellCount> cells{};
    double cellMax = 0, cellMin = 0; // 104, 105
    int balancing = 0;               // 108, a bit per cell
    bool running = false;            // a discharge test runs (94)

    static BatterySample FromImage(const RegisterImage& image, qint64 msecs);
    double cellMean() const;
    // The cell with the lowest voltage, 1..15.
    int lowestCell() const;
};

enum class TestKind { Forced, Scheduled, AtController };
enum class EndReason { TimeElapsed, EndVoltage, Stopped, LinkLost, Unknown };
// Incomplete: stopped or cut off, so not judged.
enum class Verdict { Pass, LookCloser, Fail, Incomplete };

QString TestKindText(TestKind kind);
QString EndReasonText(EndReason reason);
QString VerdictText(Verdict verdict);

// The thresholds a test is judged by. The defaults suit a 15-cell lithium iron phosphate pack;
// the capacity and resistance limits follow the usual maintenance practice against the baseline
// (the plant's first recorded test).
struct BatteryJudgement {
    double capacityFail = 0.80;     // capacity below this share of the baseline's: fail
    double capacityLook = 0.90;     // below this share: look closer
    double resistanceLook = 1.20;   // resistance at or above this multiple of the baseline's
    double spreadLookVolts = 0.10;  // cell spread at the end of the test
    double cellLowLookVolts = 3.00; // the weakest cell at the end of the test
    int minSocDrop = 5;             // percent of charge the capacity figure needs
    bool operator==(const BatteryJudgement&) const = default;
};

// What the test was, besides its samples: how it started and ended, and the plant's settings.
struct TestContext {
    TestKind kind = TestKind::AtController;
    int setMinutes = 0;    // register 79
    double endVolts = 0;   // register 78
    bool stopped = false;  // a stop was sent while it ran
    bool linkLost = false; // the link was lost while it ran
    qint64 startMs = 0;    // when the start was confirmed, if it was sent from here
};

struct CurvePoint {
    double seconds = 0; // from the start of the test
    double volts = 0, amps = 0, lowestCell = 0;
};

struct DischargeTest {
    TestKind kind = TestKind::AtController;
    qint64 startMs = 0, endMs = 0;
    int setMinutes = 0;
    double endVolts = 0;
    EndReason endReason = EndReason::Unknown;
    double ampereHours = 0, wattHours = 0;
    int socStart = 0, socEnd = 0;
    std::optional<double> capacityAh; // ampere-hours per charge drawn, scaled to 100 %
    std::optional<double> milliohms;  // voltage step over current step at the start
    int weakestCell = 0;              // lowest at the end, 1..15
    double weakestCellVolts = 0;
    double spreadStart = 0, spreadEnd = 0; // highest minus lowest cell
    double minCelsius = 0, maxCelsius = 0;
    Verdict verdict = Verdict::Incomplete;
    QStringList findings;                                          // why the verdict, one line each
    std::optional<double> capacityVsBaseline, milliohmsVsBaseline; // ratios
    bool weakCellRecurring = false;
    QList<CurvePoint> curve; // at most kCurvePoints, evenly over the test

    static constexpr int kCurvePoints = 120;
    double minutes() const { return (endMs - startMs) / 60000.0; }

    QJsonObject toJson() const;
    // Nullopt when a field is missing or of the wrong type.
    static std::optional<DischargeTest> fromJson(const QJsonObject& o);
};

// A test as lines of text (the command line, the report): what ran, what it delivered, the
// comparison with the baseline, the verdict and its findings.
QStringList DischargeTestLines(const DischargeTest& test);
// The history table: its header, and a row per test.
QStringList DischargeTableHeader();
QStringList DischargeTableRow(const DischargeTest& test);

// The record of a test from its samples: those before the start (register 94 still zero), the
// running ones, and those after the end.
DischargeTest AnalyseDischarge(const QList<BatterySample>& samples, const TestContext& context);

// The verdict and the findings, against the plant's first test (the baseline) and the one
// before; both absent for the first test.
void JudgeTest(DischargeTest& test, const DischargeTest* baseline, const DischargeTest* previous,
               const BatteryJudgement& judgement);

} // namespace quma
