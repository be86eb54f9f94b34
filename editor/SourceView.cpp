#include "editor/SourceView.h"

#include "editor/SourceHighlighter.h"

#include <QFontDatabase>
#include <QResizeEvent>
#include <QTextBlock>
#include <QTextCursor>

namespace editor {

namespace {

QString Joined(const std::vector<std::string>& lines) {
    QString text;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i > 0) {
            text += u'\n';
        }
        text += QString::fromStdString(lines[i]);
    }
    return text;
}

} // namespace

SourceView::SourceView(StoryDocument& document, QWidget* parent)
    : QPlainTextEdit(parent), document_(document) {
    setObjectName("Zrodlo");
    setAccessibleName(tr("Źródło"));
    // The document keeps the one history; the widget's own would undo behind its back.
    setUndoRedoEnabled(false);
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    highlighter_ = new SourceHighlighter(this);
    connect(this->document(), &QTextDocument::contentsChange, this, &SourceView::ContentsChange);
    connect(this, &QPlainTextEdit::cursorPositionChanged, this, [this] {
        const int line = textCursor().blockNumber();
        if (line != lastLine_) {
            lastLine_ = line;
            emit LineChanged(static_cast<std::size_t>(line));
        }
    });
    document_.AddListener(this);
    Reload();
}

SourceView::~SourceView() {
    document_.RemoveListener(this);
}

void SourceView::Reload() {
    following_ = true;
    setPlainText(Joined(document_.Text().Lines()));
    following_ = false;
    highlighter_->TextReplaced();
}

void SourceView::resizeEvent(QResizeEvent* event) {
    // Lines never wrap here, so a new width changes nothing but the scroll bars; told of it, the text's
    // layout would make a layout of its own for each of a big story's hundred thousand lines.
    QResizeEvent sameWidth(QSize(event->oldSize().width(), event->size().height()), event->oldSize());
    QPlainTextEdit::resizeEvent(&sameWidth);
}

void SourceView::GoToLine(std::size_t line) {
    const QTextBlock block = document()->findBlockByNumber(static_cast<int>(line));
    if (!block.isValid()) {
        return;
    }
    QTextCursor cursor(block);
    lastLine_ = block.blockNumber();
    setTextCursor(cursor);
    centerCursor();
}

void SourceView::PatchApplied(const Patch& patch) {
    if (following_) {
        return;
    }
    following_ = true;
    QTextDocument* text = document();
    const int first = static_cast<int>(patch.first);
    const int removed = static_cast<int>(patch.removed.size());
    const int blocks = text->blockCount();
    QTextCursor cursor(text);
    if (removed > 0) {
        cursor.setPosition(text->findBlockByNumber(first).position());
        const QTextBlock last = text->findBlockByNumber(first + removed - 1);
        cursor.setPosition(last.position() + last.length() - 1, QTextCursor::KeepAnchor);
        if (patch.inserted.empty()) {
            // The lines go with one of the line breaks around them.
            if (first + removed < blocks) {
                cursor.setPosition(last.next().position(), QTextCursor::KeepAnchor);
            } else if (first > 0) {
                const QTextBlock before = text->findBlockByNumber(first - 1);
                const int end = cursor.position();
                cursor.setPosition(before.position() + before.length() - 1);
                cursor.setPosition(end, QTextCursor::KeepAnchor);
            }
            cursor.removeSelectedText();
        } else {
            cursor.insertText(Joined(patch.inserted));
        }
    } else if (!patch.inserted.empty()) {
        if (first < blocks) {
            cursor.setPosition(text->findBlockByNumber(first).position());
            cursor.insertText(Joined(patch.inserted) + u'\n');
        } else {
            cursor.movePosition(QTextCursor::End);
            cursor.insertText(u'\n' + Joined(patch.inserted));
        }
    }
    following_ = false;
}

void SourceView::ContentsChange(int position, int charsRemoved, int charsAdded) {
    if (following_ || (charsRemoved == 0 && charsAdded == 0)) {
        return;
    }
    QTextDocument* text = document();
    const int first = text->findBlock(position).blockNumber();
    const int last = text->findBlock(position + charsAdded).blockNumber();
    const int before = static_cast<int>(document_.Text().LineCount());
    const int now = text->blockCount();
    const int newLines = last - first + 1;
    const int oldLines = newLines + (before - now);
    std::vector<std::string> lines;
    lines.reserve(static_cast<std::size_t>(newLines));
    for (QTextBlock block = text->findBlockByNumber(first); block.isValid() && block.blockNumber() <= last;
         block = block.next()) {
        lines.push_back(block.text().toStdString());
    }
    following_ = true;
    document_.ReplaceLines(static_cast<std::size_t>(first), static_cast<std::size_t>(oldLines),
                           std::move(lines));
    following_ = false;
}

} // namespace editor
