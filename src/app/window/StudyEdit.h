// A study file open in the study window: its basins' entries and criteria as typed, the run of
// the last entries that could run, and whether anything changed since the file was opened or
// saved.
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "app/run/StudyCheck.h"
#include "app/tables/StudyFile.h"
#include "app/window/PondEdit.h"
#include "core/Faults.h"
#include "platform/FileSystem.h"

namespace rh {

// The entries of a study basin, in the main screen's order.
enum class BasinEntry { Tc, Area, Coefficient, Peak };
inline constexpr std::size_t kBasinEntries = 4;

// The criteria typed in the window; a blank entry asks for no such criterion.
enum class CriterionEntry { Freeboard, DrawdownHours };
inline constexpr std::size_t kCriterionEntries = 2;

// The sizing's entries as typed: the outlet's name, the dimension's key ("diameter_in", or
// "scale" for the storage), and the range searched. All blank: no sizing.
enum class SizeEntry { Device, Dimension, Min, Max };
struct SizeEntries {
  std::string Device, Dimension, Min, Max;
  bool Blank() const;
};

// Why the entries cannot run: the basin and entry it is about (none: the study as a whole), and
// the message in the program's warning words.
struct StudyProblem {
  std::optional<BasinRole> Basin;
  std::optional<BasinEntry> Entry;
  std::optional<CriterionEntry> Criterion;
  std::string Title;
  std::string Text;
  // About the pond: the key path it names ("outlets[1].diameter_in"; "" for the pond as a whole).
  std::optional<std::string> PondKey;
  std::optional<SizeEntry> Size;
  bool SixHourRainfall = false;  // about the county chart's 6-hour rainfall entry
};

class StudyEdit {
 public:
  // The study file at `path`, read through `files` and run: refused or faulted as LoadStudyFile
  // and CheckStudy.
  StudyEdit(FileSystem& files, std::string path);

  const std::string& Path() const { return path_; }
  std::string FileName() const;  // the study file's name, without its folder
  // The window's title: the file's name, then "*" while there are unsaved changes.
  std::string Title() const;
  bool Changed() const { return changed_; }

  bool HasBasin(BasinRole role) const;
  const std::string& Entry(BasinRole role, BasinEntry entry) const;
  const std::string& Criterion(CriterionEntry entry) const;
  // A new text for an entry: the study has changed when the text differs.
  void SetEntry(BasinRole role, BasinEntry entry, std::string text);
  void SetCriterion(CriterionEntry entry, std::string text);

  // The storm: the county chart at the 6-hour rainfall typed, or the rainfall table (its file's
  // name, as the study names it; "" when the study has none). Opening a table reads it (refused or
  // faulted as a rainfall table is) and runs every one of its return periods; the chart's
  // rainfall starts at the table's 6-hour depth.
  bool OnChart() const { return chart_; }
  const std::string& SixHourRainfall() const { return p6_; }
  void SetSixHourRainfall(std::string text);
  std::string TableName() const;
  void UseChart(bool chart);
  void OpenTable(const std::string& path);

  // The return periods of the study's rainfall table, as its columns give them (none for the
  // county chart or a table of one storm), and those the study runs (as the file lists them;
  // empty: every one).
  const std::vector<double>& TablePeriods() const { return tablePeriods_; }
  const std::vector<double>& Periods() const { return periods_; }
  // The return periods picked, in the table's order: an empty pick is refused when it runs.
  void SetPeriods(std::vector<double> periods);

  // The pond designed from its shape and outlets, to edit (none: no pond, or a pond table), and
  // the file it came from ("" when the study holds it). Once edited, the study holds the pond
  // itself and the file stays as it is.
  PondEdit* Pond() { return pond_ ? &*pond_ : nullptr; }
  const std::string& PondFile() const { return pondFile_; }
  void PondEdited();
  // Whether the study routes through a pond (of any kind) as the entries stand.
  bool HasPond() const { return pond_.has_value() || (study_.Pond && !pondRemoved_); }
  // A new pond designed in the window, in place of the study's pond if it has one: a basin of
  // contours with a low orifice and a spillway, to be shaped to the site.
  void AddPond();
  // The study routes through no pond.
  void RemovePond();

  const SizeEntries& Sizing() const { return sizing_; }
  void SetSizing(SizeEntries entries);

  // Runs the entries. When they run they become the study and its check; otherwise the problem is
  // returned and the study stays that of the last entries that ran.
  std::optional<StudyProblem> Rerun();

  const StudyFile& Study() const { return study_; }
  const StudyCheck& Check() const { return check_; }

  // Saves the study over its file, or as the file at `path` (whose tables' paths are then written
  // relative to it). Refused while an entry is refused, or when `path` is a table the study reads;
  // FileFault when the file cannot be written (the file on disk stays as it was).
  void Save();
  void SaveAs(const std::string& path);
  // Writes `bytes`, a document of the study, to `path`: refused when `path` is the study file or
  // a table it reads.
  void SaveDocument(const std::string& path, const std::string& bytes);

 private:
  // Refuses `path` when it is a table the study reads or, with `studyToo`, the study file.
  void RefuseOverInputs(const std::string& path, bool studyToo) const;
  std::optional<StudyProblem> Candidate(StudyFile& next) const;
  std::optional<StudyProblem> DesignCandidate(StudyFile& next) const;
  // The pond's outlets as the list and a sizing name them.
  std::vector<std::string> OutletLabels() const;

  FileSystem& files_;
  std::string path_;
  StudyFile study_;
  StudyCheck check_;
  std::array<std::array<std::string, kBasinEntries>, 2> entries_;
  std::array<std::string, kCriterionEntries> criteria_;
  std::vector<double> tablePeriods_;
  std::vector<double> periods_;
  bool chart_ = false;
  std::string p6_;
  StudyTable rainfall_;  // the table, kept while the chart is chosen
  std::optional<PondEdit> pond_;
  std::string pondFile_;
  bool pondEdited_ = false;
  bool pondRemoved_ = false;
  SizeEntries sizing_;
  std::vector<std::string> outletLabels_;  // as they were at the last change of the pond
  bool periodsPicked_ = false;             // the pick was made here, so an empty one is refused
  bool changed_ = false;
};

}  // namespace rh
