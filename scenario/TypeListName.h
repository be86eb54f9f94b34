#pragma once

#include <string>

namespace scenario {

// The type list that belongs to a step file: the file name cut at its first "." with ".lis" appended.
// Only the last path component is cut, so a dot in a folder name never redirects the lookup
// ("Moje.Gry/las.Kro" pairs with "Moje.Gry/las.lis"); a name without a dot gets ".lis" appended.
std::string TypeListName(const std::string& stepFileName);

// The type list file to open for a step file: TypeListName when that exists; otherwise the entry of the
// same folder whose name equals it but for letter case (ASCII and Polish letters), as a scenario copied
// from a case-insensitive disk names it ("ZAMEK.KRO" with "ZAMEK.LIS"); otherwise TypeListName again,
// so that opening it reports the missing file.
std::string FindTypeList(const std::string& stepFileName);

} // namespace scenario
