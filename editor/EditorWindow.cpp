#include "editor/EditorWindow.h"

#include "editor/CachedMediaProbe.h"
#include "editor/SoundProbe.h"
#include "editor/Typography.h"
#include "editor/core/JournalError.h"
#include "editor/core/JournalPaths.h"
#include "editor/core/JournalRecovery.h"
#include "editor/core/LineList.h"
#include "editor/core/SaveStory.h"
#include "kit/Build.h"
#include "kit/ScenarioInput.h"
#include "kit/Unpack.h"
#include "platform/Guard.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDockWidget>
#include <QFile>
#include <QFileInfo>
#include <QMenuBar>
#include <QScrollArea>
#include <QSettings>
#include <QStatusBar>
#include <QVBoxLayout>

#include <fstream>
#include <sstream>

namespace editor {

namespace {

constexpr int MostRecent = 8;
// The journal is written to the disk this soon after a change.
constexpr int JournalDelayMs = 300;
constexpr int AnnounceDelayMs = 600;

std::string ReadWhole(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        throw std::runtime_error(
            QObject::tr("Nie można otworzyć pliku %1: %2").arg(path, file.errorString()).toStdString());
    }
    const QByteArray bytes = file.readAll();
    return bytes.toStdString();
}

QSettings Settings() {
    return QSettings(QStringLiteral("przygoda"), QStringLiteral("przygoda-edytor"));
}

QDockWidget* Dock(const QString& title, const QString& name, QWidget* content, QWidget* parent) {
    auto* dock = new QDockWidget(title, parent);
    dock->setObjectName(name);
    dock->setWidget(content);
    dock->setFeatures(QDockWidget::DockWidgetMovable | QDockWidget::DockWidgetFloatable);
    return dock;
}

} // namespace

EditorWindow::EditorWindow(platform::IMediaPlayer& player, platform::IMessages& messages,
                           IQuestions& questions, QWidget* parent)
    : QMainWindow(parent), player_(player), messages_(messages), questions_(questions), media_(player) {
    setObjectName("Edytor");
    MakeViews();
    MakeMenus();
    document_.AddListener(this);
    journalTimer_ = new QTimer(this);
    journalTimer_->setSingleShot(true);
    journalTimer_->setInterval(JournalDelayMs);
    connect(journalTimer_, &QTimer::timeout, this, &EditorWindow::FlushJournal);
    const QString program = QCoreApplication::applicationFilePath();
    probe_ = std::make_shared<CachedMediaProbe>(
        [program](const QString& path) { OpenSoundElsewhere(program, path); });
    check_ = std::make_unique<BackgroundCheck>(
        [this](CheckReport report) {
            auto shared = std::make_shared<const CheckReport>(std::move(report));
            QMetaObject::invokeMethod(
                this, [this, shared = std::move(shared)] { ShowChecked(shared); }, Qt::QueuedConnection);
        },
        probe_);
    const QSettings settings = Settings();
    resize(1180, 760);
    restoreGeometry(settings.value("window/geometry").toByteArray());
    restoreState(settings.value("window/state").toByteArray());
    New();
}

EditorWindow::~EditorWindow() {
    check_.reset();
    document_.RemoveListener(this);
    // The source view leaves the document's listeners as it goes: before the document, not with the
    // window's children after it.
    delete source_;
    delete preview_;
}

