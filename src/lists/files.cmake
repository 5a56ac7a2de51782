# Sources of src/lists, part of movra_core (no wxWidgets): lists of found
# entries in the formats users take elsewhere, and the file-list reader.
find_package(nlohmann_json REQUIRED)
target_sources(movra_core PRIVATE
  lists/EfuList.cpp
  lists/HtmlList.cpp
  lists/HtmlPage.cpp
  lists/ListWriter.cpp
)
target_link_libraries(movra_core PRIVATE nlohmann_json::nlohmann_json)
