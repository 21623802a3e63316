#include "app/tables/StudyFile.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <filesystem>
#include <utility>

#include <nlohmann/json.hpp>

#include "app/tables/JsonKeys.h"
#include "app/tables/PondJson.h"
#include "app/tables/RainfallTable.h"
#include "core/Faults.h"
#include "core/NumberForms.h"
#include "core/ShownText.h"
#include "platform/Paths.h"

namespace rh {

namespace {

using json::Json;
using json::Object;
using json::Range;
using json::Reader;

constexpr const char* kFormat = "rational-hydrograph-study";
constexpr long kVersion = 1;
// A study file nests its inline pond one level below a pond file's nesting.
constexpr int kDeepestNesting = 10;

std::string BaseName(const std::string& path) {
  const std::string folder = FolderPart(path);
  return path.substr(folder.size());
}
constexpr json::FileWords kStudyWords{
    messages::kStudyFileTitle,       RunEntry::None,
    messages::kStudyJsonUnknownText, messages::kStudyJsonSyntaxText,
    messages::kStudyJsonDeepText,    kDeepestNesting};

constexpr Range kP6{0, false, 100, true};         // in
constexpr Range kYears{0, false, 1e5, true};      // return period
constexpr Range kTc{5, true, 360, true};          // min, as the entry boxes take it
constexpr Range kAreaAcres{0, false, 1e6, true};  // ac
constexpr Range kCoefficient{0, false, 1, true};  //
constexpr Range kPeak{0, false, 1e7, true};       // cfs
constexpr Range kRelease{0, true, 1e7, true};     // cfs
constexpr Range kFraction{0, false, 10, true};    // of the existing peak
constexpr Range kFreeboard{0, true, 1e3, true};   // ft
constexpr Range kDrawdown{0, false, 1e5, true};   // h
constexpr Range kOpening{0, false, 1e4, true};    // in
constexpr Range kLength{0, false, 1e5, true};     // ft
constexpr Range kElevation{0, true, 1e5, true};   // ft
constexpr Range kScale{0, false, 100, true};      //

struct DimensionName {
  const char* Key;
  SizeDimension Dimension;
  const Range* Values;
};
constexpr DimensionName kDimensions[] = {
    {"diameter_in", SizeDimension::DiameterInches, &kOpening},
    {"width_in", SizeDimension::WidthInches, &kOpening},
    {"length_ft", SizeDimension::LengthFeet, &kLength},
    {"crest_ft", SizeDimension::CrestFeet, &kElevation},
    {"invert_ft", SizeDimension::InvertFeet, &kElevation},
};

StudyTable ReadTableRef(const Reader& r, Object& parent, const char* key, bool mayEmbed) {
  const Json& value = parent.Need(key);
  StudyTable table;
  if (value.is_string()) {
    table.Path = value.get<std::string>();
    if (table.Path.empty())
      r.RefuseAt(parent.Path(key),
                 messages::kPondJsonKindText + std::string("a file's path, not empty."));
    return table;
  }
  if (!mayEmbed)
    r.WrongKind(parent.Path(key), messages::kPondJsonTextKind);
  Object o(r, value, parent.Path(key));
  const std::optional<std::string> name = o.Text("name");
  const std::optional<std::string> text = o.Text("text");
  if (!name)
    o.Need("name");
  if (!text)
    o.Need("text");
  if (name->empty())
    r.RefuseAt(o.Path("name"),
               messages::kPondJsonKindText + std::string("the table's file name, not empty."));
  o.Done();
  table.Name = *name;
  table.Text = *text;
  return table;
}

void ReadStorm(const Reader& r, Object& top, StudyFile& study) {
  Object s(r, top.Need("storm"), "storm");
  if (s.Has("p6_in") == s.Has("rainfall"))
    r.Refuse(messages::kStudyStormText);
  if (s.Has("p6_in")) {
    study.P6Inches = s.Number("p6_in", kP6);
  } else {
    study.Rainfall = ReadTableRef(r, s, "rainfall", true);
    if (const Json* periods = s.Find("return_periods")) {
      const std::string path = s.Path("return_periods");
      const Json& list = json::List(r, *periods, path);
      for (std::size_t i = 0; i < list.size(); ++i)
        study.ReturnPeriods.push_back(json::NumberAt(r, list[i], json::At(path, i), kYears));
      std::vector<double> sorted = study.ReturnPeriods;
      std::sort(sorted.begin(), sorted.end());
      if (sorted.empty() || std::adjacent_find(sorted.begin(), sorted.end()) != sorted.end())
        r.RefuseAt(path, messages::kStudyPeriodsText);
    }
  }
  s.Done();
}

void ReadBasins(const Reader& r, Object& top, StudyFile& study) {
  const std::string path = "basins";
  const Json& list = json::List(r, top.Need("basins"), path);
  bool proposed = false;
  bool existing = false;
  for (std::size_t i = 0; i < list.size(); ++i) {
    Object b(r, list[i], json::At(path, i));
    StudyBasin basin;
    basin.Name = b.Text("name").value_or("");
    basin.Role = b.Choice("role", {"proposed", "existing"}) == "proposed" ? BasinRole::Proposed
                                                                          : BasinRole::Existing;
    bool& seen = basin.Role == BasinRole::Proposed ? proposed : existing;
    if (seen)
      r.Refuse(basin.Role == BasinRole::Proposed
                   ? std::string(messages::kStudyProposedText)
                   : b.Path("role") + messages::kStudyExistingTwiceText);
    seen = true;
    basin.TcMinutes = b.Number("tc_min", kTc);
    basin.AreaAcres = b.Number("area_acres", kAreaAcres);
    basin.C = b.Number("c", kCoefficient);
    if (const Json* peak = b.Find("peak_cfs")) {
      if (!(peak->is_string() && peak->get<std::string>() == "chart")) {
        if (!peak->is_number())
          r.WrongKind(b.Path("peak_cfs"), "\"chart\" or a number");
        basin.PeakCfs = json::NumberAt(r, *peak, b.Path("peak_cfs"), kPeak);
        if (!study.SingleStorm())
          r.RefuseAt(b.Path("peak_cfs"), messages::kStudyPeakText);
      }
    }
    b.Done();
    study.Basins.push_back(std::move(basin));
  }
  if (!proposed)
    r.Refuse(messages::kStudyProposedText);
}

void ReadPond(const Reader& r, Object& top, StudyFile& study, const std::string& name) {
  const Json* value = top.Find("pond");
  if (!value)
    return;
  if (value->is_object()) {
    // Refused here, with its key path, when it is wrong.
    auto rated = std::make_shared<TablePond>(ReadPondObject(r, *value, "pond", name));
    rated->Path = name;
    StudyTable pond;
    pond.Name = name;
    pond.Text = value->dump();
    pond.Rated = std::move(rated);
    study.Pond = std::move(pond);
    return;
  }
  if (!value->is_string())
    r.WrongKind("pond", "a pond object { ... } or a pond file's path");
  study.Pond = ReadTableRef(r, top, "pond", false);
}

Allowable ReadAllowable(const Reader& r, const Json& value, const std::string& path,
                        const StudyFile& study) {
  Allowable allow;
  if (value.is_string()) {
    if (value.get<std::string>() != "existing")
      r.RefuseAt(path,
                 messages::kPondJsonChoiceText + std::string("\"existing\", a number of cfs, ") +
                     "{\"fraction_of_existing\": ...} or a number for each return period, not " +
                     Quoted(value.get<std::string>()) + ".");
    allow.Form = Allowable::Kind::Existing;
  } else if (value.is_number()) {
    allow.Form = Allowable::Kind::Everywhere;
    allow.Value = json::NumberAt(r, value, path, kRelease);
  } else if (value.is_object() && value.contains("fraction_of_existing")) {
    Object o(r, value, path);
    allow.Form = Allowable::Kind::Fraction;
    allow.Value = o.Number("fraction_of_existing", kFraction);
    o.Done();
  } else if (value.is_object()) {
    if (study.P6Inches)
      r.RefuseAt(path, messages::kStudyChartPeriodText);
    allow.Form = Allowable::Kind::PerPeriod;
    for (auto it = value.begin(); it != value.end(); ++it) {
      const std::string at = path + "." + ShownText(it.key(), 40);
      if (!ParseReturnPeriod(it.key()))
        r.RefuseAt(at, messages::kStudyJsonUnknownText);
      allow.PerPeriod.emplace_back(it.key(), json::NumberAt(r, it.value(), at, kRelease));
    }
    std::sort(allow.PerPeriod.begin(), allow.PerPeriod.end(), [](const auto& a, const auto& b) {
      return *ParseReturnPeriod(a.first) < *ParseReturnPeriod(b.first);
    });
    if (!study.ReturnPeriods.empty()) {
      if (const auto problem = AllowablePeriodProblem(allow, study.ReturnPeriods))
        r.RefuseAt(path, messages::kStudyPerPeriodText + *problem);
    }
  } else {
    r.WrongKind(path, "\"existing\", a number, or an object { ... }");
  }
  if ((allow.Form == Allowable::Kind::Existing || allow.Form == Allowable::Kind::Fraction) &&
      !study.Existing())
    r.RefuseAt(path, messages::kStudyNoExistingText);
  return allow;
}

void ReadCriteria(const Reader& r, Object& top, StudyFile& study) {
  const Json* value = top.Find("criteria");
  if (!value)
    return;
  Object c(r, *value, "criteria");
  if (const Json* allow = c.Find("allowable"))
    study.Criteria.Release = ReadAllowable(r, *allow, c.Path("allowable"), study);
  if (c.Has("freeboard_ft"))
    study.Criteria.FreeboardFeet = c.Number("freeboard_ft", kFreeboard);
  if (c.Has("drawdown_max_h"))
    study.Criteria.DrawdownMaxHours = c.Number("drawdown_max_h", kDrawdown);
  for (const char* key : {"freeboard_ft", "drawdown_max_h"}) {
    if (c.Has(key) && !study.Pond)
      r.RefuseAt(c.Path(key), messages::kStudyNoPondCriteriaText);
  }
  c.Done();
}

void ReadSize(const Reader& r, Object& top, StudyFile& study) {
  const Json* value = top.Find("size");
  if (!value)
    return;
  Object s(r, *value, "size");
  StudySizing size;
  const Range* values = &kScale;
  if (s.Has("storage") && !s.Has("device") && !s.Has("dimension")) {
    s.Choice("storage", {"scale"});
    size.Dimension = SizeDimension::Scale;
  } else if (s.Has("device") && !s.Has("storage")) {
    size.Device = *s.Text("device");
    const std::string dimension =
        s.Choice("dimension", {"diameter_in", "width_in", "length_ft", "crest_ft", "invert_ft"});
    for (const DimensionName& d : kDimensions) {
      if (dimension == d.Key) {
        size.Dimension = d.Dimension;
        values = d.Values;
      }
    }
  } else {
    r.Refuse(messages::kStudySizeFormText);
  }
  size.Min = s.Number("min", *values);
  size.Max = s.Number("max", *values);
  if (size.Max < size.Min)
    r.RefuseAt(s.Path("max"), messages::kStudyRangeOrderText);
  s.Done();
  study.Size = size;
}

// Whole numbers as integers ("2", not "2.0"), others in their shortest exact form.
nlohmann::ordered_json Num(double v) {
  if (v == std::floor(v) && std::fabs(v) < 1e15)
    return static_cast<long long>(v);
  return v;
}

nlohmann::ordered_json TableRef(const StudyTable& table) {
  if (!table.Embedded())
    return table.Path;
  nlohmann::ordered_json embedded;
  embedded["name"] = table.Name;
  embedded["text"] = table.Text;
  return embedded;
}

}  // namespace

const char* SizeDimensionKey(SizeDimension d) {
  for (const DimensionName& name : kDimensions) {
    if (name.Dimension == d)
      return name.Key;
  }
  return "scale";
}

std::optional<SizeDimension> SizeDimensionOf(std::string_view key) {
  if (key == "scale")
    return SizeDimension::Scale;
  for (const DimensionName& name : kDimensions) {
    if (key == name.Key)
      return name.Dimension;
  }
  return std::nullopt;
}

std::optional<std::string> AllowablePeriodProblem(const Allowable& allow,
                                                  const std::vector<double>& periods) {
  std::vector<double> given;
  given.reserve(allow.PerPeriod.size());
  for (const auto& [key, cfs] : allow.PerPeriod)
    given.push_back(*ParseReturnPeriod(key));
  for (const double years : periods) {
    if (std::count(given.begin(), given.end(), years) != 1)
      return "the " + PlainNumber(years) + "-year release is missing.";
  }
  for (const auto& [key, cfs] : allow.PerPeriod) {
    const double years = *ParseReturnPeriod(key);
    if (std::count(periods.begin(), periods.end(), years) != 1 ||
        std::count(given.begin(), given.end(), years) != 1)
      return Quoted(ShownText(key, 40)) + " is not a return period run, or is given twice.";
  }
  return std::nullopt;
}

const StudyBasin& StudyFile::Proposed() const {
  for (const StudyBasin& basin : Basins) {
    if (basin.Role == BasinRole::Proposed)
      return basin;
  }
  throw UsageError(messages::kStudyProposedText);
}

const StudyBasin* StudyFile::Existing() const {
  for (const StudyBasin& basin : Basins) {
    if (basin.Role == BasinRole::Existing)
      return &basin;
  }
  return nullptr;
}

bool IsStudyFileName(std::string_view name) {
  constexpr std::string_view kExtension = ".rhstudy";
  if (name.size() < kExtension.size())
    return false;
  const std::string_view end = name.substr(name.size() - kExtension.size());
  return std::equal(end.begin(), end.end(), kExtension.begin(), [](char a, char b) {
    return std::tolower(static_cast<unsigned char>(a)) == b;
  });
}

std::string StudyDeckPath(const std::string& studyPath, const std::string& years) {
  std::string stem = studyPath;
  if (IsStudyFileName(stem))
    stem.resize(stem.size() - std::string_view(".rhstudy").size());
  return stem + (years.empty() ? "" : "-" + years + "yr") + ".hc1";
}

StudyFile ReadStudyFile(std::string_view text, const std::string& name) {
  const Reader r(name, kStudyWords);
  const Json value = json::Parse(r, text);
  Object top(r, value, "");
  StudyFile study;
  if (top.Choice("format", {kFormat}) != kFormat)
    r.Refuse(messages::kStudyFormatText);
  top.Whole("version", kVersion, kVersion, 0);
  if (!top.Has("version"))
    top.Need("version");
  if (const Json* project = top.Find("project")) {
    Object p(r, *project, "project");
    study.ProjectName = p.Text("name").value_or("");
    study.Engineer = p.Text("engineer").value_or("");
    study.License = p.Text("license").value_or("");
    study.Notes = p.Text("notes").value_or("");
    p.Done();
  }
  ReadStorm(r, top, study);
  ReadBasins(r, top, study);
  ReadPond(r, top, study, name);
  study.RouteStepMinutes = top.Whole("route_step_min", 1, 360, 1);
  ReadCriteria(r, top, study);
  ReadSize(r, top, study);
  study.Hec1 = top.Flag("hec1", false);
  top.Done();
  return study;
}

StudyFile LoadStudyFile(FileSystem& files, const std::string& path) {
  bool truncated = false;
  const std::string text = files.ReadText(path, kMostStudyFileBytes, truncated);
  if (truncated)
    throw Refused(messages::kStudyFileTitle, ShownText(path) + ": " + messages::kPondLargerText +
                                                 std::to_string(kMostStudyFileBytes) +
                                                 messages::kStudyTooLargeText);
  return ReadStudyFile(text, path);
}

std::string StudyRelativeOpen(const std::string& studyPath, const std::string& written) {
  if (IsRootedPath(written))
    return written;
  return PathInFolder(FolderPart(studyPath), written);
}

std::string StudyRelativeWrite(const std::string& studyPath, const std::string& path) {
  namespace fs = std::filesystem;
  std::error_code error;
  const fs::path folder = fs::absolute(fs::path(studyPath), error).parent_path();
  const fs::path target = fs::absolute(fs::path(path), error);
  if (error)
    return path;
  const fs::path relative = target.lexically_normal().lexically_relative(folder.lexically_normal());
  // Another drive or share has no relative path: the path stays as given.
  if (relative.empty())
    return path;
  return relative.generic_string();
}

std::string InlinePondText(std::string_view text, const std::string& name) {
  ReadPondJson(text, name);
  return Json::parse(text.begin(), text.end()).dump();
}

StudyTable StudyTableAt(const std::string& opened, const std::string& written,
                        const std::string& to, bool embed, bool isPond, FileSystem& files) {
  StudyTable table;
  if (embed && (!isPond || IsJsonPondName(opened))) {
    bool truncated = false;
    const std::string text = files.ReadText(opened, kMostStudyFileBytes, truncated);
    if (truncated)
      throw FileFault(messages::kCannotWriteText + ShownText(to) + ": " + ShownText(opened) +
                          messages::kPondLargerText + std::to_string(kMostStudyFileBytes) +
                          " bytes",
                      to);
    table.Name = BaseName(written);
    table.Text = isPond ? InlinePondText(text, written) : text;
    return table;
  }
  table.Path = IsRootedPath(written) ? written : StudyRelativeWrite(to, opened);
  return table;
}

StudyFile MovedStudy(StudyFile study, const std::string& from, const std::string& to, bool embed,
                     FileSystem& files) {
  if (!study.P6Inches && !study.Rainfall.Embedded())
    study.Rainfall = StudyTableAt(StudyRelativeOpen(from, study.Rainfall.Path), study.Rainfall.Path,
                                  to, embed, false, files);
  if (study.Pond && !study.Pond->Embedded())
    study.Pond = StudyTableAt(StudyRelativeOpen(from, study.Pond->Path), study.Pond->Path, to,
                              embed, true, files);
  return study;
}

std::string StudyFileText(const StudyFile& study) {
  using Ordered = nlohmann::ordered_json;
  Ordered top;
  top["format"] = kFormat;
  top["version"] = kVersion;
  Ordered& project = top["project"];
  project["name"] = study.ProjectName;
  project["engineer"] = study.Engineer;
  project["license"] = study.License;
  project["notes"] = study.Notes;
  Ordered& storm = top["storm"];
  if (study.P6Inches) {
    storm["p6_in"] = Num(*study.P6Inches);
  } else {
    storm["rainfall"] = TableRef(study.Rainfall);
    if (!study.ReturnPeriods.empty()) {
      Ordered& periods = storm["return_periods"] = Ordered::array();
      for (const double years : study.ReturnPeriods)
        periods.push_back(Num(years));
    }
  }
  Ordered& basins = top["basins"] = Ordered::array();
  for (const StudyBasin& basin : study.Basins) {
    Ordered b;
    b["name"] = basin.Name;
    b["role"] = basin.Role == BasinRole::Proposed ? "proposed" : "existing";
    b["tc_min"] = Num(basin.TcMinutes);
    b["area_acres"] = Num(basin.AreaAcres);
    b["c"] = Num(basin.C);
    b["peak_cfs"] = basin.PeakCfs ? Num(*basin.PeakCfs) : Ordered("chart");
    basins.push_back(std::move(b));
  }
  if (study.Pond) {
    if (study.Pond->Embedded())
      top["pond"] = Ordered::parse(study.Pond->Text);
    else
      top["pond"] = study.Pond->Path;
  }
  top["route_step_min"] = study.RouteStepMinutes;
  Ordered& criteria = top["criteria"] = Ordered::object();
  if (const auto& allow = study.Criteria.Release) {
    switch (allow->Form) {
      case Allowable::Kind::Existing:
        criteria["allowable"] = "existing";
        break;
      case Allowable::Kind::Fraction:
        criteria["allowable"]["fraction_of_existing"] = Num(allow->Value);
        break;
      case Allowable::Kind::Everywhere:
        criteria["allowable"] = Num(allow->Value);
        break;
      case Allowable::Kind::PerPeriod: {
        Ordered& each = criteria["allowable"] = Ordered::object();
        for (const auto& [key, cfs] : allow->PerPeriod)
          each[key] = Num(cfs);
        break;
      }
    }
  }
  if (study.Criteria.FreeboardFeet)
    criteria["freeboard_ft"] = Num(*study.Criteria.FreeboardFeet);
  if (study.Criteria.DrawdownMaxHours)
    criteria["drawdown_max_h"] = Num(*study.Criteria.DrawdownMaxHours);
  if (const auto& size = study.Size) {
    Ordered& s = top["size"];
    if (size->Dimension == SizeDimension::Scale) {
      s["storage"] = "scale";
    } else {
      s["device"] = size->Device;
      s["dimension"] = SizeDimensionKey(size->Dimension);
    }
    s["min"] = Num(size->Min);
    s["max"] = Num(size->Max);
  }
  top["hec1"] = study.Hec1;
  return top.dump(2) + "\n";
}

}  // namespace rh
