// The configuration dialogs: set points, calibration, clock, network identity, alarm test,
// contact settings and definitions, history initialisation and factory reset.
#pragma once

#include "core/monitor/MonitorEngine.h"
#include "core/settings/SettingRows.h"

#include <QDialog>
#include <QTimer>

class TMessenger;
class QCheckBox;
class QComboBox;
class QLineEdit;
namespace quma {
class TLinkSession;
}
namespace Ui {
class TfrmPoint_Setting;
class TfrmSetting;
class TfrmSetTime;
class TfrmIPSetting;
class TfrmAlarmTest;
class TfrmRepair;
class TfrmDefine;
class TfrmInitial;
class TFactory_Initial;
} // namespace Ui

// What every configuration dialog shares: it starts writes through the pending write list,
// refuses bad entries with a message, and returns to polling however it is closed.
class TConfigDialog : public QDialog {
    Q_OBJECT
protected:
    TConfigDialog(quma::TMonitorEngine& engine, TMessenger& messenger, QWidget* parent);
    // Refused (with the plan's reason) or sent; false when nothing went out.
    bool send(const quma::WritePlan& plan);
    void refuse(const QString& why);
    void done(int result) override;
    // The nine alarm boxes of an alarm set, checked from two words.
    void showAlarmWords(int word1, int word2);
    std::pair<int, int> alarmWordsShown() const;
    QCheckBox* box(const QString& name) const;

    quma::TMonitorEngine& m_engine;
    TMessenger& m_messenger;
};

class TfrmPoint_Setting : public TConfigDialog {
    Q_OBJECT
public:
    TfrmPoint_Setting(quma::TMonitorEngine& engine, TMessenger& messenger,
                      QWidget* parent = nullptr);
    ~TfrmPoint_Setting() override;
    void BitBtnDefaultClick();
    void btnAllCheckClick();
    void BitBtnOKClick();

private:
    void clampOnLeave(int row);
    Ui::TfrmPoint_Setting* ui;
    int m_chargeMode = 0;
};

class TfrmSetting : public TConfigDialog {
    Q_OBJECT
public:
    TfrmSetting(quma::TMonitorEngine& engine, TMessenger& messenger, QWidget* parent = nullptr);
    ~TfrmSetting() override;
    void btnZeroClick();
    void BitBtnOKClick();

private:
    Ui::TfrmSetting* ui;
};

class TfrmSetTime : public TConfigDialog {
    Q_OBJECT
public:
    TfrmSetTime(quma::TMonitorEngine& engine, TMessenger& messenger, QWidget* parent = nullptr);
    ~TfrmSetTime() override;
    void FormActivate();
    void spinedtYearChange();
    void cbMonthChange();
    void bbtOKClick();

private:
    Ui::TfrmSetTime* ui;
};

class TfrmIPSetting : public TConfigDialog {
    Q_OBJECT
public:
    TfrmIPSetting(quma::TMonitorEngine& engine, quma::TLinkSession& session, TMessenger& messenger,
                  QWidget* parent = nullptr);
    ~TfrmIPSetting() override;
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
    Ui::TfrmIPSetting* ui;
    quma::TLinkSession& m_session;
    QTimer Timer1;
};

class TfrmAlarmTest : public TConfigDialog {
    Q_OBJECT
public:
    TfrmAlarmTest(quma::TMonitorEngine& engine, TMessenger& messenger, QWidget* parent = nullptr);
    ~TfrmAlarmTest() override;
    void BitBtnOKClick();

private:
    Ui::TfrmAlarmTest* ui;
};

class TfrmDefine : public TConfigDialog {
    Q_OBJECT
public:
    // index: 0, 2, ... 10, the offset of the contact's first word from register 80.
    TfrmDefine(quma::TMonitorEngine& engine, TMessenger& messenger, int index,
               QWidget* parent = nullptr);
    ~TfrmDefine() override;
    void btnDefaultClick();
    void btnAllCheckClick();
    void BitBtnOKClick();

protected:
    void done(int result) override; // shown over the contact settings: polling stays suspended

private:
    Ui::TfrmDefine* ui;
    int m_index;
};

class TfrmRepair : public TConfigDialog {
    Q_OBJECT
public:
    TfrmRepair(quma::TMonitorEngine& engine, TMessenger& messenger, QWidget* parent = nullptr);
    ~TfrmRepair() override;
    void BitBtnOKClick();

signals:
    void contactChosen(int index);

private:
    Ui::TfrmRepair* ui;
};

class TfrmInitial : public TConfigDialog {
    Q_OBJECT
public:
    TfrmInitial(quma::TMonitorEngine& engine, TMessenger& messenger, QWidget* parent = nullptr);
    ~TfrmInitial() override;
    void BitBtnI_OKClick();

private:
    Ui::TfrmInitial* ui;
};

class TFactory_Initial : public TConfigDialog {
    Q_OBJECT
public:
    TFactory_Initial(quma::TMonitorEngine& engine, TMessenger& messenger,
                     QWidget* parent = nullptr);
    ~TFactory_Initial() override;
    void BitBtnI_OKClick();

private:
    Ui::TFactory_Initial* ui;
};
