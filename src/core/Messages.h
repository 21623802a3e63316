// Every message the program shows the user, in one place.
#pragma once

namespace rh::messages {

// Refused run requests.
inline constexpr const char* kIncompleteTitle = "ERROR Incomplete Input Data";
inline constexpr const char* kIncompleteText = "Entries are required in all data fields.";
inline constexpr const char* kTcTitle = "ERROR In Time of Concentration";
inline constexpr const char* kTcText = "Time of Concentration value must be 5 or greater.";

// File selection dialog.
inline constexpr const char* kNoFileTitle = "ERROR - No filename selected";
inline constexpr const char* kNoFileText = "A filename must be selected, or hit cancel.";

// A rainfall table that cannot serve a run. Followed by what is wrong, naming the file.
inline constexpr const char* kRainfallTableTitle = "ERROR In Rainfall Table";
// Follows "NAME: more than 1 MiB, ".
inline constexpr const char* kRainfallTooLargeText =
    "far more than any rainfall table holds; check that the file is the table meant.";

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

// Faults reported at a screen or command boundary.
inline constexpr const char* kRunFaultTitle = "ERROR In Hydrograph Computation";
inline constexpr const char* kRunFaultText =
    "The hydrograph could not be computed from these entries. Check the basin area, runoff "
    "coefficient and peak discharge.";
inline constexpr const char* kDeckFaultTitle = "ERROR Writing HEC-1 Input File";
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

}  // namespace rh::messages
