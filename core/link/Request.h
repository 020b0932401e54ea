// What the console asks the controller, and what comes back: values built whole by the caller,
// framed by the link's codec (LinkCodec) and handed on as arguments.
#pragma once

#include "core/link/FrameCodec.h"

#include <QByteArray>
#include <QMetaType>
#include <cstdint>

namespace quma {

enum class TransferKind : std::uint8_t { None = 0, Alarm = 1, Event = 2 };

// One register and the value to write into it.
struct RegWrite {
    int reg = 0;
    int value = 0;
};

// One request. Build it with the named constructors; the codec of the link frames it.
struct Request {
    enum class Kind : std::uint8_t {
        ReadRegisters,        // first register, count
        ReadNetworkIdentity,  //
        WriteRegister,        // register, value
        WriteNetworkIdentity, // the identity block
        LogCount,             // the record count of a log
        LogRecord,            // one record of a log, by its page index
        LogClear,             // clears a log
    };
    Kind kind = Kind::ReadRegisters;
    TransferKind log = TransferKind::None;
    int first = 0; // register, page index
    int value = 0; // register count, value written
    QByteArray block;

    static Request readRegisters(int first, int count) {
        return {Kind::ReadRegisters, TransferKind::None, first, count, {}};
    }
    static Request readNetworkIdentity() { return {Kind::ReadNetworkIdentity, {}, 0, 0, {}}; }
    static Request writeRegister(int reg, int value) {
        return {Kind::WriteRegister, TransferKind::None, reg, value, {}};
    }
    static Request writeNetworkIdentity(const QByteArray& block) {
        return {Kind::WriteNetworkIdentity, TransferKind::None, 0, 0, block};
    }
    static Request logCount(TransferKind log) { return {Kind::LogCount, log, 0, 0, {}}; }
    static Request logRecord(TransferKind log, int page) {
        return {Kind::LogRecord, log, page, 0, {}};
    }
    static Request logClear(TransferKind log) { return {Kind::LogClear, log, 0, 0, {}}; }
};

// One valid reply, whichever link it came by: its function (the TCP function codes name both
// links' replies) and its payload in the link's own form (serial: the whole colon/hex frame
// without CR LF; TCP: the bytes after the function code). ReplyDecoding reads the payload.
struct Reply {
    LinkKind link = LinkKind::Serial;
    std::uint8_t function = 0;
    QByteArray payload;
};

} // namespace quma

Q_DECLARE_METATYPE(quma::Reply)
