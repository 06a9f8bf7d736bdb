#include "base/error.hpp"
