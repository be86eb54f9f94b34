#include "platform/Files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>

#include <sys/stat.h>

namespace platform {

bool FileExists(const QString& path) {
    if (path.isEmpty()) {
        return false;
    }
    struct stat info {};
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 && S_ISREG(info.st_mode);
}

namespace {

QString Folded(const QString& name) {
    return name.normalized(QString::NormalizationForm_C).toCaseFolded();
}

// The entry of `dir` whose name equals `name` but for letter case; directories only when `wantDir`.
QString FindEntry(const QString& dir, const QString& name, bool wantDir) {
    const QDir::Filters filters =
        (wantDir ? QDir::Dirs : QDir::AllEntries) | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot;
    const QString folded = Folded(name);
    const QStringList entries =
        QDir(dir.isEmpty() ? QStringLiteral(".") : dir).entryList(filters, QDir::Name);
    for (const QString& entry : entries) {
        if (Folded(entry) == folded) {
            return entry;
        }
    }
    return {};
}

} // namespace

QString MediaPath(const QString& folder, const QString& name) {
    QString relative = name;
    relative.replace(u'\\', u'/');
    QString exact = folder;
    if (!exact.isEmpty() && !exact.endsWith(u'/') && !relative.isEmpty()) {
        exact += u'/';
    }
    exact += relative;
    if (exact.isEmpty() || QFileInfo::exists(exact)) {
        return exact;
    }

    // Only the directories on the path are listed, one per component that does not match exactly.
    const QStringList parts = exact.split(u'/');
    QString found = exact.startsWith(u'/') ? QStringLiteral("/") : QString();
    for (qsizetype i = 0; i < parts.size(); ++i) {
        const QString& part = parts[i];
        if (part.isEmpty()) {
            continue;
        }
        const bool last = i == parts.size() - 1;
        QString next = found.isEmpty() || found.endsWith(u'/') ? found + part : found + u'/' + part;
        if (part != u"." && part != u".." && !QFileInfo::exists(next)) {
            const QString entry = FindEntry(found, part, !last);
            if (entry.isEmpty()) {
                return exact;
            }
            next = found.isEmpty() || found.endsWith(u'/') ? found + entry : found + u'/' + entry;
        }
        found = next;
    }
    return found;
}

QString FirstFolder(const QString& base, const QStringList& relatives) {
    for (const QString& relative : relatives) {
        const QFileInfo folder(QDir(base).filePath(relative));
        if (folder.isDir()) {
            return QDir::cleanPath(folder.absoluteFilePath());
        }
    }
    return {};
}

} // namespace platform
