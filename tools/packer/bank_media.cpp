// Pictures decoded with libpng, libjpeg-turbo and giflib, sounds with
// libsndfile, where the build has them; bitmaps and wave files written here.
#include "bank_media.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <optional>
#include <vector>

#ifdef KZ_HAVE_PICTURE_LIBRARIES
#include <gif_lib.h>
#include <png.h>
#include <turbojpeg.h>
#endif
#ifdef KZ_HAVE_SNDFILE
#include <sndfile.h>
#endif

namespace kz::bank {
namespace {

[[maybe_unused]] void put16(std::string& out, std::uint32_t value) {
    out += static_cast<char>(value & 0xFF);
    out += static_cast<char>((value >> 8) & 0xFF);
}

[[maybe_unused]] void put32(std::string& out, std::uint32_t value) {
    put16(out, value & 0xFFFF);
    put16(out, value >> 16);
}

#ifdef KZ_HAVE_PICTURE_LIBRARIES

// A picture in memory: rows from the top, three bytes a pixel (red, green,
// blue).
struct Picture {
    std::size_t width = 0;
    std::size_t height = 0;
    std::vector<std::uint8_t> rgb;
    std::string note;
};

using PictureResult = Result<Picture, std::string>;

std::string size_text(std::size_t width, std::size_t height) {
    return std::to_string(width) + "×" + std::to_string(height);
}

std::optional<std::string> refused_size(std::size_t width, std::size_t height) {
    if (width == 0 || height == 0) return "the picture has no pixels";
    if (width > max_picture_pixels / height)
        return "the picture is too large (" + size_text(width, height) + " pixels)";
    return std::nullopt;
}

// A colour with its opacity laid on white.
std::uint8_t on_white(std::uint8_t level, std::uint8_t alpha) {
    return static_cast<std::uint8_t>((level * alpha + 255 * (255 - alpha) + 127) / 255);
}

PictureResult read_png(std::string_view bytes) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&image, bytes.data(), bytes.size()))
        return PictureResult::failure(std::string("not a readable PNG picture (") + image.message + ")");
    if (auto refused = refused_size(image.width, image.height)) {
        png_image_free(&image);
        return PictureResult::failure(*refused);
    }
    image.format = PNG_FORMAT_RGBA;
    std::vector<std::uint8_t> rgba(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, rgba.data(), 0, nullptr))
        return PictureResult::failure(std::string("not a readable PNG picture (") + image.message + ")");
    Picture picture{image.width, image.height, {}, {}};
    picture.rgb.resize(picture.width * picture.height * 3);
    for (std::size_t p = 0; p < picture.width * picture.height; ++p)
        for (int c = 0; c < 3; ++c) picture.rgb[p * 3 + c] = on_white(rgba[p * 4 + c], rgba[p * 4 + 3]);
    return picture;
}

PictureResult read_jpeg(std::string_view bytes) {
    tjhandle handle = tjInitDecompress();
    if (!handle) return PictureResult::failure("the JPEG decoder could not start");
    struct Closer {
        tjhandle handle;
        ~Closer() { tjDestroy(handle); }
    } closer{handle};
    const auto* data = reinterpret_cast<const unsigned char*>(bytes.data());
    const auto size = static_cast<unsigned long>(bytes.size());
    int width = 0, height = 0, subsampling = 0, colour_space = 0;
    if (tjDecompressHeader3(handle, data, size, &width, &height, &subsampling, &colour_space) != 0)
        return PictureResult::failure(std::string("not a readable JPEG picture (") + tjGetErrorStr2(handle) + ")");
    if (width <= 0 || height <= 0) return PictureResult::failure("not a readable JPEG picture (it gives no size)");
    if (auto refused = refused_size(static_cast<std::size_t>(std::max(width, 0)), static_cast<std::size_t>(std::max(height, 0))))
        return PictureResult::failure(*refused);
    Picture picture{static_cast<std::size_t>(width), static_cast<std::size_t>(height), {}, {}};
    picture.rgb.resize(picture.width * picture.height * 3);
    // A damaged end still gives the picture the decoder could read: a
    // warning, not an error. Scans are limited against files made to make
    // the decoder run for ever.
    if (tjDecompress2(handle, data, size, picture.rgb.data(), width, 0, height, TJPF_RGB, TJFLAG_LIMITSCANS) != 0 &&
        tjGetErrorCode(handle) != TJERR_WARNING)
        return PictureResult::failure(std::string("not a readable JPEG picture (") + tjGetErrorStr2(handle) + ")");
    return picture;
}

