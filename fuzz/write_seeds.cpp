// Writes every BMP fixture of the decoder's tests into a directory, one file each, as the
// fuzzer's seed corpus.

#include <cstdio>
#include <fstream>
#include <string>

#include "tests/gfx_core/bmp_fixtures.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s DIRECTORY\n", argv[0]);
        return 2;
    }
    const std::string dir = argv[1];
    int written = 0;
    auto write = [&](const std::string& name, const std::vector<std::uint8_t>& bytes) {
        std::ofstream out(dir + "/" + name + ".bmp", std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()),
                  static_cast<std::streamsize>(bytes.size()));
        if (!out) {
            std::fprintf(stderr, "cannot write %s/%s.bmp\n", dir.c_str(), name.c_str());
            return false;
        }
        ++written;
        return true;
    };
    for (const auto& c : gfx_test::valid_cases()) {
        if (!write(c.name, bmp_test::build(c.description))) return 1;
    }
    for (const auto& c : gfx_test::damaged_cases()) {
        if (!write("damaged_" + c.name, c.bytes)) return 1;
    }
    std::printf("%d seeds written to %s\n", written, dir.c_str());
    return 0;
}
