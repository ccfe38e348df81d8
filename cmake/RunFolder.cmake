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
    COMMENT "Filling the run folder's images/"
    VERBATIM)
add_dependencies(velmora velmora_run_folder)
