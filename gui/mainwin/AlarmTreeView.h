// The alarm tree of the status page: the plant's alarms as a tree whose node pictures follow
// the alarm words. Only the nodes whose state changed are touched on an update.
#pragma once

#include "core/monitor/RegisterMap.h"

#include <QTreeWidget>

class AlarmTreeView : public QTreeWidget {
    Q_OBJECT
public:
    using QTreeWidget::QTreeWidget;

    // Builds the tree for a plant (its battery decides the battery branch) and shows its alarms.
    void build(const quma::RegisterImage& image, int mask1, int mask2);
    // The node pictures again, from the alarm words.
    void updateAlarms(const quma::RegisterImage& image, int mask1, int mask2);
    void removeAll();

private:
    QList<QTreeWidgetItem*> m_items;
};
