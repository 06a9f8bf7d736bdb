# What a Windows user downloads: vessa-<version>-win64.zip holding the folder vessa-<version>
# with vessa.exe, README.txt, LICENSE and configuration.md, the reference of every key
# (docs/configuration.md, which a host test checks against the configuration's key list).
#
# The executable in it is the one this tree builds (optimised, assertions off, static
# runtime) with its debug sections taken out. They go into release/vessa.exe.debug, which
# stays beside the build: the stripped executable names it in a GNU debug link, so that
# addr2line and gdb still read the addresses of a crash report against it.
#
#   cmake --build build/win --target package

set(VESSA_RELEASE_DIR ${CMAKE_BINARY_DIR}/release)
set(release_exe ${VESSA_RELEASE_DIR}/vessa.exe)
set(release_debug ${VESSA_RELEASE_DIR}/vessa.exe.debug)

if(MINGW AND CMAKE_OBJCOPY)
  # objcopy writes the debug link with the file name only and a checksum of the debug file,
  # so it runs in the release folder.
  add_custom_command(OUTPUT ${release_exe} ${release_debug}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${VESSA_RELEASE_DIR}
    COMMAND ${CMAKE_OBJCOPY} --only-keep-debug $<TARGET_FILE:vessa> vessa.exe.debug
    COMMAND ${CMAKE_OBJCOPY} --strip-all --add-gnu-debuglink=vessa.exe.debug $<TARGET_FILE:vessa> vessa.exe
    DEPENDS vessa
    WORKING_DIRECTORY ${VESSA_RELEASE_DIR}
    COMMENT "Splitting vessa.exe into release/vessa.exe and release/vessa.exe.debug"
    VERBATIM)
  add_custom_target(vessa_release ALL DEPENDS ${release_exe} ${release_debug})
else()
  # Other toolchains (MSVC) keep the debug information in a file of its own already.
  add_custom_command(OUTPUT ${release_exe}
    COMMAND ${CMAKE_COMMAND} -E copy_if_different $<TARGET_FILE:vessa> ${release_exe}
    DEPENDS vessa
    VERBATIM)
  add_custom_target(vessa_release ALL DEPENDS ${release_exe})
endif()

set(package_folder vessa-${PROJECT_VERSION})
install(PROGRAMS ${release_exe} DESTINATION ${package_folder})
install(FILES ${PROJECT_SOURCE_DIR}/packaging/README.txt ${PROJECT_SOURCE_DIR}/LICENSE
              ${PROJECT_SOURCE_DIR}/docs/configuration.md
        DESTINATION ${package_folder})

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME vessa)
set(CPACK_PACKAGE_VENDOR "The VESSA authors")
set(CPACK_PACKAGE_FILE_NAME vessa-${PROJECT_VERSION}-win64)
# The folder inside the archive comes from the install destination above.
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_OUTPUT_FILE_PREFIX ${CMAKE_BINARY_DIR})
set(CPACK_VERBATIM_VARIABLES ON)
include(CPack)
