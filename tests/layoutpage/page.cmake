qx_native_test(layout_rules_test ${CMAKE_CURRENT_LIST_DIR}/layout_rules_test.cpp)
qx_wine_unit_test(layout_page_test ${CMAKE_CURRENT_LIST_DIR}/layout_page_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/layout_page_harness.cpp)
if(TARGET layout_page_test)
  target_link_libraries(layout_page_test PRIVATE comctl32)
endif()
qx_wine_dll_test(layout_resources_test ${CMAKE_CURRENT_LIST_DIR}/layout_resources_test.cpp)
