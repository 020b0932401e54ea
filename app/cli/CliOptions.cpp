// quma-cli: the options in front of the command.
#include "app/cli/CliOptions.h"

namespace quma::cli {

std::optional<QString> ParseCliOptions(QStringList& args, CliOptions* o) {
    while (!args.isEmpty() && args.first().startsWith("--")) {
        const QString opt = args.takeFirst();
        if (opt == "--quiet") {
            o->quiet = true;
        } else if ((opt == "--serial" || opt == "--tcp" || opt == "--timeout" ||
                    opt == "--record" || opt == "--lang") &&
                   !args.isEmpty()) {
            const QString v = args.takeFirst();
            if (opt == "--record") o->record = v;
            if (opt == "--lang") {
                o->language = ParseLanguage(v);
                if (!o->language) return QString("--lang takes ko or en");
            }
            if (opt == "--serial") o->serial = v;
            if (opt == "--tcp") o->tcp = v;
            if (opt == "--timeout") {
                // Checked before it is scaled: a huge or odd number is refused, not wrapped.
                bool ok = false;
                const double seconds = v.toDouble(&ok);
                if (!ok || !(seconds >= 0.1 && seconds <= 3600))
                    return QString("--timeout takes seconds from 0.1 to 3600");
                o->timeoutMs = int(seconds * 1000);
            }
        } else if (opt == "--help") {
            o->help = true;
            return std::nullopt;
        } else if (opt == "--version") {
            o->version = true;
            return std::nullopt;
        } else {
            return "unknown option " + opt;
        }
    }
    return std::nullopt;
}

} // namespace quma::cli
