# Sources of src/snapshot: core files go to movra_core, window files to movra_gui.
target_sources(movra_core PRIVATE
  snapshot/SnapshotIndex.cpp
  snapshot/Scanner.cpp
  snapshot/SnapshotFile.cpp
  snapshot/LineFields.cpp
  snapshot/EntryOrder.cpp
  snapshot/ImageScanner.cpp
  snapshot/SnapshotDiff.cpp
  snapshot/ScanSource.cpp
)
if(MOVRA_GUI)
  target_sources(movra_gui PRIVATE
  )
endif()
