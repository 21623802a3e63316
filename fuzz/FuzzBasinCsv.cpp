// The batch table reader, and whole batch runs (summary only), over arbitrary tables.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "OneFile.h"
#include "app/companion/Batch.h"
#include "app/tables/BasinCsv.h"
#include "platform/FileSystem.h"

namespace {

class NoClock final : public rh::Clock {
 public:
  std::string ShortDate() override { return "1/1/26"; }
  std::int64_t UtcSeconds() override { return 0; }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);

  rh::CsvReader reader(text);
  rh::CsvRecord record;
  long lastLine = 0;
  while (reader.Next(record)) {
    if (record.Line <= lastLine || record.Fields.empty())
      __builtin_trap();  // records come in line order and hold at least one field
    lastLine = record.Line;
    if (record.Problem.empty()) {
      // A well-formed record written back with CsvField reads back the same.
      // A blank first line, so a field that starts with a byte-order mark is not taken for one.
      std::string line = "\n";
      for (std::size_t i = 0; i < record.Fields.size(); ++i)
        line += (i == 0 ? "" : ",") + rh::CsvField(record.Fields[i]);
      line += '\n';
      rh::CsvReader again(line);
      rh::CsvRecord back;
      const bool blank = record.Fields.size() == 1 && record.Fields[0].empty();
      if (!blank && (!again.Next(back) || back.Fields != record.Fields))
        __builtin_trap();
    }
  }

  rh::BatchOptions options;
  options.Table = "basins.csv";
  options.OutDir = "out";
  options.SummaryOnly = true;
  options.Workers = 1;
  rh::fuzz::OneFile files;  // no rainfall or pond tables: every one is refused
  NoClock clock;
  std::string summary;
  rh::TextReader table(text);
  rh::RunBatch(table, options, rh::RunServices{files, clock, nullptr}, {},
               [&summary](std::string_view piece) { summary.append(piece); });
  // The summary is valid UTF-8 whatever the table held: names and messages come through as text.
  // (Here: no control characters but line feeds and no bytes that start no character.)
  for (const char c : summary) {
    if ((static_cast<unsigned char>(c) < 0x20 && c != '\n') || static_cast<unsigned char>(c) > 0xF4)
      __builtin_trap();
  }
  return 0;
}
