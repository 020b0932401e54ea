// Home Assistant's MQTT discovery: the retained configuration of each entity of a site, built
// from its first reading (a battery or a temperature probe the plant does not have gives no
// entity). Sensors read the site's retained state; each alarm is a binary sensor; the site is
// available while both its availability and the agent's say "online".
#pragma once

#include "agent/AgentConfig.h"
#include "agent/PlantReading.h"

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>

namespace quma::agent {

// Topic and payload of every entity; `stateTopic` and the availability topics as published.
QList<QPair<QString, QByteArray>> DiscoveryConfigs(const MqttConfig& config, const QString& site,
                                                   const PlantReading& reading,
                                                   const QString& stateTopic,
                                                   const QString& siteAvailability,
                                                   const QString& agentAvailability);

} // namespace quma::agent
