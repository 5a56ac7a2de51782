# Sources of src/window/platform/linux, part of movra_gui: the Linux side of
# the window's own operating-system services.
target_sources(movra_gui PRIVATE
  window/platform/linux/ChangeNotice.cpp
  window/platform/linux/IconProvider.cpp
  window/platform/linux/LinkOpener.cpp
  window/platform/linux/ProcessEntry.cpp
  window/platform/linux/ProgramIcons.cpp
  window/platform/linux/SettingsPlace.cpp
)
