#pragma once
// Marks in the form's texts (Opis and the four choices) as they are typed: words the spell check does not
// know (a red wavy underline, suggestions and "Dodaj do słownika tej historii" in the context menu) and
// characters code page 1250 cannot hold (a blue wavy underline on a tinted background), each with what the
// toolkit's build would say. The problem under the cursor is said once when the cursor reaches it.

#include "editor/SpellChecker.h"
#include "editor/StepForm.h"

#include <QObject>
#include <QString>
#include <QVector>

class QMenu;

namespace editor {

struct TextMark {
    enum class Kind { Spelling, CodePage };
    Kind kind = Kind::Spelling;
    int start = 0; // in UTF-16 units, as the field counts
    int length = 0;
    QString message;
    bool operator==(const TextMark&) const = default;
};

// The marks of one field's text; `what` names the field as the toolkit does ("opis", "wybór 2").
QVector<TextMark> MarksOf(const QString& text, const std::string& what, const SpellChecker& spell);

class FieldMarks : public QObject {
    Q_OBJECT

  public:
    FieldMarks(StepForm& form, SpellChecker& spell, QObject* parent = nullptr);

    // The marks now shown on Opis (0) or choice k (1-4).
    QVector<TextMark> Marks(int field) const;
    // The context menu of a field at text position `position`: the suggestions first.
    QMenu* MenuAt(QWidget* field, int position);

  signals:
    // A problem the cursor reached, or what an action in the menu did.
    void Said(const QString& text);
    void Failed(const QString& message);

  private:
    void Refresh();
    void RefreshChoice(int k);
    void CursorMoved(int field, int position);
    QWidget* Field(int field) const;
    QString TextOf(int field) const;
    void Replace(QWidget* field, int start, int length, const QString& text);

    StepForm& form_;
    SpellChecker& spell_;
    class OpisHighlighter* highlighter_;
    QVector<QVector<TextMark>> marks_;
    QString lastSaid_;
};

} // namespace editor
