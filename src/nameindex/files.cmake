# Sources of src/nameindex, part of movra_core (no wxWidgets).
target_sources(movra_core PRIVATE
  nameindex/IndexSegment.cpp
  nameindex/NameIndex.cpp
  nameindex/NameIndexBuild.cpp
  nameindex/NameIndexSearch.cpp
  nameindex/NameIndexStatus.cpp
  nameindex/NameScanner.cpp
  nameindex/PostingsExtractor.cpp
  nameindex/SegmentWriter.cpp
  nameindex/SnapshotLines.cpp
  nameindex/Trigrams.cpp
  nameindex/VectorKernels.cpp
)
