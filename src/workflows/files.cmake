# Sources of src/workflows, part of movra_core (no wxWidgets).
target_sources(movra_core PRIVATE
  workflows/AddDisc.cpp
  workflows/CatalogueEdit.cpp
  workflows/CategoryWorkflows.cpp
  workflows/DeleteEntry.cpp
  workflows/DiscCataloguing.cpp
  workflows/DiscEntry.cpp
  workflows/ExportSnapshot.cpp
  workflows/FindDuplicates.cpp
  workflows/ImportList.cpp
  workflows/ImportSnapshot.cpp
  workflows/ListExport.cpp
  workflows/LiveFile.cpp
  workflows/ScanRoot.cpp
  workflows/Search.cpp
  workflows/SnapshotTransfer.cpp
  workflows/UpdateDisc.cpp
  workflows/WindowArguments.cpp
  workflows/Workspace.cpp
)
