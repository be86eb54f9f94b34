#include "game/ChoiceKeys.h"

#include <QKeyEvent>

namespace game {

ChoiceKeys::ChoiceKeys(QWidget* window, std::array<QPushButton*, 4> buttons)
    : QObject(window), buttons_(buttons) {
    window->installEventFilter(this);
}

bool ChoiceKeys::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress || watched != parent()) {
        return false;
    }
    const auto* key = static_cast<QKeyEvent*>(event);
    const int k = key->key() - Qt::Key_1;
    // A held key does not run through the steps; Shift, Ctrl or Alt with a digit is not a choice.
    if (k < 0 || k >= 4 || key->isAutoRepeat() || (key->modifiers() & ~Qt::KeypadModifier) != 0) {
        return false;
    }
    QPushButton* button = buttons_[static_cast<std::size_t>(k)];
    if (button->isEnabled() && button->isVisible()) {
        button->click();
    }
    return true;
}

} // namespace game
