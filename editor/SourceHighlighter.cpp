#include "editor/SourceHighlighter.h"

#include <QStringView>

#include <array>

namespace editor {

namespace {

constexpr std::array<QStringView, 7> Keywords{u"scenariusz", u"krok", u"typ",  u"obraz",
                                              u"dzwiek",     u"opis", u"wybor"};

bool IsBlank(QChar c) {
    return c == u' ' || c == u'\t' || c == u'\r';
}

} // namespace

SourceHighlighter::SourceHighlighter(QTextDocument* document) : QSyntaxHighlighter(document) {
    keyword_.setForeground(QColor(0x1a, 0x3f, 0x8f));
    keyword_.setFontWeight(QFont::Bold);
    comment_.setForeground(QColor(0x5f, 0x6b, 0x5f));
    comment_.setFontItalic(true);
    label_.setForeground(QColor(0x8a, 0x2b, 0x7a));
    target_.setForeground(QColor(0x0b, 0x6e, 0x3b));
}

void SourceHighlighter::highlightBlock(const QString& text) {
    qsizetype start = 0;
    while (start < text.size() && IsBlank(text[start])) {
        ++start;
    }
    if (start == text.size()) {
        return;
    }
    if (text[start] == u'#') {
        setFormat(static_cast<int>(start), static_cast<int>(text.size() - start), comment_);
        return;
    }
    qsizetype end = start;
    while (end < text.size() && !IsBlank(text[end])) {
        ++end;
    }
    const QStringView word = QStringView(text).mid(start, end - start);
    bool known = false;
    for (QStringView keyword : Keywords) {
        known = known || word == keyword;
    }
    if (!known) {
        return;
    }
    setFormat(static_cast<int>(start), static_cast<int>(end - start), keyword_);
    if (word == u"krok") {
        const qsizetype at = text.indexOf(u'@', end);
        if (at >= 0) {
            qsizetype labelEnd = at;
            while (labelEnd < text.size() && !IsBlank(text[labelEnd])) {
                ++labelEnd;
            }
            setFormat(static_cast<int>(at), static_cast<int>(labelEnd - at), label_);
        }
    } else if (word == u"wybor") {
        const qsizetype arrow = text.lastIndexOf(u"->");
        if (arrow > end) {
            setFormat(static_cast<int>(arrow), static_cast<int>(text.size() - arrow), target_);
        }
    }
}

} // namespace editor
