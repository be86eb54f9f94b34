#pragma once
// Modal messages for the user and error reports: the seam between the windows and the toolkit's boxes.

#include <QString>

namespace platform {

class IMessages {
  public:
    virtual ~IMessages() = default;
    // An information box: application title as caption, no icon, one "OK"; returns when dismissed.
    virtual void ShowMessage(const QString& text) = 0;
    // An error box: application title as caption, error icon, one "OK". `text` is final (see ErrorBoxText).
    virtual void ShowError(const QString& text) = 0;
};

// The text an error box shows for an error's message: the message, then "." when it is not empty and
// its last character's code is greater than that of ".".
QString ErrorBoxText(const QString& message);

} // namespace platform
