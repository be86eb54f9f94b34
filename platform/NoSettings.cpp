#include "platform/NoSettings.h"

#include <QSettings>
#include <QString>

namespace platform {

void KeepNoToolkitSettings() {
    // A folder below a character device can never exist, so no settings file is found there or made.
    const QString nowhere = QStringLiteral("/dev/null");
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, nowhere);
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, nowhere);
}

} // namespace platform
