// Real servers for the fleet agent's tests: Debian's prometheus and mosquitto started on free
// loopback ports in a temporary folder and stopped afterwards, an MQTT subscriber, and HTTP GETs.
#pragma once

#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMutex>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QProcess>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>
#include <QUrlQuery>
#include <csignal>
#include <mosquitto.h>

namespace quma::test {

inline quint16 FreePort() {
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost);
    return probe.serverPort();
}

// Waits (running the event loop) until `done` holds or the time is up.
template <class F> bool WaitFor(F done, int timeoutMs) {
    QElapsedTimer t;
    t.start();
    while (!done()) {
        if (t.elapsed() > timeoutMs) return false;
        QTest::qWait(50);
    }
    return true;
}

// A GET, with the event loop running meanwhile; empty on failure.
inline QByteArray HttpGet(const QString& url, int timeoutMs = 5000) {
    QNetworkAccessManager nam;
    QNetworkRequest request{QUrl(url)};
    request.setTransferTimeout(timeoutMs);
    QNetworkReply* reply = nam.get(request);
    QEventLoop loop;
    QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    loop.exec();
    const QByteArray body =
        reply->error() == QNetworkReply::NoError ? reply->readAll() : QByteArray();
    reply->deleteLater();
    return body;
}

// A server process of the machine's own, stopped with the rig.
struct ServerProcess {
    QTemporaryDir dir;
    QProcess process;
    quint16 port = 0;
    QString missing; // the program that is not installed

    bool start(const QString& program, const QStringList& args) {
        const QString path = QStandardPaths::findExecutable(program, {"/usr/sbin", "/usr/bin"});
        if (path.isEmpty()) {
            missing = program + " is not installed (Debian package " + program + ")";
            return false;
        }
        process.setProcessChannelMode(QProcess::MergedChannels);
        process.setWorkingDirectory(dir.path());
        process.start(path, args);
        return process.waitForStarted(5000);
    }
    // A file in the server's folder: its path, or empty when it could not be written.
    QString writeFile(const QString& name, const QString& text) {
        QFile f(dir.filePath(name));
        if (!f.open(QIODevice::WriteOnly) || f.write(text.toUtf8()) < 0) return {};
        return f.fileName();
    }
    // A program run in the server's folder; true when it ends with 0.
    bool run(const QString& program, const QStringList& args) {
        QProcess p;
        p.setWorkingDirectory(dir.path());
        p.start(program, args);
        return p.waitForFinished(30000) && p.exitCode() == 0;
    }
    // In the folder: a certificate authority made for the run (ca.crt) and a certificate for
    // 127.0.0.1 it signed (server.crt, server.key).
    bool makeCertificates() {
        return !writeFile("san.ext", "subjectAltName=IP:127.0.0.1,DNS:localhost\n").isEmpty() &&
               run("openssl",
                   {"req", "-x509", "-newkey", "rsa:2048", "-nodes", "-days", "2", "-subj",
                    "/CN=quma test CA", "-keyout", "ca.key", "-out", "ca.crt"}) &&
               run("openssl", {"req", "-newkey", "rsa:2048", "-nodes", "-subj", "/CN=127.0.0.1",
                               "-keyout", "server.key", "-out", "server.csr"}) &&
               run("openssl",
                   {"x509", "-req", "-in", "server.csr", "-CA", "ca.crt", "-CAkey", "ca.key",
                    "-CAcreateserial", "-days", "2", "-extfile", "san.ext", "-out", "server.crt"});
    }
    bool acceptsConnections(int timeoutMs) {
        return WaitFor(
            [this] {
                QTcpSocket s;
                s.connectToHost(QHostAddress::LocalHost, port);
                return s.waitForConnected(200);
            },
            timeoutMs);
    }
    ~ServerProcess() {
        if (process.state() == QProcess::NotRunning) return;
        process.terminate();
        if (!process.waitForFinished(5000)) process.kill();
        process.waitForFinished(2000);
    }
};

