// The device's owner, group and mode read from the device itself; the user's groups from the
// process (a group joined since login is not in it yet).
#include "core/link/SerialAccess.h"

#include <QCoreApplication>
#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace quma {

namespace {

QString groupName(gid_t gid) {
    const group* g = ::getgrgid(gid);
    return g ? QString::fromLocal8Bit(g->gr_name) : QString::number(gid);
}

bool processHasGroup(gid_t gid) {
    if (::getegid() == gid) return true;
    const int n = ::getgroups(0, nullptr);
    std::vector<gid_t> groups(std::size_t(std::max(n, 0)));
    if (n > 0 && ::getgroups(n, groups.data()) == n)
        for (gid_t g : groups)
            if (g == gid) return true;
    return false;
}

// The user's account lists the group (joined, but not in this login session yet).
bool accountHasGroup(gid_t gid) {
    const group* g = ::getgrgid(gid);
    const char* login = ::getlogin();
    const QByteArray user = qEnvironmentVariableIsSet("USER") ? qgetenv("USER")
                            : login                           ? QByteArray(login)
                                                              : QByteArray();
    if (!g || user.isEmpty()) return false;
    for (char** m = g->gr_mem; m && *m; ++m)
        if (user == *m) return true;
    return false;
}

} // namespace

QString SerialOpenAdvice(const QString& path, QSerialPort::SerialPortError error,
                         const QString& systemText) {
    struct stat st {};
    const QByteArray local = path.toLocal8Bit();
    const bool exists = ::stat(local.constData(), &st) == 0;
    if (error == QSerialPort::DeviceNotFoundError || !exists)
        return QCoreApplication::translate(
                   "SerialAccess",
                   "%1 does not exist: is the adapter plugged in? (ls /dev/serial/by-id)")
            .arg(path);
    if (error == QSerialPort::OpenError)
        return QCoreApplication::translate("SerialAccess",
                                           "%1 is in use by another program: close it there first")
            .arg(path);
    if (error != QSerialPort::PermissionError) return systemText;
    const QString group = groupName(st.st_gid);
    const bool groupMayUse = (st.st_mode & S_IRGRP) && (st.st_mode & S_IWGRP);
    if (!groupMayUse)
        return QCoreApplication::translate(
                   "SerialAccess",
                   "%1 may be opened by its owner only (mode %2): ask the administrator")
            .arg(path)
            .arg(st.st_mode & 07777, 4, 8, QChar('0'));
    if (processHasGroup(st.st_gid)) return systemText;
    if (accountHasGroup(st.st_gid))
        return QCoreApplication::translate(
                   "SerialAccess",
                   "%1 belongs to group %2, which you joined after logging in: log out and in "
                   "again")
            .arg(path, group);
    return QCoreApplication::translate(
               "SerialAccess",
               "%1 belongs to group %2, which you are not in: sudo usermod -aG %2 $USER, then log "
               "in again")
        .arg(path, group);
}

} // namespace quma
