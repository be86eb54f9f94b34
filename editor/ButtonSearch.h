#pragma once
// The buttons open on each step of the story being edited, found by the toolkit's walk over every way of
// playing it (kit::StoryGraph): what a preview shows on a step whose type carries the buttons over. The
// walk reads the whole story, so it runs on a thread of its own, one at a time; a change made meanwhile
// is walked again once it ends. Its answers stay those of the last story that built.

#include <QObject>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace editor {

class ButtonSearch : public QObject {
    Q_OBJECT

  public:
    explicit ButtonSearch(QObject* parent = nullptr);
    ~ButtonSearch() override;

    // The story changed: the answers are old until the next walk.
    void Changed() { ++version_; }
    // Walks the story `bytes` unless the answers are of its version already, or a walk is running (which
    // then walks again as it ends, with the bytes `source` gives then).
    void Request(std::function<std::string()> source);
    bool Current() const { return walked_ == version_; }
    // The most buttons open on record `number` over every way of playing the story, nullopt when nothing
    // reaches it or no walk has answered yet.
    std::optional<int> MostOpen(std::int64_t number) const;

  signals:
    // A walk ended with new answers.
    void Answered();

  private:
    void Start(std::string bytes, std::uint64_t version);
    void Done(std::vector<std::int8_t> open, std::uint64_t version);

    std::uint64_t version_ = 1;
    std::uint64_t walked_ = 0;
    bool running_ = false;
    std::function<std::string()> again_;
    std::vector<std::int8_t> open_; // per record, -1 where nothing reaches it
    std::thread thread_;
};

} // namespace editor