struct GifSource {
    std::string_view bytes;
    std::size_t at = 0;
};

int read_gif_bytes(GifFileType* gif, GifByteType* buffer, int wanted) {
    auto* source = static_cast<GifSource*>(gif->UserData);
    const std::size_t count = std::min(static_cast<std::size_t>(std::max(wanted, 0)), source->bytes.size() - source->at);
    std::memcpy(buffer, source->bytes.data() + source->at, count);
    source->at += count;
    return static_cast<int>(count);
}

PictureResult read_gif(std::string_view bytes) {
    GifSource source{bytes};
    int error = 0;
    GifFileType* gif = DGifOpen(&source, read_gif_bytes, &error);
    if (!gif) return PictureResult::failure(std::string("not a readable GIF picture (") + GifErrorString(error) + ")");
    struct Closer {
        GifFileType* gif;
        ~Closer() {
            int ignored = 0;
            DGifCloseFile(gif, &ignored);
        }
    } closer{gif};
    if (auto refused = refused_size(static_cast<std::size_t>(std::max(gif->SWidth, 0)),
                                    static_cast<std::size_t>(std::max(gif->SHeight, 0))))
        return PictureResult::failure(*refused);
    if (DGifSlurp(gif) != GIF_OK && gif->ImageCount == 0)
        return PictureResult::failure(std::string("not a readable GIF picture (") + GifErrorString(gif->Error) + ")");
    if (gif->ImageCount < 1) return PictureResult::failure("the GIF file holds no picture");

    Picture picture{static_cast<std::size_t>(gif->SWidth), static_cast<std::size_t>(gif->SHeight), {}, {}};
    picture.rgb.assign(picture.width * picture.height * 3, 255);
    const SavedImage& frame = gif->SavedImages[0];
    const ColorMapObject* colours = frame.ImageDesc.ColorMap ? frame.ImageDesc.ColorMap : gif->SColorMap;
    if (!colours || !frame.RasterBits) return PictureResult::failure("the GIF picture has no colours");
    GraphicsControlBlock control{};
    control.TransparentColor = NO_TRANSPARENT_COLOR;
    DGifSavedExtensionToGCB(gif, 0, &control);
    const auto left = static_cast<std::size_t>(std::max(frame.ImageDesc.Left, 0));
    const auto top = static_cast<std::size_t>(std::max(frame.ImageDesc.Top, 0));
    const auto frame_width = static_cast<std::size_t>(std::max(frame.ImageDesc.Width, 0));
    const auto frame_height = static_cast<std::size_t>(std::max(frame.ImageDesc.Height, 0));
    for (std::size_t y = 0; y < frame_height && top + y < picture.height; ++y)
        for (std::size_t x = 0; x < frame_width && left + x < picture.width; ++x) {
            const int index = frame.RasterBits[y * frame_width + x];
            if (index == control.TransparentColor || index >= colours->ColorCount) continue;
            const GifColorType& colour = colours->Colors[index];
            std::uint8_t* pixel = &picture.rgb[((top + y) * picture.width + left + x) * 3];
            pixel[0] = colour.Red, pixel[1] = colour.Green, pixel[2] = colour.Blue;
        }
    if (gif->ImageCount > 1) picture.note = "an animation of " + std::to_string(gif->ImageCount) + " pictures: its first is kept";
    return picture;
}

