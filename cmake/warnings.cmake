add_library(vessa_warnings INTERFACE)
if(MSVC)
  target_compile_options(vessa_warnings INTERFACE /W4 /permissive-)
else()
  target_compile_options(vessa_warnings INTERFACE
    -Wall -Wextra -Wshadow -Wimplicit-fallthrough -Wnon-virtual-dtor -Wold-style-cast -Wcast-qual
    -Wpedantic -Wno-missing-field-initializers)
endif()
