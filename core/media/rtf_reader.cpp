#include "media/rtf_reader.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <unordered_map>
#include <utility>
#include <vector>

#include "common/cp1252.h"

// The plain text of a rich text is the text that the rich-edit control 2.0
// holds once the document is set into it, read back through the control's
// ANSI interface on a Western system (code page 1252). This reader follows
// the control's RTF reading: groups, destinations whose content is not text,
// control words and symbols, the Unicode escapes with their fallback text,
// fonts of other character sets. The choices of the control's behaviour are
// rows of the tables below (characters, code pages, control words and
// symbols), so that a row can be changed alone when the control is seen to do
// otherwise; the few that are steps of the reading say so where they are made:
// the last paragraph mark dropped, zero and line-end bytes dropped, binary
// data read as RTF outside destinations, the fallback text of \uN ended by
// anything but a character, a raw tab read as \tab.
//
// The reference is the control that the runner meets on Windows. The
// built-in control of the Wine compatibility layer, on which the runner's
// end-to-end tests run, differs from it on well-formed documents at three
// points, marked "Wine:" below: a line break inside a paragraph, text in a
// font of the symbol character set, and the results of fields.

namespace kz::rtf {
namespace {

// ---------------------------------------------------------------------------
// Characters as the ANSI interface hands them back
// ---------------------------------------------------------------------------

// The control keeps its text in Unicode. Read through the ANSI interface,
// each character goes through the system's Western code page with Windows'
// "best fit": a character that Windows-1252 lacks comes back as its closest
// Western form when Windows knows one (Greek alpha as "a", "less than or
// equal" as "=", C with caron as "C", full-width letters as their ASCII
// letter) and as "?" otherwise. These are the best-fit pairs beyond the
// characters of the code page itself, ordered by code unit.
struct BestFit {
    char16_t unit;
    unsigned char byte;
};

constexpr BestFit best_fit[] = {
    {0x0100, 0x41}, {0x0101, 0x61}, {0x0102, 0x41}, {0x0103, 0x61}, {0x0104, 0x41}, {0x0105, 0x61}, {0x0106, 0x43},
    {0x0107, 0x63}, {0x0108, 0x43}, {0x0109, 0x63}, {0x010A, 0x43}, {0x010B, 0x63}, {0x010C, 0x43}, {0x010D, 0x63},
    {0x010E, 0x44}, {0x010F, 0x64}, {0x0110, 0xD0}, {0x0111, 0x64}, {0x0112, 0x45}, {0x0113, 0x65}, {0x0114, 0x45},
    {0x0115, 0x65}, {0x0116, 0x45}, {0x0117, 0x65}, {0x0118, 0x45}, {0x0119, 0x65}, {0x011A, 0x45}, {0x011B, 0x65},
    {0x011C, 0x47}, {0x011D, 0x67}, {0x011E, 0x47}, {0x011F, 0x67}, {0x0120, 0x47}, {0x0121, 0x67}, {0x0122, 0x47},
    {0x0123, 0x67}, {0x0124, 0x48}, {0x0125, 0x68}, {0x0126, 0x48}, {0x0127, 0x68}, {0x0128, 0x49}, {0x0129, 0x69},
    {0x012A, 0x49}, {0x012B, 0x69}, {0x012C, 0x49}, {0x012D, 0x69}, {0x012E, 0x49}, {0x012F, 0x69}, {0x0130, 0x49},
    {0x0131, 0x69}, {0x0134, 0x4A}, {0x0135, 0x6A}, {0x0136, 0x4B}, {0x0137, 0x6B}, {0x0139, 0x4C}, {0x013A, 0x6C},
    {0x013B, 0x4C}, {0x013C, 0x6C}, {0x013D, 0x4C}, {0x013E, 0x6C}, {0x0141, 0x4C}, {0x0142, 0x6C}, {0x0143, 0x4E},
    {0x0144, 0x6E}, {0x0145, 0x4E}, {0x0146, 0x6E}, {0x0147, 0x4E}, {0x0148, 0x6E}, {0x014C, 0x4F}, {0x014D, 0x6F},
    {0x014E, 0x4F}, {0x014F, 0x6F}, {0x0150, 0x4F}, {0x0151, 0x6F}, {0x0154, 0x52}, {0x0155, 0x72}, {0x0156, 0x52},
    {0x0157, 0x72}, {0x0158, 0x52}, {0x0159, 0x72}, {0x015A, 0x53}, {0x015B, 0x73}, {0x015C, 0x53}, {0x015D, 0x73},
    {0x015E, 0x53}, {0x015F, 0x73}, {0x0162, 0x54}, {0x0163, 0x74}, {0x0164, 0x54}, {0x0165, 0x74}, {0x0166, 0x54},
    {0x0167, 0x74}, {0x0168, 0x55}, {0x0169, 0x75}, {0x016A, 0x55}, {0x016B, 0x75}, {0x016C, 0x55}, {0x016D, 0x75},
    {0x016E, 0x55}, {0x016F, 0x75}, {0x0170, 0x55}, {0x0171, 0x75}, {0x0172, 0x55}, {0x0173, 0x75}, {0x0174, 0x57},
    {0x0175, 0x77}, {0x0176, 0x59}, {0x0177, 0x79}, {0x0179, 0x5A}, {0x017A, 0x7A}, {0x017B, 0x5A}, {0x017C, 0x7A},
    {0x0180, 0x62}, {0x0189, 0xD0}, {0x0191, 0x83}, {0x0197, 0x49}, {0x019A, 0x6C}, {0x019F, 0x4F}, {0x01A0, 0x4F},
    {0x01A1, 0x6F}, {0x01AB, 0x74}, {0x01AE, 0x54}, {0x01AF, 0x55}, {0x01B0, 0x75}, {0x01B6, 0x7A}, {0x01C0, 0x7C},
    {0x01C3, 0x21}, {0x01CD, 0x41}, {0x01CE, 0x61}, {0x01CF, 0x49}, {0x01D0, 0x69}, {0x01D1, 0x4F}, {0x01D2, 0x6F},
    {0x01D3, 0x55}, {0x01D4, 0x75}, {0x01D5, 0x55}, {0x01D6, 0x75}, {0x01D7, 0x55}, {0x01D8, 0x75}, {0x01D9, 0x55},
    {0x01DA, 0x75}, {0x01DB, 0x55}, {0x01DC, 0x75}, {0x01DE, 0x41}, {0x01DF, 0x61}, {0x01E4, 0x47}, {0x01E5, 0x67},
    {0x01E6, 0x47}, {0x01E7, 0x67}, {0x01E8, 0x4B}, {0x01E9, 0x6B}, {0x01EA, 0x4F}, {0x01EB, 0x6F}, {0x01EC, 0x4F},
    {0x01ED, 0x6F}, {0x01F0, 0x6A}, {0x0261, 0x67}, {0x02B9, 0x27}, {0x02BA, 0x22}, {0x02BC, 0x27}, {0x02C4, 0x5E},
    {0x02C8, 0x27}, {0x02C9, 0xAF}, {0x02CA, 0xB4}, {0x02CB, 0x60}, {0x02CD, 0x5F}, {0x02DA, 0xB0}, {0x0300, 0x60},
    {0x0301, 0xB4}, {0x0302, 0x5E}, {0x0303, 0x7E}, {0x0304, 0xAF}, {0x0305, 0xAF}, {0x0308, 0xA8}, {0x030A, 0xB0},
    {0x030E, 0x22}, {0x0327, 0xB8}, {0x0331, 0x5F}, {0x0332, 0x5F}, {0x037E, 0x3B}, {0x0393, 0x47}, {0x0398, 0x54},
    {0x03A3, 0x53}, {0x03A6, 0x46}, {0x03A9, 0x4F}, {0x03B1, 0x61}, {0x03B2, 0xDF}, {0x03B4, 0x64}, {0x03B5, 0x65},
    {0x03BC, 0xB5}, {0x03C0, 0x70}, {0x03C3, 0x73}, {0x03C4, 0x74}, {0x03C6, 0x66}, {0x04BB, 0x68}, {0x0589, 0x3A},
    {0x066A, 0x25}, {0x2000, 0x20}, {0x2001, 0x20}, {0x2002, 0x20}, {0x2003, 0x20}, {0x2004, 0x20}, {0x2005, 0x20},
    {0x2006, 0x20}, {0x2010, 0x2D}, {0x2011, 0x2D}, {0x2017, 0x3D}, {0x2024, 0xB7}, {0x2032, 0x27}, {0x2035, 0x60},
    {0x2044, 0x2F}, {0x2070, 0xB0}, {0x2074, 0x34}, {0x2075, 0x35}, {0x2076, 0x36}, {0x2077, 0x37}, {0x2078, 0x38},
    {0x207F, 0x6E}, {0x2080, 0x30}, {0x2081, 0x31}, {0x2082, 0x32}, {0x2083, 0x33}, {0x2084, 0x34}, {0x2085, 0x35},
    {0x2086, 0x36}, {0x2087, 0x37}, {0x2088, 0x38}, {0x2089, 0x39}, {0x20A1, 0xA2}, {0x20A4, 0xA3}, {0x20A7, 0x50},
    {0x2102, 0x43}, {0x2107, 0x45}, {0x210A, 0x67}, {0x210B, 0x48}, {0x210C, 0x48}, {0x210D, 0x48}, {0x210E, 0x68},
    {0x2110, 0x49}, {0x2111, 0x49}, {0x2112, 0x4C}, {0x2113, 0x6C}, {0x2115, 0x4E}, {0x2118, 0x50}, {0x2119, 0x50},
    {0x211A, 0x51}, {0x211B, 0x52}, {0x211C, 0x52}, {0x211D, 0x52}, {0x2124, 0x5A}, {0x2128, 0x5A}, {0x212A, 0x4B},
    {0x212B, 0xC5}, {0x212C, 0x42}, {0x212D, 0x43}, {0x212E, 0x65}, {0x212F, 0x65}, {0x2130, 0x45}, {0x2131, 0x46},
    {0x2133, 0x4D}, {0x2134, 0x6F}, {0x2205, 0xD8}, {0x2212, 0x2D}, {0x2213, 0xB1}, {0x2215, 0x2F}, {0x2216, 0x5C},
    {0x2217, 0x2A}, {0x2218, 0xB0}, {0x2219, 0xB7}, {0x221A, 0x76}, {0x221E, 0x38}, {0x2223, 0x7C}, {0x2229, 0x6E},
    {0x2236, 0x3A}, {0x223C, 0x7E}, {0x2248, 0x98}, {0x2261, 0x3D}, {0x2264, 0x3D}, {0x2265, 0x3D}, {0x226A, 0xAB},
    {0x226B, 0xBB}, {0x22C5, 0xB7}, {0x2302, 0xA6}, {0x2303, 0x5E}, {0x2310, 0xAC}, {0x2320, 0x28}, {0x2321, 0x29},
    {0x2329, 0x3C}, {0x232A, 0x3E}, {0x2500, 0x2D}, {0x2502, 0xA6}, {0x250C, 0x2B}, {0x2510, 0x2B}, {0x2514, 0x2B},
    {0x2518, 0x2B}, {0x251C, 0x2B}, {0x2524, 0xA6}, {0x252C, 0x2D}, {0x2534, 0x2D}, {0x253C, 0x2B}, {0x2550, 0x2D},
    {0x2551, 0xA6}, {0x2552, 0x2B}, {0x2553, 0x2B}, {0x2554, 0x2B}, {0x2555, 0x2B}, {0x2556, 0x2B}, {0x2557, 0x2B},
    {0x2558, 0x2B}, {0x2559, 0x2B}, {0x255A, 0x2B}, {0x255B, 0x2B}, {0x255C, 0x2B}, {0x255D, 0x2B}, {0x255E, 0xA6},
    {0x255F, 0xA6}, {0x2560, 0xA6}, {0x2561, 0xA6}, {0x2562, 0xA6}, {0x2563, 0xA6}, {0x2564, 0x2D}, {0x2565, 0x2D},
    {0x2566, 0x2D}, {0x2567, 0x2D}, {0x2568, 0x2D}, {0x2569, 0x2D}, {0x256A, 0x2B}, {0x256B, 0x2B}, {0x256C, 0x2B},
    {0x2580, 0xAF}, {0x2584, 0x5F}, {0x2588, 0xA6}, {0x258C, 0xA6}, {0x2590, 0xA6}, {0x2591, 0xA6}, {0x2592, 0xA6},
    {0x2593, 0xA6}, {0x25A0, 0xA6}, {0x263C, 0xA4}, {0x2758, 0x7C}, {0x3000, 0x20}, {0x3008, 0x3C}, {0x3009, 0x3E},
    {0x300A, 0xAB}, {0x300B, 0xBB}, {0x301A, 0x5B}, {0x301B, 0x5D}, {0x30FB, 0xB7}, {0xFF01, 0x21}, {0xFF02, 0x22},
    {0xFF03, 0x23}, {0xFF04, 0x24}, {0xFF05, 0x25}, {0xFF06, 0x26}, {0xFF07, 0x27}, {0xFF08, 0x28}, {0xFF09, 0x29},
    {0xFF0A, 0x2A}, {0xFF0B, 0x2B}, {0xFF0C, 0x2C}, {0xFF0D, 0x2D}, {0xFF0E, 0x2E}, {0xFF0F, 0x2F}, {0xFF10, 0x30},
    {0xFF11, 0x31}, {0xFF12, 0x32}, {0xFF13, 0x33}, {0xFF14, 0x34}, {0xFF15, 0x35}, {0xFF16, 0x36}, {0xFF17, 0x37},
    {0xFF18, 0x38}, {0xFF19, 0x39}, {0xFF1A, 0x3A}, {0xFF1B, 0x3B}, {0xFF1C, 0x3C}, {0xFF1D, 0x3D}, {0xFF1E, 0x3E},
    {0xFF20, 0x40}, {0xFF21, 0x41}, {0xFF22, 0x42}, {0xFF23, 0x43}, {0xFF24, 0x44}, {0xFF25, 0x45}, {0xFF26, 0x46},
    {0xFF27, 0x47}, {0xFF28, 0x48}, {0xFF29, 0x49}, {0xFF2A, 0x4A}, {0xFF2B, 0x4B}, {0xFF2C, 0x4C}, {0xFF2D, 0x4D},
    {0xFF2E, 0x4E}, {0xFF2F, 0x4F}, {0xFF30, 0x50}, {0xFF31, 0x51}, {0xFF32, 0x52}, {0xFF33, 0x53}, {0xFF34, 0x54},
    {0xFF35, 0x55}, {0xFF36, 0x56}, {0xFF37, 0x57}, {0xFF38, 0x58}, {0xFF39, 0x59}, {0xFF3A, 0x5A}, {0xFF3B, 0x5B},
    {0xFF3C, 0x5C}, {0xFF3D, 0x5D}, {0xFF3E, 0x5E}, {0xFF3F, 0x5F}, {0xFF40, 0x60}, {0xFF41, 0x61}, {0xFF42, 0x62},
    {0xFF43, 0x63}, {0xFF44, 0x64}, {0xFF45, 0x65}, {0xFF46, 0x66}, {0xFF47, 0x67}, {0xFF48, 0x68}, {0xFF49, 0x69},
    {0xFF4A, 0x6A}, {0xFF4B, 0x6B}, {0xFF4C, 0x6C}, {0xFF4D, 0x6D}, {0xFF4E, 0x6E}, {0xFF4F, 0x6F}, {0xFF50, 0x70},
    {0xFF51, 0x71}, {0xFF52, 0x72}, {0xFF53, 0x73}, {0xFF54, 0x74}, {0xFF55, 0x75}, {0xFF56, 0x76}, {0xFF57, 0x77},
    {0xFF58, 0x78}, {0xFF59, 0x79}, {0xFF5A, 0x7A}, {0xFF5B, 0x7B}, {0xFF5C, 0x7C}, {0xFF5D, 0x7D}, {0xFF5E, 0x7E},
};

constexpr bool best_fit_is_ordered() {
    return std::is_sorted(std::begin(best_fit), std::end(best_fit),
                          [](const BestFit& a, const BestFit& b) { return a.unit < b.unit; });
}
static_assert(best_fit_is_ordered(), "best-fit pairs are looked up by halving");


// ---------------------------------------------------------------------------
// Code pages of the document's text
// ---------------------------------------------------------------------------

// Bytes of the text (raw or written \'hh) belong to the code page of the
// current font's character set. The control turns them into Unicode with that
// code page, and the ANSI interface turns them back into Windows-1252 as
// above. These are the upper halves (bytes 0x80 to 0xFF) of the single-byte
// code pages that fonts may name, as Windows maps them; the lower halves are
// ASCII.
constexpr std::array<char16_t, 128> central_european_1250 = {
    0x20AC, 0x0081, 0x201A, 0x0083, 0x201E, 0x2026, 0x2020, 0x2021, 0x0088, 0x2030, 0x0160, 0x2039,
    0x015A, 0x0164, 0x017D, 0x0179, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x0098, 0x2122, 0x0161, 0x203A, 0x015B, 0x0165, 0x017E, 0x017A, 0x00A0, 0x02C7, 0x02D8, 0x0141,
    0x00A4, 0x0104, 0x00A6, 0x00A7, 0x00A8, 0x00A9, 0x015E, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x017B,
    0x00B0, 0x00B1, 0x02DB, 0x0142, 0x00B4, 0x00B5, 0x00B6, 0x00B7, 0x00B8, 0x0105, 0x015F, 0x00BB,
    0x013D, 0x02DD, 0x013E, 0x017C, 0x0154, 0x00C1, 0x00C2, 0x0102, 0x00C4, 0x0139, 0x0106, 0x00C7,
    0x010C, 0x00C9, 0x0118, 0x00CB, 0x011A, 0x00CD, 0x00CE, 0x010E, 0x0110, 0x0143, 0x0147, 0x00D3,
    0x00D4, 0x0150, 0x00D6, 0x00D7, 0x0158, 0x016E, 0x00DA, 0x0170, 0x00DC, 0x00DD, 0x0162, 0x00DF,
    0x0155, 0x00E1, 0x00E2, 0x0103, 0x00E4, 0x013A, 0x0107, 0x00E7, 0x010D, 0x00E9, 0x0119, 0x00EB,
    0x011B, 0x00ED, 0x00EE, 0x010F, 0x0111, 0x0144, 0x0148, 0x00F3, 0x00F4, 0x0151, 0x00F6, 0x00F7,
    0x0159, 0x016F, 0x00FA, 0x0171, 0x00FC, 0x00FD, 0x0163, 0x02D9,
};
constexpr std::array<char16_t, 128> cyrillic_1251 = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021, 0x20AC, 0x2030, 0x0409, 0x2039,
    0x040A, 0x040C, 0x040B, 0x040F, 0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x0098, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F, 0x00A0, 0x040E, 0x045E, 0x0408,
    0x00A4, 0x0490, 0x00A6, 0x00A7, 0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407,
    0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6, 0x00B7, 0x0451, 0x2116, 0x0454, 0x00BB,
    0x0458, 0x0405, 0x0455, 0x0457, 0x0410, 0x0411, 0x0412, 0x0413, 0x0414, 0x0415, 0x0416, 0x0417,
    0x0418, 0x0419, 0x041A, 0x041B, 0x041C, 0x041D, 0x041E, 0x041F, 0x0420, 0x0421, 0x0422, 0x0423,
    0x0424, 0x0425, 0x0426, 0x0427, 0x0428, 0x0429, 0x042A, 0x042B, 0x042C, 0x042D, 0x042E, 0x042F,
    0x0430, 0x0431, 0x0432, 0x0433, 0x0434, 0x0435, 0x0436, 0x0437, 0x0438, 0x0439, 0x043A, 0x043B,
    0x043C, 0x043D, 0x043E, 0x043F, 0x0440, 0x0441, 0x0442, 0x0443, 0x0444, 0x0445, 0x0446, 0x0447,
    0x0448, 0x0449, 0x044A, 0x044B, 0x044C, 0x044D, 0x044E, 0x044F,
};
constexpr std::array<char16_t, 128> greek_1253 = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x0088, 0x2030, 0x008A, 0x2039,
    0x008C, 0x008D, 0x008E, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x0098, 0x2122, 0x009A, 0x203A, 0x009C, 0x009D, 0x009E, 0x009F, 0x00A0, 0x0385, 0x0386, 0x00A3,
    0x00A4, 0x00A5, 0x00A6, 0x00A7, 0x00A8, 0x00A9, 0xF8F9, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x2015,
    0x00B0, 0x00B1, 0x00B2, 0x00B3, 0x0384, 0x00B5, 0x00B6, 0x00B7, 0x0388, 0x0389, 0x038A, 0x00BB,
    0x038C, 0x00BD, 0x038E, 0x038F, 0x0390, 0x0391, 0x0392, 0x0393, 0x0394, 0x0395, 0x0396, 0x0397,
    0x0398, 0x0399, 0x039A, 0x039B, 0x039C, 0x039D, 0x039E, 0x039F, 0x03A0, 0x03A1, 0xF8FA, 0x03A3,
    0x03A4, 0x03A5, 0x03A6, 0x03A7, 0x03A8, 0x03A9, 0x03AA, 0x03AB, 0x03AC, 0x03AD, 0x03AE, 0x03AF,
    0x03B0, 0x03B1, 0x03B2, 0x03B3, 0x03B4, 0x03B5, 0x03B6, 0x03B7, 0x03B8, 0x03B9, 0x03BA, 0x03BB,
    0x03BC, 0x03BD, 0x03BE, 0x03BF, 0x03C0, 0x03C1, 0x03C2, 0x03C3, 0x03C4, 0x03C5, 0x03C6, 0x03C7,
    0x03C8, 0x03C9, 0x03CA, 0x03CB, 0x03CC, 0x03CD, 0x03CE, 0xF8FB,
};
constexpr std::array<char16_t, 128> turkish_1254 = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160, 0x2039,
    0x0152, 0x008D, 0x008E, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x009E, 0x0178, 0x00A0, 0x00A1, 0x00A2, 0x00A3,
    0x00A4, 0x00A5, 0x00A6, 0x00A7, 0x00A8, 0x00A9, 0x00AA, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x00AF,
    0x00B0, 0x00B1, 0x00B2, 0x00B3, 0x00B4, 0x00B5, 0x00B6, 0x00B7, 0x00B8, 0x00B9, 0x00BA, 0x00BB,
    0x00BC, 0x00BD, 0x00BE, 0x00BF, 0x00C0, 0x00C1, 0x00C2, 0x00C3, 0x00C4, 0x00C5, 0x00C6, 0x00C7,
    0x00C8, 0x00C9, 0x00CA, 0x00CB, 0x00CC, 0x00CD, 0x00CE, 0x00CF, 0x011E, 0x00D1, 0x00D2, 0x00D3,
    0x00D4, 0x00D5, 0x00D6, 0x00D7, 0x00D8, 0x00D9, 0x00DA, 0x00DB, 0x00DC, 0x0130, 0x015E, 0x00DF,
    0x00E0, 0x00E1, 0x00E2, 0x00E3, 0x00E4, 0x00E5, 0x00E6, 0x00E7, 0x00E8, 0x00E9, 0x00EA, 0x00EB,
    0x00EC, 0x00ED, 0x00EE, 0x00EF, 0x011F, 0x00F1, 0x00F2, 0x00F3, 0x00F4, 0x00F5, 0x00F6, 0x00F7,
    0x00F8, 0x00F9, 0x00FA, 0x00FB, 0x00FC, 0x0131, 0x015F, 0x00FF,
};
constexpr std::array<char16_t, 128> hebrew_1255 = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x008A, 0x2039,
    0x008C, 0x008D, 0x008E, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x009A, 0x203A, 0x009C, 0x009D, 0x009E, 0x009F, 0x00A0, 0x00A1, 0x00A2, 0x00A3,
    0x20AA, 0x00A5, 0x00A6, 0x00A7, 0x00A8, 0x00A9, 0x00D7, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x00AF,
    0x00B0, 0x00B1, 0x00B2, 0x00B3, 0x00B4, 0x00B5, 0x00B6, 0x00B7, 0x00B8, 0x00B9, 0x00F7, 0x00BB,
    0x00BC, 0x00BD, 0x00BE, 0x00BF, 0x05B0, 0x05B1, 0x05B2, 0x05B3, 0x05B4, 0x05B5, 0x05B6, 0x05B7,
    0x05B8, 0x05B9, 0x05BA, 0x05BB, 0x05BC, 0x05BD, 0x05BE, 0x05BF, 0x05C0, 0x05C1, 0x05C2, 0x05C3,
    0x05F0, 0x05F1, 0x05F2, 0x05F3, 0x05F4, 0xF88D, 0xF88E, 0xF88F, 0xF890, 0xF891, 0xF892, 0xF893,
    0x05D0, 0x05D1, 0x05D2, 0x05D3, 0x05D4, 0x05D5, 0x05D6, 0x05D7, 0x05D8, 0x05D9, 0x05DA, 0x05DB,
    0x05DC, 0x05DD, 0x05DE, 0x05DF, 0x05E0, 0x05E1, 0x05E2, 0x05E3, 0x05E4, 0x05E5, 0x05E6, 0x05E7,
    0x05E8, 0x05E9, 0x05EA, 0xF894, 0xF895, 0x200E, 0x200F, 0xF896,
};
constexpr std::array<char16_t, 128> arabic_1256 = {
    0x20AC, 0x067E, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0679, 0x2039,
    0x0152, 0x0686, 0x0698, 0x0688, 0x06AF, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x06A9, 0x2122, 0x0691, 0x203A, 0x0153, 0x200C, 0x200D, 0x06BA, 0x00A0, 0x060C, 0x00A2, 0x00A3,
    0x00A4, 0x00A5, 0x00A6, 0x00A7, 0x00A8, 0x00A9, 0x06BE, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x00AF,
    0x00B0, 0x00B1, 0x00B2, 0x00B3, 0x00B4, 0x00B5, 0x00B6, 0x00B7, 0x00B8, 0x00B9, 0x061B, 0x00BB,
    0x00BC, 0x00BD, 0x00BE, 0x061F, 0x06C1, 0x0621, 0x0622, 0x0623, 0x0624, 0x0625, 0x0626, 0x0627,
    0x0628, 0x0629, 0x062A, 0x062B, 0x062C, 0x062D, 0x062E, 0x062F, 0x0630, 0x0631, 0x0632, 0x0633,
    0x0634, 0x0635, 0x0636, 0x00D7, 0x0637, 0x0638, 0x0639, 0x063A, 0x0640, 0x0641, 0x0642, 0x0643,
    0x00E0, 0x0644, 0x00E2, 0x0645, 0x0646, 0x0647, 0x0648, 0x00E7, 0x00E8, 0x00E9, 0x00EA, 0x00EB,
    0x0649, 0x064A, 0x00EE, 0x00EF, 0x064B, 0x064C, 0x064D, 0x064E, 0x00F4, 0x064F, 0x0650, 0x00F7,
    0x0651, 0x00F9, 0x0652, 0x00FB, 0x00FC, 0x200E, 0x200F, 0x06D2,
};
constexpr std::array<char16_t, 128> baltic_1257 = {
    0x20AC, 0x0081, 0x201A, 0x0083, 0x201E, 0x2026, 0x2020, 0x2021, 0x0088, 0x2030, 0x008A, 0x2039,
    0x008C, 0x00A8, 0x02C7, 0x00B8, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x0098, 0x2122, 0x009A, 0x203A, 0x009C, 0x00AF, 0x02DB, 0x009F, 0x00A0, 0xF8FC, 0x00A2, 0x00A3,
    0x00A4, 0xF8FD, 0x00A6, 0x00A7, 0x00D8, 0x00A9, 0x0156, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x00C6,
    0x00B0, 0x00B1, 0x00B2, 0x00B3, 0x00B4, 0x00B5, 0x00B6, 0x00B7, 0x00F8, 0x00B9, 0x0157, 0x00BB,
    0x00BC, 0x00BD, 0x00BE, 0x00E6, 0x0104, 0x012E, 0x0100, 0x0106, 0x00C4, 0x00C5, 0x0118, 0x0112,
    0x010C, 0x00C9, 0x0179, 0x0116, 0x0122, 0x0136, 0x012A, 0x013B, 0x0160, 0x0143, 0x0145, 0x00D3,
    0x014C, 0x00D5, 0x00D6, 0x00D7, 0x0172, 0x0141, 0x015A, 0x016A, 0x00DC, 0x017B, 0x017D, 0x00DF,
    0x0105, 0x012F, 0x0101, 0x0107, 0x00E4, 0x00E5, 0x0119, 0x0113, 0x010D, 0x00E9, 0x017A, 0x0117,
    0x0123, 0x0137, 0x012B, 0x013C, 0x0161, 0x0144, 0x0146, 0x00F3, 0x014D, 0x00F5, 0x00F6, 0x00F7,
    0x0173, 0x0142, 0x015B, 0x016B, 0x00FC, 0x017C, 0x017E, 0x02D9,
};
constexpr std::array<char16_t, 128> vietnamese_1258 = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x008A, 0x2039,
    0x0152, 0x008D, 0x008E, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x009A, 0x203A, 0x0153, 0x009D, 0x009E, 0x0178, 0x00A0, 0x00A1, 0x00A2, 0x00A3,
    0x00A4, 0x00A5, 0x00A6, 0x00A7, 0x00A8, 0x00A9, 0x00AA, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x00AF,
    0x00B0, 0x00B1, 0x00B2, 0x00B3, 0x00B4, 0x00B5, 0x00B6, 0x00B7, 0x00B8, 0x00B9, 0x00BA, 0x00BB,
    0x00BC, 0x00BD, 0x00BE, 0x00BF, 0x00C0, 0x00C1, 0x00C2, 0x0102, 0x00C4, 0x00C5, 0x00C6, 0x00C7,
    0x00C8, 0x00C9, 0x00CA, 0x00CB, 0x0300, 0x00CD, 0x00CE, 0x00CF, 0x0110, 0x00D1, 0x0309, 0x00D3,
    0x00D4, 0x01A0, 0x00D6, 0x00D7, 0x00D8, 0x00D9, 0x00DA, 0x00DB, 0x00DC, 0x01AF, 0x0303, 0x00DF,
    0x00E0, 0x00E1, 0x00E2, 0x0103, 0x00E4, 0x00E5, 0x00E6, 0x00E7, 0x00E8, 0x00E9, 0x00EA, 0x00EB,
    0x0301, 0x00ED, 0x00EE, 0x00EF, 0x0111, 0x00F1, 0x0323, 0x00F3, 0x00F4, 0x01A1, 0x00F6, 0x00F7,
    0x00F8, 0x00F9, 0x00FA, 0x00FB, 0x00FC, 0x01B0, 0x20AB, 0x00FF,
};
constexpr std::array<char16_t, 128> thai_874 = {
    0x20AC, 0x0081, 0x0082, 0x0083, 0x0084, 0x2026, 0x0086, 0x0087, 0x0088, 0x0089, 0x008A, 0x008B,
    0x008C, 0x008D, 0x008E, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x0098, 0x0099, 0x009A, 0x009B, 0x009C, 0x009D, 0x009E, 0x009F, 0x00A0, 0x0E01, 0x0E02, 0x0E03,
    0x0E04, 0x0E05, 0x0E06, 0x0E07, 0x0E08, 0x0E09, 0x0E0A, 0x0E0B, 0x0E0C, 0x0E0D, 0x0E0E, 0x0E0F,
    0x0E10, 0x0E11, 0x0E12, 0x0E13, 0x0E14, 0x0E15, 0x0E16, 0x0E17, 0x0E18, 0x0E19, 0x0E1A, 0x0E1B,
    0x0E1C, 0x0E1D, 0x0E1E, 0x0E1F, 0x0E20, 0x0E21, 0x0E22, 0x0E23, 0x0E24, 0x0E25, 0x0E26, 0x0E27,
    0x0E28, 0x0E29, 0x0E2A, 0x0E2B, 0x0E2C, 0x0E2D, 0x0E2E, 0x0E2F, 0x0E30, 0x0E31, 0x0E32, 0x0E33,
    0x0E34, 0x0E35, 0x0E36, 0x0E37, 0x0E38, 0x0E39, 0x0E3A, 0xF8C1, 0xF8C2, 0xF8C3, 0xF8C4, 0x0E3F,
    0x0E40, 0x0E41, 0x0E42, 0x0E43, 0x0E44, 0x0E45, 0x0E46, 0x0E47, 0x0E48, 0x0E49, 0x0E4A, 0x0E4B,
    0x0E4C, 0x0E4D, 0x0E4E, 0x0E4F, 0x0E50, 0x0E51, 0x0E52, 0x0E53, 0x0E54, 0x0E55, 0x0E56, 0x0E57,
    0x0E58, 0x0E59, 0x0E5A, 0x0E5B, 0xF8C5, 0xF8C6, 0xF8C7, 0xF8C8,
};
constexpr std::array<char16_t, 128> dos_western_850 = {
    0x00C7, 0x00FC, 0x00E9, 0x00E2, 0x00E4, 0x00E0, 0x00E5, 0x00E7, 0x00EA, 0x00EB, 0x00E8, 0x00EF,
    0x00EE, 0x00EC, 0x00C4, 0x00C5, 0x00C9, 0x00E6, 0x00C6, 0x00F4, 0x00F6, 0x00F2, 0x00FB, 0x00F9,
    0x00FF, 0x00D6, 0x00DC, 0x00F8, 0x00A3, 0x00D8, 0x00D7, 0x0192, 0x00E1, 0x00ED, 0x00F3, 0x00FA,
    0x00F1, 0x00D1, 0x00AA, 0x00BA, 0x00BF, 0x00AE, 0x00AC, 0x00BD, 0x00BC, 0x00A1, 0x00AB, 0x00BB,
    0x2591, 0x2592, 0x2593, 0x2502, 0x2524, 0x00C1, 0x00C2, 0x00C0, 0x00A9, 0x2563, 0x2551, 0x2557,
    0x255D, 0x00A2, 0x00A5, 0x2510, 0x2514, 0x2534, 0x252C, 0x251C, 0x2500, 0x253C, 0x00E3, 0x00C3,
    0x255A, 0x2554, 0x2569, 0x2566, 0x2560, 0x2550, 0x256C, 0x00A4, 0x00F0, 0x00D0, 0x00CA, 0x00CB,
    0x00C8, 0x0131, 0x00CD, 0x00CE, 0x00CF, 0x2518, 0x250C, 0x2588, 0x2584, 0x00A6, 0x00CC, 0x2580,
    0x00D3, 0x00DF, 0x00D4, 0x00D2, 0x00F5, 0x00D5, 0x00B5, 0x00FE, 0x00DE, 0x00DA, 0x00DB, 0x00D9,
    0x00FD, 0x00DD, 0x00AF, 0x00B4, 0x00AD, 0x00B1, 0x2017, 0x00BE, 0x00B6, 0x00A7, 0x00F7, 0x00B8,
    0x00B0, 0x00A8, 0x00B7, 0x00B9, 0x00B3, 0x00B2, 0x25A0, 0x00A0,
};
constexpr std::array<char16_t, 128> mac_roman_10000 = {
    0x00C4, 0x00C5, 0x00C7, 0x00C9, 0x00D1, 0x00D6, 0x00DC, 0x00E1, 0x00E0, 0x00E2, 0x00E4, 0x00E3,
    0x00E5, 0x00E7, 0x00E9, 0x00E8, 0x00EA, 0x00EB, 0x00ED, 0x00EC, 0x00EE, 0x00EF, 0x00F1, 0x00F3,
    0x00F2, 0x00F4, 0x00F6, 0x00F5, 0x00FA, 0x00F9, 0x00FB, 0x00FC, 0x2020, 0x00B0, 0x00A2, 0x00A3,
    0x00A7, 0x2022, 0x00B6, 0x00DF, 0x00AE, 0x00A9, 0x2122, 0x00B4, 0x00A8, 0x2260, 0x00C6, 0x00D8,
    0x221E, 0x00B1, 0x2264, 0x2265, 0x00A5, 0x00B5, 0x2202, 0x2211, 0x220F, 0x03C0, 0x222B, 0x00AA,
    0x00BA, 0x2126, 0x00E6, 0x00F8, 0x00BF, 0x00A1, 0x00AC, 0x221A, 0x0192, 0x2248, 0x2206, 0x00AB,
    0x00BB, 0x2026, 0x00A0, 0x00C0, 0x00C3, 0x00D5, 0x0152, 0x0153, 0x2013, 0x2014, 0x201C, 0x201D,
    0x2018, 0x2019, 0x00F7, 0x25CA, 0x00FF, 0x0178, 0x2044, 0x20AC, 0x2039, 0x203A, 0xFB01, 0xFB02,
    0x2021, 0x00B7, 0x201A, 0x201E, 0x2030, 0x00C2, 0x00CA, 0x00C1, 0x00CB, 0x00C8, 0x00CD, 0x00CE,
    0x00CF, 0x00CC, 0x00D3, 0x00D4, 0xF8FF, 0x00D2, 0x00DA, 0x00DB, 0x00D9, 0x0131, 0x02C6, 0x02DC,
    0x00AF, 0x02D8, 0x02D9, 0x02DA, 0x00B8, 0x02DD, 0x02DB, 0x02C7,
};

