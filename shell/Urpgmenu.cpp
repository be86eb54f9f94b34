#include "shell/Urpgmenu.h"

#include "game/Scenariusz.h"
#include "platform/Announcer.h"
#include "platform/Fonts.h"
#include "platform/ProgramWindows.h"

namespace shell {

namespace {

platform::TLabel* MakeLabel(QWidget* parent, const char* name, QRect place, int pixelHeight,
                            const QString& caption, const QString& role) {
    auto* label = new platform::TLabel(parent, name, place, role);
    label->setFont(platform::MakeFont("Times New Roman", pixelHeight));
    label->SetCaption(caption);
    return label;
}

} // namespace

TFoRPGMenu::TFoRPGMenu(platform::IMessages& messages, platform::IOpenFileDialog& dialog)
    : TForm(messages, "FoRPGMenu", "Menu", QSize(260, 218)), ODScenariusz(dialog) {
    setFont(platform::MakeFont("Times New Roman", 13));

    const QFont buttonFont = platform::MakeFont("Times New Roman", 19);
    BuStart = platform::MakeButton(this, "BuStart", "&Start:", QRect(85, 63, 89, 33), buttonFont, "Start");
    BuKoniec =
        platform::MakeButton(this, "BuKoniec", "&Koniec", QRect(85, 157, 89, 33), buttonFont, "Koniec");
    Label1 = MakeLabel(this, "Label1", QRect(9, 8, 38, 19), 16, "Menu:", "Nagłówek");
    Label2 = MakeLabel(this, "Label2", QRect(41, 32, 192, 21), 19, "Witamy w grze  tekstowej", "Powitanie");
    Label3 = MakeLabel(this, "Label3", QRect(81, 202, 169, 15), 12, "<< Dzieki nim stało się to możliwe",
                       "Opis przycisku Twórcy");
    BuPlansza = platform::MakeButton(this, "BuPlansza", "Wybór Scenariusza", QRect(48, 122, 161, 33),
                                     buttonFont, "Wybór scenariusza");
    BuTworcy = platform::MakeButton(this, "BuTworcy", "Twórcy", QRect(0, 200, 49, 17),
                                    platform::MakeFont("Times New Roman", 13), "Twórcy");
    Label4 = MakeLabel(this, "Label4", QRect(24, 96, 209, 15), 13, {}, "Wybrany scenariusz");
    // Right-aligned, so that a long path keeps its end, the file name, in view.
    Label4->SetAlignment(Qt::AlignRight | Qt::AlignTop);
    Label14 = MakeLabel(this, "Label14", QRect(227, 0, 31, 14), 11, "V: 1.0 ", "Wersja");
    for (platform::TLabel* label : {Label1, Label2, Label3, Label14}) {
        label->SetAutoSize(true);
    }

    platform::AnnounceCaptionChanges(platform::ReadLabelsOnShow(this), Label4);

    setTabOrder(BuStart, BuKoniec);
    setTabOrder(BuKoniec, BuPlansza);
    setTabOrder(BuPlansza, BuTworcy);

    OnClick(BuStart, [this] { BuStartClick(); });
    OnClick(BuKoniec, [this] { BuKoniecClick(); });
    OnClick(BuPlansza, [this] { BuPlanszaClick(); });
    OnClick(BuTworcy, [this] { BuTworcyClick(); });
}

void TFoRPGMenu::BuStartClick() {
    if (game::Scenariusz.isEmpty()) {
        Messages().ShowMessage("Wybierz Scenariusz");
        return;
    }
    Hide();
    platform::FoRpgGra->Show();
}

void TFoRPGMenu::BuPlanszaClick() {
    if (ODScenariusz.Execute()) {
        game::Scenariusz = ODScenariusz.FileName();
        Label4->SetCaption(game::Scenariusz);
    }
}

void TFoRPGMenu::BuTworcyClick() {
    platform::FoLista->Show();
    Hide();
    platform::FoLista->setWindowTitle("Lista tworcow");
}

void TFoRPGMenu::BuKoniecClick() {
    platform::FoRpgGra->Hide();
    platform::FoLista->Hide();
    Hide();
    FormClose();
}

void TFoRPGMenu::FormClose() {
    // The game and credits windows show the menu again as they close; terminating right after ends the
    // event loop, so the program exits all the same.
    platform::FoRpgGra->Close();
    platform::FoLista->Close();
    Terminate();
}

} // namespace shell
