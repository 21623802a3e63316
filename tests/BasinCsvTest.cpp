#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <type_traits>
#include <vector>

#include "Bounded.h"
#include "TestFiles.h"
#include "app/tables/BasinCsv.h"
#include "core/Faults.h"

namespace rh {
namespace {

struct Record {
  long line;
  std::vector<std::string> fields;
  std::string problem;
};

// A source that hands the text over one byte at a time: every record crosses a piece's end.
class ByteByByte final : public ByteReader {
 public:
  explicit ByteByByte(std::string_view text) : text_(text) {}
  std::size_t Read(char* buffer, std::size_t size) override {
    if (text_.empty() || size == 0)
      return 0;
    buffer[0] = text_.front();
    text_.remove_prefix(1);
    return 1;
  }

 private:
  std::string_view text_;
};

std::vector<Record> ReadAll(std::string_view text) {
  std::vector<Record> records;
  CsvReader reader(text);
  CsvRecord record;
  while (reader.Next(record))
    records.push_back({record.Line, record.Fields, record.Problem});
  // Read in pieces, the same records come out.
  ByteByByte source(text);
  CsvReader pieces(source);
  for (const Record& expected : records) {
    EXPECT_TRUE(pieces.Next(record));
    EXPECT_EQ(record.Line, expected.line);
    EXPECT_EQ(record.Fields, expected.fields);
    EXPECT_EQ(record.Problem, expected.problem);
  }
  EXPECT_FALSE(pieces.Next(record)) << "the same number of records";
  return records;
}

TEST(CsvReader, Records) {
  struct {
    const char* name;
    std::string text;
    std::vector<Record> expected;
  } cases[] = {
      {"plain rows, no final line end", "a,b\nc,d", {{1, {"a", "b"}, ""}, {2, {"c", "d"}, ""}}},
      {"CR LF and lone CR end lines",
       "a\r\nb\rc\n",
       {{1, {"a"}, ""}, {2, {"b"}, ""}, {3, {"c"}, ""}}},
      {"blank lines skipped, numbering kept", "\n\na\n\n\nb\n", {{3, {"a"}, ""}, {6, {"b"}, ""}}},
      {"empty fields", ",a,,\n", {{1, {"", "a", "", ""}, ""}}},
      {"spaces kept", " a , b \n", {{1, {" a ", " b "}, ""}}},
      {"quoted comma and doubled quote",
       "\"x,y\",\"say \"\"hi\"\"\"\n",
       {{1, {"x,y", "say \"hi\""}, ""}}},
      {"empty quoted field", "\"\",a\n", {{1, {"", "a"}, ""}}},
      {"line breaks inside quotes advance the line count",
       "\"a\nb\r\nc\",d\ne\n",
       {{1, {"a\nb\r\nc", "d"}, ""}, {4, {"e"}, ""}}},
      {"byte-order mark ignored", "\xEF\xBB\xBFname\n", {{1, {"name"}, ""}}},
      {"byte-order mark kept after the start",
       "a\n\xEF\xBB\xBF\n",
       {{1, {"a"}, ""}, {2, {"\xEF\xBB\xBF"}, ""}}},
      {"unclosed quote swallows the rest",
       "a\n\"b,c\nd\n",
       {{1, {"a"}, ""}, {2, {"b,c\nd\n"}, "the quoted field opened on line 2 is not closed"}}},
      {"text after a closing quote",
       "\"a\"b,c\nd\n",
       {{1, {"a"}, "text follows a closing quote"}, {2, {"d"}, ""}}},
      {"quote inside an unquoted field",
       "a\"b,c\n",
       {{1, {"a\"b", "c"}, "a quote inside an unquoted field"}}},
      {"empty text", "", {}},
  };
  for (const auto& c : cases) {
    const std::vector<Record> got = ReadAll(c.text);
    ASSERT_EQ(got.size(), c.expected.size()) << c.name;
    for (std::size_t i = 0; i < got.size(); ++i) {
      EXPECT_EQ(got[i].line, c.expected[i].line) << c.name << " record " << i;
      EXPECT_EQ(got[i].fields, c.expected[i].fields) << c.name << " record " << i;
      EXPECT_EQ(got[i].problem, c.expected[i].problem) << c.name << " record " << i;
    }
  }
}

// The reader keeps a view of its text: built from a temporary string it would read freed memory
// (the fuzzer found this in its own harness), so that does not compile.
static_assert(!std::is_constructible_v<CsvReader, std::string&&>);
static_assert(std::is_constructible_v<CsvReader, const std::string&>);

// A record may hold 1 MiB; one byte more is a fault naming its line and the limit, raised once that
// much is read, however the record goes on (open quote, text after a quote, plain field).
TEST(CsvReader, RecordsBeyondTheLimitAreFaults) {
  const std::size_t most = kCsvMostRecordBytes;
  const struct {
    const char* name;
    std::string text;
    long goodRecords;  // read before the fault; all of them when there is none
    long faultLine;    // 0: no fault
  } cases[] = {
      {"a record of the limit", std::string(most, 'x') + "\nb\n", 2, 0},
      {"one byte more", "a\n\n" + std::string(most + 1, 'x') + "\nb\n", 1, 3},
      {"a quote never closed", "a\n\"" + std::string(most, 'x'), 1, 2},
      {"text after a closing quote", "\"a\"" + std::string(most, 'x') + "\n", 0, 1},
  };
  for (const auto& c : cases) {
    CsvReader reader(c.text);
    CsvRecord record;
    long good = 0;
    try {
      while (reader.Next(record))
        ++good;
      EXPECT_EQ(c.faultLine, 0) << c.name;
    } catch (const FileFault& fault) {
      EXPECT_EQ(std::string(fault.what()),
                "Cannot read the basin table: the record that starts on line " +
                    std::to_string(c.faultLine) + " is longer than 1 MiB, " +
                    messages::kCsvRecordTooLongText)
          << c.name;
    }
    EXPECT_EQ(good, c.goodRecords) << c.name;
  }
}

// A gigabyte table whose first record never ends is refused after its first MiB, in a few MiB of
// memory, naming the file.
TEST(CsvReader, AGigabyteRecordIsRefusedInBoundedMemory) {
  if (test::kSanitized)
    GTEST_SKIP() << "memory bounds are not checked under AddressSanitizer";
  test::ScratchDir dir;
  const std::string path = dir / "basins.csv";
  std::ofstream(path) << "name,tc";
  std::filesystem::resize_file(path, std::uintmax_t{1} << 30);  // the rest reads as NUL bytes
  const int outcome = test::RunBounded(
      [&] {
        StdFileSystem files;
        const auto source = files.OpenRead(path);
        CsvReader reader(*source, path);
        CsvRecord record;
        try {
          reader.Next(record);
        } catch (const FileFault& fault) {
          return std::string(fault.what()).rfind("Cannot read " + path + ": the record", 0) == 0
                     ? 0
                     : 1;
        }
        return 2;
      },
      16, 5);
  EXPECT_EQ(outcome, 0);
}

TEST(CsvField, QuotesOnlyWhenNeededAndReadsBack) {
  struct {
    std::string text;
    std::string written;
  } cases[] = {
      {"plain", "plain"},
      {"", ""},
      {"a,b", "\"a,b\""},
      {"say \"hi\"", "\"say \"\"hi\"\"\""},
      {"two\nlines", "\"two\nlines\""},
      {" padded ", "\" padded \""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(CsvField(c.text), c.written) << c.text;
    const auto back = ReadAll(CsvField(c.text) + ",end\n");
    ASSERT_EQ(back.size(), 1u) << c.text;
    EXPECT_EQ(back[0].fields, (std::vector<std::string>{c.text, "end"})) << c.text;
  }
}

}  // namespace
}  // namespace rh
