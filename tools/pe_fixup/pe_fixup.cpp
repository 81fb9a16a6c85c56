// Frees bytes 192 to 198 of a freshly linked Windows executable for the quiz
// marker. MinGW's linker puts the PE header right after its DOS stub, at 0x80,
// so the marker bytes would fall inside the optional header. This post-link
// step moves the PE signature, file header, optional header and section table
// further down inside the header area (which the linker pads to its file
// alignment), zero-fills what they leave behind, and checks that everything
// still fits before the first section's data.
//
// usage: pe_fixup <file.exe>      (rewrites the file in place)
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

constexpr std::uint32_t marker_begin = 192;
constexpr std::uint32_t marker_end = 199;                   // one past byte 198
constexpr std::uint32_t new_header_offset = 200;            // first 8-aligned offset past the marker

std::uint16_t u16(const std::vector<unsigned char>& b, std::size_t at) {
    return static_cast<std::uint16_t>(b[at] | (b[at + 1] << 8));
}
std::uint32_t u32(const std::vector<unsigned char>& b, std::size_t at) {
    return static_cast<std::uint32_t>(b[at]) | (static_cast<std::uint32_t>(b[at + 1]) << 8) |
           (static_cast<std::uint32_t>(b[at + 2]) << 16) | (static_cast<std::uint32_t>(b[at + 3]) << 24);
}
void put_u32(std::vector<unsigned char>& b, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + i] = static_cast<unsigned char>(v >> (8 * i));
}

int fail(const char* path, const char* why) {
    std::fprintf(stderr, "pe_fixup: %s: %s\n", path, why);
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: pe_fixup <file.exe>\n");
        return 2;
    }
    const char* path = argv[1];
    std::vector<unsigned char> image;
    {
        std::ifstream in(path, std::ios::binary);
        if (!in) return fail(path, "cannot open");
        image.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    if (image.size() < 0x40 || image[0] != 'M' || image[1] != 'Z') return fail(path, "not an MZ executable");

    const std::uint32_t old_offset = u32(image, 0x3C);
    if (old_offset + 24 > image.size() || std::memcmp(&image[old_offset], "PE\0\0", 4) != 0)
        return fail(path, "no PE signature");

    const std::uint16_t section_count = u16(image, old_offset + 4 + 2);
    const std::uint16_t optional_size = u16(image, old_offset + 4 + 16);
    const std::uint32_t header_length = 4 + 20 + optional_size + 40u * section_count;
    const std::uint32_t optional_start = old_offset + 24;
    if (optional_size < 64 || old_offset + header_length > image.size())
        return fail(path, "truncated PE headers");
    const std::uint32_t size_of_headers = u32(image, optional_start + 60);

    // The headers may not reach into the first section's data.
    std::uint32_t first_data = size_of_headers;
    const std::uint32_t table = optional_start + optional_size;
    for (std::uint16_t s = 0; s < section_count; ++s) {
        const std::uint32_t raw_size = u32(image, table + 40u * s + 16);
        const std::uint32_t raw_pointer = u32(image, table + 40u * s + 20);
        if (raw_size != 0 && raw_pointer < first_data) first_data = raw_pointer;
    }

    if (old_offset < marker_end) {
        if (new_header_offset + header_length > first_data)
            return fail(path, "the PE headers do not fit below the first section once moved");
        std::memmove(&image[new_header_offset], &image[old_offset], header_length);
        std::memset(&image[old_offset], 0, new_header_offset - old_offset);
        put_u32(image, 0x3C, new_header_offset);
    }
    for (std::uint32_t i = marker_begin; i < marker_end; ++i)
        if (image[i] != 0) return fail(path, "bytes 192 to 198 are not free");

    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(image.data()), static_cast<std::streamsize>(image.size()));
    if (!out) return fail(path, "cannot write");
    return 0;
}
