// The alarm summary tree: groups and leaves with their alarm conditions from alarm words 1 and 2.
#include "core/monitor/AlarmTree.h"

#include <QCoreApplication>

namespace quma {

QList<AlarmNode> AlarmTreeNodes(const RegisterImage& img, int mask1, int mask2) {
    const int w1 = img[Reg::Alarm1] & mask1;
    const int w2 = img[Reg::Alarm2] & mask2;
    const bool battery = img[Reg::BattInstalled] == 1;
    QList<AlarmNode> nodes;
    nodes.append({0, QCoreApplication::translate("Alarm", "Alarm그룹"), w1 != 0 || w2 != 0});
    nodes.append({1, QCoreApplication::translate("Alarm", "교류입력"), (w1 & 0x0001) != 0});
    nodes.append({2, QCoreApplication::translate("Alarm", "AC 경보"), (w1 & 0x0001) != 0});
    nodes.append({1, QCoreApplication::translate("Alarm", "직류출력"), (w1 & 0x0006) != 0});
    nodes.append({2, QCoreApplication::translate("Alarm", "DC 고전압"), (w1 & 0x0002) != 0});
    nodes.append({2, QCoreApplication::translate("Alarm", "DC 저전압"), (w1 & 0x0004) != 0});
    nodes.append({2, QCoreApplication::translate("Alarm", "DC 과전류"), (w1 & 0x0020) != 0});
    nodes.append({1, QCoreApplication::translate("Alarm", "정류모듈"),
                  (w1 & 0x0100) != 0 || (w2 & 0x0008) != 0});
    nodes.append({2, QCoreApplication::translate("Alarm", "모듈 경보"), (w1 & 0x0100) != 0});
    nodes.append({2, QCoreApplication::translate("Alarm", "모듈 고온"), (w2 & 0x0008) != 0});
    if (battery) {
        nodes.append({1, QCoreApplication::translate("Alarm", "축전지"), (w2 & 0x0062) != 0});
        nodes.append(
            {2, QCoreApplication::translate("Alarm", "축전지 저전압"), (w2 & 0x0002) != 0});
        nodes.append({2, QCoreApplication::translate("Alarm", "축전지 경보"), (w1 & 0x0040) != 0});
        nodes.append({2, QCoreApplication::translate("Alarm", "축전지 셀"), (w2 & 0x0040) != 0});
    }
    return nodes;
}

} // namespace quma
