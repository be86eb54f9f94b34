#pragma once
// The credits window: who made the game.

#include "platform/Controls.h"
#include "platform/Forms.h"

#include <QPushButton>

namespace shell {

class TFoLista : public platform::TForm {
    Q_OBJECT

  public:
    explicit TFoLista(platform::IMessages& messages);

    void BitBtn1Click();

    QPushButton* BitBtn1;
    platform::TLabel* Label1;
    platform::TLabel* Label2;
    platform::TLabel* Label3;
    platform::TLabel* Label4;
    platform::TLabel* Label5;
    platform::TLabel* Label6;
    platform::TLabel* Label8;

  protected:
    void FormClose() override;
    void showEvent(QShowEvent* event) override;
};

} // namespace shell
