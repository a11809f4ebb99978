#include "gfx/bmp_file.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace gfx {

namespace {

// Most we read from a pipe or device: far above any bitmap we show, and a bound on memory
// when the stream never ends.
constexpr std::size_t stream_cap = std::size_t{64} << 20;
constexpr std::size_t stream_chunk = std::size_t{64} << 10;

struct FileDescriptor {
    int fd = -1;
    explicit FileDescriptor(const char* name) : fd(::open(name, O_RDONLY | O_CLOEXEC)) {}
    ~FileDescriptor() {
        if (fd >= 0) ::close(fd);
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
};

// A read-only mapping of a whole regular file. The file's size comes from the system, not
// from anything the file says about itself.
struct Mapping {
    void* address = MAP_FAILED;
    std::size_t length = 0;
    Mapping(int fd, std::size_t size) : length(size) {
        if (size > 0) address = ::mmap(nullptr, size, PROT_READ, MAP_PRIVATE, fd, 0);
    }
    ~Mapping() {
        if (address != MAP_FAILED) ::munmap(address, length);
    }
    Mapping(const Mapping&) = delete;
    Mapping& operator=(const Mapping&) = delete;
    bool ok() const { return address != MAP_FAILED; }
    std::span<const std::uint8_t> bytes() const {
        return {static_cast<const std::uint8_t*>(address), length};
    }
};

// Everything the stream gives up to the cap, grown as bytes arrive; nullopt on a read error.
std::optional<std::vector<std::uint8_t>> read_stream(int fd) {
    std::vector<std::uint8_t> data;
    while (data.size() < stream_cap) {
        const std::size_t have = data.size();
        const std::size_t want = std::min(stream_chunk, stream_cap - have);
        data.resize(have + want);
        const ssize_t got = ::read(fd, data.data() + have, want);
        if (got < 0 && errno == EINTR) {
            data.resize(have);
            continue;
        }
        if (got < 0) return std::nullopt;
        data.resize(have + static_cast<std::size_t>(got));
        if (got == 0) break;
    }
    return data;
}

LoadResult decode_into(std::span<const std::uint8_t> bytes, Image* image) {
    if (image == nullptr) return LoadResult::bad_bitmap;
    return decode_bmp(bytes, *image);
}

}  // namespace

LoadResult load_bmp_file(const char* file_name, Image* image) {
    if (file_name == nullptr) return LoadResult::cannot_open;
    const FileDescriptor file(file_name);
    if (file.fd < 0) return LoadResult::cannot_open;
    struct stat info {};
    if (::fstat(file.fd, &info) != 0 || S_ISDIR(info.st_mode)) return LoadResult::cannot_open;

    if (S_ISREG(info.st_mode)) {
        // An empty file maps to no bytes, which decode as a bad bitmap. Should the mapping
        // fail for another reason, the file is read as a stream instead.
        const std::size_t size = static_cast<std::size_t>(info.st_size);
        if (size == 0) return decode_into({}, image);
        const Mapping mapping(file.fd, size);
        if (mapping.ok()) return decode_into(mapping.bytes(), image);
    }
    const auto data = read_stream(file.fd);
    if (!data) return LoadResult::cannot_open;
    return decode_into(*data, image);
}

}  // namespace gfx
