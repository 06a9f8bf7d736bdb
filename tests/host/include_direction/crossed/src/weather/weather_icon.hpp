#include "render/canvas.hpp"
