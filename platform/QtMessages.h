#pragma once
// The message and error boxes on Qt widgets.

#include "platform/Messages.h"

#include <QString>

namespace platform {

class QtMessages : public IMessages {
  public:
    void ShowMessage(const QString& text) override;
    void ShowError(const QString& text) override;
};

// A box text as rich text: "&x" becomes an underlined x, "&&" a single "&", line breaks and runs of
// spaces stay as they are.
QString MnemonicRichText(const QString& text);

// The same text as a reader sees it: "&x" becomes x, "&&" becomes "&".
QString MnemonicPlainText(const QString& text);

} // namespace platform
