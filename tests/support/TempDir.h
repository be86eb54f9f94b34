#pragma once
// A fresh folder for one test or benchmark, removed with everything in it when it ends.

#include <filesystem>
#include <string>

namespace fixtures {

class TempDir {
  public:
    // Under the system's temporary folder, or under `parent`.
    TempDir();
    explicit TempDir(const std::filesystem::path& parent);
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

  private:
    std::filesystem::path path_;
};

// Makes the current directory `dir` for the lifetime of the object, as choosing a scenario does.
class CurrentDirectory {
  public:
    explicit CurrentDirectory(const std::filesystem::path& dir);
    ~CurrentDirectory();
    CurrentDirectory(const CurrentDirectory&) = delete;
    CurrentDirectory& operator=(const CurrentDirectory&) = delete;

  private:
    std::filesystem::path previous_;
};

} // namespace fixtures
