// Draws the demo quiz's pictures (24-bit Windows bitmaps), synthesises its
// sounds (PCM 16-bit mono 22050 Hz wave files) and writes its music (a MIDI
// file of format 0). Everything is computed, so the files can be made again
// byte for byte:  make_demo_media <folder>
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <numbers>
#include <string>
#include <string_view>
#include <vector>

namespace {

namespace fs = std::filesystem;

struct Colour {
    std::uint8_t r, g, b;
};

Colour mix(Colour a, Colour b, double t) {
    const auto lerp = [t](std::uint8_t x, std::uint8_t y) {
        return static_cast<std::uint8_t>(std::lround(x + (y - x) * std::clamp(t, 0.0, 1.0)));
    };
    return {lerp(a.r, b.r), lerp(a.g, b.g), lerp(a.b, b.b)};
}

class Picture {
public:
    Picture(int width, int height, Colour fill)
        : width_(width), height_(height), pixels_(static_cast<std::size_t>(width * height), fill) {}

    int width() const { return width_; }
    int height() const { return height_; }
    void set(int x, int y, Colour c) {
        if (x >= 0 && y >= 0 && x < width_ && y < height_) pixels_[static_cast<std::size_t>(y * width_ + x)] = c;
    }
    Colour get(int x, int y) const { return pixels_[static_cast<std::size_t>(y * width_ + x)]; }
    void rectangle(int x0, int y0, int x1, int y1, Colour c) {
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x) set(x, y, c);
    }
    void disc(double cx, double cy, double radius, Colour c) {
        for (int y = 0; y < height_; ++y)
            for (int x = 0; x < width_; ++x)
                if (std::hypot(x + 0.5 - cx, y + 0.5 - cy) <= radius) set(x, y, c);
    }

    // A 24-bit bottom-up bitmap with rows padded to four bytes.
    std::string bmp() const {
        const int row_size = (width_ * 3 + 3) / 4 * 4;
        const std::uint32_t image_size = static_cast<std::uint32_t>(row_size * height_);
        std::string out;
        const auto u16 = [&](std::uint32_t v) { out += static_cast<char>(v & 0xFF), out += static_cast<char>(v >> 8 & 0xFF); };
        const auto u32 = [&](std::uint32_t v) { u16(v & 0xFFFF), u16(v >> 16); };
        out += "BM";
        u32(54 + image_size), u32(0), u32(54);
        u32(40), u32(static_cast<std::uint32_t>(width_)), u32(static_cast<std::uint32_t>(height_));
        u16(1), u16(24), u32(0), u32(image_size), u32(2835), u32(2835), u32(0), u32(0);
        for (int y = height_ - 1; y >= 0; --y) {
            for (int x = 0; x < width_; ++x) {
                const Colour c = get(x, y);
                out += static_cast<char>(c.b), out += static_cast<char>(c.g), out += static_cast<char>(c.r);
            }
            out.append(static_cast<std::size_t>(row_size - width_ * 3), '\0');
        }
        return out;
    }

private:
    int width_, height_;
    std::vector<Colour> pixels_;
};

// Capital letters of 5 x 7 cells, for the banner's title.
const char* glyph(char c) {
    switch (c) {
    case 'C': return ".###.#...##....#....#....#...#.###.";
    case 'D': return "####.#...##...##...##...##...#####.";
    case 'E': return "######....#....####.#....#....#####";
    case 'I': return ".###...#....#....#....#....#...###.";
    case 'O': return ".###.#...##...##...##...##...#.###.";
    case 'Q': return ".###.#...##...##...##.#.##..#..##.#";
    case 'R': return "####.#...##...#####.#.#..#..#.#...#";
    case 'T': return "#####..#....#....#....#....#....#..";
    case 'U': return "#...##...##...##...##...##...#.###.";
    case 'V': return "#...##...##...##...##...#.#.#...#..";
    case 'Z': return "#####....#...#...#...#...#....#####";
    default: return nullptr;
    }
}

