# Sources of src/platform/linux, part of movra_core: the Linux side of each
# operating-system service declared in src/platform/.
target_sources(movra_core PRIVATE
  platform/linux/FileLock.cpp
  platform/linux/FileStamp.cpp
  platform/linux/MappedFile.cpp
)
