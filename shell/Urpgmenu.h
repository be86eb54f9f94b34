#pragma once
// The menu window: choosing a scenario, starting the game, the credits, and quitting.

#include "platform/Controls.h"
#include "platform/FileDialog.h"
#include "platform/Forms.h"

#include <QPushButton>

namespace shell {

class TFoRPGMenu : public platform::TForm {
    Q_OBJECT

  public:
    TFoRPGMenu(platform::IMessages& messages, platform::IOpenFileDialog& dialog);

    void BuStartClick();
    void BuKoniecClick();
    void BuPlanszaClick();
    void BuTworcyClick();

    QPushButton* BuStart;
    QPushButton* BuKoniec;
    platform::TLabel* Label1;
    platform::TLabel* Label2;
    platform::TLabel* Label3;
    QPushButton* BuPlansza;
    QPushButton* BuTworcy;
    platform::TLabel* Label4;
    platform::TLabel* Label14;
    platform::IOpenFileDialog& ODScenariusz;

  protected:
    void FormClose() override;
};

} // namespace shell
