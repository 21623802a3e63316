// The program's faults and refusals, one small hierarchy, and every message the program shows the
// user: the warnings that refuse input, the titles and texts faults are reported under, and the
// words of the faults themselves.
//
// A Fault is an error raised by a runtime operation (files, printer, arithmetic, array subscripts,
// drives and lists). A Refused is input the program declines to run, answered by the program's
// warning (a title that begins with "ERROR" and a text that says what to do). A UsageError is a
// command line that asks for something that cannot be done. All three travel up to the event
// handler or command that started the operation, which reports them once and keeps the program
// usable; the companion's exit status is 3, 2 and 64 for them.
#pragma once

#include <cmath>
#include <cstdint>
#include <exception>
#include <stdexcept>
#include <string>
#include <utility>

namespace rh {

// A number in a fault's words: the shortest text that reads back as `value`, with "." as the
// decimal point whatever the locale.
std::string FaultNumber(double value);

// The same number as std::floor, without a library call on processors whose baseline instruction
// set has no rounding instruction: below 2^52 a double may have a fraction, which the conversion to
// an integer drops toward zero; from 2^52 up every double is whole already (and an infinity or a
// NaN passes through).
inline double FloorOf(double value) {
  constexpr double kWhole = 4503599627370496.0;  // 2^52
  if (!(std::fabs(value) < kWhole))
    return value;
  const double truncated = static_cast<double>(static_cast<std::int64_t>(value));
  return truncated > value ? truncated - 1 : truncated;
}

// What half-up rounding does with a value that holds no fraction at its scale (|value x scale| of
// 2^52 or more, an infinity, a NaN).
enum class WholeAtScale {
  // Comes back as it is: the figures of the listing and the tables.
  Kept,
  // floor(value x scale + 0.5) / scale all the same, as the hydrograph's steps have always
  // computed it: the sum's own rounding may move such a value by one unit at the scale.
  Computed,
};

// `value` rounded half up to 1 / `scale`, `scale` a positive power of ten (1 rounds to whole
// numbers, 10 to tenths): floor(value x scale + 0.5) / scale, so a tie goes toward positive
// infinity for negative values too (-0.25 to tenths is -0.2).
inline double RoundedHalfUp(double value, double scale, WholeAtScale whole = WholeAtScale::Kept) {
  if (whole == WholeAtScale::Kept) {
    constexpr double kWhole = 4503599627370496.0;  // 2^52
    if (!(std::fabs(value * scale) < kWhole))
      return value;
  }
  return FloorOf(value * scale + 0.5) / scale;
}

class Fault : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A file that cannot be opened, read, written or replaced.
class FileFault : public Fault {
 public:
  explicit FileFault(const std::string& message, std::string path = {})
      : Fault(message), path_(std::move(path)) {}
  // The file the fault is about, when it is known.
  const std::string& Path() const { return path_; }

 private:
  std::string path_;
};

// No printer, or the printer failed while a report was being sent.
class PrinterFault : public Fault {
 public:
  using Fault::Fault;
};

// Invalid operation, division by zero or overflow in a floating-point or 16-bit integer step.
class ArithmeticFault : public Fault {
 public:
  using Fault::Fault;
};

// An ordinate index outside 0..MaxOrdinates.
class SubscriptFault : public Fault {
 public:
  using Fault::Fault;
};

// A drive or directory that cannot be read by the file selection lists.
class DriveFault : public Fault {
 public:
  using Fault::Fault;
};

// The entry of a run a refusal is about, for front ends that show a warning beside its entry.
enum class RunEntry {
  None,  // the run as a whole
  TimeOfConcentration,
  SixHourRainfall,
  BasinArea,
  RunoffCoefficient,
  PeakDischarge,
  DeckPath,
  RainfallTable,
  ReturnPeriod,
  PondTable,
};

// Input the program refuses to run, with the title and text of its warning and the entry it is
// about. Nothing has been written when it is raised.
class Refused : public std::runtime_error {
 public:
  Refused(std::string title, const std::string& text, RunEntry entry = RunEntry::None,
          std::string key = {})
      : std::runtime_error(text), title_(std::move(title)), entry_(entry), key_(std::move(key)) {}
  const std::string& Title() const { return title_; }
  std::string Text() const { return what(); }
  RunEntry Entry() const { return entry_; }
  // The key path of a JSON file's value the refusal is about ("outlets[2].diameter_in"), or "".
  const std::string& Key() const { return key_; }

 private:
  std::string title_;
  RunEntry entry_;
  std::string key_;
};

// A command line that asks for what cannot be done (an option's value that does not fit, two
// outputs on one file). The message says what to change; the entry is the one it is about, when
// there is one.
class UsageError : public std::runtime_error {
 public:
  explicit UsageError(const std::string& text, RunEntry entry = RunEntry::None)
      : std::runtime_error(text), entry_(entry) {}
  RunEntry Entry() const { return entry_; }

