#include "data/file_lookup.h"

#include "framework/text_compare.h"

namespace tabulix::data {

std::filesystem::path findFileIgnoringCase(const std::filesystem::path& path) {
    std::error_code error;
    if (std::filesystem::exists(path, error)) return path;
    const std::filesystem::path folder = path.has_parent_path() ? path.parent_path() : std::filesystem::path(".");
    const std::string wanted = path.filename().string();
    for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end; it.increment(error))
        if (framework::sameText(it->path().filename().string(), wanted))
            return path.has_parent_path() ? it->path() : it->path().filename();
    return path;
}

}  // namespace tabulix::data
