// The simulated battery: 15 lithium iron phosphate cells in series, each with its charge, its
// open-circuit voltage curve and its internal resistance, and the discharge test the controller
// runs on them.
#pragma once

#include <QElapsedTimer>
#include <array>

namespace quma::sim {

struct PackOptions {
    double ampereHours = 0; // capacity when new; 0: the plant's registers stand until a test
    double age = 0;         // 0 new .. 1: capacity falls by age, resistance rises by 2 x age
    int weakCell = 0;       // 1..15: a cell with less capacity, more resistance and a lower voltage
    double timeScale = 1;   // simulated seconds per real second while a test runs
};

// A test as the simulator ran it, for tests to compare with what the console recorded.
struct SimTestRecord {
    double ampereHours = 0; // the current integrated over real time
    double seconds = 0;     // real time
    enum class End { Running, Time, EndVoltage, Stopped } end = End::Running;
};

class BatteryPack {
public:
    static constexpr int kCells = 15;
    explicit BatteryPack(const PackOptions& options = {});

    bool modelled() const { return m_modelled; }
    // The pack grows older (or younger): each cell keeps its share of charge.
    void setAge(double age);
    // From now on the pack's registers come from the model (a test starts on a plain plant).
    void model(int socPercent);
    bool testing() const { return m_testing; }
    void startTest(int minutes, double endVolts);
    void stopTest();
    // Advances by `realSeconds`; `loadAmps` is what the plant draws.
    void step(double realSeconds, double loadAmps);

    double amps() const { return m_amps; } // negative while discharging
    double volts() const;
    double cellVolts(int cell) const; // 0-based
    int soc() const;
    const SimTestRecord& lastTest() const { return m_record; }

private:
    double ocv(int cell) const;
    void build(double age);

    PackOptions m_opt;
    bool m_modelled = false;
    std::array<double, kCells> m_capacity{}, m_charge{}, m_ohms{}, m_offset{};
    double m_amps = 0;
    bool m_testing = false;
    double m_testSimSeconds = 0, m_testLimitSeconds = 0, m_endVolts = 0;
    SimTestRecord m_record;
};

} // namespace quma::sim
