#include <string>
  #include "app/app_state_win.hpp"
