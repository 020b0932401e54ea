// The alarm summary tree: groups and leaves with their alarm conditions from alarm words 1 and 2.
#pragma once

#include "core/monitor/RegisterMap.h"

#include <QList>
#include <QString>

namespace quma {

struct AlarmNode {
    int level = 0; // 0 root, 1 group, 2 leaf
    QString text;
    bool alarm = false;
};

// The nodes in display order (root, then each group followed by its leaves). The battery group
// and its leaves are present only when register 66 is 1. Masks apply to both alarm words.
QList<AlarmNode> AlarmTreeNodes(const RegisterImage& img, int mask1 = 0xFFFF, int mask2 = 0xFFFF);

} // namespace quma
