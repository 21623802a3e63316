// The page's study: a study file as the page holds it (its JSON text, the tables the user picked
// for the ones it names by path), the entries of the page's study editors, and what its run gives
// back for the page to show.
#pragma once

#include <string>
#include <vector>

namespace rh::web {

struct StudyRequest {
  std::string name;     // the study file's name, as picked
  std::string text;     // its JSON text
  bool opened = false;  // the text is a file just picked: it is read as it is before any edit
  // The tables picked for the ones the study names by path ("" for none picked).
  std::string rainfallName, rainfallText;
  std::string pondName, pondText;
  // A JSON object of the editors' entries as typed: the field's id and its text.
  std::string edits;
};

struct StudyPage {
  // A refused study: the warning and the id of the page's field it is about ("" for none).
  std::string warningTitle, warningText, warningEntry;
  // The picker the study waits for ("study-rainfall", "study-pond"), and the file it names.
  std::string needs, needsName;
  std::string criteria;   // the criteria table
  std::string verdict;    // "PASS" or "FAIL"
  std::string sizing;     // the sizing's line, "" without one
  std::string studyText;  // the study as saved, its picked tables held in it
  // JSON: each storm's label, allowable release and how many points its inflow and outflow have
  // in ChartPoints(), in that order.
  std::string chart;
  std::string periods;  // JSON: the return periods the rainfall table offers, as written
};

// Runs the study of `request`, and keeps it for its document.
StudyPage RunStudyPage(const StudyRequest& request);

// The chart's curves of the study last run, one after the other, each point its time (min) and
// flow (cfs): numbers the page reads as they are, not as text (empty when the study was refused).
std::vector<double>& ChartPoints();

// The document of the study last run, made and dated at `now` (seconds since 1970 UTC; `today`
// the browser's date in its short form), into `pdf`: false when the last study was refused or its
// document cannot be made.
bool StudyDocumentPdf(const std::string& today, double now, std::string& pdf);

}  // namespace rh::web
