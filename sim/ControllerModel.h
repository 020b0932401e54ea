// The simulated rectifier controller: registers, alarm history, event log and network identity,
// and its answers to every request of the protocol, independent of the link.
#pragma once

#include "sim/BatteryPack.h"

#include <QByteArray>
#include <QDateTime>
#include <QElapsedTimer>
#include <QList>
#include <QRandomGenerator>
#include <array>
#include <optional>

namespace quma::sim {

struct SimOptions {
    int systemType = 4;
    bool battery = true;
    int historySize = 50;
    int eventSize = 50;
    bool frozen = false; // values do not move (tests)
    quint32 seed = 1;
    // Register values set over the defaults (a plant configured otherwise).
    QList<std::pair<int, int>> registers;
    // The battery pack the discharge tests run on.
    PackOptions pack;
};

// Raw fields of the network identity record.
struct NetIdRecord {
    QByteArray mac = QByteArray::fromHex("025EC4E00001");
    QByteArray ip = QByteArray::fromHex("C0A8325C"); // 192.168.50.92
    QByteArray subnet = QByteArray::fromHex("FFFFFF00");
    QByteArray gateway = QByteArray::fromHex("C0A83201");
    QByteArray savedIp = QByteArray::fromHex("C0A8325C");
    QByteArray hwDescription = "Kestra Tarvine;KESTRA;5G 54V;";
    QByteArray serialNumber = "2200000001";
    QByteArray hwVersion = QByteArray::fromHex("00000001");
    QByteArray savedMac = QByteArray::fromHex("025EC4E00001");
    QByteArray savedIpMac = QByteArray(6, 0);
    QByteArray rectId = QByteArray::fromHex("00000001");
    QByteArray savedRectId = QByteArray::fromHex("00000001");
    QByteArray fwVersion = QByteArray::fromHex("01020304");
    QByteArray fwBuild = QByteArray::fromHex("20211227");
    QByteArray siteInfo = "Site A";

    QByteArray encode() const;
    // Applies a write payload (marker 0x12345678, then the record); false when malformed.
    bool applyWrite(const QByteArray& payload);
};

class ControllerModel {
public:
    explicit ControllerModel(const SimOptions& options = {});

    // Register r (1..131).
    int reg(int r) const { return (r >= 1 && r <= 131) ? m_regs[r - 1] : 0; }
    void setReg(int r, int value);
    // A write from the console: the register takes the value and the event log records it.
    void writeRegister(int r, int value);
    // Every register write received, in arrival order.
    const QList<std::pair<int, int>>& writes() const { return m_writes; }

    // Moves the measurements, the clock and now and then an alarm (not when frozen), and a
    // discharge test that runs (frozen or not).
    void tick();
    BatteryPack& pack() { return m_pack; }

    const QList<QByteArray>& alarmHistory() const { return m_alarms; }
    const QList<QByteArray>& eventLog() const { return m_events; }
    NetIdRecord& netId() { return m_netId; }
    void addAlarm(int code, bool occurrence);
    void addEvent(int code, int value);

    // Serial: request bytes (address, function, data) to reply bytes; empty when no reply.
    QByteArray serialReply(const QByteArray& request);
    // TCP: reply data after the function code; nullopt when the function is not answered.
    std::optional<QByteArray> tcpReply(quint8 function, const QByteArray& data);

private:
    QByteArray registerBlock(const QByteArray& request) const;
    QByteArray stamp() const;
    void refreshClock();
    QDateTime currentClock() const;
    QByteArray alarmRecord(int number) const;
    QByteArray eventRecord(int number) const;
    // The pack brought up to now, and its registers written.
    void advancePack();
    void showPack();
    void startTest();

    SimOptions m_opt;
    std::array<int, 131> m_regs{};
    QList<QByteArray> m_alarms; // record number = index; 34 bytes each
    QList<QByteArray> m_events; // 10 bytes each
    QList<std::pair<int, int>> m_writes;
    NetIdRecord m_netId;
    qint64 m_clockOffset = 0;
    std::array<int, 6> m_clockFields{};
    bool m_clockPending = false;
    QDateTime m_frozenClock;
    QRandomGenerator m_rng;
    int m_ticks = 0;
    BatteryPack m_pack;
    QElapsedTimer m_packClock;
    int m_scheduledHour = -1; // the hour a scheduled test last started in
};

} // namespace quma::sim
