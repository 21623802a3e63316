#include "output/PondRating.h"

#include <cstddef>
#include <vector>

#include "core/NumberForms.h"
#include "engine/PondDesign.h"

namespace rh {

std::string PondRatingCsv(const TablePond& pond) {
  const PondRating* rating = pond.Design ? &pond.Design->Rating : nullptr;
  const std::vector<PondRow>& rows = pond.Table.Rows();
  std::string text = "stage_ft,storage_acft,outflow_cfs";
  const std::size_t devices = rating ? rating->Columns.size() : 0;
  const bool barrel = rating && !rating->BarrelCfs.empty();
  if (rating) {
    for (const std::string& column : rating->Columns)
      text.append(",").append(column);
    if (barrel)
      text += ",barrel_capacity_cfs";
  }
  text += '\n';
  text.reserve(text.size() + rows.size() * (30 + 12 * devices));
  for (std::size_t i = 0; i < rows.size(); ++i) {
    AppendPlainNumber(text, rows[i].StageFeet);
    text += ',';
    AppendPlainNumber(text, rows[i].StorageAcreFeet);
    text += ',';
    AppendPlainNumber(text, rows[i].OutflowCfs);
    for (std::size_t j = 0; j < devices; ++j) {
      text += ',';
      AppendPlainNumber(text, rating->DeviceCfs[i * devices + j]);
    }
    if (barrel) {
      text += ',';
      AppendPlainNumber(text, rating->BarrelCfs[i]);
    }
    text += '\n';
  }
  return text;
}

}  // namespace rh
