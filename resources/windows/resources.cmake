# The resources of movra.exe: the icon rendered from packaging/movra.svg at
# build time (rsvg-convert, then resources/windows/make-ico.py), the version
# information and the manifest, compiled by windres. Included from
# src/window/files.cmake; adds the compiled script to the target movra.
find_program(RSVG_CONVERT rsvg-convert REQUIRED)
find_package(Python3 REQUIRED COMPONENTS Interpreter)

set(_res_src ${PROJECT_SOURCE_DIR}/resources/windows)
set(_res_out ${CMAKE_CURRENT_BINARY_DIR}/windows-resources)
set(_svg ${PROJECT_SOURCE_DIR}/packaging/movra.svg)
set(MOVRA_ICO ${_res_out}/movra.ico)
set(_pngs)
foreach(size 16 24 32 48 64 256)
  set(png ${_res_out}/movra-${size}.png)
  add_custom_command(OUTPUT ${png}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${_res_out}
    COMMAND ${RSVG_CONVERT} -w ${size} -h ${size} -o ${png} ${_svg}
    DEPENDS ${_svg} VERBATIM)
  list(APPEND _pngs ${png})
endforeach()
add_custom_command(OUTPUT ${MOVRA_ICO}
  COMMAND ${Python3_EXECUTABLE} ${_res_src}/make-ico.py ${MOVRA_ICO} ${_pngs}
  DEPENDS ${_res_src}/make-ico.py ${_pngs} VERBATIM)
add_custom_target(movra_icon DEPENDS ${MOVRA_ICO})
# The installer shows the same icon.
set_target_properties(movra_icon PROPERTIES MOVRA_ICON_FILE ${MOVRA_ICO})

# Version numbers as the resource wants them: four parts, with commas and with dots.
set(MOVRA_VERSION_COMMAS "${PROJECT_VERSION_MAJOR},${PROJECT_VERSION_MINOR},${PROJECT_VERSION_PATCH},0")
set(MOVRA_VERSION_QUAD "${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}.${PROJECT_VERSION_PATCH}.0")
set(MOVRA_MANIFEST ${_res_out}/movra.manifest)
configure_file(${_res_src}/movra.manifest ${MOVRA_MANIFEST} @ONLY)
configure_file(${_res_src}/movra.rc.in ${_res_out}/movra.rc @ONLY)

target_sources(movra PRIVATE ${_res_out}/movra.rc)
add_dependencies(movra movra_icon)
set_source_files_properties(${_res_out}/movra.rc PROPERTIES OBJECT_DEPENDS "${MOVRA_ICO};${MOVRA_MANIFEST}")
