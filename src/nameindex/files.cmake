# Sources of src/nameindex, part of movra_core (no wxWidgets).
target_sources(movra_core PRIVATE
  nameindex/IndexSegment.cpp
  nameindex/NameIndex.cpp
  nameindex/NameScanner.cpp
  nameindex/SegmentBuilder.cpp
  nameindex/SnapshotLines.cpp
  nameindex/Trigrams.cpp
  nameindex/VectorKernels.cpp
)
