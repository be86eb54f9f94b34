#include "editor/ButtonSearch.h"

#include "kit/Build.h"
#include "kit/Graph.h"
#include "kit/Source.h"

#include <QMetaObject>

namespace editor {

namespace {

// Empty when the story does not build.
std::vector<std::int8_t> Walk(const std::string& bytes) {
    const kit::ParseResult parsed = kit::ParseStory(bytes, "podgląd");
    if (!parsed.errors.empty()) {
        return {};
    }
    const auto input = kit::CompiledInput(parsed.story, "podgląd.Kro", ".");
    const kit::StoryGraph graph = kit::ReadGraph(*input);
    std::vector<std::int8_t> open(static_cast<std::size_t>(graph.Records()), -1);
    for (std::int64_t r = 0; r < graph.Records(); ++r) {
        if (graph.Reachable(r)) {
            open[static_cast<std::size_t>(r)] = static_cast<std::int8_t>(graph.MostOpen(r));
        }
    }
    return open;
}

} // namespace

ButtonSearch::ButtonSearch(QObject* parent) : QObject(parent) {}

ButtonSearch::~ButtonSearch() {
    if (thread_.joinable()) {
        thread_.join();
    }
}

void ButtonSearch::Request(std::function<std::string()> source) {
    if (Current()) {
        return;
    }
    if (running_) {
        again_ = std::move(source);
        return;
    }
    Start(source(), version_);
}

void ButtonSearch::Start(std::string bytes, std::uint64_t version) {
    if (thread_.joinable()) {
        thread_.join();
    }
    running_ = true;
    thread_ = std::thread([this, bytes = std::move(bytes), version] {
        std::vector<std::int8_t> open;
        bool built = true;
        try {
            open = Walk(bytes);
            built = !open.empty();
        } catch (const std::exception&) {
            built = false;
        }
        // The object outlives the thread: its destructor joins it before the queued call could be lost.
        QMetaObject::invokeMethod(
            this,
            [this, open = std::move(open), version, built]() mutable {
                running_ = false;
                if (built) {
                    Done(std::move(open), version);
                } else {
                    walked_ = version;
                }
                if (again_) {
                    auto source = std::move(again_);
                    again_ = nullptr;
                    Request(std::move(source));
                }
            },
            Qt::QueuedConnection);
    });
}

void ButtonSearch::Done(std::vector<std::int8_t> open, std::uint64_t version) {
    open_ = std::move(open);
    walked_ = version;
    emit Answered();
}

std::optional<int> ButtonSearch::MostOpen(std::int64_t number) const {
    if (number < 0 || number >= static_cast<std::int64_t>(open_.size()) ||
        open_[static_cast<std::size_t>(number)] < 0) {
        return std::nullopt;
    }
    return open_[static_cast<std::size_t>(number)];
}

} // namespace editor
