# Windows-side tests run under Wine in prepared desktops ("variants"), each with its own
# prefix, display and wineserver (held by a keeper program). A CTest fixture per variant
# starts the session before the first test that needs it and stops it afterwards.
#   shell     — a Wine virtual desktop with its taskbar (Shell_TrayWnd at the bottom)
#   plain     — a virtual desktop without a taskbar, for fake taskbars made by the tests
#   dpi144    — like shell, at 144 DPI
#   nodisplay — no X display at all: Wine's null driver, no taskbar
set(VESSA_WINE_STATE ${CMAKE_BINARY_DIR}/wine-session CACHE INTERNAL "")
set(VESSA_WINE_SESSION ${PROJECT_SOURCE_DIR}/tests/wine/session.sh)

# The session fixture of a desktop, defined the first time a test needs that desktop.
function(vessa_wine_session_fixture variant)
  get_property(defined GLOBAL PROPERTY VESSA_WINE_FIXTURES)
  if(variant IN_LIST defined)
    return()
  endif()
  set_property(GLOBAL APPEND PROPERTY VESSA_WINE_FIXTURES ${variant})
  add_test(NAME wine_${variant}_start
    COMMAND ${VESSA_WINE_SESSION} start ${VESSA_WINE_STATE} ${variant} $<TARGET_FILE:vessa_keeper>)
  add_test(NAME wine_${variant}_stop COMMAND ${VESSA_WINE_SESSION} stop ${VESSA_WINE_STATE} ${variant})
  set_tests_properties(wine_${variant}_start PROPERTIES FIXTURES_SETUP wine_${variant} TIMEOUT 180)
  set_tests_properties(wine_${variant}_stop PROPERTIES FIXTURES_CLEANUP wine_${variant} TIMEOUT 60)
endfunction()

# vessa_add_wine_test(NAME name VARIANT variant COMMAND target args...)
function(vessa_add_wine_test)
  cmake_parse_arguments(ARG "" "NAME;VARIANT;TIMEOUT" "COMMAND" ${ARGN})
  if(NOT ARG_TIMEOUT)
    set(ARG_TIMEOUT 300)
  endif()
  vessa_wine_session_fixture(${ARG_VARIANT})
  add_test(NAME ${ARG_NAME} COMMAND ${ARG_COMMAND})
  set_tests_properties(${ARG_NAME} PROPERTIES
    ENVIRONMENT "VESSA_WINE_STATE=${VESSA_WINE_STATE};VESSA_WINE_VARIANT=${ARG_VARIANT};VESSA_EXE=$<TARGET_FILE:vessa>;VESSA_TEST_DATA=${PROJECT_SOURCE_DIR}/tests/data;VESSA_TEST_OUTPUT=${CMAKE_BINARY_DIR}/test-output"
    FIXTURES_REQUIRED wine_${ARG_VARIANT}
    RESOURCE_LOCK wine_desktop_${ARG_VARIANT}
    TIMEOUT ${ARG_TIMEOUT})
endfunction()

# A GoogleTest program whose suites carry their desktop in their name: Shell_*, Plain_*,
# Dpi144_*, NoDisplay_*. Registers one CTest test per desktop that the sources use, so that no
# session is started for nothing. The sources are configure dependencies: a new suite prefix
# in an existing file is picked up at the next build.
function(vessa_add_wine_gtest target)
  get_target_property(sources ${target} SOURCES)
  set(text "")
  foreach(source IN LISTS sources)
    file(READ ${source} content)
    string(APPEND text "${content}")
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${source})
  endforeach()
  foreach(variant IN ITEMS Shell Plain Dpi144 NoDisplay)
    if(text MATCHES "TEST(_F|_P)?\\( *${variant}_")
      string(TOLOWER ${variant} variant_lower)
      vessa_add_wine_test(NAME ${target}_${variant_lower} VARIANT ${variant_lower}
        COMMAND ${target} --gtest_filter=${variant}_* --gtest_brief=1)
    endif()
  endforeach()
endfunction()

# A GoogleTest program's suites that need the local HTTPS server (those matching FILTER,
# default Shell_*): one CTest test, <target>_https, runs them in a private network and mount
# namespace with the server, a trusted test CA and a Wine session of their own
# (tests/win/https_namespace.sh). In the ordinary sessions these suites skip themselves.
function(vessa_add_https_gtest target)
  cmake_parse_arguments(ARG "" "FILTER" "" ${ARGN})
  if(NOT ARG_FILTER)
    set(ARG_FILTER "Shell_*")
  endif()
  string(REGEX REPLACE "^vessa_" "" session ${target})
  add_test(NAME ${target}_https
    COMMAND ${PROJECT_SOURCE_DIR}/tests/win/https_namespace.sh ${CMAKE_BINARY_DIR}/https-session/${session}
            $<TARGET_FILE:vessa_keeper>
            ${PROJECT_SOURCE_DIR}/tests/wine/run-in-wine.sh $<TARGET_FILE:${target}>
            --gtest_filter=${ARG_FILTER} --gtest_brief=1)
  set_tests_properties(${target}_https PROPERTIES TIMEOUT 300
    ENVIRONMENT "VESSA_EXE=$<TARGET_FILE:vessa>;VESSA_TEST_DATA=${PROJECT_SOURCE_DIR}/tests/data;VESSA_TEST_OUTPUT=${CMAKE_BINARY_DIR}/test-output;VESSA_WINE_BASE=${VESSA_WINE_STATE}/base-prefix")
endfunction()

# The sessions themselves leave nothing running behind them (a session of its own).
add_test(NAME wine_session_cleanup
  COMMAND ${PROJECT_SOURCE_DIR}/tests/wine/session_test.sh ${CMAKE_BINARY_DIR}/session-test $<TARGET_FILE:vessa_keeper>)
set_tests_properties(wine_session_cleanup PROPERTIES TIMEOUT 180
  ENVIRONMENT "VESSA_WINE_BASE=${VESSA_WINE_STATE}/base-prefix")
