# Header-only libraries come from Debian packages. The Windows build must never see
# /usr/include, so only these libraries are staged into an include directory of the build tree.
set(VESSA_THIRD_PARTY_INCLUDE ${CMAKE_BINARY_DIR}/third_party/include)
foreach(dependency toml++ nlohmann)
  if(NOT EXISTS /usr/include/${dependency})
    message(FATAL_ERROR "/usr/include/${dependency} is missing: run scripts/install-deps.sh")
  endif()
  file(COPY /usr/include/${dependency} DESTINATION ${VESSA_THIRD_PARTY_INCLUDE})
endforeach()

add_library(vessa_third_party INTERFACE)
target_include_directories(vessa_third_party SYSTEM INTERFACE ${VESSA_THIRD_PARTY_INCLUDE})
# toml++ is used as a parser only; its own formatter is not compiled in.
target_compile_definitions(vessa_third_party INTERFACE TOML_ENABLE_FORMATTERS=0 TOML_EXCEPTIONS=0)

set(THREADS_PREFER_PTHREAD_FLAG ON)
find_package(Threads REQUIRED)
