#include "weather/weather_reading.hpp"
#include "settings/ui_text.hpp"
