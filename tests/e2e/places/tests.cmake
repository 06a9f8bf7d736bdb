# The place search and the device location, driven through the real settings window, which
# opens from the tray menu: the tray and settings areas' helpers come along. The search host
# is answered by the local HTTPS server, as the weather's forecast host is.
foreach(helper_area IN ITEMS tray settings)
  get_filename_component(helper_dir ${CMAKE_CURRENT_LIST_DIR}/../${helper_area} ABSOLUTE)
  target_sources(vessa_e2e_places PRIVATE ${helper_dir}/${helper_area}_support.cpp)
  target_include_directories(vessa_e2e_places PRIVATE ${helper_dir})
endforeach()
vessa_add_https_gtest(vessa_e2e_places)
