// The data rows that run a test once over each link.
#pragma once

#include "core/link/FrameCodec.h"

#include <QTest>

namespace quma::test {

inline void AddLinkRows() {
    QTest::addColumn<int>("link");
    QTest::newRow("serial") << int(LinkKind::Serial);
    QTest::newRow("tcp") << int(LinkKind::Tcp);
}

} // namespace quma::test