void EditorWindow::MakeViews() {
    model_ = new StepListModel(document_, this);
    filterModel_ = new StepFilterModel(document_, this);
    filterModel_->setSourceModel(model_);

    auto* stepsPane = new QWidget;
    auto* stepsLayout = new QVBoxLayout(stepsPane);
    stepsLayout->setContentsMargins(0, 0, 0, 0);
    filter_ = new QLineEdit;
    filter_->setObjectName("Szukaj");
    filter_->setAccessibleName(tr("Szukaj kroku"));
    filter_->setPlaceholderText(tr("Szukaj: numer, @etykieta, nazwa, tekst"));
    filter_->setClearButtonEnabled(true);
    steps_ = new QListView;
    steps_->setObjectName("Kroki");
    steps_->setAccessibleName(tr("Kroki"));
    steps_->setModel(filterModel_);
    steps_->setUniformItemSizes(true);
    stepsLayout->addWidget(filter_);
    stepsLayout->addWidget(steps_);
    connect(filter_, &QLineEdit::textChanged, this,
            [this](const QString& text) { filterModel_->SetQuery(text); });
    connect(steps_->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) {
                if (current.isValid()) {
                    const int row = filterModel_->mapToSource(current).row();
                    if (form_->Current() != static_cast<std::size_t>(row)) {
                        form_->ShowStep(static_cast<std::size_t>(row));
                        source_->GoToLine(document_.Step(static_cast<std::size_t>(row)).firstLine);
                    }
                    map_->SelectStep(static_cast<std::size_t>(row));
                }
            });

    form_ = new StepForm(document_, media_);
    form_->SetStepModel(model_);
    auto* scroll = new QScrollArea;
    scroll->setWidget(form_);
    scroll->setWidgetResizable(true);
    setCentralWidget(scroll);
    connect(form_, &StepForm::Said, this, &EditorWindow::Say);
    connect(form_, &StepForm::Failed, this, [this](const QString& message) { questions_.Tell(message); });
    connect(form_, &StepForm::StepCreated, this, &EditorWindow::SelectStep);
    spell_ = new SpellChecker(this);
    marks_ = new FieldMarks(*form_, *spell_, this);
    connect(marks_, &FieldMarks::Said, this, &EditorWindow::Say);
    connect(marks_, &FieldMarks::Failed, this, [this](const QString& message) { questions_.Tell(message); });
    // What an action did and the problem the cursor reached, spoken while the focus stays put.
    announcer_ = new platform::TAnnouncer(this);
    // A little later than the status bar: what an action changed (the problems, the list, a closed dialog)
    // reaches the screen reader first as a flood of events, amid which it drops an announcement.
    connect(this, &EditorWindow::Said, announcer_, [this](const QString& text) {
        QTimer::singleShot(AnnounceDelayMs, announcer_, [this, text] { announcer_->Announce(text); });
    });

    source_ = new SourceView(document_);
    connect(source_, &SourceView::LineChanged, this, [this](std::size_t line) {
        if (!source_->hasFocus()) {
            return;
        }
        const auto index = document_.IndexAtLine(line);
        if (index && index != form_->Current()) {
            form_->ShowStep(*index);
            map_->SelectStep(*index);
            steps_->setCurrentIndex(filterModel_->mapFromSource(model_->index(static_cast<int>(*index))));
        }
    });

    preview_ = new StepPreview(document_, [this] { return file_.folder; });
    connect(form_, &StepForm::Shown, preview_, &StepPreview::ShowStep);
    play_ = new PlayTest(messages_, player_, this);
    connect(play_, &PlayTest::Started, preview_, [this] { preview_->SetPaused(true); });
    connect(play_, &PlayTest::Finished, this, [this](std::int32_t shown) {
        preview_->SetPaused(false);
        if (const auto index = document_.IndexOfNumber(shown)) {
            SelectStep(*index);
        }
        activateWindow();
    });

    problems_ = new ProblemsPanel;
    connect(problems_, &ProblemsPanel::Activated, this, &EditorWindow::GoToProblem);

    addDockWidget(Qt::LeftDockWidgetArea, Dock(tr("Kroki"), "DokKroki", stepsPane, this));
    addDockWidget(Qt::RightDockWidgetArea, Dock(tr("Źródło"), "DokZrodlo", source_, this));
    addDockWidget(Qt::BottomDockWidgetArea, Dock(tr("Problemy"), "DokProblemy", problems_, this));
    addDockWidget(Qt::RightDockWidgetArea, Dock(tr("Podgląd"), "DokPodglad", preview_, this));

    map_ = new StoryMap(document_);
    connect(map_, &StoryMap::StepSelected, this, &EditorWindow::SelectStep);
    connect(map_, &StoryMap::StepOpened, this, [this](std::size_t index) {
        SelectStep(index);
        form_->Nazwa->setFocus(Qt::OtherFocusReason);
    });
    addDockWidget(Qt::RightDockWidgetArea, Dock(tr("Mapa"), "DokMapa", map_, this));
    statusBar()->setObjectName("Stan");
}

