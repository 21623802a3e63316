#include "output/Hec1Deck.h"

#include "platform/Faults.h"

namespace rh {

std::string Hec1DeckText(const Init&, const std::string&) {
  throw FileFault("The HEC-1 deck writer is not built yet.");
}

void WriteHec1Deck(const Init& state, FileSystem& files, Clock& clock) {
  files.ReplaceText(state.ReportPath, Hec1DeckText(state, clock.ShortDate()));
}

}  // namespace rh
