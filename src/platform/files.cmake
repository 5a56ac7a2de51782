# Sources of src/platform, part of movra_core: one header per operating-system
# service here, with what is the same on every system beside it; each
# system's side lives in linux/ or windows/. The advisory lock of the data
# home and the notification of changes to it come next, as seams of their own.
target_sources(movra_core PRIVATE
  platform/Collation.cpp
  platform/DataHome.cpp
  platform/DateTime.cpp
  platform/DriveMap.cpp
  platform/FileLock.cpp
  platform/FileSystem.cpp
  platform/HelpFile.cpp
  platform/IsoSerial.cpp
  platform/TextCodec.cpp
  platform/TrayEject.cpp
  platform/Volume.cpp
)
if(WIN32)
  include(platform/windows/files.cmake)
else()
  include(platform/linux/files.cmake)
endif()
