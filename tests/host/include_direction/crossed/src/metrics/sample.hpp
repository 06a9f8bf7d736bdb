#include "weather/weather_reading.hpp"
