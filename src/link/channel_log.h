// The log formatter lives with the other operator seams in the data layer.
#pragma once

#include "data/log_lines.h"
