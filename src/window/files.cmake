# Sources of src/window: the window layer (movra_gui, the only code that
# includes wxWidgets) and the movra program.
target_sources(movra_gui PRIVATE
  window/app/AddDiscCommand.cpp
  window/app/CategoryCommands.cpp
  window/app/CommandMap.cpp
  window/app/DuplicatesCommand.cpp
  window/app/ContentFolders.cpp
  window/app/ContentSort.cpp
  window/app/ContentView.cpp
  window/app/FollowHome.cpp
  window/app/HelpCommands.cpp
  window/app/HomeWatch.cpp
  window/app/History.cpp
  window/app/IndexKeeper.cpp
  window/app/ItemCommands.cpp
  window/app/KeyPreview.cpp
  window/app/ListCommands.cpp
  window/app/LiveFileCommands.cpp
  window/app/MovraApp.cpp
  window/app/SearchCommand.cpp
  window/app/SearchFeedback.cpp
  window/app/SnapshotExchange.cpp
  window/app/StatusPanels.cpp
  window/app/TForm1.cpp
  window/app/TForm1Lifecycle.cpp
  window/app/TForm1Trees.cpp
  window/app/UpdateDiscCommand.cpp
  window/app/WindowPlace.cpp
  window/app/WindowSettings.cpp
  window/controls/CategoryTreeCtrl.cpp
  window/controls/CategoryTrees.cpp
  window/controls/ContentListCtrl.cpp
  window/controls/ResultsListCtrl.cpp
  window/controls/TreeImages.cpp
  window/controls/TreeSync.cpp
  window/controls/WxText.cpp
  window/dialogs/About.cpp
  window/dialogs/Appendcd.cpp
  window/dialogs/Appendidxfile.cpp
  window/dialogs/DialogParts.cpp
  window/dialogs/FolderPicker.cpp
  window/dialogs/MessageBox.cpp
  window/dialogs/ModalDialogs.cpp
  window/dialogs/OpenFilePicker.cpp
  window/dialogs/PropertiesBox.cpp
  window/dialogs/ScanProgressDialog.cpp
  window/dialogs/Searchcd.cpp
  window/dialogs/UpdateDiscDialogs.cpp
)
include(window/platform/files.cmake)

# A window program: on Windows the GUI subsystem (no console), with its icon,
# version and manifest.
add_executable(movra WIN32 window/main.cpp)
target_link_libraries(movra PRIVATE movra_gui)
if(WIN32)
  include(${PROJECT_SOURCE_DIR}/resources/windows/resources.cmake)
endif()
# The user guide ships beside the executable.
add_custom_command(TARGET movra POST_BUILD
  COMMAND ${CMAKE_COMMAND} -E copy_directory ${PROJECT_SOURCE_DIR}/resources/help $<TARGET_FILE_DIR:movra>/help)
