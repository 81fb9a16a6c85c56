// Media references, media lookup by id, display labels and extraction.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "quiz/byte_source.h"
#include "quiz/media_extractor.h"
#include "quiz/media_table.h"

namespace kz {
namespace {

namespace fs = std::filesystem;

QuizModel quiz_with_rows() {
    QuizModel model;
    for (int r = 1; r <= 27; ++r)
        model.media.push_back({"item" + std::to_string(r) + ".bmp", "Item", media_image, 0, 0, r});
    model.media.push_back({"cloche.wav", "Cloche", media_sound, 0, 0, 527});
    model.media.push_back({"air.mid", "Air", media_music, 0, 0, 528});
    model.media.push_back({"", "", 0, 0, 0, 0});  // an empty row
    model.media.push_back({"autre.bin", "Autre", 7, 0, 0, 529});
    model.media.push_back({"double.bmp", "Second", media_image, 0, 0, 527});
    return model;
}

TEST(MediaTable, FindsRowsByIdNotByRowNumber) {
    const QuizModel model = quiz_with_rows();
    EXPECT_EQ(find_media(model, 527), 28u);
    EXPECT_EQ(find_media(model, 528), 29u);
    EXPECT_EQ(find_media(model, 1), 1u);
    EXPECT_EQ(find_media(model, 0), 30u);
    EXPECT_EQ(find_media(model, 999), std::nullopt);
}

TEST(MediaTable, LowIdsNameNothingUnlessTheQuizLooksThemUp) {
    QuizModel model = quiz_with_rows();
    EXPECT_EQ(media_of_id(model, 0), nullptr);
    EXPECT_EQ(media_of_id(model, -1), nullptr);
    model.look_up_low_ids = 1;
    ASSERT_NE(media_of_id(model, 0), nullptr);
    EXPECT_EQ(media_of_id(model, 0)->file_name, "");
}

TEST(MediaTable, ReadsTheIdOfAReference) {
    struct Case {
        const char* text;
        std::optional<std::int32_t> id;
    };
    const Case cases[] = {
        {"$@%0 527", 527},    {"$@%0527", 527},       {"$@%1    12", 12},
        {"$@%0 123456789", 12345},  // six characters at most, counting the blank
        {"$@%", 0},           {"$@%0 x", 0},          {"Paris", std::nullopt},
        {"{\\rtf1 $@%0 1}", std::nullopt},
    };
    for (const auto& c : cases) EXPECT_EQ(media_reference_id(c.text), c.id) << c.text;
}

TEST(MediaTable, LabelsReferencesByKind) {
    const QuizModel model = quiz_with_rows();
    struct Case {
        const char* text;
        const char* label;
    };
    const Case cases[] = {
        {"Paris", "Paris"},
        {"$@%0 1", "<Image : Item>"},
        {"$@%0 527", "<Son : Cloche>"},
        {"$@%0 528", "<Musique : Air>"},
        {"$@%0 529", "<Musique : Autre>"},
        {"$@%0 4242", "$@%0 4242"},
    };
    for (const auto& c : cases) EXPECT_EQ(display_label(model, c.text), c.label) << c.text;
}

TEST(MediaTable, AcceptsOnlyNamesThatStayInTheirFolder) {
    struct Case {
        const char* name;
        bool safe;
    };
    const Case cases[] = {
        {"carte.bmp", true},     {"l'\xE9t\xE9 2.wav", true}, {"a..b.mid", true},
        {"..", false},           {".", false},                {"..\\evil.bmp", false},
        {"../evil.bmp", false},  {"sub/a.bmp", false},        {"C:evil.bmp", false},
        {"C:\\Windows\\a.bmp", false}, {"\\\\server\\share", false}, {"", false},
        {"CON", false},          {"nul.wav", false},          {"Com1.mid", false},
        {"lpt9", false},         {"aux .bmp", false},         {"conin$", false},
        {"console.bmp", true},   {"com10.bmp", true},         {"a.bmp.", false},
        {"a.bmp ", false},       {"a\tb.bmp", false},         {"what?.bmp", false},
    };
    for (const auto& c : cases) EXPECT_EQ(is_safe_media_name(c.name), c.safe) << c.name;
}

// A runner file held in memory that counts its reads.
class CountingSource final : public ByteSource {
public:
    explicit CountingSource(const std::string& bytes, std::vector<std::size_t>& reads)
        : inner_(bytes), reads_(reads) {}
    std::uint64_t size() const override { return inner_.size(); }
    std::size_t read_at(std::uint64_t offset, void* buffer, std::size_t n) const override {
        reads_.push_back(n);
        return inner_.read_at(offset, buffer, n);
    }

private:
    MemorySource inner_;
    std::vector<std::size_t>& reads_;
};

class MediaExtraction : public ::testing::Test {
protected:
    void SetUp() override {
        temp_ = fs::temp_directory_path() / ("kz-media-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
                                            ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(temp_);
        fs::create_directories(temp_);
    }
    void TearDown() override { fs::remove_all(temp_); }

    MediaExtractor extractor(const QuizModel& model) {
        return MediaExtractor(model, temp_ / "runner", temp_, [this] {
            return std::make_unique<CountingSource>(runner_bytes_, reads_);
        });
    }
    std::string contents(const fs::path& path) { return read_whole_file(path).value_or("<missing>"); }

    fs::path temp_;
    std::string runner_bytes_;
    std::vector<std::size_t> reads_;
};

TEST_F(MediaExtraction, KeepsOnlyTheLastExtractedItem) {
    runner_bytes_ = "headerAAAABBB";
    QuizModel model;
    model.media = {{"a.bmp", "A", media_image, 6, 4, 1}, {"b.wav", "B", media_sound, 10, 3, 2}};
    auto media = extractor(model);

    EXPECT_EQ(media.extract(1), temp_ / "a.bmp");
    EXPECT_EQ(contents(temp_ / "a.bmp"), "AAAA");
    EXPECT_EQ(media.extract(2), temp_ / "b.wav");
    EXPECT_FALSE(fs::exists(temp_ / "a.bmp"));
    EXPECT_EQ(contents(temp_ / "b.wav"), "BBB");
    EXPECT_EQ(media.extract(2), temp_ / "b.wav");
    EXPECT_EQ(contents(temp_ / "b.wav"), "BBB") << "extracting the same item again recreates it";
    media.delete_last();
    EXPECT_FALSE(fs::exists(temp_ / "b.wav"));
}

TEST_F(MediaExtraction, CopiesInChunksOf307200Bytes) {
    struct Case {
        std::uint32_t size;
        std::vector<std::size_t> reads;
    };
    const Case cases[] = {
        {0, {}},
        {1, {1}},
        {307200, {307200}},
        {307201, {307200, 1}},
        {614401, {307200, 307200, 1}},
    };
    for (const auto& c : cases) {
        runner_bytes_ = std::string(c.size + 16, 'x');
        QuizModel model;
        model.media = {{"item.bin", "", media_image, 16, c.size, 1}};
        auto media = extractor(model);
        reads_.clear();
        const auto path = media.extract(1);
        ASSERT_TRUE(path);
        EXPECT_EQ(reads_, c.reads) << c.size;
        EXPECT_EQ(fs::file_size(*path), c.size);
    }
}

TEST_F(MediaExtraction, GivesAShortFileForABlobPastTheEndOfTheRunner) {
    runner_bytes_ = "0123456789";
    QuizModel model;
    model.media = {{"short.bmp", "", media_image, 6, 100, 1}, {"far.bmp", "", media_image, 4000000000u, 5, 2}};
    auto media = extractor(model);
    EXPECT_EQ(contents(*media.extract(1)), "6789");
    EXPECT_EQ(contents(*media.extract(2)), "");
}

TEST_F(MediaExtraction, NeverWritesOutsideTheTemporaryFolder) {
    runner_bytes_ = "evil";
    QuizModel model;
    model.media = {{"..\\evil.bmp", "", media_image, 0, 4, 1}, {"../evil.bmp", "", media_image, 0, 4, 2},
                   {"NUL", "", media_sound, 0, 4, 3}};
    auto media = extractor(model);
    for (int id = 1; id <= 3; ++id) EXPECT_EQ(media.extract(id), std::nullopt) << id;
    EXPECT_FALSE(fs::exists(temp_.parent_path() / "evil.bmp"));
    EXPECT_TRUE(reads_.empty());
}

TEST_F(MediaExtraction, FindsExternalItemsInTheFolderOfTheirKind) {
    QuizModel model = quiz_with_rows();
    model.media_embedded = 0;
    auto media = extractor(model);
    const fs::path runner_dir = temp_ / "runner";
    EXPECT_EQ(media.extract(1), runner_dir / "Images" / "item1.bmp");
    EXPECT_EQ(media.extract(527), runner_dir / "Sons" / "cloche.wav");
    EXPECT_EQ(media.extract(528), runner_dir / "Musiques" / "air.mid");
    EXPECT_EQ(media.extract(529), std::nullopt) << "kind 7 has no folder";
    EXPECT_EQ(media.extract(0), std::nullopt) << "id 0 names nothing";
    EXPECT_EQ(media.extract(4242), std::nullopt);
    EXPECT_TRUE(reads_.empty());
}

}  // namespace
}  // namespace kz
