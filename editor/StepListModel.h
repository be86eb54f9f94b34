#pragma once
// The list of steps: "N: Nazwa" with what the last check found, filtered by number, label, name or any of
// the step's texts (letter case and Polish diacritics ignored).

#include "editor/core/StepMarks.h"
#include "editor/core/StoryDocument.h"

#include <QAbstractListModel>
#include <QSortFilterProxyModel>

namespace editor {

class StepListModel : public QAbstractListModel {
    Q_OBJECT

  public:
    explicit StepListModel(const StoryDocument& document, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;

    // The document's steps changed: rows come and go, texts change.
    void Refresh();
    // Only the step at `index` changed (typing in the form).
    void RefreshStep(std::size_t index);
    void SetMarks(StepMarks marks);
    const StepMarks& Marks() const { return marks_; }

    // "12: Nazwa" and the marks in words, as the list shows and a screen reader speaks it.
    QString Caption(std::size_t index) const;

  private:
    const StoryDocument& document_;
    StepMarks marks_;
    int rows_ = 0;
};

class StepFilterModel : public QSortFilterProxyModel {
  public:
    StepFilterModel(const StoryDocument& document, QObject* parent = nullptr);
    void SetQuery(const QString& query);

  protected:
    bool filterAcceptsRow(int row, const QModelIndex& parent) const override;

  private:
    const StoryDocument& document_;
    std::string folded_;
};

} // namespace editor
