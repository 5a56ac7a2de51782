# Sources of src/app: the window layer (process entry, TForm1, command map).
if(MOVRA_GUI)
  target_sources(movra_gui PRIVATE
    app/MovraApp.cpp
  )
endif()
