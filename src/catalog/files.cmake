# Sources of src/catalog: core files go to movra_core, window files to movra_gui.
target_sources(movra_core PRIVATE
  catalog/CatalogueDocument.cpp
  catalog/CategoryEdits.cpp
  catalog/DefaultNames.cpp
  catalog/NameRules.cpp
  catalog/XmlEncoding.cpp
)
if(MOVRA_GUI)
  target_sources(movra_gui PRIVATE
    catalog/CategoryTreeCtrl.cpp
    catalog/CategoryTrees.cpp
    catalog/TreeImages.cpp
  )
endif()
