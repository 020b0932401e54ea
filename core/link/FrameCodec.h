// Wire frames of the controller protocol: LRC, colon/hex frames, TCP frames, and the text
// utilities.
#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <stdexcept>

namespace quma {

// Raised when a field that must be hexadecimal is not; the frame being processed is abandoned.
struct ConversionError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

enum class LinkKind : std::uint8_t { Serial = 0, Tcp = 1 };

// Function codes of the TCP link.
namespace Fn {
constexpr std::uint8_t ReadRegisters = 0x04;
constexpr std::uint8_t WriteRegister = 0x06;
constexpr std::uint8_t ReadNetId = 0x41;
constexpr std::uint8_t WriteNetId = 0x42;
constexpr std::uint8_t AlarmCount = 0x43;
constexpr std::uint8_t AlarmRecord = 0x44;
constexpr std::uint8_t AlarmClear = 0x45;
constexpr std::uint8_t EventCount = 0x46;
constexpr std::uint8_t EventRecord = 0x47;
constexpr std::uint8_t EventClear = 0x48;
} // namespace Fn

// Text utilities on byte strings.
QByteArray BytesToHex(const QByteArray& bytes);
QByteArray BytesToHexN(const QByteArray& bytes, int n);
QString PadZero(qint64 value, int width);
QByteArray CutLeft(QByteArray& text, int n);
// Parses hex text; an empty text is 0. Throws ConversionError on a non-hex character.
qint64 HexToInt(const QByteArray& text);
QByteArray IntToHexN(qint64 value, int n);
QByteArray Int64ToHexN(qint64 value, int n);
// Hex text to bytes; throws ConversionError on an odd length or a non-hex character.
QByteArray HexToBytes(const QByteArray& hex);

// A trace line safe for a terminal: printable ASCII and whole UTF-8 characters stay as they are;
// every other byte (controls, DEL, C1 controls, broken UTF-8) becomes \xNN. The CR LF that ends a
// serial frame stays as it is.
QByteArray TraceText(const QByteArray& line);

// Two's complement of the 8-bit sum of the bytes the body encodes (an odd last character is not
// summed).
std::uint8_t Lrc(const QByteArray& body);
// ":" + body + LRC + CR LF.
QByteArray AsciiFrame(const QByteArray& body);
// Seven-byte header (transaction id, protocol 0, length, unit 1) + function + data.
QByteArray TcpFrame(std::uint16_t transactionId, std::uint8_t function, const QByteArray& data);

// Transaction counter: advanced before every request; 65535 wraps to 0.
class TransactionCounter {
public:
    std::uint16_t advance() {
        m_value = (m_value == 0xFFFF) ? 0 : static_cast<std::uint16_t>(m_value + 1);
        return m_value;
    }
    std::uint16_t value() const { return m_value; }
    void set(std::uint16_t v) { m_value = v; }

private:
    std::uint16_t m_value = 0;
};

struct AsciiReply {
    QByteArray text;     // colon, body and LRC
    QByteArray address;  // two characters, "01"
    QByteArray function; // two characters, "04", "B2", ...
};

// Checks an accumulated serial frame (":" ... CR LF). A frame is valid when its body is hex text
// whose bytes plus the received LRC sum to 0 mod 256; invalid frames are never decoded.
bool ValidateAsciiFrame(const QByteArray& frame, AsciiReply* out);

} // namespace quma
