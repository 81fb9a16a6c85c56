// Pictures and sounds of learning platforms' banks: made into the bitmaps and
// wave files a quiz holds, and brought into an imported quiz as its media
// where a text of a question is only that picture or sound.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>

#include "bank.h"
#include "bank_media.h"
#include "common/cp1252.h"
#include "packer_commands.h"
#include "quiz/media_table.h"
#include "support/temp_folder.h"

namespace kz {
namespace {

namespace fs = std::filesystem;
using Json = nlohmann::json;
using test::TempFolder;

// Small real files, in the base64 that Moodle XML carries them in.
// A PNG of 2×1 pixels: opaque blue, then transparent red.
constexpr const char* png_two_pixels =
    "iVBORw0KGgoAAAANSUhEUgAAAAIAAAABCAYAAAD0In+KAAAAEUlEQVR42mNgYPj//z8DAwMADvoC/gNTOkQAAAAASUVORK5CYII=";
// A PNG of 2000×2 grey pixels (100, 150, 200).
constexpr const char* png_wide =
    "iVBORw0KGgoAAAANSUhEUgAAB9AAAAACCAIAAACPC9CEAAAAK0lEQVR42u3QMQ0AAAgDsIlFE5qQhYi9TaqgmT0AAAAAAKAUBQAAAAAA0HszDHjW6Wo0vAAA"
    "AABJRU5ErkJggg==";
// An animated GIF of 2×1 pixels and two pictures; the first is green, then
// its transparent colour.
constexpr const char* gif_two_pictures =
    "R0lGODlhAgABAIAAAAD/AP///yH5BAEAAAEALAAAAAACAAEAAAICRAoAIfkEAAAAAAAsAAAAAAIAAQAAAgIMCgA7";
// A JPEG of 8×8 red pixels (200, 40, 40).
constexpr const char* jpeg_red =
    "/9j/4AAQSkZJRgABAQAAAQABAAD/2wBDAAMCAgMCAgMDAwMEAwMEBQgFBQQEBQoHBwYIDAoMDAsKCwsNDhIQDQ4RDgsLEBYQERMUFRUVDA8XGBYUGBIUFRT/"
    "2wBDAQMEBAUEBQkFBQkUDQsNFBQUFBQUFBQUFBQUFBQUFBQUFBQUFBQUFBQUFBQUFBQUFBQUFBQUFBQUFBQUFBQUFBT/wAARCAAIAAgDAREAAhEBAxEB/8QA"
    "HwAAAQUBAQEBAQEAAAAAAAAAAAECAwQFBgcICQoL/8QAtRAAAgEDAwIEAwUFBAQAAAF9AQIDAAQRBRIhMUEGE1FhByJxFDKBkaEII0KxwRVS0fAkM2JyggkK"
    "FhcYGRolJicoKSo0NTY3ODk6Q0RFRkdISUpTVFVWV1hZWmNkZWZnaGlqc3R1dnd4eXqDhIWGh4iJipKTlJWWl5iZmqKjpKWmp6ipqrKztLW2t7i5usLDxMXG"
    "x8jJytLT1NXW19jZ2uHi4+Tl5ufo6erx8vP09fb3+Pn6/8QAHwEAAwEBAQEBAQEBAQAAAAAAAAECAwQFBgcICQoL/8QAtREAAgECBAQDBAcFBAQAAQJ3AAEC"
    "AxEEBSExBhJBUQdhcRMiMoEIFEKRobHBCSMzUvAVYnLRChYkNOEl8RcYGRomJygpKjU2Nzg5OkNERUZHSElKU1RVVldYWVpjZGVmZ2hpanN0dXZ3eHl6goOE"
    "hYaHiImKkpOUlZaXmJmaoqOkpaanqKmqsrO0tba3uLm6wsPExcbHyMnK0tPU1dbX2Nna4uPk5ebn6Onq8vP09fb3+Pn6/9oADAMBAAIRAxEAPwDxSvzc/tU/"
    "/9k=";
// An MP3 of a quarter second of a 440 Hz tone, mono at 8000 Hz.
constexpr const char* mp3_tone =
    "/+MYxAAJMALluUEAAvxGNtsAAfB8Hz8QAgCH6wfB8+4oCH8oGKPP8o7QH+Udw/ynv6ESQAAE0RYZYmf8c0VqOUK2/ws8KRA7/+MYxBYSUUKkMZRQAIYAx4ST"
    "gHdJCNJDwOdDE/hJAZAoisIoRX/4xESIkiHw+NHv//j04GhKEga/8ShIGhKdBpX//////////+MYxAcO2KZIAd4AAP/////4aEYABgFgCF+gaAcYGYNxhIg9"
    "GE2LoYltzhj8CvGHuDQYJIJQCA7C4A4CAhLgskvq///+KQAE/+MYxAYNaKZIAVYAAAEAsAUDAOAkDA4BoCgVQMXo+QMmKKQO8/9wOOwrgRAeABBmBgvAOASB"
    "MFAFmIhAhd6wvS2NSmI///n+/+MYxAsPeQ6sAZpYABdhh/4s1397+fkYSFZu6QjGGhOBwP9fjEvvxBBqThuMTRtT/f1/0eajB93+kKsNBJv/0mJJaaRn0aRI"
    "/+MYxAgLgLXAAcYAAeHEkiyOzOVVU4MAgFYKAQlgYFCSOHEknIlTYT8grEVCd//0F4NxTEFNRTMuMTAwqqqqqqqqqqqqqqqq";

std::string decoded(std::string_view base64) {
    std::string out;
    std::uint32_t bits = 0;
    int count = 0;
    for (const char c : base64) {
        const auto at = std::string_view("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/").find(c);
        if (at == std::string_view::npos) continue;
        bits = (bits << 6) | static_cast<std::uint32_t>(at);
        if ((count += 6) >= 8) out += static_cast<char>((bits >> (count -= 8)) & 0xFF);
    }
    return out;
}

std::uint32_t u32(const std::string& bytes, std::size_t at) {
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i) value = (value << 8) | static_cast<unsigned char>(bytes[at + static_cast<std::size_t>(i)]);
    return value;
}
std::uint32_t u16(const std::string& bytes, std::size_t at) { return u32(bytes + "\0\0", at) & 0xFFFF; }

// The colour of a pixel of a 24-bit bitmap, counted from the top left.
std::array<int, 3> pixel(const std::string& bitmap, std::size_t x, std::size_t y) {
    const std::size_t width = u32(bitmap, 18), height = u32(bitmap, 22);
    const std::size_t row = (width * 3 + 3) / 4 * 4;
    const std::size_t at = u32(bitmap, 10) + (height - 1 - y) * row + x * 3;
    return {static_cast<unsigned char>(bitmap[at + 2]), static_cast<unsigned char>(bitmap[at + 1]),
            static_cast<unsigned char>(bitmap[at])};
}

TEST(BankMedia, PicturesBecomeBitmapsOfTheirColoursOnWhite) {
    ASSERT_TRUE(bank::picture_conversion_available());
    const struct {
        const char* what;
        std::string bytes;
        std::size_t width, height;
        std::array<int, 3> first, last;  // the top left and bottom right pixels
        int tolerance;                   // JPEG is lossy
        const char* note;
    } rows[] = {
        {"PNG with a transparent pixel", decoded(png_two_pixels), 2, 1, {0, 0, 255}, {255, 255, 255}, 0, ""},
        {"GIF animation", decoded(gif_two_pictures), 2, 1, {0, 255, 0}, {255, 255, 255}, 0,
         "an animation of 2 pictures: its first is kept"},
        {"JPEG", decoded(jpeg_red), 8, 8, {200, 40, 40}, {200, 40, 40}, 6, ""},
        {"PNG too wide for the preview", decoded(png_wide), 800, 1, {100, 150, 200}, {100, 150, 200}, 0,
         "reduced from 2000×2 to 800×1 pixels"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        const auto bitmap = bank::picture_to_bitmap(row.bytes);
        ASSERT_TRUE(bitmap) << bitmap.error();
        const std::string& bmp = bitmap.value().bytes;
        ASSERT_TRUE(bmp.starts_with("BM"));
        EXPECT_EQ(u32(bmp, 2), bmp.size());
        EXPECT_EQ(u16(bmp, 28), 24u);
        ASSERT_EQ(u32(bmp, 18), row.width);
        ASSERT_EQ(u32(bmp, 22), row.height);
        for (const auto& [got, want] : {std::pair{pixel(bmp, 0, 0), row.first},
                                        std::pair{pixel(bmp, row.width - 1, row.height - 1), row.last}})
            for (int c = 0; c < 3; ++c) EXPECT_NEAR(got[c], want[c], row.tolerance);
        EXPECT_EQ(bitmap.value().note, row.note);
    }
}

TEST(BankMedia, SoundsBecomeWaveFilesAndBrokenFilesAreRefusedWithWhy) {
    ASSERT_TRUE(bank::sound_conversion_available());
    const auto wave = bank::sound_to_wave(decoded(mp3_tone));
    ASSERT_TRUE(wave) << wave.error();
    const std::string& wav = wave.value().bytes;
    EXPECT_TRUE(wav.starts_with("RIFF"));
    EXPECT_EQ(wav.substr(8, 8), "WAVEfmt ");
    EXPECT_EQ(u16(wav, 20), 1u);     // PCM
    EXPECT_EQ(u16(wav, 22), 1u);     // mono
    EXPECT_EQ(u32(wav, 24), 8000u);  // as the MP3
    EXPECT_EQ(u16(wav, 34), 16u);
    // A quarter second, give or take the encoder's padding.
    EXPECT_GE(u32(wav, 40), 2 * 1900u);
    EXPECT_EQ(u32(wav, 40) + 44, wav.size());

    const struct {
        std::string bytes;
        bool picture;
        const char* said;
    } broken[] = {
        {"not a picture at all", true, "not a PNG, JPEG or GIF picture"},
        {decoded(png_two_pixels).substr(0, 40), true, "not a readable PNG picture"},
        {decoded(gif_two_pictures).substr(0, 24), true, "not a readable GIF picture"},
        {"\xFF\xD8\xFF\xE0 cut short", true, "not a readable JPEG picture"},
        {"ID3 not really a sound", false, "not a sound in a format the packer reads"},
    };
    for (const auto& row : broken) {
        SCOPED_TRACE(row.said);
        const auto result = row.picture ? bank::picture_to_bitmap(row.bytes) : bank::sound_to_wave(row.bytes);
        ASSERT_FALSE(result) << row.said;
        EXPECT_NE(result.error().find(row.said), std::string::npos) << result.error();
    }
}

// A Moodle XML question of `type` whose question text is `text` carrying
// `files` (name, base64), with answers.
std::string moodle_question(const std::string& type, const std::string& text,
                            const std::vector<std::pair<std::string, std::string>>& files,
                            const std::string& answers) {
    std::string xml = "  <question type=\"" + type + "\">\n    <questiontext format=\"html\">\n      <text><![CDATA[" +
                      text + "]]></text>\n";
    for (const auto& [name, base64] : files)
        xml += "      <file name=\"" + name + "\" path=\"/\" encoding=\"base64\">" + base64 + "</file>\n";
    return xml + "    </questiontext>\n" + answers + "  </question>\n";
}

std::string answer(const char* fraction, const std::string& text, const std::string& files = "") {
    return std::string("    <answer fraction=\"") + fraction + "\" format=\"html\"><text><![CDATA[" + text +
           "]]></text>" + files + "</answer>\n";
}

std::string category(const char* name) {
    return std::string("  <question type=\"category\"><category><text>$course$/top/") + name +
           "</text></category></question>\n";
}

std::string run_output(const std::vector<std::string>& args, int& code) {
    std::ostringstream out, err;
    code = run_packer(args, out, err);
    return out.str() + err.str();
}

TEST(BankMedia, MoodlePicturesAndSoundsBecomeTheQuizsMediaAndItsBuild) {
    const std::string lead = "<p>Quel organe est représenté ?</p>";
    const std::string xml =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<quiz>\n" + category("Anatomie") +
        moodle_question("shortanswer", lead + "<p><img src=\"@@PLUGINFILE@@/c%C5%93ur.png\" alt=\"Cœur\"></p>",
                        {{"cœur.png", png_two_pixels}}, answer("100", "le cœur")) +
        moodle_question("shortanswer", lead + "<img src=\"@@PLUGINFILE@@/rein.gif\">", {{"rein.gif", gif_two_pictures}},
                        answer("100", "le rein")) +
        moodle_question("shortanswer", "Combien d'os compte le corps humain ?", {}, answer("100", "206")) +
        moodle_question("multichoice", "<audio controls><source src=\"@@PLUGINFILE@@/son.mp3\">son.mp3</audio>",
                        {{"son.mp3", mp3_tone}},
                        "    <single>true</single>\n" + answer("100", "le la") + answer("0", "le do")) +
        moodle_question("multichoice", "Quel carré est rouge ?", {},
                        "    <single>true</single>\n" +
                            answer("100", "<img src=\"@@PLUGINFILE@@/rouge.jpg\">",
                                   std::string("<file name=\"rouge.jpg\" path=\"/\" encoding=\"base64\">") + jpeg_red +
                                       "</file>") +
                            answer("0", "<img src=\"@@PLUGINFILE@@/c%C5%93ur.png\">",
                                   std::string("<file name=\"cœur.png\" path=\"/\" encoding=\"base64\">") +
                                       png_two_pixels + "</file>")) +
        "</quiz>\n";

    TempFolder folder;
    std::ofstream(folder / "banque.xml", std::ios::binary) << xml;
    int code = 0;
    const std::string said =
        run_output({"import", (folder / "banque.xml").string(), "-o", (folder / "quiz.json").string()}, code);
    ASSERT_EQ(code, packer_done) << said;

    const Json source = Json::parse(test::file_bytes(folder / "quiz.json"));
    const Json& themes = source["themes"];
    ASSERT_EQ(themes.size(), 2u) << themes.dump(2);
    // The picture questions share their lead, the prompt of their theme; the
    // question without a picture goes beside it.
    EXPECT_EQ(themes[0]["name"], "Anatomie");
    EXPECT_EQ(themes[0]["prompt"], "Quel organe est représenté ?");
    ASSERT_EQ(themes[0]["questions"].size(), 2u);
    EXPECT_EQ(themes[0]["questions"][0]["question"], Json({{"media", 1}}));
    EXPECT_EQ(themes[0]["questions"][1]["question"], Json({{"media", 2}}));
    EXPECT_EQ(themes[1]["name"], "Anatomie (2)");
    EXPECT_EQ(themes[1]["prompt"], "");
    const Json& others = themes[1]["questions"];
    ASSERT_EQ(others.size(), 3u);
    EXPECT_EQ(others[0]["answer"], "206");
    // A sound alone needs no lead; pictures alone may be the answers.
    EXPECT_EQ(others[1]["question"], Json({{"media", 3}}));
    EXPECT_EQ(others[2]["answer"], Json({{"media", 4}}));
    // The same picture twice is one media row.
    EXPECT_EQ(others[2]["first_wrong"], Json({{"media", 1}}));

    const Json& media = source["media"];
    ASSERT_EQ(media.size(), 4u) << media.dump(2);
    const struct {
        const char* kind;
        const char* file_name;
        const char* label;
    } rows[] = {{"image", "cœur.bmp", "Cœur"}, {"image", "rein.bmp", "rein"}, {"sound", "son.wav", "son"},
                {"image", "rouge.bmp", "rouge"}};
    for (std::size_t r = 0; r < 4; ++r) {
        SCOPED_TRACE(rows[r].file_name);
        EXPECT_EQ(media[r]["kind"], rows[r].kind);
        EXPECT_EQ(media[r]["file_name"], rows[r].file_name);
        EXPECT_EQ(media[r]["label"], rows[r].label);
        EXPECT_EQ(media[r]["file"], std::string("quiz-media/") + rows[r].file_name);
        EXPECT_TRUE(fs::exists(folder / "quiz-media" / fs::u8path(rows[r].file_name)));
    }
    for (const char* line :
         {"changed: question: the picture \"cœur.png\" is taken in as \"cœur.bmp\" (media id 1); its lead \"Quel "
          "organe est représenté ?\" is the prompt of theme \"Anatomie\"",
          "changed: question: the picture \"rein.gif\" is taken in as \"rein.bmp\" (media id 2), an animation of 2 "
          "pictures: its first is kept",
          "changed: questions of theme \"Anatomie\" without a lead go to theme \"Anatomie (2)\"",
          "changed: question: the sound \"son.mp3\" is taken in as \"son.wav\" (media id 3)",
          "wrote 4 pictures and sounds into"})
        EXPECT_NE(said.find(line), std::string::npos) << line << "\n" << said;

    // What the import wrote, the packer builds, and the runner's loader
    // finds every picture and sound in it as the kind it is.
    std::ofstream(folder / "runner.exe", std::ios::binary) << "MZ" + std::string(4094, '\0');
    const std::string built =
        run_output({"build", (folder / "quiz.json").string(), "-o", (folder / "quiz.exe").string()}, code);
    ASSERT_EQ(code, packer_done) << built;
    EXPECT_EQ(built.find("warning"), std::string::npos) << built;
    const std::string checked = run_output({"check", (folder / "quiz.exe").string()}, code);
    EXPECT_EQ(code, packer_done) << checked;
    EXPECT_NE(checked.find("son.wav"), std::string::npos) << checked;
}

// A bank written by hand names its pictures and sounds by addresses relative
// to its own folder: those found there or below come in, the others are
// reported.
TEST(BankMedia, AHandWrittenBanksPicturesAndSoundsComeFromItsFolder) {
    TempFolder folder;
    const fs::path bank_folder = folder / "banque";
    fs::create_directories(bank_folder / "images");
    std::ofstream(bank_folder / "images" / fs::u8path("cœur.png"), std::ios::binary) << decoded(png_two_pixels);
    std::ofstream(bank_folder / "son.mp3", std::ios::binary) << decoded(mp3_tone);
    std::ofstream(folder / "secret.png", std::ios::binary) << decoded(png_two_pixels);
    std::ofstream(bank_folder / "anatomie.gift", std::ios::binary)
        << "[html]<p>Quel organe est représenté ?</p><img src\\=\"images/c%C5%93ur.png\" alt\\=\"Cœur\">{=le cœur}\n\n"
           "[html]<audio src\\=\"son.mp3\"></audio>{=le la ~le do}\n\n"
           "[html]Qui est-ce ? <img src\\=\"portrait.jpg\">{=Marie}\n\n"
           "[html]Quel pays ? <img src\\=\"../secret.png\">{=Chili}\n";

    int code = 0;
    const std::string said = run_output(
        {"import", (bank_folder / "anatomie.gift").string(), "-o", (folder / "quiz.json").string()}, code);
    ASSERT_EQ(code, packer_done) << said;
    const Json source = Json::parse(test::file_bytes(folder / "quiz.json"));
    const Json& media = source["media"];
    ASSERT_EQ(media.size(), 2u) << media.dump(2);
    EXPECT_EQ(media[0]["file_name"], "cœur.bmp");
    EXPECT_EQ(media[0]["label"], "Cœur");
    EXPECT_EQ(media[1]["file_name"], "son.wav");
    const Json& themes = source["themes"];
    ASSERT_EQ(themes.size(), 2u) << themes.dump(2);
    EXPECT_EQ(themes[0]["prompt"], "Quel organe est représenté ?");
    EXPECT_EQ(themes[0]["questions"][0]["question"], Json({{"media", 1}}));
    EXPECT_EQ(themes[1]["questions"][0]["question"], Json({{"media", 2}}));
    for (const char* line :
         {"the picture \"portrait.jpg\" in the question is dropped: there is no such file beside the bank",
          "the picture \"../secret.png\" in the question is dropped: a bank's own files are those of its folder and the "
          "folders below it",
          "wrote 2 pictures and sounds into"})
        EXPECT_NE(said.find(line), std::string::npos) << line << "\n" << said;
}

TEST(BankMedia, MediaTheQuizCannotHoldAreReportedAndLeaveNoAddressInTheText) {
    const std::string long_text =
        "Sur ce schéma du système digestif, où l'on voit aussi le foie et la vésicule, quel organe est marqué "
        "d'une flèche rouge, juste sous l'estomac ?";
    const struct {
        const char* what;
        std::string text;  // of the question
        std::vector<std::pair<std::string, std::string>> files;
        const char* question;  // the plain text kept
        const char* line;      // of the report
    } rows[] = {
        {"a picture with a long text", long_text + "<img src=\"@@PLUGINFILE@@/schema.png\">",
         {{"schema.png", png_two_pixels}}, nullptr,
         "the picture \"schema.png\" in the question is dropped: a question of a quiz is either a text or a picture "
         "or sound with a few words on one line, not both"},
        {"a picture whose file the bank lacks", "Qui est-ce ? <img src=\"@@PLUGINFILE@@/portrait.jpg\">", {},
         "Qui est-ce ?", "the picture \"portrait.jpg\" in the question is dropped: the bank does not hold its file"},
        {"a file that is not a picture", "Quel pays ? <img src=\"@@PLUGINFILE@@/carte.png\">",
         {{"carte.png", "bm90IGEgcGljdHVyZQ=="}}, "Quel pays ?",
         "the picture \"carte.png\" in the question is dropped: not a PNG, JPEG or GIF picture"},
        {"a video", "Que montre la vidéo ? <video controls src=\"@@PLUGINFILE@@/film.mp4\">film.mp4</video>",
         {{"film.mp4", "AAAA"}}, "Que montre la vidéo ?",
         "the video \"film.mp4\" in the question is dropped: a quiz shows no videos"},
        {"a link to a sound, shown as a player", "Écoutez : <a href=\"@@PLUGINFILE@@/voix.ogg\">voix.ogg</a> Qui parle ?",
         {}, "Écoutez : Qui parle ?", "the sound \"voix.ogg\" in the question is dropped: the bank does not hold its file"},
        {"a link to a document keeps its words", "Lisez <a href=\"@@PLUGINFILE@@/texte.pdf\">le texte</a> : qui parle ?",
         {}, "Lisez le texte : qui parle ?",
         "the file \"texte.pdf\" in the question is dropped: a quiz holds no other files (a link's words are kept)"},
        {"an address of the platform written as text", "Voir @@PLUGINFILE@@/notes.mp3 puis répondre.", {},
         "Voir puis répondre.", "the sound \"notes.mp3\" in the question is dropped: the bank does not hold its file"},
        {"an embedded page of a video site", "Qui chante ? <iframe src=\"https://www.youtube.com/embed/x\"></iframe>", {},
         "Qui chante ?", "the video \"https://www.youtube.com/embed/x\" in the question is dropped: a quiz shows no videos"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        const std::string xml = "<quiz>\n" + moodle_question("shortanswer", row.text, row.files, answer("100", "x")) +
                                "</quiz>\n";
        auto bank = import_bank(BankFormat::moodle_xml, xml, "banque");
        ASSERT_TRUE(bank) << bank.error().what;
        const QuizModel& quiz = bank.value().model;
        ASSERT_EQ(quiz.themes.size(), 1u);
        const std::string stored = quiz.themes[0].questions[0].question;
        EXPECT_EQ(stored.find("PLUGINFILE"), std::string::npos) << stored;
        EXPECT_TRUE(quiz.media.empty());
        if (row.question) {
            EXPECT_EQ(stored, utf8_to_cp1252(row.question).value());
        }
        bool reported = false;
        for (const auto& line : bank.value().report.lines) reported = reported || line.what == row.line;
        EXPECT_TRUE(reported) << row.line;
    }
}

}  // namespace
}  // namespace kz
