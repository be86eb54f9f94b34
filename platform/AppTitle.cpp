#include "platform/AppTitle.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QStringList>

namespace platform {

QString ApplicationTitleFrom(const QString& executablePath) {
    QString path = executablePath;
    path.replace(u'\\', u'/');
    QString name = path.mid(path.lastIndexOf(u'/') + 1);
    name.truncate(name.indexOf(u'.') < 0 ? name.size() : name.indexOf(u'.'));
    if (name.isEmpty()) {
        return name;
    }
    return name.left(1) + name.mid(1).toLower();
}

QString ApplicationTitle() {
    QString path;
    if (QCoreApplication::instance() != nullptr) {
        path = QCoreApplication::applicationFilePath();
        if (path.isEmpty() && !QCoreApplication::arguments().isEmpty()) {
            path = QCoreApplication::arguments().constFirst();
        }
    }
    return ApplicationTitleFrom(path);
}

} // namespace platform
