// How a message to the user is shown: an information box, a plain box or a warning.
#pragma once

#include <QMetaType>

namespace quma {

enum class MessageKind { Information, Plain, Warning };

} // namespace quma

Q_DECLARE_METATYPE(quma::MessageKind)
