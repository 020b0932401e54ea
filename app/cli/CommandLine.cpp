// quma-cli: The commands' own arguments.
#include "app/cli/Cli.h"

namespace quma::cli {

bool Cli::parseCommand() {
    if (m_command == "status" || m_command == "netid")
        return m_args.isEmpty() || usage("too many arguments") == 0;
    if (m_command == "watch") {
        while (!m_args.isEmpty()) {
            const QString opt = m_args.takeFirst();
            if (m_args.isEmpty() || (opt != "--count" && opt != "--csv" && opt != "--max-silence"))
                return usage("watch takes --count N, --csv FILE and --max-silence SECONDS") == 0;
            const QString value = m_args.takeFirst();
            bool ok = true;
            if (opt == "--count") m_count = value.toInt(&ok);
            if (opt == "--csv") m_csv = value;
            if (!ok || m_count < 0) return usage("watch --count takes a number >= 0") == 0;
            if (opt == "--max-silence") {
                const double seconds = value.toDouble(&ok);
                if (!ok || seconds <= 0 || seconds > 365 * 86400.0)
                    return usage("watch --max-silence takes seconds > 0") == 0;
                m_maxSilenceMs = qint64(seconds * 1000);
            }
        }
        return true;
    }
    if (m_command == "history") {
        // Options after the kind: --xlsx FILE, --csv FILE.
        QStringList rest = m_args.mid(1);
        m_args = m_args.mid(0, 1);
        while (rest.size() >= 2 && (rest[0] == "--xlsx" || rest[0] == "--csv")) {
            (rest[0] == "--xlsx" ? m_xlsx : m_csv) = rest[1];
            rest = rest.mid(2);
        }
        if (!rest.isEmpty()) return usage("history takes --xlsx FILE and --csv FILE") == 0;
    }
    if (m_command == "history" || m_command == "clear") {
        if (m_args.size() != 1 || (m_args[0] != "alarm" && m_args[0] != "event"))
            return usage(m_command + " takes alarm or event") == 0;
        m_kind = m_args[0] == "alarm" ? TransferKind::Alarm : TransferKind::Event;
        return true;
    }
    if (m_command == "write") {
        if (m_args.isEmpty()) return usage("write needs REG=VALUE pairs") == 0;
        for (const QString& a : m_args) {
            const QStringList kv = a.split('=');
            bool ok1 = false, ok2 = false;
            const int reg = kv.size() == 2 ? kv[0].toInt(&ok1) : 0;
            const int value = kv.size() == 2 ? kv[1].toInt(&ok2, 0) : 0;
            if (!ok1 || !ok2 || reg < 1 || reg > 0xFFFF || value < 0 || value > 0xFFFF)
                return usage("'" + a + "': expected REG=VALUE, both within 0..65535") == 0;
            m_writes.append({reg, value});
        }
        return true;
    }
    if (m_command == "reset") {
        if (m_args != QStringList{"1"} && m_args != QStringList{"2"})
            return usage("reset takes 1 (reset) or 2 (configuration)") == 0;
        m_writes = {{Reg::Restart, m_args[0].toInt()}};
        return true;
    }
    if (m_command == "set-time") {
        QDateTime t = QDateTime::currentDateTime();
        if (m_args.size() == 1) t = QDateTime::fromString(m_args[0], Qt::ISODate);
        if (m_args.size() > 1 || !t.isValid())
            return usage("set-time takes YYYY-MM-DDTHH:MM:SS") == 0;
        const QDate d = t.date();
        const QTime h = t.time();
        // Queued so that minute goes first and second last.
        m_writes = {{6, h.second()}, {1, d.year()}, {2, d.month()},
                    {3, d.day()},    {4, h.hour()}, {5, h.minute()}};
        return true;
    }
    if (m_command == "profile") return parseProfile();
    if (m_command == "battery") return parseBattery();
    if (m_command == "report") {
        if (m_args.isEmpty()) return usage("report takes FILE.pdf or FILE.html") == 0;
        m_reportFile = m_args.takeFirst();
        while (m_args.size() >= 2 && (m_args[0] == "--engineer" || m_args[0] == "--note")) {
            (m_args[0] == "--engineer" ? m_engineer : m_note) = m_args[1];
            m_args = m_args.mid(2);
        }
        if (!m_args.isEmpty()) return usage("report takes --engineer NAME and --note TEXT") == 0;
        const bool pdf = m_reportFile.endsWith(".pdf", Qt::CaseInsensitive);
        if (!pdf && !m_reportFile.endsWith(".html", Qt::CaseInsensitive) &&
            !m_reportFile.endsWith(".htm", Qt::CaseInsensitive))
            return usage("report: the file name ends in .pdf or .html") == 0;
#ifndef QUMA_WITH_PDF
        if (pdf) return usage("report: this build writes HTML reports only") == 0;
#endif
        return true;
    }
    if (m_command == "session") {
        if (m_args.size() != 3 || m_args[0] != "pcap")
            return usage("session pcap RECORDING OUT.pcap") == 0;
        return true;
    }
    return usage("unknown command " + m_command) == 0;
}

bool Cli::parseProfile() {
    if (m_args.isEmpty()) return usage("profile takes save, diff or restore") == 0;
    m_profileAction = m_args.takeFirst();
    QStringList files;
    for (const QString& a : m_args) {
        if (m_profileAction == "restore" && a == "--network")
            m_restoreOptions.network = true;
        else if (m_profileAction == "restore" && a == "--other-model")
            m_restoreOptions.otherModel = true;
        else if (m_profileAction == "restore" && a == "--yes")
            m_yes = true;
        else if (a.startsWith("--"))
            return usage("profile " + m_profileAction + ": unknown option " + a) == 0;
        else
            files << a;
    }
    const bool twoFiles = m_profileAction == "diff" && files.size() == 2;
    if ((m_profileAction != "save" && m_profileAction != "diff" && m_profileAction != "restore") ||
        (files.size() != 1 && !twoFiles))
        return usage("profile save FILE | diff FILE [FILE2] | restore FILE [options]") == 0;
    m_profileFile = files[0];
    if (twoFiles) m_profileFile2 = files[1];
    if (m_profileAction == "save") return true;
    // A file is checked whole before the link is even opened: a bad one writes nothing.
    const ProfileLoad load = LoadProfileFile(m_profileFile);
    if (!load.profile) return refuse(load.error) == 0;
    m_fileProfile = *load.profile;
    return true;
}

} // namespace quma::cli
