#include "editor/Typography.h"

#include "editor/StepForm.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QSettings>

namespace editor {

namespace {

constexpr QChar OpeningQuote(0x201E);
constexpr QChar ClosingQuote(0x201D);

QSettings Settings() {
    return QSettings(QStringLiteral("przygoda"), QStringLiteral("przygoda-edytor"));
}

// The text before the cursor of a field.
QString Before(QWidget* field) {
    if (auto* edit = qobject_cast<QLineEdit*>(field)) {
        return edit->text().left(edit->hasSelectedText() ? edit->selectionStart() : edit->cursorPosition());
    }
    if (auto* text = qobject_cast<QPlainTextEdit*>(field)) {
        const QTextCursor cursor = text->textCursor();
        return text->toPlainText().left(cursor.selectionStart());
    }
    return {};
}

} // namespace

QChar QuoteFor(const QString& before) {
    if (before.isEmpty()) {
        return OpeningQuote;
    }
    const QChar last = before.back();
    return last.isSpace() || last == u'(' || last == u'[' || last == QChar(0x2013) || last == QChar(0x2014)
               ? OpeningQuote
               : ClosingQuote;
}

bool InsertIntoFocused(const QString& text) {
    QWidget* focused = QApplication::focusWidget();
    const bool pair = text.size() == 2 && text.at(0) == OpeningQuote;
    if (auto* edit = qobject_cast<QLineEdit*>(focused)) {
        if (edit->isReadOnly()) {
            return false;
        }
        const QString selected = edit->selectedText();
        // insert() is the edit's own typing: the form hears it as the author's.
        edit->insert(pair ? text.at(0) + selected + text.at(1) : text);
        if (pair && selected.isEmpty()) {
            edit->cursorBackward(false);
        }
        return true;
    }
    if (auto* plain = qobject_cast<QPlainTextEdit*>(focused)) {
        if (plain->isReadOnly()) {
            return false;
        }
        QTextCursor cursor = plain->textCursor();
        const QString selected = cursor.selectedText();
        cursor.insertText(pair ? text.at(0) + selected + text.at(1) : text);
        if (pair && selected.isEmpty()) {
            cursor.movePosition(QTextCursor::PreviousCharacter);
        }
        plain->setTextCursor(cursor);
        return true;
    }
    return false;
}

void FillInsertMenu(QMenu* menu, StepForm& form) {
    struct Mark {
        const char* name;
        QString text;
        QKeySequence keys;
    };
    const Mark marks[] = {
        {QT_TRANSLATE_NOOP("editor::Typography", "Cudzysłów „…”"), QString(OpeningQuote) + ClosingQuote,
         QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Q)},
        {QT_TRANSLATE_NOOP("editor::Typography", "Cudzysłów otwierający „"), QString(OpeningQuote),
         QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_O)},
        {QT_TRANSLATE_NOOP("editor::Typography", "Cudzysłów zamykający ”"), QString(ClosingQuote),
         QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_P)},
        {QT_TRANSLATE_NOOP("editor::Typography", "Półpauza –"), QString(QChar(0x2013)),
         QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_N)},
        {QT_TRANSLATE_NOOP("editor::Typography", "Pauza —"), QString(QChar(0x2014)),
         QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_M)},
        {QT_TRANSLATE_NOOP("editor::Typography", "Wielokropek …"), QString(QChar(0x2026)),
         QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_W)},
    };
    for (const Mark& mark : marks) {
        const QString text = mark.text;
        QAction* action = menu->addAction(QCoreApplication::translate("editor::Typography", mark.name),
                                          mark.keys, menu, [text] { InsertIntoFocused(text); });
        action->setShortcutContext(Qt::WindowShortcut);
    }
    menu->addSeparator();
    auto* quotes = new StraightQuotes(form, menu);
    QAction* replace = menu->addAction(
        QCoreApplication::translate("editor::Typography", "Zamieniaj \" na „ i ” w opisie i wyborach"));
    replace->setCheckable(true);
    replace->setChecked(Settings().value("typography/quotes", true).toBool());
    quotes->SetEnabled(replace->isChecked());
    QObject::connect(replace, &QAction::toggled, quotes, [quotes](bool on) {
        quotes->SetEnabled(on);
        Settings().setValue("typography/quotes", on);
    });
}

StraightQuotes::StraightQuotes(StepForm& form, QObject* parent) : QObject(parent) {
    form.Opis->installEventFilter(this);
    for (QLineEdit* edit : form.Wybor) {
        edit->installEventFilter(this);
    }
}

bool StraightQuotes::eventFilter(QObject* watched, QEvent* event) {
    if (!enabled_ || event->type() != QEvent::KeyPress) {
        return false;
    }
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->text() != QStringLiteral("\"")) {
        return false;
    }
    auto* field = qobject_cast<QWidget*>(watched);
    if (field == nullptr || field != QApplication::focusWidget()) {
        return false;
    }
    return InsertIntoFocused(QuoteFor(Before(field)));
}

} // namespace editor
