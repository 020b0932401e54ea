// A read-only server of the Network UPS Tools protocol (upsd's, port 3493): each site a device,
// so that the hosts on the plant's DC bus shut down in time by their own upsmon, and upsc and
// the NUT CGI pages read the plant. It lives in a thread of its own and reads the fleet's rows:
// a client, slow or hostile, never reaches a poller. Bounded: a line is at most MaxLineBytes, and
// at most maxClients connections are kept; a new one beyond that takes the place of the longest
// idle one that has not logged in, or is refused.
#pragma once

#include "agent/AgentConfig.h"
#include "agent/FleetState.h"

#include <QElapsedTimer>
#include <QObject>
#include <QSet>
#include <QTcpServer>
#include <map>
#include <vector>

class QTcpSocket;

namespace quma::agent {

// ups.status of a site: OL or OB, then LB, RB, CHRG or DISCHRG; FSD first once a primary set it.
QString NutStatus(const PlantReading& reading, const NutConfig& config, bool replaceBattery,
                  bool forcedShutdown);
// Every variable of a site that is up, by name; what the plant does not report is left out.
std::vector<std::pair<QString, QString>> NutVariables(const SiteRow& row, const NutConfig& config,
                                                      bool forcedShutdown);

class NutServer : public QObject {
    Q_OBJECT
public:
    static constexpr int MaxLineBytes = 512;

    NutServer(const NutConfig& config, const FleetState& state, QObject* parent = nullptr);
    ~NutServer() override;

    // In the server's thread; false with the reason when the address cannot be served.
    bool start(QString* error);
    quint16 port() const { return m_server.serverPort(); }
    // Connections open now, and those refused or closed for a bad line since the start.
    int clients() const { return int(m_clients.size()); }

private:
    struct Client {
        QByteArray buffer;
        QString username, password;
        QString loggedInto; // the device LOGIN named
        bool primary = false;
        QElapsedTimer idle;
    };
    void accept();
    void read(QTcpSocket* socket);
    // One command line; the reply's lines, or nothing when the connection is to close.
    QByteArrayList answer(Client& client, const QByteArray& line, bool* close);
    QByteArrayList list(const QStringList& args);
    QByteArrayList get(const QStringList& args);
    bool forced(const QString& site, const std::optional<SiteRow>& row);
    void drop(QTcpSocket* socket);
    int logins(const QString& site) const;

    const NutConfig m_config;
    const FleetState& m_state;
    QTcpServer m_server;
    std::map<QTcpSocket*, Client> m_clients;
    QSet<QString> m_forcedShutdown; // sites a primary set FSD on, until their mains are back
};

} // namespace quma::agent
