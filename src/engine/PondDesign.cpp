#include "engine/PondDesign.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <optional>
#include <string>

#include "core/Faults.h"

namespace rh {

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kInchesPerFoot = 12.0;
constexpr double kSquareFeetPerAcre = 43560.0;

double Feet(double inches) {
  return inches / kInchesPerFoot;
}

// The opening of a device: its height (or diameter) and area, ft and ft^2; its rim, ft, for a
// riser.
struct Opening {
  double Height = 0;
  double Area = 0;
  double Rim = 0;
};

Opening OpeningOf(const Outlet& o) {
  switch (o.Form) {
    case Outlet::Shape::Circular: {
      const double d = Feet(o.DiameterInches);
      return {d, kPi * d * d / 4, kPi * d};
    }
    case Outlet::Shape::Rectangular:
      return {Feet(o.HeightInches), Feet(o.WidthInches) * Feet(o.HeightInches), 0};
    case Outlet::Shape::Box: {
      const double s = Feet(o.SideInches);
      return {s, s * s, 4 * s};
    }
    case Outlet::Shape::VNotch:
    case Outlet::Shape::Broad:
      break;
  }
  return {};
}

// The volume of a contour segment from its lower contour, area `a1`, to `h` ft above it, where the
// area is `ah` (acres): ac-ft.
double SegmentVolume(ContourMethod method, double a1, double ah, double h) {
  if (method == ContourMethod::Conic)
    return h / 3 * (a1 + ah + std::sqrt(a1 * ah));
  return h * (a1 + ah) / 2;
}

// The storage of contours at a rising sequence of stages: the volume up to each contour once, then
// the segment that holds each stage, walked from the one before.
class ContourStorage {
 public:
  explicit ContourStorage(const PondStorage& s) : s_(s) {
    const std::vector<Contour>& c = s.Contours;
    below_.assign(c.size(), 0.0);
    for (std::size_t i = 1; i < c.size(); ++i)
      below_[i] = below_[i - 1] + SegmentVolume(s.Method, c[i - 1].AreaAcres, c[i].AreaAcres,
                                                c[i].StageFeet - c[i - 1].StageFeet);
  }

  double At(double stage) {
    const std::vector<Contour>& c = s_.Contours;
    if (c.empty() || stage <= c.front().StageFeet)
      return 0;
    if (stage < c[i_].StageFeet)
      i_ = 0;
    while (i_ + 1 < c.size() && stage >= c[i_ + 1].StageFeet)
      ++i_;
    if (i_ + 1 == c.size())
      return below_[i_];
    const Contour& lo = c[i_];
    const Contour& hi = c[i_ + 1];
    const double h = stage - lo.StageFeet;
    const double ah =
        lo.AreaAcres + (hi.AreaAcres - lo.AreaAcres) * h / (hi.StageFeet - lo.StageFeet);
    return below_[i_] + SegmentVolume(s_.Method, lo.AreaAcres, ah, h);
  }

  // The storage at each of `rows`' stages, strictly rising, into their StorageAcreFeet: the same
  // figures as At, the rows of each segment taken together with its contours at hand.
  void Fill(std::vector<PondRow>& rows) const {
    const std::vector<Contour>& c = s_.Contours;
    auto row = rows.begin();
    if (c.empty()) {
      for (; row != rows.end(); ++row)
        row->StorageAcreFeet = 0;
      return;
    }
    const double bottom = c.front().StageFeet;
    for (; row != rows.end() && row->StageFeet <= bottom; ++row)
      row->StorageAcreFeet = 0;
    const ContourMethod method = s_.Method;
    for (std::size_t i = 0; i + 1 < c.size(); ++i) {
      const double lowStage = c[i].StageFeet;
      const double highStage = c[i + 1].StageFeet;
      const double lowArea = c[i].AreaAcres;
      const double areaRise = c[i + 1].AreaAcres - lowArea;
      const double span = highStage - lowStage;
      const double below = below_[i];
      for (; row != rows.end() && row->StageFeet < highStage; ++row) {
        const double h = row->StageFeet - lowStage;
        const double ah = lowArea + areaRise * h / span;
        row->StorageAcreFeet = below + SegmentVolume(method, lowArea, ah, h);
      }
    }
    for (; row != rows.end(); ++row)
      row->StorageAcreFeet = below_.back();
  }

