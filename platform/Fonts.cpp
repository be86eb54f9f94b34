#include "platform/Fonts.h"

#include <QStringList>

namespace platform {

void InstallFontSubstitutions() {
    // fontconfig knows no "System" and would pick its default; the windows are laid out for a sans font
    // of Arial's metrics. The other two resolve by themselves, the entries only make that certain.
    QFont::insertSubstitutions(
        QStringLiteral("System"),
        {QStringLiteral("Liberation Sans"), QStringLiteral("Arial"), QStringLiteral("DejaVu Sans")});
    QFont::insertSubstitutions(QStringLiteral("Arial"), {QStringLiteral("Liberation Sans")});
    QFont::insertSubstitutions(QStringLiteral("Times New Roman"), {QStringLiteral("Liberation Serif")});
}

QFont MakeFont(const QString& family, int pixelHeight) {
    QFont font(family);
    font.setPixelSize(pixelHeight);
    return font;
}

} // namespace platform
