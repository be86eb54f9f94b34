#pragma once
// `build`: a story source compiled and written as a scenario, both files or neither.

#include "kit/Findings.h"
#include "kit/ScenarioInput.h"
#include "kit/Source.h"

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace kit {

// Mistakes in the source, in line order, each an error about a line of it.
class SourceErrors : public std::runtime_error {
  public:
    explicit SourceErrors(std::vector<Finding> errors)
        : std::runtime_error(errors.empty() ? std::string() : FindingText(errors.front())),
          errors_(std::move(errors)) {}
    const std::vector<Finding>& errors() const { return errors_; }

  private:
    std::vector<Finding> errors_;
};

// The bytes of a story source; std::runtime_error "PATH: reason" when it cannot be read.
std::string ReadSource(const std::string& storyPath);

// Reads and compiles a story source; throws SourceErrors, or std::runtime_error when it cannot be read.
CompiledStory LoadStory(const std::string& storyPath);

// The step file a story builds into `folder`: NAME.Kro, NAME from "scenariusz" or the source's own name.
std::string ScenarioPath(const CompiledStory& story, const std::string& storyPath, const std::string& folder);

// The story's records as the scenario `build` writes at `kroPath`, in memory: what `check` and `map` read
// of a story source.
std::unique_ptr<MemoryInput> CompiledInput(const CompiledStory& story, const std::string& kroPath,
                                           const std::string& folder);

// The folder a file lies in, "." for a bare name.
std::string FolderOf(const std::string& path);

// Writes the story's scenario; scenario::WriteError when a file cannot be written or exists without
// `replace`.
void WriteStory(const CompiledStory& story, const std::string& kroPath, bool replace);

} // namespace kit
