#include "platform/QtOpenFileDialog.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QUrl>

namespace platform {

QString CaseInsensitivePattern(const QString& pattern) {
    QString result;
    bool inBrackets = false;
    for (const QChar c : pattern) {
        if (c == u'[') {
            inBrackets = true;
        } else if (c == u']') {
            inBrackets = false;
        }
        const QString lower = QString(c).toLower();
        const QString upper = QString(c).toUpper();
        if (inBrackets || lower == upper || lower.size() != 1 || upper.size() != 1) {
            result += c;
        } else {
            result += u'[' + upper + lower + u']';
        }
    }
    return result;
}

QStringList NameFiltersFrom(const QString& filter) {
    QStringList result;
    const QStringList parts = filter.split(u'|');
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QStringList patterns;
        for (const QString& pattern : parts[i + 1].split(u';', Qt::SkipEmptyParts)) {
            patterns << CaseInsensitivePattern(pattern.trimmed());
        }
        // The dialog hides the trailing "(patterns)", so that the description shows exactly as given.
        result << parts[i] + QStringLiteral(" (") + patterns.join(u' ') + u')';
    }
    return result;
}

namespace {

// The given places that exist, then the whole computer, as the toolkit's own side bar starts. Never the
// toolkit's remembered list: the player keeps no state from one run to the next.
QList<QUrl> SidebarUrls(const QStringList& places) {
    QList<QUrl> urls;
    for (const QString& place : places) {
        const QUrl url = QUrl::fromLocalFile(QDir::cleanPath(place));
        if (!place.isEmpty() && QFileInfo(place).isDir() && !urls.contains(url)) {
            urls << url;
        }
    }
    return urls << QUrl(QStringLiteral("file:"));
}

} // namespace

QtOpenFileDialog::QtOpenFileDialog(QWidget* parent, const QString& filter, const QString& objectName)
    : parent_(parent), nameFilters_(NameFiltersFrom(filter)), objectName_(objectName) {}

bool QtOpenFileDialog::Execute() {
    QFileDialog dialog(parent_.data());
    dialog.setObjectName(objectName_);
    dialog.setOptions(QFileDialog::DontUseNativeDialog | QFileDialog::HideNameFilterDetails);
    dialog.setOption(QFileDialog::ReadOnly, false);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setSidebarUrls(SidebarUrls(places_));
    if (!nameFilters_.isEmpty()) {
        dialog.setNameFilters(nameFilters_);
    }
    if (fileName_.isEmpty()) {
        dialog.setDirectory(QDir::currentPath());
    } else {
        dialog.setDirectory(QFileInfo(fileName_).absolutePath());
        dialog.selectFile(fileName_);
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return false;
    }
    const QFileInfo chosen(dialog.selectedFiles().constFirst());
    if (!chosen.isFile()) {
        return false;
    }
    fileName_ = chosen.absoluteFilePath();
    QDir::setCurrent(chosen.absolutePath());
    return true;
}

} // namespace platform
