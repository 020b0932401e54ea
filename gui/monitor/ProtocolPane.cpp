// The Protocol pane.
#include "gui/monitor/ProtocolPane.h"

#include "core/io/WriteFile.h"
#include "gui/shared/MessageHub.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTableView>

using namespace quma;

int MonitorTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(m_rows.size());
}

int MonitorTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : 5;
}

const MonitorEntry* MonitorTableModel::entry(int row) const {
    const auto& entries = m_monitor.entries();
    if (row < 0 || row >= int(m_rows.size()) || entries.empty()) return nullptr;
    const quint64 at = m_rows[std::size_t(row)] - entries.front().number;
    return at < entries.size() ? &entries[std::size_t(at)] : nullptr;
}

QVariant MonitorTableModel::data(const QModelIndex& index, int role) const {
    const MonitorEntry* e = entry(index.row());
    if (!e) return {};
    if (role == Qt::ForegroundRole && e->meaning.error) return QColor(0xc0, 0x10, 0x10);
    if (role == Qt::TextAlignmentRole && index.column() == 0)
        return int(Qt::AlignRight | Qt::AlignVCenter);
    if (role != Qt::DisplayRole && role != Qt::ToolTipRole) return {};
    switch (index.column()) {
    case 0:
        return QString::number(e->ms, 'f', 1);
    case 1:
        return QString::fromLatin1(FrameKindName(e->event.kind));
    case 2:
        return e->event.link == LinkKind::Tcp ? "tcp" : "serial";
    case 3:
        return FrameBytesText(e->event, role == Qt::ToolTipRole ? 4096 : 160);
    default:
        return e->meaning.text;
    }
}

QVariant MonitorTableModel::headerData(int section, Qt::Orientation o, int role) const {
    if (o != Qt::Horizontal || role != Qt::DisplayRole) return {};
    static const char* names[] = {"time (ms)", "dir", "link", "bytes", "meaning"};
    return section >= 0 && section < 5 ? QString(names[section]) : QVariant();
}

void MonitorTableModel::setFilter(MonitorFilter filter, const QString& search) {
    beginResetModel();
    m_filter = filter;
    m_search = search;
    m_rows.clear();
    m_seen = m_monitor.entries().empty() ? m_monitor.added() : m_monitor.entries().front().number;
    endResetModel();
    catchUp();
}

void MonitorTableModel::catchUp() {
    const auto& entries = m_monitor.entries();
    // Rows whose frames the monitor let go (its bounds) or cleared.
    const quint64 front = entries.empty() ? m_monitor.added() : entries.front().number;
    std::size_t gone = 0;
    while (gone < m_rows.size() && m_rows[gone] < front)
        ++gone;
    if (gone > 0) {
        beginRemoveRows({}, 0, int(gone) - 1);
        m_rows.erase(m_rows.begin(), m_rows.begin() + std::ptrdiff_t(gone));
        endRemoveRows();
    }
    if (entries.empty()) {
        m_seen = m_monitor.added();
        return;
    }
    std::vector<quint64> fresh;
    for (quint64 n = std::max(m_seen, front); n <= entries.back().number; ++n) {
        const MonitorEntry& e = entries[std::size_t(n - front)];
        if (MonitorMatches(e, m_filter, m_search)) fresh.push_back(n);
    }
    m_seen = entries.back().number + 1;
    if (fresh.empty()) return;
    beginInsertRows({}, int(m_rows.size()), int(m_rows.size() + fresh.size()) - 1);
    m_rows.insert(m_rows.end(), fresh.begin(), fresh.end());
    endInsertRows();
}

