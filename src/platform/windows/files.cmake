# Sources of src/platform/windows, part of movra_core: the Windows side of
# each operating-system service declared in src/platform/.
target_sources(movra_core PRIVATE
  # Files, folders, drives, volumes, tray, text, console, file stamps and maps, the home's lock.
  platform/windows/ByteSearch.cpp
  platform/windows/Collation.cpp
  platform/windows/Console.cpp
  platform/windows/Directory.cpp
  platform/windows/Drives.cpp
  platform/windows/Environment.cpp
  platform/windows/FileLock.cpp
  platform/windows/FileStamp.cpp
  platform/windows/FileSystem.cpp
  platform/windows/LocalTime.cpp
  platform/windows/MappedFile.cpp
  platform/windows/ScanFence.cpp
  platform/windows/TextCodec.cpp
  platform/windows/TrayEject.cpp
  platform/windows/Volume.cpp
  platform/windows/WinText.cpp
)
# Code page 936, collation, volumes and the tray are in kernel32, which every
# program links; the wide command line is split by shell32.
target_link_libraries(movra_core PUBLIC shell32)
