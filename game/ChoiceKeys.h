#pragma once
// Number keys 1 to 4, on the main row or the keypad, press the choice button with that number when it is
// enabled, exactly as a click would; otherwise they do nothing. Installed on the game window, they see the
// keys its controls leave unhandled (buttons and the read-only description ignore digits).

#include <QObject>
#include <QPushButton>

#include <array>

namespace game {

class ChoiceKeys : public QObject {
  public:
    ChoiceKeys(QWidget* window, std::array<QPushButton*, 4> buttons);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    std::array<QPushButton*, 4> buttons_;
};

} // namespace game
