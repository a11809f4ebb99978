#pragma once

#include <string>
#include <string_view>

namespace gfx {

// The window's title for an executable at `path`: its file name (after the last '/') without
// the extension (cut at the last dot). A name whose only dot leads it, such as ".hidden", has
// no extension and is kept whole, so the title is never empty for a non-empty name.
std::string window_title_from_path(std::string_view path);

// The running executable's path: /proc/self/exe, else the name the program was started by.
std::string executable_path();

}  // namespace gfx