ProtocolPane::ProtocolPane(ProtocolMonitor& monitor, SessionRecorder& recorder, MessageHub& hub,
                           QWidget* parent)
    : QDockWidget("Protocol", parent), m_monitor(monitor), m_recorder(recorder), m_hub(hub),
      m_model(monitor) {
    setObjectName("dockProtocol");
    auto* body = new QWidget(this);
    m_filter = new QComboBox(body);
    m_filter->setObjectName("cbbProtocolFilter");
    m_filter->addItems({{}, {}, {}, {}, {}});
    m_pause = new QCheckBox(body);
    m_pause->setObjectName("chkProtocolPause");
    auto* clear = new QPushButton(body);
    clear->setObjectName("btnProtocolClear");
    m_search = new QLineEdit(body);
    m_search->setObjectName("edtProtocolSearch");
    m_search->setClearButtonEnabled(true);
    auto* copy = new QPushButton(body);
    copy->setObjectName("btnProtocolCopy");
    auto* save = new QPushButton(body);
    save->setObjectName("btnProtocolSave");
    m_record = new QPushButton(body);
    m_record->setObjectName("btnProtocolRecord");
    m_record->setCheckable(true);
    // The footer's texts grow with the traffic and the file names: they never widen the pane
    // (what does not fit is cut, the whole text is in the tool tip).
    m_counters = new QLabel(body);
    m_counters->setObjectName("lbProtocolCounters");
    m_counters->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    m_recording = new QLabel(body);
    m_recording->setObjectName("lbProtocolRecording");
    m_recording->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);

    m_table = new QTableView(body);
    m_table->setObjectName("grdProtocol");
    m_table->setModel(&m_model);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setWordWrap(false);
    m_table->verticalHeader()->hide();
    m_table->verticalHeader()->setDefaultSectionSize(m_table->fontMetrics().height() + 4);
    m_table->horizontalHeader()->setStretchLastSection(true);
    m_table->setColumnWidth(0, 80);
    m_table->setColumnWidth(1, 50);
    m_table->setColumnWidth(2, 50);
    m_table->setColumnWidth(3, 420);
    // Rows are all the same height: the view need not measure them.
    m_table->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);

    auto* bar = new QHBoxLayout;
    bar->addWidget(m_filter);
    bar->addWidget(m_pause);
    bar->addWidget(clear);
    bar->addWidget(m_search, 1);
    bar->addWidget(copy);
    bar->addWidget(save);
    bar->addWidget(m_record);
    auto* foot = new QHBoxLayout;
    foot->addWidget(m_counters, 1);
    foot->addWidget(m_recording);
    auto* layout = new QVBoxLayout(body);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->addLayout(bar);
    layout->addWidget(m_table, 1);
    layout->addLayout(foot);
    setWidget(body);

    connect(m_filter, &QComboBox::currentIndexChanged, this, &ProtocolPane::applyFilter);
    connect(m_search, &QLineEdit::textChanged, this, &ProtocolPane::applyFilter);
    connect(m_pause, &QCheckBox::toggled, this, [this](bool on) { m_monitor.setPaused(on); });
    connect(clear, &QPushButton::clicked, this, [this] {
        m_monitor.clear();
        catchUp();
    });
    connect(copy, &QPushButton::clicked, this, [this] {
        QApplication::clipboard()->setText(
            shownText(m_table->selectionModel() && m_table->selectionModel()->hasSelection()));
    });
    connect(save, &QPushButton::clicked, this, &ProtocolPane::save);
    connect(m_record, &QPushButton::toggled, this, &ProtocolPane::toggleRecording);
    connect(&m_recorder, &SessionRecorder::failed, this, [this](const QString& why) {
        const QSignalBlocker block(m_record);
        m_record->setChecked(false);
        m_recording->clear();
        m_hub.post(this, MessageKind::Warning, why);
    });
    retranslate();
    // The table catches up ten times a second, and only while the pane is shown: hidden, it
    // costs the event loop no wake-up at all.
    m_timer.setInterval(100);
    connect(&m_timer, &QTimer::timeout, this, &ProtocolPane::catchUp);
    connect(this, &QDockWidget::visibilityChanged, this, [this](bool shown) {
        if (shown) {
            catchUp();
            m_timer.start();
        } else {
            m_timer.stop();
        }
    });
}