// The code page in which the system's ANSI interface works, and the one of
// every font that names no character set.
constexpr int western_code_page = 1252;
// Fonts of the symbol character set (Symbol, Wingdings; the special-characters
// palette inserts its "Symbol" characters in such a font).
constexpr int symbol_code_page = 42;

struct SingleByteCodePage {
    int number;
    const std::array<char16_t, 128>* upper_half;
};

constexpr SingleByteCodePage single_byte_code_pages[] = {
    {874, &thai_874},          {1250, &central_european_1250}, {1251, &cyrillic_1251},
    {1253, &greek_1253},       {1254, &turkish_1254},          {1255, &hebrew_1255},
    {1256, &arabic_1256},      {1257, &baltic_1257},           {1258, &vietnamese_1258},
    {850, &dos_western_850},   {10000, &mac_roman_10000},
};

// The East Asian code pages write a character as a lead byte and a second
// byte. Their characters have no Western form, so a pair comes back as "?".
struct LeadByteRange {
    unsigned char first;
    unsigned char last;
};

struct DoubleByteCodePage {
    int number;
    std::array<LeadByteRange, 3> lead_bytes;  // unused ranges are {0, 0}
};

constexpr DoubleByteCodePage double_byte_code_pages[] = {
    {932, {{{0x81, 0x9F}, {0xE0, 0xFC}, {0, 0}}}},   // Japanese
    {936, {{{0x81, 0xFE}, {0, 0}, {0, 0}}}},         // simplified Chinese
    {949, {{{0x81, 0xFE}, {0, 0}, {0, 0}}}},         // Korean
    {950, {{{0x81, 0xFE}, {0, 0}, {0, 0}}}},         // traditional Chinese
    {1361, {{{0x84, 0xD3}, {0xD8, 0xDE}, {0xE0, 0xF9}}}},  // Korean (Johab)
};

