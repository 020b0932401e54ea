// The /metrics endpoint's web configuration, in the Prometheus exporter toolkit's format (YAML):
//   tls_server_config: { cert_file: ..., key_file: ..., client_auth_type: ..., client_ca_file: ...
//   } basic_auth_users: { alice: <bcrypt hash> }
// Read whole and checked before anything is served: a file that cannot be read, a certificate
// or key that does not load, a hash that is not bcrypt are refusals naming the field.
#pragma once

#include <QByteArray>
#include <QMutex>
#include <QSet>
#include <QString>
#include <map>
#include <optional>

namespace quma::agent {

struct WebConfig {
    QString certFile, keyFile; // both or neither: TLS
    QString clientCaFile;      // with RequireAndVerifyClientCert
    bool requireClientCert = false;
    std::map<QString, QByteArray> users; // name -> bcrypt hash
    bool tls() const { return !certFile.isEmpty(); }
};

std::optional<WebConfig> ReadWebConfig(const QString& path, QString* error);

// Checks basic-auth credentials against the users' bcrypt hashes; a pair that passed once is
// remembered (bcrypt takes tens of milliseconds, and Prometheus sends the same pair at every
// scrape). Called from the endpoint's threads.
class BasicAuth {
public:
    explicit BasicAuth(std::map<QString, QByteArray> users) : m_users(std::move(users)) {}
    bool check(const QString& user, const QString& password);

private:
    const std::map<QString, QByteArray> m_users;
    QMutex m_mutex;
    QSet<QByteArray> m_passed; // digests of pairs that passed
};

} // namespace quma::agent
