#include "PageStudy.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <exception>
#include <iterator>
#include <optional>
#include <utility>
#include <vector>

#include <nlohmann/json.hpp>

#include "PageFiles.h"
#include "app/run/StudyCheck.h"
#include "app/run/StudyPdf.h"
#include "app/tables/JsonKeys.h"
#include "app/tables/PondJson.h"
#include "app/tables/StudyFile.h"
#include "core/Faults.h"
#include "core/NumberChars.h"
#include "core/ShownText.h"
#include "platform/Clock.h"

namespace rh::web {

namespace {

using nlohmann::json;

// Points of a curve the chart draws: enough for a smooth line at any screen width.
constexpr std::size_t kMostChartPoints = 600;
// The chart runs on past the end of the inflow by this share of it, to show the pond draining.
constexpr double kChartPastInflow = 1.0;

// A field of the page's study editors and the place of its entry in the study file.
struct Edit {
  std::string field;
  json::json_pointer place;
  std::string keyPath;  // as the study file's refusals name the key
  json value;           // null: the key is left out
  std::string words;    // what the page calls the entry in its refusals
};

// The field ids of the editors and where their entries go. Unknown ids are left alone.
std::vector<Edit> EditsOf(const json& edits, const json& study) {
  std::vector<Edit> out;
  if (!edits.is_object())
    return out;
  const auto basinIndex = [&study](const std::string& role) -> long {
    if (!study.contains("basins") || !study["basins"].is_array())
      return -1;
    for (std::size_t i = 0; i < study["basins"].size(); ++i) {
      const json& basin = study["basins"][i];
      const bool proposed = !basin.contains("role") || basin["role"] == "proposed";
      if (basin.is_object() && (role == "proposed" ? proposed : basin.value("role", "") == role))
        return static_cast<long>(i);
    }
    return -1;
  };
  const bool inlinePond = study.contains("pond") && study["pond"].is_object();
  for (const auto& item : edits.items()) {
    const std::string field = item.key();
    if (!item.value().is_string())
      continue;
    const std::string typed = item.value().get<std::string>();
    const json value = rh::json::Trimmed(typed).empty() ? json() : rh::json::TypedValue(typed);
    const auto add = [&](const std::string& pointer, const std::string& keyPath, json v,
                         std::string words) {
      out.push_back({field, json::json_pointer(pointer), keyPath, std::move(v), std::move(words)});
    };
    if (field.rfind("basin-", 0) == 0) {
      const std::size_t dash = field.find('-', 6);
      if (dash == std::string::npos)
        continue;
      const long index = basinIndex(field.substr(6, dash - 6));
      const std::string entryName = field.substr(dash + 1);
      // The entry, its key in the study file and its name on the page.
      static const char* const kEntries[][3] = {{"tc", "tc_min", "time of concentration"},
                                                {"area", "area_acres", "basin area"},
                                                {"coef", "c", "runoff coefficient"},
                                                {"peak", "peak_cfs", "peak discharge"}};
      const auto* known =
          std::find_if(std::begin(kEntries), std::end(kEntries),
                       [&entryName](const auto& entry) { return entryName == entry[0]; });
      if (index < 0 || known == std::end(kEntries))
        continue;
      const std::string key = (*known)[1];
      const std::string at = std::to_string(index);
      add("/basins/" + at + "/" + key, "basins[" + at + "]." + key, value,
          "the " + field.substr(6, dash - 6) + " " + (*known)[2]);
    } else if (field == "storm-p6") {
      add("/storm/p6_in", "storm.p6_in", value, "the 6-hour rainfall");
    } else if (field == "storm-return-periods") {
      json periods = json::array();
      std::size_t from = 0;
      while (from <= typed.size()) {
        const std::size_t comma = std::min(typed.find(',', from), typed.size());
        const std::string one = typed.substr(from, comma - from);
        if (!rh::json::Trimmed(one).empty())
          periods.push_back(rh::json::TypedValue(one));
        from = comma + 1;
      }
      add("/storm/return_periods", "storm.return_periods", std::move(periods),
          "the return periods picked");
    } else if (!inlinePond) {
      continue;
    } else if (field == "pond-storage") {
      json storage = json::parse(typed, nullptr, false);
      add("/pond/storage", "pond.storage",
          storage.is_discarded() ? json(typed) : std::move(storage), "the pond's storage");
    } else if (field == "pond-top_ft") {
      add("/pond/top_ft", "pond.top_ft", value, "the top of the pond");
    } else if (field.rfind("outlet-", 0) == 0) {
      const std::size_t dash = field.find('-', 7);
      if (dash == std::string::npos)
        continue;
      const std::string at = field.substr(7, dash - 7);
      const std::string key = field.substr(dash + 1);
      const std::string outlet = "outlet " + std::to_string(std::atol(at.c_str()) + 1);
      add("/pond/outlets/" + at + "/" + key, "pond.outlets[" + at + "]." + key, value,
          outlet + "'s " + key);
      // A refusal of the outlet as a whole goes beside its first field.
      out.push_back({field, json::json_pointer(), "pond.outlets[" + at + "]", json(), outlet});
    } else if (field.rfind("barrel-", 0) == 0) {
      const std::string key = field.substr(7);
      add("/pond/barrel/" + key, "pond.barrel." + key, value, "the barrel's " + key);
    }
  }
  return out;
}

// The sizing's four fields as the study file's "size" object: none when all are blank.
void ApplySizing(const json& edits, json& study, std::vector<Edit>& applied) {
  if (!edits.is_object() || !edits.contains("size-dimension"))
    return;
  const auto typed = [&edits](const char* field) {
    return edits.contains(field) && edits[field].is_string() ? edits[field].get<std::string>()
                                                             : std::string();
  };
  const std::string device = rh::json::Trimmed(typed("size-device"));
  const std::string dimension = rh::json::Trimmed(typed("size-dimension"));
  const std::string min = typed("size-min"), max = typed("size-max");
  if (device.empty() && dimension.empty() && rh::json::Trimmed(min).empty() &&
      rh::json::Trimmed(max).empty()) {
    study.erase("size");
    return;
  }
  json size = json::object();
  if (dimension == "scale") {
    size["storage"] = "scale";
  } else {
    size["device"] = device;
    size["dimension"] = dimension;
  }
  size["min"] = rh::json::TypedValue(min);
  size["max"] = rh::json::TypedValue(max);
  study["size"] = std::move(size);
  static const char* const kPlaces[][3] = {
      {"size-device", "size.device", "the outlet to size"},
      {"size-dimension", "size.dimension", "the dimension to size"},
      {"size-min", "size.min", "the sizing's From box"},
      {"size-max", "size.max", "the sizing's To box"},
      {"size-dimension", "size.storage", "the dimension to size"},
      {"size-device", "size", "the sizing"}};
  for (const auto& place : kPlaces)
    applied.push_back(Edit{place[0], json::json_pointer(), place[1], json(), place[2]});
}

// The entry whose key the refusal names: the longest key path it holds (null: none).
const Edit* EditOf(const std::string& text, const std::vector<Edit>& edits) {
  const Edit* found = nullptr;
  std::size_t longest = 0;
  for (const Edit& edit : edits) {
    const std::size_t at = text.find(edit.keyPath);
    if (at == std::string::npos || edit.keyPath.size() <= longest)
      continue;
    const std::size_t after = at + edit.keyPath.size();
    const bool whole =
        after == text.size() ||
        !(std::isalnum(static_cast<unsigned char>(text[after])) || text[after] == '_');
    if (whole) {
      found = &edit;
      longest = edit.keyPath.size();
    }
  }
  return found;
}

std::string BaseName(const std::string& path) {
  const std::size_t slash = path.find_last_of("/\\");
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The storm as the chart's legend names it: "2-yr", or the storm's own name.
std::string ChartLabel(const PeriodCheck& period) {
  if (!period.Years)
    return period.Storm;
  char text[32];
  const auto end = ToChars(text, text + sizeof text, *period.Years).ptr;
  return std::string(text, end) + "-yr";
}

// Every `step`-th point of a curve, and its last, appended to `points` as time and flow; gives
// how many points it appended.
std::size_t PutThinned(const std::vector<std::pair<double, double>>& curve,
                       std::vector<double>& points) {
  const std::size_t step = curve.size() / kMostChartPoints + 1;
  std::size_t count = 0;
  const auto put = [&](const std::pair<double, double>& point) {
    points.push_back(point.first);
    points.push_back(point.second);
    ++count;
  };
  for (std::size_t i = 0; i < curve.size(); i += step)
    put(curve[i]);
  if (!curve.empty() && (curve.size() - 1) % step != 0)
    put(curve.back());
  return count;
}

// The storms' labels, point counts and allowable releases, and their curves' points into `points`.
json ChartOf(const StudyCheck& check, std::vector<double>& points) {
  points.clear();
  json chart = json::array();
  for (std::size_t i = 0; i < check.Periods.size() && i < check.ProposedRuns.size(); ++i) {
    const Run& run = check.ProposedRuns[i].Run;
    const RunResult& r = run.Result;
    const double tc = run.Inputs.TimeOfConcentration;
    std::vector<std::pair<double, double>> inflow;
    inflow.reserve(static_cast<std::size_t>(r.OrdinateCount) + 1);
    for (long n = 0; n <= r.OrdinateCount; ++n)
      inflow.emplace_back(tc * static_cast<double>(n), r.Hydrograph[n]);
    json period = {{"label", ChartLabel(check.Periods[i])}, {"inflow", PutThinned(inflow, points)}};
    if (run.Routing) {
      const double end = tc * static_cast<double>(r.OrdinateCount) * (1 + kChartPastInflow);
      std::vector<std::pair<double, double>> outflow;
      outflow.reserve(run.Routing->States.size());
      for (const PondState& state : run.Routing->States) {
        if (state.Minutes > end)
          break;
        outflow.emplace_back(state.Minutes, state.OutflowCfs);
      }
      period["outflow"] = PutThinned(outflow, points);
    }
    if (check.Periods[i].Limits.AllowableCfs)
      period["allowable"] = *check.Periods[i].Limits.AllowableCfs;
    chart.push_back(std::move(period));
  }
  return chart;
}

// The return periods a rainfall table offers, as JSON: kept for the table last read, since a
// keystroke in an editor seldom picks another table.
std::string PeriodsOf(const std::string& name, const std::string& text) {
  static std::string keptName, keptText, kept;
  if (!kept.empty() && name == keptName && text == keptText)
    return kept;
  PageFiles files;
  files.Put(name, text);
  json periods = json::array();
  for (const auto& storm : TableStorms(files, name, name))
    periods.push_back(storm->Ari);
  kept = periods.dump();
  keptName = name;
  keptText = text;
  return kept;
}

// The tables the study names by path, held in it when the page has their text; a CSV pond, which
// a study file cannot hold, is put where the study opens it. Sets `page.needs` for a table still
// missing.
void HoldPicked(const StudyRequest& request, json& study, PageFiles& files, StudyPage& page) {
  json* storm = study.contains("storm") ? &study["storm"] : nullptr;
  if (storm && storm->is_object() && storm->contains("rainfall") &&
      (*storm)["rainfall"].is_string()) {
    const std::string written = (*storm)["rainfall"].get<std::string>();
    if (request.rainfallText.empty()) {
      page.needs = "study-rainfall";
      page.needsName = written;
      return;
    }
    (*storm)["rainfall"] = {{"name", BaseName(written)}, {"text", request.rainfallText}};
  }
  if (study.contains("pond") && study["pond"].is_string()) {
    const std::string written = study["pond"].get<std::string>();
    if (request.pondText.empty()) {
      page.needs = "study-pond";
      page.needsName = written;
      return;
    }
    if (IsJsonPondName(written))
      study["pond"] = json::parse(InlinePondText(request.pondText, BaseName(written)));
    else
      files.Put(StudyRelativeOpen(request.name, written), request.pondText);
  }
}

// The last study run, kept for its document: made when asked for, not on every change.
struct KeptStudy {
  StudyFile file;
  StudyCheck check;
};
std::optional<KeptStudy>& Kept() {
  static std::optional<KeptStudy> kept;
  return kept;
}

// Runs the study with the editors' entries in it; `applied` gets the entries' places, so that a
// refusal can be put beside its field.
void Run(const StudyRequest& request, StudyPage& page, std::vector<Edit>& applied) {
  if (request.opened)
    ReadStudyFile(request.text, request.name);
  json study = json::parse(request.text, nullptr, false);
  if (study.is_discarded() || !study.is_object()) {
    ReadStudyFile(request.text, request.name);
    return;
  }
  PageFiles files;
  HoldPicked(request, study, files, page);
  if (!page.needs.empty())
    return;

  const json edits = json::parse(request.edits.empty() ? "{}" : request.edits, nullptr, false);
  applied = EditsOf(edits, study);
  for (const Edit& edit : applied) {
    if (edit.place.empty()) {
      continue;  // a place only refusals name
    } else if (edit.value.is_null()) {
      if (study.contains(edit.place.parent_pointer())) {
        json& parent = study[edit.place.parent_pointer()];
        if (parent.is_object())
          parent.erase(edit.place.back());
      }
    } else {
      try {
        study[edit.place] = edit.value;
      } catch (const json::exception&) {
        // A place the study file does not have (an outlet past the list's end): left out.
      }
    }
  }
  ApplySizing(edits, study, applied);

  std::string text;
  try {
    text = study.dump();
  } catch (const json::exception&) {
    throw Refused(messages::kStudyFileTitle,
                  ShownText(request.name) + ": a table picked for it is not text in UTF-8");
  }
  const StudyFile file = ReadStudyFile(text, request.name);

  if (file.Rainfall.Embedded() && !file.P6Inches) {
    page.periods = PeriodsOf(file.Rainfall.Name, file.Rainfall.Text);
  } else {
    page.periods = "[]";
  }
  const StudyCheck check = CheckStudy(file, request.name, files);
  page.criteria = CriteriaTable(check, request.name);
  page.verdict = check.Passes() ? "PASS" : "FAIL";
  page.sizing = check.Sizing ? check.Sizing->Line : "";
  page.studyText = StudyFileText(file);
  page.chart = ChartOf(check, ChartPoints()).dump();

  Kept() = KeptStudy{file, check};
}

}  // namespace

std::vector<double>& ChartPoints() {
  static std::vector<double> points;
  return points;
}

StudyPage RunStudyPage(const StudyRequest& request) {
  StudyPage page;
  Kept().reset();
  ChartPoints().clear();
  std::vector<Edit> applied;
  try {
    Run(request, page, applied);
  } catch (const std::exception& fault) {
    const FaultReport report = ReportFault(fault);
    page = StudyPage{};
    page.warningTitle = report.Title;
    page.warningText = report.Text;
    // The key in the page's words, beside its field.
    if (const Edit* edit = EditOf(report.Text, applied)) {
      page.warningEntry = edit->field;
      page.warningText.replace(report.Text.find(edit->keyPath), edit->keyPath.size(), edit->words);
    }
    Kept().reset();
    ChartPoints().clear();
  }
  return page;
}

bool StudyDocumentPdf(const std::string& today, double now, std::string& pdf) {
  pdf.clear();
  if (!Kept())
    return false;
  const StudyFile& file = Kept()->file;
  const StudyCheck& check = Kept()->check;
  const double seconds = std::isfinite(now) && now > 0 ? std::floor(now) : 0;
  FixedClock clock(today, static_cast<std::int64_t>(seconds));
  try {
    Study document =
        MakeStudy({file.ProjectName, file.Proposed().Name, file.Engineer, file.Notes, file.License},
                  clock.ShortDate(), check.ProposedEntries, StudyChoices{}, check.ProposedRuns);
    document.Criteria = CriteriaOf(check);
    pdf = StudyPdfBytes(document, clock);
    return true;
  } catch (const Fault&) {
    pdf.clear();
    return false;
  }
}

}  // namespace rh::web
