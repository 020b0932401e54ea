// quma-cli: profile save, diff and restore.
#include "app/cli/Cli.h"

namespace quma::cli {

int Cli::diffFiles() {
    const ProfileLoad other = LoadProfileFile(m_profileFile2);
    if (!other.profile) return refuse(other.error);
    const QList<ProfileDiffRow> rows = CompareProfiles(m_fileProfile, *other.profile);
    std::fputs(DiffTable(rows, m_profileFile, m_profileFile2, false).toUtf8().constData(), stdout);
    return ProfilesDiffer(rows) ? 1 : 0;
}

void Cli::watchProfileJob() {
    m_job.setTimeout(m_timeoutMs);
    m_timer.start();
    connect(&m_job, &ProfileJob::progress, this, [this] { m_watchdog.start(m_timeoutMs); });
    connect(&m_job, &ProfileJob::plantRead, this, [this](const SiteProfile& plant) {
        m_watchdog.start(m_timeoutMs);
        if (m_restored)
            onReadBack(plant);
        else
            onPlant(plant);
    });
    connect(&m_job, &ProfileJob::restoreFinished, this, [this](const RestoreReport& r) {
        for (const QString& line : r.lines())
            out(line);
        m_restored = true;
    });
    connect(&m_job, &ProfileJob::failed, this, [this](const QString& why) { fail(why); });
}

void Cli::onPlant(const SiteProfile& plant) {
    const double ms = m_timer.nsecsElapsed() / 1e6;
    if (m_profileAction == "save") {
        QString error;
        if (!SaveProfileFile(m_profileFile, plant, &error)) {
            fail(error, 2);
            return;
        }
        out(QString("%1: %2 settings%3 of %4 (system type %5), read in %6 ms")
                .arg(m_profileFile)
                .arg(plant.settings.size())
                .arg(plant.network.isEmpty() ? QString(", no network identity")
                                             : QString(" and the network identity"))
                .arg(plant.model)
                .arg(plant.systemType)
                .arg(ms, 0, 'f', 1));
        finish();
    } else if (m_profileAction == "diff") {
        const QList<ProfileDiffRow> rows = CompareProfiles(m_fileProfile, plant);
        std::fputs(DiffTable(rows, m_profileFile, "plant", false).toUtf8().constData(), stdout);
        finish(ProfilesDiffer(rows) ? 1 : 0);
    } else {
        m_plan = PlanRestore(m_fileProfile, plant, m_restoreOptions);
        if (!m_plan.error.isEmpty()) {
            fail(m_plan.error, 2);
            return;
        }
        const QStringList lines = PlanLines(m_plan);
        for (const QString& line : lines)
            out(line);
        if (m_plan.empty()) {
            out("The plant already holds the profile's settings: nothing to write.");
            finish();
        } else if (!m_yes) {
            out(QString("Plan only: %1 register write(s)%2; nothing was written (add --yes).")
                    .arg(m_plan.steps.size())
                    .arg(m_plan.networkForm ? QString(" and the network identity") : QString()));
            finish();
        } else {
            m_timer.restart();
            m_job.restore(m_plan);
        }
    }
}

void Cli::onReadBack(const SiteProfile& plant) {
    // The fields the restore covered must now read as the file has them.
    QList<ProfileDiffRow> rows;
    for (const ProfileDiffRow& r : CompareProfiles(m_fileProfile, plant))
        if (r.section == "settings" ? !m_plan.notApplicable.contains(r.field)
                                    : m_restoreOptions.network)
            rows << r;
    out(QString("Restored in %1 ms; read back:").arg(m_timer.nsecsElapsed() / 1e6, 0, 'f', 1));
    if (ProfilesDiffer(rows)) {
        std::fputs(DiffTable(rows, m_profileFile, "plant", true).toUtf8().constData(), stdout);
        fail("the plant does not read back as the profile");
        return;
    }
    out("equal");
    finish();
}

} // namespace quma::cli
