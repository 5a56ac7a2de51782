# Sources of src/search, part of movra_core (no wxWidgets).
target_sources(movra_core PRIVATE
  search/DiscList.cpp
  search/EntryConditions.cpp
  search/NameMatcher.cpp
  search/ProgressPacer.cpp
  search/ResultPlaces.cpp
  search/SearchResults.cpp
  search/SearchSummary.cpp
  search/SnapshotSearch.cpp
  search/TextFinder.cpp
)
