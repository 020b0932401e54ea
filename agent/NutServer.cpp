// The NUT line protocol over the fleet's rows.
#include "agent/NutServer.h"

#include <QHostAddress>
#include <QTcpSocket>

namespace quma::agent {

namespace {

// A battery giving or taking more than this is discharging or charging.
constexpr double kBatteryAmperes = 0.5;

QString number(double v, int decimals) {
    return QString::number(v, 'f', decimals);
}

// Tokens separated by blanks; a double-quoted token may hold blanks and backslash escapes.
QStringList tokens(const QByteArray& line) {
    QStringList out;
    QString current;
    bool quoted = false, escaped = false, any = false;
    for (const char c : line) {
        if (escaped) {
            current += QChar::fromLatin1(c);
            escaped = false;
        } else if (c == '\\') {
            escaped = true;
        } else if (c == '"') {
            quoted = !quoted;
            any = true;
        } else if (!quoted && (c == ' ' || c == '\t')) {
            if (any || !current.isEmpty()) out << current;
            current.clear();
            any = false;
        } else {
            current += QChar::fromLatin1(c);
        }
    }
    if (any || !current.isEmpty()) out << current;
    return out;
}

QByteArray quoted(const QString& text) {
    QByteArray q = text.toUtf8();
    q.replace('\\', "\\\\").replace('"', "\\\"");
    return '"' + q + '"';
}

bool onBattery(const PlantReading& r) {
    return r.activeAlarms.contains("ac_failure") ||
           (r.batteryInstalled && r.batteryAmperes <= -kBatteryAmperes);
}

const std::map<QString, const char*>& Descriptions() {
    static const std::map<QString, const char*> d = {
        {"battery.charge", "Battery charge (percent)"},
        {"battery.current", "Battery current (A), negative while discharging"},
        {"battery.temperature", "Battery temperature (degrees C)"},
        {"battery.voltage", "Battery voltage (V)"},
        {"battery.voltage.low", "Battery voltage for a low battery (V)"},
        {"device.mfr", "Device manufacturer"},
        {"device.model", "Device model"},
        {"device.serial", "Device serial number"},
        {"device.type", "Device type"},
        {"driver.name", "Driver name"},
        {"driver.version", "Driver version"},
        {"input.voltage", "Input voltage (V)"},
        {"output.current", "Output current (A)"},
        {"output.voltage", "Output voltage (V)"},
        {"ups.alarm", "UPS alarms"},
        {"ups.firmware", "UPS firmware"},
        {"ups.mfr", "UPS manufacturer"},
        {"ups.model", "UPS model"},
        {"ups.serial", "UPS serial number"},
        {"ups.status", "UPS status"},
        {"ups.temperature", "UPS temperature (degrees C)"},
    };
    return d;
}

} // namespace

QString NutStatus(const PlantReading& r, const NutConfig& config, bool replaceBattery,
                  bool forcedShutdown) {
    QStringList s;
    if (forcedShutdown) s << "FSD";
    s << (onBattery(r) ? "OB" : "OL");
    if (r.batteryInstalled && r.batteryEndVolts > 0 &&
        r.batteryVolts <= r.batteryEndVolts + config.endVoltageMargin)
        s << "LB";
    if (replaceBattery) s << "RB";
    if (r.batteryInstalled && r.batteryAmperes >= kBatteryAmperes) s << "CHRG";
    if (r.batteryInstalled && r.batteryAmperes <= -kBatteryAmperes) s << "DISCHRG";
    return s.join(' ');
}

std::vector<std::pair<QString, QString>> NutVariables(const SiteRow& row, const NutConfig& config,
                                                      bool forcedShutdown) {
    std::vector<std::pair<QString, QString>> v;
    if (!row.reading) return v;
    const PlantReading& r = *row.reading;
    const auto add = [&](const char* name, const QString& value) { v.emplace_back(name, value); };
    if (r.batteryInstalled) {
        add("battery.charge", number(r.batteryChargePercent, 0));
        add("battery.current", number(r.batteryAmperes, 1));
    }
    if (r.batteryCelsius) add("battery.temperature", number(*r.batteryCelsius, 1));
    if (r.batteryInstalled) {
        add("battery.voltage", number(r.batteryVolts, 2));
        if (r.batteryEndVolts > 0)
            add("battery.voltage.low", number(r.batteryEndVolts + config.endVoltageMargin, 2));
    }
    add("device.mfr", "QUMA");
    add("device.model", r.model);
    if (!row.serial.isEmpty()) add("device.serial", row.serial);
    add("device.type", "psu");
    add("driver.name", "quma-agent");
    add("driver.version", QUMA_VERSION);
    add("input.voltage", number(r.acVolts, 1));
    add("output.current", number(r.dcAmperes, 1));
    add("output.voltage", number(r.dcVolts, 1));
    QStringList alarms;
    for (const ActiveAlarm& a : row.alarms)
        alarms << a.name;
    if (!alarms.isEmpty()) add("ups.alarm", alarms.join(", "));
    add("ups.firmware", r.firmware);
    add("ups.mfr", "QUMA");
    add("ups.model", r.model);
    if (!row.serial.isEmpty()) add("ups.serial", row.serial);
    add("ups.status", NutStatus(r, config, row.replaceBattery, forcedShutdown));
    add("ups.temperature", number(r.rectifierCelsius, 1));
    std::sort(v.begin(), v.end());
    return v;
}

NutServer::NutServer(const NutConfig& config, const FleetState& state, QObject* parent)
    : QObject(parent), m_config(config), m_state(state), m_server(this) {
    connect(&m_server, &QTcpServer::newConnection, this, &NutServer::accept);
}

NutServer::~NutServer() {
    for (auto& [socket, client] : m_clients)
        delete socket;
}

bool NutServer::start(QString* error) {
    quint16 port = 0;
    const QHostAddress address = ListenAddress(m_config.listen, 3493, &port);
    if (!m_server.listen(address, port)) {
        *error =
            QString("nut: cannot listen on %1: %2").arg(m_config.listen, m_server.errorString());
        return false;
    }
    return true;
}

void NutServer::accept() {
    while (QTcpSocket* socket = m_server.nextPendingConnection()) {
        if (int(m_clients.size()) >= m_config.maxClients) {
            // Full: the longest idle connection that never logged in makes room, or the new
            // one is turned away; a logged-in upsmon is never dropped for a stranger.
            QTcpSocket* idlest = nullptr;
            qint64 longest = -1;
            for (const auto& [s, c] : m_clients)
                if (c.loggedInto.isEmpty() && c.idle.elapsed() > longest) {
                    idlest = s;
                    longest = c.idle.elapsed();
                }
            if (!idlest) {
                socket->abort();
                socket->deleteLater();
                continue;
            }
            drop(idlest);
        }
        Client& c = m_clients[socket];
        c.idle.start();
        connect(socket, &QTcpSocket::readyRead, this, [this, socket] { read(socket); });
        connect(socket, &QTcpSocket::disconnected, this, [this, socket] { drop(socket); });
    }
}

void NutServer::drop(QTcpSocket* socket) {
    if (m_clients.erase(socket) == 0) return;
    socket->disconnect(this);
    socket->abort();
    socket->deleteLater();
}

void NutServer::read(QTcpSocket* socket) {
    const auto it = m_clients.find(socket);
    if (it == m_clients.end()) return;
    Client& c = it->second;
    c.idle.start();
    c.buffer += socket->readAll();
    qsizetype end;
    while ((end = c.buffer.indexOf('\n')) >= 0) {
        const QByteArray line = c.buffer.left(end).trimmed();
        c.buffer.remove(0, end + 1);
        if (line.size() > MaxLineBytes) {
            socket->write("ERR INVALID-ARGUMENT\n");
            drop(socket);
            return;
        }
        bool close = false;
        QByteArray out;
        for (const QByteArray& reply : answer(c, line, &close))
            out += reply + '\n';
        socket->write(out);
        if (close) {
            socket->flush();
            drop(socket);
            return;
        }
    }
    // A line that never ends is not waited for.
    if (c.buffer.size() > MaxLineBytes) {
        socket->write("ERR INVALID-ARGUMENT\n");
        drop(socket);
    }
}

int NutServer::logins(const QString& site) const {
    int n = 0;
    for (const auto& [s, c] : m_clients)
        n += c.loggedInto == site;
    return n;
}

bool NutServer::forced(const QString& site, const std::optional<SiteRow>& row) {
    if (!m_forcedShutdown.contains(site)) return false;
    // Until the mains are back.
    if (row && row->up && row->reading && !onBattery(*row->reading)) {
        m_forcedShutdown.remove(site);
        return false;
    }
    return true;
}

QByteArrayList NutServer::answer(Client& c, const QByteArray& line, bool* close) {
    const QStringList t = tokens(line);
    if (t.isEmpty()) return {};
    const QString command = t[0].toUpper();
    const auto err = [](const char* what) { return QByteArrayList{QByteArray("ERR ") + what}; };
    const auto known = [this](const QString& site) { return m_state.row(site).has_value(); };
    if (command == "VER")
        return {QByteArray("Network UPS Tools upsd 2.8.0 - quma-agent ") + QUMA_VERSION};
    if (command == "NETVER") return {"1.3"};
    if (command == "HELP")
        return {"Commands: HELP VER GET LIST SET INSTCMD LOGIN LOGOUT USERNAME PASSWORD STARTTLS"};
    if (command == "STARTTLS") return err("FEATURE-NOT-CONFIGURED");
    if (command == "LOGOUT") {
        *close = true;
        return {"OK Goodbye"};
    }
    if (command == "USERNAME" || command == "PASSWORD") {
        if (t.size() != 2) return err("INVALID-ARGUMENT");
        QString& field = command == "USERNAME" ? c.username : c.password;
        if (!field.isEmpty())
            return err(command == "USERNAME" ? "ALREADY-SET-USERNAME" : "ALREADY-SET-PASSWORD");
        field = t[1];
        return {"OK"};
    }
    const auto user = [&]() -> const NutUser* {
        for (const NutUser& u : m_config.users)
            if (u.name == c.username && u.password == c.password) return &u;
        return nullptr;
    };
    if (command == "LOGIN" || command == "PRIMARY" || command == "MASTER") {
        if (t.size() != 2) return err("INVALID-ARGUMENT");
        if (c.username.isEmpty()) return err("USERNAME-REQUIRED");
        if (c.password.isEmpty()) return err("PASSWORD-REQUIRED");
        if (!known(t[1])) return err("UNKNOWN-UPS");
        const NutUser* u = user();
        if (!u) return err("ACCESS-DENIED");
        if (command == "LOGIN") {
            if (!c.loggedInto.isEmpty()) return err("ALREADY-LOGGED-IN");
            c.loggedInto = t[1];
            return {"OK"};
        }
        if (!u->primary) return err("ACCESS-DENIED");
        c.primary = true;
        return {command == "PRIMARY" ? "OK PRIMARY-GRANTED" : "OK MASTER-GRANTED"};
    }
    if (command == "FSD") {
        if (t.size() != 2) return err("INVALID-ARGUMENT");
        if (!known(t[1])) return err("UNKNOWN-UPS");
        if (!c.primary || !user()) return err("ACCESS-DENIED");
        m_forcedShutdown.insert(t[1]);
        return {"OK FSD-SET"};
    }
    if (command == "SET") return err("READONLY");
    if (command == "INSTCMD") return err("CMD-NOT-SUPPORTED");
    if (command == "LIST") return list(t.mid(1));
    if (command == "GET") return get(t.mid(1));
    return err("UNKNOWN-COMMAND");
}

QByteArrayList NutServer::list(const QStringList& a) {
    if (a.isEmpty()) return {"ERR INVALID-ARGUMENT"};
    const QString what = a[0].toUpper();
    if (what == "UPS" && a.size() == 1) {
        QByteArrayList out{"BEGIN LIST UPS"};
        for (const SiteRow& r : m_state.snapshot().sites)
            out << "UPS " + r.name.toUtf8() + ' ' +
                       quoted(r.siteText.isEmpty() ? r.labels : r.siteText);
        out << "END LIST UPS";
        return out;
    }
    if (a.size() < 2) return {"ERR INVALID-ARGUMENT"};
    const QByteArray site = a[1].toUtf8();
    const std::optional<SiteRow> row = m_state.row(a[1]);
    if (!row) return {"ERR UNKNOWN-UPS"};
    const QByteArray head = what.toUtf8() + ' ' + site;
    if (what == "VAR" && a.size() == 2) {
        if (!row->up || !row->reading) return {"ERR DATA-STALE"};
        QByteArrayList out{"BEGIN LIST " + head};
        for (const auto& [name, value] : NutVariables(*row, m_config, forced(a[1], row)))
            out << "VAR " + site + ' ' + name.toUtf8() + ' ' + quoted(value);
        out << "END LIST " + head;
        return out;
    }
    if ((what == "RW" || what == "CMD") && a.size() == 2)
        return {"BEGIN LIST " + head, "END LIST " + head};
    if (what == "CLIENT" && a.size() == 2) {
        QByteArrayList out{"BEGIN LIST " + head};
        for (const auto& [s, c] : m_clients)
            if (c.loggedInto == a[1])
                out << "CLIENT " + site + ' ' + s->peerAddress().toString().toUtf8();
        out << "END LIST " + head;
        return out;
    }
    if ((what == "ENUM" || what == "RANGE") && a.size() == 3) return {"ERR VAR-NOT-SUPPORTED"};
    return {"ERR INVALID-ARGUMENT"};
}

QByteArrayList NutServer::get(const QStringList& a) {
    if (a.size() < 2) return {"ERR INVALID-ARGUMENT"};
    const QString what = a[0].toUpper();
    const QByteArray site = a[1].toUtf8();
    const std::optional<SiteRow> row = m_state.row(a[1]);
    if (!row) return {"ERR UNKNOWN-UPS"};
    if (what == "NUMLOGINS" && a.size() == 2)
        return {"NUMLOGINS " + site + ' ' + QByteArray::number(logins(a[1]))};
    if (what == "UPSDESC" && a.size() == 2)
        return {"UPSDESC " + site + ' ' +
                quoted(row->siteText.isEmpty() ? row->labels : row->siteText)};
    if (what == "CMDDESC" && a.size() == 3) return {"ERR CMD-NOT-SUPPORTED"};
    if (a.size() != 3) return {"ERR INVALID-ARGUMENT"};
    const QByteArray var = a[2].toUtf8();
    if (what == "DESC") {
        const auto d = Descriptions().find(a[2]);
        return {"DESC " + site + ' ' + var + ' ' +
                quoted(d == Descriptions().end() ? "Description unavailable" : d->second)};
    }
    if (what != "VAR" && what != "TYPE") return {"ERR INVALID-ARGUMENT"};
    if (!row->up || !row->reading) return {"ERR DATA-STALE"};
    for (const auto& [name, value] : NutVariables(*row, m_config, forced(a[1], row))) {
        if (name != a[2]) continue;
        if (what == "VAR") return {"VAR " + site + ' ' + var + ' ' + quoted(value)};
        bool numeric = false;
        value.toDouble(&numeric);
        return {"TYPE " + site + ' ' + var + (numeric ? " NUMBER" : " STRING:64")};
    }
    return {"ERR VAR-NOT-SUPPORTED"};
}

} // namespace quma::agent
