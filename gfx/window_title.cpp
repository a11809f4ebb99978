#include "gfx/window_title.h"

#include <errno.h>
#include <unistd.h>

#include <array>

namespace gfx {

std::string window_title_from_path(std::string_view path) {
    const std::size_t slash = path.rfind('/');
    std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
    const std::size_t dot = name.rfind('.');
    if (dot != std::string_view::npos && dot > 0) name = name.substr(0, dot);
    return std::string(name);
}

std::string executable_path() {
    std::array<char, 4096> buffer{};
    const ssize_t length = readlink("/proc/self/exe", buffer.data(), buffer.size());
    if (length > 0 && static_cast<std::size_t>(length) < buffer.size()) {
        std::string path(buffer.data(), static_cast<std::size_t>(length));
        // The kernel marks an executable replaced while running; that is not part of its name.
        constexpr std::string_view deleted = " (deleted)";
        if (path.ends_with(deleted)) path.resize(path.size() - deleted.size());
        return path;
    }
    return program_invocation_name != nullptr ? program_invocation_name : "";
}

}  // namespace gfx
