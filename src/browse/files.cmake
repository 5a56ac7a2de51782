# Sources of src/browse, part of movra_core (no wxWidgets).
target_sources(movra_core PRIVATE
  browse/ColumnSort.cpp
  browse/ContentNodes.cpp
  browse/DisplayFormat.cpp
  browse/FirstStartHint.cpp
  browse/FolderListing.cpp
  browse/ListModel.cpp
  browse/NavigationHistory.cpp
  browse/Properties.cpp
)
