# Sources of src/platform, part of movra_core: one header per operating-system
# service here, its implementation for each system in linux/ or windows/.
target_sources(movra_core PRIVATE
  platform/Collation.cpp
  platform/DataHome.cpp
  platform/DateTime.cpp
  platform/DriveMap.cpp
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
