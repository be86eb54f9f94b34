#include "editor/core/CheckReport.h"

namespace editor {

std::uint32_t CheckReport::Intern(std::vector<std::string>& table, std::string_view text) {
    // A step's findings come one after another, and a report names one or two files: looking at the
    // newest entries finds nearly every repeat.
    constexpr std::size_t Recent = 4;
    for (std::size_t back = 0; back < Recent && back < table.size(); ++back) {
        const std::size_t at = table.size() - 1 - back;
        if (table[at] == text) {
            return static_cast<std::uint32_t>(at);
        }
    }
    table.emplace_back(text);
    return static_cast<std::uint32_t>(table.size() - 1);
}

void CheckReport::Add(const kit::Finding& finding, std::string_view file) {
    auto found = messageIds_.find(finding.message);
    if (found == messageIds_.end()) {
        messages_.push_back(finding.message);
        found = messageIds_.emplace(messages_.back(), static_cast<std::uint32_t>(messages_.size() - 1)).first;
    }
    entries_.push_back(Entry{finding.record, finding.line, Intern(files_, file), Intern(names_, finding.name),
                             found->second, finding.severity});
}

kit::Finding CheckReport::At(std::size_t i) const {
    const Entry& entry = entries_[i];
    return kit::Finding{files_[entry.file],       entry.record, names_[entry.name], entry.severity,
                        messages_[entry.message], entry.line};
}

} // namespace editor
