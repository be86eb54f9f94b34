#pragma once
// Fonts by the names the windows are designed with. "Times New Roman" and "Arial" resolve to their metric
// twins through fontconfig; "System" is mapped by hand. Heights are character heights in pixels.

#include <QFont>
#include <QString>

namespace platform {

void InstallFontSubstitutions();

QFont MakeFont(const QString& family, int pixelHeight);

} // namespace platform
