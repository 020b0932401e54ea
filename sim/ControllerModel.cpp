// The simulated rectifier controller: registers, alarm history, event log and network identity,
// and its answers to every request of the protocol, independent of the link.
#include "sim/ControllerModel.h"

#include "core/monitor/RegisterMap.h"

#include <cmath>

namespace quma::sim {

namespace {
QByteArray u16(int v) {
    QByteArray b;
    b.append(char((v >> 8) & 0xFF));
    b.append(char(v & 0xFF));
    return b;
}
int word(const QByteArray& b, int i) {
    return (i + 1 < b.size()) ? ((uchar(b[i]) << 8) | uchar(b[i + 1])) : 0;
}
} // namespace

QByteArray NetIdRecord::encode() const {
    QByteArray r;
    r += mac + ip + subnet + gateway + char(0) + savedIp + QByteArray(4, 0);
    r += char(hwDescription.size()) + hwDescription;
    r += serialNumber.leftJustified(10, ' ', true) + "; ";
    r += hwVersion + savedMac + savedIpMac + QByteArray(6, 0);
    r += rectId + savedRectId + fwVersion + fwBuild;
    r += char(siteInfo.size()) + siteInfo;
    return r;
}

bool NetIdRecord::applyWrite(const QByteArray& p) {
    if (p.size() < 4 || p.left(4) != QByteArray::fromHex("12345678")) return false;
    int i = 4;
    const auto take = [&](int n, QByteArray* out) {
        if (i + n > p.size()) return false;
        if (out) *out = p.mid(i, n);
        i += n;
        return true;
    };
    NetIdRecord n = *this;
    QByteArray flagsByte, len, skip;
    if (!take(6, &n.mac) || !take(4, &n.ip) || !take(4, &n.subnet) || !take(4, &n.gateway) ||
        !take(1, &flagsByte) || !take(4, nullptr) || !take(4, nullptr) || !take(1, &len))
        return false;
    if (!take(uchar(len[0]), &n.hwDescription) || !take(10, &n.serialNumber) || !take(2, nullptr) ||
        !take(4, &n.hwVersion) || !take(6, nullptr) || !take(6, nullptr) || !take(6, nullptr) ||
        !take(4, &n.rectId) || !take(4, nullptr) || !take(4, nullptr) || !take(4, nullptr) ||
        !take(1, &len) || !take(uchar(len[0]), &n.siteInfo))
        return false;
    const int flags = uchar(flagsByte[0]);
    // Subnet mask and gateway have no flag of their own: they are always taken.
    subnet = n.subnet;
    gateway = n.gateway;
    if (flags & 0x01) ip = savedIp = n.ip;
    if (flags & 0x02) hwDescription = n.hwDescription;
    if (flags & 0x04) serialNumber = n.serialNumber;
    if (flags & 0x08) hwVersion = n.hwVersion;
    if (flags & 0x10) mac = savedMac = n.mac;
    if (flags & 0x20) rectId = savedRectId = n.rectId;
    if (flags & 0x40) siteInfo = n.siteInfo;
    return true;
}

ControllerModel::ControllerModel(const SimOptions& o) : m_opt(o), m_rng(o.seed), m_pack(o.pack) {
    const std::initializer_list<std::pair<int, int>> defaults = {
        {Reg::AcVolts, 2200},
        {Reg::AcAmps, 52},
        {Reg::DcVolts, 545},
        {Reg::LoadAmps, 350},
        {Reg::BattAmps, 25},
        {Reg::BattTemp, 253},
        {Reg::RectTemp, 312},
        {Reg::FwCounter, 7},
        {Reg::Dsp1Version, 0x0102},
        {Reg::Dsp1Build, 0x0304},
        {Reg::Dsp2Version, 0x0105},
        {Reg::Dsp2Build, 0x0607},
        {Reg::FwVersion, 0x0101},
        {Reg::FwRevision, 0x0500},
        {Reg::FwYear, 0x2021},
        {Reg::FwMonthDay, 0x1227},
        {Reg::SpeedSetup, 0},
        {Reg::Speed, 100},
        {Reg::AcUndervoltAlarm, 170},
        {Reg::AcOvervoltAlarm, 270},
        {Reg::DcUndervoltAlarm, 460},
        {Reg::DcOvervoltAlarm, 570},
        {Reg::BattLowVoltAlarm, 440},
        {Reg::DcOvercurrentAlarm, 105},
        {Reg::OutputVolts, 540},
        {Reg::SetVolts, 5450},
        {Reg::LiChargeLimit, 0},
        {Reg::ChargeLimit, 30},
        {Reg::ChargeMode, 1},
        {Reg::OutputOvervoltState, 0},
        {Reg::DcCutoffVolts, 580},
        {Reg::LiCutoffVolts, 430},
        {Reg::TestPeriod, 0},
        {Reg::TestStartMonth, 5},
        {Reg::TestStartDay, 1},
        {Reg::TestStartHour, 3},
        {Reg::TestEndVolts, 460},
        {Reg::TestMinutes, 1},
        {Reg::RackCutoffTemp, 1000},
        {Reg::BattTempSensor, 1},
        {Reg::ContactWordsFirst, 0x0001},
        {Reg::ContactWordsFirst + 1, 0x0000},
        {Reg::ContactWordsFirst + 2, 0x0026},
        {Reg::ContactWordsFirst + 3, 0x0002},
        {Reg::ContactWordsFirst + 4, 0x0100},
        {Reg::ContactWordsFirst + 5, 0x0008},
        {Reg::ContactWordsFirst + 6, 0x0000},
        {Reg::ContactWordsFirst + 7, 0x0062},
        {Reg::BattFirmware, 105},
        {Reg::PackVolts, 5320},
        {Reg::BattVolts, 5310},
        {Reg::BattCurrent, 25},
        {Reg::BattSoc, 87},
        {Reg::PackTemp, 245},
        {Reg::BattLvd, 420},
        {Reg::BattChargeLimit, 100},
        {Reg::CellMax, 335},
        {Reg::CellMin, 330},
        {Reg::BattState, 0x0E},
        {Reg::BattFwDate, 2112},
        {Reg::CanCpuVersion, 0x0A01},
        {Reg::CanCpuBuild, 0x0203}};
    for (const auto& [r, v] : defaults)
        setReg(r, v);
    for (int c = 0; c < Reg::CellCount; ++c)
        setReg(Reg::Cell1 + c, 330 + (c * 3) % 6);
    setReg(Reg::SystemType, o.systemType);
    setReg(Reg::BattInstalled, o.battery ? 1 : 0);
    for (const auto& [r, v] : o.registers)
        setReg(r, v);
    m_frozenClock = QDateTime(QDate(2021, 12, 27), QTime(9, 5, 0));
    refreshClock();
    m_packClock.start();
    if (m_pack.modelled() && o.battery) showPack();
    const QDateTime base = m_frozenClock.addDays(-30);
    for (int i = 0; i < o.historySize; ++i) {
        static const int kCodes[] = {1, 2, 3, 6, 7, 9, 18, 20, 23, 25, 26};
        QByteArray rec;
        const QDateTime t = base.addSecs(i * 600);
        for (int b : {t.date().year() - 2000, t.date().month(), t.date().day(), t.time().hour(),
                      t.time().minute(), t.time().second()})
            rec += char(b);
        for (int w : {2200 + i % 7, 52, 545, 350 + i % 11, (i % 3 == 0) ? 0xFFF6 : 25, 250 + i % 9,
                      0, 0, 0, 0, 0})
            rec += u16(w);
        rec += QByteArray(4, 0) + char(kCodes[i % 11]) + char(i % 2);
        m_alarms << rec;
    }
    for (int i = 0; i < o.eventSize; ++i) {
        QByteArray rec;
        const QDateTime t = base.addSecs(i * 900);
        for (int b : {t.date().year() - 2000, t.date().month(), t.date().day(), t.time().hour(),
                      t.time().minute(), t.time().second()})
            rec += char(b);
        static const int kCodes[][2] = {{0, 0},  {1, 0},    {12, 546},    {15, 0xFFCE}, {17, 500},
                                        {18, 2}, {25, 165}, {54, 0xC0A8}, {70, 255},    {33, 460}};
        rec += u16(kCodes[i % 10][0]) + u16(kCodes[i % 10][1]);
        m_events << rec;
    }
}

void ControllerModel::setReg(int r, int value) {
    if (r >= 1 && r <= kRegisterCount) m_regs[r - 1] = value & 0xFFFF;
}

QDateTime ControllerModel::currentClock() const {
    return m_opt.frozen ? m_frozenClock : QDateTime::currentDateTime().addSecs(m_clockOffset);
}

void ControllerModel::refreshClock() {
    const QDateTime now = currentClock();
    setReg(Reg::Year, now.date().year());
    setReg(Reg::Month, now.date().month());
    setReg(Reg::Day, now.date().day());
    setReg(Reg::Hour, now.time().hour());
    setReg(Reg::Minute, now.time().minute());
    setReg(Reg::Second, now.time().second());
}

QByteArray ControllerModel::stamp() const {
    QByteArray s;
    for (int r = 1; r <= 6; ++r)
        s += char(r == Reg::Year ? reg(Reg::Year) % 100 : reg(r));
    return s;
}

void ControllerModel::addAlarm(int code, bool occurrence) {
    QByteArray rec = stamp();
    for (int r : {7, 8, 9, 10, 11, 13})
        rec += u16(reg(r));
    rec += QByteArray(10, 0) + QByteArray(4, 0) + char(code) + char(occurrence ? 1 : 0);
    m_alarms << rec;
}

void ControllerModel::addEvent(int code, int value) {
    m_events << stamp() + u16(code) + u16(value);
}

void ControllerModel::writeRegister(int r, int value) {
    m_writes.append({r, value});
    if (r >= 1 && r <= 6) {
        // The clock: fields are written one by one (minute first, second last); a field that
        // makes no valid date yet (29 February before the leap year arrives) waits for the rest.
        if (!m_clockPending) {
            const QDateTime now = currentClock();
            m_clockFields = {now.date().year(), now.date().month(),  now.date().day(),
                             now.time().hour(), now.time().minute(), now.time().second()};
        }
        m_clockFields[r - 1] = value;
        const QDate d(m_clockFields[0], m_clockFields[1], m_clockFields[2]);
        const QTime t(m_clockFields[3], m_clockFields[4], m_clockFields[5]);
        m_clockPending = !d.isValid() || !t.isValid();
        if (!m_clockPending) {
            const QDateTime set(d, t);
            if (m_opt.frozen)
                m_frozenClock = set;
            else
                m_clockOffset = QDateTime::currentDateTime().secsTo(set);
            refreshClock();
        }
        if (r == 6) addEvent(1, value);
        return;
    }
    if (r == Reg::Restart && value == 1) {
        addEvent(0, 0); // the controller restarts
        return;
    }
    if (r == Reg::Restart && value == 2) {
        // Configuration initialised: set points back to their defaults.
        const SimOptions o = m_opt;
        ControllerModel fresh(SimOptions{o.systemType, o.battery, 0, 0, true, o.seed, {}, {}});
        for (int i = Reg::TaskFail; i <= kRegisterCount; ++i)
            if (i != Reg::BattInstalled) setReg(i, fresh.reg(i));
        addEvent(0, 0);
        return;
    }
    if (r == Reg::ForcedTest && (value == 1 || value == 2)) {
        // 1 starts a discharge test (with a battery, when none runs), 2 stops it.
        advancePack();
        if (value == 1 && reg(Reg::BattInstalled) && !m_pack.testing()) startTest();
        if (value == 2 && m_pack.testing()) {
            m_pack.stopTest();
            setReg(Reg::BattTestRunning, 0);
            showPack();
        }
    }
    if (r == Reg::TaskFail && value == 255) {
        setReg(Reg::TaskFail, 0);
        addEvent(70, 255);
        return;
    }
    setReg(r, value);
    addEvent(50, value);
}

void ControllerModel::startTest() {
    m_pack.model(reg(Reg::BattSoc));
    m_pack.startTest(reg(Reg::TestMinutes), reg(Reg::TestEndVolts) / 10.0);
    setReg(Reg::BattTestRunning, 1);
    showPack();
}

void ControllerModel::advancePack() {
    const double seconds = m_packClock.restart() / 1000.0;
    if (!m_pack.modelled()) return;
    const bool was = m_pack.testing();
    m_pack.step(seconds, reg(Reg::LoadAmps) / 10.0);
    if (was && !m_pack.testing()) setReg(Reg::BattTestRunning, 0);
}

void ControllerModel::showPack() {
    if (!m_pack.modelled()) return;
    const int amps = int(std::lround(m_pack.amps() * 10)) & 0xFFFF;
    const int volts = int(std::lround(m_pack.volts() * 100));
    setReg(Reg::BattVolts, volts);
    setReg(Reg::PackVolts, volts);
    setReg(Reg::BattCurrent, amps);
    setReg(Reg::BattAmps, amps);
    setReg(Reg::BattSoc, m_pack.soc());
    int lo = 0xFFFF, hi = 0;
    for (int c = 0; c < Reg::CellCount; ++c) {
        const int v = int(std::lround(m_pack.cellVolts(c) * 100));
        setReg(Reg::Cell1 + c, v);
        lo = std::min(lo, v);
        hi = std::max(hi, v);
    }
    setReg(Reg::CellMin, lo);
    setReg(Reg::CellMax, hi);
    if (m_pack.testing()) setReg(Reg::DcVolts, volts / 10);
}

void ControllerModel::tick() {
    advancePack();
    // A scheduled test: in its month and day (every month with period 1), in its hour.
    const QDateTime now = currentClock();
    if (reg(Reg::TestPeriod) != 0 && reg(Reg::BattInstalled) && !m_pack.testing() &&
        (reg(Reg::TestPeriod) == 1 || now.date().month() == reg(Reg::TestStartMonth)) &&
        now.date().day() == reg(Reg::TestStartDay) &&
        now.time().hour() == reg(Reg::TestStartHour) && m_scheduledHour != now.time().hour()) {
        m_scheduledHour = now.time().hour();
        startTest();
    }
    if (m_opt.frozen) {
        showPack();
        return;
    }
    ++m_ticks;
    refreshClock();
    const auto jitter = [&](int centre, int spread) {
        return centre + int(m_rng.bounded(2 * spread + 1)) - spread;
    };
    setReg(Reg::AcVolts, jitter(2200, 25));
    setReg(Reg::AcAmps, jitter(52, 4));
    setReg(Reg::DcVolts,
           jitter(reg(Reg::SetVolts) > 1000 ? reg(Reg::SetVolts) / 10 : reg(Reg::SetVolts), 2));
    // The load is steady while the battery carries it in a test.
    if (!m_pack.testing()) setReg(Reg::LoadAmps, jitter(350, 30));
    setReg(Reg::RectTemp, jitter(312, 6));
    if (m_pack.modelled()) {
        showPack();
    } else {
        // The battery charges for a minute, then discharges for a minute.
        const bool charging = (m_ticks / 120) % 2 == 0;
        const int battery = charging ? jitter(25, 5) : -jitter(40, 5);
        if (reg(Reg::BattInstalled)) setReg(Reg::BattAmps, battery & 0xFFFF);
        setReg(Reg::BattCurrent, battery & 0xFFFF);
        setReg(Reg::BattSoc, std::clamp(reg(Reg::BattSoc) +
                                            (charging ? (m_ticks % 10 == 0) : -(m_ticks % 10 == 0)),
                                        20, 100));
        for (int c = 0; c < Reg::CellCount; ++c)
            setReg(Reg::Cell1 + c, jitter(332, 4));
    }
    setReg(Reg::CellBalance, m_rng.bounded(8) == 0 ? int(m_rng.bounded(0x8000)) : 0);
    // Now and then an alarm comes or goes, and the history records it.
    if (m_ticks % 40 == 0) {
        static const struct {
            int reg, bit, code;
        } kAlarms[] = {{Reg::Alarm1, 0x0001, 1},  {Reg::Alarm1, 0x0002, 2},
                       {Reg::Alarm1, 0x0004, 3},  {Reg::Alarm1, 0x0020, 6},
                       {Reg::Alarm1, 0x0100, 9},  {Reg::Alarm2, 0x0002, 18},
                       {Reg::Alarm2, 0x0008, 20}, {Reg::Alarm2, 0x0040, 23}};
        const auto& a = kAlarms[m_rng.bounded(8)];
        const bool on = !(reg(a.reg) & a.bit);
        setReg(a.reg, on ? reg(a.reg) | a.bit : reg(a.reg) & ~a.bit);
        setReg(Reg::DryContacts, (reg(Reg::Alarm1) & 1) | ((reg(Reg::Alarm1) & 0x6) ? 2 : 0) |
                                     ((reg(Reg::Alarm1) & 0x100) ? 4 : 0) |
                                     ((reg(Reg::Alarm2) & 0x62) ? 8 : 0));
        addAlarm(a.code, on);
    }
}

// The registers a read asks for (start and count in the request data), high byte first.
QByteArray ControllerModel::registerBlock(const QByteArray& request) const {
    const int start = word(request, 0), count = word(request, 2);
    QByteArray regs;
    for (int r = start; r < start + count; ++r)
        regs += u16(reg(r));
    return regs;
}

QByteArray ControllerModel::alarmRecord(int n) const {
    return (n >= 0 && n < m_alarms.size()) ? m_alarms[n] : QByteArray(34, 0);
}

QByteArray ControllerModel::eventRecord(int n) const {
    return (n >= 0 && n < m_events.size()) ? m_events[n] : QByteArray(10, 0);
}

QByteArray ControllerModel::serialReply(const QByteArray& req) {
    if (req.size() < 2 || uchar(req[0]) != 0x01) return {};
    const quint8 fn = uchar(req[1]);
    const QByteArray data = req.mid(2);
    const QByteArray head = QByteArray(1, 0x01);
    switch (fn) {
    case 0x04: {
        const QByteArray regs = registerBlock(data);
        return head + char(0x04) + u16(regs.size()) + regs;
    }
    case 0x06:
        writeRegister(word(data, 0), word(data, 2));
        return head + char(0x06) + data.left(4);
    case 0x22: {
        const QByteArray rec = m_netId.encode();
        return head + char(0xB2) + u16(rec.size()) + rec;
    }
    case 0x23:
        m_netId.applyWrite(data.mid(2));
        return head + char(0xB3);
    case 0x30:
        return head + char(0xC0) + u16(m_alarms.size()) + u16(0);
    case 0x31:
        return head + char(0xC1) + alarmRecord(word(data, 0));
    case 0x35:
        m_alarms.clear();
        return head + char(0xC5);
    case 0x40:
        return head + char(0xD0) + u16(m_events.size()) + u16(0);
    case 0x41:
        return head + char(0xD1) + eventRecord(word(data, 0));
    case 0x45:
        m_events.clear();
        return head + char(0xD5);
    default:
        return {};
    }
}

std::optional<QByteArray> ControllerModel::tcpReply(quint8 fn, const QByteArray& data) {
    switch (fn) {
    case 0x04: {
        const QByteArray regs = registerBlock(data);
        // The byte count of a 131-register reply does not fit one byte: the controller sends FE.
        return QByteArray(1, regs.size() > 255 ? char(0xFE) : char(regs.size())) + regs;
    }
    case 0x06:
        writeRegister(word(data, 0), word(data, 2));
        return data.left(4);
    case 0x41: {
        const QByteArray rec = m_netId.encode();
        // The reply is always 158 bytes (150 of data): a longer record is cut, a shorter padded.
        QByteArray d = (u16(rec.size()) + rec).left(150);
        return d.leftJustified(150, char(0));
    }
    case 0x42:
        m_netId.applyWrite(data);
        return QByteArray(1, 1);
    case 0x43:
        return u16(m_alarms.size()) + u16(0);
    case 0x44:
        return QByteArray(1, 35) + alarmRecord(word(data, 1));
    case 0x45:
        m_alarms.clear();
        return data.left(1);
    case 0x46:
        return u16(m_events.size()) + u16(0);
    case 0x47:
        return QByteArray(1, 11) + eventRecord(word(data, 1));
    case 0x48:
        m_events.clear();
        return data.left(1);
    default:
        return std::nullopt;
    }
}

} // namespace quma::sim
