#include "gfx/image.h"

namespace gfx {

std::unique_ptr<Image> make_image(int width, int height, Pixel fill) {
    if (width <= 0 || height <= 0 || width > max_image_side || height > max_image_side) {
        return nullptr;
    }
    auto image = std::make_unique<Image>();
    image->width = width;
    image->height = height;
    image->pixels.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), fill);
    return image;
}

}  // namespace gfx
