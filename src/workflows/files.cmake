# Sources of src/workflows: the steps of every catalogue workflow, shared by
# the window and movra-cli (core only).
target_sources(movra_core PRIVATE
  workflows/Workspace.cpp
  workflows/AddDisc.cpp
  workflows/ImportSnapshot.cpp
  workflows/ExportSnapshot.cpp
  workflows/DeleteEntry.cpp
  workflows/CategoryWorkflows.cpp
)