// Prometheus scraping one target every 500 ms; `job` adds lines to the job (a scheme, TLS,
// credentials).
struct PrometheusServer : ServerProcess {
    bool start(quint16 targetPort, const QString& job = {}) {
        port = FreePort();
        const QString config = writeFile(
            "prometheus.yml", QString("global:\n  scrape_interval: 500ms\n  scrape_timeout: 400ms\n"
                                      "scrape_configs:\n  - job_name: quma\n    static_configs:\n"
                                      "      - targets: ['127.0.0.1:%1']\n%2")
                                  .arg(targetPort)
                                  .arg(job));
        if (config.isEmpty()) return false;
        return ServerProcess::start(
                   "prometheus",
                   {"--config.file=" + config, "--storage.tsdb.path=" + dir.filePath("data"),
                    QString("--web.listen-address=127.0.0.1:%1").arg(port), "--log.level=warn"}) &&
               acceptsConnections(20000);
    }
    // The value of an instant query with exactly one series, or nullopt.
    std::optional<double> query(const QString& promql) {
        QUrlQuery q;
        q.addQueryItem("query", promql);
        const QByteArray body = HttpGet(QString("http://127.0.0.1:%1/api/v1/query?%2")
                                            .arg(port)
                                            .arg(q.toString(QUrl::FullyEncoded)));
        const QJsonArray result =
            QJsonDocument::fromJson(body).object()["data"].toObject()["result"].toArray();
        if (result.size() != 1) return std::nullopt;
        return result[0].toObject()["value"].toArray()[1].toString().toDouble();
    }
    // Waits until the query gives `expected` (within 0.001).
    bool waitValue(const QString& promql, double expected, int timeoutMs = 20000) {
        return WaitFor(
            [&] {
                const auto v = query(promql);
                return v && std::abs(*v - expected) < 0.001;
            },
            timeoutMs);
    }
};

struct MosquittoServer : ServerProcess {
    bool start() {
        port = FreePort();
        const QString config = writeFile(
            "mosquitto.conf",
            QString("listener %1 127.0.0.1\nallow_anonymous true\npersistence false\n").arg(port));
        return !config.isEmpty() && ServerProcess::start("mosquitto", {"-c", config}) &&
               acceptsConnections(10000);
    }
    // Stopped and started again on the same port (retained messages are not kept).
    bool restart() {
        process.kill();
        process.waitForFinished(5000);
        return ServerProcess::start("mosquitto", {"-c", dir.filePath("mosquitto.conf")}) &&
               acceptsConnections(10000);
    }
};

// A broker with a plain listener for the test's subscriber and a TLS listener that wants a
// user name and password, its certificate signed by a certificate authority made for the run.
struct SecureMosquittoServer : MosquittoServer {
    quint16 tlsPort = 0;
    QString caFile;
    bool start(const QString& user, const QString& password) {
        port = FreePort();
        do
            tlsPort = FreePort();
        while (tlsPort == port);
        caFile = dir.filePath("ca.crt");
        if (!makeCertificates() ||
            !run("mosquitto_passwd", {"-c", "-b", "passwd", user, password})) {
            missing = "openssl or mosquitto_passwd failed";
            return false;
        }
        // Started as root, the broker reads its files as the mosquitto user.
        const auto readable = QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                              QFileDevice::ReadGroup | QFileDevice::ReadOther;
        QFile::setPermissions(dir.path(), readable | QFileDevice::ExeOwner | QFileDevice::ExeGroup |
                                              QFileDevice::ExeOther);
        for (const char* f : {"passwd", "ca.crt", "server.crt", "server.key"})
            QFile::setPermissions(dir.filePath(f), readable);
        QFile config(dir.filePath("mosquitto.conf"));
        if (!config.open(QIODevice::WriteOnly)) return false;
        config.write(QString("per_listener_settings true\npersistence false\n"
                             "listener %1 127.0.0.1\nallow_anonymous true\n"
                             "listener %2 127.0.0.1\nallow_anonymous false\npassword_file %3\n"
                             "cafile %4\ncertfile %5\nkeyfile %6\n")
                         .arg(port)
                         .arg(tlsPort)
                         .arg(dir.filePath("passwd"), caFile, dir.filePath("server.crt"),
                              dir.filePath("server.key"))
                         .toUtf8());
        config.close();
        return ServerProcess::start("mosquitto", {"-c", config.fileName()}) &&
               acceptsConnections(10000);
    }
    // Stopped and started again on the same port (retained messages are not kept).
    bool restart() {
        process.kill();
        process.waitForFinished(5000);
        return ServerProcess::start("mosquitto", {"-c", dir.filePath("mosquitto.conf")}) &&
               acceptsConnections(10000);
    }
};

