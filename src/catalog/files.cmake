# Sources of src/catalog, part of movra_core (no wxWidgets).
target_sources(movra_core PRIVATE
  catalog/CatalogueDocument.cpp
  catalog/CategoryEdits.cpp
  catalog/DefaultNames.cpp
  catalog/NameRules.cpp
  catalog/XmlEncoding.cpp
)
