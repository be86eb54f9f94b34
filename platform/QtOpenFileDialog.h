#pragma once
// The open-file dialog on Qt's own widget-based file dialog, alike on every system.

#include "platform/FileDialog.h"

#include <QPointer>
#include <QString>
#include <QStringList>
#include <QWidget>

namespace platform {

class QtOpenFileDialog : public IOpenFileDialog {
  public:
    // `filter`: "Description|pattern[|Description|pattern...]", patterns separated by ";", e.g.
    // "Scenariusze (*.Kro)|*.Kro". The dialog widget gets `objectName`, so that it can be found while open.
    QtOpenFileDialog(QWidget* parent, const QString& filter,
                     const QString& objectName = QStringLiteral("ODScenariusz"));

    // The folders the dialog's side bar lists first, in this order; those that do not exist are left out.
    void SetPlaces(const QStringList& folders) { places_ = folders; }

    bool Execute() override;
    QString FileName() const override { return fileName_; }

    const QStringList& NameFilters() const { return nameFilters_; }

  private:
    QPointer<QWidget> parent_;
    QStringList nameFilters_;
    QStringList places_;
    QString objectName_;
    QString fileName_;
};

// Qt name filters for a filter string: the description as given, the patterns matching in any letter
// case ("*.Kro" becomes "*.[Kk][Rr][Oo]").
QStringList NameFiltersFrom(const QString& filter);

// A wildcard pattern that matches the same names in any letter case.
QString CaseInsensitivePattern(const QString& pattern);

} // namespace platform
