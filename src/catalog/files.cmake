# Sources of src/catalog: core files go to movra_core, window files to movra_gui.
target_sources(movra_core PRIVATE
)
if(MOVRA_GUI)
  target_sources(movra_gui PRIVATE
    catalog/CategoryTreeCtrl.cpp
    catalog/CategoryTrees.cpp
    catalog/TreeImages.cpp
  )
endif()
