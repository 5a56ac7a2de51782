# Sources of src/window/platform, part of movra_gui: the window's own
# operating-system services (the shell's icons, opening links and documents,
# the program's icon, where settings live, the process entry), one header
# each here with what every system shares, each system's side in linux/ or
# windows/.
target_sources(movra_gui PRIVATE
  window/platform/IconProvider.cpp
  window/platform/LinkOpener.cpp
)
if(WIN32)
  include(window/platform/windows/files.cmake)
else()
  include(window/platform/linux/files.cmake)
endif()
