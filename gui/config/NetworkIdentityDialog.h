// The network identity dialog: addresses, versions, rectifier ID and site text.
#pragma once

#include "gui/config/ConfigDialog.h"

#include <QTimer>

namespace quma {
class LinkSession;
}
namespace Ui {
class NetworkIdentityDialog;
}

class NetworkIdentityDialog : public ConfigDialog {
    Q_OBJECT
public:
    NetworkIdentityDialog(quma::MonitorEngine& engine, quma::LinkSession& session, MessageHub& hub,
                          QWidget* parent = nullptr);
    ~NetworkIdentityDialog() override;
    void readIdentity();
    void showIdentity();
    void checkAllRows();
    void uncheckAllRows();
    void loadDefaults();
    void writeCheckedRows();

protected:
    void done(int result) override;

private:
    QList<QCheckBox*> rows() const;
    Ui::NetworkIdentityDialog* ui;
    quma::LinkSession& m_session;
    QTimer m_readTimer;
};