// Font character sets (\fcharsetN) and their code pages. The default
// character set (1) is the system's, Western here. The OEM character set
// (255) is the DOS code page of a French system (Wine takes the one of its
// locale, 437 in English). A character set missing from the table reads as
// Western.
struct CharsetCodePage {
    int charset;
    int code_page;
};

constexpr CharsetCodePage charset_code_pages[] = {
    {0, 1252},   {1, 1252},   {2, symbol_code_page}, {77, 10000}, {128, 932},  {129, 949},
    {130, 1361}, {134, 936},  {136, 950},            {161, 1253}, {162, 1254}, {163, 1258},
    {177, 1255}, {178, 1256}, {186, 1257},           {204, 1251}, {222, 874},  {238, 1250},
    {255, 850},
};

int code_page_of_charset(std::int32_t charset) {
    for (const auto& row : charset_code_pages)
        if (row.charset == charset) return row.code_page;
    return western_code_page;
}

// A code page as the reader uses it.
struct CodePage {
    enum class Kind : std::uint8_t { western, symbol, single_byte, double_byte };
    Kind kind = Kind::western;
    const std::array<char16_t, 128>* upper_half = nullptr;
    const DoubleByteCodePage* double_byte = nullptr;

    bool is_lead_byte(unsigned char byte) const {
        if (!double_byte) return false;
        for (const auto& range : double_byte->lead_bytes)
            if (range.first != 0 && byte >= range.first && byte <= range.last) return true;
        return false;
    }
};

