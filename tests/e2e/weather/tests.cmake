# The weather end-to-end tests need the forecast host answered by a local HTTPS server: they
# run in a private network and mount namespace with a Wine session of their own
# (tests/win/https_namespace.sh) instead of the shared shell session.
add_test(NAME vessa_e2e_weather_https
  COMMAND ${PROJECT_SOURCE_DIR}/tests/win/https_namespace.sh ${CMAKE_BINARY_DIR}/https-session/e2e_weather
          $<TARGET_FILE:vessa_keeper>
          ${PROJECT_SOURCE_DIR}/tests/wine/run-in-wine.sh $<TARGET_FILE:vessa_e2e_weather>
          --gtest_filter=Shell_* --gtest_brief=1)
set_tests_properties(vessa_e2e_weather_https PROPERTIES TIMEOUT 300
  ENVIRONMENT "VESSA_EXE=$<TARGET_FILE:vessa>;VESSA_TEST_OUTPUT=${CMAKE_BINARY_DIR}/test-output;VESSA_WINE_BASE=${VESSA_WINE_STATE}/base-prefix")