void EditorWindow::MakeMenus() {
    QMenu* plik = menuBar()->addMenu(tr("&Plik"));
    plik->addAction(tr("&Nowy"), QKeySequence::New, this, [this] {
        if (MaySetStoryAside()) {
            New();
        }
    });
    plik->addAction(tr("&Otwórz…"), QKeySequence::Open, this, [this] {
        const QString path = questions_.OpenPath(file_.folder);
        if (!path.isEmpty()) {
            Open(path);
        }
    });
    recent_ = plik->addMenu(tr("Ostatnio &otwierane"));
    FillRecentMenu();
    plik->addSeparator();
    plik->addAction(tr("&Zapisz"), QKeySequence::Save, this, [this] { Save(); });
    plik->addAction(tr("Zapisz &jako…"), QKeySequence::SaveAs, this, [this] { SaveAs(); });
    plik->addAction(tr("Zbuduj &scenariusz"), QKeySequence(Qt::CTRL | Qt::Key_B), this, [this] { Build(); });
    plik->addSeparator();
    plik->addAction(tr("Za&kończ"), QKeySequence::Quit, this, &QWidget::close);

    QMenu* edycja = menuBar()->addMenu(tr("&Edycja"));
    undo_ = edycja->addAction(tr("&Cofnij"), QKeySequence::Undo, this, [this] { document_.Undo(); });
    redo_ = edycja->addAction(tr("&Ponów"), QKeySequence::Redo, this, [this] { document_.Redo(); });
    // The views' own undo would bypass the story's one history.
    undo_->setShortcutContext(Qt::ApplicationShortcut);
    redo_->setShortcutContext(Qt::ApplicationShortcut);
    edycja->addSeparator();
    edycja->addAction(tr("&Szukaj kroku"), QKeySequence::Find, this, [this] {
        filter_->setFocus(Qt::ShortcutFocusReason);
        filter_->selectAll();
    });
    FillInsertMenu(edycja->addMenu(tr("&Wstaw")), *form_);
    QAction* spelling =
        edycja->addAction(tr("Sprawdzaj &pisownię"), QKeySequence(Qt::Key_F7), this, [this](bool on) {
            spell_->SetEnabled(on);
            Settings().setValue("spell/enabled", on);
            Say(on ? tr("Sprawdzanie pisowni włączone") : tr("Sprawdzanie pisowni wyłączone"));
        });
    spelling->setCheckable(true);
    spelling->setChecked(Settings().value("spell/enabled", true).toBool());
    spell_->SetEnabled(spelling->isChecked());

    QMenu* krok = menuBar()->addMenu(tr("&Krok"));
    krok->addAction(tr("&Dodaj krok"), QKeySequence(Qt::CTRL | Qt::Key_T), this, &EditorWindow::AddStep);
    krok->addAction(tr("D&uplikuj krok"), QKeySequence(Qt::CTRL | Qt::Key_D), this,
                    &EditorWindow::DuplicateStep);
    krok->addAction(tr("&Usuń krok"), QKeySequence(Qt::CTRL | Qt::Key_Delete), this,
                    &EditorWindow::DeleteStep);
    krok->addAction(tr("Przesuń w &górę"), QKeySequence(Qt::ALT | Qt::Key_Up), this,
                    [this] { MoveStep(-1); });
    krok->addAction(tr("Przesuń w &dół"), QKeySequence(Qt::ALT | Qt::Key_Down), this,
                    [this] { MoveStep(1); });
    krok->addAction(tr("Zmień &numer…"), QKeySequence(Qt::CTRL | Qt::Key_R), this,
                    &EditorWindow::RenumberStep);

    QMenu* gra = menuBar()->addMenu(tr("&Gra"));
    gra->addAction(tr("Graj od tego &kroku"), QKeySequence(Qt::Key_F5), this, &EditorWindow::PlayFromHere);
    gra->addAction(tr("Graj od &początku"), QKeySequence(Qt::SHIFT | Qt::Key_F5), this,
                   &EditorWindow::PlayFromStart);

    QMenu* widok = menuBar()->addMenu(tr("&Widok"));
    widok->addAction(tr("&Kroki"), QKeySequence(Qt::CTRL | Qt::Key_1), this,
                     [this] { steps_->setFocus(Qt::ShortcutFocusReason); });
    widok->addAction(tr("&Formularz"), QKeySequence(Qt::CTRL | Qt::Key_2), this,
                     [this] { form_->Nazwa->setFocus(Qt::ShortcutFocusReason); });
    widok->addAction(tr("Ź&ródło"), QKeySequence(Qt::CTRL | Qt::Key_3), this,
                     [this] { source_->setFocus(Qt::ShortcutFocusReason); });
    widok->addAction(tr("&Problemy"), QKeySequence(Qt::CTRL | Qt::Key_4), this,
                     [this] { problems_->setFocus(Qt::ShortcutFocusReason); });
    widok->addAction(tr("&Mapa"), QKeySequence(Qt::CTRL | Qt::Key_5), this,
                     [this] { map_->View()->setFocus(Qt::ShortcutFocusReason); });
    map_->FillMenu(menuBar()->addMenu(tr("&Mapa")));
    UpdateHistoryActions();
}

