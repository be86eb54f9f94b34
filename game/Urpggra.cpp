#include "game/Urpggra.h"

#include "game/ChoiceKeys.h"
#include "game/Scenariusz.h"
#include "game/StepAnnouncement.h"
#include "platform/Accessibility.h"
#include "platform/Fonts.h"
#include "platform/ProgramWindows.h"
#include "platform/StepMedia.h"
#include "platform/bitmap/Bmp.h"
#include "platform/bitmap/Canvas.h"
#include "scenario/StepReader.h"
#include "scenario/StepTypes.h"

#include <array>

namespace game {

using scenario::AktKrok;
using scenario::AktLis;

namespace {

// The picture area is 128 x 128; pictures are centred on its middle.
constexpr int Srodek = 64;

QString Text(const std::string& utf8) {
    return QString::fromStdString(utf8);
}

platform::TLabel* MakeChoiceLabel(QWidget* parent, const char* name, QRect place, int number) {
    auto* label = new platform::TLabel(parent, name, place, QString("Tekst wyboru %1").arg(number));
    label->setFont(platform::MakeFont("Times New Roman", 13));
    return label;
}

// The player runs a scenario in its own folder, the current directory (an empty folder); a host names it.
platform::MediaLookup StepPicture(const QString& folder, const scenario::TKrok& krok) {
    return platform::FindPicture(folder, Text(krok.Bmp));
}

platform::MediaLookup StepSound(const QString& folder, const scenario::TKrok& krok) {
    return platform::FindSound(folder, Text(krok.Wav));
}

std::int32_t ChoiceTarget(const scenario::TKrok& krok, int k) {
    switch (k) {
    case 1:
        return krok.Krok_Wybrany1;
    case 2:
        return krok.Krok_Wybrany2;
    case 3:
        return krok.Krok_Wybrany3;
    default:
        return krok.Krok_Wybrany4;
    }
}

} // namespace

TFoRpgGra::TFoRpgGra(platform::IMessages& messages, platform::IMediaPlayer& player)
    : TForm(messages, "FoRpgGra", "Gra", QSize(439, 318)), MPWav(player) {
    setFont(platform::MakeFont("System", 13));

    const QFont choiceFont = platform::MakeFont("Arial", 13);
    BuWyjscie = platform::MakeButton(this, "BuWyjscie", "&Wyjście", QRect(360, 280, 74, 25),
                                     platform::MakeFont("Times New Roman", 16), "Wyjście");
    BuWybor1 = platform::MakeButton(this, "BuWybor1", "1", QRect(16, 180, 33, 29), choiceFont, "Wybór 1");
    BuWybor2 = platform::MakeButton(this, "BuWybor2", "2", QRect(16, 212, 33, 29), choiceFont, "Wybór 2");
    BuWybor3 = platform::MakeButton(this, "BuWybor3", "3", QRect(16, 244, 33, 29), choiceFont, "Wybór 3");
    BuWybor4 = platform::MakeButton(this, "BuWybor4", "4", QRect(16, 276, 33, 29), choiceFont, "Wybór 4");

    LaWybor1 = MakeChoiceLabel(this, "LaWybor1", QRect(60, 188, 293, 19), 1);
    LaWybor2 = MakeChoiceLabel(this, "LaWybor2", QRect(60, 220, 293, 19), 2);
    LaWybor3 = MakeChoiceLabel(this, "LaWybor3", QRect(60, 252, 293, 19), 3);
    LaWybor4 = MakeChoiceLabel(this, "LaWybor4", QRect(60, 284, 293, 15), 4);
    platform::NameAfterLabel(BuWybor1, "Wybór 1", LaWybor1);
    platform::NameAfterLabel(BuWybor2, "Wybór 2", LaWybor2);
    platform::NameAfterLabel(BuWybor3, "Wybór 3", LaWybor3);
    platform::NameAfterLabel(BuWybor4, "Wybór 4", LaWybor4);
    Announcer = new platform::TAnnouncer(this);
    new ChoiceKeys(this, {BuWybor1, BuWybor2, BuWybor3, BuWybor4});

    MeOpis = new QPlainTextEdit(this);
    MeOpis->setObjectName("MeOpis");
    MeOpis->setGeometry(16, 16, 241, 145);
    MeOpis->setFont(platform::MakeFont("Times New Roman", 15));
    MeOpis->setReadOnly(true);
    // Read-only, yet with a caret: text below the box's height is reached with the keyboard.
    MeOpis->setTextInteractionFlags(Qt::TextSelectableByKeyboard | Qt::TextSelectableByMouse);
    // A word wider than the box is broken rather than cut at its right edge.
    MeOpis->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    MeOpis->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    MeOpis->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    MeOpis->setAccessibleName("Opis");
    MeOpis->setAccessibleDescription("Opis sytuacji");

    PaObrazek = new platform::TPaintBox(this, "PaObrazek", QRect(288, 24, 128, 128));
    PaObrazek->setAccessibleName("Obrazek");
    PaObrazek->OnPaint = [this] { Guard([this] { PaObrazekPaint(); }); };
    Bevel1 = new platform::TBevel(this, "Bevel1", QRect(280, 16, 145, 145));
    Bevel1->lower();

    setTabOrder(BuWyjscie, BuWybor1);
    setTabOrder(BuWybor1, BuWybor2);
    setTabOrder(BuWybor2, BuWybor3);
    setTabOrder(BuWybor3, BuWybor4);
    setTabOrder(BuWybor4, MeOpis);

    OnClick(BuWyjscie, [this] { BuWyjscieClick(); });
    OnClick(BuWybor1, [this] { BuWybor1Click(); });
    OnClick(BuWybor2, [this] { BuWybor2Click(); });
    OnClick(BuWybor3, [this] { BuWybor3Click(); });
    OnClick(BuWybor4, [this] { BuWybor4Click(); });

    Guard([this] { FormCreate(); });
}

TFoRpgGra::~TFoRpgGra() {
    // The end of the program ends the sound.
    MPWav.Close();
}

void TFoRpgGra::FormCreate() {
    AktKrok = std::make_unique<scenario::TKrok>();
}

void TFoRpgGra::SetStart(std::int32_t step, int open) {
    startStep_ = step;
    startOpen_ = open;
}

void TFoRpgGra::SetHost(GameHost* host) {
    host_ = host;
    if (host != nullptr) {
        SetMainForm(false);
    }
}

void TFoRpgGra::SetMediaFolder(const QString& folder) {
    mediaFolder_ = folder;
}

void TFoRpgGra::SetQuiet(bool quiet) {
    quiet_ = quiet;
}

const scenario::TKrok& TFoRpgGra::Krok() const {
    return given_ ? *given_ : *AktKrok;
}

void TFoRpgGra::FormShow() {
    soundOff_ = false;
    given_.reset();
    ClearStep();
    scenario::OpenScenario(Scenariusz.toStdString());
    GoToStart();
    PresentStep();
    // Step 1 always offers only the first choice, whatever its type; a host may start elsewhere.
    SetChoicesOpen(startOpen_);
    if (startStep_ != 1 && AktLis.Typ == scenario::TypKoniec) {
        // Started on an ending: the game is over, as when it is reached.
        EndOfGame();
    }
    AnnounceStep();
}

void TFoRpgGra::GoToStart() {
    if (startStep_ != 1) {
        scenario::NrKroku = startStep_;
        scenario::GoToStep();
    }
}

void TFoRpgGra::ShowGivenStep(const scenario::TKrok& step, int open) {
    given_ = step;
    ClearStep();
    PresentStep();
    SetChoicesOpen(open);
    AnnounceStep();
}

void TFoRpgGra::FormHide() {
    scenario::CloseScenario();
}

void TFoRpgGra::FormClose() {
    Hide();
    ReturnToHost();
}

void TFoRpgGra::BuWyjscieClick() {
    Hide();
    ReturnToHost();
}

void TFoRpgGra::ReturnToHost() {
    if (host_ != nullptr) {
        host_->GameLeft();
    } else {
        platform::FoRPGMenu->Show();
    }
}

void TFoRpgGra::BuWybor1Click() {
    FollowChoice(1);
}
void TFoRpgGra::BuWybor2Click() {
    FollowChoice(2);
}
void TFoRpgGra::BuWybor3Click() {
    FollowChoice(3);
}
void TFoRpgGra::BuWybor4Click() {
    FollowChoice(4);
}

void TFoRpgGra::FollowChoice(int k) {
    ClearStep();
    scenario::NrKroku = ChoiceTarget(*AktKrok, k);
    scenario::GoToStep();
    PresentStep();
    ApplyChoiceButtons(AktLis.Typ);
    if (AktLis.Typ == scenario::TypKoniec) {
        EndOfGame();
    }
    AnnounceStep();
}

void TFoRpgGra::PresentStep() {
    // A picture or sound that fails is reported here, before the step gets its buttons: the step was read,
    // so the player is on it and plays on from it.
    shown_ = given_ ? 0 : scenario::NrKroku;
    Guard([this] { ShowStep(); });
}

void TFoRpgGra::ShowStep() {
    const scenario::TKrok& krok = Krok();
    const std::array<QString, 4> choices{Text(krok.Wybor1), Text(krok.Wybor2), Text(krok.Wybor3),
                                         Text(krok.Wybor4)};
    const auto labels = ChoiceLabels();
    for (std::size_t k = 0; k < labels.size(); ++k) {
        labels[k]->SetCaption(choices[k]);
    }
    MeOpis->setPlainText(Text(krok.Opis));

    using Result = platform::MediaLookup::Result;
    if (const platform::MediaLookup picture = StepPicture(mediaFolder_, krok);
        picture.result == Result::Present) {
        Obrazek = platform::LoadBmpFile(picture.path);
        DrawPicture();
    } else if (picture.result == Result::Missing) {
        Messages().ShowMessage(platform::MissingPictureMessage(Text(krok.Bmp)));
    }

    if (const platform::MediaLookup sound = StepSound(mediaFolder_, krok); sound.result == Result::Present) {
        PlaySound(sound.path);
    } else if (sound.result == Result::Missing) {
        Messages().ShowMessage(platform::MissingSoundMessage(Text(krok.Wav)));
    }
}

void TFoRpgGra::PlaySound(const QString& path) {
    if (soundOff_) {
        return;
    }
    try {
        MPWav.Open(path);
    } catch (const platform::SoundDeviceError& e) {
        // Reported once; the rest of this showing plays without sound.
        soundOff_ = true;
        throw platform::SoundDeviceError(std::string(e.what()) + ". Gra toczy się dalej bez dźwięku");
    }
    MPWav.Play();
}

void TFoRpgGra::ClearStep() {
    MeOpis->clear();
    for (platform::TLabel* label : ChoiceLabels()) {
        label->SetCaption({});
    }
    FillPictureArea();
    MPWav.Close();
}

void TFoRpgGra::ApplyChoiceButtons(std::uint8_t Typ) {
    // Nothing counts the buttons open now: a type that carries them over answers nullopt and leaves them.
    if (const std::optional<int> open = scenario::OpenAfter(Typ, std::nullopt)) {
        SetChoicesOpen(*open);
    }
}

void TFoRpgGra::EndOfGame() {
    Messages().ShowMessage("To juz koniec gry");
}

void TFoRpgGra::AnnounceStep() {
    if (quiet_) {
        return;
    }
    StepTexts step{MeOpis->toPlainText(), {}};
    const auto buttons = ChoiceButtons();
    const auto labels = ChoiceLabels();
    for (std::size_t k = 0; k < step.choices.size(); ++k) {
        step.choices[k] = {labels[k]->VisibleText(), buttons[k]->isEnabled()};
    }
    Announcer->Announce(StepAnnouncement(step));
}

std::array<QPushButton*, 4> TFoRpgGra::ChoiceButtons() const {
    return {BuWybor1, BuWybor2, BuWybor3, BuWybor4};
}

std::array<platform::TLabel*, 4> TFoRpgGra::ChoiceLabels() const {
    return {LaWybor1, LaWybor2, LaWybor3, LaWybor4};
}

void TFoRpgGra::SetChoicesOpen(int n) {
    int k = 0;
    for (QPushButton* button : ChoiceButtons()) {
        button->setEnabled(k++ < n);
    }
}

void TFoRpgGra::PaObrazekPaint() {
    FillPictureArea();
    const platform::MediaLookup picture = StepPicture(mediaFolder_, Krok());
    if (picture.result != platform::MediaLookup::Result::Present) {
        return;
    }
    // A picture that no longer loads leaves the plain area: reporting it on every repaint would bury the
    // window under error boxes, and the step's presentation has already reported it once.
    try {
        Obrazek = platform::LoadBmpFile(picture.path);
    } catch (const platform::BitmapError&) {
        return;
    }
    DrawPicture();
}

void TFoRpgGra::FillPictureArea() {
    // The outline falls just outside the 128 x 128 area, so only the fill shows.
    platform::Rectangle(PaObrazek->Canvas(), -1, -1, 129, 129, palette().color(QPalette::Button));
    PaObrazek->Drawn();
}

void TFoRpgGra::DrawPicture() {
    const int w = Obrazek.width();
    const int h = Obrazek.height();
    // Integer halves: an odd size is drawn one pixel smaller, and a large picture is cut at the edges.
    const int left = Srodek - w / 2;
    const int top = Srodek - h / 2;
    const int right = Srodek + w / 2;
    const int bottom = Srodek + h / 2;
    ObrazekRect = QRect(left, top, right - left, bottom - top);
    platform::CopyRect(PaObrazek->Canvas(), ObrazekRect, Obrazek, QRect(0, 0, w, h));
    PaObrazek->Drawn();
}

} // namespace game
