#pragma once

// Bounds-checked little-endian reads from untrusted bytes. Every read says whether the bytes
// were there; nothing past the end is ever read or made up.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

namespace gfx {

struct ByteReader {
    std::span<const std::uint8_t> bytes;

    // Whether `count` bytes starting at `offset` lie inside. Written so that no sum can wrap:
    // offset <= size is checked first, then count against what remains.
    bool has(std::uint64_t offset, std::uint64_t count) const {
        return offset <= bytes.size() && count <= bytes.size() - offset;
    }

    std::optional<std::span<const std::uint8_t>> span(std::uint64_t offset,
                                                      std::uint64_t count) const {
        if (!has(offset, count)) return std::nullopt;
        return bytes.subspan(static_cast<std::size_t>(offset), static_cast<std::size_t>(count));
    }

    std::optional<std::uint8_t> u8(std::uint64_t offset) const {
        if (!has(offset, 1)) return std::nullopt;
        return bytes[static_cast<std::size_t>(offset)];
    }

    std::optional<std::uint16_t> u16(std::uint64_t offset) const {
        if (!has(offset, 2)) return std::nullopt;
        const std::size_t at = static_cast<std::size_t>(offset);
        return static_cast<std::uint16_t>(bytes[at] | bytes[at + 1] << 8);
    }

    std::optional<std::uint32_t> u32(std::uint64_t offset) const {
        if (!has(offset, 4)) return std::nullopt;
        const std::size_t at = static_cast<std::size_t>(offset);
        return static_cast<std::uint32_t>(bytes[at]) |
               static_cast<std::uint32_t>(bytes[at + 1]) << 8 |
               static_cast<std::uint32_t>(bytes[at + 2]) << 16 |
               static_cast<std::uint32_t>(bytes[at + 3]) << 24;
    }

    // Two's complement reinterpretations, well defined in C++20.
    std::optional<std::int16_t> i16(std::uint64_t offset) const {
        const auto v = u16(offset);
        if (!v) return std::nullopt;
        return static_cast<std::int16_t>(*v);
    }

    std::optional<std::int32_t> i32(std::uint64_t offset) const {
        const auto v = u32(offset);
        if (!v) return std::nullopt;
        return static_cast<std::int32_t>(*v);
    }
};

}  // namespace gfx
