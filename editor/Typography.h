#pragma once
// Polish typography made easy to type: Edycja > Wstaw puts „ ” – — … into the focused text (all of them
// in code page 1250), and a straight quote typed in the form's texts becomes „ or ” by its place.

#include <QObject>

class QMenu;
class QWidget;

namespace editor {

class StepForm;

// Inserts `text` where the focused text field's cursor is, or around its selection for a pair of quotes;
// false when no text field has the focus.
bool InsertIntoFocused(const QString& text);

// „ after nothing, a space or an opening bracket or dash; ” after anything else.
QChar QuoteFor(const QString& before);

// Fills `menu` (Edycja > Wstaw) with the marks and their shortcuts, and the switch of the quote
// replacement, remembered between sessions.
void FillInsertMenu(QMenu* menu, StepForm& form);

// Turns a typed " into „ or ” in Opis and the choices while `enabled` says so.
class StraightQuotes : public QObject {
    Q_OBJECT

  public:
    StraightQuotes(StepForm& form, QObject* parent);
    bool IsEnabled() const { return enabled_; }
    void SetEnabled(bool enabled) { enabled_ = enabled; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    bool enabled_ = true;
};

} // namespace editor
