// quma-cli: the program. A PDF report needs the fonts of a GUI application (offscreen without a
// display); everything else runs on a core application.
#include "app/cli/Cli.h"

#ifdef QUMA_WITH_PDF
#include "gui/shared/ConsoleFont.h"
#include <QGuiApplication>
#endif
#include <QCoreApplication>
#include <memory>

int main(int argc, char** argv) {
    // A PDF report needs the fonts of a GUI application (without a display, offscreen).
    std::unique_ptr<QCoreApplication> application;
#ifdef QUMA_WITH_PDF
    bool report = false;
    for (int i = 1; i < argc; ++i)
        report = report || QByteArray(argv[i]) == "report";
    if (report) {
        if (qEnvironmentVariableIsEmpty("DISPLAY") &&
            qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        application = std::make_unique<QGuiApplication>(argc, argv);
        UseConsoleFont();
    }
#endif
    if (!application) application = std::make_unique<QCoreApplication>(argc, argv);
    QCoreApplication& app = *application;
    QStringList args = app.arguments().mid(1);
    quma::cli::Cli cli(args);
    const int rc = cli.start();
    if (rc >= 0) return rc;
    return app.exec();
}
