#include "editor/FieldMarks.h"

#include "editor/core/OutsideCp1250.h"
#include "editor/core/TextWords.h"

#include <QCoreApplication>
#include <QInputMethodEvent>
#include <QMenu>
#include <QPlainTextEdit>
#include <QSyntaxHighlighter>
#include <QTextBlock>

#include <algorithm>

namespace editor {

namespace {

constexpr int Fields = 5; // Opis, then the four choices

std::string WhatOf(int field) {
    return field == 0 ? std::string("opis") : "wybór " + std::to_string(field);
}

QTextCharFormat FormatOf(TextMark::Kind kind) {
    QTextCharFormat format;
    format.setUnderlineStyle(QTextCharFormat::SpellCheckUnderline);
    if (kind == TextMark::Kind::Spelling) {
        format.setUnderlineColor(QColor(0xc6, 0x28, 0x28));
    } else {
        format.setUnderlineColor(QColor(0x15, 0x65, 0xc0));
        format.setBackground(QColor(0xbb, 0xde, 0xfb));
    }
    return format;
}

const TextMark* MarkAt(const QVector<TextMark>& marks, int position) {
    for (const TextMark& mark : marks) {
        if (position >= mark.start && position <= mark.start + mark.length) {
            return &mark;
        }
    }
    return nullptr;
}

} // namespace

QVector<TextMark> MarksOf(const QString& text, const std::string& what, const SpellChecker& spell) {
    QVector<TextMark> marks;
    // The toolkit counts characters; the field counts UTF-16 units, two for a character beyond U+FFFF.
    const std::vector<OutsideMark> outside = FindOutsideCp1250(text.toStdString(), what);
    std::size_t next = 0;
    int unit = 0;
    std::size_t character = 0;
    while (next < outside.size() && unit < text.size()) {
        const int width = text.at(unit).isHighSurrogate() && unit + 1 < text.size() ? 2 : 1;
        if (character == outside[next].position) {
            marks.push_back(
                {TextMark::Kind::CodePage, unit, width, QString::fromStdString(outside[next].message)});
            ++next;
        }
        unit += width;
        ++character;
    }
    const std::u16string_view view(reinterpret_cast<const char16_t*>(text.utf16()),
                                   static_cast<std::size_t>(text.size()));
    for (const WordSpan& span : SplitWords(view)) {
        const QString word =
            text.mid(static_cast<qsizetype>(span.start), static_cast<qsizetype>(span.length));
        if (!spell.IsKnown(word)) {
            marks.push_back(
                {TextMark::Kind::Spelling, static_cast<int>(span.start), static_cast<int>(span.length),
                 QCoreApplication::translate("editor::FieldMarks", "„%1” – nie ma w słowniku").arg(word)});
        }
    }
    std::sort(marks.begin(), marks.end(),
              [](const TextMark& a, const TextMark& b) { return a.start < b.start; });
    return marks;
}

class OpisHighlighter : public QSyntaxHighlighter {
  public:
    OpisHighlighter(QTextDocument* document, const QVector<TextMark>& marks)
        : QSyntaxHighlighter(document), marks_(marks) {}

  protected:
    void highlightBlock(const QString& text) override {
        const int from = currentBlock().position();
        for (const TextMark& mark : marks_) {
            const int start = mark.start - from;
            if (start + mark.length > 0 && start < text.size()) {
                setFormat(std::max(start, 0), mark.length, FormatOf(mark.kind));
            }
        }
    }

  private:
    const QVector<TextMark>& marks_;
};

FieldMarks::FieldMarks(StepForm& form, SpellChecker& spell, QObject* parent)
    : QObject(parent), form_(form), spell_(spell), marks_(Fields) {
    highlighter_ = new OpisHighlighter(form_.Opis->document(), marks_[0]);
    connect(&spell_, &SpellChecker::Changed, this, &FieldMarks::Refresh);
    connect(form_.Opis, &QPlainTextEdit::textChanged, this, [this] {
        marks_[0] = MarksOf(TextOf(0), WhatOf(0), spell_);
        // Rehighlighting changes formats only, which the document does not count as a change of text.
        const QSignalBlocker quiet(form_.Opis);
        highlighter_->rehighlight();
        form_.Opis->setToolTip(QString());
    });
    connect(form_.Opis, &QPlainTextEdit::cursorPositionChanged, this,
            [this] { CursorMoved(0, form_.Opis->textCursor().position()); });
    form_.Opis->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(form_.Opis, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        QMenu* menu = MenuAt(form_.Opis, form_.Opis->cursorForPosition(at).position());
        menu->exec(form_.Opis->viewport()->mapToGlobal(at));
        delete menu;
    });
    for (int k = 1; k <= 4; ++k) {
        QLineEdit* edit = form_.Wybor[static_cast<std::size_t>(k - 1)];
        // After the edit has finished its own change: the formats are set as an input method sets them.
        connect(
            edit, &QLineEdit::textChanged, this, [this, k] { RefreshChoice(k); }, Qt::QueuedConnection);
        connect(edit, &QLineEdit::cursorPositionChanged, this,
                [this, k](int, int now) { CursorMoved(k, now); });
        edit->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(edit, &QWidget::customContextMenuRequested, this, [this, edit](const QPoint& at) {
            QMenu* menu = MenuAt(edit, edit->cursorPositionAt(at));
            menu->exec(edit->mapToGlobal(at));
            delete menu;
        });
    }
    Refresh();
}

