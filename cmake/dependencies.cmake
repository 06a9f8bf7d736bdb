# Header-only libraries. Cross-compiling from Linux, they come from the Debian packages, and
# the Windows build must never see /usr/include: only these libraries are staged into an
# include directory of the build tree. A native build (Linux, or Windows with MSYS2 or vcpkg)
# takes them from wherever its package manager put them.
add_library(vessa_third_party INTERFACE)
if(CMAKE_CROSSCOMPILING)
  set(VESSA_THIRD_PARTY_INCLUDE ${CMAKE_BINARY_DIR}/third_party/include)
  foreach(dependency toml++ nlohmann)
    if(NOT EXISTS /usr/include/${dependency})
      message(FATAL_ERROR "/usr/include/${dependency} is missing: run scripts/install-deps.sh")
    endif()
    file(COPY /usr/include/${dependency} DESTINATION ${VESSA_THIRD_PARTY_INCLUDE})
  endforeach()
  target_include_directories(vessa_third_party SYSTEM INTERFACE ${VESSA_THIRD_PARTY_INCLUDE})
else()
  find_path(VESSA_TOMLPLUSPLUS_INCLUDE toml++/toml.h)
  find_path(VESSA_NLOHMANN_JSON_INCLUDE nlohmann/json.hpp)
  if(NOT VESSA_TOMLPLUSPLUS_INCLUDE OR NOT VESSA_NLOHMANN_JSON_INCLUDE)
    message(FATAL_ERROR "toml++ and nlohmann/json are needed (on Debian: run scripts/install-deps.sh)")
  endif()
  target_include_directories(vessa_third_party SYSTEM INTERFACE ${VESSA_TOMLPLUSPLUS_INCLUDE}
                                                                 ${VESSA_NLOHMANN_JSON_INCLUDE})
endif()
# toml++ is used as a parser only; its own formatter is not compiled in. config.toml is TOML 1.1:
# toml++ 3.3 reads 1.1's additions (the \e and \xHH escapes, inline tables over several lines with
# a trailing comma, times without seconds) only with its unreleased features, which also let
# through non-ASCII letters and "+" in bare keys and hexadecimal floats (docs/configuration.md).
target_compile_definitions(vessa_third_party INTERFACE TOML_ENABLE_FORMATTERS=0 TOML_EXCEPTIONS=0
                                                       TOML_ENABLE_UNRELEASED_FEATURES=1)

set(THREADS_PREFER_PTHREAD_FLAG ON)
find_package(Threads REQUIRED)
