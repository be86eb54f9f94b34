#include "platform/Mnemonics.h"

namespace platform {

namespace {

QString UnifiedLineBreaks(QString text) {
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(u'\r', u'\n');
    return text;
}

// Walks `text` applying the mnemonic rule; `plain` gets ordinary characters, `marked` the one after a
// single "&". A lone "&" at the end is dropped, as the toolkit's own drawing does.
template <typename Plain, typename Marked>
void ForEachMnemonicPart(const QString& text, Plain plain, Marked marked) {
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] != u'&') {
            const qsizetype length = text[i].isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
            plain(text.mid(i, length));
            i += length - 1;
            continue;
        }
        if (i + 1 >= text.size()) {
            break;
        }
        ++i;
        if (text[i] == u'&') {
            plain(QStringLiteral("&"));
        } else {
            const qsizetype length = text[i].isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
            marked(text.mid(i, length));
            i += length - 1;
        }
    }
}

QString EscapedPart(const QString& part) {
    return part == u"\n" ? QStringLiteral("<br>") : part.toHtmlEscaped();
}

} // namespace

QString MnemonicRichText(const QString& text) {
    QString html = QStringLiteral("<p style=\"white-space:pre-wrap\">");
    ForEachMnemonicPart(
        UnifiedLineBreaks(text), [&html](const QString& part) { html += EscapedPart(part); },
        [&html](const QString& part) {
            html += QStringLiteral("<u>") + EscapedPart(part) + QStringLiteral("</u>");
        });
    return html + QStringLiteral("</p>");
}

QString MnemonicPlainText(const QString& text) {
    QString plain;
    const auto append = [&plain](const QString& part) { plain += part; };
    ForEachMnemonicPart(text, append, append);
    return plain;
}

} // namespace platform
