# System libraries that only rare paths call, linked so that each is loaded at the first call
# of one of its functions instead of at start-up: the settings window's (the colour chooser,
# the dark title bar, the preview's subclass, the control themes) and the clock search on
# secondary displays (UI Automation's strings). The colour chooser's library alone brings the
# printing stack with it, the common controls more than a megabyte. (The settings window's
# buttons, edits and combo boxes still get the themed common controls through the manifest:
# Windows loads the library for them when the first one is created.)
#
# MinGW's linker has no delay-load switch: dlltool makes a delay-load import library from a
# list of the functions called, and the link takes them from it before the ordinary import
# libraries. A function missing from a list still links, but through the ordinary import
# library, which loads its library at start-up again: tests/release_imports.sh catches that.
# (A library that cannot be loaded at the first call ends the process, as a missing import
# would have ended it at start-up; all of these are part of every Windows.)
#
# GNU ld 2.44 and later link the table the delay-load helper writes each function's address
# into as read-only: src/base/delay_load_win.cpp hooks the helper to make each entry writable
# first. Nothing in the program refers to that hook, so the link is told to take it.
#
# Sets VESSA_DELAY_LOAD_LIBRARIES to the libraries (and the link option) to link before the
# ordinary ones.

set(VESSA_DELAY_LOAD_LIBRARIES)
if(NOT MINGW OR NOT CMAKE_DLLTOOL)
  return()
endif()
set(VESSA_DELAY_LOAD_LIBRARIES -Wl,--undefined=__pfnDliNotifyHook2)

function(vessa_delay_load_library dll)
  get_filename_component(stem ${dll} NAME_WE)
  set(folder ${CMAKE_BINARY_DIR}/delay-load)
  set(definition ${folder}/${stem}.def)
  set(library ${folder}/lib${stem}_delay.a)
  list(JOIN ARGN "\n" exports)
  file(CONFIGURE OUTPUT ${definition} CONTENT "LIBRARY ${dll}\nEXPORTS\n${exports}\n")
  execute_process(
    COMMAND ${CMAKE_DLLTOOL} --input-def ${definition} --output-delaylib ${library} --dllname ${dll}
    RESULT_VARIABLE status ERROR_VARIABLE output)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "dlltool could not make ${library}: ${output}")
  endif()
  set(VESSA_DELAY_LOAD_LIBRARIES ${VESSA_DELAY_LOAD_LIBRARIES} ${library} PARENT_SCOPE)
endfunction()

vessa_delay_load_library(comdlg32.dll ChooseColorW)
vessa_delay_load_library(dwmapi.dll DwmSetWindowAttribute)
vessa_delay_load_library(oleaut32.dll SysAllocString SysFreeString VariantInit)
vessa_delay_load_library(comctl32.dll DefSubclassProc RemoveWindowSubclass SetWindowSubclass)
vessa_delay_load_library(uxtheme.dll SetWindowTheme)