void EditorWindow::New() {
    StoryDocument first;
    first.AddStep(tr("Początek").toStdString());
    Load(first.Bytes(), StoryFile{});
}

bool EditorWindow::Open(const QString& path) {
    if (!MaySetStoryAside()) {
        return false;
    }
    return platform::Guard(messages_, [&] {
        const QFileInfo info(path);
        StoryFile file;
        file.folder = info.absolutePath();
        std::string bytes;
        if (info.suffix().compare(u"txt", Qt::CaseInsensitive) == 0) {
            bytes = ReadWhole(path);
            file.path = info.absoluteFilePath();
            file.own = true;
        } else {
            // A scenario becomes a new story: its source is written only when the author saves it.
            kit::FileInput input(info.absoluteFilePath().toStdString());
            std::ostringstream source;
            const std::string name = info.completeBaseName().toStdString();
            kit::Unpack(input, name, source);
            bytes = source.str();
            file.suggested = info.absolutePath() + u'/' + info.completeBaseName() + QStringLiteral(".txt");
        }
        Load(std::move(bytes), file);
        OfferRecovery();
        RememberRecent(info.absoluteFilePath());
        Say(tr("Otwarto %1").arg(info.fileName()));
    });
}

void EditorWindow::Load(std::string bytes, StoryFile file) {
    if (journal_) {
        journal_->Close(true);
        journal_.reset();
    }
    file_ = std::move(file);
    media_.SetFolder(file_.folder);
    spell_->SetStoryPath(file_.path);
    document_.SetFileName(CheckedName().toStdString());
    map_->Hold(true); // until the story's first check is shown
    document_.Reset(bytes);
    const std::string path = file_.path.toStdString();
    journal_ = std::make_unique<JournalWriter>(path.empty() ? NewUntitledJournalPath() : JournalPathFor(path),
                                               path, bytes);
    check_->Reset(std::move(bytes), CheckedPath().toStdString());
    form_->ReloadMedia();
    SelectStep(0);
    UpdateTitle();
}

void EditorWindow::TextReset() {
    model_->Refresh();
    map_->DocumentReset();
    source_->Reload();
    UpdateHistoryActions();
}

void EditorWindow::PatchApplied(const Patch& patch) {
    journal_->Record(patch);
    if (!journalTimer_->isActive()) {
        journalTimer_->start();
    }
    check_->Apply(patch);
}

void EditorWindow::StepsChanged() {
    const auto changed = document_.ChangedStep();
    if (changed) {
        model_->RefreshStep(*changed);
    } else {
        model_->Refresh();
    }
    form_->ShowStep(form_->Current());
    map_->DocumentChanged(changed);
    map_->SelectStep(form_->Current());
    UpdateHistoryActions();
    UpdateTitle();
}

