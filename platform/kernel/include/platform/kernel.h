// The kernel area of the device layer: modules and resources, and what later joins them.
#pragma once

#include "platform/local_memory.h"
#include "platform/process.h"
#include "platform/resources.h"
#include "platform/sync.h"