 private:
  const PondStorage& s_;
  std::vector<double> below_;  // ac-ft up to each contour
  std::size_t i_ = 0;          // the segment of the last stage
};

double BoxStorage(const PondStorage& s, double stage) {
  const double h = stage - s.BottomFeet;
  if (h <= 0)
    return 0;
  const double z = s.SideSlope;
  const double cubicFeet = s.LengthFeet * s.WidthFeet * h +
                           (s.LengthFeet + s.WidthFeet) * z * h * h + 4.0 / 3.0 * z * z * h * h * h;
  return cubicFeet / kSquareFeetPerAcre;
}

double TableStorage(const PondStorage& s, double stage) {
  const std::vector<PondRow>& t = s.Table;
  if (t.empty() || stage <= t.front().StageFeet)
    return 0;
  if (stage >= t.back().StageFeet)
    return t.back().StorageAcreFeet;
  const auto hi = std::upper_bound(t.begin(), t.end(), stage,
                                   [](double v, const PondRow& r) { return v < r.StageFeet; });
  const PondRow& lo = *(hi - 1);
  return lo.StorageAcreFeet + (hi->StorageAcreFeet - lo.StorageAcreFeet) * (stage - lo.StageFeet) /
                                  (hi->StageFeet - lo.StageFeet);
}

constexpr double kTwoG = 2 * kGravityFeetPerSecond2;

// One device's flow with what does not depend on the stage worked out once.
class DeviceRating {
 public:
  explicit DeviceRating(const Outlet& o)
      : kind_(o.Kind),
        vNotch_(o.Form == Outlet::Shape::VNotch),
        length_(o.LengthFeet),
        contractions_(o.Contractions) {
    const Opening a = OpeningOf(o);
    height_ = a.Height;
    base_ = o.Kind == Outlet::Type::Orifice ? o.InvertFeet : o.CrestFeet;
    switch (o.Kind) {
      case Outlet::Type::Orifice:
        partFull_ = o.Cd * a.Area * std::sqrt(kTwoG * a.Height / 2);
        full_ = o.Cd * a.Area;
        break;
      case Outlet::Type::Weir:
        full_ = vNotch_ ? o.Cw * std::tan(o.AngleDegrees / 2 * kPi / 180) : o.Cw;
        break;
      case Outlet::Type::Spillway:
        full_ = o.Cw * o.LengthFeet;
        break;
      case Outlet::Type::Riser:
        partFull_ = o.Cw * a.Rim;
        full_ = o.Cd * a.Area;
        break;
    }
  }

  double At(double stage) const {
    const double d = stage - base_;  // the depth over the invert or the head over the crest
    if (d <= 0)
      return 0;
    switch (kind_) {
      case Outlet::Type::Orifice:
        return Orifice(d);
      case Outlet::Type::Weir:
        return Weir(d);
      case Outlet::Type::Spillway:
        return Spillway(d);
      case Outlet::Type::Riser:
        return Riser(d);
    }
    return 0;
  }

  // The flow of `count` such devices at each of `rows`' stages (rising), into every `stride`th of
  // `out` (zeros to start with), and added to the row's entry of `sums`: the same figures as count
  // x At, the choice of formula made once for the whole column.
  void Column(const std::vector<PondRow>& rows, double count, double* out, std::size_t stride,
              double* sums) const {
    // A copy at hand, so that the stores into the columns need not reload the device.
    const DeviceRating device = *this;
    switch (kind_) {
      case Outlet::Type::Orifice:
        return device.Fill(rows, count, out, stride, sums,
                           [&device](double d) { return device.Orifice(d); });
      case Outlet::Type::Weir:
        return device.Fill(rows, count, out, stride, sums,
                           [&device](double d) { return device.Weir(d); });
      case Outlet::Type::Spillway:
        return device.Fill(rows, count, out, stride, sums,
                           [&device](double d) { return device.Spillway(d); });
      case Outlet::Type::Riser:
        return device.Fill(rows, count, out, stride, sums,
                           [&device](double d) { return device.Riser(d); });
    }
  }

