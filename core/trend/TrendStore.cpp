// Trends: samples in bounded rings, alarm markers, decimation for drawing.
#include "core/trend/TrendStore.h"

#include "core/link/FrameCodec.h"
#include "core/monitor/AlarmTree.h"

#include <algorithm>

namespace quma {

const std::array<TrendSeriesInfo, Trend::Count>& TrendSeriesInfos() {
    static const std::array<TrendSeriesInfo, Trend::Count> infos = [] {
        std::array<TrendSeriesInfo, Trend::Count> a;
        a[Trend::DcVolts] = {"dc_voltage_V", "DC voltage", "V", 1};
        a[Trend::DcAmps] = {"dc_current_A", "DC current", "A", 1};
        a[Trend::BattVolts] = {"battery_voltage_V", "Battery voltage", "V", 2};
        a[Trend::BattAmps] = {"battery_current_A", "Battery current", "A", 1};
        a[Trend::BattTemp] = {"battery_temperature_C", "Battery temperature", "°C", 1};
        a[Trend::AcVolts] = {"ac_voltage_V", "AC voltage", "V", 1};
        a[Trend::AcAmps] = {"ac_current_A", "AC current", "A", 1};
        a[Trend::RectTemp] = {"rectifier_temperature_C", "Rectifier temperature", "°C", 1};
        for (int c = 0; c < 15; ++c)
            a[Trend::Cell1 + c] = {QString("cell_%1_V").arg(c + 1), QString("Cell %1").arg(c + 1),
                                   "V", 2};
        a[Trend::CellSpread] = {"cell_spread_V", "Cell spread (max - min)", "V", 2};
        return a;
    }();
    return infos;
}

namespace {
float signedTenths(int r) {
    return float(SignedRegister(r) / 10.0);
}
} // namespace

TrendValues TrendValuesFromImage(const RegisterImage& r) {
    TrendValues v{};
    v[Trend::DcVolts] = float(r[Reg::DcVolts] / 10.0);
    v[Trend::DcAmps] = float(r[Reg::LoadAmps] / 10.0);
    v[Trend::BattVolts] = float(r[Reg::PackVolts] / 100.0);
    v[Trend::BattAmps] = signedTenths(r[Reg::BattAmps]);
    v[Trend::BattTemp] = signedTenths(r[Reg::BattTemp]);
    v[Trend::AcVolts] = float(r[Reg::AcVolts] / 10.0);
    v[Trend::AcAmps] = float(r[Reg::AcAmps] / 10.0);
    v[Trend::RectTemp] = signedTenths(r[Reg::RectTemp]);
    int lo = 0xFFFF, hi = 0;
    for (int c = 0; c < 15; ++c) {
        const int cell = r[Reg::Cell1 + c];
        v[Trend::Cell1 + c] = float(cell / 100.0);
        lo = std::min(lo, cell);
        hi = std::max(hi, cell);
    }
    v[Trend::CellSpread] = float((hi - lo) / 100.0);
    return v;
}

QString AlarmMarkerText(const RegisterImage& image) {
    QStringList names;
    for (const AlarmNode& n : AlarmTreeNodes(image))
        if (n.level == 2 && n.alarm) names << n.text;
    const QString words = QString::fromLatin1(IntToHexN(image[Reg::Alarm1], 4) + " " +
                                              IntToHexN(image[Reg::Alarm2], 4));
    return words + ": " + (names.isEmpty() ? QString("no alarm") : names.join(", "));
}

TrendStore::TrendStore(int capacity)
    : m_capacity(std::max(1, capacity)), m_times(std::size_t(m_capacity)),
      m_values(std::size_t(m_capacity) * Trend::Count) {}

void TrendStore::append(qint64 msecs, const TrendValues& values) {
    if (m_count > 0) msecs = std::max(msecs, time(m_count - 1));
    m_times[std::size_t(m_head)] = msecs;
    for (int s = 0; s < Trend::Count; ++s)
        m_values[std::size_t(s) * std::size_t(m_capacity) + std::size_t(m_head)] = values[s];
    m_head = (m_head + 1) % m_capacity;
    m_count = std::min(m_count + 1, m_capacity);
}

void TrendStore::addMarker(const TrendMarker& marker) {
    if (m_markers.size() >= MarkerCapacity) m_markers.removeFirst();
    m_markers.append(marker);
}

void TrendStore::clear() {
    m_head = 0;
    m_count = 0;
    m_markers.clear();
}

int TrendStore::lowerBound(qint64 t) const {
    int lo = 0, hi = m_count;
    while (lo < hi) {
        const int mid = (lo + hi) / 2;
        if (time(mid) < t)
            lo = mid + 1;
        else
            hi = mid;
    }
    return lo;
}

int TrendStore::nearest(qint64 t) const {
    if (m_count == 0) return -1;
    const int i = lowerBound(t);
    if (i >= m_count) return m_count - 1;
    if (i > 0 && t - time(i - 1) < time(i) - t) return i - 1;
    return i;
}

std::vector<TrendPoint> DecimateSeries(const TrendStore& store, int series, qint64 from, qint64 to,
                                       int buckets) {
    std::vector<TrendPoint> out;
    const int first = store.lowerBound(from);
    const int last = store.lowerBound(to); // exclusive
    const int n = last - first;
    if (n <= 0 || buckets <= 0) return out;
    // The ring walked slot by slot: no division per sample.
    const float* values = store.seriesData(series);
    const qint64* times = store.timeData();
    const int capacity = store.capacity();
    int slot = store.slotOf(first);
    const auto advance = [capacity](int& s) {
        if (++s == capacity) s = 0;
    };
    if (n <= 2 * buckets) {
        out.reserve(std::size_t(n));
        for (int i = first; i < last; ++i, advance(slot))
            out.push_back({times[slot], values[slot]});
        return out;
    }
    out.reserve(std::size_t(2 * buckets));
    const double span = double(to - from) / buckets;
    int i = first;
    for (int b = 0; b < buckets && i < last; ++b) {
        const qint64 end = b + 1 == buckets ? to : from + qint64((b + 1) * span);
        int minSlot = -1, maxSlot = -1;
        float lo = 0, hi = 0;
        for (; i < last && times[slot] < end; ++i, advance(slot)) {
            const float v = values[slot];
            if (minSlot < 0 || v < lo) {
                lo = v;
                minSlot = slot;
            }
            if (maxSlot < 0 || v > hi) {
                hi = v;
                maxSlot = slot;
            }
        }
        if (minSlot < 0) continue;
        // In time order within the bucket.
        const bool minFirst = times[minSlot] <= times[maxSlot];
        const int a = minFirst ? minSlot : maxSlot, z = minFirst ? maxSlot : minSlot;
        out.push_back({times[a], values[a]});
        if (z != a) out.push_back({times[z], values[z]});
    }
    return out;
}

qint64 GapThreshold(const TrendStore& store, qint64 from, qint64 to, int buckets) {
    constexpr int PeriodsInAGap = 4;
    constexpr qint64 Shortest = 3000; // below this even a slow poll is no gap
    const int first = store.lowerBound(from);
    const int last = store.lowerBound(to);
    // The median of up to 101 spacings spread over the range.
    std::vector<qint64> spacings;
    const int n = last - first;
    const int step = std::max(1, n / 100);
    for (int i = first + 1; i < last; i += step)
        spacings.push_back(store.time(i) - store.time(i - 1));
    qint64 period = 0;
    if (!spacings.empty()) {
        auto middle = spacings.begin() + std::ptrdiff_t(spacings.size() / 2);
        std::nth_element(spacings.begin(), middle, spacings.end());
        period = *middle;
    }
    const qint64 bucket = buckets > 0 ? (to - from) / buckets : 0;
    return std::max({Shortest, PeriodsInAGap * period, 3 * bucket});
}

std::vector<std::vector<TrendPoint>> SplitAtGaps(const std::vector<TrendPoint>& points,
                                                 qint64 maxGap) {
    std::vector<std::vector<TrendPoint>> runs;
    for (std::size_t i = 0; i < points.size(); ++i) {
        if (i == 0 || points[i].msecs - points[i - 1].msecs > maxGap) runs.emplace_back();
        runs.back().push_back(points[i]);
    }
    return runs;
}

} // namespace quma
