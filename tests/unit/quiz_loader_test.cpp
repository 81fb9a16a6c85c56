// The quiz container, the stream reader and quiz loading, on well-formed and
// damaged quizzes.
#include <gtest/gtest.h>

#include <cstring>

#include "quiz/byte_source.h"
#include "quiz/container.h"
#include "quiz/quiz_loader.h"
#include "quiz/stream_fields.h"
#include "quiz/stream_reader.h"
#include "quiz_fixtures.h"

namespace kz {
namespace {

std::string with_marker(std::size_t size, std::uint32_t overlay, std::uint32_t stream,
                        const char* magic = "K&Z") {
    std::string file(size, '\0');
    std::memcpy(file.data() + 192, magic, 3);
    std::string number;
    put_u32(number, overlay);
    std::memcpy(file.data() + 195, number.data(), 4);
    if (overlay + 4 <= size) {
        number.clear();
        put_u32(number, stream);
        std::memcpy(file.data() + overlay, number.data(), 4);
    }
    return file;
}

TEST(ContainerCheck, AcceptsOrRefusesMarkersInRuleOrder) {
    struct Case {
        const char* name;
        std::string file;
        bool accepted;
    };
    const Case cases[] = {
        {"well formed", with_marker(1000, 500, 600), true},
        {"stream offset equal to the overlay offset", with_marker(1000, 500, 500), true},
        {"stream offset equal to the file size", with_marker(1000, 500, 1000), true},
        {"magic in the wrong case", with_marker(1000, 500, 600, "K&z"), false},
        {"magic with its letters swapped", with_marker(1000, 500, 600, "Z&K"), false},
        {"bare runner with zeros at 192", std::string(1000, '\0'), false},
        {"overlay offset past the end", with_marker(1000, 1001, 1001), false},
        {"overlay at the very end leaves no stream offset", with_marker(1000, 1000, 1000), false},
        {"stream offset past the end", with_marker(1000, 500, 1001), false},
        {"stream offset before the overlay", with_marker(1000, 500, 499), false},
        {"file too short to hold the marker", std::string(197, '\0'), false},
    };
    for (const auto& c : cases) {
        MemorySource file(c.file);
        EXPECT_EQ(check_container(file).has_value(), c.accepted) << c.name;
    }
}

TEST(ContainerCheck, ReportsTheOffsetsOfABuiltQuiz) {
    const std::string runner = testing::fake_runner(4096);
    QuizModel model = testing::two_theme_quiz();
    model.media = {{"a.bmp", "A", media_image, 0, 0, 1}};
    auto built = build_quiz_executable(runner, model, {"BMBYTES"});
    ASSERT_TRUE(built);
    MemorySource file(built.value());
    const auto info = check_container(file);
    ASSERT_TRUE(info);
    EXPECT_EQ(info->overlay_offset, 4096u);
    EXPECT_EQ(info->stream_offset, 4096u + 4 + 7);
    EXPECT_EQ(bare_runner(built.value(), *info), runner);
}

TEST(ContainerBuild, RefusesARunnerWhoseMarkerBytesAreTaken) {
    std::string runner = testing::fake_runner();
    runner[195] = 'x';
    EXPECT_FALSE(build_quiz_executable(runner, QuizModel{}, {}));
}

TEST(StreamReader, ReadsLinesUpToTheirCarriageReturn) {
    struct Case {
        const char* name;
        std::string stream;
        std::optional<std::string> line;
        std::uint64_t cursor_after;
    };
    const std::string longest(29999, 'x');
    const Case cases[] = {
        {"plain line", "abc\r\nrest", "abc", 5},
        {"empty line", "\r\nrest", "", 2},
        {"line feed not checked", "abc\rXrest", "abc", 5},
        {"lone line feed is part of the text", "a\nb\r\n", "a\nb", 5},
        {"longest line read whole", longest + "\r\n", longest, 30001},
        {"one byte too long", longest + "x\r\n", std::nullopt, 0},
        {"no carriage return before the end", "abc", std::nullopt, 0},
        {"NUL before the carriage return", std::string("a\0b\r\n", 5), std::nullopt, 0},
        {"nothing left", "", std::nullopt, 0},
    };
    for (const auto& c : cases) {
        MemorySource source(c.stream);
        StreamReader reader(source, 0);
        EXPECT_EQ(reader.read_line(), c.line) << c.name;
        EXPECT_EQ(reader.cursor(), c.cursor_after) << c.name;
    }
}

TEST(StreamReader, ReadsLittleEndianSignedNumbersAndRefusesTruncatedOnes) {
    MemorySource source(std::string("\x11\x00\x00\x00\xFF\xFF\xFF\xFF\x00\x00\x00\x80\x01\x02", 14));
    StreamReader reader(source, 0);
    EXPECT_EQ(reader.read_number(), 17);
    EXPECT_EQ(reader.read_number(), -1);
    EXPECT_EQ(reader.read_number(), INT32_MIN);
    EXPECT_EQ(reader.read_number(), std::nullopt);
    EXPECT_EQ(reader.cursor(), 12u);
}

TEST(StreamReader, ReadsAcrossItsBufferBoundary) {
    // Lines long enough that some of them straddle the 1 MiB read buffer.
    std::string stream;
    std::vector<std::string> lines;
    for (int i = 0; stream.size() < 3u << 20; ++i) {
        lines.push_back(std::string(20000 + i % 7919, static_cast<char>('a' + i % 26)));
        stream += lines.back() + "\r\n";
    }
    MemorySource source(stream);
    StreamReader reader(source, 0);
    for (const auto& expected : lines) ASSERT_EQ(reader.read_line(), expected);
    EXPECT_EQ(reader.read_line(), std::nullopt);
}

TEST(Unscramble, DecodesOddPositionsLessTheKey) {
    struct Case {
        const char* name;
        std::string stored;
        std::string clear;
    };
    const Case cases[] = {
        {"key alone is the empty text", "\x05", ""},
        {"nothing stored at all", "", ""},
        {"fillers ignored", "\x03" "D" "z" "f" "z" "f", "Acc"},
        {"trailing filler ignored", "\x01" "b" "!", "a"},
        {"below the key gives 255", "\x10" "\x05", "\xFF"},
        {"stored byte above 127 reads negative", "\x01" "\xC8", "\xFF"},
        {"key zero keeps ASCII", std::string("\x00" "A", 2), "A"},
    };
    for (const auto& c : cases) EXPECT_EQ(unscramble_line(c.stored), c.clear) << c.name;
}

TEST(Unscramble, PackerScramblingRoundTripsPrintableText) {
    for (const std::string& clear : std::vector<std::string>{
             "", "C:\\R\xE9sultats\\kz.dat", "prof@ecole.fr", "~tilde and space ", std::string(259, 'z')}) {
        const auto stored = scramble_line(clear);
        const bool printable = clear.find('\xE9') == std::string::npos;
        ASSERT_EQ(stored.has_value(), printable) << clear;
        if (!stored) continue;
        EXPECT_EQ(stored->find_first_of(std::string("\r\0", 2)), std::string::npos);
        EXPECT_EQ(unscramble_line(*stored), clear);
        EXPECT_EQ(scramble_line(clear), stored) << "the same text scrambles the same way";
    }
}

// A quiz with a distinct value in every header field.
QuizModel every_field_set() {
    QuizModel model = testing::two_theme_quiz();
    std::int32_t next = -3;
    for (const auto& field : stream_fields()) {
        if (field.number) model.*field.number = next++ * 1000 + 7;
        if (field.kind == FieldKind::line) model.*field.text = std::string(field.name) + " \xE9t\xE9";
        if (field.kind == FieldKind::scrambled) model.*field.text = std::string("clear ") + field.name;
    }
    model.media = {{"carte.bmp", "Carte", media_image, 0, 0, 527}, {"", "", 0, 0, 0, 0}};
    return model;
}

void expect_same_quiz(const QuizModel& a, const QuizModel& b) {
    for (const auto& field : stream_fields()) {
        if (field.number) {
            EXPECT_EQ(a.*field.number, b.*field.number) << field.name;
        }
        if (field.text) {
            EXPECT_EQ(a.*field.text, b.*field.text) << field.name;
        }
    }
    ASSERT_EQ(a.themes.size(), b.themes.size());
    for (std::size_t t = 0; t < a.themes.size(); ++t) {
        EXPECT_EQ(a.themes[t].name, b.themes[t].name);
        EXPECT_EQ(a.themes[t].prompt, b.themes[t].prompt);
        EXPECT_EQ(a.themes[t].reverse_prompt, b.themes[t].reverse_prompt);
        ASSERT_EQ(a.themes[t].questions.size(), b.themes[t].questions.size());
        for (std::size_t i = 0; i < a.themes[t].questions.size(); ++i) {
            const auto& x = a.themes[t].questions[i];
            const auto& y = b.themes[t].questions[i];
            EXPECT_EQ(std::tie(x.question, x.answer, x.first_wrong, x.second_wrong, x.comment),
                      std::tie(y.question, y.answer, y.first_wrong, y.second_wrong, y.comment));
        }
    }
    ASSERT_EQ(a.media.size(), b.media.size());
    for (std::size_t r = 0; r < a.media.size(); ++r) {
        EXPECT_EQ(a.media[r].file_name, b.media[r].file_name);
        EXPECT_EQ(a.media[r].label, b.media[r].label);
        EXPECT_EQ(a.media[r].kind, b.media[r].kind);
        EXPECT_EQ(a.media[r].id, b.media[r].id);
    }
}

Result<QuizModel, LoadError> load_bytes(const std::string& bytes) {
    MemorySource file(bytes);
    const auto info = check_container(file);
    if (!info) return Result<QuizModel, LoadError>::failure(LoadError::unreadable_line);
    return load_quiz(file, *info);
}

TEST(QuizLoading, ReadsEveryFieldInStreamOrder) {
    const QuizModel original = every_field_set();
    auto loaded = load_bytes(testing::executable_of(original, {"BM-carte", ""}));
    ASSERT_TRUE(loaded) << describe(loaded.error());
    expect_same_quiz(original, loaded.value());
    EXPECT_EQ(loaded.value().media[0].blob_size, 8u);
    EXPECT_EQ(loaded.value().media[1].blob_size, 0u);
}

TEST(QuizLoading, LoadsAQuizWithoutThemesOrMedia) {
    QuizModel empty;
    auto loaded = load_bytes(testing::executable_of(empty));
    ASSERT_TRUE(loaded);
    EXPECT_TRUE(loaded.value().themes.empty());
    EXPECT_TRUE(loaded.value().media.empty());
}

// The stream of a quiz with one theme whose count line is replaced.
std::string with_count_line(const std::string& count_line) {
    QuizModel model;
    model.themes.resize(1);
    model.themes[0].name = "Th\xE8me";
    model.themes[0].questions = {{"q1", "a1", "", "", ""}, {"q2", "a2", "", "", ""}};
    std::string bytes = testing::executable_of(model);
    const std::string original = "\r\n2\r\nq1\r\n";
    const auto at = bytes.find(original);
    return bytes.replace(at + 2, 1, count_line);
}

TEST(QuizLoading, ReadsCountLinesAsDecimalText) {
    struct Case {
        std::string count_line;
        std::optional<std::size_t> questions;
    };
    const Case cases[] = {
        {"2", 2},    {" 2", 2},   {"+2", 2},  {"2 questions", 2}, {"02", 2},
        {"0", 0},  // the lines that follow are left unread, as bytes after the stream are
        {"501", std::nullopt}, {"-1", std::nullopt}, {"99999999999999999999", std::nullopt},
        {std::string("\x02\x00\x00\x00", 4), std::nullopt},  // a binary count holds NUL bytes
    };
    for (const auto& c : cases) {
        auto loaded = load_bytes(with_count_line(c.count_line));
        ASSERT_EQ(loaded.ok(), c.questions.has_value()) << c.count_line;
        if (loaded) {
            EXPECT_EQ(loaded.value().themes[0].questions.size(), *c.questions);
        }
    }
}

TEST(QuizLoading, AcceptsAThemeWithoutQuestions) {
    QuizModel model;
    model.themes.resize(1);
    model.themes[0].name = "Vide";
    auto loaded = load_bytes(testing::executable_of(model));
    ASSERT_TRUE(loaded);
    EXPECT_EQ(loaded.value().themes[0].questions.size(), 0u);
}

// Overwrites the number at the given field of the header.
std::string with_header_number(const QuizModel& model, FieldKind kind, std::int32_t value) {
    std::string bytes = testing::executable_of(model);
    MemorySource file(bytes);
    const auto info = check_container(file);
    StreamReader reader(file, info->stream_offset);
    for (const auto& field : stream_fields()) {
        if (field.kind == kind) {
            std::string number;
            put_u32(number, static_cast<std::uint32_t>(value));
            bytes.replace(reader.cursor(), 4, number);
            return bytes;
        }
        if (field.kind == FieldKind::line || field.kind == FieldKind::scrambled)
            reader.read_line();
        else
            reader.read_number();
    }
    return bytes;
}

TEST(QuizLoading, RefusesCountsOutsideTheFormat) {
    const QuizModel model = testing::two_theme_quiz();
    struct Case {
        const char* name;
        FieldKind field;
        std::int32_t value;
        LoadError error;
    };
    const Case cases[] = {
        {"fifty-one themes", FieldKind::theme_count, 50, LoadError::bad_theme_count},
        {"theme count below -1", FieldKind::theme_count, -2, LoadError::bad_theme_count},
        {"huge theme count", FieldKind::theme_count, INT32_MAX, LoadError::bad_theme_count},
        {"negative media count", FieldKind::media_count, -1, LoadError::bad_media_count},
        {"more media rows than the file holds", FieldKind::media_count, 1000000, LoadError::bad_media_count},
    };
    for (const auto& c : cases) {
        auto loaded = load_bytes(with_header_number(model, c.field, c.value));
        ASSERT_FALSE(loaded) << c.name;
        EXPECT_EQ(loaded.error(), c.error) << c.name;
    }
}

TEST(QuizLoading, RefusesMediaFileNamesLongerThan259Characters) {
    QuizModel model = testing::two_theme_quiz();
    model.media = {{std::string(259, 'n'), "", media_image, 0, 0, 1}};
    const std::string longest = testing::executable_of(model);
    ASSERT_TRUE(load_bytes(longest)) << "259 characters fit";

    std::string one_more = longest;
    one_more.insert(one_more.find(std::string(259, 'n')), "n");
    auto loaded = load_bytes(one_more);
    ASSERT_FALSE(loaded);
    EXPECT_EQ(loaded.error(), LoadError::name_too_long);

    model.media[0].file_name += "n";
    EXPECT_TRUE(testing::executable_of(model).empty()) << "the writer refuses it too";
}

TEST(QuizLoading, RefusesAScrambledFieldDecodingPastItsField) {
    QuizModel model = testing::two_theme_quiz();
    model.mail_recipient = "x";
    std::string bytes = testing::executable_of(model);
    const auto stored = *scramble_line("x");
    const auto at = bytes.find(stored + "\r\n");
    ASSERT_NE(at, std::string::npos);
    bytes.replace(at, stored.size(), std::string(1, stored[0]) + std::string(520, stored[1]));
    auto loaded = load_bytes(bytes);
    ASSERT_FALSE(loaded);
    EXPECT_EQ(loaded.error(), LoadError::scrambled_too_long);
}

TEST(QuizLoading, RefusesEveryTruncationOfAWellFormedQuiz) {
    QuizModel model = every_field_set();
    const std::string whole = testing::executable_of(model, {"BM-carte", ""});
    MemorySource file(whole);
    const auto stream_offset = check_container(file)->stream_offset;
    ASSERT_TRUE(load_bytes(whole));
    for (std::size_t cut = stream_offset; cut < whole.size(); ++cut)
        ASSERT_FALSE(load_bytes(whole.substr(0, cut))) << "cut at " << cut;
}

}  // namespace
}  // namespace kz
