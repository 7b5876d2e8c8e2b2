#pragma once
// A folder of the fuzzing process's own for the files a target rewrites for every input,
// memory-backed when the system offers it, removed when the process ends (libFuzzer ends a run
// with exit(), which destroys function-local statics).

#include <unistd.h>

#include <filesystem>
#include <string>

namespace tabulix::fuzz {

class ScratchFolder {
public:
    explicit ScratchFolder(const std::string& prefix) {
        std::error_code error;
        const std::filesystem::path base = std::filesystem::is_directory("/dev/shm", error)
                                               ? std::filesystem::path("/dev/shm")
                                               : std::filesystem::temp_directory_path();
        path_ = base / (prefix + "-" + std::to_string(getpid()));
        std::filesystem::create_directories(path_);
    }
    ~ScratchFolder() {
        std::error_code error;
        std::filesystem::remove_all(path_, error);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

}  // namespace tabulix::fuzz
