#include "engine/PondDesign.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <optional>
#include <string>

#include "core/Faults.h"
#include "core/NumberForms.h"

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
        if (height_ <= 0)
          return 0;
        if (d < height_) {
          const double share = d / height_;
          return partFull_ * share * std::sqrt(share);
        }
        return full_ * std::sqrt(kTwoG * (d - height_ / 2));
      case Outlet::Type::Weir: {
        const double h15 = d * std::sqrt(d);
        if (vNotch_)
          return full_ * h15 * d;
        return full_ * std::max(0.0, length_ - 0.1 * contractions_ * d) * h15;
      }
      case Outlet::Type::Spillway:
        return full_ * (d * std::sqrt(d));
      case Outlet::Type::Riser:
        return std::min(partFull_ * (d * std::sqrt(d)), full_ * std::sqrt(kTwoG * d));
    }
    return 0;
  }

 private:
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

  // The stages: the grid below the top, and every device stage strictly between bottom and top.
  std::vector<double> stages;
  stages.reserve(static_cast<std::size_t>((top - bottom) / step) + 2 + 2 * design.Outlets.size());
  for (double k = 1;; ++k) {
    const double stage = bottom + k * step;
    if (!(stage < top))
      break;
    stages.push_back(stage);
  }
  const auto grid = static_cast<std::ptrdiff_t>(stages.size());  // already in order
  const auto device = [&](double stage) {
    if (stage > bottom && stage < top)
      stages.push_back(stage);
  };
  for (const Outlet& o : design.Outlets)
    for (double stage : OutletStagesFeet(o))
      device(stage);
  if (design.Pipe)
    device(design.Pipe->OutletInvertFeet + Feet(design.Pipe->DiameterInches) / 2);
  std::sort(stages.begin() + grid, stages.end());
  std::inplace_merge(stages.begin(), stages.begin() + grid, stages.end());
  std::vector<double> rows{bottom};
  rows.reserve(stages.size() + 2);
  for (double stage : stages) {
    if (stage - rows.back() >= kSameStageFeet && top - stage >= kSameStageFeet)
      rows.push_back(stage);
  }
  rows.push_back(top);

  PondRating rating;
  const std::size_t devices = design.Outlets.size();
  for (std::size_t i = 0; i < devices; ++i)
    rating.Columns.push_back(OutletColumn(design.Outlets[i], i + 1));
  rating.Rows.reserve(rows.size());
  rating.DeviceCfs.reserve(rows.size() * devices);
  if (design.Pipe)
    rating.BarrelCfs.reserve(rows.size());
  ContourStorage contours(design.Storage);
  std::vector<DeviceRating> each(design.Outlets.begin(), design.Outlets.end());
  std::optional<BarrelRating> barrel;
  if (design.Pipe)
    barrel.emplace(*design.Pipe);
  const bool byContours = design.Storage.Form == PondStorage::Kind::Contours;
  for (double stage : rows) {
    double through = 0;  // the devices that pass through the barrel
    double beside = 0;   // spillways and the devices that do not
    for (std::size_t i = 0; i < devices; ++i) {
      const Outlet& o = design.Outlets[i];
      const double q = static_cast<double>(o.Count) * each[i].At(stage);
      rating.DeviceCfs.push_back(q);
      if (design.Pipe && o.ThroughBarrel && o.Kind != Outlet::Type::Spillway)
        through += q;
      else
        beside += q;
    }
    if (barrel) {
      const double capacity = barrel->At(stage);
      rating.BarrelCfs.push_back(capacity);
      through = std::min(through, capacity);
    }
    const double storage = byContours ? contours.At(stage) : StorageAt(design.Storage, stage);
    rating.Rows.push_back({stage, storage, through + beside});
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