// Subscribes to a topic filter and keeps every message (its own network thread).
class MqttSubscriber {
public:
    struct Message {
        QString topic;
        QByteArray payload;
        bool retained;
    };
    MqttSubscriber(quint16 port, const QString& filter) : m_filter(filter.toUtf8()) {
        m_client = mosquitto_new(nullptr, true, this);
        mosquitto_connect_callback_set(m_client, [](mosquitto* m, void* self, int rc) {
            if (rc == 0)
                mosquitto_subscribe(m, nullptr,
                                    static_cast<MqttSubscriber*>(self)->m_filter.constData(), 1);
        });
        mosquitto_message_callback_set(m_client, [](mosquitto*, void* self,
                                                    const mosquitto_message* m) {
            auto* s = static_cast<MqttSubscriber*>(self);
            QMutexLocker lock(&s->m_mutex);
            s->m_messages.append({QString::fromUtf8(m->topic),
                                  QByteArray(static_cast<const char*>(m->payload), m->payloadlen),
                                  m->retain});
        });
        mosquitto_connect(m_client, "127.0.0.1", port, 30);
        mosquitto_loop_start(m_client);
    }
    ~MqttSubscriber() {
        mosquitto_disconnect(m_client);
        mosquitto_loop_stop(m_client, false);
        mosquitto_destroy(m_client);
    }
    QList<Message> messages() {
        QMutexLocker lock(&m_mutex);
        return m_messages;
    }
    void clear() {
        QMutexLocker lock(&m_mutex);
        m_messages.clear();
    }
    // The last message on `topic` (its payload), waiting for one that satisfies `accept`.
    std::optional<Message> waitFor(const QString& topic, std::function<bool(const Message&)> accept,
                                   int timeoutMs = 10000) {
        std::optional<Message> found;
        WaitFor(
            [&] {
                for (const Message& m : messages())
                    if (m.topic == topic && accept(m)) found = m;
                return found.has_value();
            },
            timeoutMs);
        return found;
    }

private:
    QByteArray m_filter;
    mosquitto* m_client = nullptr;
    QMutex m_mutex;
    QList<Message> m_messages;
};

#ifdef QUMA_AGENT_PATH
// The agent's program with a configuration of the test's.
struct AgentRun {
    QProcess process;
    QTemporaryDir dir;
    QString config;
    bool start(const QByteArray& json) {
        config = dir.filePath("agent.json");
        QFile f(config);
        if (!f.open(QIODevice::WriteOnly) || f.write(json) != json.size()) return false;
        f.close();
        process.setProcessChannelMode(QProcess::MergedChannels);
        process.start(QUMA_AGENT_PATH, {config});
        return process.waitForStarted(5000);
    }
    void rewrite(const QByteArray& json) {
        QFile f(config);
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(json);
    }
    void signal(int s) { ::kill(pid_t(process.processId()), s); }
    ~AgentRun() {
        if (process.state() != QProcess::NotRunning) {
            process.kill();
            process.waitForFinished(3000);
        }
    }
};

#endif

} // namespace quma::test
