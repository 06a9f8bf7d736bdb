# The settings window is opened from the tray menu: the tray area's helpers come along.
get_filename_component(tray_area ${CMAKE_CURRENT_LIST_DIR}/../tray ABSOLUTE)
target_sources(vessa_e2e_settings PRIVATE ${tray_area}/tray_support.cpp)
target_include_directories(vessa_e2e_settings PRIVATE ${tray_area})
# The dark pages, whose pictures scripts/settings-pictures.sh puts into docs/, run on their
# own so that the script can run just them.
set(pictures "Shell_Themes/Shell_SettingsPages.*/Dark")
vessa_add_wine_test(NAME vessa_e2e_settings_shell VARIANT shell
  COMMAND vessa_e2e_settings --gtest_filter=Shell_*:-${pictures} --gtest_brief=1)
vessa_add_wine_test(NAME vessa_e2e_settings_pictures VARIANT shell
  COMMAND vessa_e2e_settings --gtest_filter=${pictures} --gtest_brief=1)
