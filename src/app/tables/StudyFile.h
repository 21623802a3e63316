// The study file (.rhstudy, JSON): a proposed basin and optionally the existing one, the storm and
// its return periods, the pond routed behind the proposed basin, the design criteria and the
// sizing asked for. The companion, the study window and the page open and save the same file.
#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "engine/Pond.h"
#include "platform/FileSystem.h"

namespace rh {

// The most of a study file that is read: 1 MiB.
constexpr std::size_t kMostStudyFileBytes = std::size_t{1} << 20;

// A table named by a path (relative to the study file's folder when not rooted), or held in the
// file itself: its name and its text.
struct StudyTable {
  std::string Path;  // as written in the file; "" for an embedded table
  std::string Name;  // an embedded table's name
  std::string Text;  // an embedded table's text
  // An embedded pond as its reader rated it, named after the file that holds it (none: it is
  // rated again from Text when the study runs).
  std::shared_ptr<const TablePond> Rated;
  bool Embedded() const { return Path.empty(); }
};

enum class BasinRole { Proposed, Existing };

struct StudyBasin {
  std::string Name;
  BasinRole Role = BasinRole::Proposed;
  double TcMinutes = 0;
  double AreaAcres = 0;
  double C = 0;
  std::optional<double> PeakCfs;  // none: C x I(Tc) x A for each storm
};

// The release allowed from the pond, for each return period.
struct Allowable {
  enum class Kind { Existing, Fraction, Everywhere, PerPeriod };
  Kind Form = Kind::Existing;
  double Value = 0;  // the fraction of the existing peak, or the cfs for every storm
  // The cfs for each return period: the key as written ("10") and its value.
  std::vector<std::pair<std::string, double>> PerPeriod;
};

// Nothing when `allow`, a release for each return period, gives one for each of `periods` and
// none other; otherwise what is wrong.
std::optional<std::string> AllowablePeriodProblem(const Allowable& allow,
                                                  const std::vector<double>& periods);

struct StudyCriteria {
  std::optional<Allowable>
      Release;  // none given: the existing peak when there is an existing basin
  std::optional<double> FreeboardFeet;
  std::optional<double> DrawdownMaxHours;
};

// What a sizing varies: one dimension of a named device of a designed pond, or the storage.
enum class SizeDimension { DiameterInches, WidthInches, LengthFeet, CrestFeet, InvertFeet, Scale };

// The key of a sized dimension in the study file ("diameter_in"; "scale" for the storage), and
// the dimension of a key (none for a key no sizing takes).
const char* SizeDimensionKey(SizeDimension dimension);
std::optional<SizeDimension> SizeDimensionOf(std::string_view key);

struct StudySizing {
  std::string Device;  // the device's name ("" for the storage scale)
  SizeDimension Dimension = SizeDimension::Scale;
  double Min = 0;
  double Max = 0;
};

struct StudyFile {
  std::string ProjectName, Engineer, License, Notes;
  // The storm: the county chart's 6-hour rainfall, or a rainfall table and the return periods
  // run from it (none listed: every return period of the table).
  std::optional<double> P6Inches;
  StudyTable Rainfall;
  std::vector<double> ReturnPeriods;
  std::vector<StudyBasin> Basins;  // one proposed, at most one existing
  // The pond: a file (a .json pond or a CSV table), or a pond object held inline, kept as its
  // JSON text; none: no pond.
  std::optional<StudyTable> Pond;
  long RouteStepMinutes = 1;
  StudyCriteria Criteria;
  std::optional<StudySizing> Size;
  bool Hec1 = false;

  const StudyBasin& Proposed() const;
  const StudyBasin* Existing() const;
  // How many storms the study runs: 1 for the county chart, or the return periods listed.
  bool SingleStorm() const { return P6Inches.has_value() || ReturnPeriods.size() == 1; }
};

// Whether `name` ends in the study file's extension, .rhstudy, in any case.
bool IsStudyFileName(std::string_view name);

// The HEC-1 deck a study file at `studyPath` makes for the storm of `years` ("" for the county
// chart or a table's one storm): beside the study, its name without .rhstudy, then "-10yr", then
// ".hc1".
std::string StudyDeckPath(const std::string& studyPath, const std::string& years);

// The study in `text`, the contents of the study file `name` (used in messages). Every key must be
// one the study file knows at its place, every value of its kind and in its range; refusals
// (Refused, the study file's warning) name the file and the key path ("basins[1].c", lists
// counted from 0; an inline pond's keys under "pond."). Paths are kept as written. An inline pond
// is read through the pond file's reader, so its refusals are as a pond file's.
StudyFile ReadStudyFile(std::string_view text, const std::string& name);

// The study file at `path`, through `files`: at most kMostStudyFileBytes (a larger file is
// refused). FileFault when it cannot be read.
StudyFile LoadStudyFile(FileSystem& files, const std::string& path);

// A path of the study (as written in it) as the program opens it: relative paths are taken from
// the folder of the study file at `studyPath`.
std::string StudyRelativeOpen(const std::string& studyPath, const std::string& written);

// `path` (as the program opens it) written relative to the folder of the study file at
// `studyPath`: unchanged when rooted and the two share no folder the path could climb from.
std::string StudyRelativeWrite(const std::string& studyPath, const std::string& path);

// The pond file `text` (called `name` in refusals) as a study file holds it inline: checked as a
// pond file is, its keys in their fixed order. Refused as ReadPondJson.
std::string InlinePondText(std::string_view text, const std::string& name);

// A table opened from `opened` (`written` as the user gave it) as the study file at `to` holds it:
// its path relative to `to`'s folder (a rooted path stays), or, with `embed`, its text held in the
// file (a CSV pond is always named by its path). FileFault when an embedded table cannot be read
// or is larger than a study file may be.
StudyTable StudyTableAt(const std::string& opened, const std::string& written,
                        const std::string& to, bool embed, bool isPond, FileSystem& files);

// `study`, opened from `from`, as the study file at `to` holds it: its tables' paths written
// relative to `to`, or, with `embed`, their texts held in it.
StudyFile MovedStudy(StudyFile study, const std::string& from, const std::string& to, bool embed,
                     FileSystem& files);

// The text of `study` as a study file: keys in a fixed order, two spaces of indent, numbers in
// their shortest exact form, ending in a newline.
std::string StudyFileText(const StudyFile& study);

}  // namespace rh
