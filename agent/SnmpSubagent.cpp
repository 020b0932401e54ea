// net-snmp's agent library driven by a Qt event loop.
#include "agent/SnmpSubagent.h"

#include <QDateTime>
#include <QSocketNotifier>
#include <algorithm>
#include <atomic>

// net-snmp's headers last: they define macros of their own.
// clang-format off
#include <net-snmp/net-snmp-config.h>
#include <net-snmp/net-snmp-includes.h>
#include <net-snmp/agent/net-snmp-agent-includes.h>
#include <net-snmp/library/large_fd_set.h>
// clang-format on

static_assert(std::is_same_v<oid, unsigned long>, "SnmpOid holds net-snmp's sub-identifiers");

namespace quma::agent {

namespace {

// The library's state is the process's: a second subagent is refused.
std::atomic<bool> g_libraryInUse{false};

const char* const kAppName = "quma-agent";

u_char asnType(SnmpSyntax s) {
    switch (s) {
    case SnmpSyntax::Integer:
        return ASN_INTEGER;
    case SnmpSyntax::Gauge:
        return ASN_GAUGE;
    case SnmpSyntax::Unsigned:
        return ASN_UNSIGNED;
    case SnmpSyntax::ObjectId:
        return ASN_OBJECT_ID;
    case SnmpSyntax::OctetString:
        break;
    }
    return ASN_OCTET_STR;
}

void setValue(netsnmp_variable_list* vb, const SnmpValue& v) {
    if (v.syntax == SnmpSyntax::OctetString)
        snmp_set_var_typed_value(vb, ASN_OCTET_STR,
                                 reinterpret_cast<const u_char*>(v.octets.constData()),
                                 size_t(v.octets.size()));
    else
        snmp_set_var_typed_integer(vb, asnType(v.syntax), long(v.number));
}

bool oidLess(const SnmpOid& a, const oid* b, size_t bLen) {
    return std::lexicographical_compare(a.begin(), a.end(), b, b + bLen);
}

bool oidEqual(const SnmpOid& a, const oid* b, size_t bLen) {
    return a.size() == bLen && std::equal(a.begin(), a.end(), b);
}

} // namespace

// What net-snmp calls back.
struct SnmpHandlerAccess {
    // A log line of net-snmp's, each said once in a row (a master that is away is tried every
    // few seconds, and says so each time).
    static int log(int, int, void* serverArg, void* clientArg) {
        auto* self = static_cast<SnmpSubagent*>(clientArg);
        const QString line =
            QString::fromLocal8Bit(static_cast<snmp_log_message*>(serverArg)->msg).trimmed();
        if (line.isEmpty() || line == self->m_lastLog) return 0;
        self->m_lastLog = line;
        emit self->message(line);
        return 0;
    }

