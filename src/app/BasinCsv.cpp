#include "app/BasinCsv.h"

namespace rh {

namespace {
bool LineBreak(char c) {
  return c == '\n' || c == '\r';
}
}  // namespace

CsvReader::CsvReader(std::string_view text) : text_(text) {
  constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
  if (text_.substr(0, kByteOrderMark.size()) == kByteOrderMark)
    pos_ = kByteOrderMark.size();
}

// Consumes one line ending (LF, CR LF or CR) at pos_.
void CsvReader::EndOfLine() {
  if (text_[pos_] == '\r' && pos_ + 1 < text_.size() && text_[pos_ + 1] == '\n')
    ++pos_;
  ++pos_;
  ++line_;
}

bool CsvReader::Next(CsvRecord& record) {
  while (!AtEnd() && LineBreak(text_[pos_]))
    EndOfLine();
  if (AtEnd())
    return false;

  record.Line = line_;
  record.Fields.clear();
  record.Problem.clear();
  std::string field;
  while (true) {
    if (!AtEnd() && text_[pos_] == '"') {
      // Quoted field: runs to the quote that is not doubled.
      const long openedOn = line_;
      ++pos_;
      bool closed = false;
      while (!AtEnd()) {
        const char c = text_[pos_];
        if (c == '"') {
          if (pos_ + 1 < text_.size() && text_[pos_ + 1] == '"') {
            field.push_back('"');
            pos_ += 2;
            continue;
          }
          ++pos_;
          closed = true;
          break;
        }
        if (c == '\n' || (c == '\r' && !(pos_ + 1 < text_.size() && text_[pos_ + 1] == '\n')))
          ++line_;
        field.push_back(c);
        ++pos_;
      }
      if (!closed) {
        record.Fields.push_back(std::move(field));
        record.Problem =
            "the quoted field opened on line " + std::to_string(openedOn) + " is not closed";
        return true;
      }
      if (!AtEnd() && text_[pos_] != ',' && !LineBreak(text_[pos_])) {
        record.Problem = "text follows a closing quote";
        // Skip the rest of the malformed line so the next record starts on the next line.
        while (!AtEnd() && !LineBreak(text_[pos_]))
          ++pos_;
      }
    } else {
      while (!AtEnd() && text_[pos_] != ',' && !LineBreak(text_[pos_])) {
        if (text_[pos_] == '"' && record.Problem.empty())
          record.Problem = "a quote inside an unquoted field";
        field.push_back(text_[pos_]);
        ++pos_;
      }
    }
    record.Fields.push_back(std::move(field));
    field.clear();
    if (AtEnd())
      return true;
    if (LineBreak(text_[pos_])) {
      EndOfLine();
      return true;
    }
    ++pos_;  // the comma
  }
}

std::string CsvField(std::string_view text) {
  const bool quote = text.find_first_of(",\"\r\n") != std::string_view::npos ||
                     (!text.empty() && (text.front() == ' ' || text.back() == ' '));
  if (!quote)
    return std::string(text);
  std::string out = "\"";
  for (const char c : text) {
    if (c == '"')
      out.push_back('"');
    out.push_back(c);
  }
  out.push_back('"');
  return out;
}

}  // namespace rh
