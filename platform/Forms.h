#pragma once
// The base of the program's windows, with the show/hide/close rules the windows are written against:
// - Show runs FormShow before the window becomes visible, then shows it and brings it to the front;
//   Hide runs FormHide before it vanishes; neither does anything when the window already is so.
// - Close runs FormClose even for a hidden window, then hides it, or terminates the application when the
//   window is the main one (the first created, unless its program says otherwise). Closing by the window
//   manager goes through Close.
// - Every handler runs through the guard, and a window being shown or hidden is so all the same.
// - A fixed dialog border and an exact client size; centred on the screen the first time it is shown
//   and left where it is after that.
// - On the first activation the focus goes to the first enabled, visible control in tab order; Enter
//   presses the focused button, otherwise the default button.

#include "platform/Messages.h"

#include <QPointer>
#include <QPushButton>
#include <QWidget>

#include <functional>

namespace platform {

class TForm : public QWidget {
    Q_OBJECT

  public:
    TForm(IMessages& messages, const QString& objectName, const QString& caption, QSize clientSize);

    void Show();
    void Hide();
    void Close();

    // Ends the event loop once the running handler returns.
    static void Terminate();

    bool IsMainForm() const { return isMain_; }
    // Whether closing the window ends the program; a window another program hosts is not its main one.
    void SetMainForm(bool main) { isMain_ = main; }
    void SetDefaultButton(QPushButton* button) { defaultButton_ = button; }
    QPushButton* DefaultButton() const { return defaultButton_; }

  protected:
    virtual void FormShow() {}
    virtual void FormHide() {}
    virtual void FormClose() {}

    IMessages& Messages() const { return messages_; }
    bool Guard(const std::function<void()>& body);

    // Connects a button's click to a handler that runs through the guard.
    void OnClick(QPushButton* button, std::function<void()> handler);

    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool event(QEvent* event) override;

  private:
    void CentreOnScreen();
    void FocusFirstControl();

    IMessages& messages_;
    bool isMain_ = false;
    bool shownOnce_ = false;
    bool activatedOnce_ = false;
    bool closing_ = false;
    QPointer<QPushButton> defaultButton_;
};

} // namespace platform
