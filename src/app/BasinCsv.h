// Reading the basin table of a batch run: comma-separated values with double-quote quoting (a
// quoted field may hold commas, line breaks and doubled quotes), one record a line.
#pragma once

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

// Splits text into records. LF, CR LF and a lone CR end a record outside quotes; blank lines are
// skipped; a UTF-8 byte-order mark at the start is ignored. After a record with an unclosed quote
// the reader is at the end of the text (the quote swallowed the rest).
class CsvReader {
 public:
  // The reader keeps a view of `text`, which must outlive it; a temporary string is refused.
  explicit CsvReader(std::string_view text);
  explicit CsvReader(std::string&& text) = delete;
  // Reads the text from `source` in pieces, however long it is; `source` must outlive the reader.
  // FileFault from the source reaches the caller of Next.
  explicit CsvReader(ByteReader& source);
  // Reads the next record into `record`; false when the text is exhausted.
  bool Next(CsvRecord& record);

 private:
  // The byte `ahead` places from the reading position, or -1 past the end of the text.
  int Peek(std::size_t ahead = 0);
  bool AtEnd() { return Peek() < 0; }
  void EndOfLine();
  void SkipByteOrderMark();

  ByteReader* source_ = nullptr;
  std::string buffer_;     // with a source: the bytes read and not yet passed
  std::string_view text_;  // the bytes at hand
  std::size_t pos_ = 0;
  long line_ = 1;
};

// One field as written to a CSV file: quoted (with quotes doubled) when it holds a comma, a quote,
// a line break or leading or trailing spaces; as it is otherwise.
std::string CsvField(std::string_view text);

}  // namespace rh
