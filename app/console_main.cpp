// quma-console: the console window; with --demo it brings its own simulated controller.
#include "core/monitor/LinkSession.h"
#include "core/monitor/MonitorEngine.h"
#include "gui/console/Console.h"
#include "gui/mainwin/MainWindow.h"
#include "gui/monitor/ProtocolPane.h"
#include "gui/shared/ConsoleFont.h"
#include "gui/shared/MessageHub.h"
#include "sim/SimServer.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QSettings>
#include <QStandardPaths>
#include <cstdio>
#include <memory>
#include <optional>

int main(int argc, char** argv) {
    // --help and --version print and leave: they need no display (help2man, a shell over ssh).
    for (int i = 1; i < argc; ++i) {
        const QByteArray a(argv[i]);
        if ((a == "--help" || a == "-h" || a == "--version" || a == "-v") &&
            qEnvironmentVariableIsEmpty("DISPLAY") &&
            qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") &&
            qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName("quma-console");
    QApplication::setApplicationVersion(QUMA_VERSION);
    QCommandLineParser p;
    p.setApplicationDescription("Maintenance and monitoring console for QUMA rectifier plants.");
    p.addHelpOption();
    p.addVersionOption();
    const QCommandLineOption demo("demo", "Start a simulated controller in this process and offer "
                                          "its address in the connection dialog.");
    const QCommandLineOption demoType("demo-system-type",
                                      "System type of the demo controller "
                                      "(1..4, default 4).",
                                      "N", "4");
    const QCommandLineOption record("record",
                                    "Record every frame in and out to FILE as it happens (JSON "
                                    "lines), from the start.",
                                    "FILE");
    const QCommandLineOption lang("lang",
                                  "Interface language for this run: ko (Korean, the default) or "
                                  "en (English). Without it, the language last chosen in the "
                                  "Language menu.",
                                  "CODE");
    p.addOptions({demo, demoType, record, lang});
    p.process(app);

    UseConsoleFont();

    quma::MonitorEngine engine;
    engine.setLiveTimers(true);
    quma::LinkSession session(engine);
    MessageHub hub;
    Console console(engine, session, hub);
    MainWindow& window = console.window();
    // The connection dialog's last choice, kept in the user's configuration folder.
    QSettings settings("quma", "quma-console");
    window.setSettings(&settings);
    std::optional<quma::Language> language = MainWindow::rememberedLanguage(settings);
    if (p.isSet(lang)) {
        language = quma::ParseLanguage(p.value(lang));
        if (!language) {
            std::fprintf(stderr, "quma-console: --lang %s: give ko or en\n",
                         qPrintable(p.value(lang)));
            return 2;
        }
    }
    window.setLanguage(*language, false);

    std::unique_ptr<quma::sim::SimServer> sim;
    if (p.isSet(demo)) {
        quma::sim::SimOptions o;
        o.systemType = p.value(demoType).toInt();
        o.historySize = 120;
        o.eventSize = 80;
        sim = std::make_unique<quma::sim::SimServer>(o);
        QStringList ports;
        QString host;
        if (sim->listenTcp()) host = QString("127.0.0.1:%1").arg(sim->tcpPort());
        if (sim->openPty()) ports << sim->ptyPath();
        sim->startTicking(500);
        window.setConnectHints(ports, host);
        std::printf("Demo controller: TCP %s, serial %s (password vroom8315)\n", qPrintable(host),
                    qPrintable(ports.value(0)));
        std::fflush(stdout);
    }
    window.show();
    // Every line of the data log reaches this journal as it is recorded; one left by a run that
    // did not end normally is offered for saving now.
    window.useDataLogJournal(QDir(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation))
                                 .filePath("datalog-journal.txt"));
    if (p.isSet(record)) console.protocolPane().startRecording(p.value(record));
    return app.exec();
}