 private:
  // Each form's flow at a depth or head `d` > 0.
  double Orifice(double d) const {
    if (height_ <= 0)
      return 0;
    if (d < height_) {
      const double share = d / height_;
      return partFull_ * share * std::sqrt(share);
    }
    return full_ * std::sqrt(kTwoG * (d - height_ / 2));
  }
  double Weir(double d) const {
    const double h15 = d * std::sqrt(d);
    if (vNotch_)
      return full_ * h15 * d;
    return full_ * std::max(0.0, length_ - 0.1 * contractions_ * d) * h15;
  }
  double Spillway(double d) const { return full_ * (d * std::sqrt(d)); }
  double Riser(double d) const {
    return std::min(partFull_ * (d * std::sqrt(d)), full_ * std::sqrt(kTwoG * d));
  }

  template <typename Flow>
  void Fill(const std::vector<PondRow>& rows, double count, double* out, std::size_t stride,
            double* sums, Flow flow) const {
    const double base = base_;
    // The rows at or below the invert or crest, where the device passes nothing: `out` already
    // holds zeros there unless the count makes them -0.
    const auto dry = std::partition_point(
        rows.begin(), rows.end(), [base](const PondRow& row) { return row.StageFeet - base <= 0; });
    const double none = count * 0.0;
    const auto dryRows = static_cast<std::size_t>(dry - rows.begin());
    for (std::size_t r = 0; r < dryRows; ++r)
      sums[r] += none;
    if (std::signbit(none) || none != 0)
      for (std::size_t r = 0; r < dryRows; ++r)
        out[r * stride] = none;
    out += dryRows * stride;
    sums += dryRows;
    for (auto row = dry; row != rows.end(); ++row) {
      const double q = count * flow(row->StageFeet - base);
      *out = q;
      *sums++ += q;
      out += stride;
    }
  }

  Outlet::Type kind_;
  bool vNotch_;
  double length_;        // ft, a rectangular weir's
  int contractions_;     // a rectangular weir's
  double height_ = 0;    // ft, the opening's
  double base_ = 0;      // ft, the invert or the crest
  double partFull_ = 0;  // an orifice's flow at its crown; a riser's Cw x rim
  double full_ = 0;      // the factor of the head's term
};

// A barrel's capacity with what does not depend on the stage worked out once: count x A x
// sqrt(2 g / (1 + ke + 29 n^2 L / (D/4)^(4/3))), times the square root of the head.
class BarrelRating {
 public:
  explicit BarrelRating(const Barrel& b) {
    const double d = Feet(b.DiameterInches);
    control_ = b.OutletInvertFeet + d / 2;
    const double losses =
        1 + b.Ke + 29 * b.ManningN * b.ManningN * b.LengthFeet / std::pow(d / 4, 4.0 / 3.0);
    perRootHead_ = static_cast<double>(b.Count) * (kPi * d * d / 4) *
                   std::sqrt(2 * kGravityFeetPerSecond2 / losses);
  }
  double At(double stage) const {
    return perRootHead_ * std::sqrt(std::max(0.0, stage - control_));
  }

 private:
  double control_ = 0;      // ft, the outlet invert + D/2
  double perRootHead_ = 0;  // cfs per sqrt(ft)
};

[[noreturn]] void RefuseRating(const std::string& what) {
  throw Refused(messages::kPondTableTitle, what, RunEntry::PondTable);
}

}  // namespace

