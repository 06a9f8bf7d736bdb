#include "weather/weather_icon.hpp"

namespace vessa {

void draw_weather_icon(Canvas /*canvas*/, const IconBox& /*box*/, Rgb /*color*/, std::uint8_t /*kind*/) {
  // Drawn by the weather icon renderer; until then no icon is drawn.
}

}  // namespace vessa
