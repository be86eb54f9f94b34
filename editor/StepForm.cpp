#include "editor/StepForm.h"

#include "scenario/Records.h"
#include "scenario/StepTypes.h"

#include <QCompleter>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace editor {

namespace {

int Length(const QString& text) {
    return static_cast<int>(text.toUcs4().size());
}

// The field a count label counts, kept on the label (a buddy would make it the field's second label).
constexpr const char* CountOf = "przygodaCountOf";

void CountsFor(QLabel* label, QWidget* field) {
    label->setProperty(CountOf, QVariant::fromValue(static_cast<QObject*>(field)));
}

void SetCount(QLabel* label, const QString& text, int max) {
    label->setText(CountText(text, max));
    label->setStyleSheet(Length(text) > max ? "color: #b71c1c; font-weight: bold" : QString());
    label->setAccessibleName(label->text());
    // The field says its count in words when it is reached: "183 z 250 znaków".
    if (auto* field = qobject_cast<QWidget*>(label->property(CountOf).value<QObject*>())) {
        field->setAccessibleDescription(
            Length(text) > max ? StepForm::tr("%1 z %2 znaków – za długi").arg(Length(text)).arg(max)
                               : StepForm::tr("%1 z %2 znaków").arg(Length(text)).arg(max));
    }
}

// Sets a field's text only when it differs, so that the cursor of the field being typed in stays put.
void Show(QLineEdit* edit, const std::string& utf8) {
    const QString text = QString::fromStdString(utf8);
    if (edit->text() != text) {
        edit->setText(text);
    }
}

void ShowChoice(QComboBox* box, const std::string& utf8) {
    const QString text = QString::fromStdString(utf8);
    if (box->currentText() != text) {
        box->setEditText(text);
    }
}

QString TypeText(int typ) {
    const QString name =
        QString::fromUtf8(scenario::TypeName(static_cast<std::uint8_t>(typ)).data(),
                          static_cast<qsizetype>(scenario::TypeName(static_cast<std::uint8_t>(typ)).size()));
    const std::optional<int> open = scenario::OpenChoices(static_cast<std::uint8_t>(typ));
    QString buttons;
    if (typ == scenario::TypKoniec) {
        buttons = StepForm::tr("koniec gry");
    } else if (!open) {
        buttons = StepForm::tr("przyciski jak na poprzednim kroku");
    } else if (*open == 1) {
        buttons = StepForm::tr("przycisk 1");
    } else {
        buttons = StepForm::tr("przyciski 1–%1").arg(*open);
    }
    return name.isEmpty() ? QStringLiteral("%1 – %2").arg(typ).arg(buttons)
                          : QStringLiteral("%1 %2 – %3").arg(typ).arg(name, buttons);
}

} // namespace

QString CountText(const QString& text, int max) {
    const int n = Length(text);
    return n > max ? StepForm::tr("%1/%2 – za długi").arg(n).arg(max)
                   : QStringLiteral("%1/%2").arg(n).arg(max);
}

