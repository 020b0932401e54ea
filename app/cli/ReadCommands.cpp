// quma-cli: status, watch, netid and history: what a poll, an identity read or a transfer prints,
// the watch's CSV rows and its silent spells.
#include "app/cli/Cli.h"

namespace quma::cli {

void Cli::onStatus() {
    m_watchdog.start(m_timeoutMs);
    const StatusView v = RenderStatus(m_engine.image(), m_engine.modelName());
    if (m_command == "status") {
        for (const QString& l : StatusLines(v))
            out(l);
        out(m_engine.modelName());
        out(v.alarmText);
        finish();
    } else if (m_command == "watch") {
        replyCame();
        if (!m_csv.isEmpty() && !appendCsvRow()) return;
        out(v.clock + "  " + v.acVolts + "  " + v.dcVolts + "  " + v.dcAmps + "  " + v.battAmps +
            "  " + v.alarmText);
        if (m_count > 0 && ++m_seen >= m_count) finish();
    } else if (m_command == "history" && !m_started) {
        m_started = true;
        if (!m_engine.OpenTransfer(m_kind)) {
            fail(QString("system type %1 has no history").arg(m_engine.systemType()));
            return;
        }
        // The window's start countdown, run through at once: the count query goes out now.
        while (!m_engine.RequestStartTick()) {
        }
    }
}

// One row per poll: the time (ISO 8601, local with its offset), the trend values, the words.
bool Cli::appendCsvRow() {
    QString error;
    if (!m_csvOpen) {
        QStringList header{"time"};
        for (const TrendSeriesInfo& i : TrendSeriesInfos())
            header << i.key;
        header << "alarm1"
               << "alarm2";
        if (!m_csvFile.open(m_csv, header, &error)) {
            fail(error);
            return false;
        }
        m_csvOpen = true;
    }
    const RegisterImage& img = m_engine.image();
    const TrendValues values = TrendValuesFromImage(img);
    QStringList row{nowText()};
    for (int s = 0; s < Trend::Count; ++s)
        row << QString::number(values[s], 'f', TrendSeriesInfos()[s].decimals);
    row << QString::fromLatin1(IntToHexN(img[Reg::Alarm1], 4))
        << QString::fromLatin1(IntToHexN(img[Reg::Alarm2], 4));
    if (!m_csvFile.appendRow(row, &error)) {
        fail("writing the CSV failed, the run stops: " + error);
        return false;
    }
    return true;
}

// watch: the controller did not answer for a time-out. Said once a spell on stderr, marked
// in the CSV by a row with the time alone, and the end of the run only past --max-silence.
void Cli::silentSpell() {
    if (!m_silence.isValid()) {
        m_silence.start();
        std::fprintf(stderr, "quma-cli: no reply from the controller for %.1f s; still polling\n",
                     m_timeoutMs / 1000.0);
    }
    const qint64 silentMs = m_silence.elapsed() + m_timeoutMs;
    if (m_csvOpen) {
        QString error;
        if (!m_csvFile.appendRow({nowText()}, &error)) {
            fail("writing the CSV failed, the run stops: " + error);
            return;
        }
    }
    if (m_maxSilenceMs > 0 && silentMs >= m_maxSilenceMs) {
        fail(QString("no reply from the controller for %1 s (--max-silence)")
                 .arg(silentMs / 1000.0, 0, 'f', 1));
        return;
    }
    m_watchdog.start(m_timeoutMs);
}

void Cli::replyCame() {
    if (!m_silence.isValid()) return;
    std::fprintf(stderr, "quma-cli: the controller answers again after %.1f s\n",
                 (m_silence.elapsed() + m_timeoutMs) / 1000.0);
    m_silence.invalidate();
}

// watch over a serial line that went away (a USB adapter pulled): opened again every 2 s.
void Cli::reopenSerial(const QString& device, const QString& why) {
    if (m_reopening) return;
    m_reopening = true;
    std::fprintf(stderr, "quma-cli: %s; opening %s again\n", qPrintable(why), qPrintable(device));
    auto* retry = new QTimer(this);
    retry->setInterval(2000);
    connect(retry, &QTimer::timeout, this, [this, retry, device] {
        m_session.port().Close();
        QString error;
        if (!m_session.connectSerial(device, &error)) return;
        std::fprintf(stderr, "quma-cli: %s is open again\n", qPrintable(device));
        m_reopening = false;
        retry->deleteLater();
    });
    retry->start();
}

void Cli::onNetId() {
    if (m_command != "netid") return;
    const NetworkIdentity& n = *m_engine.networkIdentity();
    out("MAC: " + n.mac);
    out("IP: " + n.ip);
    out("Subnet mask: " + n.subnet);
    out("Gateway: " + n.gateway);
    out("Saved IP: " + n.savedIp);
    // The texts are the controller's bytes: escaped like the trace before they reach a
    // terminal.
    const auto text = [](const QByteArray& bytes) { return QString::fromUtf8(TraceText(bytes)); };
    out("HW description: " + text(n.hwDescription));
    out("Serial number: " + text(n.serialNumber));
    out("HW version: " + n.hwVersion);
    out("Saved MAC: " + n.savedMac);
    out("Saved IP-MAC: " + n.savedIpMac);
    out("Rectifier ID: " + n.rectId);
    out("Saved rectifier ID: " + n.savedRectId);
    out("FW version: " + n.firmware);
    out("Site: " + text(n.siteInfoUtf8));
    if (!n.complete)
        out("(The reply ended inside the record: the fields left empty were not received.)");
    finish();
}

void Cli::printRows() {
    for (const QStringList& row : m_engine.transfer().rows)
        if (!row.isEmpty()) out(row.join('\t'));
}

} // namespace quma::cli