void EditorWindow::OfferRecovery() {
    const std::string path = file_.path.toStdString();
    if (path.empty()) {
        return;
    }
    const std::string journalPath = JournalPathFor(path);
    // A journal another editor is writing is that editor's: it has the story open.
    if (!QFileInfo::exists(QString::fromStdString(journalPath)) || JournalInUse(journalPath)) {
        return;
    }
    Recover(QString::fromStdString(journalPath), document_.Bytes());
}

void EditorWindow::OfferUntitledRecovery() {
    const std::vector<std::string> drafts = FindUntitledJournals();
    if (drafts.empty()) {
        return;
    }
    // The newest; older ones are offered at the next starts.
    Recover(QString::fromStdString(drafts.back()), std::string());
}

void EditorWindow::Recover(const QString& journalPath, const std::string& onDisk) {
    platform::Guard(messages_, [&] {
        const std::string journal = ReadWhole(journalPath);
        Recovered draft;
        try {
            draft = RecoverJournal(journal, onDisk);
        } catch (const JournalError& e) {
            if (questions_.Ask(tr("Dziennik zmian %1 nie da się odczytać: %2\nUsunąć go?")
                                   .arg(journalPath, QString::fromStdString(e.what())),
                               false) == IQuestions::Answer::Yes) {
                QFile::remove(journalPath);
            }
            return;
        }
        QString question =
            tr("Edytor zakończył pracę bez zapisania zmian (%1). Przywrócić je?").arg(draft.changes);
        if (!draft.warning.empty()) {
            question += u'\n' + QString::fromStdString(draft.warning);
        }
        if (questions_.Ask(question, false) != IQuestions::Answer::Yes) {
            QFile::remove(journalPath);
            return;
        }
        // One change from the file as it is to the draft: it can be undone, and the journal records it.
        const std::vector<std::string> lines = SplitLines(draft.bytes);
        document_.ReplaceLines(0, document_.Text().LineCount(), lines);
        if (journalPath.toStdString() != journal_->JournalPath()) {
            QFile::remove(journalPath);
        }
        FlushJournal();
        SelectStep(0);
        Say(tr("Przywrócono niezapisane zmiany"));
    });
}

void EditorWindow::FlushJournal() {
    platform::Guard(messages_, [this] { journal_->Flush(); });
}

void EditorWindow::SelectStep(std::size_t index) {
    if (index >= document_.StepCount()) {
        form_->ShowStep(std::nullopt);
        return;
    }
    form_->ShowStep(index);
    map_->SelectStep(index);
    const QModelIndex row = filterModel_->mapFromSource(model_->index(static_cast<int>(index)));
    if (row.isValid()) {
        steps_->setCurrentIndex(row);
        steps_->scrollTo(row);
    }
    source_->GoToLine(document_.Step(index).firstLine);
}

bool EditorWindow::MaySetStoryAside() {
    if (!document_.Modified()) {
        return true;
    }
    const QString name = file_.path.isEmpty() ? tr("nowej historii") : QFileInfo(file_.path).fileName();
    switch (questions_.Ask(tr("Zapisać zmiany w %1?").arg(name), true)) {
    case IQuestions::Answer::Yes:
        return Save();
    case IQuestions::Answer::No:
        return true;
    case IQuestions::Answer::Cancel:
        break;
    }
    return false;
}

bool EditorWindow::Save() {
    if (file_.path.isEmpty() || !file_.own) {
        return SaveAs();
    }
    return WriteTo(file_.path);
}

bool EditorWindow::SaveAs() {
    const QString path = questions_.SavePath(file_.path.isEmpty() ? file_.suggested : file_.path);
    if (path.isEmpty()) {
        return false;
    }
    if (QFileInfo(path).absoluteFilePath() != file_.path && QFileInfo::exists(path) &&
        questions_.Ask(tr("Plik %1 już istnieje. Zastąpić go?").arg(QFileInfo(path).fileName()), false) !=
            IQuestions::Answer::Yes) {
        return false;
    }
    return WriteTo(path);
}

