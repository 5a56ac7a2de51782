# Sources of src/nameindex: the name index is core code, without wxWidgets.
target_sources(movra_core PRIVATE
  nameindex/Trigrams.cpp
  nameindex/VectorKernels.cpp
  nameindex/NameScanner.cpp
  nameindex/IndexSegment.cpp
  nameindex/SegmentBuilder.cpp
  nameindex/SnapshotLines.cpp
  nameindex/NameIndex.cpp
)