// Draws capitals, 'e' standing for an E with an acute accent.
void write_title(Picture& p, std::string_view text, int x, int y, int scale, Colour c) {
    for (char ch : text) {
        const bool acute = ch == 'e';
        if (const char* cells = glyph(acute ? 'E' : ch)) {
            for (int row = 0; row < 7; ++row)
                for (int col = 0; col < 5; ++col)
                    if (cells[row * 5 + col] == '#') p.rectangle(x + col * scale, y + row * scale, x + (col + 1) * scale, y + (row + 1) * scale, c);
            if (acute) {
                p.rectangle(x + 3 * scale, y - 2 * scale, x + 4 * scale, y - scale, c);
                p.rectangle(x + 2 * scale, y - scale, x + 3 * scale, y, c);
            }
        }
        x += 6 * scale;
    }
}

Picture logo() {
    Picture p(92, 81, {255, 255, 255});
    const double cx = 46, cy = 40.5, radius = 36;
    const Colour sea{40, 110, 200}, deep{20, 60, 140}, land{70, 170, 80}, grid{170, 210, 250};
    for (int y = 0; y < p.height(); ++y)
        for (int x = 0; x < p.width(); ++x) {
            const double dx = x + 0.5 - cx, dy = y + 0.5 - cy, d = std::hypot(dx, dy);
            if (d > radius + 1.5) continue;
            if (d > radius) {
                p.set(x, y, deep);
                continue;
            }
            Colour c = mix(sea, deep, d / radius * 0.8);
            // Two continents: blobs of a few overlapping ellipses.
            const auto blob = [&](double ex, double ey, double rx, double ry) {
                return std::pow((dx - ex) / rx, 2) + std::pow((dy - ey) / ry, 2) <= 1.0;
            };
            if (blob(-12, -10, 13, 10) || blob(-6, 6, 7, 14) || blob(14, -14, 12, 7) || blob(16, 8, 8, 11))
                c = mix(land, {30, 110, 40}, d / radius * 0.7);
            // Meridians and parallels of the globe.
            const double latitude = dy / radius;
            const bool parallel = std::fmod(std::abs(dy) + 0.5, 12.0) < 1.0;
            const double half_width = std::sqrt(std::max(0.0, 1 - latitude * latitude)) * radius;
            const bool meridian = half_width > 0 && (std::abs(dx) < 0.6 || std::abs(std::abs(dx) - half_width * 0.55) < 0.6);
            if (parallel || meridian) c = mix(c, grid, 0.55);
            p.set(x, y, c);
        }
    return p;
}

Picture banner() {
    Picture p(570, 56, {0, 0, 0});
    for (int y = 0; y < p.height(); ++y)
        for (int x = 0; x < p.width(); ++x)
            p.set(x, y, mix({0, 64, 128}, {0, 128, 140}, x / 569.0 * 0.8 + y / 55.0 * 0.2));
    // Stars on both sides of the title.
    const int stars[][2] = {{30, 14}, {62, 36}, {88, 20}, {480, 18}, {512, 38}, {545, 16}};
    for (const auto& s : stars) {
        p.rectangle(s[0] - 4, s[1], s[0] + 5, s[1] + 1, {255, 220, 90});
        p.rectangle(s[0], s[1] - 4, s[0] + 1, s[1] + 5, {255, 220, 90});
    }
    write_title(p, "QUIZ DeCOUVERTE", 105 + 2, 14 + 2, 4, {0, 40, 80});  // shadow
    write_title(p, "QUIZ DeCOUVERTE", 105, 14, 4, {255, 255, 255});
    return p;
}

bool inside(const std::vector<std::pair<double, double>>& polygon, double x, double y) {
    bool in = false;
    for (std::size_t i = 0, j = polygon.size() - 1; i < polygon.size(); j = i++) {
        const auto [xi, yi] = polygon[i];
        const auto [xj, yj] = polygon[j];
        if ((yi > y) != (yj > y) && x < (xj - xi) * (y - yi) / (yj - yi) + xi) in = !in;
    }
    return in;
}

