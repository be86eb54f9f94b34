#include "editor/StoryMap.h"

#include "editor/core/FreedMemory.h"
#include "editor/core/StoryDocument.h"

#include <QAction>
#include <QMenu>
#include <QVBoxLayout>

namespace editor {

StoryMap::StoryMap(const StoryDocument& document, QWidget* parent) : QWidget(parent), document_(document) {
    setObjectName("MapaPanel");
    pool_.setMaxThreadCount(1);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    search_ = new QLineEdit;
    search_->setObjectName("SzukajNaMapie");
    search_->setAccessibleName(tr("Szukaj na mapie"));
    search_->setPlaceholderText(tr("Idź do kroku: numer, @etykieta, nazwa (Enter: następny)"));
    search_->setClearButtonEnabled(true);
    view_ = new MapView(document_);
    way_ = new QLabel;
    way_->setObjectName("Droga");
    way_->setAccessibleName(tr("Najkrótsza droga"));
    way_->setWordWrap(true);
    way_->setTextInteractionFlags(Qt::TextSelectableByKeyboard | Qt::TextSelectableByMouse);
    way_->setFocusPolicy(Qt::StrongFocus);
    layout->addWidget(search_);
    layout->addWidget(view_, 1);
    layout->addWidget(way_);

    connect(search_, &QLineEdit::returnPressed, this, &StoryMap::FindNext);
    connect(view_, &MapView::StepChosen, this, [this](std::int64_t number) {
        if (const auto index = document_.IndexOfNumber(number)) {
            emit StepSelected(*index);
        }
    });
    connect(view_, &MapView::StepOpened, this, [this](std::int64_t number) {
        if (const auto index = document_.IndexOfNumber(number)) {
            emit StepOpened(*index);
        }
    });
    connect(view_, &MapView::WayChanged, way_, &QLabel::setText);
}

StoryMap::~StoryMap() {
    // A layout under way ends before the map does; what it posts here is dropped with the map.
    pool_.waitForDone();
}

StoryMap::Signature StoryMap::SignatureOf(const StepView& step) {
    return {step.number, step.label, step.typ, step.target};
}

void StoryMap::DocumentReset() {
    view_->ExpectNewMap();
    lastQuery_.clear();
    Restructure(true);
}

void StoryMap::DocumentChanged(std::optional<std::size_t> changed) {
    if (changed && signatures_.size() == document_.StepCount() && *changed < signatures_.size() &&
        SignatureOf(document_.Step(*changed)) == signatures_[*changed]) {
        view_->update(); // a text: the map's shape is the same
        return;
    }
    Restructure(false);
}

void StoryMap::Restructure(bool full) {
    signatures_.clear();
    signatures_.reserve(document_.StepCount());
    for (std::size_t i = 0; i < document_.StepCount(); ++i) {
        signatures_.push_back(SignatureOf(document_.Step(i)));
    }
    auto structure = std::make_shared<const MapStructure>(MapStructure::Of(document_));
    if (!full && structure_ && structure->SameShape(*structure_)) {
        view_->update();
        return;
    }
    structure_ = std::move(structure);
    pending_ = pendingShape_ = true;
    pendingFull_ = pendingFull_ || full;
    if (!running_) {
        StartJob();
    }
}

void StoryMap::LayOutAgain() {
    Restructure(true);
}

void StoryMap::SetMarks(const StepMarks& marks) {
    // Every check sends marks, and most edits leave them as they were: no new overview then.
    if (marks.byRecord == marks_.byRecord) {
        return;
    }
    marks_ = marks;
    view_->SetMarks(marks);
    pending_ = true; // the overview shows them too
    if (!running_) {
        StartJob();
    }
}

void StoryMap::Hold(bool held) {
    held_ = held;
    if (!running_) {
        StartJob();
    }
}

void StoryMap::StartJob() {
    if (!pending_ || held_) {
        running_ = false;
        view_->SetBusy(false);
        return;
    }
    std::shared_ptr<const MapStructure> structure = pendingShape_ ? structure_ : nullptr;
    const bool full = pendingFull_;
    pending_ = pendingShape_ = pendingFull_ = false;
    running_ = true;
    view_->SetBusy(true);
    pool_.start([this, structure, previous = picture_, full, marks = marks_] {
        std::shared_ptr<const MapPicture> picture = previous;
        try {
            if (structure) {
                picture = MapPicture::Make(structure, previous.get(), full || !previous);
                // Shown at once, with the last overview (few steps moved), while the new one is drawn.
                QMetaObject::invokeMethod(
                    this,
                    [this, picture] {
                        picture_ = picture;
                        view_->SetPicture(picture, {});
                        ++pictures_;
                    },
                    Qt::QueuedConnection);
            }
            QImage overview = picture ? MapView::DrawOverview(*picture, marks) : QImage();
            ReturnFreedMemory();
            QMetaObject::invokeMethod(
                this,
                [this, overview = std::move(overview)] {
                    view_->SetOverview(overview);
                    StartJob();
                },
                Qt::QueuedConnection);
        } catch (const std::exception&) {
            // Out of memory for a huge map: the last picture stays.
            QMetaObject::invokeMethod(
                this, [this] { StartJob(); }, Qt::QueuedConnection);
        }
    });
}

void StoryMap::SelectStep(std::optional<std::size_t> index) {
    view_->Select(index && *index < document_.StepCount() ? std::optional(document_.Step(*index).number)
                                                          : std::nullopt);
}

void StoryMap::FindNext() {
    if (!structure_) {
        return;
    }
    const std::string query = search_->text().toStdString();
    const std::vector<NodeId> found = FindOnMap(*structure_, document_, query);
    if (found.empty()) {
        way_->setText(tr("Na mapie nie ma „%1”.").arg(search_->text()));
        return;
    }
    lastFound_ = query == lastQuery_ ? (lastFound_ + 1) % found.size() : 0;
    lastQuery_ = query;
    const std::int64_t number = structure_->Nodes()[static_cast<std::size_t>(found[lastFound_])].number;
    view_->Select(number);
    if (const auto index = document_.IndexOfNumber(number)) {
        emit StepSelected(*index);
    }
}

void StoryMap::FillMenu(QMenu* menu) {
    menu->addAction(tr("&Szukaj na mapie"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_F), this, [this] {
        search_->setFocus(Qt::ShortcutFocusReason);
        search_->selectAll();
    });
    QAction* in = menu->addAction(tr("Po&większ"), this, [this] { view_->ZoomBy(1.25); });
    in->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Equal), QKeySequence::ZoomIn});
    menu->addAction(tr("Po&mniejsz"), QKeySequence::ZoomOut, this, [this] { view_->ZoomBy(0.8); });
    menu->addAction(tr("&Cała mapa"), QKeySequence(Qt::CTRL | Qt::Key_0), this, [this] { view_->Fit(); });
    menu->addAction(tr("Pokaż &zaznaczony krok"), QKeySequence(Qt::CTRL | Qt::Key_J), this, [this] {
        view_->ShowSelected();
        view_->setFocus(Qt::ShortcutFocusReason);
    });
    menu->addAction(tr("Najkrótsza &droga"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_W), this,
                    [this] { way_->setFocus(Qt::ShortcutFocusReason); });
    menu->addSeparator();
    menu->addAction(tr("&Ułóż mapę od nowa"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_L), this,
                    &StoryMap::LayOutAgain);
}

} // namespace editor
