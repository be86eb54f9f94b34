#pragma once

#include <QString>

namespace platform {

// The caption of every message and error box: the executable's file name without its folder, cut at its
// first ".", the first character kept and all others in lower case.
QString ApplicationTitleFrom(const QString& executablePath);
QString ApplicationTitle();

} // namespace platform
