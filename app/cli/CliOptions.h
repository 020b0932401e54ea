// quma-cli: the options in front of the command.
#pragma once

#include "core/i18n/Translations.h"

#include <QStringList>
#include <optional>

namespace quma::cli {

struct CliOptions {
    QString serial, tcp;  // the link: one of them
    QString record;       // --record FILE
    bool quiet = false;   // no trace lines
    bool help = false;    // --help: the usage text and nothing else
    bool version = false; // --version: "quma-cli <version>" and nothing else
    std::optional<Language> language;
    int timeoutMs = 5000;
};

// Takes the options off the front of `args` (the command and its arguments stay). Returns the
// usage error, or nothing when the options are good (or --help came).
std::optional<QString> ParseCliOptions(QStringList& args, CliOptions* options);

} // namespace quma::cli
