// Debian's snmpd as the AgentX master and snmptrapd as the trap receiver, each on a free
// loopback port with its socket, configuration and files in a temporary folder; and the
// net-snmp tools (snmpwalk, snmpget, snmptable) run against them.
#pragma once

#include "tests/AgentRig.h"

#include <QFile>
#include <QMap>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStandardPaths>
#include <QUdpSocket>

namespace quma::test {

inline quint16 FreeUdpPort() {
    QUdpSocket probe;
    probe.bind(QHostAddress::LocalHost, 0);
    return probe.localPort();
}

// The tools read no MIB text unless told: numeric OIDs only.
inline QProcessEnvironment SnmpToolEnvironment(const QString& persistent) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("MIBS", "");
    env.insert("SNMP_PERSISTENT_DIR", persistent);
    env.insert("SNMPCONFPATH", persistent);
    return env;
}

struct SnmpTool {
    QString out, err;
    int exitCode = -1;
};

inline SnmpTool RunSnmpTool(const QString& program, const QStringList& args,
                            const QProcessEnvironment& env, int timeoutMs = 20000) {
    QProcess p;
    p.setProcessEnvironment(env);
    p.start(program, args);
    SnmpTool r;
    if (!p.waitForFinished(timeoutMs)) {
        p.kill();
        p.waitForFinished(2000);
        r.err = program + " did not finish";
        return r;
    }
    r.out = QString::fromUtf8(p.readAllStandardOutput());
    r.err = QString::fromUtf8(p.readAllStandardError());
    r.exitCode = p.exitCode();
    return r;
}

// "OID = TYPE: value" lines of a numeric walk, by OID (without the leading dot).
inline QMap<QString, QString> WalkLines(const QString& out) {
    QMap<QString, QString> values;
    for (const QString& line : out.split('\n', Qt::SkipEmptyParts)) {
        const qsizetype eq = line.indexOf(" = ");
        if (eq < 0) continue;
        QString oid = line.left(eq).trimmed();
        if (oid.startsWith('.')) oid.remove(0, 1);
        values.insert(oid, line.mid(eq + 3).trimmed());
    }
    return values;
}

struct SnmpdServer : ServerProcess {
    QString socket, community = "public";
    quint16 trapPort = 0;
    QProcessEnvironment env;

    bool start(quint16 trapSinkPort) {
        port = FreeUdpPort();
        trapPort = trapSinkPort;
        socket = dir.filePath("agentx.sock");
        env = SnmpToolEnvironment(dir.filePath("persist"));
        return !writeFile("snmpd.conf",
                          QString("master agentx\nagentXSocket %1\nagentXPerms 0660 0770\n"
                                  "agentaddress udp:127.0.0.1:%2\nrocommunity %3 127.0.0.1\n"
                                  "trap2sink 127.0.0.1:%4 %3\n")
                              .arg(socket)
                              .arg(port)
                              .arg(community)
                              .arg(trapPort))
                    .isEmpty() &&
               run();
    }
    // Started again on the same port and socket.
    bool restart() {
        process.terminate();
        if (!process.waitForFinished(5000)) process.kill();
        process.waitForFinished(2000);
        return run();
    }
    SnmpTool tool(const QString& program, const QStringList& args) const {
        return RunSnmpTool(program,
                           QStringList{"-v2c", "-c", community, "-On", "-t", "2", "-r", "1",
                                       QString("127.0.0.1:%1").arg(port)} +
                               args,
                           env);
    }
    QMap<QString, QString> walk(const QString& oid) const {
        return WalkLines(tool("snmpwalk", {oid}).out);
    }
    QString get(const QString& oid) const {
        return WalkLines(tool("snmpget", {oid}).out).value(oid);
    }

private:
    bool run() {
        process.setProcessEnvironment(env);
        if (!ServerProcess::start("snmpd",
                                  {"-f", "-Lf", dir.filePath("snmpd.log"), "-C", "-c",
                                   dir.filePath("snmpd.conf"), "-p", dir.filePath("snmpd.pid")}))
            return false;
        // Up when it answers for itself.
        return WaitFor([this] { return !get("1.3.6.1.2.1.1.3.0").isEmpty(); }, 20000);
    }
};

// Every notification it receives, as varbind lines, in order.
struct SnmptrapdServer : ServerProcess {
    struct Trap {
        QString oid; // the notification (snmpTrapOID.0)
        QMap<QString, QString> vars;
    };
    QString log;

    bool start() {
        port = FreeUdpPort();
        log = dir.filePath("traps.log");
        // One line a notification: "TRAP", then its varbinds, tab-separated.
        const QString config =
            writeFile("snmptrapd.conf", "disableAuthorization yes\nformat2 TRAP\t%V\t%v\\n\n");
        process.setProcessEnvironment(SnmpToolEnvironment(dir.filePath("persist")));
        if (config.isEmpty() ||
            !ServerProcess::start("snmptrapd", {"-f", "-Lf", log, "-On", "-C", "-c", config,
                                                QString("udp:127.0.0.1:%1").arg(port)}))
            return false;
        return WaitFor([this] { return readLog().contains("NET-SNMP version"); }, 10000);
    }
    QString readLog() const {
        QFile f(log);
        return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
    }
    QList<Trap> traps() const {
        QList<Trap> list;
        for (const QString& line : readLog().split('\n')) {
            if (!line.startsWith("TRAP\t")) continue;
            Trap t;
            for (const QString& vb : line.split('\t').mid(1)) {
                const qsizetype eq = vb.indexOf(" = ");
                if (eq < 0) continue;
                QString oid = vb.left(eq).trimmed();
                if (oid.startsWith('.')) oid.remove(0, 1);
                t.vars.insert(oid, vb.mid(eq + 3).trimmed());
            }
            t.oid = t.vars.value("1.3.6.1.6.3.1.1.4.1.0").remove("OID: ").remove(0, 1);
            list << t;
        }
        return list;
    }
};

} // namespace quma::test
