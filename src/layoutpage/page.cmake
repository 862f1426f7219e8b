# The Layout page: its rules (portable) and its dialog (Win32).
target_sources(qx_core PRIVATE ${CMAKE_CURRENT_LIST_DIR}/layout_rules.cpp)
if(WIN32)
  target_sources(qx_win PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/layout_page.cpp
    ${CMAKE_CURRENT_LIST_DIR}/layout_fill.cpp
    ${CMAKE_CURRENT_LIST_DIR}/layout_command.cpp
    ${CMAKE_CURRENT_LIST_DIR}/layout_page_items.cpp)
endif()