// A code page that the tables do not know reads as Western.
CodePage code_page(std::int32_t number) {
    if (number == symbol_code_page) return {CodePage::Kind::symbol};
    for (const auto& page : single_byte_code_pages)
        if (page.number == number) return {CodePage::Kind::single_byte, page.upper_half};
    for (const auto& page : double_byte_code_pages)
        if (page.number == number) return {CodePage::Kind::double_byte, nullptr, &page};
    return {};
}

// ---------------------------------------------------------------------------
// Control words and control symbols
// ---------------------------------------------------------------------------

enum class Action : std::uint8_t {
    none,                // formatting, or a word the plain text does not show
    character,           // puts the character `value`
    paragraph,           // ends a paragraph
    skip_destination,    // the group holds no text of the document
    object,              // an embedded object: only its result is text
    object_result,       // the result of an embedded object, shown in its place
    font_table,
    font,                // selects a font, or names one inside the font table
    font_charset,        // the character set of the font being named
    font_code_page,      // an explicit code page of the font being named
    default_font,
    plain,               // back to the default font
    document_code_page,  // the code page of fonts that the table does not hold
    unicode,             // \uN: one UTF-16 code unit, then its fallback text
    fallback_count,      // \ucN: how many characters of fallback follow a \uN
    binary,              // \binN: N bytes of binary data
    ignorable,           // \*: the group is skipped unless the word that follows is known
    hex,                 // \'hh: one byte of text
    literal,             // \\ \{ \}: the character itself, as text
    // What the page shows of the text's formatting; not part of the plain
    // text. `value` tells which kind, where the action has several.
    bold,                // \b, \b0
    italic,              // \i, \i0
    underline,           // \ul and its kinds of line; \ul0 ends it
    no_underline,        // \ulnone
    strike,              // \strike, \strikedl; 0 ends it
    baseline,            // \super, \sub, \nosupersub: `value` is the Baseline
    raise,               // \upN, \dnN: `value` is the Baseline, N = 0 ends it
    font_family,         // the family of the font being named: `value` is the FontFamily
    font_size,           // \fsN, in half-points
    text_colour,         // \cfN, an entry of the colour table
    background_colour,   // \cbN
    highlight,           // \highlightN
    colour_table,        // \colortbl: a skipped group whose entries the page reads
    colour_component,    // \red, \green, \blue of a colour table entry: `value` 0, 1, 2
    alignment,           // \ql \qc \qr \qj: `value` is the Alignment
    left_indent,         // \liN, in twips
    right_indent,        // \riN
    first_line_indent,   // \fiN
    paragraph_defaults,  // \pard
};

