# The core every build compiles, paths relative to src/: the engine, the outputs, the application
# logic and the plain platform pieces that have no host of their own (the file system's shared
# part, drawings, host text, paths). No Qt here. The desktop and companion builds (rhcore) add the
# host's side of the platform; the browser edition (web/) adds its binding.
set(coreSources
  app/BasinCsv.cpp
  app/Batch.cpp
  app/Companion.cpp
  app/FileLists.cpp
  app/FileSelection.cpp
  app/Init.cpp
  app/LicenseText.cpp
  app/Main.cpp
  app/PondFile.cpp
  app/PreparedRun.cpp
  app/RainfallTable.cpp
  app/RunBasin.cpp
  app/RunRequest.cpp
  app/Settings.cpp
  app/StudyPdf.cpp
  app/StudyRuns.cpp
  app/TableText.cpp
  app/UserMemory.cpp
  app/Val.cpp
  app/WarningEntry.cpp
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
  platform/FileSystem.cpp
  platform/HostText.cpp
  platform/Paths.cpp
)
