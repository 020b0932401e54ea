// The Profile menu's commands.
#include "gui/profile/ProfileCommands.h"

#include "gui/shared/MessageHub.h"
#include "gui/profile/ProfileDialogs.h"

#include <QFileInfo>
#include <QProgressDialog>
#include <QWidget>

using namespace quma;

namespace {
const char kFilter[] = "Site profile (*.json)";
}

ProfileCommands::ProfileCommands(MonitorEngine& engine, MessageHub& hub, QWidget* window)
    : QObject(window), m_engine(engine), m_hub(hub), m_window(window), m_job(engine) {
    connect(&m_job, &ProfileJob::plantRead, this, &ProfileCommands::onPlant);
    connect(&m_job, &ProfileJob::failed, this, &ProfileCommands::onFailed);
    connect(&m_job, &ProfileJob::restoreFinished, this, &ProfileCommands::onRestored);
    connect(&m_job, &ProfileJob::progress, this, [this](int done, int total, const QString& t) {
        if (!m_progress) return;
        m_progress->setMaximum(std::max(total, 1));
        m_progress->setValue(std::min(done, total));
        m_progress->setLabelText(t);
    });
}

bool ProfileCommands::start(Step step, const QString& text) {
    if (busy()) {
        m_hub.show(m_window, MessageKind::Warning, tr("A profile command is still running."));
        return false;
    }
    m_step = step;
    m_reported = false;
    m_progress = new QProgressDialog(text, QString(), 0, 2, m_window);
    m_progress->setObjectName("ProfileProgress");
    m_progress->setWindowTitle(tr("프로파일 (Profile)"));
    m_progress->setMinimumDuration(0);
    m_progress->setAutoClose(false);
    m_progress->setAttribute(Qt::WA_DeleteOnClose);
    m_progress->open();
    return true;
}

void ProfileCommands::done() {
    m_step = Step::None;
    if (m_progress) m_progress->close();
}

std::optional<SiteProfile> ProfileCommands::loadChosen(const QString& caption) {
    const QString path = m_hub.chooseFile(m_window, caption, kFilter, false);
    if (path.isEmpty()) return std::nullopt;
    const ProfileLoad load = LoadProfileFile(path);
    if (!load.profile) {
        m_hub.show(m_window, MessageKind::Warning,
                   tr("This file is not a profile that can be used; nothing was written.\n\n") +
                       load.error);
        return std::nullopt;
    }
    m_path = path;
    return load.profile;
}

void ProfileCommands::save() {
    if (busy()) return;
    const QString model = m_engine.modelName().trimmed();
    const QString path =
        m_hub.chooseFile(m_window, tr("Save the plant's profile"), kFilter, true,
                         (model.isEmpty() ? QString("plant") : model) + "-profile.json");
    if (path.isEmpty()) return;
    m_path = path.endsWith(".json", Qt::CaseInsensitive) ? path : path + ".json";
    if (start(Step::Save, tr("Reading the settings..."))) m_job.readPlant();
}

void ProfileCommands::compareWithPlant() {
    if (busy()) return;
    const auto file = loadChosen(tr("Compare a profile with the plant"));
    if (!file) return;
    m_file = *file;
    if (start(Step::Compare, tr("Reading the settings..."))) m_job.readPlant();
}

void ProfileCommands::compareFiles() {
    if (busy()) return;
    const auto left = loadChosen(tr("The first profile"));
    if (!left) return;
    const QString leftPath = m_path;
    const auto right = loadChosen(tr("The profile to compare it with"));
    if (!right) return;
    showComparison(CompareProfiles(*left, *right), QFileInfo(leftPath).fileName(),
                   QFileInfo(m_path).fileName(), "");
}

void ProfileCommands::restore() {
    if (busy()) return;
    const auto file = loadChosen(tr("Restore a profile onto the plant"));
    if (!file) return;
    m_file = *file;
    if (start(Step::Plan, tr("Reading the settings..."))) m_job.readPlant();
}

void ProfileCommands::onPlant(const SiteProfile& plant) {
    const Step step = m_step;
    done();
    const QString fileName = QFileInfo(m_path).fileName();
    switch (step) {
    case Step::Save: {
        QString error;
        if (!SaveProfileFile(m_path, plant, &error)) {
            m_hub.show(m_window, MessageKind::Warning, tr("The profile was not saved: ") + error);
            return;
        }
        m_hub.show(m_window, MessageKind::Information,
                   tr("Profile saved: %1\n%2 settings%3.")
                       .arg(m_path)
                       .arg(plant.settings.size())
                       .arg(plant.network.isEmpty() ? QString(", no network identity")
                                                    : QString(" and the network identity")));
        break;
    }
    case Step::Compare:
        showComparison(CompareProfiles(m_file, plant), fileName, "plant", "");
        break;
    case Step::Plan:
        confirmPlan(plant);
        break;
    case Step::Restoring:
        // The read-back: what the plant holds now against the file.
        showComparison(CompareProfiles(m_file, plant), fileName, "plant", " after the restore");
        break;
    case Step::None:
        break;
    }
}

void ProfileCommands::confirmPlan(const SiteProfile& plant) {
    // Polling pauses while the user decides, as it does for the setting dialogs: the identity
    // reply just came, nothing is in flight, and the writes start on a quiet link.
    m_engine.setCommandKind(RectMode::Setting);
    RestoreOptions options;
    if (m_file.systemType != plant.systemType) {
        const QString question =
            tr("This profile was made for system type %1 (%2); this plant is %3 (%4).\n\n"
               "Restore its settings anyway? Its network section is never written.")
                .arg(m_file.systemType)
                .arg(m_file.model)
                .arg(plant.systemType)
                .arg(plant.model);
        if (!m_hub.confirm(m_window, question)) {
            m_engine.ReturnToPolling();
            return;
        }
        options.otherModel = true;
    }
    if (PlanRestore(m_file, plant, {!options.otherModel, options.otherModel}).empty()) {
        m_engine.ReturnToPolling();
        m_hub.show(m_window, MessageKind::Information,
                   tr("The plant already holds this profile's settings: nothing to write."));
        return;
    }
    auto* preview = new ProfilePreviewDialog(m_file, plant, options, m_window);
    preview->setAttribute(Qt::WA_DeleteOnClose);
    m_preview = preview;
    connect(preview, &QDialog::accepted, this, [this, preview] {
        const RestorePlan plan = preview->plan();
        if (start(Step::Restoring, tr("Writing the settings..."))) m_job.restore(plan);
    });
    connect(preview, &QDialog::rejected, this, [this] { m_engine.ReturnToPolling(); });
    preview->open();
}

void ProfileCommands::onRestored(const RestoreReport& report) {
    if (report.error.isEmpty()) return;
    m_reported = true;
    m_hub.show(m_window, MessageKind::Warning,
               tr("The restore stopped: ") + report.error + "\n\n" + report.lines().join('\n'));
}

void ProfileCommands::onFailed(const QString& why) {
    const Step step = m_step;
    done();
    // A restore that stopped while writing has told its report already.
    if (step == Step::Restoring && m_reported) return;
    m_hub.show(m_window, MessageKind::Warning, tr("Profile: ") + why);
}

void ProfileCommands::linkLost() {
    m_job.abort("the link to the controller was closed");
}

void ProfileCommands::showComparison(const QList<ProfileDiffRow>& rows, const QString& left,
                                     const QString& right, const QString& title) {
    auto* dialog = new ProfileCompareDialog(m_hub, rows, left, right, m_window);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    if (!title.isEmpty()) dialog->setWindowTitle(dialog->windowTitle() + title);
    m_comparison = dialog;
    dialog->open();
}
