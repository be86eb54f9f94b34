#pragma once
// A process's own memory as /proc/self/status gives it, in KiB: VmHWM is its resident high-water mark.
// Read by the process itself, since a child's ru_maxrss can include its parent's memory when it was
// started with vfork (as posix_spawn does).

#include <cstdio>
#include <fstream>
#include <string>

namespace bench {

inline long StatusKiB(const std::string& key) {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.starts_with(key + ":")) {
            return std::stol(line.substr(key.size() + 1));
        }
    }
    return -1;
}

// The line a memory probe prints for bench_editor_window: "vmhwm_kb=N vmrss_kb=N".
inline void PrintPeakMemory() {
    std::printf("vmhwm_kb=%ld vmrss_kb=%ld\n", StatusKiB("VmHWM"), StatusKiB("VmRSS"));
    std::fflush(stdout);
}

} // namespace bench
