// What a reply's payload means, read the way its link writes it: one table per link, chosen
// once from the link kind. The engine's dispatcher decodes every reply through it.
#pragma once

#include "core/link/Request.h"
#include "core/monitor/RegisterMap.h"

#include <optional>

namespace quma {

// The poll every link sends: registers 1..131.
constexpr int kPollFirstRegister = 1;

struct ReplyDecoding {
    // The register image of a poll reply of the expected size; nothing otherwise.
    std::optional<RegisterImage> (*poll)(const QByteArray& payload);
    std::optional<NetworkIdentity> (*networkIdentity)(const QByteArray& payload);
    std::optional<std::pair<int, int>> (*count)(const QByteArray& payload);
    // Which log a clear reply confirms (None: it confirms nothing), and the text that says so.
    TransferKind (*cleared)(std::uint8_t function, const QByteArray& payload);
    const char* eventClearedText;

    static const ReplyDecoding& of(LinkKind link);
};

} // namespace quma
