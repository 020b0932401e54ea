// The engine's command kind selector RectMode: what the request clock sends on its next tick
// and which replies are taken (polls only in Poll, pages only while transferring).
#pragma once

#include <cstdint>

namespace quma {

namespace RectMode {
constexpr std::uint8_t Poll = 0;
constexpr std::uint8_t NetRead = 2;
constexpr std::uint8_t HistoryPaging = 10;
constexpr std::uint8_t EventPaging = 11;
constexpr std::uint8_t TransferWait = 18;
constexpr std::uint8_t Setting = 20;
constexpr std::uint8_t NetWrite = 21;
constexpr std::uint8_t LogTransfer = 22;
constexpr std::uint8_t LogClear = 23;
} // namespace RectMode

} // namespace quma
