#pragma once
// What one check of the story found: the findings as `przygoda-kit check` reports them, each with where
// it points, and the marks of every step. A big story can have a hundred thousand findings, so each is
// kept as its record, line and message, the file and the step's name shared, and its line of text is made
// only when it is shown. Most messages repeat from step to step, and each is kept once.

#include "editor/core/StepMarks.h"
#include "kit/Findings.h"

#include <cstdint>
#include <deque>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace editor {

class CheckReport {
  public:
    CheckReport() = default;
    // Moved, never copied: the message index points into the report's own messages.
    CheckReport(CheckReport&&) noexcept = default;
    CheckReport& operator=(CheckReport&&) noexcept = default;

    // The document version checked: a report older than the document's edits is replaced by the next.
    std::uint64_t generation = 0;
    StepMarks marks;
    std::int64_t errors = 0;
    std::int64_t warnings = 0;

    // The finding, naming its file as `file`.
    void Add(const kit::Finding& finding, std::string_view file);
    std::size_t Size() const { return entries_.size(); }
    bool Empty() const { return entries_.empty(); }
    kit::Finding At(std::size_t i) const;
    // The finding as the toolkit prints it, without the line break.
    std::string Text(std::size_t i) const { return kit::FindingText(At(i)); }
    kit::Severity SeverityAt(std::size_t i) const { return entries_[i].severity; }
    // The source line of a mistake in the source, or 0 for a finding about a record.
    int LineAt(std::size_t i) const { return entries_[i].line; }
    std::int64_t RecordAt(std::size_t i) const { return entries_[i].record; }
    const std::string& MessageAt(std::size_t i) const { return messages_[entries_[i].message]; }

  private:
    struct Entry {
        std::int64_t record = 0;
        int line = 0;
        std::uint32_t file = 0;    // into files_
        std::uint32_t name = 0;    // into names_
        std::uint32_t message = 0; // into messages_
        kit::Severity severity = kit::Severity::Error;
    };
    static std::uint32_t Intern(std::vector<std::string>& table, std::string_view text);

    std::vector<Entry> entries_;
    std::vector<std::string> files_;
    std::vector<std::string> names_;
    std::deque<std::string> messages_; // grows without moving the messages the index points into
    std::unordered_map<std::string_view, std::uint32_t> messageIds_;
};

} // namespace editor
