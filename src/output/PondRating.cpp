#include "output/PondRating.h"

#include <algorithm>
#include <cmath>
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

namespace {

constexpr Color kFrame{96, 96, 96};
constexpr Color kStorageLine{0, 90, 170};
constexpr Color kOutflowLine{190, 60, 0};
constexpr double kLabelPixels = 11;

}  // namespace

Drawing PondRatingChart(const PondTable& table, double width, double height) {
  Drawing d;
  d.width = width;
  d.height = height;
  const std::vector<PondRow>& rows = table.Rows();
  const double left = 44, right = 8, top = 18, bottom = 30, gap = 14;
  const double panel = (width - left - right - gap) / 2;
  const double plotHeight = height - top - bottom;
  if (rows.size() < 2 || panel <= 10 || plotHeight <= 10)
    return d;
  const double low = rows.front().StageFeet, high = rows.back().StageFeet;
  const double most[2] = {rows.back().StorageAcreFeet,
                          std::max(rows.back().OutflowCfs, rows.front().OutflowCfs)};
  const char* const titles[2] = {"Storage (ac-ft)", "Outflow (cfs)"};
  const Color lines[2] = {kStorageLine, kOutflowLine};
  const auto y = [&](double stage) { return top + plotHeight * (high - stage) / (high - low); };
  for (int p = 0; p < 2; ++p) {
    const double x0 = left + p * (panel + gap);
    d.shapes.emplace_back(
        RectShape{x0, top, panel, plotHeight, Color{255, 255, 255}, true, kFrame, 1});
    PolylineShape curve;
    curve.color = lines[p];
    curve.width = 1.5;
    const double range = most[p] > 0 ? most[p] : 1;
    for (const PondRow& row : rows) {
      const double value = p == 0 ? row.StorageAcreFeet : row.OutflowCfs;
      curve.points.push_back({x0 + panel * value / range, y(row.StageFeet)});
    }
    d.shapes.emplace_back(std::move(curve));
    TextShape title;
    title.at = {x0 + panel / 2, top - 5};
    title.text = titles[p];
    title.pixelSize = kLabelPixels;
    title.align = TextAlign::Centre;
    d.shapes.emplace_back(title);
    for (int end = 0; end < 2; ++end) {
      TextShape tick;
      tick.at = {end == 0 ? x0 : x0 + panel, top + plotHeight + 14};
      tick.text = end == 0 ? "0" : PlainNumber(std::round(most[p] * 100) / 100);
      tick.pixelSize = kLabelPixels;
      tick.align = end == 0 ? TextAlign::Left : TextAlign::Right;
      d.shapes.emplace_back(tick);
    }
  }
  for (int end = 0; end < 2; ++end) {
    TextShape stage;
    stage.at = {left - 4, end == 0 ? top + plotHeight : top + kLabelPixels};
    stage.text = PlainNumber(std::round((end == 0 ? low : high) * 100) / 100);
    stage.pixelSize = kLabelPixels;
    stage.align = TextAlign::Right;
    d.shapes.emplace_back(stage);
  }
  TextShape axis;
  axis.at = {12, top + plotHeight / 2};
  axis.text = "Stage (ft)";
  axis.pixelSize = kLabelPixels;
  axis.align = TextAlign::Centre;
  axis.degrees = 90;
  d.shapes.emplace_back(axis);
  return d;
}

}  // namespace rh
