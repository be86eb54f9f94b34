#pragma once
// The game window: one step at a time, with its description, four choices, picture and sound.

#include "game/GameHost.h"
#include "platform/Announcer.h"
#include "platform/Controls.h"
#include "platform/Forms.h"
#include "platform/MediaPlayer.h"
#include "scenario/TKrok.h"

#include <QImage>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRect>

#include <array>
#include <cstdint>
#include <optional>

namespace game {

class TFoRpgGra : public platform::TForm {
    Q_OBJECT

  public:
    TFoRpgGra(platform::IMessages& messages, platform::IMediaPlayer& player);
    ~TFoRpgGra() override;

    // For a program that hosts the window instead of the player's menu. The player never calls these,
    // and without them the window is the player's: it starts at step 1 with button 1, returns to the menu
    // and finds media in the current directory.
    // Where the next showing starts: the record read after opening the scenario, and its open buttons.
    void SetStart(std::int32_t step, int open);
    // Leaving calls the host back instead of showing the menu; closing then never ends the program.
    void SetHost(GameHost* host);
    // The folder the media folders lie in; empty for the current directory, where the player runs.
    void SetMediaFolder(const QString& folder);
    // No announcements, for a window that only shows steps (QuietGame).
    void SetQuiet(bool quiet);
    // Presents `step` as a step read from the scenario is presented, with the first `open` buttons
    // enabled, without the scenario reader: a host's own step, shown until the next one.
    void ShowGivenStep(const scenario::TKrok& step, int open);
    // The record of the step presented last.
    std::int32_t ShownStep() const { return shown_; }

    // Presents AktKrok: texts, then picture, then sound. A failing picture or sound ends it there.
    void ShowStep();
    // Empties the display and stops the sound.
    void ClearStep();
    // Leaves open the choice buttons that reaching a step of this type leaves open (scenario::OpenAfter):
    // none for an ending, the type's own count, or for the other types the buttons as they are.
    void ApplyChoiceButtons(std::uint8_t Typ);
    // Tells the player the game is over (the ending's buttons are already closed).
    void EndOfGame();

    // The four choice buttons and their labels, choice 1 first.
    std::array<QPushButton*, 4> ChoiceButtons() const;
    std::array<platform::TLabel*, 4> ChoiceLabels() const;
    // Enables the first `n` choice buttons and disables the others.
    void SetChoicesOpen(int n);

    void BuWyjscieClick();
    void BuWybor1Click();
    void BuWybor2Click();
    void BuWybor3Click();
    void BuWybor4Click();
    void PaObrazekPaint();

    QPushButton* BuWyjscie;
    QPushButton* BuWybor1;
    QPushButton* BuWybor2;
    QPushButton* BuWybor3;
    QPushButton* BuWybor4;
    platform::TLabel* LaWybor1;
    platform::TLabel* LaWybor2;
    platform::TLabel* LaWybor3;
    platform::TLabel* LaWybor4;
    QPlainTextEdit* MeOpis;
    platform::TPaintBox* PaObrazek;
    platform::TBevel* Bevel1;
    platform::IMediaPlayer& MPWav;
    // Speaks each step as it is presented (a screen reader hears nothing of it otherwise).
    platform::TAnnouncer* Announcer;

    // The picture last loaded, and where it was last drawn in the paint box (left, top, width, height).
    QImage Obrazek;
    QRect ObrazekRect;

  protected:
    void FormShow() override;
    void FormHide() override;
    void FormClose() override;

  private:
    void FormCreate();
    // The host's start: the scenario reader moved from record 1 to the start record.
    void GoToStart();
    // Back to the menu, or to the host.
    void ReturnToHost();
    // The step shown: the one the host gave, else the reader's AktKrok.
    const scenario::TKrok& Krok() const;
    // ShowStep, its failure reported, so that the caller goes on to give the step its buttons.
    void PresentStep();
    void PlaySound(const QString& path);
    void FollowChoice(int k);
    // Announces the step shown now, with the buttons as they are now.
    void AnnounceStep();
    void FillPictureArea();
    void DrawPicture();

    // The sound device failed during this showing of the window: steps are presented without sound.
    bool soundOff_ = false;
    std::int32_t startStep_ = 1;
    int startOpen_ = 1;
    GameHost* host_ = nullptr;
    QString mediaFolder_;
    bool quiet_ = false;
    std::optional<scenario::TKrok> given_;
    std::int32_t shown_ = 0;
};

} // namespace game
