// Reading the basin table of a batch run: comma-separated values with double-quote quoting (a
// quoted field may hold commas, line breaks and doubled quotes), one record a line.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "platform/FileSystem.h"

namespace rh {

struct CsvRecord {
  long Line = 0;  // line of the file where the record starts, from 1
  std::vector<std::string> Fields;
  // Empty for a well-formed record; otherwise why it is malformed (an unclosed quote, text after
  // a closing quote, a quote inside an unquoted field). A malformed record's fields are partial.
  std::string Problem;
};

// The most one record may hold, bytes: a row of basins is well under a hundred.
constexpr std::size_t kCsvMostRecordBytes = std::size_t{1} << 20;

// Splits text into records. LF, CR LF and a lone CR end a record outside quotes; blank lines are
// skipped; a UTF-8 byte-order mark at the start is ignored. After a record with an unclosed quote
// the reader is at the end of the text (the quote swallowed the rest). A record longer than
// kCsvMostRecordBytes is a FileFault naming the file, the record's line and the limit, raised
// once that much of it is read: the table is no basin table, and reading it on would hold the
// whole file.
class CsvReader {
 public:
  // The reader keeps a view of `text`, which must outlive it; a temporary string is refused.
  explicit CsvReader(std::string_view text);
  explicit CsvReader(std::string&& text) = delete;
  // Reads the text from `source` in pieces, however long it is; `source` must outlive the reader.
  // FileFault from the source reaches the caller of Next. `name` is the file's, for messages.
  explicit CsvReader(ByteReader& source, std::string name = {});
  // Reads the next record into `record`; false when the text is exhausted.
  bool Next(CsvRecord& record);

 private:
  // The byte `ahead` places from the reading position, or -1 past the end of the text.
  int Peek(std::size_t ahead = 0);
  bool AtEnd() { return Peek() < 0; }
  void EndOfLine();
  void SkipByteOrderMark();

  // Throws when the record that began at byte `start` of the text (on `line`) already holds the
  // most bytes a record may: called before a byte is added to it.
  void CheckLength(std::size_t start, long line) const;

  ByteReader* source_ = nullptr;
  std::string name_;       // of the file read, for messages
  std::string buffer_;     // with a source: the bytes read and not yet passed
  std::string_view text_;  // the bytes at hand
  std::size_t pos_ = 0;
  std::size_t passed_ = 0;  // bytes dropped from the buffer before text_
  long line_ = 1;
};

// One field as written to a CSV file: quoted (with quotes doubled) when it holds a comma, a quote,
// a line break or leading or trailing spaces; as it is otherwise.
std::string CsvField(std::string_view text);

}  // namespace rh
