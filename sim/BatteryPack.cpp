// The simulated battery pack and its discharge test.
#include "sim/BatteryPack.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace quma::sim {

namespace {

// Open-circuit voltage of a lithium iron phosphate cell by state of charge: steep at both ends,
// nearly flat between.
double LfpVolts(double soc) {
    static const double kSoc[] = {0, 5, 10, 20, 40, 60, 80, 90, 97, 100};
    static const double kVolts[] = {2.50, 3.00, 3.17, 3.22, 3.27, 3.29, 3.31, 3.33, 3.40, 3.50};
    soc = std::clamp(soc, 0.0, 100.0);
    int i = 1;
    while (i < 9 && soc > kSoc[i])
        ++i;
    const double f = (soc - kSoc[i - 1]) / (kSoc[i] - kSoc[i - 1]);
    return kVolts[i - 1] + f * (kVolts[i] - kVolts[i - 1]);
}

constexpr double kCellOhms = 0.0008; // a new cell
constexpr double kChargeAmps = 2.5;  // the rectifier's charge current when not full

} // namespace

BatteryPack::BatteryPack(const PackOptions& o) : m_opt(o) {
    build(o.age);
    if (o.ampereHours > 0) model(87);
}

void BatteryPack::build(double age) {
    const double ah = m_opt.ampereHours > 0 ? m_opt.ampereHours : 100;
    age = std::clamp(age, 0.0, 0.95);
    for (int c = 0; c < kCells; ++c) {
        const bool weak = c + 1 == m_opt.weakCell;
        m_capacity[c] = ah * (1 - age) * (weak ? 0.8 : 1.0);
        m_ohms[c] = kCellOhms * (1 + 2 * age) * (weak ? 2.5 : 1.0);
        m_offset[c] = weak ? -0.060 : 0.0;
    }
}

void BatteryPack::setAge(double age) {
    std::array<double, kCells> share{};
    for (int c = 0; c < kCells; ++c)
        share[c] = m_charge[c] / m_capacity[c];
    build(age);
    for (int c = 0; c < kCells; ++c)
        m_charge[c] = share[c] * m_capacity[c];
}

void BatteryPack::model(int socPercent) {
    if (m_modelled) return;
    m_modelled = true;
    for (int c = 0; c < kCells; ++c)
        m_charge[c] = m_capacity[c] * socPercent / 100.0;
    m_amps = kChargeAmps;
}

double BatteryPack::ocv(int c) const {
    return LfpVolts(100.0 * m_charge[c] / m_capacity[c]) + m_offset[c];
}

double BatteryPack::cellVolts(int c) const {
    return ocv(c) + m_amps * m_ohms[c];
}

double BatteryPack::volts() const {
    double v = 0;
    for (int c = 0; c < kCells; ++c)
        v += cellVolts(c);
    return v;
}

int BatteryPack::soc() const {
    double share = 0;
    for (int c = 0; c < kCells; ++c)
        share += m_charge[c] / m_capacity[c];
    return int(std::lround(100 * share / kCells));
}

void BatteryPack::startTest(int minutes, double endVolts) {
    m_testing = true;
    m_testSimSeconds = 0;
    m_testLimitSeconds = minutes * 60.0;
    m_endVolts = endVolts;
    m_record = SimTestRecord{};
}

void BatteryPack::stopTest() {
    if (!m_testing) return;
    m_testing = false;
    m_record.end = SimTestRecord::End::Stopped;
    m_amps = kChargeAmps;
}

void BatteryPack::step(double realSeconds, double loadAmps) {
    if (!m_modelled) return;
    const double simSeconds = realSeconds * (m_testing ? m_opt.timeScale : 1.0);
    // While a test runs the rectifiers stand back and the pack carries the load.
    m_amps = m_testing ? -loadAmps : (soc() < 100 ? kChargeAmps : 0.0);
    for (int c = 0; c < kCells; ++c)
        m_charge[c] = std::clamp(m_charge[c] + m_amps * simSeconds / 3600, 0.0, m_capacity[c]);
    if (!m_testing) return;
    m_testSimSeconds += simSeconds;
    m_record.seconds += realSeconds;
    m_record.ampereHours += loadAmps * realSeconds / 3600;
    if (volts() <= m_endVolts) {
        m_record.end = SimTestRecord::End::EndVoltage;
    } else if (m_testSimSeconds >= m_testLimitSeconds) {
        m_record.end = SimTestRecord::End::Time;
    } else {
        return;
    }
    m_testing = false;
    m_amps = kChargeAmps;
}

} // namespace quma::sim
