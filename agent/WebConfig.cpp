// Reading the exporter toolkit's web configuration.
#include "agent/WebConfig.h"

#include "core/io/ReadFile.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QMutexLocker>
#include <QRegularExpression>
#include <QSslCertificate>
#include <QSslKey>
#include <crypt.h>
#include <yaml-cpp/yaml.h>

namespace quma::agent {

namespace {

struct Refusal {
    QString text;
};

QString text(const YAML::Node& n, const char* key, const QString& where) {
    const YAML::Node v = n[key];
    if (!v) return {};
    if (!v.IsScalar()) throw Refusal{QString("%1.%2: must be a text").arg(where, key)};
    return QString::fromStdString(v.as<std::string>());
}

// A file the configuration names, relative to the configuration's folder.
QString fileOf(const QString& name, const QFileInfo& config) {
    return QFileInfo(name).isAbsolute() ? name : config.dir().filePath(name);
}

bool bcryptMatches(const QByteArray& hash, const QByteArray& password) {
    crypt_data data{};
    const char* out = crypt_r(password.constData(), hash.constData(), &data);
    return out && out[0] != '*' && hash == out;
}

} // namespace

std::optional<WebConfig> ReadWebConfig(const QString& path, QString* error) {
    const QFileInfo file(path);
    const auto bytes = ReadWholeFile(path, 1 << 20, "web configuration", error);
    if (!bytes) return std::nullopt;
    try {
        YAML::Node root;
        try {
            root = YAML::Load(bytes->toStdString());
        } catch (const YAML::Exception& e) {
            throw Refusal{QString("not YAML: %1").arg(QString::fromStdString(e.msg))};
        }
        WebConfig c;
        if (root.IsNull()) return c;
        if (!root.IsMap()) throw Refusal{"must be a map"};
        for (const auto& kv : root) {
            const QString key = QString::fromStdString(kv.first.as<std::string>());
            if (key != "tls_server_config" && key != "basic_auth_users")
                throw Refusal{key + ": not read by this agent (known: tls_server_config, "
                                    "basic_auth_users)"};
        }
        if (const YAML::Node tls = root["tls_server_config"]) {
            const QString w = "tls_server_config";
            if (!tls.IsMap()) throw Refusal{w + ": must be a map"};
            for (const auto& kv : tls) {
                const QString key = QString::fromStdString(kv.first.as<std::string>());
                static const QStringList known = {"cert_file", "key_file", "client_auth_type",
                                                  "client_ca_file"};
                if (!known.contains(key))
                    throw Refusal{w + "." + key +
                                  ": not read by this agent (known: " + known.join(", ") + ")"};
            }
            c.certFile = fileOf(text(tls, "cert_file", w), file);
            c.keyFile = fileOf(text(tls, "key_file", w), file);
            if (text(tls, "cert_file", w).isEmpty() || text(tls, "key_file", w).isEmpty())
                throw Refusal{w + ": give cert_file and key_file"};
            QString why;
            const auto cert = ReadWholeFile(c.certFile, 1 << 20, "certificate", &why);
            if (!cert) throw Refusal{w + ".cert_file: " + why};
            if (QSslCertificate::fromData(*cert, QSsl::Pem).isEmpty())
                throw Refusal{w + ".cert_file: " + c.certFile + " holds no PEM certificate"};
            const auto key = ReadWholeFile(c.keyFile, 1 << 20, "key", &why);
            if (!key) throw Refusal{w + ".key_file: " + why};
            if (QSslKey(*key, QSsl::Rsa).isNull() && QSslKey(*key, QSsl::Ec).isNull())
                throw Refusal{w + ".key_file: " + c.keyFile + " holds no PEM RSA or EC key"};
            const QString auth = text(tls, "client_auth_type", w);
            if (!auth.isEmpty() && auth != "NoClientCert" && auth != "RequireAndVerifyClientCert")
                throw Refusal{w + ".client_auth_type: NoClientCert or RequireAndVerifyClientCert"};
            c.requireClientCert = auth == "RequireAndVerifyClientCert";
            if (c.requireClientCert) {
                if (text(tls, "client_ca_file", w).isEmpty())
                    throw Refusal{w + ".client_ca_file: needed to verify client certificates"};
                c.clientCaFile = fileOf(text(tls, "client_ca_file", w), file);
                if (!ReadWholeFile(c.clientCaFile, 1 << 20, "certificate", &why))
                    throw Refusal{w + ".client_ca_file: " + why};
            }
        }
        if (const YAML::Node users = root["basic_auth_users"]) {
            if (!users.IsMap()) throw Refusal{"basic_auth_users: must be a map of users to hashes"};
            static const QRegularExpression bcrypt("^\\$2[aby]\\$\\d\\d\\$[./A-Za-z0-9]{53}\\z");
            for (const auto& kv : users) {
                const QString user = QString::fromStdString(kv.first.as<std::string>());
                const QByteArray hash = QByteArray::fromStdString(kv.second.as<std::string>());
                // A hash that is not bcrypt, or that the system's crypt cannot read.
                crypt_data data{};
                const char* probe = crypt_r("", hash.constData(), &data);
                if (!bcrypt.match(QString::fromLatin1(hash)).hasMatch() || !probe ||
                    probe[0] == '*')
                    throw Refusal{"basic_auth_users." + user +
                                  ": not a bcrypt hash (make one with htpasswd -nBC 10 " + user +
                                  ")"};
                c.users[user] = hash;
            }
        }
        return c;
    } catch (const Refusal& r) {
        *error = path + ": " + r.text;
    } catch (const YAML::Exception& e) {
        *error = path + ": " + QString::fromStdString(e.msg);
    }
    return std::nullopt;
}

bool BasicAuth::check(const QString& user, const QString& password) {
    const auto it = m_users.find(user);
    if (it == m_users.end()) return false;
    const QByteArray pair =
        QCryptographicHash::hash((user + '\0' + password).toUtf8(), QCryptographicHash::Sha256);
    {
        QMutexLocker lock(&m_mutex);
        if (m_passed.contains(pair)) return true;
    }
    if (!bcryptMatches(it->second, password.toUtf8())) return false;
    QMutexLocker lock(&m_mutex);
    m_passed.insert(pair);
    return true;
}

} // namespace quma::agent
