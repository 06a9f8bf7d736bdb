# The portable test doubles shared by the host tests, the Windows-side tests and the benchmarks: counters and a
# window world that play back what the test sets.
if(NOT TARGET vessa_test_doubles)
  add_library(vessa_test_doubles STATIC ${CMAKE_CURRENT_LIST_DIR}/scripted_counters.cpp
                                        ${CMAKE_CURRENT_LIST_DIR}/mirror_scripted_world.cpp)
  target_include_directories(vessa_test_doubles PUBLIC ${CMAKE_CURRENT_LIST_DIR})
  target_link_libraries(vessa_test_doubles PUBLIC vessa_platform)
endif()
