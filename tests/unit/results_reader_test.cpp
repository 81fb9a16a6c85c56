// Reading the results data file back: whatever the writer writes is read
// back equal, damaged stretches are skipped with their offset and cause while
// every whole record around them is read, and files of another format are
// refused.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <sstream>

#include "common/cp1252.h"
#include "quiz/byte_source.h"
#include "results/results_file.h"
#include "results/results_reader.h"
#include "support/temp_folder.h"

namespace kz::test {
namespace {

struct Contents {
    std::vector<ReadRecord> records;
    std::vector<SkippedBytes> skipped;
};

Contents read_all(ResultsReader& reader) {
    Contents contents;
    ReadRecord record;
    SkippedBytes skipped;
    for (;;) {
        const auto step = reader.next(record, skipped);
        if (step == ResultsReader::Step::end) return contents;
        if (step == ResultsReader::Step::record) contents.records.push_back(record);
        if (step == ResultsReader::Step::skipped) contents.skipped.push_back(skipped);
    }
}

Contents read_file(const std::filesystem::path& file) {
    auto reader = ResultsReader::open(file);
    EXPECT_TRUE(reader.ok()) << file;
    if (!reader) return {};
    return read_all(reader.value());
}

bool is_utf8_beyond_ascii(std::string_view text) {
    bool beyond = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (static_cast<unsigned char>(text[i]) < 0x80) continue;
        char32_t code_point = 0;
        const std::size_t length = utf8_sequence(text, i, code_point);
        if (!length) return false;
        beyond = true;
        i += length - 1;
    }
    return beyond;
}

// Texts a runner may write: any Windows-1252 byte but CR, LF and NUL, and
// now and then a text that looks like a number, a date or a time, so that
// only the lines' places tell them apart.
class RecordMaker {
public:
    explicit RecordMaker(unsigned seed) : random_(seed) {}

    std::string text(std::size_t longest = 40) {
        static const char* tricky[] = {"", " ", "0", "1", "-1", "09:07:15", "05/12/2026 09:07", "1.3",
                                       "<Image : Carte>", "{\\rtf1\\ansi Quelle est la \\b capitale\\b0 ?\\par }"};
        if (pick(5) == 0) return tricky[pick(std::size(tricky))];
        std::string out(pick(longest + 1), ' ');
        for (char& c : out) {
            do c = static_cast<char>(1 + pick(255)); while (c == '\r' || c == '\n');
        }
        // Random bytes now and then spell UTF-8, which is what a text editor
        // writes and is read as such (tested below); a lone accented letter
        // at the end keeps the runner's texts apart from it.
        if (is_utf8_beyond_ascii(out)) out += '\xE9';
        return out;
    }

    std::int32_t number() {
        return static_cast<std::int32_t>(static_cast<std::uint32_t>(random_()));
    }

    std::string clock() { return two(24) + ":" + two(60) + ":" + two(60); }

