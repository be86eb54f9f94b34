#pragma once
// The problems of the story as `przygoda-kit check` reports them, refreshed while the author types.
// Activating one goes to its step and field, or to its line of the source.

#include "editor/core/CheckReport.h"

#include <QListWidget>

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

class ProblemsPanel : public QListWidget {
    Q_OBJECT

  public:
    explicit ProblemsPanel(QWidget* parent = nullptr);

    void Show(const CheckReport& report);
    // "2 błędy, 1 ostrzeżenie" or "Brak problemów".
    QString Summary() const { return summary_; }

  signals:
    void Activated(const ProblemLocation& where);

  private:
    std::vector<ProblemLocation> where_;
    QString summary_;
};

} // namespace editor
