# The core every build compiles, paths relative to src/: the engine, the outputs, the application
# logic and the plain platform pieces that have no host of their own (the file system's shared
# part, drawings, host text, paths). No Qt here. The desktop and companion builds (rhcore) add the
# host's side of the platform; the browser edition (web/) adds its binding.
set(coreSources
  app/tables/BasinCsv.cpp
  app/companion/Batch.cpp
  app/companion/Companion.cpp
  app/window/FileLists.cpp
  app/window/FileSelection.cpp
  app/window/Init.cpp
  app/window/LicenseText.cpp
  app/window/Main.cpp
  app/tables/PondFile.cpp
  app/run/PreparedRun.cpp
  app/tables/RainfallTable.cpp
  app/run/RunBasin.cpp
  app/run/RunRequest.cpp
  app/window/Settings.cpp
  app/run/StudyPdf.cpp
  app/run/StudyRuns.cpp
  app/tables/TableText.cpp
  app/window/UserMemory.cpp
  app/tables/Val.cpp
  app/run/WarningEntry.cpp
  core/Faults.cpp
  core/NumberChars.cpp
  core/ShownText.cpp
  engine/Hydrograph.cpp
  engine/Pond.cpp
  engine/Rainfall.cpp
  output/Hec1Deck.cpp
  output/HydrographTable.cpp
  output/PondReport.cpp
  output/Plot.cpp
  output/PrintedReport.cpp
  output/ResultsListing.cpp
  output/StudyDocument.cpp
  output/TextForms.cpp
  output/VolumeCheck.cpp
  platform/Drawing.cpp
  platform/PdfWriter.cpp
  platform/FileSystem.cpp
  platform/HostText.cpp
  platform/Paths.cpp
  platform/StandardFonts.cpp
)
