#include "scenario/TypeListName.h"

namespace scenario {

std::string TypeListName(const std::string& stepFileName) {
    const std::size_t slash = stepFileName.find_last_of('/');
    const std::size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    const std::size_t dot = stepFileName.find('.', nameStart);
    return stepFileName.substr(0, dot) + ".lis";
}

} // namespace scenario
