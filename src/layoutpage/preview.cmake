# The preview of the Layout page and the artwork it draws.
target_sources(qx_core PRIVATE ${CMAKE_CURRENT_LIST_DIR}/preview_choice.cpp)
if(WIN32)
  target_sources(qx_win PRIVATE ${CMAKE_CURRENT_LIST_DIR}/layout_preview.cpp)
endif()
