# Sources of src/platform: core files go to movra_core, window files to movra_gui.
target_sources(movra_core PRIVATE
  platform/TextCodec.cpp
  platform/DateTime.cpp
  platform/FileSystem.cpp
  platform/Collation.cpp
  platform/DriveMap.cpp
  platform/Volume.cpp
  platform/DataHome.cpp
)
if(MOVRA_GUI)
  target_sources(movra_gui PRIVATE
    platform/WxText.cpp
    platform/MessageBox.cpp
    platform/IconProvider.cpp
  )
endif()
