// The kernel area of the device layer: modules and resources, memory, files, threads and
// formatted text.
#pragma once

#include "platform/files.h"
#include "platform/memory.h"
#include "platform/module.h"
#include "platform/resources.h"
#include "platform/threads.h"
#include "platform/wsprintf.h"