struct ControlWord {
    std::string_view name;
    Action action;
    char16_t value = 0;
    // A word that only the page's formatting reads. The plain text was
    // matched with the control before the reader knew it: after \* it still
    // makes the group skipped, as a word the reader does not know does.
    bool formatting_only = false;
};

// Control words the reader knows, in byte order. A word missing from the
// table is ignored, its group's text is kept; after \* a missing word makes
// the whole group skipped.
constexpr ControlWord control_words[] = {
    {"aftncn", Action::skip_destination},
    {"aftnsep", Action::skip_destination},
    {"aftnsepc", Action::skip_destination},
    {"annotation", Action::skip_destination},
    {"ansi", Action::none},
    {"ansicpg", Action::document_code_page},
    {"atnauthor", Action::skip_destination},
    {"atndate", Action::skip_destination},
    {"atnicn", Action::skip_destination},
    {"atnid", Action::skip_destination},
    {"atnparent", Action::skip_destination},
    {"atnref", Action::skip_destination},
    {"atntime", Action::skip_destination},
    {"atrfend", Action::skip_destination},
    {"atrfstart", Action::skip_destination},
    {"author", Action::skip_destination},
    {"b", Action::bold},
    {"bin", Action::binary},
    {"bkmkend", Action::skip_destination},
    {"bkmkstart", Action::skip_destination},
    {"blue", Action::colour_component, 2},
    {"bullet", Action::character, 0x2022},
    {"buptim", Action::skip_destination},
    {"category", Action::skip_destination},
    {"cb", Action::background_colour},
    // Cells of a table are separated by a tab, and a row ends as a paragraph.
    // Not seen on the reference control: the authoring product writes no tables.
    {"cell", Action::character, u'\t'},
    {"cf", Action::text_colour},
    {"colortbl", Action::colour_table},
    {"comment", Action::skip_destination},
    {"company", Action::skip_destination},
    {"cpg", Action::font_code_page},
    {"creatim", Action::skip_destination},
    {"datafield", Action::skip_destination},
    {"deff", Action::default_font},
    {"deflang", Action::none},
    {"deflangfe", Action::none},
    {"deftab", Action::none},
    {"dn", Action::raise, static_cast<char16_t>(Baseline::lowered), true},
    {"do", Action::skip_destination},
    {"doccomm", Action::skip_destination},
    {"docvar", Action::skip_destination},
    {"emdash", Action::character, 0x2014},
    {"emspace", Action::character, 0x2003},  // comes back as a blank (best fit)
    {"endash", Action::character, 0x2013},
    {"enspace", Action::character, 0x2002},  // comes back as a blank (best fit)
    {"f", Action::font},
    {"falt", Action::skip_destination},
    {"fbidi", Action::font_family, static_cast<char16_t>(FontFamily::unknown), true},
    {"fbidis", Action::none},
    {"fcharset", Action::font_charset},
    {"fdecor", Action::font_family, static_cast<char16_t>(FontFamily::decorative), true},
    {"fi", Action::first_line_indent},
    // The result of a field (the text of a link, a date) is the text that the
    // document shows; its instruction is not. Wine: shows no field result.
    {"field", Action::none},
    {"file", Action::skip_destination},
    {"filetbl", Action::skip_destination},
    {"fldinst", Action::skip_destination},
    {"fldrslt", Action::none},
    {"fmodern", Action::font_family, static_cast<char16_t>(FontFamily::monospace), true},
    {"fnil", Action::font_family, static_cast<char16_t>(FontFamily::unknown)},
    {"fonttbl", Action::font_table},
    {"footer", Action::skip_destination},
    {"footerf", Action::skip_destination},
    {"footerl", Action::skip_destination},
    {"footerr", Action::skip_destination},
    {"footnote", Action::skip_destination},
    {"formfield", Action::skip_destination},
    {"fprq", Action::none},
    {"froman", Action::font_family, static_cast<char16_t>(FontFamily::serif)},
    {"fs", Action::font_size},
    {"fscript", Action::font_family, static_cast<char16_t>(FontFamily::script), true},
    {"fswiss", Action::font_family, static_cast<char16_t>(FontFamily::sans_serif)},
    {"ftech", Action::font_family, static_cast<char16_t>(FontFamily::symbol), true},
    {"ftncn", Action::skip_destination},
    {"ftnsep", Action::skip_destination},
    {"ftnsepc", Action::skip_destination},
    {"generator", Action::skip_destination},
    {"green", Action::colour_component, 1},
    {"header", Action::skip_destination},
    {"headerf", Action::skip_destination},
    {"headerl", Action::skip_destination},
    {"headerr", Action::skip_destination},
    {"highlight", Action::highlight},
    {"hlinkbase", Action::skip_destination},
    {"i", Action::italic},
    {"info", Action::skip_destination},
    {"keywords", Action::skip_destination},
    {"lang", Action::none},
    {"ldblquote", Action::character, 0x201C},
    {"levelnumbers", Action::skip_destination},
    {"leveltext", Action::skip_destination},
    {"li", Action::left_indent},
    // A line break inside a paragraph is the character VT, as the control
    // keeps a manual line break. Wine: gives a blank instead.
    {"line", Action::character, 0x000B},
    {"listoverridetable", Action::skip_destination},
    {"listtable", Action::skip_destination},
    // The number or bullet text of a list item written by a word processor
    // is kept as text, whereas the one written by the rich-edit control
    // (\pntext) is not: the control draws its own bullets.
    {"listtext", Action::none},
    {"lquote", Action::character, 0x2018},
    {"ltrch", Action::none},
    {"ltrmark", Action::character, 0x200E},
    {"ltrpar", Action::none},
    {"manager", Action::skip_destination},
    {"nextfile", Action::skip_destination},
    {"nonshppict", Action::skip_destination},
    {"nosupersub", Action::baseline, static_cast<char16_t>(Baseline::normal), true},
    {"objalias", Action::skip_destination},
    {"objclass", Action::skip_destination},
    {"objdata", Action::skip_destination},
    {"object", Action::object},
    {"objname", Action::skip_destination},
    {"objsect", Action::skip_destination},
    {"objtime", Action::skip_destination},
    {"operator", Action::skip_destination},
    {"page", Action::paragraph},
    {"panose", Action::skip_destination},
    {"par", Action::paragraph},
    {"pard", Action::paragraph_defaults},
    {"pgdsctbl", Action::skip_destination},
    {"pict", Action::skip_destination},
    {"plain", Action::plain},
    {"pn", Action::skip_destination},
    {"pntext", Action::skip_destination},
    {"pntxta", Action::skip_destination},
    {"pntxtb", Action::skip_destination},
    {"printim", Action::skip_destination},
    {"private", Action::skip_destination},
    {"qc", Action::alignment, static_cast<char16_t>(Alignment::centre)},
    {"qj", Action::alignment, static_cast<char16_t>(Alignment::justified)},
    {"ql", Action::alignment, static_cast<char16_t>(Alignment::left)},
    {"qr", Action::alignment, static_cast<char16_t>(Alignment::right)},
    {"rdblquote", Action::character, 0x201D},
    {"red", Action::colour_component, 0},
    {"result", Action::object_result},
    {"revtbl", Action::skip_destination},
    {"revtim", Action::skip_destination},
    {"ri", Action::right_indent},
    {"row", Action::paragraph},
    {"rquote", Action::character, 0x2019},
    {"rsidtbl", Action::skip_destination},
    {"rtf", Action::none},
    {"rtlch", Action::none},
    {"rtlmark", Action::character, 0x200F},
    {"rtlpar", Action::none},
    {"rxe", Action::skip_destination},
    {"sa", Action::none},
    {"sb", Action::none},
    {"sect", Action::paragraph},
    {"shp", Action::none},
    {"shpinst", Action::skip_destination},
    {"shppict", Action::none},  // its picture is skipped, not the group
    {"shprslt", Action::none},
    {"sl", Action::none},
    {"slmult", Action::none},
    {"strike", Action::strike},
    {"strikedl", Action::strike, 0, true},
    {"stylesheet", Action::skip_destination},
    {"sub", Action::baseline, static_cast<char16_t>(Baseline::lowered), true},
    {"subject", Action::skip_destination},
    {"super", Action::baseline, static_cast<char16_t>(Baseline::raised), true},
    {"tab", Action::character, u'\t'},
    {"tc", Action::skip_destination},
    {"tcn", Action::skip_destination},
    {"template", Action::skip_destination},
    {"themedata", Action::skip_destination},
    {"title", Action::skip_destination},
    {"txe", Action::skip_destination},
    {"u", Action::unicode},
    {"uc", Action::fallback_count},
    {"ul", Action::underline},
    {"uld", Action::underline, 0, true},
    {"uldash", Action::underline, 0, true},
    {"uldashd", Action::underline, 0, true},
    {"uldashdd", Action::underline, 0, true},
    {"uldb", Action::underline, 0, true},
    {"ulhwave", Action::underline, 0, true},
    {"ulldash", Action::underline, 0, true},
    {"ulnone", Action::no_underline},
    {"ulth", Action::underline, 0, true},
    {"ulthd", Action::underline, 0, true},
    {"ulthdash", Action::underline, 0, true},
    {"ulthdashd", Action::underline, 0, true},
    {"ulthdashdd", Action::underline, 0, true},
    {"ulthldash", Action::underline, 0, true},
    {"ululdbwave", Action::underline, 0, true},
    {"ulw", Action::underline, 0, true},
    {"ulwave", Action::underline, 0, true},
    {"up", Action::raise, static_cast<char16_t>(Baseline::raised), true},
    {"userprops", Action::skip_destination},
    {"v", Action::none},  // hidden text is still text of the control
    {"viewkind", Action::none},
    {"xe", Action::skip_destination},
    {"xmlnstbl", Action::skip_destination},
    {"zwj", Action::character, 0x200D},
    {"zwnj", Action::character, 0x200C},
};