// The picture reduced to fit the largest picture a quiz shows, each pixel
// the mean of the pixels it covers.
void fit(Picture& picture) {
    if (picture.width <= static_cast<std::size_t>(max_picture_width) &&
        picture.height <= static_cast<std::size_t>(max_picture_height))
        return;
    const double scale = std::min(static_cast<double>(max_picture_width) / static_cast<double>(picture.width),
                                  static_cast<double>(max_picture_height) / static_cast<double>(picture.height));
    const std::size_t width = std::max<std::size_t>(1, static_cast<std::size_t>(static_cast<double>(picture.width) * scale));
    const std::size_t height = std::max<std::size_t>(1, static_cast<std::size_t>(static_cast<double>(picture.height) * scale));
    std::vector<std::uint8_t> reduced(width * height * 3);
    for (std::size_t y = 0; y < height; ++y) {
        const std::size_t y0 = y * picture.height / height;
        const std::size_t y1 = std::max(y0 + 1, (y + 1) * picture.height / height);
        for (std::size_t x = 0; x < width; ++x) {
            const std::size_t x0 = x * picture.width / width;
            const std::size_t x1 = std::max(x0 + 1, (x + 1) * picture.width / width);
            std::uint64_t sums[3] = {0, 0, 0};
            for (std::size_t sy = y0; sy < y1; ++sy)
                for (std::size_t sx = x0; sx < x1; ++sx)
                    for (int c = 0; c < 3; ++c) sums[c] += picture.rgb[(sy * picture.width + sx) * 3 + c];
            const std::uint64_t count = (y1 - y0) * (x1 - x0);
            for (int c = 0; c < 3; ++c) reduced[(y * width + x) * 3 + c] = static_cast<std::uint8_t>(sums[c] / count);
        }
    }
    const std::string note = "reduced from " + size_text(picture.width, picture.height) + " to " + size_text(width, height) +
                             " pixels";
    picture.note = picture.note.empty() ? note : picture.note + "; " + note;
    picture.width = width;
    picture.height = height;
    picture.rgb = std::move(reduced);
}

// A 24-bit bitmap: rows from the bottom, blue green red, each row padded to
// four bytes.
std::string bitmap(const Picture& picture) {
    const std::size_t row = (picture.width * 3 + 3) / 4 * 4;
    const auto pixels = static_cast<std::uint32_t>(row * picture.height);
    std::string out = "BM";
    put32(out, 14 + 40 + pixels);
    put32(out, 0);
    put32(out, 14 + 40);
    put32(out, 40);
    put32(out, static_cast<std::uint32_t>(picture.width));
    put32(out, static_cast<std::uint32_t>(picture.height));
    put16(out, 1);
    put16(out, 24);
    put32(out, 0);  // no compression
    put32(out, pixels);
    put32(out, 2835);  // 72 pixels an inch
    put32(out, 2835);
    put32(out, 0);
    put32(out, 0);
    for (std::size_t y = picture.height; y-- > 0;) {
        const std::uint8_t* source = &picture.rgb[y * picture.width * 3];
        for (std::size_t x = 0; x < picture.width; ++x) {
            out += static_cast<char>(source[x * 3 + 2]);
            out += static_cast<char>(source[x * 3 + 1]);
            out += static_cast<char>(source[x * 3]);
        }
        out.append(row - picture.width * 3, '\0');
    }
    return out;
}

#endif

#ifdef KZ_HAVE_SNDFILE

struct MemoryFile {
    std::string_view bytes;
    sf_count_t at = 0;
};

sf_count_t memory_length(void* file) { return static_cast<sf_count_t>(static_cast<MemoryFile*>(file)->bytes.size()); }

sf_count_t memory_seek(sf_count_t offset, int whence, void* file) {
    auto* memory = static_cast<MemoryFile*>(file);
    const auto size = static_cast<sf_count_t>(memory->bytes.size());
    const sf_count_t base = whence == SEEK_CUR ? memory->at : whence == SEEK_END ? size : 0;
    memory->at = std::clamp<sf_count_t>(base + offset, 0, size);
    return memory->at;
}

sf_count_t memory_read(void* buffer, sf_count_t count, void* file) {
    auto* memory = static_cast<MemoryFile*>(file);
    const sf_count_t available = static_cast<sf_count_t>(memory->bytes.size()) - memory->at;
    const sf_count_t taken = std::clamp<sf_count_t>(count, 0, available);
    std::memcpy(buffer, memory->bytes.data() + memory->at, static_cast<std::size_t>(taken));
    memory->at += taken;
    return taken;
}

sf_count_t memory_write(const void*, sf_count_t, void*) { return 0; }

sf_count_t memory_tell(void* file) { return static_cast<MemoryFile*>(file)->at; }

#endif

}  // namespace

bool picture_conversion_available() {
#ifdef KZ_HAVE_PICTURE_LIBRARIES
    return true;
#else
    return false;
#endif
}

