# The place search and the device location, driven through the real settings window, which
# opens from the tray menu: the tray and settings areas' helpers come along. The search host
# is answered by the local HTTPS server, so the tests run in a private network namespace with
# a Wine session of their own (tests/win/https_namespace.sh), as the weather's do.
foreach(helper_area IN ITEMS tray settings)
  get_filename_component(helper_dir ${CMAKE_CURRENT_LIST_DIR}/../${helper_area} ABSOLUTE)
  target_sources(vessa_e2e_places PRIVATE ${helper_dir}/${helper_area}_support.cpp)
  target_include_directories(vessa_e2e_places PRIVATE ${helper_dir})
endforeach()
add_test(NAME vessa_e2e_places_https
  COMMAND ${PROJECT_SOURCE_DIR}/tests/win/https_namespace.sh ${CMAKE_BINARY_DIR}/https-session/e2e_places
          $<TARGET_FILE:vessa_keeper>
          ${PROJECT_SOURCE_DIR}/tests/wine/run-in-wine.sh $<TARGET_FILE:vessa_e2e_places>
          --gtest_filter=Shell_* --gtest_brief=1)
set_tests_properties(vessa_e2e_places_https PROPERTIES TIMEOUT 300
  ENVIRONMENT "VESSA_EXE=$<TARGET_FILE:vessa>;VESSA_TEST_DATA=${PROJECT_SOURCE_DIR}/tests/data;VESSA_TEST_OUTPUT=${CMAKE_BINARY_DIR}/test-output;VESSA_WINE_BASE=${VESSA_WINE_STATE}/base-prefix")