void ProtocolPane::retranslate() {
    const QStringList filters{tr("All frames"), tr("Polls"), tr("Writes"), tr("Transfers"),
                              tr("Errors only")};
    for (int i = 0; i < filters.size(); ++i)
        m_filter->setItemText(i, filters[i]);
    m_pause->setText(tr("Pause"));
    m_search->setPlaceholderText(tr("Search bytes or meaning"));
    findChild<QPushButton*>("btnProtocolClear")->setText(tr("Clear"));
    findChild<QPushButton*>("btnProtocolCopy")->setText(tr("Copy"));
    findChild<QPushButton*>("btnProtocolSave")->setText(tr("Save..."));
    m_record->setText(tr("Record session..."));
}

void ProtocolPane::changeEvent(QEvent* e) {
    if (e->type() == QEvent::LanguageChange) retranslate();
    QDockWidget::changeEvent(e);
}

void ProtocolPane::applyFilter() {
    m_model.setFilter(MonitorFilter(m_filter->currentIndex()), m_search->text());
}

void ProtocolPane::catchUp() {
    QScrollBar* bar = m_table->verticalScrollBar();
    const bool atEnd = bar->value() >= bar->maximum() - 2;
    m_model.catchUp();
    if (atEnd) m_table->scrollToBottom();
    const QString counters = m_monitor.counters().text() + tr("; %1 frames kept, %2 KiB")
                                                               .arg(m_monitor.entries().size())
                                                               .arg(m_monitor.bytes() / 1024);
    if (counters != m_counters->text()) {
        m_counters->setText(counters);
        QString tip = counters;
        if (!m_monitor.counters().lastDropped.isEmpty())
            tip += "\n" + tr("Last dropped: %1").arg(m_monitor.counters().lastDropped);
        m_counters->setToolTip(tip + "\n" + tr("'Errors only' lists every dropped frame."));
    }
    if (m_recorder.recording())
        m_recording->setText(
            QString("recording %1 frames to %2").arg(m_recorder.frames()).arg(m_recorder.path()));
}

QString ProtocolPane::shownText(bool selectedOnly) const {
    QStringList lines;
    for (int row = 0; row < m_model.rowCount(); ++row) {
        if (selectedOnly && !m_table->selectionModel()->isRowSelected(row, {})) continue;
        if (const MonitorEntry* e = m_model.entry(row)) lines << MonitorLine(*e);
    }
    return lines.join('\n') + (lines.isEmpty() ? "" : "\n");
}

void ProtocolPane::save() {
    QString path =
        m_hub.chooseFile(this, tr("Save the frames shown"), "Text (*.txt)", true, "protocol.txt");
    if (path.isEmpty()) return;
    if (!path.endsWith(".txt", Qt::CaseInsensitive)) path += ".txt";
    QString error;
    if (!WriteWholeFile(path, shownText(false).toUtf8(), &error)) {
        m_hub.show(this, MessageKind::Warning, tr("The frames were not saved: %1").arg(error));
        return;
    }
    m_hub.show(this, MessageKind::Information, tr("Saved ") + path);
}

bool ProtocolPane::startRecording(const QString& path) {
    QString error;
    if (!m_recorder.start(path, "quma-console", &error)) {
        m_hub.show(this, MessageKind::Warning, tr("The session is not recorded: ") + error);
        const QSignalBlocker block(m_record);
        m_record->setChecked(false);
        return false;
    }
    const QSignalBlocker block(m_record);
    m_record->setChecked(true);
    m_recording->setText(tr("recording to ") + path);
    return true;
}

void ProtocolPane::stopRecording() {
    m_recorder.stop();
    const QSignalBlocker block(m_record);
    m_record->setChecked(false);
    m_recording->setText(tr("recorded %1 frames").arg(m_recorder.frames()));
}

void ProtocolPane::toggleRecording(bool on) {
    if (!on) {
        stopRecording();
        return;
    }
    QString path = m_hub.chooseFile(this, tr("Record the session to"),
                                    "Session recording (*.jsonl)", true, "session.jsonl");
    if (path.isEmpty()) {
        const QSignalBlocker block(m_record);
        m_record->setChecked(false);
        return;
    }
    if (!path.endsWith(".jsonl", Qt::CaseInsensitive)) path += ".jsonl";
    startRecording(path);
}