bool EditorWindow::WriteTo(const QString& path) {
    return platform::Guard(messages_, [&] {
        const QFileInfo info(path);
        const std::string bytes = document_.Bytes();
        SaveStory(info.absoluteFilePath().toStdString(), bytes, journal_.get());
        file_.path = info.absoluteFilePath();
        file_.folder = info.absolutePath();
        file_.own = true;
        media_.SetFolder(file_.folder);
        spell_->SetStoryPath(file_.path);
        document_.SetFileName(CheckedName().toStdString());
        document_.MarkSaved();
        check_->Reset(bytes, CheckedPath().toStdString());
        RememberRecent(file_.path);
        UpdateTitle();
        Say(tr("Zapisano %1").arg(info.fileName()));
    });
}

bool EditorWindow::Build() {
    return platform::Guard(messages_, [&] {
        const std::string storyPath = CheckedPath().toStdString();
        const kit::ParseResult parsed = kit::ParseStory(document_.Bytes(), storyPath);
        if (!parsed.errors.empty()) {
            const kit::Finding& first = parsed.errors.front();
            throw std::runtime_error(tr("Historia ma błędy (%1); popraw je przed zbudowaniem.")
                                         .arg(parsed.errors.size())
                                         .toStdString() +
                                     "\n" + first.file + ":" + std::to_string(first.line) + ": " +
                                     first.message);
        }
        const std::string kro = kit::ScenarioPath(parsed.story, storyPath, file_.folder.toStdString());
        const QString kroName = QFileInfo(QString::fromStdString(kro)).fileName();
        const bool exists = QFileInfo::exists(QString::fromStdString(kro));
        if (exists && questions_.Ask(tr("Scenariusz %1 już istnieje. Zastąpić go?").arg(kroName), false) !=
                          IQuestions::Answer::Yes) {
            return;
        }
        kit::WriteStory(parsed.story, kro, exists);
        ShowChecked(std::make_shared<const CheckReport>(CheckScenarioFiles(kro, probe_.get())));
        Say(tr("Zbudowano %1: %2").arg(kroName, problems_->Summary()));
    });
}

QString EditorWindow::CheckedPath() const {
    const QString path = file_.path.isEmpty() ? file_.suggested : file_.path;
    return path.isEmpty() ? file_.folder + u'/' + tr("nowa.txt") : path;
}

QString EditorWindow::CheckedName() const {
    return file_.path.isEmpty()
               ? (file_.suggested.isEmpty() ? tr("nowa.txt") : QFileInfo(file_.suggested).fileName())
               : QFileInfo(file_.path).fileName();
}

void EditorWindow::ShowChecked(std::shared_ptr<const CheckReport> report) {
    // A source with mistakes is not checked as a story: the steps keep their last marks, as the form
    // keeps their last good state.
    const bool sourceMistakes = !report->Empty() && report->LineAt(0) > 0;
    if (!sourceMistakes) {
        model_->SetMarks(report->marks);
        map_->SetMarks(report->marks);
    }
    problems_->Show(std::move(report));
    statusBar()->showMessage(problems_->Summary());
    map_->Hold(false);
}

void EditorWindow::GoToProblem(const ProblemLocation& where) {
    if (where.line) {
        source_->GoToLine(static_cast<std::size_t>(*where.line - 1));
        source_->setFocus(Qt::OtherFocusReason);
        return;
    }
    const auto index = where.record ? document_.IndexOfNumber(*where.record) : std::nullopt;
    if (!index) {
        return;
    }
    SelectStep(*index);
    if (!where.field.isEmpty()) {
        form_->FocusField(where.field);
    } else {
        form_->Nazwa->setFocus(Qt::OtherFocusReason);
    }
}

void EditorWindow::PlayFromHere() {
    const auto current = form_->Current();
    if (!current) {
        return;
    }
    platform::Guard(messages_, [&] {
        play_->Play(document_.Bytes(), CheckedPath().toStdString(), file_.folder,
                    static_cast<std::int32_t>(document_.Step(*current).number), preview_->OpenOn(*current));
    });
}

void EditorWindow::PlayFromStart() {
    platform::Guard(messages_,
                    [&] { play_->Play(document_.Bytes(), CheckedPath().toStdString(), file_.folder, 1, 1); });
}

void EditorWindow::AddStep() {
    const std::size_t index = document_.AddStep({});
    SelectStep(index);
    form_->Nazwa->setFocus(Qt::OtherFocusReason);
    Say(tr("Dodano krok %1").arg(document_.Step(index).number));
}

