// Fills a trend store from every decoded poll of an engine.
#include "core/trend/TrendRecorder.h"

#include <QDateTime>

namespace quma {

TrendRecorder::TrendRecorder(MonitorEngine& engine, TrendStore& store, QObject* parent)
    : QObject(parent), m_store(store), m_clock([] { return QDateTime::currentMSecsSinceEpoch(); }) {
    connect(&engine, &MonitorEngine::statusRefreshed, this,
            [this, &engine] { record(engine.image()); });
}

void TrendRecorder::record(const RegisterImage& image) {
    const qint64 now = m_clock();
    m_store.append(now, TrendValuesFromImage(image));
    emit sampleAdded();
    const int a1 = image[Reg::Alarm1], a2 = image[Reg::Alarm2];
    // The first poll marks only alarms already standing; later, every change of the words.
    const bool changed = m_first ? (a1 != 0 || a2 != 0) : (a1 != m_alarm1 || a2 != m_alarm2);
    m_first = false;
    m_alarm1 = a1;
    m_alarm2 = a2;
    if (!changed) return;
    const TrendMarker marker{m_store.time(m_store.size() - 1), a1, a2, AlarmMarkerText(image)};
    m_store.addMarker(marker);
    emit markerAdded(marker);
}

} // namespace quma
