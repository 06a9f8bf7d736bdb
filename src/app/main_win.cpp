#include <windows.h>

#include "app/application_win.hpp"

int WINAPI wWinMain(HINSTANCE /*instance*/, HINSTANCE /*previous*/, PWSTR /*command_line*/, int /*show*/) {
  return vessa::run_application();
}