void EditorWindow::DuplicateStep() {
    const auto current = form_->Current();
    if (!current) {
        return;
    }
    const std::size_t index = document_.DuplicateStep(*current);
    SelectStep(index);
    Say(tr("Powielono krok jako krok %1").arg(document_.Step(index).number));
}

void EditorWindow::DeleteStep() {
    const auto current = form_->Current();
    if (!current) {
        return;
    }
    const std::int64_t number = document_.Step(*current).number;
    const std::vector<std::size_t> leading = document_.StepsLeadingTo(*current);
    if (!leading.empty()) {
        QStringList names;
        for (std::size_t s : leading) {
            names << model_->Caption(s);
        }
        if (questions_.Ask(tr("Do kroku %1 prowadzą: %2. Ich wybory będą prowadzić do kroku 0. Usunąć krok?")
                               .arg(number)
                               .arg(names.join(u"; ")),
                           false) != IQuestions::Answer::Yes) {
            return;
        }
    }
    document_.DeleteStep(*current);
    SelectStep(std::min(*current, document_.StepCount() - 1));
    Say(tr("Usunięto krok %1").arg(number));
}

void EditorWindow::MoveStep(int delta) {
    const auto current = form_->Current();
    if (!current) {
        return;
    }
    const std::int64_t target = static_cast<std::int64_t>(*current) + delta;
    if (target < 0 || target >= static_cast<std::int64_t>(document_.StepCount())) {
        return;
    }
    document_.MoveStep(*current, delta);
    SelectStep(static_cast<std::size_t>(target));
    Say(tr("Krok ma teraz numer %1").arg(document_.Step(static_cast<std::size_t>(target)).number));
}

void EditorWindow::RenumberStep() {
    const auto current = form_->Current();
    if (!current) {
        return;
    }
    const auto number = questions_.Number(tr("Nowy numer kroku"), document_.Step(*current).number);
    if (!number) {
        return;
    }
    document_.RenumberStep(*current, *number);
    Say(tr("Krok ma teraz numer %1").arg(*number));
}

void EditorWindow::UpdateTitle() {
    const QString name = file_.path.isEmpty() ? tr("Nowa historia") : QFileInfo(file_.path).fileName();
    setWindowTitle((document_.Modified() ? QStringLiteral("*") : QString()) + name +
                   QStringLiteral(" – przygoda-edytor"));
}

void EditorWindow::UpdateHistoryActions() {
    undo_->setEnabled(document_.CanUndo());
    redo_->setEnabled(document_.CanRedo());
    undo_->setText(document_.CanUndo() ? tr("&Cofnij: %1").arg(QString::fromStdString(document_.UndoText()))
                                       : tr("&Cofnij"));
    redo_->setText(document_.CanRedo() ? tr("&Ponów: %1").arg(QString::fromStdString(document_.RedoText()))
                                       : tr("&Ponów"));
}

void EditorWindow::Say(const QString& text) {
    statusBar()->showMessage(text);
    emit Said(text);
}

void EditorWindow::RememberRecent(const QString& path) {
    QSettings settings = Settings();
    QStringList recent = settings.value("recent").toStringList();
    recent.removeAll(path);
    recent.prepend(path);
    while (recent.size() > MostRecent) {
        recent.removeLast();
    }
    settings.setValue("recent", recent);
    FillRecentMenu();
}

void EditorWindow::FillRecentMenu() {
    recent_->clear();
    const QStringList recent = Settings().value("recent").toStringList();
    for (const QString& path : recent) {
        recent_->addAction(path, this, [this, path] { Open(path); });
    }
    recent_->setEnabled(!recent.isEmpty());
}

void EditorWindow::closeEvent(QCloseEvent* event) {
    if (!MaySetStoryAside()) {
        event->ignore();
        return;
    }
    play_->Stop();
    journal_->Close(true);
    journal_.reset();
    QSettings settings = Settings();
    settings.setValue("window/geometry", saveGeometry());
    settings.setValue("window/state", saveState());
    event->accept();
}

} // namespace editor
