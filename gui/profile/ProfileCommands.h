// The Profile menu's commands: save the plant's settings to a file, compare a file with the plant
// or with another file, and restore a file onto the plant after a preview the user confirms.
// The windows open without a modal loop of their own, so tests can reach and click them.
#pragma once

#include "core/profile/ProfileJob.h"
#include "gui/profile/ProfileDialogs.h"

#include <QObject>
#include <QPointer>

class MessageHub;
class QProgressDialog;
class QWidget;

class ProfileCommands : public QObject {
    Q_OBJECT
public:
    ProfileCommands(quma::MonitorEngine& engine, MessageHub& hub, QWidget* window);

    void save();
    void compareWithPlant();
    void compareFiles();
    void restore();

    quma::ProfileJob& job() { return m_job; }
    bool busy() const { return m_job.busy() || m_step != Step::None; }
    // The windows last opened (null once closed).
    ProfileCompareDialog* comparison() const { return m_comparison; }
    ProfilePreviewDialog* preview() const { return m_preview; }
    // The link went away: a running read or restore ends with what it did.
    void linkLost();

private:
    enum class Step { None, Save, Compare, Plan, Restoring };
    bool start(Step step, const QString& text);
    void onPlant(const quma::SiteProfile& plant);
    void onFailed(const QString& why);
    void onRestored(const quma::RestoreReport& report);
    void confirmPlan(const quma::SiteProfile& plant);
    void showComparison(const QList<quma::ProfileDiffRow>& rows, const QString& left,
                        const QString& right, const QString& title);
    std::optional<quma::SiteProfile> loadChosen(const QString& caption);
    void done();

    quma::MonitorEngine& m_engine;
    MessageHub& m_hub;
    QWidget* m_window;
    quma::ProfileJob m_job;
    Step m_step = Step::None;
    bool m_reported = false; // the restore's report was shown
    QString m_path;
    quma::SiteProfile m_file;
    QPointer<QProgressDialog> m_progress;
    QPointer<ProfileCompareDialog> m_comparison;
    QPointer<ProfilePreviewDialog> m_preview;
};