// A hexagon-shaped country on the sea, its capital marked by a red dot.
Picture map() {
    Picture p(160, 120, {0, 0, 0});
    const std::vector<std::pair<double, double>> country = {
        {70, 10}, {96, 18}, {124, 30}, {118, 62}, {126, 92}, {96, 108},
        {66, 104}, {40, 100}, {44, 70}, {24, 48}, {30, 34}, {54, 30}};
    for (int y = 0; y < p.height(); ++y)
        for (int x = 0; x < p.width(); ++x) {
            Colour c = mix({120, 180, 230}, {60, 120, 200}, y / 119.0);
            if (inside(country, x + 0.5, y + 0.5)) {
                c = mix({235, 220, 160}, {160, 200, 110}, (x + y) / 260.0);
                // The coast: darker where a neighbour lies in the sea.
                if (!inside(country, x - 0.5, y + 0.5) || !inside(country, x + 1.5, y + 0.5) ||
                    !inside(country, x + 0.5, y - 0.5) || !inside(country, x + 0.5, y + 1.5))
                    c = {90, 70, 40};
            }
            p.set(x, y, c);
        }
    p.disc(80, 34, 5, {255, 255, 255});
    p.disc(80, 34, 4, {210, 30, 30});
    return p;
}

Picture flag() {
    Picture p(90, 60, {255, 255, 255});
    p.rectangle(0, 0, 30, 60, {0, 146, 70});
    p.rectangle(60, 0, 90, 60, {206, 43, 55});
    return p;
}

constexpr int sample_rate = 22050;

struct Sound {
    std::vector<double> samples;
    explicit Sound(double seconds) : samples(static_cast<std::size_t>(seconds * sample_rate), 0.0) {}

    // A note with a short attack and an exponential decay; `square` gives a
    // harsh buzz instead of a pure tone.
    void note(double start, double length, double frequency, double amplitude, double decay, bool square = false) {
        const auto first = static_cast<std::size_t>(start * sample_rate);
        const auto count = static_cast<std::size_t>(length * sample_rate);
        for (std::size_t i = 0; i < count && first + i < samples.size(); ++i) {
            const double t = static_cast<double>(i) / sample_rate;
            const double phase = std::sin(2 * std::numbers::pi * frequency * t);
            const double wave = square ? (phase >= 0 ? 0.6 : -0.6) : phase + 0.3 * std::sin(4 * std::numbers::pi * frequency * t);
            const double attack = std::min(1.0, t / 0.01);
            const double release = std::min(1.0, (length - t) / 0.02);
            samples[first + i] += amplitude * wave * attack * release * std::exp(-decay * t);
        }
    }

    std::string wav() const {
        std::string out;
        const auto u16 = [&](std::uint32_t v) { out += static_cast<char>(v & 0xFF), out += static_cast<char>(v >> 8 & 0xFF); };
        const auto u32 = [&](std::uint32_t v) { u16(v & 0xFFFF), u16(v >> 16); };
        const auto data_size = static_cast<std::uint32_t>(samples.size() * 2);
        out += "RIFF", u32(36 + data_size), out += "WAVE";
        out += "fmt ", u32(16), u16(1), u16(1), u32(sample_rate), u32(sample_rate * 2), u16(2), u16(16);
        out += "data", u32(data_size);
        for (double s : samples) {
            const auto v = static_cast<std::int16_t>(std::lround(std::clamp(s, -1.0, 1.0) * 32000));
            u16(static_cast<std::uint16_t>(v));
        }
        return out;
    }
};

double pitch(int midi_note) { return 440.0 * std::pow(2.0, (midi_note - 69) / 12.0); }

Sound welcome() {  // a rising arpeggio
    Sound s(0.7);
    const int notes[] = {72, 76, 79, 84};
    for (int i = 0; i < 4; ++i) s.note(i * 0.12, 0.7 - i * 0.12, pitch(notes[i]), 0.22, 4.0);
    return s;
}

Sound chime() {  // right answer: two bright bells
    Sound s(0.6);
    s.note(0.0, 0.6, 1046.5, 0.35, 6.0);
    s.note(0.08, 0.52, 1568.0, 0.3, 6.0);
    return s;
}