bool sound_conversion_available() {
#ifdef KZ_HAVE_SNDFILE
    return true;
#else
    return false;
#endif
}

Result<ConvertedMedium, std::string> picture_to_bitmap(std::string_view bytes) {
    using R = Result<ConvertedMedium, std::string>;
#ifndef KZ_HAVE_PICTURE_LIBRARIES
    (void)bytes;
    return R::failure("this packer was built without the picture libraries; use the packer of the Linux build");
#else
    PictureResult read = PictureResult::failure("not a PNG, JPEG or GIF picture");
    if (bytes.starts_with("\x89PNG\r\n\x1A\n"))
        read = read_png(bytes);
    else if (bytes.starts_with("\xFF\xD8\xFF"))
        read = read_jpeg(bytes);
    else if (bytes.starts_with("GIF87a") || bytes.starts_with("GIF89a"))
        read = read_gif(bytes);
    else if (bytes.starts_with("BM"))
        return ConvertedMedium{std::string(bytes), {}};
    if (!read) return R::failure(read.error());
    Picture& picture = read.value();
    fit(picture);
    return ConvertedMedium{bitmap(picture), picture.note};
#endif
}

Result<ConvertedMedium, std::string> sound_to_wave(std::string_view bytes) {
    using R = Result<ConvertedMedium, std::string>;
#ifndef KZ_HAVE_SNDFILE
    (void)bytes;
    return R::failure("this packer was built without the sound library; use the packer of the Linux build");
#else
    MemoryFile memory{bytes};
    SF_VIRTUAL_IO io{memory_length, memory_seek, memory_read, memory_write, memory_tell};
    SF_INFO info{};
    SNDFILE* sound = sf_open_virtual(&io, SFM_READ, &info, &memory);
    if (!sound)
        return R::failure(std::string("not a sound in a format the packer reads (MP3, Ogg Vorbis, FLAC, WAV): ") +
                          sf_strerror(nullptr));
    struct Closer {
        SNDFILE* sound;
        ~Closer() { sf_close(sound); }
    } closer{sound};
    if (info.channels < 1 || info.channels > 64 || info.samplerate < 1000 || info.samplerate > 384000)
        return R::failure("the sound has " + std::to_string(info.channels) + " channels at " +
                          std::to_string(info.samplerate) + " Hz, which no wave file of a quiz plays");
    const int channels = info.channels <= 2 ? info.channels : 1;
    std::string samples;
    std::vector<short> frames(4096 * static_cast<std::size_t>(info.channels));
    for (sf_count_t read; (read = sf_readf_short(sound, frames.data(), 4096)) > 0;) {
        for (sf_count_t f = 0; f < read; ++f) {
            const short* frame = &frames[static_cast<std::size_t>(f * info.channels)];
            if (channels == info.channels) {
                for (int c = 0; c < channels; ++c) put16(samples, static_cast<std::uint16_t>(frame[c]));
            } else {
                long sum = 0;
                for (int c = 0; c < info.channels; ++c) sum += frame[c];
                put16(samples, static_cast<std::uint16_t>(static_cast<short>(sum / info.channels)));
            }
        }
        if (samples.size() > max_wave_bytes)
            return R::failure("the sound is too long: a wave file of it would pass " +
                              std::to_string(max_wave_bytes >> 20) + " MB");
    }
    if (samples.empty()) return R::failure("the sound holds no samples");

    std::string wave = "RIFF";
    put32(wave, static_cast<std::uint32_t>(36 + samples.size()));
    wave += "WAVEfmt ";
    put32(wave, 16);
    put16(wave, 1);  // PCM
    put16(wave, static_cast<std::uint32_t>(channels));
    put32(wave, static_cast<std::uint32_t>(info.samplerate));
    put32(wave, static_cast<std::uint32_t>(info.samplerate * channels * 2));
    put16(wave, static_cast<std::uint32_t>(channels * 2));
    put16(wave, 16);
    wave += "data";
    put32(wave, static_cast<std::uint32_t>(samples.size()));
    wave += samples;
    std::string note;
    if (channels != info.channels) note = "its " + std::to_string(info.channels) + " channels mixed into one";
    return ConvertedMedium{std::move(wave), note};
#endif
}

}  // namespace kz::bank
