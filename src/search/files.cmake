# Sources of src/search: core files go to movra_core, window files to movra_gui.
target_sources(movra_core PRIVATE
  search/NameMatcher.cpp
  search/DiscList.cpp
  search/SearchResults.cpp
  search/SnapshotSearch.cpp
  search/TextFinder.cpp
  search/ProgressPacer.cpp
  search/SearchSummary.cpp
  search/ResultPlaces.cpp
)
if(MOVRA_GUI)
  target_sources(movra_gui PRIVATE
  )
endif()
