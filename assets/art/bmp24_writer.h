#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "assets/art/grid.h"

namespace art {

// The canvas as a Windows BMP: 24 bits per pixel, rows bottom-up and padded to 4 bytes, a
// 40-byte info header, no compression, 72 dpi. Empty when the canvas has no pixels.
std::vector<std::uint8_t> encode_bmp24(const Canvas& canvas);

// Writes the bytes to `path`, replacing the file; false when it cannot be written whole.
bool write_file(const std::string& path, const std::vector<std::uint8_t>& bytes);

}  // namespace art
