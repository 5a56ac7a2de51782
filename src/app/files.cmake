# Sources of src/app: the window layer (process entry, TForm1, command map).
target_sources(movra_core PRIVATE
  app/HelpFile.cpp
  app/WindowArguments.cpp
)
if(MOVRA_GUI)
  target_sources(movra_gui PRIVATE
    app/MovraApp.cpp
    app/TForm1.cpp
    app/TForm1Lifecycle.cpp
    app/TForm1Trees.cpp
    app/ResultsListCtrl.cpp
    app/ContentView.cpp
    app/ContentFolders.cpp
    app/ContentSort.cpp
    app/History.cpp
    app/CommandMap.cpp
    app/KeyPreview.cpp
    app/HelpCommands.cpp
    app/SearchCommand.cpp
    app/SearchFeedback.cpp
    app/StatusPanels.cpp
    app/ItemCommands.cpp
    app/WindowPlace.cpp
    app/WindowSettings.cpp
    app/AddDiscCommand.cpp
    app/SnapshotExchange.cpp
    app/CategoryCommands.cpp
    app/UpdateDiscCommand.cpp
    app/IndexKeeper.cpp
  )
endif()
