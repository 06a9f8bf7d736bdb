# The package as a user gets it. package_test.sh builds it with this tree's own package target
# (everything is already built, so that is only the archive), unpacks it into a fresh folder,
# checks its file list, that vessa.exe has no debug sections and is the one whose debug link
# release/vessa.exe.debug answers; then this folder's test program runs the unpacked
# vessa.exe in the taskbar desktop.
add_dependencies(vessa_e2e_package vessa_release)
vessa_add_wine_test(NAME vessa_e2e_package_shell VARIANT shell TIMEOUT 300
  COMMAND ${CMAKE_CURRENT_LIST_DIR}/package_test.sh ${CMAKE_COMMAND} ${CMAKE_BINARY_DIR} vessa-${PROJECT_VERSION}
          ${CMAKE_OBJDUMP} ${CMAKE_NM} ${CMAKE_ADDR2LINE} $<TARGET_FILE:vessa>
          ${PROJECT_SOURCE_DIR}/tests/wine/run-in-wine.sh $<TARGET_FILE:vessa_e2e_package>
          --gtest_filter=Shell_* --gtest_brief=1)

# The libraries the packaged vessa.exe loads at start-up (no Wine needed).
add_test(NAME vessa_release_imports
  COMMAND ${CMAKE_CURRENT_LIST_DIR}/release_imports.sh ${CMAKE_OBJDUMP} ${VESSA_RELEASE_DIR}/vessa.exe)
