#include <string>
  #include "app/app_state_win.hpp"
#include <settings/ui_text.hpp>
