#include "app/window/StudyEdit.h"

#include <algorithm>

#include <utility>

#include "app/run/PreparedRun.h"
#include "app/tables/PondJson.h"
#include "app/tables/RainfallTable.h"
#include "app/tables/Val.h"
#include "core/NumberForms.h"
#include "core/ShownText.h"
#include "platform/Paths.h"

namespace rh {

namespace {

std::size_t RoleIndex(BasinRole role) {
  return role == BasinRole::Proposed ? 0 : 1;
}

std::optional<BasinEntry> BasinEntryOf(RunEntry entry) {
  switch (entry) {
    case RunEntry::TimeOfConcentration:
      return BasinEntry::Tc;
    case RunEntry::BasinArea:
      return BasinEntry::Area;
    case RunEntry::RunoffCoefficient:
      return BasinEntry::Coefficient;
    case RunEntry::PeakDischarge:
      return BasinEntry::Peak;
    default:
      return std::nullopt;
  }
}

// A criterion typed: blank for none, otherwise a number (nothing after it) that `fits`.
template <typename Fits>
std::optional<double> CriterionOf(const std::string& typed, Fits fits, bool& refused) {
  const std::string text = TrimSpaces(typed);
  refused = false;
  if (text.empty())
    return std::nullopt;
  const std::optional<double> value = LeadingNumber(text);
  refused = !value || !TextAfterNumber(text).empty() || !fits(*value);
  return value;
}

// The sizing entry a refusal of the study's key `key` is about ("size.min").
std::optional<SizeEntry> SizeEntryOf(const std::string& key) {
  if (key == "size.min")
    return SizeEntry::Min;
  if (key == "size.max")
    return SizeEntry::Max;
  if (key == "size.dimension" || key == "size.storage")
    return SizeEntry::Dimension;
  if (key.rfind("size", 0) == 0)
    return SizeEntry::Device;
  return std::nullopt;
}

// A refusal of the candidate study as a problem: beside the sizing entry or the pond's field it
// names, when it names one.
StudyProblem ProblemOf(const Refused& refused) {
  StudyProblem problem{std::nullopt,
                       std::nullopt,
                       std::nullopt,
                       refused.Title(),
                       refused.Text(),
                       {},
                       SizeEntryOf(refused.Key())};
  const std::string& key = refused.Key();
  if (key.rfind("pond.", 0) == 0)
    problem.PondKey = key.substr(5);
  return problem;
}

}  // namespace

bool SizeEntries::Blank() const {
  return TrimSpaces(Device).empty() && TrimSpaces(Dimension).empty() && TrimSpaces(Min).empty() &&
         TrimSpaces(Max).empty();
}

StudyEdit::StudyEdit(FileSystem& files, std::string path)
    : files_(files),
      path_(std::move(path)),
      study_(LoadStudyFile(files_, path_)),
      check_(CheckStudy(study_, path_, files_)) {
  for (const StudyBasin& basin : study_.Basins) {
    auto& e = entries_[RoleIndex(basin.Role)];
    e[static_cast<std::size_t>(BasinEntry::Tc)] = PlainNumber(basin.TcMinutes);
    e[static_cast<std::size_t>(BasinEntry::Area)] = PlainNumber(basin.AreaAcres);
    e[static_cast<std::size_t>(BasinEntry::Coefficient)] = PlainNumber(basin.C);
    e[static_cast<std::size_t>(BasinEntry::Peak)] =
        basin.PeakCfs ? PlainNumber(*basin.PeakCfs) : "chart";
  }
  chart_ = study_.P6Inches.has_value();
  p6_ = chart_ ? PlainNumber(*study_.P6Inches) : std::string();
  rainfall_ = study_.Rainfall;
  for (const auto& storm : StudyStormsOf(study_, path_, files_).Storms) {
    if (const std::optional<double> years = ParseReturnPeriod(storm->Ari))
      tablePeriods_.push_back(*years);
  }
  periods_ = study_.ReturnPeriods;
  if (study_.Pond && study_.Pond->Embedded()) {
    pond_.emplace(study_.Pond->Text);
  } else if (study_.Pond && IsJsonPondName(study_.Pond->Path)) {
    bool truncated = false;
    pond_.emplace(files_.ReadText(StudyRelativeOpen(path_, study_.Pond->Path), kMostStudyFileBytes,
                                  truncated));
    pondFile_ = study_.Pond->Path;
  }
  outletLabels_ = OutletLabels();
  if (study_.Size) {
    sizing_.Device = study_.Size->Device;
    sizing_.Dimension = SizeDimensionKey(study_.Size->Dimension);
    sizing_.Min = PlainNumber(study_.Size->Min);
    sizing_.Max = PlainNumber(study_.Size->Max);
  }
  const StudyCriteria& c = study_.Criteria;
  if (c.FreeboardFeet)
    criteria_[static_cast<std::size_t>(CriterionEntry::Freeboard)] = PlainNumber(*c.FreeboardFeet);
  if (c.DrawdownMaxHours)
    criteria_[static_cast<std::size_t>(CriterionEntry::DrawdownHours)] =
        PlainNumber(*c.DrawdownMaxHours);
}

std::string StudyEdit::FileName() const {
  return path_.substr(FolderPart(path_).size());
}

std::string StudyEdit::Title() const {
  return FileName() + (changed_ ? "*" : "");
}

bool StudyEdit::HasBasin(BasinRole role) const {
  return role == BasinRole::Proposed || study_.Existing() != nullptr;
}

const std::string& StudyEdit::Entry(BasinRole role, BasinEntry entry) const {
  return entries_[RoleIndex(role)][static_cast<std::size_t>(entry)];
}

const std::string& StudyEdit::Criterion(CriterionEntry entry) const {
  return criteria_[static_cast<std::size_t>(entry)];
}

void StudyEdit::SetEntry(BasinRole role, BasinEntry entry, std::string text) {
  std::string& held = entries_[RoleIndex(role)][static_cast<std::size_t>(entry)];
  changed_ = changed_ || held != text;
  held = std::move(text);
}

void StudyEdit::SetCriterion(CriterionEntry entry, std::string text) {
  std::string& held = criteria_[static_cast<std::size_t>(entry)];
  changed_ = changed_ || held != text;
  held = std::move(text);
}

void StudyEdit::SetSixHourRainfall(std::string text) {
  changed_ = changed_ || p6_ != text;
  p6_ = std::move(text);
}

std::string StudyEdit::TableName() const {
  if (rainfall_.Embedded())
    return rainfall_.Name;
  return rainfall_.Path.substr(FolderPart(rainfall_.Path).size());
}

void StudyEdit::UseChart(bool chart) {
  if (!chart && rainfall_.Path.empty() && rainfall_.Text.empty())
    return;  // no table to go back to
  changed_ = changed_ || chart_ != chart;
  chart_ = chart;
}

void StudyEdit::OpenTable(const std::string& path) {
  StudyFile probe = study_;
  probe.P6Inches.reset();
  probe.Rainfall = StudyTable{StudyRelativeWrite(path_, path), {}, {}, nullptr};
  probe.ReturnPeriods.clear();
  std::vector<double> periods;
  const StudyChoices storms = StudyStormsOf(probe, path_, files_);
  for (const auto& storm : storms.Storms) {
    if (const std::optional<double> years = ParseReturnPeriod(storm->Ari))
      periods.push_back(*years);
  }
  if (p6_.empty() && !storms.Storms.empty())
    p6_ = PlainNumber(SixHourDepth(*storms.Storms.front()));
  rainfall_ = probe.Rainfall;
  tablePeriods_ = std::move(periods);
  periods_.clear();
  periodsPicked_ = false;
  chart_ = false;
  changed_ = true;
}

void StudyEdit::PondEdited() {
  changed_ = true;
  pondEdited_ = true;
  // Renaming the outlet being sized keeps it sized: the only label that changed, in a list of the
  // same outlets, was the sizing's. A label still in the list (an outlet moved) is left alone.
  std::vector<std::string> labels = OutletLabels();
  const auto& before = outletLabels_;
  if (!sizing_.Device.empty() && labels.size() == before.size() &&
      std::find(labels.begin(), labels.end(), sizing_.Device) == labels.end()) {
    std::size_t changed = 0, at = 0;
    for (std::size_t i = 0; i < labels.size(); ++i) {
      if (labels[i] != before[i]) {
        ++changed;
        at = i;
      }
    }
    if (changed == 1 && before[at] == sizing_.Device)
      sizing_.Device = labels[at];
  }
  outletLabels_ = std::move(labels);
}

std::vector<std::string> StudyEdit::OutletLabels() const {
  std::vector<std::string> labels;
  for (std::size_t i = 0; pond_ && i < pond_->OutletCount(); ++i)
    labels.push_back(pond_->OutletLabel(i));
  return labels;
}

void StudyEdit::AddPond() {
  static const char* const kNewPond =
      R"({"name": "Pond", "storage": {"contours": [[100, 1], [106, 1.5]], "method": "conic"},)"
      R"( "outlets": [{"type": "orifice", "name": "low", "shape": "circular", "diameter_in": 12,)"
      R"( "invert_ft": 100}, {"type": "spillway", "length_ft": 20, "crest_ft": 105}],)"
      R"( "top_ft": 106})";
  pond_.emplace(kNewPond);
  pondFile_.clear();
  pondRemoved_ = false;
  outletLabels_ = OutletLabels();
  PondEdited();
}

void StudyEdit::RemovePond() {
  pond_.reset();
  pondFile_.clear();
  pondEdited_ = false;
  pondRemoved_ = true;
  outletLabels_.clear();
  changed_ = true;
}

void StudyEdit::SetSizing(SizeEntries entries) {
  const auto same = [](const SizeEntries& a, const SizeEntries& b) {
    return a.Device == b.Device && a.Dimension == b.Dimension && a.Min == b.Min && a.Max == b.Max;
  };
  changed_ = changed_ || !same(sizing_, entries);
  sizing_ = std::move(entries);
}

void StudyEdit::SetPeriods(std::vector<double> periods) {
  const std::vector<double>& held = periods_.empty() ? tablePeriods_ : periods_;
  changed_ = changed_ || held != periods;
  periods_ = std::move(periods);
  periodsPicked_ = true;
}

std::optional<StudyProblem> StudyEdit::Candidate(StudyFile& next) const {
  // Each basin's entries are checked as the main screen checks a run's, in every storm the study
  // runs, so the message names the entry and, with several storms, the storm.
  if (periodsPicked_ && periods_.empty())
    return StudyProblem{std::nullopt,
                        std::nullopt,
                        std::nullopt,
                        messages::kStudyPeriodsTitle,
                        messages::kStudyNoPeriodText,
                        {},
                        {},
                        false};
  if (chart_) {
    next.ReturnPeriods.clear();
    next.P6Inches = next.P6Inches.value_or(0);  // the rainfall typed, once it is checked below
  } else {
    next.P6Inches.reset();
    next.Rainfall = rainfall_;
    next.ReturnPeriods = periods_;
  }
  const StudyChoices inputs = StudyStormsOf(next, path_, files_);
  for (StudyBasin& basin : next.Basins) {
    const auto& typed = entries_[RoleIndex(basin.Role)];
    RunEntries entries;
    entries.TimeOfConcentration = typed[static_cast<std::size_t>(BasinEntry::Tc)];
    entries.BasinArea = typed[static_cast<std::size_t>(BasinEntry::Area)];
    entries.RunoffCoefficient = typed[static_cast<std::size_t>(BasinEntry::Coefficient)];
    entries.PeakDischarge = typed[static_cast<std::size_t>(BasinEntry::Peak)];
    const bool chartPeak = AsksForChartPeak(TrimSpaces(entries.PeakDischarge));
    if (chart_)
      entries.SixHourRainfall = p6_;
    std::vector<std::shared_ptr<const TableRainfall>> storms;
    for (const std::size_t picked : inputs.Picked)
      storms.push_back(inputs.Storms[picked]);
    if (storms.empty())
      storms.push_back(nullptr);
    if (!chartPeak && storms.size() > 1)
      return StudyProblem{basin.Role,
                          BasinEntry::Peak,
                          std::nullopt,
                          std::string("ERROR In Peak Discharge"),
                          messages::kStudyPeakChartText,
                          {},
                          {},
                          false};
    for (const auto& storm : storms) {
      RunChoices choices;
      choices.Rainfall = storm;
      choices.ChartPeak = chartPeak;
      try {
        const PreparedRun run = PrepareRun(entries, choices, files_);
        basin.TcMinutes = run.Inputs.TimeOfConcentration;
        basin.AreaAcres = run.Inputs.BasinArea;
        basin.C = run.Inputs.RunoffCoefficient;
        basin.PeakCfs = chartPeak ? std::nullopt : std::optional<double>(run.Inputs.PeakDischarge);
        if (chart_)
          next.P6Inches = run.Inputs.SixHourRainfall;
      } catch (const Refused& refused) {
        std::string text;
        if (storm && storms.size() > 1 && !storm->Ari.empty())
          text.append(messages::kStudyStormPrefix).append(storm->Ari).append("-year storm: ");
        text += refused.Text();
        if (refused.Entry() == RunEntry::SixHourRainfall)
          return StudyProblem{std::nullopt,   std::nullopt, std::nullopt, refused.Title(),
                              refused.Text(), std::nullopt, std::nullopt, true};
        return StudyProblem{basin.Role,   BasinEntryOf(refused.Entry()),
                            std::nullopt, refused.Title(),
                            text,         std::nullopt,
                            std::nullopt, false};
      }
    }
  }
  bool refused = false;
  next.Criteria.FreeboardFeet = CriterionOf(
      Criterion(CriterionEntry::Freeboard), [](double v) { return v >= 0; }, refused);
  if (refused)
    return StudyProblem{std::nullopt,
                        std::nullopt,
                        CriterionEntry::Freeboard,
                        messages::kStudyCriterionTitle,
                        messages::kStudyFreeboardText,
                        {},
                        {},
                        false};
  next.Criteria.DrawdownMaxHours = CriterionOf(
      Criterion(CriterionEntry::DrawdownHours), [](double v) { return v > 0; }, refused);
  if (refused)
    return StudyProblem{std::nullopt,
                        std::nullopt,
                        CriterionEntry::DrawdownHours,
                        messages::kStudyCriterionTitle,
                        messages::kStudyDrawdownText,
                        {},
                        {},
                        false};
  return DesignCandidate(next);
}

std::optional<StudyProblem> StudyEdit::DesignCandidate(StudyFile& next) const {
  if (pond_ && pondEdited_) {
    const std::string name = !pondFile_.empty() ? pondFile_.substr(FolderPart(pondFile_).size())
                             : study_.Pond && study_.Pond->Embedded() ? study_.Pond->Name
                                                                      : FileName();
    try {
      // Rated once here, refused under the pond's own name; the check then runs this rating.
      const std::string text = pond_->Text();
      auto rated = std::make_shared<TablePond>(ReadPondJson(text, name));
      rated->File = rated->Path = path_;
      next.Pond = StudyTable{"", name, text, std::move(rated)};
    } catch (const Refused& refused) {
      StudyProblem problem = ProblemOf(refused);
      problem.PondKey = refused.Key();
      return problem;
    }
  }
  if (pondRemoved_)
    next.Pond.reset();
  next.Size.reset();
  if (!sizing_.Blank()) {
    StudySizing size;
    const std::optional<SizeDimension> dimension = SizeDimensionOf(TrimSpaces(sizing_.Dimension));
    if (!dimension)
      return StudyProblem{std::nullopt,
                          std::nullopt,
                          std::nullopt,
                          messages::kStudySizeTitle,
                          messages::kStudySizeDimensionText,
                          {},
                          SizeEntry::Dimension,
                          false};
    size.Dimension = *dimension;
    if (size.Dimension != SizeDimension::Scale)
      size.Device = TrimSpaces(sizing_.Device);
    for (const SizeEntry entry : {SizeEntry::Min, SizeEntry::Max}) {
      const std::string text = TrimSpaces(entry == SizeEntry::Min ? sizing_.Min : sizing_.Max);
      const std::optional<double> value = LeadingNumber(text);
      if (!value || !TextAfterNumber(text).empty())
        return StudyProblem{std::nullopt,
                            std::nullopt,
                            std::nullopt,
                            messages::kStudySizeTitle,
                            messages::kStudySizeRangeText,
                            {},
                            entry,
                            false};
      (entry == SizeEntry::Min ? size.Min : size.Max) = *value;
    }
    next.Size = size;
  }
  if (next.Size || pondRemoved_) {
    // The study file's reader checks the sizing's range for its dimension, and the criteria that
    // need a pond.
    try {
      ReadStudyFile(StudyFileText(next), FileName());
    } catch (const Refused& refused) {
      return ProblemOf(refused);
    }
  }
  return std::nullopt;
}

std::optional<StudyProblem> StudyEdit::Rerun() {
  StudyFile next = study_;
  try {
    if (std::optional<StudyProblem> problem = Candidate(next))
      return problem;
    StudyCheck check = CheckStudy(next, path_, files_);
    study_ = std::move(next);
    check_ = std::move(check);
  } catch (const Refused& refused) {
    return ProblemOf(refused);
  } catch (const std::exception& fault) {
    const FaultReport report = ReportFault(fault);
    return StudyProblem{std::nullopt, std::nullopt, std::nullopt, report.Title,
                        report.Text,  std::nullopt, std::nullopt, false};
  }
  return std::nullopt;
}

void StudyEdit::RefuseOverInputs(const std::string& path, bool studyToo) const {
  const std::string target = files_.FileIdentity(path);
  for (const NamedPath& input : StudyInputFiles(study_, path_)) {
    if ((studyToo || input.Path != path_) && files_.FileIdentity(input.Path) == target)
      throw Refused(messages::kStudySaveFaultTitle,
                    Quoted(path) + messages::kStudySaveOverTableText);
  }
}

void StudyEdit::SaveDocument(const std::string& path, const std::string& bytes) {
  RefuseOverInputs(path, true);
  files_.ReplaceText(path, bytes);
}

void StudyEdit::Save() {
  SaveAs(path_);
}

void StudyEdit::SaveAs(const std::string& path) {
  if (const std::optional<StudyProblem> problem = Rerun())
    throw Refused(problem->Title, messages::kStudySaveRefusedText);
  RefuseOverInputs(path, false);
  StudyFile moved = MovedStudy(study_, path_, path, false, files_);
  files_.ReplaceText(path, StudyFileText(moved));
  study_ = std::move(moved);
  path_ = path;
  changed_ = false;
}

}  // namespace rh
