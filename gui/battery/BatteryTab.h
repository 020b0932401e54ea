// The Battery tab: the discharge test running now (elapsed time, charge delivered, voltage and
// cells, when the end voltage comes), the plant's recorded tests with their verdicts against the
// first, and the cells as bars of their distance from the others; a forced test started from
// here after a confirmation.
#pragma once

#include <QWidget>
#include <array>
#include <functional>

class MessageHub;
class QLabel;
class QPushButton;
class QTableWidget;
class QGroupBox;
namespace quma {
class BatteryWatch;
class MonitorEngine;
} // namespace quma

// The 15 cells as bars up or down from the mean; a flagged cell's bar in the alarm colour.
class CellBars : public QWidget {
    Q_OBJECT
public:
    explicit CellBars(QWidget* parent = nullptr);
    void setCells(const std::array<double, 15>& deviations, const QList<int>& flagged,
                  double thresholdVolts);
    QSize sizeHint() const override { return {480, 150}; }

protected:
    void paintEvent(QPaintEvent*) override;

private:
    std::array<double, 15> m_deviation{};
    QList<int> m_flagged;
    double m_threshold = 0.03;
};

class BatteryTab : public QWidget {
    Q_OBJECT
public:
    BatteryTab(quma::MonitorEngine& engine, quma::BatteryWatch& watch, MessageHub& hub,
               QWidget* parent = nullptr);
    // Asked before a command is sent: true when a controller is there to take it.
    void setLinkCheck(std::function<bool()> check) { m_linkCheck = std::move(check); }
    void retranslate();

    // Start (after the confirmation) and stop a forced test.
    void startTest();
    void stopTest();
    // The plant's identity read once (the history is kept under its MAC address) when it is
    // not known yet and the console is polling.
    void identifyPlant();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void showLive();
    void showHistory();
    void showCells();
    void send(int value);

    quma::MonitorEngine& m_engine;
    quma::BatteryWatch& m_watch;
    MessageHub& m_hub;
    std::function<bool()> m_linkCheck;
    QGroupBox *m_liveBox, *m_historyBox, *m_cellsBox;
    QLabel *m_state, *m_charge, *m_pack, *m_projection, *m_flagged;
    QPushButton *m_start, *m_stop;
    QTableWidget* m_tests;
    CellBars* m_bars;
};