Sound buzz() {  // wrong answer: a low square buzz
    Sound s(0.4);
    s.note(0.0, 0.4, 140.0, 0.5, 1.5, true);
    s.note(0.0, 0.4, 147.0, 0.3, 1.5, true);
    return s;
}

Sound fanfare() {  // end of the exam
    Sound s(1.3);
    const struct { double start, length; int note; } notes[] = {
        {0.0, 0.15, 67}, {0.15, 0.15, 72}, {0.3, 0.15, 76}, {0.45, 0.85, 79}};
    for (const auto& n : notes) {
        s.note(n.start, n.length, pitch(n.note), 0.3, 1.2);
        s.note(n.start, n.length, pitch(n.note - 12), 0.15, 1.2);
    }
    return s;
}

Sound time_up() {  // two falling tones
    Sound s(0.7);
    s.note(0.0, 0.3, 660.0, 0.4, 3.0);
    s.note(0.3, 0.4, 440.0, 0.4, 3.0);
    return s;
}

Sound concert_a() {  // the A of 440 Hz for a question
    Sound s(1.0);
    s.note(0.0, 1.0, 440.0, 0.5, 0.8);
    return s;
}

// "Frère Jacques", first two bars repeated, at 120 beats a minute.
std::string music() {
    std::string track;
    const auto delta = [&](std::uint32_t ticks) {
        std::string bytes(1, static_cast<char>(ticks & 0x7F));
        while (ticks >>= 7) bytes.insert(bytes.begin(), static_cast<char>(0x80 | (ticks & 0x7F)));
        track += bytes;
    };
    delta(0), track += "\xFF\x51\x03\x07\xA1\x20";  // tempo: 500000 microseconds a beat
    delta(0), track += "\xC0\x00";                  // piano
    const struct { int note, beats; } tune[] = {
        {60, 1}, {62, 1}, {64, 1}, {60, 1}, {60, 1}, {62, 1}, {64, 1}, {60, 1},
        {64, 1}, {65, 1}, {67, 2}, {64, 1}, {65, 1}, {67, 2}};
    std::uint32_t gap = 0;  // a short silence between notes, so that repeated notes are heard
    for (const auto& n : tune) {
        delta(gap), track += '\x90', track += static_cast<char>(n.note), track += '\x60';
        delta(static_cast<std::uint32_t>(96 * n.beats - 8)), track += '\x80', track += static_cast<char>(n.note), track += '\x40';
        gap = 8;
    }
    delta(0), track += std::string("\xFF\x2F\x00", 3);

    std::string out("MThd\0\0\0\x06\0\0\0\x01\0\x60", 14);  // format 0, one track, 96 ticks a beat
    out += "MTrk";
    const auto size = static_cast<std::uint32_t>(track.size());
    for (int shift = 24; shift >= 0; shift -= 8) out += static_cast<char>(size >> shift & 0xFF);
    return out + track;
}

bool write(const fs::path& path, const std::string& bytes) {
    std::FILE* file = std::fopen(path.string().c_str(), "wb");
    if (!file) return false;
    const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return std::fclose(file) == 0 && ok;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_demo_media <folder>\n");
        return 2;
    }
    const fs::path folder = argv[1];
    std::error_code ec;
    fs::create_directories(folder, ec);
    const std::pair<const char*, std::string> files[] = {
        {"logo.bmp", logo().bmp()},         {"banniere.bmp", banner().bmp()},
        {"carte.bmp", map().bmp()},         {"drapeau.bmp", flag().bmp()},
        {"bienvenue.wav", welcome().wav()}, {"juste.wav", chime().wav()},
        {"faux.wav", buzz().wav()},         {"fin.wav", fanfare().wav()},
        {"temps.wav", time_up().wav()},     {"la440.wav", concert_a().wav()},
        {"frere_jacques.mid", music()},
    };
    for (const auto& [name, bytes] : files) {
        if (!write(folder / name, bytes)) {
            std::fprintf(stderr, "cannot write %s\n", (folder / name).string().c_str());
            return 1;
        }
        std::printf("%-18s %6zu bytes\n", name, bytes.size());
    }
    return 0;
}
