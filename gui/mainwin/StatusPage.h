// The status page of the main window (the Status tab, promoted in the form): every value, lamp
// and section a poll shows, the power-flow animation and the alarm-test notice.
#pragma once

#include "core/monitor/PowerFlow.h"
#include "core/monitor/StatusTexts.h"

#include <QTimer>
#include <QWidget>
#include <optional>

class LampPair;
class PanelColour;
class QLabel;
namespace Ui {
class MainWindow;
}

class StatusPage : public QWidget {
    Q_OBJECT
public:
    explicit StatusPage(QWidget* parent = nullptr);
    // Once the form is set up: its controls, and the activity lamps `tx` and `rx`, whose
    // captions show the charge-limit flag.
    void attach(Ui::MainWindow& ui, PanelColour& tx, PanelColour& rx);

    // Shows a poll; returns its texts for what the window shows elsewhere.
    quma::StatusView show(const quma::RegisterImage& image, const QString& modelName);
    // One Timer4 tick of the power flow.
    void advancePowerFlow(const quma::RegisterImage& image);
    // The alarm-test notice blinks (Timer6) while the alarm test runs.
    void alarmTestMode(bool active);
    void blinkAlarmTestNotice();
    void stopAnimations() { m_noticeTimer.stop(); }

protected:
    void showEvent(QShowEvent* e) override;

private:
    void showOnPage(const quma::StatusView& v);

    Ui::MainWindow* m_ui = nullptr;
    std::optional<quma::StatusView> m_hidden; // the poll the hidden page has still to show
    PanelColour* m_txColour = nullptr;
    PanelColour* m_rxColour = nullptr;
    // What every poll writes to, found once.
    QList<QLabel*> m_cellLabels;
    QList<LampPair*> m_dryLamps, m_protectLampsA, m_protectLampsB, m_cellLamps;
    quma::FlowState m_flow;
    QTimer m_noticeTimer;
    int m_noticeCounter = 0;
};
