# Fills the run folder's images/ with what the program loads by relative path:
# the map pages, Leaflet from the system package, and the pictures that the
# buttons' own style rules name as ./images/....

find_path(LEAFLET_DIR leaflet.js
    PATHS /usr/share/javascript/leaflet
    NO_DEFAULT_PATH REQUIRED)

file(GLOB VELMORA_PAGES CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/pages/*)
file(GLOB VELMORA_RULE_PICTURES CONFIGURE_DEPENDS
    ${CMAKE_CURRENT_SOURCE_DIR}/resources/images/Window_*.png
    ${CMAKE_CURRENT_SOURCE_DIR}/resources/images/Video_Play*.png
    ${CMAKE_CURRENT_SOURCE_DIR}/resources/images/Video_Pause*.png)

set(run_images ${VELMORA_RUN_DIR}/images)
set(copy_pages_and_pictures)
if(VELMORA_PAGES OR VELMORA_RULE_PICTURES)
    set(copy_pages_and_pictures COMMAND ${CMAKE_COMMAND} -E copy_if_different
        ${VELMORA_PAGES} ${VELMORA_RULE_PICTURES} ${run_images})
endif()
add_custom_target(velmora_run_folder
    COMMAND ${CMAKE_COMMAND} -E make_directory ${run_images}/leaflet/images
    ${copy_pages_and_pictures}
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
# .MOV files. It starts the program in its run folder, where it finds its pages.
# The file's values unescape \\ to \; Exec then unquotes its arguments, so the
# run folder, one quoted argument there, has \ " ` $ escaped once more.
string(REPLACE "\\" "\\\\" desktop_path "${VELMORA_RUN_DIR}")
set(VELMORA_DESKTOP_PROGRAM "${desktop_path}/velmora")
set(VELMORA_DESKTOP_ICON "${desktop_path}/images/velmora.png")
string(REPLACE "\\" "\\\\\\\\" desktop_argument "${VELMORA_RUN_DIR}")
string(REGEX REPLACE "([\"`$])" "\\\\\\\\\\1" desktop_argument "${desktop_argument}")
string(REPLACE "%" "%%" desktop_argument "${desktop_argument}")
set(VELMORA_DESKTOP_RUN_DIR "\"${desktop_argument}\"")
configure_file(${CMAKE_CURRENT_SOURCE_DIR}/app/velmora.desktop.in ${VELMORA_RUN_DIR}/velmora.desktop
               @ONLY)