QWidget* FieldMarks::Field(int field) const {
    return field == 0 ? static_cast<QWidget*>(form_.Opis) : form_.Wybor[static_cast<std::size_t>(field - 1)];
}

QString FieldMarks::TextOf(int field) const {
    return field == 0 ? form_.Opis->toPlainText() : form_.Wybor[static_cast<std::size_t>(field - 1)]->text();
}

QVector<TextMark> FieldMarks::Marks(int field) const {
    return marks_[field];
}

void FieldMarks::Refresh() {
    marks_[0] = MarksOf(TextOf(0), WhatOf(0), spell_);
    {
        const QSignalBlocker quiet(form_.Opis);
        highlighter_->rehighlight();
    }
    for (int k = 1; k <= 4; ++k) {
        RefreshChoice(k);
    }
}

void FieldMarks::RefreshChoice(int k) {
    QLineEdit* edit = form_.Wybor[static_cast<std::size_t>(k - 1)];
    marks_[k] = MarksOf(edit->text(), WhatOf(k), spell_);
    // A line edit draws formats only as an input method gives them, relative to the cursor.
    QList<QInputMethodEvent::Attribute> formats;
    for (const TextMark& mark : marks_[k]) {
        formats << QInputMethodEvent::Attribute(QInputMethodEvent::TextFormat,
                                                mark.start - edit->cursorPosition(), mark.length,
                                                FormatOf(mark.kind));
    }
    QInputMethodEvent event(QString(), formats);
    QCoreApplication::sendEvent(edit, &event);
}

void FieldMarks::CursorMoved(int field, int position) {
    const TextMark* mark = MarkAt(marks_[field], position);
    Field(field)->setToolTip(mark ? mark->message : QString());
    if (!mark) {
        lastSaid_.clear();
        return;
    }
    // Said once as the cursor reaches it, not again for each character typed inside it.
    if (mark->message != lastSaid_) {
        lastSaid_ = mark->message;
        emit Said(mark->message);
    }
}

void FieldMarks::Replace(QWidget* field, int start, int length, const QString& text) {
    if (auto* edit = qobject_cast<QLineEdit*>(field)) {
        // Through the edit's own typing, so that the form hears it as the author's.
        edit->setSelection(start, length);
        edit->insert(text);
        return;
    }
    auto* opis = static_cast<QPlainTextEdit*>(field);
    QTextCursor cursor = opis->textCursor();
    cursor.setPosition(start);
    cursor.setPosition(start + length, QTextCursor::KeepAnchor);
    cursor.insertText(text);
    opis->setTextCursor(cursor);
}

QMenu* FieldMarks::MenuAt(QWidget* field, int position) {
    QMenu* standard = nullptr;
    if (auto* edit = qobject_cast<QLineEdit*>(field)) {
        standard = edit->createStandardContextMenu();
    } else {
        standard = static_cast<QPlainTextEdit*>(field)->createStandardContextMenu();
    }
    int index = 0;
    for (; index < Fields && Field(index) != field; ++index) {
    }
    const QString text = TextOf(index);
    const std::u16string_view view(reinterpret_cast<const char16_t*>(text.utf16()),
                                   static_cast<std::size_t>(text.size()));
    const auto word = WordAt(view, static_cast<std::size_t>(position));
    if (!word || index >= Fields) {
        return standard;
    }
    const int start = static_cast<int>(word->start);
    const int length = static_cast<int>(word->length);
    const QString spelt = text.mid(start, length);
    if (spell_.IsKnown(spelt)) {
        return standard;
    }
    QAction* first = standard->actions().value(0);
    const QStringList suggestions = spell_.Suggestions(spelt);
    for (const QString& suggestion : suggestions) {
        auto* action = new QAction(suggestion, standard);
        connect(action, &QAction::triggered, this,
                [this, field, start, length, suggestion] { Replace(field, start, length, suggestion); });
        standard->insertAction(first, action);
        // Opened from the keyboard, the menu starts on the best suggestion, which is read first.
        if (standard->activeAction() == nullptr) {
            standard->setActiveAction(action);
        }
    }
    if (suggestions.isEmpty()) {
        auto* none = new QAction(tr("(brak podpowiedzi)"), standard);
        none->setEnabled(false);
        standard->insertAction(first, none);
    }
    auto* add = new QAction(tr("Dodaj do słownika tej historii"), standard);
    connect(add, &QAction::triggered, this, [this, spelt] {
        try {
            spell_.AddToStory(spelt);
            emit Said(tr("Dodano „%1” do słownika tej historii").arg(spelt));
        } catch (const std::exception& e) {
            emit Failed(QString::fromStdString(e.what()));
        }
    });
    standard->insertAction(first, add);
    standard->insertSeparator(first);
    return standard;
}

} // namespace editor
