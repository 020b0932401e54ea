// The site-profile windows: the comparison table and the preview of a restore.
#pragma once

#include "core/profile/ProfileCompare.h"
#include "core/profile/ProfileFile.h"
#include "core/profile/RestorePlan.h"

#include <QDialog>

class MessageHub;
class QCheckBox;
class QLabel;
class QPushButton;
class QStandardItemModel;
class QTableView;

// Field, unit, register, the two values; differing rows highlighted, a filter that shows only
// them, and the table exported as a spreadsheet.
class ProfileCompareDialog : public QDialog {
    Q_OBJECT
public:
    ProfileCompareDialog(MessageHub& hub, const QList<quma::ProfileDiffRow>& rows,
                         const QString& leftName, const QString& rightName,
                         QWidget* parent = nullptr);

    QTableView* table() const { return m_table; }
    QCheckBox* differencesOnly() const { return m_onlyDiff; }
    int visibleRows() const;
    // The table as exported: the header and the rows shown.
    QList<QStringList> tableRows(QList<bool>* marked = nullptr) const;
    void exportSheet();

private:
    void applyFilter();

    MessageHub& m_hub;
    QList<quma::ProfileDiffRow> m_rows;
    QString m_leftName, m_rightName;
    QTableView* m_table;
    QStandardItemModel* m_model;
    QCheckBox* m_onlyDiff;
    QLabel* m_summary;
};

// Exactly the writes a restore will make, for the user to confirm. The network option plans
// again with the network section.
class ProfilePreviewDialog : public QDialog {
    Q_OBJECT
public:
    ProfilePreviewDialog(const quma::SiteProfile& file, const quma::SiteProfile& plant,
                         const quma::RestoreOptions& options, QWidget* parent = nullptr);

    const quma::RestorePlan& plan() const { return m_plan; }
    QTableView* table() const { return m_table; }
    QCheckBox* networkOption() const { return m_network; }
    QPushButton* writeButton() const { return m_write; }

private:
    void replan();

    quma::SiteProfile m_file, m_plant;
    quma::RestoreOptions m_options;
    quma::RestorePlan m_plan;
    QTableView* m_table;
    QStandardItemModel* m_model;
    QCheckBox* m_network;
    QLabel* m_summary;
    QPushButton* m_write;
};
