#include "app/run/StudyCheck.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "app/tables/PondFile.h"
#include "app/tables/PondJson.h"
#include "app/tables/RainfallTable.h"
#include "core/Faults.h"
#include "core/NumberForms.h"
#include "core/ShownText.h"
#include "engine/PondDesign.h"
#include "platform/Paths.h"

namespace rh {

namespace {

[[noreturn]] void RefuseStudy(const std::string& studyPath, const std::string& text,
                              const std::string& key = {}) {
  throw Refused(messages::kStudyFileTitle, ShownText(studyPath) + ": " + text, RunEntry::None, key);
}

RunEntries EntriesOf(const StudyBasin& basin, const StudyFile& study) {
  RunEntries e;
  e.TimeOfConcentration = PlainNumber(basin.TcMinutes);
  if (study.P6Inches)
    e.SixHourRainfall = PlainNumber(*study.P6Inches);
  e.BasinArea = PlainNumber(basin.AreaAcres);
  e.RunoffCoefficient = PlainNumber(basin.C);
  e.PeakDischarge = basin.PeakCfs ? PlainNumber(*basin.PeakCfs) : "chart";
  return e;
}

std::shared_ptr<const TablePond> PondOf(const StudyFile& study, const std::string& studyPath,
                                        FileSystem& files) {
  if (!study.Pond)
    return nullptr;
  if (!study.Pond->Embedded())
    return LoadPond(files, StudyRelativeOpen(studyPath, study.Pond->Path), study.Pond->Path);
  if (const auto& rated = study.Pond->Rated; rated && rated->File == studyPath)
    return rated;
  TablePond pond = ReadPondJson(study.Pond->Text, studyPath);
  pond.Path = studyPath;  // what outputs must never replace
  return std::make_shared<const TablePond>(std::move(pond));
}

void PickStorms(const StudyFile& study, const std::string& studyPath, FileSystem& files,
                StudyChoices& choices) {
  if (study.P6Inches)
    return;
  const bool embedded = study.Rainfall.Embedded();
  const std::string path = embedded ? studyPath : StudyRelativeOpen(studyPath, study.Rainfall.Path);
  const RainfallTables tables = embedded
                                    ? ReadRainfallTables(study.Rainfall.Text, study.Rainfall.Name)
                                    : LoadRainfallTables(files, path, study.Rainfall.Path);
  if (tables.ReturnPeriods().empty())
    choices.Storms.push_back(RainfallOf(tables, path, "", std::nullopt));
  for (const double years : tables.ReturnPeriods())
    choices.Storms.push_back(RainfallOf(tables, path, PlainNumber(years), years));
  if (study.ReturnPeriods.empty()) {
    for (std::size_t i = 0; i < choices.Storms.size(); ++i)
      choices.Picked.push_back(i);
    return;
  }
  for (std::size_t p = 0; p < study.ReturnPeriods.size(); ++p) {
    const double years = study.ReturnPeriods[p];
    const auto found =
        std::find(tables.ReturnPeriods().begin(), tables.ReturnPeriods().end(), years);
    if (found == tables.ReturnPeriods().end())
      RefuseStudy(studyPath, "storm.return_periods[" + std::to_string(p) + "] is " +
                                 PlainNumber(years) + ": the rainfall table holds " +
                                 (tables.ReturnPeriods().empty()
                                      ? std::string("no return periods; list none")
                                      : "the return periods " + tables.ReturnPeriodList()) +
                                 ".");
    choices.Picked.push_back(static_cast<std::size_t>(found - tables.ReturnPeriods().begin()));
  }
  std::sort(choices.Picked.begin(), choices.Picked.end());
}

std::optional<double> YearsOf(const Run& run) {
  if (!run.Inputs.Rainfall)
    return std::nullopt;
  return ParseReturnPeriod(run.Inputs.Rainfall->Ari);
}

double PeakOf(const Run& run) {
  return run.Result.Hydrograph(run.Result.PeakIndex);
}

// The release allowed in the storm of `years`, from the existing peak `existing` when the study
// compares with it.
std::optional<double> AllowableOf(const StudyFile& study, std::optional<double> years,
                                  std::optional<double> existing) {
  std::optional<Allowable> allow = study.Criteria.Release;
  if (!allow && study.Existing())
    allow = Allowable{};
  if (!allow)
    return std::nullopt;
  switch (allow->Form) {
    case Allowable::Kind::Existing:
      return existing;
    case Allowable::Kind::Fraction:
      return allow->Value * existing.value_or(0);
    case Allowable::Kind::Everywhere:
      return allow->Value;
    case Allowable::Kind::PerPeriod:
      for (const auto& [key, cfs] : allow->PerPeriod) {
        if (ParseReturnPeriod(key) == years)
          return cfs;
      }
  }
  return std::nullopt;
}

PeriodFigures FiguresOf(const Run& proposed, const PondRouting* routing, const PondTable* table,
                        std::optional<double> existingPeak) {
  PeriodFigures f;
  f.ExistingPeakCfs = existingPeak;
  f.ProposedPeakCfs = PeakOf(proposed);
  f.RoutedPeakCfs = f.ProposedPeakCfs;
  if (routing && table) {
    f.Routed = true;
    f.RoutedPeakCfs = routing->PeakOutflowCfs;
    f.MaxStageFeet = routing->MaxStageFeet;
    f.TopFeet = table->Rows().back().StageFeet;
    f.DrawdownMinutes = routing->DrainMinutes;
    f.Overtopped = routing->Overtopped;
  }
  return f;
}

// ---- Sizing ----

// What a sizing varies, and how its candidates run: the multiples k / Inverse of the precision
// from Low to High, ordered from the least wanted to the most (Rising: k increasing).
struct SizingPlan {
  const DesignedPond* Base = nullptr;
  std::size_t Outlet = 0;
  SizeDimension Dimension = SizeDimension::Scale;
  double Inverse = 100;
  long Low = 0;
  long High = 0;
  bool Rising = true;
  const char* Unit = "";
  int Places = 2;
  std::string Name;  // "low.diameter_in"

