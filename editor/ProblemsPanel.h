#pragma once
// The problems of the story as `przygoda-kit check` reports them, refreshed while the author types.
// Activating one goes to its step and field, or to its line of the source.

#include "editor/core/CheckReport.h"

#include <QAbstractListModel>
#include <QListView>

#include <memory>
#include <optional>

namespace editor {

struct ProblemLocation {
    std::optional<std::int64_t> record;
    std::optional<int> line; // 1-based source line of a source error
    // The form field the finding is about ("Opis", "Wybór 2", "Cel 2" ...); empty for the step as a whole.
    QString field;
};

// The field a finding's message is about, by the words it starts with.
QString FieldOfMessage(const std::string& message);

// The rows of a report, each made into text only when the view asks for it: a report of a hundred thousand
// findings is shown by swapping one pointer.
class ProblemsModel : public QAbstractListModel {
    Q_OBJECT

  public:
    using QAbstractListModel::QAbstractListModel;

    void SetReport(std::shared_ptr<const CheckReport> report);
    const CheckReport* Report() const { return report_.get(); }
    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;

  private:
    std::shared_ptr<const CheckReport> report_;
};

class ProblemsPanel : public QListView {
    Q_OBJECT

  public:
    explicit ProblemsPanel(QWidget* parent = nullptr);

    void Show(std::shared_ptr<const CheckReport> report);
    // "2 błędy, 1 ostrzeżenie" or "Brak problemów".
    QString Summary() const { return summary_; }
    int Count() const { return model_->rowCount(); }
    // A row as the panel shows it.
    QString Text(int row) const;
    ProblemLocation Location(int row) const;

  signals:
    void Activated(const ProblemLocation& where);

  private:
    ProblemsModel* model_;
    QString summary_;
};

} // namespace editor