double StorageBottomFeet(const PondStorage& s) {
  switch (s.Form) {
    case PondStorage::Kind::Contours:
      return s.Contours.empty() ? 0 : s.Contours.front().StageFeet;
    case PondStorage::Kind::Box:
      return s.BottomFeet;
    case PondStorage::Kind::Table:
      return s.Table.empty() ? 0 : s.Table.front().StageFeet;
  }
  return 0;
}

double StorageHighestFeet(const PondStorage& s) {
  switch (s.Form) {
    case PondStorage::Kind::Contours:
      return s.Contours.empty() ? 0 : s.Contours.back().StageFeet;
    case PondStorage::Kind::Box:
      return s.BottomFeet + s.DepthFeet;
    case PondStorage::Kind::Table:
      return s.Table.empty() ? 0 : s.Table.back().StageFeet;
  }
  return 0;
}

double StorageAt(const PondStorage& s, double stage) {
  switch (s.Form) {
    case PondStorage::Kind::Contours:
      return ContourStorage(s).At(stage);
    case PondStorage::Kind::Box:
      return BoxStorage(s, stage);
    case PondStorage::Kind::Table:
      return TableStorage(s, stage);
  }
  return 0;
}

double OutletFlowCfs(const Outlet& o, double stage) {
  return DeviceRating(o).At(stage);
}

double BarrelCapacityCfs(const Barrel& b, double stage) {
  return BarrelRating(b).At(stage);
}

std::vector<double> OutletStagesFeet(const Outlet& o) {
  if (o.Kind == Outlet::Type::Orifice)
    return {o.InvertFeet, o.InvertFeet + OpeningOf(o).Height};
  return {o.CrestFeet};
}

std::string OutletColumn(const Outlet& o, std::size_t position) {
  if (!o.Name.empty())
    return o.Name + "_cfs";
  const char* type = "orifice";
  switch (o.Kind) {
    case Outlet::Type::Orifice:
      break;
    case Outlet::Type::Weir:
      type = "weir";
      break;
    case Outlet::Type::Riser:
      type = "riser";
      break;
    case Outlet::Type::Spillway:
      type = "spillway";
      break;
  }
  return type + std::to_string(position) + "_cfs";
}