  long Count() const { return High - Low + 1; }
  double Value(long index) const {
    return static_cast<double>(Rising ? Low + index : High - index) / Inverse;
  }
  std::string Shown(double v) const {
    return Decimals(v, Places) + (*Unit != 0 ? std::string(" ") + Unit : std::string());
  }
};

std::string DeviceName(const Outlet& outlet, std::size_t index) {
  if (!outlet.Name.empty())
    return outlet.Name;
  std::string column = OutletColumn(outlet, index + 1);
  return column.substr(0, column.size() - 4);  // without "_cfs"
}

bool DimensionFits(const Outlet& o, SizeDimension d) {
  using T = Outlet::Type;
  using S = Outlet::Shape;
  switch (d) {
    case SizeDimension::DiameterInches:
      return o.Form == S::Circular;
    case SizeDimension::WidthInches:
      return o.Kind == T::Orifice && o.Form == S::Rectangular;
    case SizeDimension::LengthFeet:
      return (o.Kind == T::Weir && o.Form == S::Rectangular) || o.Kind == T::Spillway;
    case SizeDimension::CrestFeet:
      return o.Kind != T::Orifice;
    case SizeDimension::InvertFeet:
      return o.Kind == T::Orifice;
    case SizeDimension::Scale:
      return false;
  }
  return false;
}

SizingPlan PlanOf(const StudySizing& size, const TablePond* pond, const std::string& studyPath) {
  SizingPlan plan;
  plan.Dimension = size.Dimension;
  const char* key = size.Dimension == SizeDimension::Scale ? "size.storage" : "size.device";
  if (!pond || !pond->Design)
    RefuseStudy(studyPath,
                std::string(key) +
                    " needs a pond designed from its shape and outlets (a pond "
                    "object or a .json pond file), not a table.",
                key);
  plan.Base = pond->Design.get();
  const PondDesign& d = plan.Base->Design;
  if (size.Dimension == SizeDimension::Scale) {
    if (d.Storage.Form == PondStorage::Kind::Table)
      RefuseStudy(studyPath,
                  "size.storage: a storage table cannot be scaled; give the pond's "
                  "contours or its box.",
                  "size.storage");
    plan.Inverse = 1000;
    plan.Places = 3;
    plan.Rising = false;  // the smallest scale is the one wanted
    plan.Name = "storage.scale";
  } else {
    bool found = false;
    for (std::size_t i = 0; i < d.Outlets.size() && !found; ++i) {
      if (DeviceName(d.Outlets[i], i) == size.Device) {
        plan.Outlet = i;
        found = true;
      }
    }
    if (!found)
      RefuseStudy(studyPath,
                  "size.device " + Quoted(ShownText(size.Device, 40)) +
                      " names none of the pond's outlets.",
                  "size.device");
    if (!DimensionFits(d.Outlets[plan.Outlet], size.Dimension))
      RefuseStudy(studyPath,
                  "size.dimension is not a dimension of the outlet " +
                      Quoted(ShownText(size.Device, 40)) + ".",
                  "size.dimension");
    const bool inches = size.Dimension == SizeDimension::DiameterInches ||
                        size.Dimension == SizeDimension::WidthInches;
    plan.Unit = inches ? "in" : "ft";
    // A lower crest or invert is a larger opening, the one wanted.
    plan.Rising = !(size.Dimension == SizeDimension::CrestFeet ||
                    size.Dimension == SizeDimension::InvertFeet);
    static const char* const kKeys[] = {"diameter_in", "width_in", "length_ft", "crest_ft",
                                        "invert_ft"};
    plan.Name = size.Device + "." + kKeys[static_cast<int>(size.Dimension)];
  }
  plan.Low = static_cast<long>(std::ceil(size.Min * plan.Inverse - 1e-6));
  plan.High = static_cast<long>(std::floor(size.Max * plan.Inverse + 1e-6));
  if (plan.High < plan.Low)
    RefuseStudy(studyPath,
                "size.min to size.max holds no multiple of " + PlainNumber(1 / plan.Inverse) + ".",
                "size.max");
  return plan;
}

std::shared_ptr<const TablePond> SizedPond(const SizingPlan& plan, const TablePond& base,
                                           double value) {
  auto designed = std::make_shared<DesignedPond>();
  designed->Design = plan.Base->Design;
  PondDesign& d = designed->Design;
  if (plan.Dimension == SizeDimension::Scale) {
    for (Contour& c : d.Storage.Contours)
      c.AreaAcres *= value;
    d.Storage.LengthFeet *= value;
    d.Storage.WidthFeet *= value;
  } else {
    Outlet& o = d.Outlets[plan.Outlet];
    switch (plan.Dimension) {
      case SizeDimension::DiameterInches:
        o.DiameterInches = value;
        break;
      case SizeDimension::WidthInches:
        o.WidthInches = value;
        break;
      case SizeDimension::LengthFeet:
        o.LengthFeet = value;
        break;
      case SizeDimension::CrestFeet:
        o.CrestFeet = value;
        break;
      case SizeDimension::InvertFeet:
        o.InvertFeet = value;
        break;
      case SizeDimension::Scale:
        break;
    }
  }
  designed->Rating = RatePond(d);
  PondTable table(designed->Rating.Rows);
  return std::make_shared<const TablePond>(
      TablePond{std::move(table), base.File, base.Path, std::move(designed)});
}

// The criteria a candidate is limited by in the direction of the sizing: past the answer they
// fail (a device's release; the storage's release, freeboard and overtopping).
bool LimitsPass(const std::vector<PeriodCheck>& periods, SizeDimension dimension) {
  for (const PeriodCheck& p : periods) {
    const PeriodVerdicts& v = p.Verdicts;
    if (v.Release == Verdict::Fail)
      return false;
    if (dimension == SizeDimension::Scale &&
        (v.Freeboard == Verdict::Fail || v.Overtopping == Verdict::Fail))
      return false;
  }
  return true;
}

bool AllPass(const std::vector<PeriodCheck>& periods) {
  return std::none_of(periods.begin(), periods.end(),
                      [](const PeriodCheck& p) { return p.Verdicts.Result == Verdict::Fail; });
}

std::string StormWord(const PeriodCheck& p) {
  return p.Years ? PlainNumber(*p.Years) + "-year" : std::string("county chart");
}

// "drawdown fails (2-year), release fails (10-year, 100-year)"
std::string Failures(const std::vector<PeriodCheck>& periods) {
  const std::pair<const char*, Verdict PeriodVerdicts::*> criteria[] = {
      {"release", &PeriodVerdicts::Release},
      {"freeboard", &PeriodVerdicts::Freeboard},
      {"drawdown", &PeriodVerdicts::Drawdown},
      {"overtopping", &PeriodVerdicts::Overtopping}};
  std::string text;
  for (const auto& [name, verdict] : criteria) {
    std::string storms;
    for (const PeriodCheck& p : periods) {
      if (p.Verdicts.*verdict == Verdict::Fail)
        storms += (storms.empty() ? "" : ", ") + StormWord(p);
    }
    if (!storms.empty())
      text += (text.empty() ? "" : ", ") + std::string(name) + " fails (" + storms + ")";
  }
  return text.empty() ? "every criterion holds" : text;
}

SizingAnswer Size(const SizingPlan& plan, const StudyCheck& base, long step,
                  std::shared_ptr<const TablePond>& answerPond) {
  const auto judge = [&](long index) {
    try {
      const auto pond = SizedPond(plan, *base.Pond, plan.Value(index));
      return JudgePond(base, pond->Table, step);
    } catch (const Refused&) {
      // A rating that cannot be made (an outlet below the bottom) passes nothing.
      std::vector<PeriodCheck> failed = base.Periods;
      for (PeriodCheck& p : failed)
        p.Verdicts = {Verdict::Fail, Verdict::Fail, Verdict::Fail, Verdict::Fail, Verdict::Fail};
      return failed;
    }
  };
  const long last = plan.Count() - 1;
  // The limiting criteria hold from the least wanted end up to the answer: bisect for it.
  std::optional<long> found;
  std::vector<PeriodCheck> atFound;
  if (LimitsPass(judge(0), plan.Dimension)) {
    long good = 0;
    long bad = last + 1;
    if (auto end = judge(last); LimitsPass(end, plan.Dimension))
      good = last;
    while (bad - good > 1) {
      const long middle = good + (bad - good) / 2;
      (LimitsPass(judge(middle), plan.Dimension) ? good : bad) = middle;
    }
    atFound = judge(good);
    // Past the limiting criteria's end only they fail; short of it the others only get worse.
    if (AllPass(atFound)) {
      // Confirm the next step fails; step on while it does not.
      while (good < last && AllPass(judge(good + 1)))
        ++good;
      found = good;
    }
  }
  SizingAnswer answer;
  if (found) {
    answer.Value = plan.Value(*found);
    answer.Line = "SIZING " + plan.Name + " = " + plan.Shown(*answer.Value);
    answerPond = SizedPond(plan, *base.Pond, *answer.Value);
    return answer;
  }
  const double low = static_cast<double>(plan.Low) / plan.Inverse;
  const double high = static_cast<double>(plan.High) / plan.Inverse;
  const long lowIndex = plan.Rising ? 0 : last;
  answer.Line = "SIZING: no value from " + Decimals(low, plan.Places) + " to " + plan.Shown(high) +
                " passes; at " + plan.Shown(low) + " " + Failures(judge(lowIndex)) + "; at " +
                plan.Shown(high) + " " + Failures(judge(last - lowIndex));
  return answer;
}

// The periods of the runs in `check`, judged.
void JudgeRuns(const StudyFile& study, StudyCheck& check) {
  check.Periods.clear();
  for (std::size_t i = 0; i < check.ProposedRuns.size(); ++i) {
    const Run& run = check.ProposedRuns[i].Run;
    PeriodCheck p;
    p.Storm = StormName(run);
    p.Years = YearsOf(run);
    std::optional<double> existing;
    if (i < check.ExistingRuns.size())
      existing = PeakOf(check.ExistingRuns[i].Run);
    p.Figures =
        FiguresOf(run, run.Routing.get(), check.Pond ? &check.Pond->Table : nullptr, existing);
    p.Limits.AllowableCfs = AllowableOf(study, p.Years, existing);
    p.Limits.FreeboardFeet = study.Criteria.FreeboardFeet;
    if (study.Criteria.DrawdownMaxHours)
      p.Limits.DrawdownMaxMinutes = *study.Criteria.DrawdownMaxHours * 60;
    p.Verdicts = Judge(p.Figures, p.Limits);
    if (p.Limits.AllowableCfs)
      p.StorageEstimateAcreFeet =
          StorageAboveAcreFeet(run.Result, run.Inputs.TimeOfConcentration, *p.Limits.AllowableCfs);
    check.Periods.push_back(std::move(p));
  }
}

}  // namespace

bool StudyCheck::Passes() const {
  if (Sizing && !Sizing->Value)
    return false;
  return AllPass(Periods);
}

StudyInputs StudyInputsOf(const StudyFile& study, const std::string& studyPath, FileSystem& files) {
  StudyInputs in;
  in.ProposedEntries = EntriesOf(study.Proposed(), study);
  if (const StudyBasin* existing = study.Existing())
    in.ExistingEntries = EntriesOf(*existing, study);
  PickStorms(study, studyPath, files, in.Existing);
  in.Proposed = in.Existing;
  in.Proposed.Pond = PondOf(study, studyPath, files);
  in.Proposed.RouteStepMinutes = study.RouteStepMinutes;
  return in;
}

std::vector<NamedPath> StudyInputFiles(const StudyFile& study, const std::string& studyPath) {
  std::vector<NamedPath> inputs = {{"study file", studyPath}};
  if (!study.P6Inches && !study.Rainfall.Embedded())
    inputs.push_back({"rainfall table", StudyRelativeOpen(studyPath, study.Rainfall.Path)});
  if (study.Pond && !study.Pond->Embedded())
    inputs.push_back({"pond table", StudyRelativeOpen(studyPath, study.Pond->Path)});
  return inputs;
}

StudyChoices StudyStormsOf(const StudyFile& study, const std::string& studyPath,
                           FileSystem& files) {
  StudyChoices storms;
  PickStorms(study, studyPath, files, storms);
  return storms;
}

std::vector<PeriodCheck> JudgePond(const StudyCheck& base, const PondTable& table,
                                   long routeStepMinutes) {
  std::vector<PeriodCheck> periods = base.Periods;
  for (std::size_t i = 0; i < periods.size(); ++i) {
    PeriodCheck& p = periods[i];
    const Run& run = base.ProposedRuns[i].Run;
    try {
      const PondRouting routing = RoutePond(run, table, routeStepMinutes);
      p.Figures = FiguresOf(run, &routing, &table, p.Figures.ExistingPeakCfs);
    } catch (const Refused&) {
      // The inflow rose past the top of the pond's table.
      p.Figures.Routed = true;
      p.Figures.Overtopped = true;
      p.Figures.TopFeet = p.Figures.MaxStageFeet = table.Rows().back().StageFeet;
    }
    p.Verdicts = Judge(p.Figures, p.Limits);
  }
  return periods;
}

StudyCheck CheckStudy(const StudyFile& study, const std::string& studyPath, FileSystem& files) {
  StudyInputs in = StudyInputsOf(study, studyPath, files);
  if (study.Criteria.Release && study.Criteria.Release->Form == Allowable::Kind::PerPeriod) {
    std::vector<double> years;
    for (const std::size_t i : in.Proposed.Picked) {
      if (const auto y = ParseReturnPeriod(in.Proposed.Storms[i]->Ari))
        years.push_back(*y);
    }
    if (const auto problem = AllowablePeriodProblem(*study.Criteria.Release, years))
      RefuseStudy(studyPath,
                  std::string("criteria.allowable") + messages::kStudyPerPeriodText + *problem);
  }
  StudyCheck check;
  check.ProposedEntries = in.ProposedEntries;
  check.Pond = in.Proposed.Pond;
  check.ProposedRuns = RunStudy(in.ProposedEntries, in.Proposed, files);
  if (in.ExistingEntries)
    check.ExistingRuns = RunStudy(*in.ExistingEntries, in.Existing, files);
  JudgeRuns(study, check);
  if (study.Size) {
    const SizingPlan plan = PlanOf(*study.Size, check.Pond.get(), studyPath);
    std::shared_ptr<const TablePond> answer;
    check.Sizing = Size(plan, check, study.RouteStepMinutes, answer);
    if (answer) {
      in.Proposed.Pond = answer;
      check.Pond = answer;
      check.ProposedRuns = RunStudy(in.ProposedEntries, in.Proposed, files);
      JudgeRuns(study, check);
    }
  }
  return check;
}

// ---- The criteria table and the summary ----

namespace {

const char* Word(Verdict v) {
  return v == Verdict::Pass ? "PASS" : v == Verdict::Fail ? "FAIL" : "";
}

std::string Right(const std::string& text, std::size_t width) {
  return text.size() >= width ? " " + text : std::string(width - text.size(), ' ') + text;
}

std::string Left(const std::string& text, std::size_t width) {
  return text.size() >= width ? text + " " : text + std::string(width - text.size(), ' ');
}

std::string Cfs(double v) {
  const SpacedUnitWords units(kTextUnits);
  return Decimals(v, 1) + units.Cfs;
}

std::string Feet(double v) {
  const SpacedUnitWords units(kTextUnits);
  return Decimals(v, 2) + units.Feet;
}

// A file's name without its folders.
std::string NameOnly(const std::string& path) {
  return path.substr(FolderPart(path).size());
}

// Minutes as "41 h 58 min".
std::string HoursMinutesText(double minutes) {
  const SpacedUnitWords units(kTextUnits);
  const HoursMinutes d = SplitHours(std::round(minutes));
  return PlainNumber(d.Hours) + units.Hours + " " + PlainNumber(d.Minutes) + units.Minutes;
}

}  // namespace

DesignCheckText CriteriaOf(const StudyCheck& check) {
  DesignCheckText c;
  if (check.Pond)
    c.Pond =
        NameOnly(check.Pond->File) + ", top " + Feet(check.Pond->Table.Rows().back().StageFeet);
  const std::string none = "-";
  for (const PeriodCheck& p : check.Periods) {
    const PeriodFigures& f = p.Figures;
    c.Rows.push_back({p.Storm, f.ExistingPeakCfs ? Decimals(*f.ExistingPeakCfs, 1) : none,
                      Decimals(f.ProposedPeakCfs, 1),
                      f.Routed ? Decimals(f.RoutedPeakCfs, 1) : none,
                      p.Limits.AllowableCfs ? Decimals(*p.Limits.AllowableCfs, 1) : none,
                      f.Routed ? Decimals(f.MaxStageFeet, 2) : none,
                      f.Routed ? Decimals(f.FreeboardFeet(), 2) : none,
                      !f.Routed           ? none
                      : f.DrawdownMinutes ? HoursMinutesText(*f.DrawdownMinutes)
                                          : std::string("no drain"),
                      !f.Routed      ? none
                      : f.Overtopped ? "yes"
                                     : "no",
                      p.StorageEstimateAcreFeet ? Decimals(*p.StorageEstimateAcreFeet, 3) : none});
  }
  bool anySet = false;
  const auto add = [&](const PeriodCheck& p, const char* name, Verdict v, std::string margin) {
    if (v != Verdict::NotSet)
      c.Verdicts.push_back({p.Storm, name, Word(v), std::move(margin)});
  };
  for (const PeriodCheck& p : check.Periods) {
    const PeriodFigures& f = p.Figures;
    const PeriodVerdicts& v = p.Verdicts;
    if (p.Limits.AllowableCfs)
      add(p, "release", v.Release,
          std::string(f.Routed ? "routed " : "peak ") + Cfs(f.RoutedPeakCfs) +
              (v.Release == Verdict::Pass ? " ≤ allowable " : " > allowable ") +
              Cfs(*p.Limits.AllowableCfs));
    if (p.Limits.FreeboardFeet)
      add(p, "freeboard", v.Freeboard,
          "freeboard " + Feet(f.FreeboardFeet()) + (v.Freeboard == Verdict::Pass ? " ≥ " : " < ") +
              Feet(*p.Limits.FreeboardFeet));
    if (p.Limits.DrawdownMaxMinutes)
      add(p, "drawdown", v.Drawdown,
          f.DrawdownMinutes ? "drawdown " + HoursMinutesText(*f.DrawdownMinutes) +
                                  (v.Drawdown == Verdict::Pass ? " ≤ " : " > ") +
                                  HoursMinutesText(*p.Limits.DrawdownMaxMinutes)
                            : "does not drain within 10 days after the inflow; allowed " +
                                  HoursMinutesText(*p.Limits.DrawdownMaxMinutes));
    add(p, "overtopping", v.Overtopping,
        f.Overtopped ? "water over the top, " + Feet(f.TopFeet)
                     : "max stage " + Feet(f.MaxStageFeet) + " ≤ top " + Feet(f.TopFeet));
    anySet = anySet || v.Result != Verdict::NotSet;
  }
  if (!anySet) {
    c.Result = "No criteria are set.";
  } else {
    std::vector<PeriodCheck> failing;
    for (const PeriodCheck& p : check.Periods) {
      if (p.Verdicts.Result == Verdict::Fail)
        failing.push_back(p);
    }
    c.Result = failing.empty()
                   ? std::string("RESULT PASS: every return period meets every criterion")
                   : "RESULT FAIL: " + Failures(failing);
  }
  if (check.Sizing) {
    c.Sizing = check.Sizing->Line;
    // The pond as given may pass, but the sizing asked for found no value that does.
    if (!check.Sizing->Value)
      c.Result = "RESULT FAIL: no value in the sizing's range passes";
  }
  return c;
}

std::string CriteriaTable(const StudyCheck& check, const std::string& studyName) {
  const DesignCheckText c = CriteriaOf(check);
  std::string text = "DESIGN CRITERIA  " + studyName + "\n";
  if (!c.Pond.empty())
    text += "Pond: " + c.Pond + "\n";
  text += "\n";
  constexpr std::size_t kStorm = 14;
  constexpr std::size_t kCell = 12;
  text += Left("Storm", kStorm);
  for (const auto& head : CriteriaHeads())
    text += Right(head.first, kCell);
  text += "\n" + std::string(kStorm, ' ');
  for (const auto& head : CriteriaHeads())
    text += Right(head.second, kCell);
  text += "\n";
  for (const std::vector<std::string>& row : c.Rows) {
    text += Left(row.front(), kStorm);
    for (std::size_t i = 1; i < row.size(); ++i)
      text += Right(row[i], kCell);
    text += "\n";
  }
  text += "\n";
  for (const DesignCheckText::Verdict& v : c.Verdicts)
    text += Left(v.Storm, 14) + Left(v.Criterion, 12) + Left(v.Word, 6) + v.Margin + "\n";
  text += (c.Verdicts.empty() ? "" : "\n") + c.Result + "\n";
  if (!c.Sizing.empty())
    text += c.Sizing + "\n";
  return text;
}

Study StudyOfCheck(const StudyFile& study, const StudyCheck& check, const std::string& date) {
  Study document = MakeStudy(
      {study.ProjectName, study.Proposed().Name, study.Engineer, study.Notes, study.License}, date,
      check.ProposedEntries, StudyChoices{}, check.ProposedRuns);
  document.Criteria = CriteriaOf(check);
  return document;
}

std::vector<std::optional<double>> AllowableReleases(const StudyCheck& check) {
  std::vector<std::optional<double>> allowable;
  allowable.reserve(check.Periods.size());
  for (const PeriodCheck& p : check.Periods)
    allowable.push_back(p.Limits.AllowableCfs);
  return allowable;
}

std::string StudySummaryCsv(const StudyCheck& check) {
  std::string text =
      "return_period_yr,existing_peak_cfs,proposed_peak_cfs,routed_peak_cfs,allowable_cfs,"
      "max_stage_ft,freeboard_ft,drawdown_min,overtopped,storage_estimate_acft,release,"
      "freeboard,drawdown,result";
  text += check.Sizing ? ",size_value\n" : "\n";
  for (const PeriodCheck& p : check.Periods) {
    const PeriodFigures& f = p.Figures;
    const auto opt = [](const std::optional<double>& v, int places) {
      return v ? Decimals(*v, places) : std::string();
    };
    const std::string routed = f.Routed ? "" : "-";
    std::vector<std::string> cells = {
        p.Years ? PlainNumber(*p.Years) : "",
        opt(f.ExistingPeakCfs, 2),
        Decimals(f.ProposedPeakCfs, 2),
        f.Routed ? Decimals(f.RoutedPeakCfs, 2) : "",
        opt(p.Limits.AllowableCfs, 2),
        f.Routed ? Decimals(f.MaxStageFeet, 3) : "",
        f.Routed ? Decimals(f.FreeboardFeet(), 3) : "",
        f.Routed && f.DrawdownMinutes ? PlainNumber(*f.DrawdownMinutes) : "",
        f.Routed ? (f.Overtopped ? "yes" : "no") : "",
        opt(p.StorageEstimateAcreFeet, 4),
        Word(p.Verdicts.Release),
        Word(p.Verdicts.Freeboard),
        Word(p.Verdicts.Drawdown),
        Word(p.Verdicts.Result)};
    if (check.Sizing)
      cells.push_back(check.Sizing->Value ? PlainNumber(*check.Sizing->Value) : "");
    for (std::size_t i = 0; i < cells.size(); ++i)
      text += (i == 0 ? "" : ",") + cells[i];
    text += "\n";
  }
  return text;
}

}  // namespace rh
