# Sources of src/browse: core files go to movra_core, window files to movra_gui.
target_sources(movra_core PRIVATE
  browse/ListModel.cpp
  browse/ColumnSort.cpp
  browse/NavigationHistory.cpp
  browse/FolderListing.cpp
  browse/DisplayFormat.cpp
  browse/ContentNodes.cpp
  browse/Properties.cpp
  browse/FirstStartHint.cpp
)
if(MOVRA_GUI)
  target_sources(movra_gui PRIVATE
    browse/ContentListCtrl.cpp
  )
endif()