constexpr bool control_words_are_ordered() {
    return std::adjacent_find(std::begin(control_words), std::end(control_words),
                              [](const ControlWord& a, const ControlWord& b) { return a.name >= b.name; }) ==
           std::end(control_words);
}
static_assert(control_words_are_ordered(), "control words are in byte order, each once");

// A document names a control word about every ten bytes, so the words are
// found through a hash of their letters, taken while they are read: an
// open-addressing index over the table above, built when compiling.
constexpr std::uint32_t word_hash_start = 2166136261u;
constexpr std::uint32_t next_word_hash(std::uint32_t hash, char letter) {
    return (hash ^ static_cast<unsigned char>(letter)) * 16777619u;
}
constexpr std::uint32_t word_hash(std::string_view name) {
    std::uint32_t hash = word_hash_start;
    for (const char letter : name) hash = next_word_hash(hash, letter);
    return hash;
}

constexpr std::size_t word_slot_count = 512;  // a power of two, at least twice the words
static_assert(std::size(control_words) * 2 <= word_slot_count);

// Each slot holds a word's place in the table plus one, or 0 when free.
constexpr std::array<std::uint16_t, word_slot_count> make_word_slots() {
    std::array<std::uint16_t, word_slot_count> slots{};
    for (std::size_t i = 0; i < std::size(control_words); ++i) {
        std::size_t slot = word_hash(control_words[i].name) & (word_slot_count - 1);
        while (slots[slot] != 0) slot = (slot + 1) & (word_slot_count - 1);
        slots[slot] = static_cast<std::uint16_t>(i + 1);
    }
    return slots;
}
constexpr auto word_slots = make_word_slots();

const ControlWord* find_control_word(std::string_view name, std::uint32_t hash) {
    for (std::size_t slot = hash & (word_slot_count - 1);; slot = (slot + 1) & (word_slot_count - 1)) {
        const std::uint16_t entry = word_slots[slot];
        if (entry == 0) return nullptr;
        const ControlWord& word = control_words[entry - 1];
        if (word.name == name) return &word;
    }
}

struct ControlSymbol {
    char symbol;
    Action action;
    char16_t value = 0;
};

// Control symbols (a backslash and one character that is not a letter).
// Any other symbol is ignored.
constexpr ControlSymbol control_symbols[] = {
    {'\'', Action::hex},
    {'\\', Action::literal},
    {'{', Action::literal},
    {'}', Action::literal},
    {'*', Action::ignorable},
    {'~', Action::character, 0x00A0},  // non-breaking space
    {'_', Action::character, 0x2011},  // non-breaking hyphen, comes back as "-"
    {'-', Action::none},               // optional hyphen: not kept
    {':', Action::character, u':'},    // index sub-entry mark: kept as a colon
    {'\r', Action::paragraph},         // a backslash before a line end is \par
    {'\n', Action::paragraph},
};

const ControlSymbol* find_control_symbol(char symbol) {
    for (const auto& row : control_symbols)
        if (row.symbol == symbol) return &row;
    return nullptr;
}

// Groups nested deeper than this are skipped whole, so that a document of
// nothing but opening braces costs no more memory than a few kilobytes.
constexpr std::size_t max_group_depth = 1000;

// ---------------------------------------------------------------------------
// The reader
// ---------------------------------------------------------------------------

struct FontEntry {
    std::optional<std::int32_t> charset;
    std::optional<std::int32_t> code_page;
    FontFamily family = FontFamily::unknown;  // as the font table classes it
    FontFamily named = FontFamily::unknown;   // as its name tells, when the name is known
};

// Font names that tell their family better than the font table's class does
// (the special-characters palette names Arial as a Roman font). Compared
// without regard to case; a name not listed leaves the class to tell.
struct KnownFace {
    std::string_view name;
    FontFamily family;
};

constexpr KnownFace known_faces[] = {
    {"arial", FontFamily::sans_serif},
    {"arial black", FontFamily::sans_serif},
    {"arial narrow", FontFamily::sans_serif},
    {"calibri", FontFamily::sans_serif},
    {"century gothic", FontFamily::sans_serif},
    {"helvetica", FontFamily::sans_serif},
    {"microsoft sans serif", FontFamily::sans_serif},
    {"ms sans serif", FontFamily::sans_serif},
    {"ms shell dlg", FontFamily::sans_serif},
    {"segoe ui", FontFamily::sans_serif},
    {"tahoma", FontFamily::sans_serif},
    {"trebuchet ms", FontFamily::sans_serif},
    {"verdana", FontFamily::sans_serif},
    {"book antiqua", FontFamily::serif},
    {"cambria", FontFamily::serif},
    {"garamond", FontFamily::serif},
    {"georgia", FontFamily::serif},
    {"ms serif", FontFamily::serif},
    {"palatino linotype", FontFamily::serif},
    {"times", FontFamily::serif},
    {"times new roman", FontFamily::serif},
    {"consolas", FontFamily::monospace},
    {"courier", FontFamily::monospace},
    {"courier new", FontFamily::monospace},
    {"fixedsys", FontFamily::monospace},
    {"lucida console", FontFamily::monospace},
    {"brush script mt", FontFamily::script},
    {"comic sans ms", FontFamily::script},
    {"lucida handwriting", FontFamily::script},
    {"monotype corsiva", FontFamily::script},
    {"impact", FontFamily::decorative},
    {"symbol", FontFamily::symbol},
    {"webdings", FontFamily::symbol},
    {"wingdings", FontFamily::symbol},
};

// Longer names are no known face.
constexpr std::size_t max_face_name = 40;

FontFamily family_of_name(std::string_view name) {
    while (!name.empty() && name.front() == ' ') name.remove_prefix(1);
    while (!name.empty() && name.back() == ' ') name.remove_suffix(1);
    for (const auto& face : known_faces) {
        if (face.name.size() != name.size()) continue;
        bool same = true;
        for (std::size_t i = 0; i < name.size() && same; ++i) {
            const char c = name[i] >= 'A' && name[i] <= 'Z' ? static_cast<char>(name[i] - 'A' + 'a') : name[i];
            same = c == face.name[i];
        }
        if (same) return face.family;
    }
    return FontFamily::unknown;
}

// The fonts of a document's font table, by number. A document names a few,
// kept in place without allocating; the others go to a hash map, so that a
// document naming thousands of fonts is still read in linear time.
class FontTable {
public:
    // A font named again is named anew.
    FontEntry& name(std::int32_t number) {
        if (FontEntry* known = find(number)) return *known = FontEntry{};
        if (first_count_ < first_.size()) {
            first_[first_count_] = {number, FontEntry{}};
            return first_[first_count_++].second;
        }
        return more_[number] = FontEntry{};
    }

    FontEntry* find(std::int32_t number) {
        for (std::size_t i = 0; i < first_count_; ++i)
            if (first_[i].first == number) return &first_[i].second;
        if (more_.empty()) return nullptr;
        const auto found = more_.find(number);
        return found == more_.end() ? nullptr : &found->second;
    }
    const FontEntry* find(std::int32_t number) const { return const_cast<FontTable*>(this)->find(number); }

private:
    std::array<std::pair<std::int32_t, FontEntry>, 8> first_{};
    std::size_t first_count_ = 0;
    std::unordered_map<std::int32_t, FontEntry> more_;
};

enum class Destination : std::uint8_t { text, skipped, font_table, object };

// The formatting of characters as a group sets it (\plain sets it back).
struct CharacterFormat {
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strike = false;
    Baseline baseline = Baseline::normal;
    std::int32_t size = 0;  // half-points, 0 when unset
    std::int32_t colour = 0;  // entries of the colour table; 0 is the automatic colour, or none
    std::int32_t background = 0;
    std::int32_t highlight = 0;
};

// What a group inherits from its parent and gets back when it closes.
struct Group {
    Destination destination = Destination::text;
    std::optional<std::int32_t> font;  // none chosen: the document's code page
    std::uint32_t fallback_count = 1;  // \uc
    CharacterFormat character;
    ParagraphLook paragraph;  // \pard sets it back
};

// \fs without a size: 12 points.
constexpr std::int32_t default_font_size = 24;
// Entries of a colour table beyond this many are not read.
constexpr std::size_t max_colours = 1024;

// Documents as the control writes them nest their groups three or four deep:
// room for that many is made at once.
constexpr std::size_t usual_group_depth = 8;

// Headers longer than this are not kept: keeping costs a copy of the
// reader's state at every group closed at the document's level.
constexpr std::size_t max_kept_header = 4096;

}  // namespace

// The reader's state at the end of a document's header, as a memo keeps it.
struct HeaderMemo::Saved {
    std::string header;  // the bytes read up to there
    Group document_group;
    FontTable fonts;
    std::optional<std::int32_t> font_being_named;
    std::int32_t default_font = 0;
    std::int32_t document_code_page = western_code_page;
};

HeaderMemo::HeaderMemo() = default;
HeaderMemo::~HeaderMemo() = default;

namespace {

// What only a reading for a sink keeps: the colour table, and the name of
// the font being named.
struct PageTables {
    std::vector<std::optional<Colour>> colours;
    std::optional<Colour> colour_being_read;
    std::size_t colour_table_depth = 0;  // the colour table's group, 0 outside it
    std::string font_name;
};

class RtfReader {
public:
    // With a sink, the characters are also handed to it in Unicode with
    // their look.
    explicit RtfReader(std::string_view rtf, TextSink* sink = nullptr) : in_(rtf), sink_(sink) {
        groups_.reserve(usual_group_depth);
        if (sink_) page_ = std::make_unique<PageTables>();
    }

