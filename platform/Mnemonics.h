#pragma once
// The mnemonic rule of captions and box texts: "&x" marks x as the access key, "&&" is a single "&".

#include <QString>

namespace platform {

// A box text as rich text: "&x" becomes an underlined x, "&&" a single "&", line breaks and runs of
// spaces stay as they are.
QString MnemonicRichText(const QString& text);

// The same text as a reader sees it: "&x" becomes x, "&&" becomes "&".
QString MnemonicPlainText(const QString& text);

} // namespace platform
