// Trends: the plant's values over time, one sample per decoded poll, kept in bounded rings; and
// the alarm moments (the alarm words changing) as markers on the time axis.
#pragma once

#include "core/monitor/RegisterMap.h"

#include <QList>
#include <QString>
#include <array>
#include <vector>

namespace quma {

// The series every sample carries, in column order.
namespace Trend {
enum Series : int {
    DcVolts,
    DcAmps,
    BattVolts,
    BattAmps,
    BattTemp,
    AcVolts,
    AcAmps,
    RectTemp,
    Cell1,
    Cell15 = Cell1 + 14,
    CellSpread,
    Count
};
}
struct TrendSeriesInfo {
    QString key;  // column name in CSV files ("dc_voltage_V")
    QString name; // legend text ("DC voltage", "Cell 7")
    QString unit; // "V", "A", "°C"
    int decimals; // as the controller resolves it
};
const std::array<TrendSeriesInfo, Trend::Count>& TrendSeriesInfos();

using TrendValues = std::array<float, Trend::Count>;
// The values of one poll: engineering units (volts, amperes, degrees), the spread being the
// highest cell voltage minus the lowest.
TrendValues TrendValuesFromImage(const RegisterImage& image);

struct TrendMarker {
    qint64 msecs = 0;
    int alarm1 = 0, alarm2 = 0;
    QString text; // "0021 0000: AC 경보, DC 과전류", or "0000 0000: no alarm"
};
// What a change of the alarm words means, for a marker's text.
QString AlarmMarkerText(const RegisterImage& image);

// A fixed number of samples (time in ms since the epoch and every series' value); when full the
// oldest sample gives way. Times never go backwards: a clock set back repeats the last time.
class TrendStore {
public:
    // 24 h at the fastest poll (600 ms on the serial line).
    static constexpr int DefaultCapacity = 24 * 3600 * 1000 / 600;
    static constexpr int MarkerCapacity = 10000;

    explicit TrendStore(int capacity = DefaultCapacity);

    void append(qint64 msecs, const TrendValues& values);
    void addMarker(const TrendMarker& marker);
    void clear();

    int capacity() const { return m_capacity; }
    int size() const { return m_count; }
    bool isEmpty() const { return m_count == 0; }
    // Sample i, 0 being the oldest kept.
    qint64 time(int i) const { return m_times[slot(i)]; }
    float value(int series, int i) const {
        return m_values[std::size_t(series) * std::size_t(m_capacity) + std::size_t(slot(i))];
    }
    // The first sample at or after t (size() when none).
    int lowerBound(qint64 t) const;
    // The sample nearest to t (-1 when empty).
    int nearest(qint64 t) const;
    const QList<TrendMarker>& markers() const { return m_markers; }
    // The raw rings, for walking them fast: sample i sits in slot slotOf(i).
    int slotOf(int i) const { return slot(i); }
    const qint64* timeData() const { return m_times.data(); }
    const float* seriesData(int series) const {
        return m_values.data() + std::size_t(series) * std::size_t(m_capacity);
    }

    static constexpr std::size_t BytesPerSample = sizeof(qint64) + sizeof(float) * Trend::Count;
    // What the rings hold at most, allocated up front.
    std::size_t capacityBytes() const { return std::size_t(m_capacity) * BytesPerSample; }

private:
    int slot(int i) const { return int((m_head - m_count + i + qint64(m_capacity)) % m_capacity); }

    int m_capacity;
    int m_head = 0; // where the next sample goes
    int m_count = 0;
    std::vector<qint64> m_times;
    std::vector<float> m_values; // series-major: one run of `capacity` values per series
    QList<TrendMarker> m_markers;
};

// Min/max decimation of one series over [from, to): at most two points per bucket, in time
// order, so that a 24 h window drawn on 800 pixels keeps every peak. Points as (ms, value).
struct TrendPoint {
    qint64 msecs;
    float value;
};
std::vector<TrendPoint> DecimateSeries(const TrendStore& store, int series, qint64 from, qint64 to,
                                       int buckets);

// The longest time between two samples drawn as joined over [from, to): a few sampling periods
// (the median spacing of the samples), and never less than the spacing decimation makes
// (two points a bucket). A longer interval had no data: polling paused or the link was down.
qint64 GapThreshold(const TrendStore& store, qint64 from, qint64 to, int buckets);
// The points cut into runs where consecutive points lie more than `maxGap` ms apart.
std::vector<std::vector<TrendPoint>> SplitAtGaps(const std::vector<TrendPoint>& points,
                                                 qint64 maxGap);

} // namespace quma
