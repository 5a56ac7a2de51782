# Sources of src/platform/linux, part of movra_core: the Linux side of each
# operating-system service declared in src/platform/.
target_sources(movra_core PRIVATE
  # Files, folders, drives, volumes, tray, text, console, file stamps and maps, the home's lock.
  platform/linux/ByteSearch.cpp
  platform/linux/Collation.cpp
  platform/linux/Console.cpp
  platform/linux/Directory.cpp
  platform/linux/Environment.cpp
  platform/linux/FileLock.cpp
  platform/linux/FileStamp.cpp
  platform/linux/FileSystem.cpp
  platform/linux/LinuxDrives.cpp
  platform/linux/LocalTime.cpp
  platform/linux/MappedFile.cpp
  platform/linux/ScanFence.cpp
  platform/linux/TextCodec.cpp
  platform/linux/TrayEject.cpp
  platform/linux/Volume.cpp
)
# The libraries behind them: volume probing, the desktop's disk service, and
# ICU's code page 936 table and Chinese collation.
target_link_libraries(movra_core PUBLIC PkgConfig::BLKID ICU::uc ICU::i18n)
target_link_libraries(movra_core PRIVATE PkgConfig::GIO)
