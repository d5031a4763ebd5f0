// The kernel area of the device layer: modules and resources, and what later joins them.
#pragma once

#include "platform/resources.h"