StepForm::StepForm(StoryDocument& document, IFormMedia& media, QWidget* parent)
    : QWidget(parent), document_(document), media_(media) {
    auto* form = new QFormLayout(this);
    form->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);

    Nazwa = new QLineEdit;
    Nazwa->setObjectName("Nazwa");
    NazwaCount = new QLabel;
    CountsFor(NazwaCount, Nazwa);
    auto* nazwaRow = new QHBoxLayout;
    nazwaRow->addWidget(Nazwa, 1);
    nazwaRow->addWidget(NazwaCount);
    form->addRow(AddLabel(tr("&Nazwa"), Nazwa), nazwaRow);

    Typ = new QComboBox;
    Typ->setObjectName("Typ");
    for (int t = 0; t <= 5; ++t) {
        Typ->addItem(TypeText(t), t);
    }
    form->addRow(AddLabel(tr("&Typ"), Typ), Typ);

    Obraz = new QComboBox;
    Obraz->setObjectName("Obraz");
    Obraz->setEditable(true);
    Obraz->setInsertPolicy(QComboBox::NoInsert);
    ObrazPreview = new QLabel;
    ObrazPreview->setObjectName("ObrazPodglad");
    ObrazPreview->setMinimumSize(160, 120);
    ObrazPreview->setAlignment(Qt::AlignCenter);
    ObrazPreview->setFrameShape(QFrame::StyledPanel);
    auto* obrazColumn = new QVBoxLayout;
    obrazColumn->addWidget(Obraz);
    obrazColumn->addWidget(ObrazPreview);
    form->addRow(AddLabel(tr("&Obraz"), Obraz), obrazColumn);

    Dzwiek = new QComboBox;
    Dzwiek->setObjectName("Dzwiek");
    Dzwiek->setEditable(true);
    Dzwiek->setInsertPolicy(QComboBox::NoInsert);
    DzwiekPlay = new QPushButton(tr("Odtwórz"));
    DzwiekPlay->setObjectName("DzwiekOdtworz");
    auto* dzwiekRow = new QHBoxLayout;
    dzwiekRow->addWidget(Dzwiek, 1);
    dzwiekRow->addWidget(DzwiekPlay);
    form->addRow(AddLabel(tr("&Dźwięk"), Dzwiek), dzwiekRow);

    Opis = new QPlainTextEdit;
    Opis->setObjectName("Opis");
    Opis->setTabChangesFocus(true);
    // The document keeps the one history for every view.
    Opis->setUndoRedoEnabled(false);
    OpisCount = new QLabel;
    CountsFor(OpisCount, Opis);
    auto* opisColumn = new QVBoxLayout;
    opisColumn->addWidget(Opis);
    opisColumn->addWidget(OpisCount, 0, Qt::AlignRight);
    form->addRow(AddLabel(tr("Op&is"), Opis), opisColumn);

    completer_ = new QCompleter(this);
    completer_->setCaseSensitivity(Qt::CaseInsensitive);
    completer_->setFilterMode(Qt::MatchContains);
    for (int k = 1; k <= 4; ++k) {
        const std::size_t i = static_cast<std::size_t>(k - 1);
        Wybor[i] = new QLineEdit;
        Wybor[i]->setObjectName(QStringLiteral("Wybor%1").arg(k));
        WyborCount[i] = new QLabel;
        CountsFor(WyborCount[i], Wybor[i]);
        auto* wyborRow = new QHBoxLayout;
        wyborRow->addWidget(Wybor[i], 1);
        wyborRow->addWidget(WyborCount[i]);
        form->addRow(AddLabel(tr("Wybór &%1").arg(k), Wybor[i]), wyborRow);

        Cel[i] = new QLineEdit;
        Cel[i]->setObjectName(QStringLiteral("Cel%1").arg(k));
        Cel[i]->setCompleter(completer_);
        Cel[i]->setPlaceholderText(tr("numer, @etykieta albo nazwa kroku"));
        CelNew[i] = new QPushButton(tr("Nowy krok"));
        CelNew[i]->setObjectName(QStringLiteral("Cel%1Nowy").arg(k));
        CelNew[i]->setAccessibleName(tr("Nowy krok jako cel %1").arg(k));
        auto* celRow = new QHBoxLayout;
        celRow->addWidget(Cel[i], 1);
        celRow->addWidget(CelNew[i]);
        form->addRow(AddLabel(tr("Cel %1").arg(k), Cel[i]), celRow);

        connect(Wybor[i], &QLineEdit::textEdited, this, [this, k, i](const QString& text) {
            SetCount(WyborCount[i], text, static_cast<int>(scenario::krok::Wybor1.max));
            Edit([&](std::size_t s) { document_.SetChoiceText(s, k, text.toStdString()); });
        });
        connect(Cel[i], &QLineEdit::editingFinished, this, [this, k] { ApplyTarget(k); });
        connect(CelNew[i], &QPushButton::clicked, this, [this, k] { CreateTarget(k); });
    }

    connect(Nazwa, &QLineEdit::textEdited, this, [this](const QString& text) {
        SetCount(NazwaCount, text, static_cast<int>(scenario::krok::Nazwa.max));
        Edit([&](std::size_t s) { document_.SetName(s, text.toStdString()); });
    });
    connect(Typ, &QComboBox::activated, this, [this](int row) {
        Edit([&](std::size_t s) { document_.SetTyp(s, Typ->itemData(row).toInt()); });
    });
    connect(Obraz, &QComboBox::currentTextChanged, this, [this](const QString& text) {
        Edit([&](std::size_t s) { document_.SetPicture(s, text.toStdString()); });
        ShowPicture();
    });
    connect(Dzwiek, &QComboBox::currentTextChanged, this, [this](const QString& text) {
        Edit([&](std::size_t s) { document_.SetSound(s, text.toStdString()); });
    });
    connect(DzwiekPlay, &QPushButton::clicked, this, &StepForm::ToggleSound);
    connect(Opis, &QPlainTextEdit::textChanged, this, [this] {
        const QString text = Opis->toPlainText();
        SetCount(OpisCount, text, static_cast<int>(scenario::krok::Opis.max));
        Edit([&](std::size_t s) { document_.SetOpis(s, text.toStdString()); });
    });

    ReloadMedia();
    ShowStep(std::nullopt);
}

