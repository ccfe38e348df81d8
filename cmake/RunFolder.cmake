# Fills the run folder's images/ with what the program loads beside its
# executable: the map pages and Leaflet from the system package.

find_path(LEAFLET_DIR leaflet.js
    PATHS /usr/share/javascript/leaflet
    NO_DEFAULT_PATH REQUIRED)

file(GLOB VELMORA_PAGES CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/pages/*)

set(run_images ${VELMORA_RUN_DIR}/images)
set(copy_pages)
if(VELMORA_PAGES)
    set(copy_pages COMMAND ${CMAKE_COMMAND} -E copy_if_different
        ${VELMORA_PAGES} ${run_images})
endif()
add_custom_target(velmora_run_folder
    COMMAND ${CMAKE_COMMAND} -E make_directory ${run_images}/leaflet/images
    ${copy_pages}
    COMMAND ${CMAKE_COMMAND} -E copy_if_different
            ${LEAFLET_DIR}/leaflet.js ${LEAFLET_DIR}/leaflet.css ${run_images}/leaflet
    COMMAND ${CMAKE_COMMAND} -E copy_directory ${LEAFLET_DIR}/images ${run_images}/leaflet/images
    # The desktop entry's icon.
    COMMAND ${CMAKE_COMMAND} -E copy_if_different
            ${CMAKE_CURRENT_SOURCE_DIR}/resources/images/Video_Play.png ${run_images}/velmora.png
    COMMENT "Filling the run folder's images/"
    VERBATIM)
add_dependencies(velmora velmora_run_folder)

# A desktop entry in the run folder, so that file managers offer the player for
# .MOV files. The file's values unescape \\ to \; Exec then unquotes its
# arguments, so the program's path, one quoted argument there, has \ " ` $
# escaped once more.
string(REPLACE "\\" "\\\\" desktop_path "${VELMORA_RUN_DIR}")
set(VELMORA_DESKTOP_PROGRAM "${desktop_path}/velmora")
set(VELMORA_DESKTOP_ICON "${desktop_path}/images/velmora.png")
string(REPLACE "\\" "\\\\\\\\" desktop_argument "${VELMORA_RUN_DIR}")
string(REGEX REPLACE "([\"`$])" "\\\\\\\\\\1" desktop_argument "${desktop_argument}")
string(REPLACE "%" "%%" desktop_argument "${desktop_argument}")
set(VELMORA_DESKTOP_EXEC "\"${desktop_argument}/velmora\"")
configure_file(${CMAKE_CURRENT_SOURCE_DIR}/app/velmora.desktop.in ${VELMORA_RUN_DIR}/velmora.desktop
               @ONLY)
