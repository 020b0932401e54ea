// The configuration dialogs: set points, calibration, clock, network identity, alarm test,
// contact settings and definitions, history initialisation and factory reset.
#pragma once

#include "core/monitor/MonitorEngine.h"
#include "core/settings/SettingRows.h"

#include <QDialog>
#include <QTimer>

class MessageHub;
class QCheckBox;
class QComboBox;
class QLineEdit;
namespace quma {
class LinkSession;
}
namespace Ui {
class SetPointDialog;
class CalibrationDialog;
class ClockDialog;
class NetworkIdentityDialog;
class AlarmTestDialog;
class ContactSettingsDialog;
class ContactDefinitionDialog;
class HistoryClearDialog;
class FactoryResetDialog;
} // namespace Ui

// What every configuration dialog shares: it starts writes through the pending write list,
// refuses bad entries with a message, and returns to polling however it is closed.
class ConfigDialog : public QDialog {
    Q_OBJECT
protected:
    ConfigDialog(quma::MonitorEngine& engine, MessageHub& messenger, QWidget* parent);
    // Refused (with the plan's reason) or sent; false when nothing went out.
    bool send(const quma::WritePlan& plan);
    void refuse(const QString& why);
    void done(int result) override;
    // The nine alarm boxes of an alarm set, checked from two words.
    void showAlarmWords(int word1, int word2);
    std::pair<int, int> alarmWordsShown() const;
    QCheckBox* box(const QString& name) const;

    quma::MonitorEngine& m_engine;
    MessageHub& m_messenger;
};

class SetPointDialog : public ConfigDialog {
    Q_OBJECT
public:
    SetPointDialog(quma::MonitorEngine& engine, MessageHub& messenger, QWidget* parent = nullptr);
    ~SetPointDialog() override;
    void BitBtnDefaultClick();
    void btnAllCheckClick();
    void BitBtnOKClick();

private:
    void clampOnLeave(int row);
    Ui::SetPointDialog* ui;
    int m_chargeMode = 0;
};

class CalibrationDialog : public ConfigDialog {
    Q_OBJECT
public:
    CalibrationDialog(quma::MonitorEngine& engine, MessageHub& messenger,
                      QWidget* parent = nullptr);
    ~CalibrationDialog() override;
    void btnZeroClick();
    void BitBtnOKClick();

private:
    Ui::CalibrationDialog* ui;
};

class ClockDialog : public ConfigDialog {
    Q_OBJECT
public:
    ClockDialog(quma::MonitorEngine& engine, MessageHub& messenger, QWidget* parent = nullptr);
    ~ClockDialog() override;
    void FormActivate();
    void spinedtYearChange();
    void cbMonthChange();
    void bbtOKClick();

private:
    Ui::ClockDialog* ui;
};

class NetworkIdentityDialog : public ConfigDialog {
    Q_OBJECT
public:
    NetworkIdentityDialog(quma::MonitorEngine& engine, quma::LinkSession& session,
                          MessageHub& messenger, QWidget* parent = nullptr);
    ~NetworkIdentityDialog() override;
    void btnReadClick();
    void Timer1Timer();
    void btnAllCheckClick();
    void btnAllReleaseClick();
    void btnDefaultClick();
    void bbtnOKClick();

protected:
    void done(int result) override;

private:
    QList<QCheckBox*> rows() const;
    Ui::NetworkIdentityDialog* ui;
    quma::LinkSession& m_session;
    QTimer Timer1;
};

class AlarmTestDialog : public ConfigDialog {
    Q_OBJECT
public:
    AlarmTestDialog(quma::MonitorEngine& engine, MessageHub& messenger, QWidget* parent = nullptr);
    ~AlarmTestDialog() override;
    void BitBtnOKClick();

private:
    Ui::AlarmTestDialog* ui;
};

class ContactDefinitionDialog : public ConfigDialog {
    Q_OBJECT
public:
    // index: 0, 2, ... 10, the offset of the contact's first word from register 80.
    ContactDefinitionDialog(quma::MonitorEngine& engine, MessageHub& messenger, int index,
                            QWidget* parent = nullptr);
    ~ContactDefinitionDialog() override;
    void btnDefaultClick();
    void btnAllCheckClick();
    void BitBtnOKClick();

protected:
    void done(int result) override; // shown over the contact settings: polling stays suspended

private:
    Ui::ContactDefinitionDialog* ui;
    int m_index;
};

class ContactSettingsDialog : public ConfigDialog {
    Q_OBJECT
public:
    ContactSettingsDialog(quma::MonitorEngine& engine, MessageHub& messenger,
                          QWidget* parent = nullptr);
    ~ContactSettingsDialog() override;
    void BitBtnOKClick();

signals:
    void contactChosen(int index);

private:
    Ui::ContactSettingsDialog* ui;
};

class HistoryClearDialog : public ConfigDialog {
    Q_OBJECT
public:
    HistoryClearDialog(quma::MonitorEngine& engine, MessageHub& messenger,
                       QWidget* parent = nullptr);
    ~HistoryClearDialog() override;
    void BitBtnI_OKClick();

private:
    Ui::HistoryClearDialog* ui;
};

class FactoryResetDialog : public ConfigDialog {
    Q_OBJECT
public:
    FactoryResetDialog(quma::MonitorEngine& engine, MessageHub& messenger,
                       QWidget* parent = nullptr);
    ~FactoryResetDialog() override;
    void BitBtnI_OKClick();

private:
    Ui::FactoryResetDialog* ui;
};