    // Every varbind under the root.
    static int handle(netsnmp_mib_handler* handler, netsnmp_handler_registration*,
                      netsnmp_agent_request_info* info, netsnmp_request_info* requests) {
        auto* self = static_cast<SnmpSubagent*>(handler->myvoid);
        const std::vector<SnmpValue>& table = self->table();
        ++self->m_requests;
        for (netsnmp_request_info* r = requests; r; r = r->next) {
            if (r->processed) continue;
            netsnmp_variable_list* vb = r->requestvb;
            switch (info->mode) {
            case MODE_GET: {
                const auto it =
                    std::lower_bound(table.begin(), table.end(), vb,
                                     [](const SnmpValue& v, netsnmp_variable_list* want) {
                                         return oidLess(v.oid, want->name, want->name_length);
                                     });
                if (it != table.end() && oidEqual(it->oid, vb->name, vb->name_length))
                    setValue(vb, *it);
                else
                    netsnmp_set_request_error(info, r, SNMP_NOSUCHINSTANCE);
                break;
            }
            case MODE_GETNEXT: {
                const auto it = std::upper_bound(
                    table.begin(), table.end(), vb,
                    [](netsnmp_variable_list* want, const SnmpValue& v) {
                        return std::lexicographical_compare(
                            want->name, want->name + want->name_length, v.oid.begin(), v.oid.end());
                    });
                // Past the last instance: left unset, the master goes on to the next subtree.
                if (it == table.end()) break;
                snmp_set_var_objid(vb, it->oid.data(), it->oid.size());
                setValue(vb, *it);
                break;
            }
            default:
                netsnmp_set_request_error(info, r, SNMP_ERR_NOTWRITABLE);
            }
        }
        return SNMP_ERR_NOERROR;
    }
};

SnmpSubagent::SnmpSubagent(const SnmpConfig& config, const FleetState& state, QObject* parent)
    : QObject(parent), m_config(config), m_state(state), m_root(ParseOid(config.rootOid)),
      m_timeout(this), m_heartbeat(this) {
    m_timeout.setSingleShot(true);
    connect(&m_timeout, &QTimer::timeout, this, [this] {
        snmp_timeout();
        run_alarms();
        netsnmp_check_outstanding_agent_requests();
        pump();
    });
    connect(&m_heartbeat, &QTimer::timeout, this, &SnmpSubagent::sendHeartbeat);
}

SnmpSubagent::~SnmpSubagent() {
    stop();
}

bool SnmpSubagent::start(QString* error) {
    if (m_root.empty()) {
        *error = "snmp: root_oid is not an OID";
        return false;
    }
    if (g_libraryInUse.exchange(true)) {
        *error = "snmp: one subagent per process";
        return false;
    }
    m_started = true;
    snmp_register_callback(SNMP_CALLBACK_LIBRARY, SNMP_CALLBACK_LOGGING, SnmpHandlerAccess::log,
                           this);
    netsnmp_register_loghandler(NETSNMP_LOGHANDLER_CALLBACK, LOG_INFO);
    netsnmp_ds_set_boolean(NETSNMP_DS_APPLICATION_ID, NETSNMP_DS_AGENT_ROLE, 1);
    netsnmp_ds_set_string(NETSNMP_DS_APPLICATION_ID, NETSNMP_DS_AGENT_X_SOCKET,
                          m_config.agentxSocket.toLocal8Bit().constData());
    // Timers through the event loop, not SIGALRM; no files of net-snmp's read or written.
    netsnmp_ds_set_boolean(NETSNMP_DS_LIBRARY_ID, NETSNMP_DS_LIB_ALARM_DONT_USE_SIG, 1);
    netsnmp_ds_set_boolean(NETSNMP_DS_LIBRARY_ID, NETSNMP_DS_LIB_DONT_PERSIST_STATE, 1);
    netsnmp_ds_set_boolean(NETSNMP_DS_LIBRARY_ID, NETSNMP_DS_LIB_DISABLE_PERSISTENT_LOAD, 1);
    netsnmp_ds_set_boolean(NETSNMP_DS_LIBRARY_ID, NETSNMP_DS_LIB_DISABLE_PERSISTENT_SAVE, 1);
    netsnmp_ds_set_boolean(NETSNMP_DS_LIBRARY_ID, NETSNMP_DS_LIB_DISABLE_CONFIG_LOAD, 1);
    // The subagent serves numbers: no MIB text read (Debian ships few, and says so at length).
    qputenv("MIBS", "");
    init_agent(kAppName);
    netsnmp_handler_registration* reg = netsnmp_create_handler_registration(
        "quma-plant", SnmpHandlerAccess::handle, m_root.data(), m_root.size(), HANDLER_CAN_RONLY);
    reg->handler->myvoid = this;
    if (netsnmp_register_handler(reg) != MIB_REGISTERED_OK) {
        *error = "snmp: the subtree " + m_config.rootOid + " could not be registered";
        return false;
    }
    init_snmp(kAppName);
    // After the library's own defaults (15 s): a restarted snmpd is found again at once.
    netsnmp_ds_set_int(NETSNMP_DS_APPLICATION_ID, NETSNMP_DS_AGENT_AGENTX_PING_INTERVAL,
                       ReconnectSeconds);
    if (m_config.heartbeatSeconds > 0) m_heartbeat.start(m_config.heartbeatSeconds * 1000);
    pump();
    return true;
}

void SnmpSubagent::stop() {
    if (!m_started) return;
    m_started = false;
    m_timeout.stop();
    m_heartbeat.stop();
    m_notifiers.clear();
    // The library frees what its callbacks were given when it shuts down: not this object.
    snmp_unregister_callback(SNMP_CALLBACK_LIBRARY, SNMP_CALLBACK_LOGGING, SnmpHandlerAccess::log,
                             this, 1);
    snmp_shutdown(kAppName);
    g_libraryInUse = false;
}

const std::vector<SnmpValue>& SnmpSubagent::table() {
    const quint64 generation = m_state.generation();
    const quint64 shape = m_state.shape();
    if (generation != m_tableGeneration &&
        (shape != m_tableShape || !m_tableAge.isValid() || m_tableAge.elapsed() >= MaxValueAgeMs)) {
        m_table = BuildSnmpTable(m_root, m_state.snapshot(), QDateTime::currentMSecsSinceEpoch(),
                                 m_config.heartbeatSeconds);
        m_tableGeneration = generation;
        m_tableShape = shape;
        m_tableAge.start();
    }
    return m_table;
}

void SnmpSubagent::pump() {
    if (!m_started) return;
    int fdCount = 0;
    int block = 1;
    struct timeval wait = {0, 0};
    netsnmp_large_fd_set fds;
    netsnmp_large_fd_set_init(&fds, FD_SETSIZE);
    snmp_select_info2(&fdCount, &fds, &wait, &block);
    std::vector<int> wanted;
    for (int fd = 0; fd < fdCount; ++fd)
        if (NETSNMP_LARGE_FD_ISSET(fd, &fds)) wanted.push_back(fd);
    netsnmp_large_fd_set_cleanup(&fds);
    // After most exchanges the descriptors are the same: nothing to change.
    const bool same = wanted.size() == m_notifiers.size() &&
                      std::equal(wanted.begin(), wanted.end(), m_notifiers.begin(),
                                 [](int fd, const auto& n) { return fd == n.first; });
    if (!same) {
        std::map<int, std::unique_ptr<QSocketNotifier>> kept;
        for (int fd : wanted) {
            auto it = m_notifiers.find(fd);
            if (it != m_notifiers.end()) {
                kept[fd] = std::move(it->second);
                m_notifiers.erase(it);
                continue;
            }
            auto n = std::make_unique<QSocketNotifier>(fd, QSocketNotifier::Read);
            connect(n.get(), &QSocketNotifier::activated, this, [this, fd] { readSocket(fd); });
            kept[fd] = std::move(n);
        }
        // Descriptors net-snmp closed: their notifiers may be the ones signalling now.
        for (auto& [fd, n] : m_notifiers) {
            n->setEnabled(false);
            n.release()->deleteLater();
        }
        m_notifiers = std::move(kept);
    }
    if (block) {
        m_timeout.stop();
        return;
    }
    // The library's next timer (its AgentX pings, a reconnection); a timer already due about
    // then is left as it is.
    const int ms = int(std::min<long>(wait.tv_sec * 1000 + (wait.tv_usec + 999) / 1000, 60000));
    if (!m_timeout.isActive() || std::abs(m_timeout.remainingTime() - ms) > 10) m_timeout.start(ms);
}

void SnmpSubagent::readSocket(int fd) {
    if (!m_started) return;
    netsnmp_large_fd_set set;
    netsnmp_large_fd_set_init(&set, FD_SETSIZE);
    NETSNMP_LARGE_FD_SET(fd, &set);
    snmp_read2(&set);
    netsnmp_large_fd_set_cleanup(&set);
    run_alarms();
    netsnmp_check_outstanding_agent_requests();
    pump();
}

namespace {

void addVar(netsnmp_variable_list** vars, const SnmpOid& at, const SnmpValue& v) {
    if (v.syntax == SnmpSyntax::OctetString)
        snmp_varlist_add_variable(vars, at.data(), at.size(), ASN_OCTET_STR,
                                  reinterpret_cast<const u_char*>(v.octets.constData()),
                                  size_t(v.octets.size()));
    else {
        const long number = long(v.number);
        snmp_varlist_add_variable(vars, at.data(), at.size(), asnType(v.syntax),
                                  reinterpret_cast<const u_char*>(&number), sizeof number);
    }
}

class Notification {
public:
    Notification(const SnmpOid& root, unsigned long which) : m_root(root) {
        static const oid trapOid[] = {1, 3, 6, 1, 6, 3, 1, 1, 4, 1, 0};
        SnmpOid id = root;
        id.insert(id.end(), {2, 0, which});
        snmp_varlist_add_variable(&m_vars, trapOid, OID_LENGTH(trapOid), ASN_OBJECT_ID,
                                  reinterpret_cast<const u_char*>(id.data()),
                                  id.size() * sizeof(oid));
    }
    ~Notification() { snmp_free_varbind(m_vars); }
    Notification& add(std::initializer_list<unsigned long> place, SnmpSyntax syntax, qint64 number,
                      const QByteArray& octets = {}) {
        SnmpOid at = m_root;
        at.insert(at.end(), place);
        SnmpValue v;
        v.syntax = syntax;
        v.number = number;
        v.octets = octets;
        addVar(&m_vars, at, v);
        return *this;
    }
    void send() { send_v2trap(m_vars); }

private:
    const SnmpOid& m_root;
    netsnmp_variable_list* m_vars = nullptr;
};

} // namespace

void SnmpSubagent::send(const FleetEvent& n) {
    if (!m_started || n.kind == FleetEvent::Kind::TestEnded) return;
    using namespace Mib;
    using Sy = SnmpSyntax;
    const unsigned long kind[] = {AlarmRaised, AlarmCleared, SiteDown, SiteUp};
    Notification trap(m_root, kind[int(n.kind)]);
    trap.add({1, SiteTable, 1, SiteName, n.siteIndex}, Sy::OctetString, 0, n.site.toUtf8());
    if (n.kind == FleetEvent::Kind::Raised || n.kind == FleetEvent::Kind::Cleared) {
        const unsigned long seq = n.alarm.sequence;
        trap.add({1, AlarmTable, 1, AlarmName, n.siteIndex, seq}, Sy::OctetString, 0,
                 n.alarm.name.toUtf8())
            .add({1, AlarmTable, 1, AlarmGroupColumn, n.siteIndex, seq}, Sy::Integer,
                 int(n.alarm.group))
            .add({1, AlarmTable, 1, AlarmSeverity, n.siteIndex, seq}, Sy::Integer,
                 int(n.alarm.severity));
    } else {
        trap.add({1, SiteTable, 1, SiteStatus, n.siteIndex}, Sy::Integer,
                 n.kind == FleetEvent::Kind::SiteUp ? 1 : 2);
    }
    trap.add({1, Notify, NotifyText, 0}, Sy::OctetString, 0, n.text.toUtf8())
        .add({1, Notify, NotifyTime, 0}, Sy::OctetString, 0, DateAndTime(n.timeMs))
        .add({1, Notify, NotifySequence, 0}, Sy::Unsigned, n.sequence)
        .send();
}

void SnmpSubagent::sendHeartbeat() {
    if (!m_started) return;
    using namespace Mib;
    using Sy = SnmpSyntax;
    const FleetSnapshot s = m_state.snapshot();
    const auto up =
        std::count_if(s.sites.begin(), s.sites.end(), [](const SiteRow& r) { return r.up; });
    Notification(m_root, Heartbeat)
        .add({1, Agent, LastSequence, 0}, Sy::Unsigned, m_state.lastSequence())
        .add({1, Agent, SitesUp, 0}, Sy::Gauge, up)
        .add({1, Notify, NotifyTime, 0}, Sy::OctetString, 0,
             DateAndTime(QDateTime::currentMSecsSinceEpoch()))
        .send();
}

} // namespace quma::agent
