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

} // namespace platform