QLabel* StepForm::AddLabel(const QString& text, QWidget* buddy) {
    auto* label = new QLabel(text);
    label->setBuddy(buddy);
    QString name = text;
    name.remove(u'&');
    buddy->setAccessibleName(name);
    return label;
}

void StepForm::ReloadMedia() {
    const QSignalBlocker obraz(Obraz);
    const QSignalBlocker dzwiek(Dzwiek);
    const QString picture = Obraz->currentText();
    const QString sound = Dzwiek->currentText();
    Obraz->clear();
    Obraz->addItem(QString());
    Obraz->addItems(media_.Pictures());
    Dzwiek->clear();
    Dzwiek->addItem(QString());
    Dzwiek->addItems(media_.Sounds());
    Obraz->setEditText(picture);
    Dzwiek->setEditText(sound);
}

void StepForm::ShowStep(std::optional<std::size_t> index) {
    if (index && *index >= document_.StepCount()) {
        index.reset();
    }
    const bool other = index != current_;
    current_ = index;
    setEnabled(index.has_value());
    if (other && playing_) {
        ToggleSound();
    }
    filling_ = true;
    Fill(index ? document_.Step(*index) : StepView{});
    filling_ = false;
    if (other) {
        ShowPicture();
    }
    emit Shown(index);
}

void StepForm::Fill(const StepView& step) {
    Show(Nazwa, step.name);
    SetCount(NazwaCount, Nazwa->text(), static_cast<int>(scenario::krok::Nazwa.max));
    const int typ = step.typ.value_or(-1);
    int row = Typ->findData(typ);
    if (row < 0 && typ >= 0) {
        Typ->addItem(TypeText(typ), typ);
        row = Typ->count() - 1;
    }
    Typ->setCurrentIndex(row);
    ShowChoice(Obraz, step.picture);
    ShowChoice(Dzwiek, step.sound);
    const QString opis = QString::fromStdString(step.opis);
    if (Opis->toPlainText() != opis) {
        Opis->setPlainText(opis);
    }
    SetCount(OpisCount, opis, static_cast<int>(scenario::krok::Opis.max));
    for (std::size_t i = 0; i < 4; ++i) {
        Show(Wybor[i], step.choice[i]);
        SetCount(WyborCount[i], Wybor[i]->text(), static_cast<int>(scenario::krok::Wybor1.max));
        if (!Cel[i]->hasFocus()) {
            const QString target = TargetText(step.target[i]);
            if (Cel[i]->text() != target) {
                Cel[i]->setText(target);
            }
        }
    }
}

void StepForm::Edit(const std::function<void(std::size_t)>& edit) {
    if (filling_ || !current_) {
        return;
    }
    edit(*current_);
}

