#pragma once
// The one place where errors turn into error boxes. Every event handler body runs through Guard: an
// exception ends the handler, is reported, and the event loop goes on. No exception may cross a Qt frame.

#include "platform/Messages.h"

#include <functional>

namespace platform {

// Runs `body`; returns false when it threw (after reporting the error through `messages`).
bool Guard(IMessages& messages, const std::function<void()>& body);

} // namespace platform
