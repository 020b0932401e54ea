// Must not compile: the module-qualified spelling is stopped too.
#include <QtWidgets/QLabel>
