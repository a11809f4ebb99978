#include "gfx/bmp_header.h"

namespace gfx {

namespace {

constexpr std::uint64_t file_header_size = 14;
constexpr std::uint32_t core_header_size = 12;
constexpr std::uint32_t info_header_size = 40;
constexpr std::uint32_t v4_header_size = 108;  // the first size that carries an alpha mask

constexpr std::uint32_t compression_plain = 0;
constexpr std::uint32_t compression_bit_fields = 3;

// The file header: signature and where the rows start.
std::optional<std::uint64_t> read_file_header(const ByteReader& file) {
    const auto b = file.u8(0);
    const auto m = file.u8(1);
    const auto offset = file.u32(10);
    if (!b || !m || !offset || *b != 'B' || *m != 'M') return std::nullopt;
    if (*offset > file.bytes.size()) return std::nullopt;
    return *offset;
}

struct InfoHeader {
    std::uint32_t size = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::uint16_t planes = 0;
    std::uint16_t bits_per_pixel = 0;
    std::uint32_t compression = compression_plain;
    std::uint32_t colours_used = 0;
    std::uint32_t masks[4] = {};  // red, green, blue, alpha; from a 108-byte header or larger
};

std::optional<InfoHeader> read_info_header(const ByteReader& file) {
    constexpr std::uint64_t at = file_header_size;
    InfoHeader h;
    const auto size = file.u32(at);
    if (!size) return std::nullopt;
    h.size = *size;
    if (h.size != core_header_size && h.size != info_header_size && h.size < v4_header_size) {
        return std::nullopt;
    }
    // The whole header must be there, even the parts we do not use.
    if (!file.has(at, h.size)) return std::nullopt;

    if (h.size == core_header_size) {
        // 16-bit sizes, read signed like the larger headers' so a negative height is top-down.
        h.width = *file.i16(at + 4);
        h.height = *file.i16(at + 6);
        h.planes = *file.u16(at + 8);
        h.bits_per_pixel = *file.u16(at + 10);
        return h;
    }
    h.width = *file.i32(at + 4);
    h.height = *file.i32(at + 8);
    h.planes = *file.u16(at + 12);
    h.bits_per_pixel = *file.u16(at + 14);
    h.compression = *file.u32(at + 16);
    h.colours_used = *file.u32(at + 32);
    if (h.size >= v4_header_size) {
        for (std::uint64_t i = 0; i < 4; ++i)
            h.masks[i] = *file.u32(at + 40 + 4 * i);
    }
    return h;
}

bool accepted_depth(std::uint16_t bits) {
    return bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
}

// Red, green, blue and alpha fields of a 16- or 32-bit pixel. Bits beyond the pixel's width
// are not part of it, so masks are cut to it. Any non-contiguous mask rejects the file.
bool set_channels(BmpFormat& f, const std::uint32_t (&masks)[4]) {
    const std::uint32_t in_pixel = f.bits_per_pixel == 16 ? 0xFFFFu : 0xFFFFFFFFu;
    const auto red = make_bit_field(masks[0] & in_pixel);
    const auto green = make_bit_field(masks[1] & in_pixel);
    const auto blue = make_bit_field(masks[2] & in_pixel);
    const auto alpha = make_bit_field(masks[3] & in_pixel);
    if (!red || !green || !blue || !alpha) return false;
    f.red = *red;
    f.green = *green;
    f.blue = *blue;
    f.alpha = *alpha;
    f.has_alpha = alpha->mask != 0;
    return true;
}

}  // namespace

std::optional<BmpFormat> read_bmp_format(const ByteReader& file) {
    const auto pixel_offset = read_file_header(file);
    if (!pixel_offset) return std::nullopt;
    const auto info = read_info_header(file);
    if (!info) return std::nullopt;

    // Kinds accepted. The core header has no compression field: it is always plain.
    if (info->planes > 1 || info->width <= 0 || info->height == 0) return std::nullopt;
    if (!accepted_depth(info->bits_per_pixel)) return std::nullopt;
    const bool bit_fields = info->compression == compression_bit_fields;
    if (info->compression != compression_plain && !bit_fields) return std::nullopt;
    if (bit_fields && info->bits_per_pixel != 16 && info->bits_per_pixel != 32) {
        return std::nullopt;
    }

    BmpFormat f;
    f.width = info->width;
    // Magnitude in 64 bits first: -INT_MIN does not fit in int32_t, but 2^31 fits in uint32_t.
    const std::int64_t height = info->height;
    f.height = static_cast<std::uint32_t>(height < 0 ? -height : height);
    f.top_down = height < 0;
    f.bits_per_pixel = info->bits_per_pixel;
    // width < 2^31 and bits <= 32, so width * bits < 2^36: no overflow in 64 bits, and the
    // stride is below 2^37. Every later row offset is checked against the file's size.
    const std::uint64_t bits =
        static_cast<std::uint64_t>(f.width) * static_cast<std::uint64_t>(f.bits_per_pixel);
    f.stride = (bits + 31) / 32 * 4;

    // Masks: after a 40-byte header when compression says bit fields, in a 108+ header itself.
    std::uint64_t after_masks = file_header_size + info->size;
    if (f.bits_per_pixel == 16 || f.bits_per_pixel == 32) {
        std::uint32_t masks[4] = {};
        if (bit_fields && info->size == info_header_size) {
            for (std::uint64_t i = 0; i < 3; ++i) {
                const auto mask = file.u32(after_masks + 4 * i);
                if (!mask) return std::nullopt;
                masks[i] = *mask;
            }
            after_masks += 12;
        } else if (bit_fields) {
            for (int i = 0; i < 3; ++i)
                masks[i] = info->masks[i];
        } else if (f.bits_per_pixel == 16) {
            masks[0] = 0x7C00;  // 5-5-5
            masks[1] = 0x03E0;
            masks[2] = 0x001F;
        } else {
            masks[0] = 0x00FF0000;
            masks[1] = 0x0000FF00;
            masks[2] = 0x000000FF;
        }
        // A 108+ header's alpha mask counts whatever the compression: it is the only place
        // a file can say it has alpha.
        masks[3] = info->masks[3];
        if (!set_channels(f, masks)) return std::nullopt;
    }
    // Rows cannot start inside the headers or masks.
    if (*pixel_offset < after_masks) return std::nullopt;
    f.pixel_offset = *pixel_offset;

    // Palette: 2^bits entries unless colours-used says fewer. A count above 2^bits is cut to
    // 2^bits, since no index can reach further. The entries read must all be in the file.
    f.palette.fill(palette_miss);
    if (f.bits_per_pixel <= 8) {
        const std::uint32_t full = 1u << f.bits_per_pixel;
        const std::uint32_t used = info->colours_used;
        const std::uint32_t count = used == 0 || used > full ? full : used;
        const std::uint64_t entry = info->size == core_header_size ? 3 : 4;
        const auto entries = file.span(after_masks, count * entry);  // <= 256 * 4
        if (!entries) return std::nullopt;
        for (std::size_t i = 0; i < count; ++i) {
            const std::uint8_t* e = entries->data() + i * entry;
            f.palette[i] = 0xFF000000u | static_cast<std::uint32_t>(e[2]) << 16 |
                           static_cast<std::uint32_t>(e[1]) << 8 | e[0];
        }
    }
    return f;
}

}  // namespace gfx
