# The HTTPS tests (suites Shell_Https*) need a server on port 443 and a trusted test CA: they
# run in a private network and mount namespace with a Wine session of their own
# (https_namespace.sh). In the ordinary shell session the suite skips itself.
add_test(NAME vessa_win_tests_https
  COMMAND ${CMAKE_CURRENT_LIST_DIR}/https_namespace.sh ${CMAKE_BINARY_DIR}/https-session/win_tests
          $<TARGET_FILE:vessa_keeper>
          ${PROJECT_SOURCE_DIR}/tests/wine/run-in-wine.sh $<TARGET_FILE:vessa_win_tests>
          --gtest_filter=Shell_Https* --gtest_brief=1)
set_tests_properties(vessa_win_tests_https PROPERTIES TIMEOUT 300
  ENVIRONMENT "VESSA_EXE=$<TARGET_FILE:vessa>;VESSA_TEST_OUTPUT=${CMAKE_BINARY_DIR}/test-output;VESSA_WINE_BASE=${VESSA_WINE_STATE}/base-prefix")
