# Sources of src/snapshot, part of movra_core (no wxWidgets).
target_sources(movra_core PRIVATE
  snapshot/EntryOrder.cpp
  snapshot/ImageScanner.cpp
  snapshot/LineFields.cpp
  snapshot/ScanExclusions.cpp
  snapshot/ScanSource.cpp
  snapshot/Scanner.cpp
  snapshot/SnapshotDiff.cpp
  snapshot/SnapshotFile.cpp
  snapshot/SnapshotIndex.cpp
)
