// The site-profile windows: the comparison table and the preview of a restore.
#include "gui/profile/ProfileDialogs.h"

#include "core/export/SheetExport.h"
#include "gui/shared/MessageHub.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTableView>
#include <QVBoxLayout>

using namespace quma;

namespace {
const QColor kDiffers(0xFF, 0xD8, 0xD8);

QTableView* makeTable(QWidget* parent, QStandardItemModel* model, const char* name) {
    auto* t = new QTableView(parent);
    t->setObjectName(name);
    t->setModel(model);
    t->setEditTriggers(QAbstractItemView::NoEditTriggers);
    t->setSelectionBehavior(QAbstractItemView::SelectRows);
    t->verticalHeader()->hide();
    t->verticalHeader()->setDefaultSectionSize(t->fontMetrics().height() + 6);
    t->horizontalHeader()->setStretchLastSection(true);
    t->setWordWrap(false);
    return t;
}

void appendRow(QStandardItemModel* model, const QStringList& cells, bool marked) {
    QList<QStandardItem*> items;
    for (const QString& c : cells) {
        auto* item = new QStandardItem(c);
        if (marked) {
            item->setBackground(kDiffers);
            QFont f = item->font();
            f.setBold(true);
            item->setFont(f);
        }
        items << item;
    }
    model->appendRow(items);
}

// A setting by its dialog's label; network fields by their names.
QString fieldName(const QString& section, const QString& field) {
    if (section == "network") return "network." + field;
    const ProfileField* f = FindProfileField(field);
    return f ? ProfileFieldLabel(*f) : field;
}
} // namespace

ProfileCompareDialog::ProfileCompareDialog(MessageHub& hub, const QList<ProfileDiffRow>& rows,
                                           const QString& leftName, const QString& rightName,
                                           QWidget* parent)
    : QDialog(parent), m_hub(hub), m_rows(rows), m_leftName(leftName), m_rightName(rightName) {
    setObjectName("ProfileCompareDialog");
    setWindowTitle(tr("프로파일 비교 (Profile comparison)"));
    resize(860, 620);
    m_model = new QStandardItemModel(this);
    m_model->setHorizontalHeaderLabels(
        {tr("field"), tr("unit"), tr("register"), leftName, rightName});
    for (const ProfileDiffRow& r : rows)
        appendRow(m_model,
                  {fieldName(r.section, r.field), r.unit,
                   r.reg ? QString::number(r.reg) : QString("-"),
                   r.left.isEmpty() && r.section == "settings" ? "(absent)" : r.left,
                   r.right.isEmpty() && r.section == "settings" ? "(absent)" : r.right},
                  r.differs);
    m_table = makeTable(this, m_model, "grdProfileCompare");
    m_table->resizeColumnsToContents();

    m_onlyDiff = new QCheckBox(tr("차이만 보기 (differences only)"), this);
    m_onlyDiff->setObjectName("chkDifferencesOnly");
    connect(m_onlyDiff, &QCheckBox::toggled, this, &ProfileCompareDialog::applyFilter);
    m_summary = new QLabel(this);
    m_summary->setObjectName("lbProfileSummary");
    int differ = 0;
    for (const ProfileDiffRow& r : rows)
        differ += r.differs ? 1 : 0;
    m_summary->setText(differ == 0 ? QString("%1 fields, no difference").arg(rows.size())
                                   : QString("%1 fields, %2 differ").arg(rows.size()).arg(differ));

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    QPushButton* exportButton =
        buttons->addButton(tr("xlsx 저장 (Export)..."), QDialogButtonBox::ActionRole);
    exportButton->setObjectName("btnExportXlsx");
    connect(exportButton, &QPushButton::clicked, this, &ProfileCompareDialog::exportSheet);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* top = new QHBoxLayout;
    top->addWidget(m_summary, 1);
    top->addWidget(m_onlyDiff);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(m_table, 1);
    layout->addWidget(buttons);
}

void ProfileCompareDialog::applyFilter() {
    for (int r = 0; r < m_rows.size(); ++r)
        m_table->setRowHidden(r, m_onlyDiff->isChecked() && !m_rows[r].differs);
}

int ProfileCompareDialog::visibleRows() const {
    int n = 0;
    for (int r = 0; r < m_model->rowCount(); ++r)
        n += m_table->isRowHidden(r) ? 0 : 1;
    return n;
}

