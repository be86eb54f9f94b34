#include "editor/SourceHighlighter.h"

#include <QPlainTextEdit>
#include <QStringView>
#include <QTextBlock>

#include <array>

namespace editor {

namespace {

constexpr std::array<QStringView, 7> Keywords{u"scenariusz", u"krok", u"typ",  u"obraz",
                                              u"dzwiek",     u"opis", u"wybor"};

bool IsBlank(QChar c) {
    return c == u' ' || c == u'\t' || c == u'\r';
}

QTextLayout::FormatRange Range(qsizetype start, qsizetype length, const QTextCharFormat& format) {
    return {static_cast<int>(start), static_cast<int>(length), format};
}

} // namespace

SourceHighlighter::SourceHighlighter(QPlainTextEdit* view) : QObject(view), view_(view) {
    keyword_.setForeground(QColor(0x1a, 0x3f, 0x8f));
    keyword_.setFontWeight(QFont::Bold);
    comment_.setForeground(QColor(0x5f, 0x6b, 0x5f));
    comment_.setFontItalic(true);
    label_.setForeground(QColor(0x8a, 0x2b, 0x7a));
    target_.setForeground(QColor(0x0b, 0x6e, 0x3b));
    // The view asks for a repaint of what changed or scrolled into view: the lines to colour are among
    // those it is about to paint. They are coloured once the edit that changed them is over, when their
    // text and revision are final.
    connect(view, &QPlainTextEdit::updateRequest, this, &SourceHighlighter::ColourSoon);
    connect(view->document(), &QTextDocument::contentsChange, this, &SourceHighlighter::Changed);
}

QList<QTextLayout::FormatRange> SourceHighlighter::Formats(const QString& text) const {
    qsizetype start = 0;
    while (start < text.size() && IsBlank(text[start])) {
        ++start;
    }
    if (start == text.size()) {
        return {};
    }
    if (text[start] == u'#') {
        return {Range(start, text.size() - start, comment_)};
    }
    qsizetype end = start;
    while (end < text.size() && !IsBlank(text[end])) {
        ++end;
    }
    const QStringView word = QStringView(text).mid(start, end - start);
    if (std::find(Keywords.begin(), Keywords.end(), word) == Keywords.end()) {
        return {};
    }
    QList<QTextLayout::FormatRange> formats{Range(start, end - start, keyword_)};
    if (word == u"krok") {
        const qsizetype at = text.indexOf(u'@', end);
        if (at >= 0) {
            qsizetype labelEnd = at;
            while (labelEnd < text.size() && !IsBlank(text[labelEnd])) {
                ++labelEnd;
            }
            formats.append(Range(at, labelEnd - at, label_));
        }
    } else if (word == u"wybor") {
        const qsizetype arrow = text.lastIndexOf(u"->");
        if (arrow > end) {
            formats.append(Range(arrow, text.size() - arrow, target_));
        }
    }
    return formats;
}

void SourceHighlighter::ColourSoon() {
    if (!pending_) {
        pending_ = true;
        QMetaObject::invokeMethod(this, &SourceHighlighter::ColourVisible, Qt::QueuedConnection);
    }
}

void SourceHighlighter::TextReplaced() {
    QTextBlock first = view_->document()->firstBlock();
    if (first.userState() == Coloured) {
        first.setUserState(Stale);
    }
    ColourSoon();
}

void SourceHighlighter::Changed(int position, int removed, int added) {
    if (removed == 0 && added == 0) {
        return; // only laid out again
    }
    QTextDocument* document = view_->document();
    const QTextBlock end = document->findBlock(position + added).next();
    for (QTextBlock block = document->findBlock(position); block.isValid() && block != end;
         block = block.next()) {
        if (block.userState() == Coloured) {
            block.setUserState(Stale);
        }
    }
    ColourSoon();
}

void SourceHighlighter::ColourVisible() {
    pending_ = false;
    if (colouring_) {
        return;
    }
    colouring_ = true;
    QTextDocument* document = view_->document();
    const QTextBlock first = view_->cursorForPosition(QPoint(0, 0)).block();
    const int last = view_->cursorForPosition(QPoint(0, view_->viewport()->height())).blockNumber();
    for (QTextBlock block = first; block.isValid() && block.blockNumber() <= last; block = block.next()) {
        if (block.userState() != Coloured) {
            const QList<QTextLayout::FormatRange> formats = Formats(block.text());
            // A line with nothing to colour and no old colours needs no layout of its own made for it.
            if (!formats.isEmpty() || block.userState() == Stale) {
                block.layout()->setFormats(formats);
                document->markContentsDirty(block.position(), block.length());
            }
            block.setUserState(Coloured);
        }
    }
    colouring_ = false;
}

} // namespace editor
