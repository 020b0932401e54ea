// Every file the programs write, on a disk with no room left: each save says it failed, with the
// path and the system's reason, and leaves what was there before as it was.
#include "core/datalog/DataLog.h"
#include "core/export/CsvExport.h"
#include "core/export/SheetExport.h"
#include "core/history/TransferRecord.h"
#include "core/monitor/ProtocolMonitor.h"
#include "core/monitor/SessionFile.h"
#include "core/profile/ProfileCompare.h"
#include "core/profile/ProfileFile.h"
#include "core/profile/RestorePlan.h"
#include "core/report/ServiceReport.h"
#include "core/trend/TrendStore.h"
#include "gui/monitor/ProtocolPane.h"
#include "gui/report/ReportPdf.h"
#include "gui/shared/MessageHub.h"
#include "gui/trend/TrendView.h"

#include <QDir>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>
#include <functional>
#include <sched.h>
#include <sys/mount.h>

using namespace quma;

namespace {
const QString NoSpace = "No space left on device";

// A 256 KiB file system of this process's own (gone when it ends), filled to the last byte.
struct FullDisk {
    QTemporaryDir dir;
    QString skipReason;
    bool mounted = false;
    FullDisk() {
        if (unshare(CLONE_NEWNS) != 0 ||
            mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
            mount("tmpfs", QFile::encodeName(dir.path()).constData(), "tmpfs", 0, "size=256k") !=
                0) {
            skipReason = QString("no file system of our own to fill (%1): run as root")
                             .arg(QString::fromLocal8Bit(strerror(errno)));
            return;
        }
        mounted = true;
    }
    ~FullDisk() {
        if (mounted) umount2(QFile::encodeName(dir.path()).constData(), MNT_DETACH);
    }
    QString path(const QString& name) const { return dir.filePath(name); }
    // An older file at `name`, then no room for anything more.
    void fill(const QString& name) {
        QFile old(path(name));
        old.open(QIODevice::WriteOnly);
        old.write("what was there before\n");
        old.close();
        QFile filler(path("filler"));
        filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered);
        const QByteArray block(4096, 'x');
        while (filler.write(block) > 0) {
        }
        filler.close();
    }
    QStringList files() const {
        return QDir(dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot);
    }
    void empty() {
        for (const QString& f : files())
            QFile::remove(path(f));
    }
};

using Writer = std::function<bool(const QString& path, QString* error)>;
} // namespace

Q_DECLARE_METATYPE(Writer)

class TestFullDisk : public QObject {
    Q_OBJECT
    FullDisk m_disk;

private slots:
    void initTestCase() {
        if (!m_disk.mounted) QSKIP(qPrintable(m_disk.skipReason));
    }

    void wholeFilesFailWhole_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<Writer>("write");
        const QList<QStringList> rows{EventLogHeader(), {"001", "2026-12-08", "10:00:00", "x"}};
        QTest::newRow("profile") << "site.json" << Writer([](const QString& p, QString* e) {
            return SaveProfileFile(p, SiteProfile{}, e);
        });
        QTest::newRow("csv") << "log.csv" << Writer([rows](const QString& p, QString* e) {
            return WriteCsvFile(p, rows, e);
        });
        QTest::newRow("history xlsx") << "log.xlsx" << Writer([rows](const QString& p, QString* e) {
            return WriteHistorySheet(p, rows, TransferKind::Event, " QUMA-7T", e);
        });
        QTest::newRow("comparison xlsx")
            << "diff.xlsx" << Writer([rows](const QString& p, QString* e) {
                   return WriteTableSheet(p, "t", rows, {}, e);
               });
        QTest::newRow("report html")
            << "r.html"
            << Writer([](const QString& p, QString* e) { return WriteReport(p, ReportData{}, e); });
        QTest::newRow("report pdf")
            << "r.pdf"
            << Writer([](const QString& p, QString* e) { return WriteReport(p, ReportData{}, e); });
        QTest::newRow("trend png") << "t.png" << Writer([](const QString& p, QString* e) {
            TrendStore store(10);
            MessageHub hub;
            TrendView view(store, hub);
            return view.exportPng(p, e);
        });
    }
    void wholeFilesFailWhole() {
        QFETCH(QString, name);
        QFETCH(Writer, write);
        m_disk.empty();
        m_disk.fill(name);
        QString error;
        QVERIFY(!write(m_disk.path(name), &error));
        QVERIFY2(error.startsWith(m_disk.path(name) + ": "), qPrintable(error));
        QVERIFY2(error.contains(NoSpace) || name.endsWith(".xlsx"), qPrintable(error));
        // Nothing half-written: the old file as it was, no temporary file left.
        QFile old(m_disk.path(name));
        QVERIFY(old.open(QIODevice::ReadOnly));
        QCOMPARE(old.readAll(), QByteArray("what was there before\n"));
        QStringList left = m_disk.files(), want{"filler", name};
        left.sort();
        want.sort();
        QCOMPARE(left, want);
    }

    // Files that grow a line at a time say why they stopped, in the system's words.
    void appendedFilesSayWhy() {
        m_disk.empty();
        m_disk.fill("old");
        QString error;
        CsvAppender csv;
        QVERIFY(!csv.open(m_disk.path("watch.csv"), {"time"}, &error));
        QVERIFY2(error.contains(NoSpace), qPrintable(error));
        SessionRecorder recorder;
        error.clear();
        QVERIFY(!recorder.start(m_disk.path("s.jsonl"), "test", &error));
        QVERIFY2(error.contains(NoSpace), qPrintable(error));
    }

    // The console's data log and Protocol pane: the failure is shown, the lines are kept.
    void consoleSavesKeepTheirData() {
        m_disk.empty();
        m_disk.fill("old");
        RegisterImage image;
        DataLog log(image);
        log.setFolder(m_disk.dir.path());
        log.start();
        log.Timer2Timer();
        const int lines = int(log.lines().size());
        QString error;
        QVERIFY(!log.save(nullptr, &error));
        QCOMPARE(error, NoSpace);
        QVERIFY(log.hasUnsavedLines());
        QCOMPARE(int(log.lines().size()), lines);

        ProtocolMonitor monitor;
        SessionRecorder recorder;
        MessageHub hub;
        QStringList boxes;
        hub.setRecorder([&](MessageKind, const QString& t) { boxes << t; });
        hub.setFileChooser(
            [&](const QString&, bool, const QString&) { return m_disk.path("frames.txt"); });
        ProtocolPane pane(monitor, recorder, hub);
        monitor.add(FrameEvent{FrameEvent::Sent, LinkKind::Tcp, 0, 0, "frame", {}});
        pane.catchUp();
        QTest::mouseClick(pane.findChild<QPushButton*>("btnProtocolSave"), Qt::LeftButton);
        QCOMPARE(boxes.size(), 1);
        QVERIFY2(boxes[0].contains(m_disk.path("frames.txt")) && boxes[0].contains(NoSpace),
                 qPrintable(boxes[0]));
        QVERIFY(!m_disk.files().contains("frames.txt"));
    }
};

QTEST_MAIN(TestFullDisk)
#include "tst_fulldisk.moc"
