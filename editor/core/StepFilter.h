#pragma once
// Finding steps by number, label, name or any of their texts, ignoring letter case and Polish diacritics:
// "zolw" finds "żółw", "ZÓŁW" and "Żółw".

#include "editor/core/StepView.h"

#include <string>
#include <string_view>

namespace editor {

// Lower case ASCII, and the Polish letters (ą ć ę ł ń ó ś ź ż and their capitals) as their plain letters.
std::string FoldForSearch(std::string_view utf8);

// True when `foldedQuery` (folded by FoldForSearch) is empty, is the step's number, or lies in its label
// (with or without its '@'), name, picture, sound, description or a choice's text.
bool StepMatches(const StepView& step, std::string_view foldedQuery);

} // namespace editor
