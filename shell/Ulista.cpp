#include "shell/Ulista.h"

#include "platform/Announcer.h"
#include "platform/Fonts.h"
#include "platform/ProgramWindows.h"

#include <QStyle>

namespace shell {

namespace {

platform::TLabel* MakeLine(QWidget* parent, const char* name, QPoint at, const QString& caption,
                           const QString& role, int pixelHeight = 13) {
    auto* label = new platform::TLabel(parent, name, QRect(at, QSize(200, 15)), role);
    label->setFont(platform::MakeFont("Times New Roman", pixelHeight));
    label->SetAlignment(Qt::AlignHCenter | Qt::AlignTop);
    label->SetCaption(caption);
    return label;
}

} // namespace

TFoLista::TFoLista(platform::IMessages& messages) : TForm(messages, "FoLista", "Lista", QSize(231, 181)) {
    setFont(platform::MakeFont("System", 13));

    BitBtn1 = new QPushButton("OK", this);
    BitBtn1->setObjectName("BitBtn1");
    BitBtn1->setGeometry(84, 152, 66, 24);
    BitBtn1->setFont(platform::MakeFont("Times New Roman", 19));
    BitBtn1->setAccessibleName("OK");
    SetDefaultButton(BitBtn1);

    Label1 = MakeLine(this, "Label1", {16, 9}, "Twórca  gry - Zespół Przygody", "Twórca gry");
    Label2 = MakeLine(this, "Label2", {17, 33}, "Twórca  edytora - Zespół Przygody", "Twórca edytora");
    Label3 = MakeLine(this, "Label3", {17, 57}, "Testerzy (dzięki za współprace):", "Testerzy");
    Label4 = MakeLine(this, "Label4", {17, 73}, "Drużyna Leśnego Młyna", "Tester");
    Label5 = MakeLine(this, "Label5", {17, 89}, "Klub Mglistej Polany", "Tester");
    Label6 = MakeLine(this, "Label6", {17, 105}, "Gracze z Doliny Szeptów", "Tester");
    Label8 = MakeLine(this, "Label8", {17, 129}, "E-mail twórcy: przygoda@example.org", "Adres twórcy", 11);

    platform::ReadLabelsOnShow(this);

    OnClick(BitBtn1, [this] { BitBtn1Click(); });
}

void TFoLista::BitBtn1Click() {
    platform::FoRPGMenu->Show();
    Hide();
}

void TFoLista::showEvent(QShowEvent* event) {
    // Looking the icon up in the icon theme takes longer than building the rest of the window, and the
    // window is built at start-up while the menu waits to be painted; so the icon comes at the first show.
    if (BitBtn1->icon().isNull()) {
        BitBtn1->setIcon(style()->standardIcon(QStyle::SP_DialogOkButton));
    }
    TForm::showEvent(event);
}

void TFoLista::FormClose() {
    platform::FoRPGMenu->Show();
    Hide();
}

} // namespace shell
