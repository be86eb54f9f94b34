#pragma once

#include <string>

namespace scenario {

// The type list that belongs to a step file: the file name cut at its first "." with ".lis" appended.
// Only the last path component is cut, so a dot in a folder name never redirects the lookup
// ("Moje.Gry/las.Kro" pairs with "Moje.Gry/las.lis"); a name without a dot gets ".lis" appended.
std::string TypeListName(const std::string& stepFileName);

} // namespace scenario
