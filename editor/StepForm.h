#pragma once
// One step as a form: Nazwa, Typ, Obraz, Dźwięk, Opis and the four choices with their targets. Every
// change goes to the document as a command; the form shows whatever the document holds.

#include "editor/FormMedia.h"
#include "editor/core/StoryDocument.h"

#include <QComboBox>
#include <QCompleter>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QWidget>

#include <array>
#include <functional>
#include <optional>

namespace editor {

class StepForm : public QWidget {
    Q_OBJECT

  public:
    StepForm(StoryDocument& document, IFormMedia& media, QWidget* parent = nullptr);

    // Shows the step at `index` of the document, or an empty, disabled form.
    void ShowStep(std::optional<std::size_t> index);
    std::optional<std::size_t> Current() const { return current_; }
    // Fills the media lists again (the folders may have changed).
    void ReloadMedia();
    // Offers the steps of `model` ("12: Nazwa") while a target is typed.
    void SetStepModel(QAbstractItemModel* model);
    // Moves the focus to a field by its label's name ("Opis", "Wybór 2", "Cel 3" ...).
    void FocusField(const QString& field);

    QLineEdit* Nazwa;
    QLabel* NazwaCount;
    QComboBox* Typ;
    QComboBox* Obraz;
    QLabel* ObrazPreview;
    QComboBox* Dzwiek;
    QPushButton* DzwiekPlay;
    QPlainTextEdit* Opis;
    QLabel* OpisCount;
    std::array<QLineEdit*, 4> Wybor{};
    std::array<QLabel*, 4> WyborCount{};
    std::array<QLineEdit*, 4> Cel{};
    std::array<QPushButton*, 4> CelNew{};

  signals:
    // An action worth telling the author about ("Dodano krok 12"), and a failure to show or play media.
    void Said(const QString& text);
    void Failed(const QString& message);
    // The step to show changed by the form's own action (a new step made from a choice).
    void StepCreated(std::size_t index);
    // The form shows the step at `index` afresh: another one, or the same one after a change.
    void Shown(std::optional<std::size_t> index);

  private:
    QLabel* AddLabel(const QString& text, QWidget* buddy);
    void Fill(const StepView& step);
    void ShowPicture();
    void ToggleSound();
    void ApplyTarget(int k);
    void CreateTarget(int k);
    // Runs an edit on the current step unless the form is being filled from the document.
    void Edit(const std::function<void(std::size_t)>& edit);
    QString TargetText(const std::optional<ChoiceTarget>& target) const;
    std::optional<ChoiceTarget> ParseTarget(const QString& text) const;

    StoryDocument& document_;
    IFormMedia& media_;
    QCompleter* completer_;
    std::optional<std::size_t> current_;
    bool filling_ = false;
    bool playing_ = false;
};

// "183/250", and past the field "260/250 – za długi", so that it is read, not only seen in red.
QString CountText(const QString& text, int max);

} // namespace editor
