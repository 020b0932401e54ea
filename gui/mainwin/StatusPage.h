// The status page of the main window: every value, lamp and section a poll shows, the power-flow
// animation and the alarm-test notice. It drives the page's controls of the main window's form.
#pragma once

#include "core/monitor/PowerFlow.h"
#include "core/monitor/StatusTexts.h"

#include <QObject>
#include <QTimer>

class LampPair;
class PanelColour;
class QLabel;
namespace Ui {
class MainWindow;
}

class StatusPage : public QObject {
    Q_OBJECT
public:
    // `tx` and `rx` are the activity lamps, whose captions show the charge-limit flag.
    StatusPage(Ui::MainWindow& ui, PanelColour& tx, PanelColour& rx, QObject* parent);

    // Shows a poll; returns its texts for what the window shows elsewhere.
    quma::StatusView show(const quma::RegisterImage& image, const QString& modelName);
    // One Timer4 tick of the power flow.
    void advancePowerFlow(const quma::RegisterImage& image);
    // The alarm-test notice blinks (Timer6) while the alarm test runs.
    void alarmTestMode(bool active);
    void blinkAlarmTestNotice();
    void stopAnimations() { m_noticeTimer.stop(); }

private:
    Ui::MainWindow& ui;
    PanelColour& m_txColour;
    PanelColour& m_rxColour;
    // What every poll writes to, found once.
    QList<QLabel*> m_cellLabels;
    QList<LampPair*> m_dryLamps, m_protectLampsA, m_protectLampsB, m_cellLamps;
    quma::FlowState m_flow;
    QTimer m_noticeTimer;
    int m_noticeCounter = 0;
};
