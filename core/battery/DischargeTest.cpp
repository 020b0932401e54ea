// Battery discharge tests: samples, the record, the verdict and the record as JSON.
#include "core/battery/DischargeTest.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QJsonArray>
#include <algorithm>
#include <cmath>
#include <numeric>

namespace quma {

BatterySample BatterySample::FromImage(const RegisterImage& r, qint64 msecs) {
    BatterySample s;
    s.msecs = msecs;
    s.volts = r[Reg::BattVolts] / 100.0;
    s.amps = SignedRegister(r[Reg::BattCurrent]) / 10.0;
    s.soc = r[Reg::BattSoc];
    s.celsius =
        r[Reg::PackTemp] == kTempProbeOpen ? std::nan("") : SignedRegister(r[Reg::PackTemp]) / 10.0;
    for (int c = 0; c < Reg::CellCount; ++c)
        s.cells[c] = r[Reg::Cell1 + c] / 100.0;
    s.cellMax = r[Reg::CellMax] / 100.0;
    s.cellMin = r[Reg::CellMin] / 100.0;
    s.balancing = r[Reg::CellBalance] & 0x7FFF;
    s.running = r[Reg::BattTestRunning] != 0;
    return s;
}

double BatterySample::cellMean() const {
    return std::accumulate(cells.begin(), cells.end(), 0.0) / cells.size();
}

int BatterySample::lowestCell() const {
    return int(std::min_element(cells.begin(), cells.end()) - cells.begin()) + 1;
}

QString TestKindText(TestKind kind) {
    switch (kind) {
    case TestKind::Forced:
        return QCoreApplication::translate("Battery", "forced");
    case TestKind::Scheduled:
        return QCoreApplication::translate("Battery", "scheduled");
    case TestKind::AtController:
        break;
    }
    return QCoreApplication::translate("Battery", "started at the controller");
}

QString EndReasonText(EndReason reason) {
    switch (reason) {
    case EndReason::TimeElapsed:
        return QCoreApplication::translate("Battery", "time elapsed");
    case EndReason::EndVoltage:
        return QCoreApplication::translate("Battery", "end voltage reached early");
    case EndReason::Stopped:
        return QCoreApplication::translate("Battery", "stopped by command");
    case EndReason::LinkLost:
        return QCoreApplication::translate("Battery", "link lost");
    case EndReason::Unknown:
        break;
    }
    return QCoreApplication::translate("Battery", "ended at the controller");
}

QString VerdictText(Verdict verdict) {
    switch (verdict) {
    case Verdict::Pass:
        return QCoreApplication::translate("Battery", "pass");
    case Verdict::LookCloser:
        return QCoreApplication::translate("Battery", "look closer");
    case Verdict::Fail:
        return QCoreApplication::translate("Battery", "fail");
    case Verdict::Incomplete:
        break;
    }
    return QCoreApplication::translate("Battery", "not judged");
}

namespace {

QString when(qint64 msecs) {
    return QDateTime::fromMSecsSinceEpoch(msecs).toString("yyyy-MM-dd HH:mm:ss");
}

QString percentOf(const std::optional<double>& ratio) {
    return ratio ? QString::number(*ratio * 100, 'f', 0) + " %" : QString("-");
}

// In whole millivolts (the registers hold tens of them): 3.29 - 3.19 is 100 mV, not a hair more.
double spread(const BatterySample& s) {
    const auto [lo, hi] = std::minmax_element(s.cells.begin(), s.cells.end());
    return std::round((*hi - *lo) * 1000) / 1000;
}

// Time-weighted: each running sample's current holds from halfway after the sample before to
// halfway before the sample after; the first from the start, the last to the end.
void integrate(const QList<BatterySample>& all, int first, int last, qint64 start, qint64 end,
               double* ah, double* wh) {
    for (int i = first; i <= last; ++i) {
        const double from = i > first ? 0.5 * (all[i - 1].msecs + all[i].msecs) : start;
        const double to = i < last ? 0.5 * (all[i].msecs + all[i + 1].msecs) : end;
        const double hours = std::max(0.0, to - from) / 3.6e6;
        const double discharge = -all[i].amps;
        *ah += discharge * hours;
        *wh += discharge * all[i].volts * hours;
    }
}

} // namespace

QStringList DischargeTestLines(const DischargeTest& t) {
    QStringList l;
    l << QCoreApplication::translate("Battery", "Discharge test: %1, %2 to %3 (%4 of %5 min), %6")
             .arg(TestKindText(t.kind), when(t.startMs), when(t.endMs).mid(11))
             .arg(t.minutes(), 0, 'f', 1)
             .arg(t.setMinutes)
             .arg(EndReasonText(t.endReason));
    l << QCoreApplication::translate("Battery", "Delivered: %1 Ah, %2 Wh; charge %3 % to %4 %")
             .arg(t.ampereHours, 0, 'f', 3)
             .arg(t.wattHours, 0, 'f', 1)
             .arg(t.socStart)
             .arg(t.socEnd);
    l << QCoreApplication::translate("Battery", "Capacity: %1 Ah (%2 of the first test)")
             .arg(t.capacityAh ? QString::number(*t.capacityAh, 'f', 1) : QString("-"),
                  percentOf(t.capacityVsBaseline));
    l << QCoreApplication::translate("Battery", "Resistance: %1 mOhm (%2 of the first test)")
             .arg(t.milliohms ? QString::number(*t.milliohms, 'f', 1) : QString("-"),
                  percentOf(t.milliohmsVsBaseline));
    l << QCoreApplication::translate(
             "Battery", "Weakest cell: #%1 at %2 V; spread %3 mV at the start, %4 mV at the end")
             .arg(t.weakestCell)
             .arg(t.weakestCellVolts, 0, 'f', 2)
             .arg(t.spreadStart * 1000, 0, 'f', 0)
             .arg(t.spreadEnd * 1000, 0, 'f', 0);
    if (!std::isnan(t.minCelsius))
        l << QCoreApplication::translate("Battery", "Temperature: %1 to %2 C")
                 .arg(t.minCelsius, 0, 'f', 1)
                 .arg(t.maxCelsius, 0, 'f', 1);
    l << QCoreApplication::translate("Battery", "Verdict: %1").arg(VerdictText(t.verdict));
    for (const QString& f : t.findings)
        l << "  - " + f;
    return l;
}

QStringList DischargeTableHeader() {
    return {QCoreApplication::translate("Battery", "Start"),
            QCoreApplication::translate("Battery", "Kind"),
            QCoreApplication::translate("Battery", "Minutes"),
            QCoreApplication::translate("Battery", "End"),
            QCoreApplication::translate("Battery", "Ah"),
            QCoreApplication::translate("Battery", "Wh"),
            QCoreApplication::translate("Battery", "Charge %"),
            QCoreApplication::translate("Battery", "Capacity Ah"),
            QCoreApplication::translate("Battery", "vs first"),
            QCoreApplication::translate("Battery", "mOhm"),
            QCoreApplication::translate("Battery", "vs first"),
            QCoreApplication::translate("Battery", "Weakest cell"),
            QCoreApplication::translate("Battery", "Spread mV"),
            QCoreApplication::translate("Battery", "Verdict")};
}

QStringList DischargeTableRow(const DischargeTest& t) {
    const auto figure = [](const std::optional<double>& v, int decimals) {
        return v ? QString::number(*v, 'f', decimals) : QString("-");
    };
    return {when(t.startMs),
            TestKindText(t.kind),
            QString::number(t.minutes(), 'f', 1),
            EndReasonText(t.endReason),
            QString::number(t.ampereHours, 'f', 3),
            QString::number(t.wattHours, 'f', 1),
            QString("%1-%2").arg(t.socStart).arg(t.socEnd),
            figure(t.capacityAh, 1),
            percentOf(t.capacityVsBaseline),
            figure(t.milliohms, 1),
            percentOf(t.milliohmsVsBaseline),
            QString("#%1%2").arg(t.weakestCell).arg(t.weakCellRecurring ? " *" : ""),
            QString::number(t.spreadEnd * 1000, 'f', 0),
            VerdictText(t.verdict)};
}

DischargeTest AnalyseDischarge(const QList<BatterySample>& samples, const TestContext& context) {
    DischargeTest t;
    t.kind = context.kind;
    t.setMinutes = context.setMinutes;
    t.endVolts = context.endVolts;
    int first = -1, last = -1;
    for (int i = 0; i < samples.size(); ++i)
        if (samples[i].running) {
            if (first < 0) first = i;
            last = i;
        }
    if (first < 0) return t;
    const BatterySample& a = samples[first];
    const BatterySample& z = samples[last];
    const bool before = first > 0, after = last + 1 < samples.size();
    // Between the last idle sample and the first running one, unless the start is known (a
    // confirmed start command); likewise at the end.
    const qint64 idleBefore = before ? samples[first - 1].msecs : a.msecs;
    t.startMs = context.startMs > idleBefore && context.startMs <= a.msecs
                    ? context.startMs
                    : (idleBefore + a.msecs) / 2;
    t.endMs = after && !context.linkLost ? (z.msecs + samples[last + 1].msecs) / 2 : z.msecs;
    integrate(samples, first, last, t.startMs, t.endMs, &t.ampereHours, &t.wattHours);
    t.socStart = before ? samples[first - 1].soc : a.soc;
    t.socEnd = z.soc;
    // The step at the start: from the last idle sample to the first that discharges.
    if (before) {
        const BatterySample& idle = samples[first - 1];
        for (int i = first; i <= last; ++i)
            if (samples[i].amps < 0) {
                const double di = idle.amps - samples[i].amps;
                if (di >= 1.0) t.milliohms = 1000.0 * (idle.volts - samples[i].volts) / di;
                break;
            }
    }
    t.weakestCell = z.lowestCell();
    t.weakestCellVolts = z.cells[t.weakestCell - 1];
    t.spreadStart = spread(a);
    t.spreadEnd = spread(z);
    t.minCelsius = t.maxCelsius = std::nan("");
    for (int i = first; i <= last; ++i)
        if (!std::isnan(samples[i].celsius)) {
            if (std::isnan(t.minCelsius) || samples[i].celsius < t.minCelsius)
                t.minCelsius = samples[i].celsius;
            if (std::isnan(t.maxCelsius) || samples[i].celsius > t.maxCelsius)
                t.maxCelsius = samples[i].celsius;
        }
    const double lowest = std::min_element(samples.begin() + first, samples.begin() + last + 1,
                                           [](const BatterySample& x, const BatterySample& y) {
                                               return x.volts < y.volts;
                                           })
                              ->volts;
    if (context.linkLost)
        t.endReason = EndReason::LinkLost;
    else if (context.stopped)
        t.endReason = EndReason::Stopped;
    else if (t.setMinutes > 0 && t.minutes() >= t.setMinutes * 0.97)
        t.endReason = EndReason::TimeElapsed;
    // Near the end voltage the pack falls fast: the last poll may come a little above it.
    else if (t.endVolts > 0 && lowest <= t.endVolts * 1.02)
        t.endReason = EndReason::EndVoltage;
    const int drop = t.socStart - t.socEnd;
    if (drop > 0) t.capacityAh = t.ampereHours * 100.0 / drop;
    for (int p = 0; p < DischargeTest::kCurvePoints; ++p) {
        const int i = first + int(qint64(p) * (last - first) / (DischargeTest::kCurvePoints - 1));
        const BatterySample& s = samples[i];
        const CurvePoint point{(s.msecs - t.startMs) / 1000.0, s.volts, s.amps,
                               *std::min_element(s.cells.begin(), s.cells.end())};
        if (t.curve.isEmpty() || t.curve.last().seconds != point.seconds) t.curve << point;
    }
    return t;
}

void JudgeTest(DischargeTest& t, const DischargeTest* baseline, const DischargeTest* previous,
               const BatteryJudgement& j) {
    t.findings.clear();
    t.capacityVsBaseline.reset();
    t.milliohmsVsBaseline.reset();
    if (t.endReason == EndReason::LinkLost || t.endReason == EndReason::Stopped) {
        t.verdict = Verdict::Incomplete;
        t.findings << QCoreApplication::translate("Battery",
                                                  "The test did not run to its end: not judged.");
        return;
    }
    Verdict v = Verdict::Pass;
    const auto worse = [&](Verdict w) {
        if (int(w) > int(v)) v = w;
    };
    if (t.endReason == EndReason::EndVoltage) {
        worse(Verdict::Fail);
        t.findings << QCoreApplication::translate(
                          "Battery", "The end voltage %1 V came after %2 of %3 minutes.")
                          .arg(t.endVolts, 0, 'f', 1)
                          .arg(t.minutes(), 0, 'f', 1)
                          .arg(t.setMinutes);
    }
    const bool capacityKnown = t.capacityAh && t.socStart - t.socEnd >= j.minSocDrop;
    if (baseline && capacityKnown && baseline->capacityAh &&
        baseline->socStart - baseline->socEnd >= j.minSocDrop && *baseline->capacityAh > 0) {
        const double ratio = *t.capacityAh / *baseline->capacityAh;
        t.capacityVsBaseline = ratio;
        if (ratio < j.capacityFail) {
            worse(Verdict::Fail);
            t.findings << QCoreApplication::translate(
                              "Battery", "Capacity %1 % of the first test's: below %2 %.")
                              .arg(ratio * 100, 0, 'f', 0)
                              .arg(j.capacityFail * 100, 0, 'f', 0);
        } else if (ratio < j.capacityLook) {
            worse(Verdict::LookCloser);
            t.findings << QCoreApplication::translate(
                              "Battery", "Capacity %1 % of the first test's: down more than %2 %.")
                              .arg(ratio * 100, 0, 'f', 0)
                              .arg((1 - j.capacityLook) * 100, 0, 'f', 0);
        }
    }
    if (baseline && t.milliohms && baseline->milliohms && *baseline->milliohms > 0) {
        const double ratio = *t.milliohms / *baseline->milliohms;
        t.milliohmsVsBaseline = ratio;
        if (ratio >= j.resistanceLook) {
            worse(Verdict::LookCloser);
            t.findings << QCoreApplication::translate(
                              "Battery", "Resistance %1 % of the first test's: up %2 % or more.")
                              .arg(ratio * 100, 0, 'f', 0)
                              .arg((j.resistanceLook - 1) * 100, 0, 'f', 0);
        }
    }
    if (t.spreadEnd > j.spreadLookVolts) {
        worse(Verdict::LookCloser);
        t.findings << QCoreApplication::translate(
                          "Battery", "Cell spread %1 mV at the end (limit %2 mV), lowest cell #%3.")
                          .arg(t.spreadEnd * 1000, 0, 'f', 0)
                          .arg(j.spreadLookVolts * 1000, 0, 'f', 0)
                          .arg(t.weakestCell);
    }
    if (t.weakestCellVolts < j.cellLowLookVolts) {
        worse(Verdict::LookCloser);
        t.findings << QCoreApplication::translate("Battery", "Cell #%1 ended at %2 V (limit %3 V).")
                          .arg(t.weakestCell)
                          .arg(t.weakestCellVolts, 0, 'f', 2)
                          .arg(j.cellLowLookVolts, 0, 'f', 2);
    }
    t.weakCellRecurring =
        previous && previous->weakestCell == t.weakestCell && t.spreadEnd > j.spreadLookVolts / 2;
    if (t.weakCellRecurring)
        t.findings << QCoreApplication::translate(
                          "Battery", "Cell #%1 was the weakest in the test before too.")
                          .arg(t.weakestCell);
    t.verdict = v;
}

namespace {

const char* const kKinds[] = {"forced", "scheduled", "controller"};
const char* const kReasons[] = {"time", "end-voltage", "stopped", "link-lost", "unknown"};
const char* const kVerdicts[] = {"pass", "look-closer", "fail", "incomplete"};

template <class E, std::size_t N>
std::optional<E> named(const char* const (&names)[N], const QJsonValue& v) {
    for (std::size_t i = 0; i < N; ++i)
        if (v.toString() == QLatin1String(names[i])) return E(i);
    return std::nullopt;
}

QJsonValue optional(const std::optional<double>& v) {
    return v ? QJsonValue(*v) : QJsonValue();
}

} // namespace

QJsonObject DischargeTest::toJson() const {
    QJsonArray points;
    // Rounded to what the registers resolve: the file stays small and readable.
    const auto round = [](double v, double perUnit) { return std::round(v * perUnit) / perUnit; };
    for (const CurvePoint& p : curve)
        points.append(QJsonArray{round(p.seconds, 10), round(p.volts, 100), round(p.amps, 10),
                                 round(p.lowestCell, 100)});
    const auto number = [](double v) { return std::isnan(v) ? QJsonValue() : QJsonValue(v); };
    return {{"kind", kKinds[int(kind)]},
            {"start", startMs},
            {"end", endMs},
            {"set_minutes", setMinutes},
            {"end_volts", endVolts},
            {"end_reason", kReasons[int(endReason)]},
            {"ampere_hours", ampereHours},
            {"watt_hours", wattHours},
            {"soc_start", socStart},
            {"soc_end", socEnd},
            {"capacity_ah", optional(capacityAh)},
            {"milliohms", optional(milliohms)},
            {"weakest_cell", weakestCell},
            {"weakest_cell_volts", weakestCellVolts},
            {"spread_start", spreadStart},
            {"spread_end", spreadEnd},
            {"min_celsius", number(minCelsius)},
            {"max_celsius", number(maxCelsius)},
            {"verdict", kVerdicts[int(verdict)]},
            {"findings", QJsonArray::fromStringList(findings)},
            {"capacity_vs_baseline", optional(capacityVsBaseline)},
            {"milliohms_vs_baseline", optional(milliohmsVsBaseline)},
            {"weak_cell_recurring", weakCellRecurring},
            {"curve", points}};
}

std::optional<DischargeTest> DischargeTest::fromJson(const QJsonObject& o) {
    DischargeTest t;
    const auto k = named<TestKind>(kKinds, o["kind"]);
    const auto r = named<EndReason>(kReasons, o["end_reason"]);
    const auto v = named<Verdict>(kVerdicts, o["verdict"]);
    for (const char* key :
         {"start", "end", "set_minutes", "end_volts", "ampere_hours", "watt_hours", "soc_start",
          "soc_end", "weakest_cell", "weakest_cell_volts", "spread_start", "spread_end"})
        if (!o[key].isDouble()) return std::nullopt;
    if (!k || !r || !v || !o["curve"].isArray() || !o["findings"].isArray()) return std::nullopt;
    // Times in ms since the epoch, within a few thousand years of it.
    for (const char* key : {"start", "end"})
        if (std::abs(o[key].toDouble()) > 1e14) return std::nullopt;
    const auto opt = [&](const char* key) {
        return o[key].isDouble() ? std::optional<double>(o[key].toDouble()) : std::nullopt;
    };
    t.kind = *k;
    t.endReason = *r;
    t.verdict = *v;
    t.startMs = qint64(o["start"].toDouble());
    t.endMs = qint64(o["end"].toDouble());
    t.setMinutes = o["set_minutes"].toInt();
    t.endVolts = o["end_volts"].toDouble();
    t.ampereHours = o["ampere_hours"].toDouble();
    t.wattHours = o["watt_hours"].toDouble();
    t.socStart = o["soc_start"].toInt();
    t.socEnd = o["soc_end"].toInt();
    t.capacityAh = opt("capacity_ah");
    t.milliohms = opt("milliohms");
    t.weakestCell = std::clamp(o["weakest_cell"].toInt(), 1, int(Reg::CellCount));
    t.weakestCellVolts = o["weakest_cell_volts"].toDouble();
    t.spreadStart = o["spread_start"].toDouble();
    t.spreadEnd = o["spread_end"].toDouble();
    t.minCelsius = opt("min_celsius").value_or(std::nan(""));
    t.maxCelsius = opt("max_celsius").value_or(std::nan(""));
    for (const QJsonValue& f : o["findings"].toArray())
        t.findings << f.toString();
    t.capacityVsBaseline = opt("capacity_vs_baseline");
    t.milliohmsVsBaseline = opt("milliohms_vs_baseline");
    t.weakCellRecurring = o["weak_cell_recurring"].toBool();
    for (const QJsonValue& p : o["curve"].toArray()) {
        const QJsonArray a = p.toArray();
        if (a.size() != 4) return std::nullopt;
        t.curve << CurvePoint{a[0].toDouble(), a[1].toDouble(), a[2].toDouble(), a[3].toDouble()};
    }
    return t;
}

} // namespace quma
