// The alarm tree's start-up steps and the alarm-word check Timer3 makes once a second: the tree
// is built with the first poll reply, shows its alarms at once, and is updated whenever the
// masked alarm words change; a battery installed or removed takes it down.
#pragma once

#include "core/monitor/RegisterMap.h"

#include <QObject>
#include <QTimer>

namespace quma {

class AlarmWatch : public QObject {
    Q_OBJECT
public:
    struct State {
        int phase = 0; // 0 no poll yet, 1 first poll, 2 tree built, 3 running
        int mask1 = 0xFFFF, mask2 = 0xFFFF;
        int masked1 = 0, masked2 = 0;
        bool viewReady = false;
        int battery = 0; // register 66 when the tree was built
    };

    // Reads the alarm words from `image` (the engine's register image).
    explicit AlarmWatch(const RegisterImage& image, QObject* parent = nullptr);

    const State& state() const { return m_state; }
    // When live, Timer3 runs on a real timer; otherwise tests call tick() by hand.
    void setLive(bool live);
    bool timerEnabled() const { return m_timerOn; }

    // A poll reply replaced the image.
    void imageRefreshed();
    // Timer3: compares the masked alarm words with the last ones.
    void tick();

signals:
    // The tree to build or to update from the image's alarm words under the masks.
    void treeBuild(const quma::RegisterImage& image, int mask1, int mask2);
    void treeUpdate(const quma::RegisterImage& image, int mask1, int mask2);
    void treeRemove();
    void timerChanged(bool enabled);

private:
    const RegisterImage& m_image;
    State m_state;
    bool m_live = false;
    bool m_timerOn = false;
    QTimer m_timer;
};

} // namespace quma
