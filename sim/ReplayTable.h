// Replaying a recorded session: the recorded controller's reply to each request it was sent.
// A request answered several times (every poll, a page asked twice) steps through its replies
// in time order and then holds the last one (or starts again, looping).
#pragma once

#include "core/link/FrameEvent.h"

#include <QHash>
#include <QList>
#include <optional>

namespace quma::sim {

class ReplayTable {
public:
    ReplayTable(const QList<FrameEvent>& events, bool loop);

    // Serial: request bytes (address, function, data) to reply bytes.
    std::optional<QByteArray> serial(const QByteArray& request);
    // TCP: function and data to the reply data after the function code (the transaction id is
    // the request's own).
    std::optional<QByteArray> tcp(quint8 function, const QByteArray& data);
    // Request and reply pairs found in the recording.
    int pairs() const { return m_pairs; }

private:
    struct Replies {
        QList<QByteArray> replies;
        int next = 0;
    };
    std::optional<QByteArray> take(const QByteArray& key);

    QHash<QByteArray, Replies> m_table;
    bool m_loop;
    int m_pairs = 0;
};

} // namespace quma::sim
