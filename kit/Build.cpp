#include "kit/Build.h"

#include "scenario/ScenarioWriter.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <sstream>

namespace kit {

std::string FolderOf(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string ReadSource(const std::string& storyPath) {
    std::ifstream in(storyPath, std::ios::binary);
    std::ostringstream text;
    if (!in || !(text << in.rdbuf())) {
        throw std::runtime_error(storyPath + ": " + std::strerror(errno == 0 ? EIO : errno));
    }
    return std::move(text).str();
}

CompiledStory LoadStory(const std::string& storyPath) {
    ParseResult result = ParseStory(ReadSource(storyPath), storyPath);
    if (!result.errors.empty()) {
        throw SourceErrors(std::move(result.errors));
    }
    return std::move(result.story);
}

std::string ScenarioPath(const CompiledStory& story, const std::string& storyPath,
                         const std::string& folder) {
    std::string name = story.scenarioName;
    if (name.empty()) {
        const std::size_t slash = storyPath.find_last_of('/');
        name = storyPath.substr(slash == std::string::npos ? 0 : slash + 1);
        name = name.substr(0, name.find('.'));
    }
    return (folder.empty() || folder.back() == '/' ? folder : folder + "/") + name + ".Kro";
}

std::unique_ptr<MemoryInput> CompiledInput(const CompiledStory& story, const std::string& kroPath,
                                           const std::string& folder) {
    std::vector<scenario::TKrokRec> records;
    std::vector<std::uint8_t> types;
    records.reserve(story.records.size());
    types.reserve(story.records.size());
    for (const scenario::StepRecord& step : story.records) {
        records.push_back(scenario::EncodeStep(step));
        types.push_back(step.Typ);
    }
    return std::make_unique<MemoryInput>(kroPath, folder, std::move(records), std::move(types));
}

void WriteStory(const CompiledStory& story, const std::string& kroPath, bool replace) {
    scenario::WriteScenario(kroPath, story.records, replace);
}

} // namespace kit
