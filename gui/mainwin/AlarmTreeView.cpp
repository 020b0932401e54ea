// The alarm tree of the status page.
#include "gui/mainwin/AlarmTreeView.h"

#include "core/monitor/AlarmTree.h"

#include <QPainter>

using namespace quma;

namespace {
// Node pictures of the alarm tree, drawn at twice the size for high-density screens.
QIcon nodeIcon(bool alarm) {
    QPixmap pm(32, 32);
    pm.setDevicePixelRatio(2);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor c = alarm ? QColor(0xD3, 0x2F, 0x2F) : QColor(0x2E, 0x9D, 0x3A);
    p.setBrush(c);
    p.setPen(QPen(c.darker(150), 1));
    if (alarm) {
        QPolygonF tri({QPointF(8, 1.5), QPointF(14.5, 14), QPointF(1.5, 14)});
        p.drawPolygon(tri);
        p.setPen(QPen(Qt::white, 1.6));
        p.drawLine(QPointF(8, 5.5), QPointF(8, 9.5));
        p.drawPoint(QPointF(8, 12));
    } else {
        p.drawEllipse(QRectF(2, 2, 12, 12));
    }
    return QIcon(pm);
}
} // namespace

void AlarmTreeView::build(const RegisterImage& image, int mask1, int mask2) {
    clear();
    m_items.clear();
    QTreeWidgetItem* root = nullptr;
    QTreeWidgetItem* group = nullptr;
    const QColor colours[3] = {QColor(0x80, 0, 0), QColor(0, 0, 0xFF), Qt::black};
    for (const AlarmNode& n : AlarmTreeNodes(image, mask1, mask2)) {
        QTreeWidgetItem* it = nullptr;
        if (n.level == 0)
            it = root = new QTreeWidgetItem(this, {n.text});
        else if (n.level == 1)
            it = group = new QTreeWidgetItem(root, {n.text});
        else
            it = new QTreeWidgetItem(group, {n.text});
        it->setForeground(0, colours[n.level]);
        it->setIcon(0, nodeIcon(n.alarm));
        it->setData(0, Qt::UserRole, n.alarm);
        m_items << it;
    }
    expandAll();
}

void AlarmTreeView::updateAlarms(const RegisterImage& image, int mask1, int mask2) {
    const QList<AlarmNode> nodes = AlarmTreeNodes(image, mask1, mask2);
    // Only the nodes whose state changed are touched (each change repaints its row).
    static const QIcon icons[2] = {nodeIcon(false), nodeIcon(true)};
    for (int i = 0; i < nodes.size() && i < m_items.size(); ++i) {
        if (m_items[i]->data(0, Qt::UserRole).toBool() == nodes[i].alarm) continue;
        m_items[i]->setIcon(0, icons[nodes[i].alarm]);
        m_items[i]->setData(0, Qt::UserRole, nodes[i].alarm);
    }
}

void AlarmTreeView::removeAll() {
    clear();
    m_items.clear();
}
