# The check over a small tree that breaks each rule once and keeps one allowed one-way include
# between the folders of one step: it must fail, name every fault and pass over the allowed one.
execute_process(COMMAND ${CMAKE_COMMAND} -DSOURCE_DIR=${CMAKE_CURRENT_LIST_DIR}/crossed
                        -P ${CMAKE_CURRENT_LIST_DIR}/check.cmake
                RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
if(result EQUAL 0)
  message(FATAL_ERROR "The check passed a crossed tree:\n${output}")
endif()
foreach(fault
    "src/base/error.hpp includes resource.h (not a folder of the order)"
    "src/config/config_file.cpp includes app/app_state_win.hpp (app comes after config)"
    "src/config/config_file.cpp includes settings/ui_text.hpp (settings comes after config)"
    "src/extra/helper.cpp lies outside the folders of the order"
    "src/render/tooltip.hpp includes settings/ui_text.hpp (settings comes after render)"
    "src/weather/weather_icon.hpp includes render/canvas.hpp (render comes after weather)"
    "metrics and weather include each other:"
    "src/metrics/sample.hpp includes weather/weather_reading.hpp"
    "src/weather/weather_icon.hpp includes metrics/sample.hpp")
  string(FIND "${output}" "${fault}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "The check did not report\n${fault}\nin:\n${output}")
  endif()
endforeach()
string(FIND "${output}" "startup_registration_win.hpp" at)
if(NOT at EQUAL -1)
  message(FATAL_ERROR "The check reported an include one way between settings and startup:\n${output}")
endif()