void StepForm::ShowPicture() {
    const QString name = Obraz->currentText().trimmed();
    ObrazPreview->clear();
    if (name.isEmpty()) {
        ObrazPreview->setText(tr("bez obrazu"));
        return;
    }
    try {
        const QImage image = media_.Picture(name);
        const QSize box = ObrazPreview->size().expandedTo(QSize(160, 120));
        ObrazPreview->setPixmap(
            QPixmap::fromImage(image.width() > box.width() || image.height() > box.height()
                                   ? image.scaled(box, Qt::KeepAspectRatio, Qt::SmoothTransformation)
                                   : image));
        ObrazPreview->setAccessibleName(
            tr("Obraz %1, %2 na %3").arg(name).arg(image.width()).arg(image.height()));
    } catch (const std::exception& e) {
        ObrazPreview->setText(QString::fromStdString(e.what()));
        ObrazPreview->setAccessibleName(ObrazPreview->text());
    }
}

void StepForm::ToggleSound() {
    if (playing_) {
        media_.StopSound();
        playing_ = false;
        DzwiekPlay->setText(tr("Odtwórz"));
        return;
    }
    const QString name = Dzwiek->currentText().trimmed();
    if (name.isEmpty()) {
        return;
    }
    try {
        media_.PlaySound(name);
        playing_ = true;
        DzwiekPlay->setText(tr("Zatrzymaj"));
    } catch (const std::exception& e) {
        emit Failed(QString::fromStdString(e.what()));
    }
}

QString StepForm::TargetText(const std::optional<ChoiceTarget>& target) const {
    if (!target) {
        return {};
    }
    if (target->kind == ChoiceTarget::Kind::Label) {
        return u'@' + QString::fromStdString(target->label);
    }
    const auto index = document_.IndexOfNumber(target->number);
    const QString number = QString::number(target->number);
    return index ? number + QStringLiteral(": ") + QString::fromStdString(document_.Step(*index).name)
                 : number;
}

std::optional<ChoiceTarget> StepForm::ParseTarget(const QString& text) const {
    const QString t = text.trimmed();
    if (t.isEmpty()) {
        return std::nullopt;
    }
    ChoiceTarget target;
    if (t.startsWith(u'@') && t.size() > 1 && !t.contains(u' ')) {
        target.kind = ChoiceTarget::Kind::Label;
        target.label = t.mid(1).toStdString();
        return target;
    }
    // "12" or "12: Nazwa" as the field shows it.
    const QString number = t.section(u':', 0, 0).trimmed();
    bool ok = false;
    const qlonglong n = number.toLongLong(&ok);
    if (ok) {
        target.number = n;
        return target;
    }
    // A step's name, the first that has it.
    const std::string name = t.toStdString();
    for (std::size_t s = 0; s < document_.StepCount(); ++s) {
        if (document_.Step(s).name == name) {
            target.number = document_.Step(s).number;
            return target;
        }
    }
    return std::nullopt;
}

void StepForm::ApplyTarget(int k) {
    if (!current_) {
        return;
    }
    const std::size_t i = static_cast<std::size_t>(k - 1);
    const auto target = ParseTarget(Cel[i]->text());
    if (!target) {
        if (!Cel[i]->text().trimmed().isEmpty()) {
            emit Said(tr("Nie ma kroku „%1”").arg(Cel[i]->text().trimmed()));
        }
        return;
    }
    const StepView& step = document_.Step(*current_);
    const auto& now = step.target[i];
    if (now && now->kind == target->kind && now->number == target->number && now->label == target->label) {
        return;
    }
    Edit([&](std::size_t s) { document_.SetChoiceTarget(s, k, *target); });
}

void StepForm::CreateTarget(int k) {
    if (!current_) {
        return;
    }
    const std::size_t created = document_.AddLinkedStep(*current_, k, "");
    emit Said(tr("Dodano krok %1 jako cel wyboru %2").arg(document_.Step(created).number).arg(k));
    emit StepCreated(created);
}

void StepForm::SetStepModel(QAbstractItemModel* model) {
    completer_->setModel(model);
}

void StepForm::FocusField(const QString& field) {
    for (QWidget* widget : findChildren<QWidget*>()) {
        if (widget->accessibleName() == field && widget->focusPolicy() != Qt::NoFocus) {
            widget->setFocus(Qt::OtherFocusReason);
            return;
        }
    }
}

} // namespace editor
