# Sources of src/search: core files go to movra_core, window files to movra_gui.
target_sources(movra_core PRIVATE
  search/NameMatcher.cpp
)
if(MOVRA_GUI)
  target_sources(movra_gui PRIVATE
  )
endif()
