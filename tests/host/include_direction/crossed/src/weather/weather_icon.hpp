#include "render/canvas.hpp"
#include "metrics/sample.hpp"
