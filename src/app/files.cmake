# Sources of src/app: the window layer (process entry, TForm1, command map).
if(MOVRA_GUI)
  target_sources(movra_gui PRIVATE
    app/MovraApp.cpp
    app/TForm1.cpp
    app/TForm1Lifecycle.cpp
    app/TForm1Trees.cpp
    app/PendingHandlers.cpp
    app/ResultsListCtrl.cpp
    app/ContentView.cpp
    app/ContentFolders.cpp
    app/ContentSort.cpp
    app/History.cpp
  )
endif()