    // A document that begins with the header kept in the memo is read from
    // the end of that header, and the memo keeps the header of this one.
    //
    // Where a group closes back at the document's own level, with no text
    // read yet, the reader's whole state (the document's group, the fonts,
    // the default font and code page; nothing else is pending there: the
    // closing brace ends any fallback text, escape or \* marker) depends on
    // the bytes read so far alone. Nothing read before that brace looked
    // further than it, and binary data that ran past the end of the document
    // would have ended the reading before it. So another document that
    // begins with the same bytes reaches that same state there, and reading
    // it on from there gives the same text.
    void keep_headers_in(HeaderMemo& memo) { memo_ = &memo; }

    // Reading stops as soon as the plain text is known not to be empty: the
    // text only grows while the document is read, and the end takes at most
    // one paragraph mark from it, so a text of one character other than a
    // paragraph mark, or of two characters, stays non-empty whatever follows.
    void stop_once_not_empty() { stop_once_not_empty_ = true; }

    std::string read() {
        if (memo_) resume_after_known_header();
        while (!stopped_ && pos_ < in_.size()) {
            const char c = in_[pos_++];
            switch (c) {
            case '{':
                open_group();
                break;
            case '}':
                if (!close_group()) return finish();
                break;
            case '\\':
                control();
                break;
            case '\r':
            case '\n':
                break;  // line ends of the RTF source are not text
            case '\t':
                // A tab character of the source is a \tab: it ends a fallback
                // instead of being one of its characters.
                if (take_ignorable()) top().destination = Destination::skipped;
                apply(Action::character, u'\t', 0);
                break;
            case '\0':
                // The control reads the document up to its first zero byte and
                // would lose the rest; the text after it is kept instead.
                break;
            default:
                literal(static_cast<unsigned char>(c));
                break;
            }
        }
        return finish();  // a document without its closing brace ends here
    }

private:
    Group& top() { return groups_.back(); }

    bool skipping() const { return overflow_depth_ > 0 || groups_.back().destination == Destination::skipped; }

    void open_group() {
        end_run();
        if (groups_.empty()) {
            groups_.emplace_back();
            return;
        }
        if (take_ignorable()) top().destination = Destination::skipped;
        if (overflow_depth_ > 0 || groups_.size() >= max_group_depth) {
            ++overflow_depth_;
            return;
        }
        groups_.push_back(groups_.back());
    }

    // False when the document's own group closes: the document ends there,
    // and anything after it is not read.
    bool close_group() {
        end_run();
        ignorable_ = false;
        if (overflow_depth_ > 0) {
            --overflow_depth_;
            return true;
        }
        if (groups_.size() <= 1) return false;
        const Destination closed = groups_.back().destination;
        groups_.pop_back();
        if (sink_) {
            if (groups_.size() < page_->colour_table_depth) page_->colour_table_depth = 0;
            if (closed == Destination::font_table) end_font_name();
        }
        // Once the font table is read, text without a font of its own is in
        // the default font (\deff).
        if (closed == Destination::font_table && top().destination != Destination::font_table && !top().font)
            top().font = default_font_;
        if (memo_ && groups_.size() == 1 && out_.empty() && pos_ <= max_kept_header) note_header_end();
        return true;
    }

    void resume_after_known_header() {
        const HeaderMemo::Saved* saved = memo_->saved.get();
        if (!saved || !in_.starts_with(saved->header)) return;
        groups_.assign(1, saved->document_group);
        fonts_ = saved->fonts;
        font_being_named_ = saved->font_being_named;
        default_font_ = saved->default_font;
        document_code_page_ = saved->document_code_page;
        pos_ = saved->header.size();
        resumed_at_ = pos_;
    }

    void note_header_end() {
        header_end_ = pos_;
        header_state_ = HeaderMemo::Saved{std::string(), groups_.front(), fonts_, font_being_named_, default_font_,
                                          document_code_page_};
    }

    // The longest header read is kept, unless it is the one already kept.
    void keep_header() {
        if (!memo_ || header_end_ <= resumed_at_) return;
        header_state_->header.assign(in_.substr(0, header_end_));
        if (!memo_->saved) memo_->saved = std::make_unique<HeaderMemo::Saved>();
        *memo_->saved = std::move(*header_state_);
    }

    bool take_ignorable() {
        const bool was = ignorable_;
        ignorable_ = false;
        return was;
    }

    void control() {
        if (pos_ >= in_.size()) return;  // a lone backslash at the very end
        if (is_letter(in_[pos_]))
            control_word();
        else
            control_symbol(in_[pos_++]);
    }

    static bool is_letter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
    static bool is_digit(char c) { return c >= '0' && c <= '9'; }
    static int hex_value(char c) {
        if (c >= '0' && c <= '9') return c - '0';
        if (c >= 'a' && c <= 'f') return c - 'a' + 10;
        if (c >= 'A' && c <= 'F') return c - 'A' + 10;
        return -1;
    }

    void control_word() {
        const std::size_t start = pos_;
        std::uint32_t hash = word_hash_start;
        while (pos_ < in_.size() && is_letter(in_[pos_])) hash = next_word_hash(hash, in_[pos_++]);
        const std::string_view name = in_.substr(start, pos_ - start);
        // The parameter: an optional minus sign and digits. Out-of-range
        // values wrap around in 32 bits as they do in the control (so
        // \u4294967361 is \u65), and their length is not limited.
        bool negative = false;
        if (pos_ < in_.size() && in_[pos_] == '-') {
            negative = true;
            ++pos_;
        }
        std::uint32_t magnitude = 0;
        const std::size_t digits_start = pos_;
        while (pos_ < in_.size() && is_digit(in_[pos_])) magnitude = magnitude * 10u + static_cast<std::uint32_t>(in_[pos_++] - '0');
        has_parameter_ = pos_ > digits_start;
        if (negative) magnitude = 0u - magnitude;
        const auto parameter = static_cast<std::int32_t>(magnitude);
        if (pos_ < in_.size() && in_[pos_] == ' ') ++pos_;  // the delimiting blank belongs to the word

        const ControlWord* word = find_control_word(name, hash);
        if (take_ignorable() && (!word || word->formatting_only)) {
            end_run();
            top().destination = Destination::skipped;
            return;
        }
        if (!word) {
            end_run();
            return;
        }
        apply(word->action, word->value, parameter);
    }

    void control_symbol(char symbol) {
        has_parameter_ = false;
        const ControlSymbol* row = find_control_symbol(symbol);
        if (row && row->action == Action::hex) {
            hex_escape();
            return;
        }
        if (row && row->action == Action::literal) {
            literal(static_cast<unsigned char>(symbol));
            return;
        }
        if (row && row->action == Action::ignorable) {
            end_run();
            ignorable_ = true;
            return;
        }
        if (take_ignorable()) top().destination = Destination::skipped;
        if (row)
            apply(row->action, row->value, 0);
        else
            end_run();
    }

    // \'hh: a byte of text. An escape without its two hexadecimal digits
    // is dropped, and only its hexadecimal digits are taken, so that a brace
    // or a backslash after it keeps its meaning (the control would read the
    // next two characters whatever they are, and may lose the rest of the
    // text).
    void hex_escape() {
        int value = 0;
        int digits = 0;
        while (digits < 2 && pos_ < in_.size() && hex_value(in_[pos_]) >= 0) {
            value = value * 16 + hex_value(in_[pos_++]);
            ++digits;
        }
        if (digits == 2) {
            literal(static_cast<unsigned char>(value));
        } else if (take_ignorable()) {
            top().destination = Destination::skipped;
        }
    }

    void apply(Action action, char16_t value, std::int32_t parameter) {
        end_run();
        if (overflow_depth_ > 0 || top().destination == Destination::skipped) {
            if (action == Action::binary)
                skip_binary(parameter);
            else if (action == Action::colour_component && in_colour_table())
                set_colour_component(value, parameter);
            return;
        }
        Group& group = top();
        const bool in_text = group.destination == Destination::text;
        const bool in_font_table = group.destination == Destination::font_table;
        switch (action) {
        case Action::character:
            if (in_text) put_unit(value);
            break;
        case Action::paragraph:
            if (in_text) put_paragraph();
            break;
        case Action::skip_destination:
            group.destination = Destination::skipped;
            break;
        case Action::object:
            if (in_text) group.destination = Destination::object;
            break;
        case Action::object_result:
            if (group.destination == Destination::object) group.destination = Destination::text;
            break;
        case Action::font_table:
            group.destination = Destination::font_table;
            font_being_named_.reset();
            break;
        case Action::font:
            if (in_font_table) {
                if (sink_) end_font_name();
                font_being_named_ = parameter;
                fonts_.name(parameter);
            } else {
                group.font = parameter;
            }
            break;
        case Action::font_charset:
            if (FontEntry* font = font_being_named(in_font_table)) font->charset = parameter;
            break;
        case Action::font_code_page:
            if (FontEntry* font = font_being_named(in_font_table)) font->code_page = parameter;
            break;
        case Action::default_font:
            default_font_ = parameter;
            break;
        case Action::plain:
            if (!in_font_table) {
                group.font = default_font_;
                group.character = {};
            }
            break;
        case Action::bold:
            group.character.bold = switched_on(parameter);
            break;
        case Action::italic:
            group.character.italic = switched_on(parameter);
            break;
        case Action::underline:
            group.character.underline = switched_on(parameter);
            break;
        case Action::no_underline:
            group.character.underline = false;
            break;
        case Action::strike:
            group.character.strike = switched_on(parameter);
            break;
        case Action::baseline:
            group.character.baseline = static_cast<Baseline>(value);
            break;
        case Action::raise:
            group.character.baseline = switched_on(parameter) ? static_cast<Baseline>(value) : Baseline::normal;
            break;
        case Action::font_family:
            if (!sink_) break;  // only the page's formatting reads it
            if (FontEntry* font = font_being_named(in_font_table)) font->family = static_cast<FontFamily>(value);
            break;
        case Action::font_size:
            group.character.size = has_parameter_ ? parameter : default_font_size;
            break;
        case Action::text_colour:
            group.character.colour = parameter;
            break;
        case Action::background_colour:
            group.character.background = parameter;
            break;
        case Action::highlight:
            group.character.highlight = parameter;
            break;
        case Action::colour_table:
            group.destination = Destination::skipped;
            if (sink_) begin_colour_table();
            break;
        case Action::colour_component:
            break;  // read inside the colour table only
        case Action::alignment:
            group.paragraph.alignment = static_cast<Alignment>(value);
            break;
        case Action::left_indent:
            group.paragraph.left_indent = parameter;
            break;
        case Action::right_indent:
            group.paragraph.right_indent = parameter;
            break;
        case Action::first_line_indent:
            group.paragraph.first_line_indent = parameter;
            break;
        case Action::paragraph_defaults:
            group.paragraph = {};
            break;
        case Action::document_code_page:
            document_code_page_ = parameter;
            break;
        case Action::unicode:
            // One UTF-16 code unit: the parameter's low 16 bits, so that
            // negative values name the units above 32767.
            if (in_text) put_unit(static_cast<char16_t>(static_cast<std::uint32_t>(parameter) & 0xFFFFu));
            fallback_left_ = group.fallback_count;
            break;
        case Action::fallback_count:
            group.fallback_count = parameter < 0 ? 0u : static_cast<std::uint32_t>(parameter);
            break;
        case Action::binary:
            // Binary data outside a skipped destination is not honoured by the
            // control: the bytes that follow are read as RTF.
            break;
        case Action::none:
        case Action::ignorable:
        case Action::hex:
        case Action::literal:
            break;
        }
    }

