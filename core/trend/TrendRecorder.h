// Fills a trend store from every decoded poll of an engine: no request of its own.
#pragma once

#include "core/monitor/MonitorEngine.h"
#include "core/trend/TrendStore.h"

#include <QObject>
#include <functional>

namespace quma {

class TrendRecorder : public QObject {
    Q_OBJECT
public:
    TrendRecorder(MonitorEngine& engine, TrendStore& store, QObject* parent = nullptr);
    // The clock samples are stamped with (ms since the epoch; tests fix it).
    void setClock(std::function<qint64()> clock) { m_clock = std::move(clock); }
    // One decoded poll: a sample, and a marker when the alarm words changed.
    void record(const RegisterImage& image);

signals:
    void sampleAdded();
    void markerAdded(const quma::TrendMarker& marker);

private:
    TrendStore& m_store;
    std::function<qint64()> m_clock;
    bool m_first = true;
    int m_alarm1 = 0, m_alarm2 = 0;
};

} // namespace quma
