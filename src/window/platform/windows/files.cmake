# Sources of src/window/platform/windows, part of movra_gui: the Windows side
# of the window's own operating-system services.
target_sources(movra_gui PRIVATE
  window/platform/windows/ChangeNotice.cpp
  window/platform/windows/IconProvider.cpp
  window/platform/windows/LinkOpener.cpp
  window/platform/windows/ProcessEntry.cpp
  window/platform/windows/ProgramIcons.cpp
  window/platform/windows/SettingsPlace.cpp
)
# The shell's icons and its open verb.
target_link_libraries(movra_gui PUBLIC shell32)
# windows.h, which the toolkit brings in, defines macros that rename the
# program's own names: every C++ source of the window layer, of the program
# and of their tests starts with the header that brings it in and removes them.
target_compile_options(movra_gui PUBLIC "$<$<COMPILE_LANGUAGE:CXX>:SHELL:-include window/platform/SystemMacros.h>")
