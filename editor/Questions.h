#pragma once
// What the editor asks its author: questions, file names and a number; tests answer instead.

#include <QString>

#include <optional>

namespace editor {

class IQuestions {
  public:
    enum class Answer { Yes, No, Cancel };
    virtual ~IQuestions() = default;
    // A yes/no question; with `cancellable`, also Cancel (closing the box cancels).
    virtual Answer Ask(const QString& question, bool cancellable) = 0;
    // An error or a result the author must see before going on.
    virtual void Tell(const QString& message) = 0;
    // A file to open, or to save the story as; empty when the author cancels.
    virtual QString OpenPath(const QString& folder) = 0;
    virtual QString SavePath(const QString& suggested) = 0;
    // A whole number, such as a step's new number; nullopt when cancelled.
    virtual std::optional<long long> Number(const QString& question, long long value) = 0;
};

} // namespace editor
