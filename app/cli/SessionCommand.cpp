// quma-cli: session pcap: a recording as a pcap capture, no controller needed.
#include "app/cli/Cli.h"

namespace quma::cli {

// A recording as a pcap capture: no controller needed.
int Cli::sessionCommand() {
    const SessionRead read = ReadSessionFile(m_args[1]);
    if (!read.error.isEmpty()) return refuse(read.error);
    if (read.truncated)
        std::fprintf(stderr, "quma-cli: %s ends inside its last line; read up to it\n",
                     qPrintable(m_args[1]));
    QString error;
    int packets = 0;
    if (!WritePcap(m_args[2], read.events, &error, &packets)) return refuse(error);
    out(QString("%1: %2 packets").arg(m_args[2]).arg(packets));
    return 0;
}

} // namespace quma::cli