PondRating RatePond(const PondDesign& design) {
  const double bottom = StorageBottomFeet(design.Storage);
  const double top = design.TopFeet;
  const double step = design.RatingStepFeet;
  if (!(top > bottom && step > 0) || (top - bottom) / step > kMostRatingRows)
    RefuseRating(messages::kPondRatingRowsText);

  // The device stages strictly between bottom and top, in order.
  std::vector<double> marks;
  marks.reserve(2 * design.Outlets.size() + 1);
  const auto device = [&](double stage) {
    if (stage > bottom && stage < top)
      marks.push_back(stage);
  };
  for (const Outlet& o : design.Outlets)
    for (double stage : OutletStagesFeet(o))
      device(stage);
  if (design.Pipe)
    device(design.Pipe->OutletInvertFeet + Feet(design.Pipe->DiameterInches) / 2);
  std::sort(marks.begin(), marks.end());

  // The rows' stages: the grid below the top and the device stages merged in order (a grid stage
  // before an equal device stage), each kept when it is far enough above the last one kept and
  // below the top; then the top.
  PondRating rating;
  std::vector<PondRow>& rows = rating.Rows;
  rows.reserve(static_cast<std::size_t>((top - bottom) / step) + 2 + marks.size());
  rows.push_back({bottom, 0, 0});
  double last = bottom;
  const auto keep = [&](double stage) {
    if (stage - last >= kSameStageFeet && top - stage >= kSameStageFeet) {
      rows.emplace_back().StageFeet = stage;
      last = stage;
    }
  };
  std::size_t mark = 0;
  for (long k = 1;; ++k) {
    const double stage = bottom + static_cast<double>(k) * step;
    if (!(stage < top))
      break;
    for (; mark < marks.size() && marks[mark] < stage; ++mark)
      keep(marks[mark]);
    keep(stage);
  }
  for (; mark < marks.size(); ++mark)
    keep(marks[mark]);
  rows.push_back({top, 0, 0});

  // Each device's column, its flows summed at each row in the devices' order: those through the
  // barrel, and apart from them spillways and the devices that do not pass through it.
  const std::size_t devices = design.Outlets.size();
  const std::size_t count = rows.size();
  std::vector<double> through(count, 0.0);
  std::vector<double> beside(count, 0.0);
  rating.DeviceCfs.resize(count * devices);
  for (std::size_t i = 0; i < devices; ++i) {
    const Outlet& o = design.Outlets[i];
    rating.Columns.push_back(OutletColumn(o, i + 1));
    const bool viaBarrel = design.Pipe && o.ThroughBarrel && o.Kind != Outlet::Type::Spillway;
    DeviceRating(o).Column(rows, static_cast<double>(o.Count), rating.DeviceCfs.data() + i, devices,
                           (viaBarrel ? through : beside).data());
  }
  if (design.Storage.Form == PondStorage::Kind::Contours)
    ContourStorage(design.Storage).Fill(rows);
  else
    for (PondRow& row : rows)
      row.StorageAcreFeet = StorageAt(design.Storage, row.StageFeet);
  if (design.Pipe) {
    const BarrelRating barrel(*design.Pipe);
    rating.BarrelCfs.resize(count);
    for (std::size_t r = 0; r < count; ++r) {
      const double capacity = barrel.At(rows[r].StageFeet);
      rating.BarrelCfs[r] = capacity;
      rows[r].OutflowCfs = std::min(through[r], capacity) + beside[r];
    }
  } else {
    for (std::size_t r = 0; r < count; ++r)
      rows[r].OutflowCfs = through[r] + beside[r];
  }

  const std::vector<PondRow>& r = rating.Rows;
  if (r.front().OutflowCfs != 0)
    RefuseRating(messages::kPondRatingBottomText);
  for (std::size_t i = 1; i < r.size(); ++i) {
    const auto between = [&] {
      return FaultNumber(r[i - 1].StageFeet) + " ft and " + FaultNumber(r[i].StageFeet) + " ft";
    };
    if (!(r[i].StorageAcreFeet > r[i - 1].StorageAcreFeet))
      RefuseRating(messages::kPondRatingStorageText + between() + ".");
    if (!(r[i].OutflowCfs >= r[i - 1].OutflowCfs))
      RefuseRating(messages::kPondRatingOutflowText + between() + messages::kPondRatingWeirText);
  }
  return rating;
}

DeviceFlows DeviceFlowsAt(const PondRating& rating, double stageFeet) {
  DeviceFlows at;
  const std::vector<PondRow>& rows = rating.Rows;
  if (rows.empty())
    return at;
  // The pair of rows that holds the stage, and the stage's share of the way up it.
  const auto above = std::upper_bound(rows.begin(), rows.end(), stageFeet,
                                      [](double s, const PondRow& r) { return s < r.StageFeet; });
  const std::size_t hi =
      std::min<std::size_t>(std::max<std::ptrdiff_t>(above - rows.begin(), 1), rows.size() - 1);
  const std::size_t lo = hi - 1;
  const double share =
      rows.size() < 2
          ? 0
          : std::clamp((stageFeet - rows[lo].StageFeet) / (rows[hi].StageFeet - rows[lo].StageFeet),
                       0.0, 1.0);
  const auto between = [&](const std::vector<double>& column, std::size_t width, std::size_t i) {
    const double low = column[lo * width + i];
    return low + share * (column[hi * width + i] - low);
  };
  const std::size_t devices = rating.Columns.size();
  at.DeviceCfs.reserve(devices);
  for (std::size_t i = 0; i < devices; ++i)
    at.DeviceCfs.push_back(between(rating.DeviceCfs, devices, i));
  if (!rating.BarrelCfs.empty())
    at.BarrelCfs = between(rating.BarrelCfs, 1, 0);
  return at;
}

}  // namespace rh