QList<QStringList> ProfileCompareDialog::tableRows(QList<bool>* marked) const {
    QList<QStringList> out = {{"field", "unit", "register", m_leftName, m_rightName}};
    if (marked) *marked = {false};
    for (int r = 0; r < m_model->rowCount(); ++r) {
        if (m_table->isRowHidden(r)) continue;
        QStringList cells;
        for (int c = 0; c < m_model->columnCount(); ++c)
            cells << m_model->item(r, c)->text();
        out << cells;
        if (marked) *marked << m_rows[r].differs;
    }
    return out;
}

void ProfileCompareDialog::exportSheet() {
    QString path = m_hub.chooseFile(this, tr("Export the comparison"), "Excel workbook (*.xlsx)",
                                    true, "profile-comparison.xlsx");
    if (path.isEmpty()) return;
    if (!path.endsWith(".xlsx", Qt::CaseInsensitive)) path += ".xlsx";
    QList<bool> marked;
    const QList<QStringList> rows = tableRows(&marked);
    QString error;
    if (!WriteTableSheet(path, QString("%1 / %2").arg(m_leftName, m_rightName), rows, marked,
                         &error)) {
        m_hub.show(this, MessageKind::Warning, tr("The comparison was not exported: ") + error);
        return;
    }
    m_hub.show(this, MessageKind::Information,
               tr("%1 rows exported to %2").arg(rows.size() - 1).arg(path));
}

ProfilePreviewDialog::ProfilePreviewDialog(const SiteProfile& file, const SiteProfile& plant,
                                           const RestoreOptions& options, QWidget* parent)
    : QDialog(parent), m_file(file), m_plant(plant), m_options(options) {
    setObjectName("ProfilePreviewDialog");
    setWindowTitle(tr("프로파일 복원 (Profile restore): writes to confirm"));
    resize(820, 520);
    m_model = new QStandardItemModel(this);
    m_table = makeTable(this, m_model, "grdProfileWrites");
    m_summary = new QLabel(this);
    m_summary->setObjectName("lbProfileWrites");
    m_summary->setWordWrap(true);
    m_network = new QCheckBox(tr("네트워크 정보도 쓰기 (also write the addresses, rectifier ID and "
                                 "site text; writing an address can cut the link)"),
                              this);
    m_network->setObjectName("chkNetwork");
    m_network->setChecked(options.network);
    // A profile of another model never restores its network section.
    m_network->setEnabled(file.systemType == plant.systemType);
    connect(m_network, &QCheckBox::toggled, this, [this](bool on) {
        m_options.network = on;
        replan();
    });
    auto* buttons = new QDialogButtonBox(this);
    m_write = buttons->addButton(tr("쓰기 (Write)"), QDialogButtonBox::AcceptRole);
    m_write->setObjectName("btnWrite");
    buttons->addButton(QDialogButtonBox::Cancel)->setObjectName("btnCancel");
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_summary);
    layout->addWidget(m_table, 1);
    layout->addWidget(m_network);
    layout->addWidget(buttons);
    replan();
}

void ProfilePreviewDialog::replan() {
    m_plan = PlanRestore(m_file, m_plant, m_options);
    m_model->clear();
    m_model->setHorizontalHeaderLabels(
        {tr("field"), tr("unit"), tr("register"), tr("plant now"), tr("after restore")});
    for (const RestoreStep& s : m_plan.steps)
        appendRow(m_model, {fieldName({}, s.field), s.unit, QString::number(s.reg), s.from, s.to},
                  false);
    for (const QString& key : m_plan.networkFields)
        appendRow(m_model,
                  {"network." + key, "", "-", m_plant.network.value(key),
                   m_plan.networkForm ? m_file.network.value(key) : QString("(not written)")},
                  !m_plan.networkForm);
    m_table->resizeColumnsToContents();
    QString text = QString("%1 register write(s)").arg(m_plan.steps.size());
    if (m_plan.networkForm) text += " and the network identity";
    text += ", only the fields that differ; sent through the same write chain as the setting "
            "dialogs, then everything is read back.";
    if (!m_plan.notApplicable.isEmpty())
        text += " Skipped (this plant has no such setting): " + m_plan.notApplicable.join(", ");
    if (!m_plan.error.isEmpty()) text = m_plan.error;
    m_summary->setText(text);
    m_write->setEnabled(m_plan.error.isEmpty() && !m_plan.empty());
}