    FontEntry* font_being_named(bool in_font_table) {
        return in_font_table && font_being_named_ ? fonts_.find(*font_being_named_) : nullptr;
    }

    // \b, \b1 and \b5 set an effect, \b0 ends it.
    bool switched_on(std::int32_t parameter) const { return !has_parameter_ || parameter != 0; }

    // The colour table is a skipped group, so that the plain text is read
    // as without it; only a sink's reading takes its entries.
    void begin_colour_table() {
        page_->colours.clear();
        page_->colour_being_read.reset();
        page_->colour_table_depth = groups_.size();
    }

    bool in_colour_table() const {
        return page_ && page_->colour_table_depth != 0 && overflow_depth_ == 0 &&
               groups_.size() == page_->colour_table_depth;
    }

    void set_colour_component(char16_t which, std::int32_t parameter) {
        const auto level = static_cast<std::uint8_t>(std::clamp(parameter, 0, 255));
        Colour colour = page_->colour_being_read.value_or(Colour{});
        (which == 0 ? colour.red : which == 1 ? colour.green : colour.blue) = level;
        page_->colour_being_read = colour;
    }

    // An entry without a component is the automatic colour.
    void end_colour_entry() {
        if (page_->colours.size() < max_colours) page_->colours.push_back(page_->colour_being_read);
        page_->colour_being_read.reset();
    }

    std::optional<Colour> colour_at(std::int32_t index) const {
        if (index <= 0 || static_cast<std::size_t>(index) >= page_->colours.size()) return std::nullopt;
        return page_->colours[static_cast<std::size_t>(index)];
    }

    // The name of the font being named, up to its semicolon, only to tell
    // whether it is a known face.
    void name_font(unsigned char byte) {
        if (!font_being_named_) return;
        if (byte == ';') {
            end_font_name();
        } else if (page_->font_name.size() <= max_face_name) {
            page_->font_name += static_cast<char>(byte);
        }
    }

    void end_font_name() {
        std::string& name = page_->font_name;
        if (font_being_named_ && !name.empty()) {
            if (FontEntry* font = fonts_.find(*font_being_named_))
                font->named = name.size() > max_face_name ? FontFamily::unknown : family_of_name(name);
        }
        name.clear();
    }

    FontFamily family_of(const std::optional<std::int32_t>& number) const {
        const FontEntry* font = number ? fonts_.find(*number) : nullptr;
        if (!font) return FontFamily::unknown;
        if (font->charset && code_page_of_charset(*font->charset) == symbol_code_page) return FontFamily::symbol;
        return font->named != FontFamily::unknown ? font->named : font->family;
    }

    CharacterLook character_look() const {
        const Group& group = groups_.back();
        const CharacterFormat& format = group.character;
        CharacterLook look{format.bold, format.italic, format.underline, format.strike, format.baseline,
                           format.size, family_of(group.font), colour_at(format.colour), colour_at(format.highlight)};
        if (!look.background) look.background = colour_at(format.background);
        return look;
    }

    void skip_binary(std::int32_t count) {
        if (count <= 0) return;
        pos_ += std::min(static_cast<std::size_t>(count), in_.size() - pos_);
    }

    // A character of the text (a raw byte, \'hh, \\, \{ or \}): it may be
    // one of the fallback characters that follow a \uN, which are not shown.
    void literal(unsigned char byte) {
        if (take_ignorable()) top().destination = Destination::skipped;
        if (fallback_left_ > 0) {
            --fallback_left_;
            return;
        }
        if (!skipping() && top().destination == Destination::text) {
            put_byte(byte);
            return;
        }
        if (sink_) formatting_byte(byte);
    }

    // A byte that is not text may still tell the page something: the end of
    // a colour table's entry, a letter of a font's name. Kept out of the
    // reading of the plain text, which never needs it.
    [[gnu::noinline]] void formatting_byte(unsigned char byte) {
        if (skipping()) {
            if (byte == ';' && in_colour_table()) end_colour_entry();
        } else if (top().destination == Destination::font_table) {
            name_font(byte);
        }
    }

    // Anything but a character of the text ends the fallback of a \uN and
    // a lead byte waiting for its second byte.
    void end_run() {
        fallback_left_ = 0;
        if (pending_lead_) {
            pending_lead_ = false;
            emit('?', u'?');
        }
    }

    CodePage current_code_page() const {
        const Group& group = groups_.back();
        if (group.font) {
            if (const FontEntry* font = fonts_.find(*group.font)) {
                if (font->code_page) return code_page(*font->code_page);
                return code_page(font->charset ? code_page_of_charset(*font->charset) : western_code_page);
            }
        }
        return code_page(document_code_page_);
    }

    void put_byte(unsigned char byte) {
        // Zero, carriage-return and line-feed bytes written as \'hh are not
        // kept by the control.
        if (byte == 0 || byte == '\r' || byte == '\n') {
            end_run();
            return;
        }
        if (pending_lead_) {
            pending_lead_ = false;
            emit('?', u'?');  // an East Asian character: no Western form
            return;
        }
        if (byte < 0x80) {
            emit(byte, byte);
            return;
        }
        const CodePage page = current_code_page();
        switch (page.kind) {
        case CodePage::Kind::western:
            emit(byte, static_cast<char16_t>(cp1252_to_unicode(byte)));
            break;
        case CodePage::Kind::symbol:
            // A font of the symbol character set keeps its bytes: the
            // control gives back the byte, not the sign that the font draws
            // for it. Wine: gives "?" for every character of such a font.
            emit(byte, static_cast<char16_t>(cp1252_to_unicode(byte)));
            break;
        case CodePage::Kind::single_byte:
            put_unit((*page.upper_half)[byte - 0x80]);
            break;
        case CodePage::Kind::double_byte:
            if (page.is_lead_byte(byte))
                pending_lead_ = true;
            else
                emit(byte == 0x80 ? 0x80 : '?', byte == 0x80 ? u'\u20AC' : u'?');
            break;
        }
    }

    void put_unit(char16_t unit) {
        if (unit == 0) return;  // U+0000 would end the text that the caller gets
        if (unit == u'\r' || unit == u'\n') {
            put_paragraph();
            return;
        }
        emit(ansi_form(unit), unit);
    }

    // Rich edit 2.0 ends a paragraph with a single carriage return.
    void put_paragraph() { emit('\r', u'\r'); }

    // One character of the text: its Windows-1252 form, and, for a sink,
    // its Unicode form with the current look.
    void emit(unsigned char ansi, char16_t unit) {
        out_ += static_cast<char>(ansi);
        if (stop_once_not_empty_ && (out_.size() > 1 || ansi != '\r')) stopped_ = true;
        if (sink_) sink_->put(unit, character_look(), groups_.back().paragraph);
    }

    std::string finish() {
        end_run();
        keep_header();
        // The mark that ends the document's last paragraph is not part of
        // the text that the control gives back: "a\par}" reads as "a".
        const bool last_mark_dropped = !out_.empty() && out_.back() == '\r';
        if (last_mark_dropped) out_.pop_back();
        if (sink_) sink_->end(groups_.empty() ? ParagraphLook{} : groups_.back().paragraph, last_mark_dropped);
        return std::move(out_);
    }

    std::string_view in_;
    TextSink* sink_;
    std::size_t pos_ = 0;
    std::string out_;
    bool stop_once_not_empty_ = false;
    bool stopped_ = false;
    bool has_parameter_ = false;  // whether the control word being applied had digits
    std::vector<Group> groups_;
    std::size_t overflow_depth_ = 0;
    bool ignorable_ = false;
    std::uint32_t fallback_left_ = 0;
    bool pending_lead_ = false;
    FontTable fonts_;
    std::optional<std::int32_t> font_being_named_;
    std::int32_t default_font_ = 0;
    std::int32_t document_code_page_ = western_code_page;
    std::unique_ptr<PageTables> page_;  // made for a sink only
    HeaderMemo* memo_ = nullptr;
    std::size_t resumed_at_ = 0;   // where the kept header ended, when this document began with it
    std::size_t header_end_ = 0;   // where the last header end was noted
    std::optional<HeaderMemo::Saved> header_state_;  // the reader's state there
};


}  // namespace

std::string read_rich_text(std::string_view rtf, TextSink* sink) { return RtfReader(rtf, sink).read(); }

std::string read_rich_text(std::string_view rtf, HeaderMemo& memo) {
    RtfReader reader(rtf);
    reader.keep_headers_in(memo);
    return reader.read();
}

bool rich_text_is_empty(std::string_view rtf, HeaderMemo* memo) {
    RtfReader reader(rtf);
    reader.stop_once_not_empty();
    if (memo) reader.keep_headers_in(*memo);
    return reader.read().empty();
}

char32_t shown_character(char32_t code_point, const CharacterLook& look) {
    if (look.family != FontFamily::symbol) return code_point;
    const auto byte = unicode_to_cp1252(code_point);
    if (!byte) return code_point;
    const char32_t sign = symbol_font_sign(*byte);
    return sign == U'\uFFFD' ? code_point : sign;
}

// A UTF-16 code unit as the ANSI interface gives it. The halves of a
// surrogate pair each come back as "?", as the control gives them.
unsigned char ansi_form(char16_t unit) {
    if (const auto byte = unicode_to_cp1252(unit)) return *byte;
    const auto* found = std::lower_bound(std::begin(best_fit), std::end(best_fit), unit,
                                         [](const BestFit& pair, char16_t u) { return pair.unit < u; });
    if (found != std::end(best_fit) && found->unit == unit) return found->byte;
    return '?';
}

}  // namespace kz::rtf
