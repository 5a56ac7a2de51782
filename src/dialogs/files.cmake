# Sources of src/dialogs: core files go to movra_core, window files to movra_gui.
target_sources(movra_core PRIVATE
  dialogs/DiscEntry.cpp
  dialogs/DiscCataloguing.cpp
  dialogs/SnapshotTransfer.cpp
)
if(MOVRA_GUI)
  target_sources(movra_gui PRIVATE
    dialogs/LinkOpener.cpp
    dialogs/About.cpp
    dialogs/FolderPicker.cpp
    dialogs/DialogParts.cpp
    dialogs/Appendcd.cpp
    dialogs/Appendidxfile.cpp
    dialogs/Searchcd.cpp
    dialogs/ModalDialogs.cpp
    dialogs/OpenFilePicker.cpp
    dialogs/ScanProgressDialog.cpp
  )
endif()
