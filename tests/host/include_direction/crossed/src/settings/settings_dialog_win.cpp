#include "startup/startup_registration_win.hpp"