 private:
  RunEntry entry_;
};

// The kinds of fault a boundary (a command, a screen, the page) tells apart.
enum class FaultKind {
  Refused,      // Refused: input the program declines to run
  Usage,        // UsageError: a choice that cannot be done
  File,         // FileFault
  Printer,      // PrinterFault
  Fault,        // any other Fault: arithmetic, subscript, drive
  OutOfMemory,  // std::bad_alloc
  Other,        // any other exception: reported as a fault
};

FaultKind KindOf(const std::exception& fault);

// The companion's exit statuses for a refusal, a fault and a usage error.
inline constexpr int kExitRefused = 2;
inline constexpr int kExitFault = 3;
inline constexpr int kExitUsage = 64;
// A study that ran but failed one of its design criteria.
inline constexpr int kExitCriteriaFailed = 5;

// The titles a boundary reports usage errors and faults under (a refusal has its own).
struct FaultTitles {
  std::string Usage;         // a choice that cannot be done
  std::string ReturnPeriod;  // a return period the rainfall table cannot give
  std::string Fault;         // a fault and running out of memory
};

// How a boundary reports a fault: its warning's title and text, the entry it is about and the
// companion's exit status.
struct FaultReport {
  FaultKind Kind = FaultKind::Fault;
  std::string Title;
  std::string Text;
  RunEntry Entry = RunEntry::None;
  int ExitStatus = kExitFault;

  bool IsRefusal() const { return Kind == FaultKind::Refused || Kind == FaultKind::Usage; }
  // The report on one line: "TITLE: TEXT" for a refusal, the text alone for the others.
  std::string Line() const;
};

// The report of `fault`. A refusal keeps its own title; a fault's text is its own words, and for
// a division by zero (a zero area or coefficient) the entries to check; running out of memory
// says so.
FaultReport ReportFault(const std::exception& fault, const FaultTitles& titles);
FaultReport ReportFault(const std::exception& fault);

}  // namespace rh

