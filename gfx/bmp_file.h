#pragma once

#include "gfx/bmp_decode.h"
#include "gfx/image.h"

namespace gfx {

// Opens `file_name` read-only and decodes it into `image`: cannot_open (image untouched) when
// the name is null or the file cannot be opened or read, else what decode_bmp says.
// A null image is untouched and gives bad_bitmap once the file has opened.
LoadResult load_bmp_file(const char* file_name, Image* image);

}  // namespace gfx
