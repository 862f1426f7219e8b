# The preview of the Layout page and the artwork it draws.
target_sources(qx_core PRIVATE ${CMAKE_CURRENT_LIST_DIR}/preview_choice.cpp)
if(WIN32)
  target_sources(qx_win PRIVATE ${CMAKE_CURRENT_LIST_DIR}/layout_preview.cpp)
endif()

# The artwork generator runs on the build machine, so every build (the
# cross builds too) builds it as a separate project with the host compiler.
include(ExternalProject)
set(QX_ARTWORK_TOOL ${CMAKE_BINARY_DIR}/artwork-tool/qx-artwork)
set(QX_ARTWORK_DIR ${CMAKE_BINARY_DIR}/artwork)
ExternalProject_Add(qx_artwork_tool
  SOURCE_DIR ${CMAKE_SOURCE_DIR}/tools/artwork
  BINARY_DIR ${CMAKE_BINARY_DIR}/artwork-tool
  CMAKE_ARGS -DCMAKE_BUILD_TYPE=Release
  INSTALL_COMMAND ""
  BUILD_ALWAYS ON
  BUILD_BYPRODUCTS ${QX_ARTWORK_TOOL})
add_custom_command(OUTPUT ${QX_ARTWORK_DIR}/artwork_generated.rc
  COMMAND ${CMAKE_COMMAND} -E make_directory ${QX_ARTWORK_DIR}
  COMMAND ${QX_ARTWORK_TOOL} ${QX_ARTWORK_DIR}
  DEPENDS ${QX_ARTWORK_TOOL} qx_artwork_tool
  COMMENT "Drawing the preview bitmaps and list icons")
add_custom_target(qx_artwork ALL DEPENDS ${QX_ARTWORK_DIR}/artwork_generated.rc)
if(WIN32)
  add_dependencies(quillex qx_artwork)
  # The resource script takes in the generated one through artwork.rc.
  # windres reports no dependencies, and a source property counts only in
  # the directory of the target that compiles the source.
  set_property(SOURCE ${CMAKE_SOURCE_DIR}/src/resources/quillex.rc TARGET_DIRECTORY quillex
    APPEND PROPERTY OBJECT_DEPENDS ${QX_ARTWORK_DIR}/artwork_generated.rc
    ${CMAKE_SOURCE_DIR}/src/resources/artwork.rc ${CMAKE_SOURCE_DIR}/src/resources/ids_artwork.h)
endif()