namespace rh::messages {

// Refused run requests.
inline constexpr const char* kIncompleteTitle = "ERROR Incomplete Input Data";
inline constexpr const char* kIncompleteText = "Entries are required in all data fields.";
inline constexpr const char* kTcTitle = "ERROR In Time of Concentration";
inline constexpr const char* kTcText = "Time of Concentration value must be 5 or greater.";
inline constexpr const char* kTcLongText =
    "Time of Concentration must be 360 minutes or less: the design storm lasts 6 hours.";

// Entries refused for what they hold. The title is kEntryTitle followed by the entry's name; the
// text is the entry's name followed by what it must be.
inline constexpr const char* kEntryTitle = "ERROR In ";
inline constexpr const char* kTcEntry = "Time of Concentration";
inline constexpr const char* kRainEntry = "6 Hour Rainfall";
inline constexpr const char* kAreaEntry = "Basin Area";
inline constexpr const char* kCoefEntry = "Runoff Coefficient";
inline constexpr const char* kPeakEntry = "Peak Discharge";
inline constexpr const char* kNoNumberText =
    " value must be a number, such as 2.5. Type it with digits and a point for decimals.";
inline constexpr const char* kCommaText =
    " value must use a point for decimals, not a comma: type 2.5, not 2,5.";
inline constexpr const char* kNegativeText = " value must be 0 or greater.";
inline constexpr const char* kAboveOneText = " value must be 1 or less.";
// Text after an entry's number that is not its unit: "Basin Area is in acres: '40.5ha' has the
// unit 'ha'." (the coefficient: "Runoff Coefficient has no unit: ...").
inline constexpr const char* kUnitIsText = " is in ";
inline constexpr const char* kNoUnitText = " has no unit";
inline constexpr const char* kUnitGivenText = "' has the unit '";
// A peak larger than the storm supports: "Peak Discharge value must be X cfs or less ..." with the
// largest peak that keeps the hydrograph at zero or above, then the chart peak.
inline constexpr const char* kPeakTooLargeText =
    " cfs or less for this storm: a larger peak makes the block just before the peak negative. "
    "The chart peak C x I(Tc) x A is ";
// A peak smaller than the block it pairs with: "Peak Discharge value must be X cfs or more ..."
// with the smallest peak that stays the hydrograph's peak, then the chart peak.
inline constexpr const char* kPeakTooSmallText =
    " cfs or more for this storm: a smaller peak is below the block just before it, so it is not "
    "the hydrograph's peak. The chart peak C x I(Tc) x A is ";

// Two outputs of a run on one file, or an output on a file the run reads. Each follows the
// outputs' names and the file.
inline constexpr const char* kSameFileText = ": give each output a file of its own";
inline constexpr const char* kReplacesInputText =
    ", which the run reads: choose another name for the output";
// A routing step that does not divide the time of concentration.
inline constexpr const char* kRouteStepText =
    "the routing step must be a whole number of minutes that divides the time of concentration";

// File selection dialog.
inline constexpr const char* kNoFileTitle = "ERROR - No filename selected";
inline constexpr const char* kNoFileText = "A filename must be selected, or hit cancel.";

// A rainfall table that cannot serve a run. Followed by what is wrong, naming the file.
inline constexpr const char* kRainfallTableTitle = "ERROR In Rainfall Table";
// Follows "NAME: more than 1 MiB, ".
inline constexpr const char* kRainfallTooLargeText =
    "far more than any rainfall table holds; check that the file is the table meant.";
// A return period the rainfall table does not hold, or none chosen for a table with several.
// Followed by what is wrong, with the return periods the table holds.
inline constexpr const char* kReturnPeriodTitle = "ERROR In Return Period";
// A choice of the browser page's run that cannot be done (an output named as a table the run
// reads). Followed by what to change.
inline constexpr const char* kRunChoicesTitle = "ERROR In Run Choices";
// A file written without a name (the browser page's deck name box left empty).
inline constexpr const char* kNoFileNameText = "No file name was given.";

// A pond table that cannot serve a run. The reader's texts follow "FILE, line N: " and what they
// are about: the file, the header line, the row, or the field and its text ("the storage, "x", ").
inline constexpr const char* kPondTableTitle = "ERROR In Pond Table";
inline constexpr const char* kPondEmptyText =
    "the file is empty; a pond table starts with the header stage_ft,storage_acft,outflow_cfs.";
inline constexpr const char* kPondNotTextText = "a NUL byte: the file is not text.";
// "FILE: the file is larger than N bytes (1 MiB), which is more than ..."
inline constexpr const char* kPondLargerText = "the file is larger than ";
inline constexpr const char* kPondTooLargeText =
    " bytes (1 MiB), which is more than a pond table can hold; check that this is the pond's "
    "stage-storage-outflow table.";
inline constexpr const char* kPondHeaderText =
    "the header must be stage_ft,storage_acft,outflow_cfs (feet, acre-feet, cfs), not ";
inline constexpr const char* kPondRowText =
    "is not a row of three numbers (stage ft, storage ac-ft, outflow cfs).";
inline constexpr const char* kPondNotNumberText = "is not a number.";
inline constexpr const char* kPondBeyondRangeText =
    "is not a finite number: it lies beyond the range of numbers the program holds.";
// "the storage "1e308" and the outflow "1e308" are too large ..."
inline constexpr const char* kPondIndicationText =
    " are too large to route: the storage indication 2 S / dt + O at a 1-minute step lies beyond "
    "the range of numbers the program holds.";
inline constexpr const char* kPondNegativeText =
    "is below 0; stage, storage and outflow are all 0 or more.";
// "the stage 3 ft is not above the 3 ft on line 4; stages must rise down the table."
inline constexpr const char* kPondNotAboveText = " is not above the ";
inline constexpr const char* kPondBelowText = " is below the ";
inline constexpr const char* kPondStageOrderText = "stages must rise down the table.";
inline constexpr const char* kPondStorageOrderText = "storage must rise with the stage.";
inline constexpr const char* kPondOutflowOrderText = "outflow must not fall as the stage rises.";
// Followed by ", not storage X ac-ft and outflow Y cfs."
inline constexpr const char* kPondFirstRowText =
    "the first row must be the empty pond at its lowest outlet, storage 0 and outflow 0 (storage "
    "is measured from it)";
// "the table under this header has 1 row; a pond table needs at least two stages."
inline constexpr const char* kPondFewRowsText = "; a pond table needs at least two stages.";
// Pond tables the reader would have refused, met by the engine.
inline constexpr const char* kPondTooFewRowsFault = "A pond table needs at least two rows.";
inline constexpr const char* kPondFirstRowFault =
    "A pond table's first row must have storage 0 and outflow 0.";
inline constexpr const char* kPondRowFault =
    " is not finite, not >= 0 or out of order with the row before it.";
// A pond designed from its shape and outlets (a .json pond file). The reader's texts follow
// "FILE: " and begin with the key path ("outlets[2].diameter_in", lists counted from 0).
inline constexpr const char* kPondJsonSyntaxText = "this is not a JSON pond file: ";
inline constexpr const char* kPondJsonDeepText =
    "the file nests lists and objects deeper than a pond file does.";
// A study file: its key paths as a pond file's ("basins[1].c"), its pond's under "pond.".
inline constexpr const char* kStudyFileTitle = "ERROR In Study File";
inline constexpr const char* kStudyJsonSyntaxText = "this is not a study file: ";
inline constexpr const char* kStudyJsonDeepText =
    "the file nests lists and objects deeper than a study file does.";
inline constexpr const char* kStudyJsonUnknownText = " is not a key of a study file at this place.";
inline constexpr const char* kStudyTooLargeText =
    " bytes (1 MiB), which is more than a study file holds; check that this is the study.";
// The study window's entries.
inline constexpr const char* kStudyPeakChartText =
    "Peak Discharge must be chart when the study runs several storms: each storm then takes its "
    "own chart peak C x I(Tc) x A. Type chart, or keep one return period.";
inline constexpr const char* kStudyWindowOnlyText =
    "a study file holds its own storm, pond and peaks: give --study-file or --open-study alone";
inline constexpr const char* kStudyPeriodsTitle = "ERROR In Return Periods";
inline constexpr const char* kStudyNoPeriodText =
    "No return period is picked: tick at least one of the rainfall table's return periods.";
inline constexpr const char* kStudyCriterionTitle = "ERROR In Criteria";
inline constexpr const char* kStudyFreeboardText =
    "Freeboard must be a number of feet, 0 or more; leave it blank to ask for none.";
inline constexpr const char* kStudyDrawdownText =
    "Longest drawdown must be a number of hours above 0; leave it blank to ask for none.";
inline constexpr const char* kStudySizeTitle = "ERROR In Sizing";
inline constexpr const char* kStudySizeDimensionText =
    "Pick what to size: a dimension of one of the pond's named outlets, or the storage's scale; "
    "leave the sizing blank to ask for none.";
inline constexpr const char* kStudySizeRangeText =
    "Type the range to search as two numbers, From and To, in the dimension's units.";
inline constexpr const char* kStudyStormPrefix = "In the ";
inline constexpr const char* kStudySaveRefusedText =
    "The study was not saved: its entries are refused. Mend the entry the message names, then "
    "save again.";
inline constexpr const char* kStudySaveOverTableText =
    " is a file the study reads: save under another name.";
inline constexpr const char* kOpenStudyDialogTitle = "Open Study";
inline constexpr const char* kSaveStudyDialogTitle = "Save Study As";
inline constexpr const char* kStudyFileFilter = "Study files (*.rhstudy)";
inline constexpr const char* kStudyOpenFaultTitle = "ERROR Opening Study File";
inline constexpr const char* kStudySaveFaultTitle = "ERROR Saving Study File";
inline constexpr const char* kStudyUnsavedTitle = "Unsaved Study";
inline constexpr const char* kStudyUnsavedText =
    "The study has changes that are not saved. Save them before going on?";
inline constexpr const char* kStudyFormatText =
    "format must be \"rational-hydrograph-study\": this is not a study file.";
inline constexpr const char* kStudyStormText =
    "storm must hold exactly one of p6_in (the county chart) and rainfall (a table).";
inline constexpr const char* kStudyPeriodsText =
    " lists no return period, or one twice; list each once, such as [2, 10, 100].";
inline constexpr const char* kStudyProposedText =
    "basins must hold exactly one basin whose role is proposed.";
inline constexpr const char* kStudyExistingTwiceText =
    " is a second existing basin; a study compares one existing basin with the proposed one.";
inline constexpr const char* kStudyPeakText =
    " may be a number only with a single storm (the county chart, or one return period); give "
    "\"chart\" for C x I(Tc) x A from each storm.";
inline constexpr const char* kStudyNoExistingText =
    " compares with the existing peak, but the study has no existing basin: add one, or give the "
    "allowable release in cfs.";
inline constexpr const char* kStudyPerPeriodText =
    " needs one release for each return period run, and none other: ";
inline constexpr const char* kStudyChartPeriodText =
    " must be a single number for the county chart, which has no return period.";
inline constexpr const char* kStudyRangeOrderText = " must not be below size.min.";
inline constexpr const char* kStudyNoPondCriteriaText =
    " needs a pond: freeboard and drawdown are the pond's.";
inline constexpr const char* kStudySizeFormText =
    "size must hold either device and dimension, or storage.";
inline constexpr const char* kPondJsonTwiceText = "an object holds the same key twice: ";
inline constexpr const char* kPondJsonFileText = "the file";
inline constexpr const char* kPondJsonUnknownText = " is not a key of a pond file at this place.";
inline constexpr const char* kPondJsonMissingText = " is missing; it has no default.";
// "outlets[0].cd must be a number."
inline constexpr const char* kPondJsonKindText = " must be ";
inline constexpr const char* kPondJsonObjectKind = "an object { ... }";
inline constexpr const char* kPondJsonListKind = "a list [ ... ]";
inline constexpr const char* kPondJsonNumberKind = "a number";
inline constexpr const char* kPondJsonWholeKind = "a whole number";
inline constexpr const char* kPondJsonTextKind = "text in double quotes";
inline constexpr const char* kPondJsonFlagKind = "true or false";
inline constexpr const char* kPondJsonContourKind = "a pair of numbers [stage_ft, area_acres]";
inline constexpr const char* kPondJsonTableKind = "a pair of numbers [stage_ft, storage_acft]";
// "outlets[0].cd is 1.5; it must be above 0 and at most 1."
inline constexpr const char* kPondJsonRangeText = "; it must be ";
// "outlets[0].type must be one of orifice, weir, riser, spillway, not "pipe"."
inline constexpr const char* kPondJsonChoiceText = " must be one of ";
inline constexpr const char* kPondJsonStorageText =
    "storage must hold exactly one of contours, box and table.";
inline constexpr const char* kPondJsonRiseText = " must have a stage above the one before it.";
inline constexpr const char* kPondJsonFallText =
    " has less area than the contour below it; areas must not fall as the stage rises.";
inline constexpr const char* kPondJsonFirstStorageText =
    " must be 0: storage is measured from the table's first stage.";
inline constexpr const char* kPondJsonMoreStorageText =
    " is not above the storage before it; storage must rise with the stage.";
inline constexpr const char* kPondJsonFewText = " needs at least two rows.";
inline constexpr const char* kPondJsonHeightText =
    "the storage has no height: its highest stage must lie above its bottom.";
inline constexpr const char* kPondJsonNameText =
    " may hold only letters, digits, _ and - (at most 40), since it names a column of the rating.";
inline constexpr const char* kPondJsonSameColumnText =
    " would name the same column of the rating as another: ";
// The rating made from a pond's shape and outlets, when it could not be routed.
inline constexpr const char* kPondRatingRowsText =
    "the rating would need more than 1000000 rows; take a longer rating_step_ft.";
inline constexpr const char* kPondRatingBottomText =
    "an outlet already flows at the pond's bottom; every invert and crest must lie at or above "
    "the bottom, where storage is 0.";
inline constexpr const char* kPondRatingStorageText = "the pond holds no storage between ";
inline constexpr const char* kPondRatingOutflowText = "the outflow falls between ";
inline constexpr const char* kPondRatingWeirText =
    "; a weir's end contractions take more than its length at that head. Lengthen the weir or "
    "lower the top.";
// A routed table asked of a run without a pond: follows "Cannot write FILE: ".
inline constexpr const char* kNoPondText = "the run has no pond to route.";
// A SWMM input file the run cannot be written as: follows "Cannot write FILE: ".
inline constexpr const char* kSwmmCloseStagesText =
    "two stages of the pond's table are too close for SWMM's curves to tell apart.";
inline constexpr const char* kSwmmTooLongText =
    "the routing lasts beyond the year 9999, where SWMM's calendar ends.";

// A routing step the pond or the run cannot take.
inline constexpr const char* kRouteStepTitle = "ERROR In Routing Step";
// "The routing step, N min, is too long ... shorter step." and the longest step, or none.
inline constexpr const char* kRouteStepLongText =
    " min, is too long for the pond's outlet: at some stage 2 S / dt - O is below 0, and the "
    "routed outflow would swing. Route with a shorter step.";
inline constexpr const char* kRouteStepLongestText = " The longest step that is not: ";
inline constexpr const char* kRouteStepNoneText =
    " No step of whole minutes dividing Tc is short enough for this pond's outlet.";
// "Routing this run in steps of N min would take more than 1000000 steps. Route with ..."
inline constexpr const char* kRouteStepCountText =
    " steps. Route with a longer step (a whole number of minutes that divides Tc).";
// A usage error, followed by " (Tc min), not N min".
inline constexpr const char* kRouteStepUsageText =
    "the routing step must be a whole number of minutes, at least 1, that divides the time of "
    "concentration";

// A hydrograph a pond cannot take (a negative ordinate, which the run request refuses first):
// "The hydrograph's ordinate at T min is Q cfs. A pond cannot ..."
inline constexpr const char* kPondInflowTitle = "ERROR In Pond Routing";
inline constexpr const char* kPondInflowText =
    " cfs. A pond cannot be routed with negative inflow. Check the peak discharge and the "
    "rainfall.";

// Batch runs.
// Follows "Cannot read TABLE: the record that starts on line N is longer than 1 MiB, ".
inline constexpr const char* kCsvRecordTooLongText =
    "far longer than any row of basins; check the table (a quote that is never closed takes in "
    "the rest of the file).";
inline constexpr const char* kBatchNameEmpty = "the basin name is empty";
// Each follows "the basin name " and the name in quotes.
inline constexpr const char* kBatchNameRepeated = "is used by an earlier row";
inline constexpr const char* kBatchNameUnsafe =
    "is not a safe file name (letters, digits, '.', '_' and '-' only, no leading '.', at most 100 "
    "characters)";
// A row's file on a table the batch reads: follows "the listing NAME would replace the TABLE
// PATH".
inline constexpr const char* kBatchReplacesTableText =
    ", which the batch reads: rename the basin or keep the table outside --out";
// A row's file whose name in the output folder is a link: follows the quoted name.
inline constexpr const char* kBatchLinkText =
    " in the output folder is a link, and a batch writes only inside its folder: remove the link";

// Faults reported at a screen or command boundary.
inline constexpr const char* kRunFaultTitle = "ERROR In Hydrograph Computation";
inline constexpr const char* kRunFaultText =
    "The hydrograph could not be computed from these entries. Check the basin area, runoff "
    "coefficient and peak discharge.";
// Arithmetic faults: a floating-point step that gives no number.
inline constexpr const char* kInvalidOperationText = "Invalid floating-point operation.";
inline constexpr const char* kOverflowText = "Overflow.";
inline constexpr const char* kDivisionByZeroText = "Division by zero.";

// The hydrograph's layout and its tables: look-ups beyond their ends.
inline constexpr const char* kLayoutText = "The hydrograph's ordinates do not fit 0..";
inline constexpr const char* kSubscriptText = "Subscript out of range: ordinate ";
inline constexpr const char* kTableTooShortText =
    "A depth-duration table needs at least two durations.";
inline constexpr const char* kTablePointText = " is not positive and above the one before it.";
inline constexpr const char* kDurationOutsideText = " min is outside the rainfall table (";
// An entry beyond the double range: "Overflow: the entry "X" is beyond ...".
inline constexpr const char* kEntryOverflowText =
    " is beyond the range of numbers the program can hold.";

// The run step: outputs that need the devices, and picture files of the wrong kind.
inline constexpr const char* kNoDevicesText = "Reports and pictures cannot be made here.";
inline constexpr const char* kPlotNameText = "the plot file must end in .svg or .png.";

// The companion's options that cannot go together, or whose value does not fit.
inline constexpr const char* kBatchOnlyTableText =
    "--batch takes the basins from the table (rainfall and pond tables in its rainfall, ari and "
    "pond columns): drop --tc, --rain, --area, --coef, --peak, --csv, --check, --plot, --report, "
    "--print, --rainfall, --ari, --pond, --pond-csv, --pond-rating and --study";
inline constexpr const char* kBatchNeedsOutText = "--batch needs --out DIR";
inline constexpr const char* kBatchDeckPathText =
    "with --batch, --hec1 takes no path (the decks go to DIR/NAME.hc1)";
inline constexpr const char* kOutWithoutBatchText = "--out and --summary-only go with --batch";
inline constexpr const char* kHec1NeedsPathText =
    "option --hec1 has no value: give --hec1 PATH (a deck path) unless --batch is given";
inline constexpr const char* kCsvAndCheckText = "--csv and --check cannot be combined";
inline constexpr const char* kPlotOptionNameText = "the --plot file must end in .svg or .png";
inline constexpr const char* kReportNameText =
    "the --report file must end in .pdf (the report is written as a PDF)";
inline constexpr const char* kStudyNameText = "the --study file must end in .pdf";
inline constexpr const char* kStudyDetailsText =
    "--project, --basin, --engineer and --notes go with --study or --save-study";
inline constexpr const char* kDeckNameText =
    "the HEC-1 deck's file name holds a control character (a line break, a tab...); HEC-1 reads "
    "the deck line by line: choose a plain name";
inline constexpr const char* kRainAndTableText =
    "--rain and --rainfall cannot be combined: the rainfall table gives the 6-hour rainfall";
inline constexpr const char* kAriWithoutTableText = "--ari goes with --rainfall";
// "--ari names the return period 100 twice; give each return period once"
inline constexpr const char* kAriTwiceText = "--ari names the return period ";
inline constexpr const char* kAriTwiceAdvice = " twice; give each return period once";
inline constexpr const char* kAriValueText =
    "--ari takes return periods in years, such as 100 or 2,10,25,100";
inline constexpr const char* kOneReturnPeriodText =
    "several return periods give one listing after another, one --plot chart and one --study "
    "document; --csv, --hec1, --report, --print, --pond-csv and --swmm take one return period";
inline constexpr const char* kStudyFileOnlyText =
    "--study-file gives the basins, storm and pond: with it only --study, --summary, --pond-csv, "
    "--pond-rating, --save-study and --embed-tables";
inline constexpr const char* kSummaryOptionText = "--summary goes with --study-file";
inline constexpr const char* kEmbedOptionText = "--embed-tables goes with --save-study";
inline constexpr const char* kStudyOnePeriodText =
    "--pond-csv takes one return period; the study runs several";
inline constexpr const char* kStudyPondOutputText =
    "--pond-csv and --pond-rating need the study's pond; the study has none";
inline constexpr const char* kSavePeakText =
    "a peak discharge as a number goes with one storm; give --peak chart to save several return "
    "periods as a study";
inline constexpr const char* kPondOptionsText = "--route-step and --pond-csv go with --pond";
inline constexpr const char* kPondRatingOptionText = "--pond-rating goes with --pond";
inline constexpr const char* kSwmmOptionText = "--swmm goes with --pond";
// The companion's arguments. Each follows "option NAME" (the unknown one: "unknown option NAME").
inline constexpr const char* kOptionWord = "option ";
inline constexpr const char* kUnknownOptionText = "unknown option ";
inline constexpr const char* kNearestOptionText = "; did you mean ";
inline constexpr const char* kGivenTwiceText = " is given twice";
inline constexpr const char* kTakesNoValueText = " takes no value";
inline constexpr const char* kHasNoValueText = " has no value: give ";
inline constexpr const char* kNotAnOptionText = "; options start with --";
inline constexpr const char* kUnexpectedArgumentText = "unexpected argument ";
inline constexpr const char* kMissingOptionText = "missing option ";
// The windowed program's start-up: after its usage errors, and without a display.
inline constexpr const char* kTryProgramHelpText = "Try 'rational-hydrograph --help'.\n";
inline constexpr const char* kNoDisplayText =
    "rational-hydrograph: no display (neither DISPLAY nor WAYLAND_DISPLAY is set), so the windows "
    "cannot open.\nOn a virtual display: xvfb-run -a rational-hydrograph\n";
inline constexpr const char* kRouteStepValueText =
    "--route-step takes a whole number of minutes, such as 1 or 5";
inline constexpr const char* kSummaryOnTableText =
    " would replace the basin table, which the batch reads: give --out another folder";
// The summary (or the removal of an earlier one) on another table the batch reads: follows "the
// summary PATH would replace the TABLE PATH".
inline constexpr const char* kSummaryOnReadTableText =
    ", which the batch reads: give --out another folder";

// Files: why an operation on a file failed, in words a user can act on. A file fault reads
// "Cannot VERB FILE: REASON."
inline constexpr const char* kCannotText = "Cannot ";
inline constexpr const char* kNoPermissionReason = "no permission";
inline constexpr const char* kReadOnlyDiskReason = "the disk is read-only";
inline constexpr const char* kDiskFullReason = "the disk is full; free some space and try again";
inline constexpr const char* kQuotaReason =
    "the disk quota is used up; free some space and try again";
inline constexpr const char* kDiskErrorReason = "the disk reported an input/output error";
inline constexpr const char* kNameTooLongReason = "the name is too long";
inline constexpr const char* kNotAFolderReason = "a part of the path is not a folder";
inline constexpr const char* kLinkLoopReason = "too many symbolic links";
inline constexpr const char* kTooManyOpenReason = "too many files are open";
inline constexpr const char* kNoSuchFileReason = "the file does not exist";
inline constexpr const char* kNoReadPermissionReason = "no permission to read it";
inline constexpr const char* kNoSuchFolderReason = "the folder does not exist";
inline constexpr const char* kNoFolderPermissionReason = "no permission to write in its folder";
inline constexpr const char* kFolderMissingReason = "it does not exist";
inline constexpr const char* kIsFolderReason = "it is a folder, not a file";
inline constexpr const char* kIsSpecialReason =
    "it is a device or other special file, not a regular file";
inline constexpr const char* kNoChangePermissionReason = "no permission to change the file";
inline constexpr const char* kProgramEndingReason = "the program is ending";
inline constexpr const char* kTooManyWritesReason = "too many files are being written at once";
inline constexpr const char* kNoTemporaryNameReason = "no free temporary name beside it";
inline constexpr const char* kNamedTwiceReason = "the same file is named twice";
inline constexpr const char* kNameTakenReason = "a file of that name is there";
inline constexpr const char* kNulInNameReason =
    "a file name cannot hold a NUL character (shown as ?)";
inline constexpr const char* kFileBusyReason =
    "another program has the file open; close it and try again";
inline constexpr const char* kWindowsNameReason =
    "the name holds characters Windows does not allow (< > : \" | ? *)";
inline constexpr const char* kBatchLockedText = "Another batch is writing into ";
inline constexpr const char* kBatchLockedAdvice =
    "; wait for it to finish or choose another folder.";
inline constexpr const char* kSettingsShortText = " has fewer than three lines.";
inline constexpr const char* kSettingsFileText = "The settings file ";
inline constexpr const char* kSettingsNulText = " with a NUL character (shown as ?) in it.";
inline constexpr const char* kPictureTooLargeText = "Cannot draw the picture: it is too large.";
inline constexpr const char* kPngEncodeText = "Cannot encode the hydrograph plot as PNG: ";
inline constexpr const char* kNoDisplayPrinterText =
    "The printer cannot be used before the program's display is set up.";
inline constexpr const char* kPageTooSmallText =
    "The printer's page or font cannot hold the report.";
inline constexpr const char* kPdfNotStartedText =
    "The report could not be rendered: the PDF document did not start.";
inline constexpr const char* kPageNotStartedText =
    "The report could not be rendered: a new page did not start.";
inline constexpr const char* kPdfNotFinishedText =
    "The report could not be rendered: the PDF document did not finish.";
inline constexpr const char* kPdfIncompleteText =
    "The report could not be rendered: the PDF document is incomplete.";
inline constexpr const char* kSpoolerRefusedText =
    "The print spooler did not take the report for printer ";

// Memory ran out (a fault, whatever the input).
inline constexpr const char* kOutOfMemoryText = "Out of memory.";
// After the words of a division by zero in a companion run.
inline constexpr const char* kDivisionHintText =
    " The basin area and the runoff coefficient must not be 0: check both.";
inline constexpr const char* kDeckFaultTitle = "ERROR Writing HEC-1 Input File";
// The HEC-1 feature is on and the path box is empty.
inline constexpr const char* kDeckPathEmptyText =
    "No HEC-1 input file was named. Type the deck's path in the box under \"Create HEC1 Input "
    "File\" on the main screen, or pick a file with \"Browse\", then press \"Generate\" again.";
inline constexpr const char* kPrintFaultTitle = "ERROR Printing Report";

inline constexpr const char* kLicenseFaultTitle = "ERROR Reading Software License";
// Followed by the fault's own words, which name the file.
inline constexpr const char* kLicenseFaultText = "The software license text could not be read.";
inline constexpr const char* kStartupFaultTitle = "ERROR Starting Rational Method Hydrograph";
inline constexpr const char* kDriveFaultTitle = "ERROR Reading Drive or Folder";
inline constexpr const char* kSettingsFaultTitle = "ERROR Writing Settings File";
// Followed by the fault's own words, which name the file or folder.
inline constexpr const char* kSettingsFaultText =
    "The run was stopped because the HEC-1 deck path could not be kept for the next start. "
    "Check that you may write to the settings folder, then press Generate again.";

// Start-up: a file of the program folder is missing or unreadable. Followed by the fault's own
// words, which name the file and the folder it was looked for in.
inline constexpr const char* kStartupFaultText =
    "The program cannot start because a file of its program folder is missing or unreadable.";

// Printing: no printer, or the printer failed. Followed by the fault's own words and the offer.
inline constexpr const char* kPrintFaultText = "The report could not be printed.";
// Why there is no default printer, when it is not that none is installed. The first follows
// "The printer \"NAME\" ", the second "The print service at ADDRESS ".
inline constexpr const char* kPrinterMissingText =
    "is named as the default printer (by LPDEST, PRINTER or lpoptions) but is not installed. "
    "Name an installed printer, or install this one, then print again.";
inline constexpr const char* kPrintServiceText =
    "cannot be reached. Start the print service (CUPS), or correct the CUPS_SERVER setting, then "
    "print again.";
inline constexpr const char* kPdfOfferText = "Save the report as a PDF file instead?";
inline constexpr const char* kPdfDialogTitle = "Save Report as PDF";
inline constexpr const char* kPdfFilter = "PDF files (*.pdf)";
inline constexpr const char* kPdfFaultTitle = "ERROR Saving Report as PDF";
// The companion built without the devices module (on Windows), asked for one of them.
inline constexpr const char* kDevicesNotOfferedText =
    "this build of the companion does not offer printed reports (--report, --print) or PNG "
    "charts (--plot FILE.png); draw the chart as SVG (--plot FILE.svg)";

// Results screen: the table, the plot and the picture of the plot. The fault texts are followed
// by the fault's own words, which name the file.
inline constexpr const char* kTableDialogTitle = "Save Hydrograph Table";
inline constexpr const char* kTableFilter = "CSV files (*.csv)";
inline constexpr const char* kTableFaultTitle = "ERROR Saving Hydrograph Table";
inline constexpr const char* kSaveFaultText =
    "The file was not written. Check that the folder exists and that you may write to it, or "
    "choose another file.";
inline constexpr const char* kPlotTitle = "Hydrograph Plot";
inline constexpr const char* kPlotFaultTitle = "ERROR Drawing Hydrograph Plot";
inline constexpr const char* kPlotFaultText =
    "The hydrograph cannot be drawn because its numbers are beyond the range of a chart. Check "
    "the entries of the run.";
inline constexpr const char* kImageDialogTitle = "Save Hydrograph Plot";
inline constexpr const char* kImageFilter = "PNG images (*.png);;SVG drawings (*.svg)";
inline constexpr const char* kImageFaultTitle = "ERROR Saving Hydrograph Plot";
inline constexpr const char* kImageNameText =
    "The picture's file name must end in .png or .svg, which decides its format. Save it again "
    "under a name with one of them.";

// The study window: the tables it opens, the study document and the HEC-1 deck it saves.
inline constexpr const char* kRainfallDialogTitle = "Open Rainfall Table";
inline constexpr const char* kRainfallFilter = "Rainfall tables (*.csv *.txt);;All files (*)";
inline constexpr const char* kPondDialogTitle = "Open Pond Table";
inline constexpr const char* kPondFilter = "Pond tables (*.csv *.txt *.json);;All files (*)";
inline constexpr const char* kStudyDialogTitle = "Save Study PDF";
inline constexpr const char* kStudyFaultTitle = "ERROR Saving Study PDF";
inline constexpr const char* kStudyDeckDialogTitle = "Save HEC-1 Deck";
inline constexpr const char* kStudyDeckFilter = "HEC-1 input files (*.hc1);;All files (*)";
inline constexpr const char* kStudyDeckChoiceText =
    "A HEC-1 deck holds the hydrograph of one storm. Choose its return period:";
inline constexpr const char* kProjectDetailsTitle = "Project Details";

// Rainfall tables the reader refuses. Each follows "FILE, line N: " and what it is about.
inline constexpr const char* kRainDurationOrderText = "; durations must increase down the table.";
inline constexpr const char* kRainDepthNotNumberText = ", is not a number.";
inline constexpr const char* kRainDepthNotPositiveText = ", is not above 0.";
inline constexpr const char* kRainDepthOrderText = "; depths must increase with duration.";
inline constexpr const char* kRainFewRowsText = "; it needs at least two durations.";
inline constexpr const char* kRainHeaderText =
    "the header must be duration_min,depth_in (minutes, inches), not ";
inline constexpr const char* kRainRowText = " is not a row of two numbers (minutes, inches).";
inline constexpr const char* kRainDurationNotNumberText = " is not a number above 0.";
inline constexpr const char* kRainPeriodNotNumberText = " is not a number of years.";
inline constexpr const char* kRainPeriodRepeatedText = " appears more than once.";
inline constexpr const char* kRainNoPeriodsText = "the header names no return periods.";
inline constexpr const char* kRainAtlasRowText =
    " is not a row of the table: it must start with a duration such as 15-min:, 2-hr: or 3-day:.";
inline constexpr const char* kRainNotDepthsText =
    ": only precipitation depths in inches can be read; export precipitation depth in English "
    "units.";
inline constexpr const char* kRainNoPeriodToGiveText =
    "the table has no return periods (it is the one to use); leave out ";
inline constexpr const char* kRainSeveralPeriodsText =
    "the table has a column for each of several return periods; give ";
inline constexpr const char* kRainNoColumnText = "no column for a return period of ";
inline constexpr const char* kRainNotTextText = "a NUL byte: the file is not text.";
inline constexpr const char* kRainEmptyText = ": the file is empty.";
inline constexpr const char* kRainNoTableText =
    "no rainfall table: neither the header duration_min,depth_in nor a NOAA Atlas 14 estimates "
    "table (a line that starts \"by duration for ARI (years):\").";

// Basin tables: rows whose quotes do not close or nest, and a record too long to be a row (the
// table, or kBasinTableName when it has no name, follows "Cannot read ").
inline constexpr const char* kCsvUnclosedQuoteText = "the quoted field opened on line ";
inline constexpr const char* kCsvAfterQuoteText = "text follows a closing quote";
inline constexpr const char* kCsvInnerQuoteText = "a quote inside an unquoted field";
inline constexpr const char* kCsvRecordStartText = ": the record that starts on line ";
inline constexpr const char* kBasinTableName = "the basin table";

// Pond tables: the empty first row and one row too few. Each follows what it is about.
inline constexpr const char* kPondFirstRowNotText = ", not storage ";
inline constexpr const char* kPondRowsUnderText = "the table under this header has ";

// Batch rows whose rainfall cells cannot go together. Each follows the rainfall table title.
inline constexpr const char* kBatchAriWithoutTableText = ": an ari without a rainfall table";
inline constexpr const char* kBatchRainAndTableText =
    ": give the 6-hour rainfall either in rain or as a rainfall table, not both";

// Routing: the run and the step the engine refuses, followed by the figures.
inline constexpr const char* kPondInflowLead = "The hydrograph's ordinate at ";
inline constexpr const char* kRouteStepCountLead = "Routing this run in steps of ";
inline constexpr const char* kRouteStepLongLead = "The routing step, ";

// Files a run writes that it cannot make (a picture of no known kind, a routed table without a
// pond). Followed by the file and what is wrong.
inline constexpr const char* kCannotWriteText = "Cannot write ";
// A deck whose file name would break the HEC-1 station record.
inline constexpr const char* kDeckControlCharText =
    "Cannot write the HEC-1 deck: its file name holds a control character (a line break, a "
    "tab...), which would break the KK record. Choose a plain name.";

// Engine tables a reader would have refused, and durations outside them. Each is followed by the
// figures.
inline constexpr const char* kTablePointLead = "Depth-duration point ";
inline constexpr const char* kDurationLead = "The duration ";
inline constexpr const char* kPondRowLead = "Pond table row ";
// Followed by the entry in quotes and kEntryOverflowText.
inline constexpr const char* kEntryOverflowLead = "Overflow: the entry ";

// Program pictures: a picture of the program folder that cannot be found or read.
inline constexpr const char* kPictureWhereText = "the picture ";
inline constexpr const char* kCannotFindText = "Cannot find ";
inline constexpr const char* kCannotReadText = "Cannot read ";

}  // namespace rh::messages