    ExamRecord record() {
        ExamRecord record;
        record.student_name = text(29);
        record.type_code = pick(4) == 0 ? number() : static_cast<std::int32_t>(pick(6));
        record.quiz_name = text();
        record.runner_path = text(200);
        record.score = pick(4) == 0 ? number() : static_cast<std::int32_t>(pick(101));
        record.start_date = two(32) + "/" + two(13) + "/" + std::to_string(1990 + pick(60)) + " " + two(24) + ":" + two(60);
        record.time_limit_on = number();
        record.time_limit = number();
        record.random_order = number();
        record.inverted = number();
        // Now and then the most entries a record holds.
        const std::size_t entries = pick(20) == 0 ? max_record_entries : pick(25);
        for (std::size_t e = 0; e < entries; ++e) {
            QuestionRecord entry;
            entry.theme_name = text();
            entry.prompt = text(pick(10) == 0 ? 5000 : 200);
            entry.question = text(300);
            for (std::size_t k = 0; k < answer_slots; ++k) {
                entry.expected[k] = text();
                entry.given[k] = text();
            }
            entry.right = static_cast<std::int32_t>(pick(2));
            entry.start_time = clock();
            entry.end_time = clock();
            record.entries.push_back(std::move(entry));
        }
        return record;
    }

private:
    std::size_t pick(std::size_t n) { return std::uniform_int_distribution<std::size_t>(0, n - 1)(random_); }
    std::string two(std::size_t n) {
        const std::size_t v = pick(n);
        return (v < 10 ? "0" : "") + std::to_string(v);
    }
    std::mt19937 random_;
};

void expect_same_record(const ExamRecord& read, const ExamRecord& written, const std::string& where) {
    EXPECT_EQ(read.student_name, written.student_name) << where;
    EXPECT_EQ(read.type_code, written.type_code) << where;
    EXPECT_EQ(read.quiz_name, written.quiz_name) << where;
    EXPECT_EQ(read.runner_path, written.runner_path) << where;
    EXPECT_EQ(read.score, written.score) << where;
    EXPECT_EQ(read.start_date, written.start_date) << where;
    EXPECT_EQ(read.time_limit_on, written.time_limit_on) << where;
    EXPECT_EQ(read.time_limit, written.time_limit) << where;
    EXPECT_EQ(read.random_order, written.random_order) << where;
    EXPECT_EQ(read.inverted, written.inverted) << where;
    ASSERT_EQ(read.entries.size(), written.entries.size()) << where;
    for (std::size_t e = 0; e < read.entries.size(); ++e)
        EXPECT_TRUE(read.entries[e] == written.entries[e]) << where << ", entry " << e;
}

TEST(ResultsReader, ReadsBackEveryRecordTheWriterWrites) {
    for (unsigned seed = 1; seed <= 4; ++seed) {
        RecordMaker maker(seed);
        std::vector<ExamRecord> written;
        std::vector<std::uint64_t> offsets;
        std::string bytes(results_format_line);
        // Several megabytes, so that records straddle the reader's chunks.
        while (bytes.size() < (3u << 20)) {
            written.push_back(maker.record());
            offsets.push_back(bytes.size());
            bytes += format_record(written.back());
        }
        TempFolder folder;
        ASSERT_TRUE(write_whole_file(folder / "kz.dat", bytes));

        const Contents read = read_file(folder / "kz.dat");
        const std::string where = "seed " + std::to_string(seed);
        EXPECT_TRUE(read.skipped.empty()) << where << ": skipped at " << read.skipped[0].offset;
        ASSERT_EQ(read.records.size(), written.size()) << where;
        for (std::size_t i = 0; i < written.size(); ++i) {
            EXPECT_EQ(read.records[i].offset, offsets[i]) << where << ", record " << i;
            expect_same_record(read.records[i].record, written[i], where + ", record " + std::to_string(i));
        }
    }
}

ExamRecord named_record(const std::string& student, std::size_t entries) {
    ExamRecord record;
    record.begin("10:00:00");
    record.student_name = student;
    record.type_code = 1;
    record.quiz_name = "G\xE9ographie";
    record.runner_path = "C:\\Quiz\\geo.exe";
    record.score = 50;
    record.start_date = "05/12/2026 10:00";
    for (std::size_t k = 0; k < entries; ++k) {
        record.open_entry.expected[0] = "Paris";
        record.open_entry.given[0] = "Lyon";
        record.open_entry.right = static_cast<std::int32_t>(k % 2);
        record.close_question_entry("10:00:1" + std::to_string(k), "Capitales", "Capitale ?", "France");
    }
    return record;
}

// The offset of the n-th line (0 = first) of a text.
std::size_t line_offset(const std::string& text, std::size_t n) {
    std::size_t at = 0;
    for (std::size_t i = 0; i < n; ++i) at = text.find('\n', at) + 1;
    return at;
}

std::string replace_line(std::string record, std::size_t n, const std::string& line) {
    const std::size_t from = line_offset(record, n);
    const std::size_t to = record.find("\r\n", from);
    return record.replace(from, to - from, line);
}

TEST(ResultsReader, SkipsDamageAndReadsEveryWholeRecordAroundIt) {
    const std::string anna = format_record(named_record("Anna", 2));
    const std::string bruno = format_record(named_record("Bruno", 3));
    const std::string chloe = format_record(named_record("Chlo\xE9", 1));
    const std::string head(results_format_line);

    struct Expected {
        std::size_t offset;     // of the skipped stretch
        std::size_t length;
        ResultsFault fault;
        std::size_t fault_offset;
        std::string fault_line;
    };
    struct Row {
        const char* damage;
        std::string file;
        std::vector<std::string> students;
        std::vector<Expected> skipped;
    };
    const std::size_t at_b = head.size() + anna.size();
    const std::string bruno_cut = bruno.substr(0, bruno.size() / 2);
    const std::string long_line(max_results_line + 10, 'x');
    const std::string lf_only = [&] {
        std::string text = head + anna + bruno;
        std::string out;
        for (char c : text) if (c != '\r') out += c;
        return out;
    }();
    const Row rows[] = {
        {"none", head + anna + bruno + chloe, {"Anna", "Bruno", "Chlo\xE9"}, {}},
        {"the last record cut short in an entry", head + anna + bruno + chloe.substr(0, 150),
         {"Anna", "Bruno"},
         {{at_b + bruno.size(), 150, ResultsFault::cut_short, at_b + bruno.size() + 150, ""}}},
        {"the last record cut short in its header", head + anna + bruno.substr(0, 20), {"Anna"},
         {{at_b, 20, ResultsFault::cut_short, at_b + 20, ""}}},
        {"a record cut short, and the next one appended after a line end",
         head + anna + bruno_cut + "\r\n" + chloe, {"Anna", "Chlo\xE9"},
         {{at_b, bruno_cut.size() + 2, ResultsFault::bad_right_flag,
           at_b + bruno_cut.size() + 2 + line_offset(chloe, 12), "Capitale ?"}}},
        {"a count line that does not parse", head + anna + replace_line(bruno, 10, "deux") + chloe,
         {"Anna", "Chlo\xE9"},
         {{at_b, bruno.size() + 3, ResultsFault::bad_entry_count, at_b + line_offset(bruno, 10), "deux"}}},
        {"a count beyond what a record holds", head + anna + replace_line(bruno, 10, "500") + chloe,
         {"Anna", "Chlo\xE9"},
         {{at_b, bruno.size() + 2, ResultsFault::bad_entry_count, at_b + line_offset(bruno, 10), "500"}}},
        {"a score that is no number", head + anna + replace_line(bruno, 4, "cinquante") + chloe,
         {"Anna", "Chlo\xE9"},
         {{at_b, bruno.size() + 7, ResultsFault::bad_number, at_b + line_offset(bruno, 4), "cinquante"}}},
        {"a right flag of 2", head + anna + replace_line(bruno, 11 + 16 + 13, "2") + chloe,
         {"Anna", "Chlo\xE9"},
         {{at_b, bruno.size(), ResultsFault::bad_right_flag, at_b + line_offset(bruno, 11 + 16 + 13), "2"}}},
        {"a line far too long", head + anna + replace_line(bruno, 12, long_line) + chloe, {"Anna", "Chlo\xE9"},
         {{at_b, bruno.size() - 10 + long_line.size(), ResultsFault::line_too_long, at_b + line_offset(bruno, 12),
           long_line.substr(0, 40)}}},
        {"garbage between two records", head + anna + "\x01\xFFgarbage\r\n\r\n" + chloe, {"Anna", "Chlo\xE9"},
         {{at_b, 13, ResultsFault::bad_number, at_b + 11, ""}}},
        {"empty lines between records and at the end", head + anna + "\r\n\r\n" + chloe + "\r\n",
         {"Anna", "Chlo\xE9"}, {}},
        {"lines ended by LF alone", lf_only, {"Anna", "Bruno"}, {}},
        {"no line end after the last line", head + anna + bruno.substr(0, bruno.size() - 2), {"Anna", "Bruno"}, {}},
    };
    for (const Row& row : rows) {
        TempFolder folder;
        ASSERT_TRUE(write_whole_file(folder / "kz.dat", row.file));
        const Contents read = read_file(folder / "kz.dat");
        std::vector<std::string> students;
        for (const ReadRecord& r : read.records) students.push_back(r.record.student_name);
        EXPECT_EQ(students, row.students) << row.damage;
        ASSERT_EQ(read.skipped.size(), row.skipped.size()) << row.damage;
        for (std::size_t i = 0; i < row.skipped.size(); ++i) {
            const SkippedBytes& got = read.skipped[i];
            const Expected& want = row.skipped[i];
            EXPECT_EQ(got.offset, want.offset) << row.damage;
            EXPECT_EQ(got.length, want.length) << row.damage;
            EXPECT_EQ(got.fault, want.fault) << row.damage;
            if (want.fault_offset) {
                EXPECT_EQ(got.fault_offset, want.fault_offset) << row.damage;
            }
            if (!want.fault_line.empty()) {
                EXPECT_EQ(got.fault_line, want.fault_line) << row.damage;
            }
        }
    }
}

// Any damage inside one record costs that record at most: whatever the
// damage (cut short and the next record appended after a line end, a line
// lost, a line added, a line replaced), every other record is read, equal to
// what was written, and nothing is skipped outside the damaged record.
TEST(ResultsReader, DamageToOneRecordCostsNoOther) {
    static const char* names[] = {"Anna", "Bruno", "Chlo\xE9", "David", "\xC9milie", "Farid"};
    static const char* words[] = {"Paris", "Rome", "1789", "des chevaux", "<Image : Carte>", " ", "",
                                  "{\\rtf1\\ansi Quelle est la \\b capitale\\b0 ?\\par }"};
    std::mt19937 random(11);
    auto pick = [&](std::size_t n) { return std::uniform_int_distribution<std::size_t>(0, n - 1)(random); };
    for (int round = 0; round < 300; ++round) {
        std::vector<std::string> records;
        for (int i = 0; i < 5; ++i) {
            ExamRecord record = named_record(names[pick(std::size(names))], pick(4));
            for (QuestionRecord& entry : record.entries) {
                entry.question = words[pick(std::size(words))];
                entry.given[pick(answer_slots)] = words[pick(std::size(words))];
            }
            records.push_back(format_record(record));
        }
        const std::size_t k = pick(records.size());
        std::string& victim = records[k];
        const std::size_t lines = static_cast<std::size_t>(std::count(victim.begin(), victim.end(), '\n'));
        const std::size_t line = pick(lines);
        const std::size_t from = line_offset(victim, line), to = line_offset(victim, line + 1);
        const int damage = static_cast<int>(pick(4));
        switch (damage) {
        case 0: victim = victim.substr(0, pick(victim.size())) + "\r\n"; break;  // cut short, then a line end
        case 1: victim.erase(from, to - from); break;                            // a line lost
        case 2: victim.insert(from, "ligne en trop\r\n"); break;                // a line added
        case 3: victim.replace(from, to - from - 2, "#?!"); break;               // a line replaced
        }
        std::string bytes(results_format_line);
        std::size_t damaged_from = 0, damaged_to = 0;
        for (std::size_t i = 0; i < records.size(); ++i) {
            if (i == k) damaged_from = bytes.size();
            bytes += records[i];
            if (i == k) damaged_to = bytes.size();
        }
        auto reader = ResultsReader::from_stream(std::make_unique<std::istringstream>(bytes));
        ASSERT_TRUE(reader.ok());
        const Contents read = read_all(reader.value());

        const std::string where = "round " + std::to_string(round) + ", damage " + std::to_string(damage);
        std::vector<std::string> others;
        for (const ReadRecord& r : read.records) {
            if (r.offset >= damaged_from && r.offset < damaged_to) continue;  // the damaged one, if whole
            others.push_back(format_record(r.record));
        }
        std::vector<std::string> expected = records;
        expected.erase(expected.begin() + static_cast<std::ptrdiff_t>(k));
        EXPECT_EQ(others, expected) << where;
        for (const SkippedBytes& skipped : read.skipped) {
            EXPECT_GE(skipped.offset, damaged_from) << where;
            EXPECT_LE(skipped.offset + skipped.length, damaged_to) << where;
        }
    }
}

// A file that a text editor saved again as UTF-8: its texts are read back as
// the runners wrote them, and the reader says what it read as UTF-8. Runners
// keep appending Windows-1252 records after the editor's part.
TEST(ResultsReader, ReadsAFileThatAnEditorSavedAsUtf8) {
    const std::string bom = "\xEF\xBB\xBF";
    const std::string head(results_format_line);
    ExamRecord chloe = named_record("Chlo\xE9", 1);
    chloe.entries[0].given[0] = "\x80 \x9C";  // the euro sign and the ligature oe
    const std::string chloe_1252 = format_record(chloe);
    const std::string chloe_utf8 = cp1252_to_utf8(chloe_1252);
    const std::string noel = format_record(named_record("No\xEBl", 2));
    const std::string lf_only = [&] {
        std::string out;
        for (char c : chloe_utf8) if (c != '\r') out += c;
        return out;
    }();
    struct Row {
        const char* file_is;
        std::string bytes;
        std::vector<std::string> students;  // Windows-1252
        bool byte_order_mark;
        std::uint64_t utf8_lines;
        std::uint64_t first_utf8_offset;
        std::uint64_t unmapped;
        std::uint64_t first_record_offset;
    };
    const Row rows[] = {
        {"Windows-1252, as the runners write it", head + chloe_1252 + noel, {"Chlo\xE9", "No\xEBl"}, false, 0, 0, 0, 5},
        {"UTF-8 with a byte order mark", bom + head + chloe_utf8, {"Chlo\xE9"}, true, 3, 0, 0, 8},
        {"UTF-8 without a byte order mark", head + chloe_utf8, {"Chlo\xE9"}, false, 3, 5, 0, 5},
        {"UTF-8 with lines ended by LF alone", bom + "1.3\n" + lf_only, {"Chlo\xE9"}, true, 3, 0, 0, 7},
        {"UTF-8, then a record that a runner appended", head + chloe_utf8 + noel, {"Chlo\xE9", "No\xEBl"}, false, 3, 5, 0,
         5},
        {"UTF-8 holding a letter that Windows-1252 lacks", head + cp1252_to_utf8(format_record(named_record("Anna", 0))).replace(
             head.size() - 5, 4, "\xC5\x81ukasz"), {"?ukasz"}, false, 2, 5, 1, 5},
    };
    for (const Row& row : rows) {
        auto reader = ResultsReader::from_stream(std::make_unique<std::istringstream>(row.bytes));
        ASSERT_TRUE(reader.ok()) << row.file_is;
        const Contents read = read_all(reader.value());
        std::vector<std::string> students;
        for (const ReadRecord& r : read.records) students.push_back(r.record.student_name);
        EXPECT_EQ(students, row.students) << row.file_is;
        EXPECT_TRUE(read.skipped.empty()) << row.file_is;
        if (!read.records.empty()) {
            EXPECT_EQ(read.records[0].offset, row.first_record_offset) << row.file_is;
            EXPECT_EQ(read.records[0].record.quiz_name, "G\xE9ographie") << row.file_is;
        }
        if (students.size() && students[0] == "Chlo\xE9") {
            EXPECT_EQ(read.records[0].record.entries[0].given[0], "\x80 \x9C") << row.file_is;
        }
        const TextEncoding encoding = reader.value().encoding();
        EXPECT_EQ(encoding.utf8(), row.byte_order_mark || row.utf8_lines > 0) << row.file_is;
        EXPECT_EQ(encoding.byte_order_mark, row.byte_order_mark) << row.file_is;
        EXPECT_EQ(encoding.utf8_lines, row.utf8_lines) << row.file_is;
        EXPECT_EQ(encoding.first_utf8_offset, row.first_utf8_offset) << row.file_is;
        EXPECT_EQ(encoding.unmapped, row.unmapped) << row.file_is;
    }
    // The byte order mark before a format line of another version is still
    // that version.
    auto old = ResultsReader::from_stream(std::make_unique<std::istringstream>(bom + "1.2\r\n"));
    ASSERT_FALSE(old.ok());
    EXPECT_EQ(old.error().failure, ResultsOpenFailure::too_old);
}

// A file saved as UTF-16 (the "Unicode" of some editors), in either byte
// order, reads as the same file in Windows-1252 would: the same records and
// damage, at twice the offsets after the byte order mark; characters that
// the code page lacks, each half of a surrogate pair and an odd last byte
// become '?'. The file is larger than a chunk of the reader.
TEST(ResultsReader, ReadsAFileSavedAsUtf16AsItsWindows1252Twin) {
    ExamRecord lukasz = named_record("?ukasz", 1);
    lukasz.entries[0].given[0] = "\x80 \x9C ??";
    std::string text(results_format_line);
    for (std::size_t i = 0; i < 2500; ++i) text += format_record(named_record("No\xEBl", i % 7 + 1));
    text += "ab\r\n" + format_record(lukasz);
    std::u16string units = cp1252_to_utf16(text);
    units[units.find(u"?ukasz")] = u'\u0141';
    const std::size_t face = units.find(u"??");
    units[face] = 0xD83D;  // a smiling face, as a surrogate pair
    units[face + 1] = 0xDE00;
    auto twin = ResultsReader::from_stream(std::make_unique<std::istringstream>(text));
    ASSERT_TRUE(twin.ok());
    const Contents expected = read_all(twin.value());
    ASSERT_EQ(expected.skipped.size(), 1u);

    for (const bool big_endian : {false, true}) {
        for (const bool odd_end : {false, true}) {
            SCOPED_TRACE(std::string(big_endian ? "big" : "little") + "-endian" + (odd_end ? ", an odd last byte" : ""));
            std::string bytes = big_endian ? "\xFE\xFF" : "\xFF\xFE";
            for (const char16_t unit : units) {
                const char high = static_cast<char>(unit >> 8), low = static_cast<char>(unit & 0xFF);
                bytes += big_endian ? std::string{high, low} : std::string{low, high};
            }
            if (odd_end) bytes += 'x';
            auto reader = ResultsReader::from_stream(std::make_unique<std::istringstream>(bytes));
            ASSERT_TRUE(reader.ok());
            const Contents read = read_all(reader.value());
            ASSERT_EQ(read.records.size(), expected.records.size());
            for (std::size_t i = 0; i < read.records.size(); ++i) {
                EXPECT_EQ(read.records[i].offset, 2 + 2 * expected.records[i].offset) << "record " << i;
                EXPECT_EQ(read.records[i].record.student_name, expected.records[i].record.student_name);
                EXPECT_EQ(read.records[i].record.entries, expected.records[i].record.entries) << "record " << i;
            }
            ASSERT_EQ(read.skipped.size(), expected.skipped.size() + (odd_end ? 1 : 0));
            EXPECT_EQ(read.skipped[0].offset, 2 + 2 * expected.skipped[0].offset);
            EXPECT_EQ(read.skipped[0].length, 2 * expected.skipped[0].length);
            if (odd_end) {
                EXPECT_EQ(read.skipped[1].offset, bytes.size() - 1);
            }
            const TextEncoding encoding = reader.value().encoding();
            EXPECT_TRUE(encoding.utf16);
            EXPECT_FALSE(encoding.utf8());
            EXPECT_EQ(encoding.unmapped, odd_end ? 4u : 3u);
        }
    }
}

// A runner that appends after a record cut inside a line may not end that
// line first: the next record's student name then follows the cut text.
// Its start is found, and the student is not named after the cut text.
TEST(ResultsReader, FindsTheStartOfARecordGluedOntoACutLine) {
    const std::string head(results_format_line);
    ExamRecord cut = named_record("Bruno", 2);
    cut.entries[0].given[0] = "la mer";
    cut.entries[0].prompt = "{\\rtf1\\ansi\\deff0 Quelle est la capitale de ce pays ?\\par }";
    const std::string bruno = format_record(cut);
    const std::string anna = format_record(named_record("Anna", 1));
    // The cut record up to `chars` bytes into its line `line`, no line end.
    auto cut_at = [&](std::size_t line, std::size_t chars) { return bruno.substr(0, line_offset(bruno, line) + chars); };
    auto record_of = [](const std::string& student) { return format_record(named_record(student, 1)); };
    constexpr std::size_t given_line = 11 + 4, prompt_line = 11 + 1, start_time_line = 11 + 14, score_line = 4;

    struct Row {
        const char* case_of;
        std::string before;  // whole records before the cut one
        std::string cut;     // the cut record
        std::string glued;   // the student name of the record appended onto it
        std::string after;   // whole records after it
        std::string student;
        std::optional<GluedBy> by;
    };
    const Row rows[] = {
        {"a known name that the file holds before", anna + record_of("jean  dupont"), cut_at(given_line, 6),
         "Jean Dupont", "", "Jean Dupont", GluedBy::known_name},
        {"a known name that the file holds after", anna, cut_at(given_line, 6), "Jean Dupont",
         record_of("Jean Dupont"), "Jean Dupont", GluedBy::known_name},
        {"a cut time: the name follows the digits", anna, cut_at(start_time_line, 4), "jean", "", "jean",
         GluedBy::field_pattern},
        {"a cut score", anna, cut_at(score_line, 1), "anna", "", "anna", GluedBy::known_name},
        {"a cut score and an unknown name", anna, cut_at(score_line, 1), "zo\xE9", "", "zo\xE9",
         GluedBy::field_pattern},
        {"an unknown name glued onto a cut word", anna, cut_at(given_line, 6), "Jean Dupont", "", "Jean Dupont",
         GluedBy::capitals},
        {"an unknown name after a cut word and its blank", anna, cut_at(given_line, 5) + " ", "Jean de la Fontaine",
         "", "Jean de la Fontaine", GluedBy::capitals},
        {"an unknown name after a cut rich text", anna, cut_at(prompt_line, 40), "Jean Dupont", "", "Jean Dupont",
         GluedBy::capitals},
        {"a cut line ended before the next record", anna, cut_at(given_line, 6) + "\r\n", "Jean de la Fontaine", "",
         "Jean de la Fontaine", std::nullopt},
        {"a cut line ended, and a name like the end of another", anna + record_of("Dupont"),
         cut_at(given_line, 6) + "\r\n", "Jean Dupont", "", "Jean Dupont", std::nullopt},
    };
    for (const Row& row : rows) {
        const std::string glued = record_of(row.glued);
        const std::string bytes = head + row.before + row.cut + glued + row.after;
        auto reader = ResultsReader::from_stream(std::make_unique<std::istringstream>(bytes));
        ASSERT_TRUE(reader.ok());
        const Contents read = read_all(reader.value());
        const std::size_t cut_from = head.size() + row.before.size();
        const std::size_t glued_from = cut_from + row.cut.size();
        const ReadRecord* found = nullptr;
        for (const ReadRecord& r : read.records)
            if (r.offset >= cut_from && r.offset <= glued_from) found = &r;
        ASSERT_NE(found, nullptr) << row.case_of;
        EXPECT_EQ(found->record.student_name, row.student) << row.case_of;
        EXPECT_EQ(format_record(found->record), format_record(named_record(row.student, 1))) << row.case_of;
        ASSERT_EQ(read.skipped.size(), 1u) << row.case_of;
        const std::size_t lost = row.by ? row.cut.size() : line_offset(bytes.substr(cut_from), 
            static_cast<std::size_t>(std::count(row.cut.begin(), row.cut.end(), '\n')));
        EXPECT_EQ(read.skipped[0].offset, cut_from) << row.case_of;
        EXPECT_EQ(read.skipped[0].length, lost) << row.case_of;
        EXPECT_EQ(found->offset, cut_from + lost) << row.case_of;
        EXPECT_EQ(found->glued.has_value(), row.by.has_value()) << row.case_of;
        if (found->glued && row.by) {
            EXPECT_EQ(found->glued->by, *row.by) << row.case_of;
            const std::string tail = row.cut.substr(row.cut.rfind('\n') + 1);
            EXPECT_EQ(found->glued->cut_text, tail.substr(tail.size() > 40 ? tail.size() - 40 : 0)) << row.case_of;
        }
        std::size_t others = 0;
        for (const ReadRecord& r : read.records) others += &r != found;
        EXPECT_EQ(others, read.records.size() - 1);
    }
}

TEST(ResultsReader, ACountThatSaysTooFewKeepsTheRecordAndSkipsTheRest) {
    const std::string head(results_format_line);
    const std::string bruno = format_record(named_record("Bruno", 3));
    const std::string anna = format_record(named_record("Anna", 2));
    TempFolder folder;
    ASSERT_TRUE(write_whole_file(folder / "kz.dat", head + replace_line(bruno, 10, "0") + anna));
    const Contents read = read_file(folder / "kz.dat");
    ASSERT_EQ(read.records.size(), 2u);
    EXPECT_EQ(read.records[0].record.entries.size(), 1u);
    EXPECT_EQ(read.records[1].record.student_name, "Anna");
    ASSERT_EQ(read.skipped.size(), 1u);
    EXPECT_EQ(read.skipped[0].offset, head.size() + line_offset(bruno, 11 + 16));
    EXPECT_EQ(read.skipped[0].length, bruno.size() - line_offset(bruno, 11 + 16));
}

TEST(ResultsReader, RefusesFilesOfAnotherFormat) {
    struct Row {
        std::optional<std::string> bytes;  // none: no file
        std::optional<ResultsOpenFailure> failure;
        std::string format_line;
    };
    const Row rows[] = {
        {"1.3\r\n", std::nullopt, ""},
        {"1x3\r\n", std::nullopt, ""},  // the runners examine the first and third bytes only
        {"", std::nullopt, ""},
        {"1.2\r\n" + format_record(named_record("Anna", 1)), ResultsOpenFailure::too_old, "1.2"},
        {"1.4\r\n", ResultsOpenFailure::too_new, "1.4"},
        {"2.0\n", ResultsOpenFailure::too_new, "2.0"},
        {"Anna\r\n1\r\n", ResultsOpenFailure::not_results, "Anna"},
        {std::string("PK\x03\x04\0\0", 6), ResultsOpenFailure::not_results, std::string("PK\x03\x04\0\0", 6)},
        {std::nullopt, ResultsOpenFailure::unreadable, ""},
    };
    for (const Row& row : rows) {
        TempFolder folder;
        if (row.bytes) { ASSERT_TRUE(write_whole_file(folder / "kz.dat", *row.bytes)); }
        auto reader = ResultsReader::open(folder / "kz.dat");
        const std::string label = row.bytes.value_or("(no file)");
        EXPECT_EQ(reader.ok(), !row.failure) << label;
        if (row.failure && !reader) {
            EXPECT_EQ(reader.error().failure, *row.failure) << label;
            EXPECT_EQ(reader.error().format_line, row.format_line) << label;
        }
        if (reader) { EXPECT_TRUE(read_all(reader.value()).records.empty()) << label; }
    }
    TempFolder folder;
    auto reader = ResultsReader::open(folder.path());
    ASSERT_FALSE(reader.ok());
    EXPECT_EQ(reader.error().failure, ResultsOpenFailure::unreadable);
}

TEST(ResultsReader, TimeSpentRunsFromTheFirstStartToTheLastEnd) {
    struct Row {
        std::string first_start, last_end;
        std::size_t entries;
        std::optional<int> seconds;
    };
    const Row rows[] = {
        {"10:00:00", "10:02:05", 3, 125},
        {"23:59:30", "00:00:40", 2, 70},  // past midnight
        {"10:00:00", "10:00:00", 1, 0},
        {"10:00:00", "10:00:00", 0, std::nullopt},
        {"10:00", "10:01:00", 2, std::nullopt},
    };
    for (const Row& row : rows) {
        ExamRecord record;
        record.entries.resize(row.entries);
        if (row.entries) {
            record.entries.front().start_time = row.first_start;
            record.entries.back().end_time = row.last_end;
            if (row.entries > 1) record.entries.front().end_time = "12:34:56";
        }
        EXPECT_EQ(time_spent(record), row.seconds) << row.first_start << " " << row.last_end;
    }
    EXPECT_EQ(parse_record_date("05/12/2026 09:07").value().sort_key(), 202612050907);
    EXPECT_FALSE(parse_record_date("05/12/2026 09h07"));
    EXPECT_FALSE(parse_record_date("05/12/2026 09:07 "));
}

}  // namespace
}  // namespace kz::test
