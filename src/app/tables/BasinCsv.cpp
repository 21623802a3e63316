#include "app/tables/BasinCsv.h"

#include <utility>

#include "core/Faults.h"
#include "core/ShownText.h"

namespace rh {

namespace {
bool LineBreak(char c) {
  return c == '\n' || c == '\r';
}
}  // namespace

CsvReader::CsvReader(std::string_view text) : text_(text) {
  SkipByteOrderMark();
}

CsvReader::CsvReader(ByteReader& source, std::string name)
    : source_(&source), name_(std::move(name)) {
  SkipByteOrderMark();
}

void CsvReader::SkipByteOrderMark() {
  if (Peek(0) == 0xEF && Peek(1) == 0xBB && Peek(2) == 0xBF)
    pos_ += 3;
}

int CsvReader::Peek(std::size_t ahead) {
  if (pos_ + ahead >= text_.size() && source_ != nullptr) {
    // Drop what has been passed and read on, in pieces large enough that this happens rarely.
    constexpr std::size_t kPiece = 65536;
    buffer_.erase(0, pos_);
    passed_ += pos_;
    pos_ = 0;
    while (buffer_.size() <= ahead) {
      const std::size_t have = buffer_.size();
      buffer_.resize(have + kPiece);
      std::size_t got = 0;
      try {
        got = source_->Read(buffer_.data() + have, kPiece);
      } catch (...) {
        buffer_.resize(have);
        throw;
      }
      buffer_.resize(have + got);
      if (got == 0) {
        source_ = nullptr;  // the end: nothing more to read
        break;
      }
    }
    text_ = buffer_;
  }
  return pos_ + ahead < text_.size() ? static_cast<unsigned char>(text_[pos_ + ahead]) : -1;
}

// Consumes one line ending (LF, CR LF or CR) at the reading position.
void CsvReader::EndOfLine() {
  if (Peek() == '\r' && Peek(1) == '\n')
    ++pos_;
  ++pos_;
  ++line_;
}

void CsvReader::CheckLength(std::size_t start, long line) const {
  // Called before each byte is taken: the record may hold the limit's bytes, not one more.
  if (passed_ + pos_ - start < kCsvMostRecordBytes)
    return;
  throw FileFault(messages::kCannotReadText +
                      (name_.empty() ? std::string(messages::kBasinTableName) : ShownText(name_)) +
                      messages::kCsvRecordStartText + std::to_string(line) + " is longer than " +
                      std::to_string(kCsvMostRecordBytes >> 20) + " MiB, " +
                      messages::kCsvRecordTooLongText,
                  name_);
}

bool CsvReader::Next(CsvRecord& record) {
  while (LineBreak(static_cast<char>(Peek())))
    EndOfLine();
  if (AtEnd())
    return false;

  const std::size_t start = passed_ + pos_;
  record.Line = line_;
  record.Fields.clear();
  record.Problem.clear();
  std::string field;
  while (true) {
    if (Peek() == '"') {
      // Quoted field: runs to the quote that is not doubled.
      const long openedOn = line_;
      ++pos_;
      bool closed = false;
      for (int c = Peek(); c >= 0; c = Peek()) {
        CheckLength(start, record.Line);
        if (c == '"') {
          if (Peek(1) == '"') {
            field.push_back('"');
            pos_ += 2;
            continue;
          }
          ++pos_;
          closed = true;
          break;
        }
        if (c == '\n' || (c == '\r' && Peek(1) != '\n'))
          ++line_;
        field.push_back(static_cast<char>(c));
        ++pos_;
      }
      if (!closed) {
        record.Fields.push_back(std::move(field));
        record.Problem =
            messages::kCsvUnclosedQuoteText + std::to_string(openedOn) + " is not closed";
        return true;
      }
      if (!AtEnd() && Peek() != ',' && !LineBreak(static_cast<char>(Peek()))) {
        record.Problem = messages::kCsvAfterQuoteText;
        // Skip the rest of the malformed line so the next record starts on the next line.
        while (!AtEnd() && !LineBreak(static_cast<char>(Peek()))) {
          CheckLength(start, record.Line);
          ++pos_;
        }
      }
    } else {
      for (int c = Peek(); c >= 0 && c != ',' && !LineBreak(static_cast<char>(c)); c = Peek()) {
        CheckLength(start, record.Line);
        if (c == '"' && record.Problem.empty())
          record.Problem = messages::kCsvInnerQuoteText;
        field.push_back(static_cast<char>(c));
        ++pos_;
      }
    }
    record.Fields.push_back(std::move(field));
    field.clear();
    if (AtEnd())
      return true;
    if (LineBreak(static_cast<char>(Peek()))) {
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
