// The kernel area of the device layer: modules and resources, memory, files, threads and
// formatted text.
#pragma once

#include "platform/files.h"
#include "platform/local_memory.h"
#include "platform/memory.h"
#include "platform/module.h"
#include "platform/process.h"
#include "platform/resources.h"
#include "platform/sync.h"
#include "platform/threads.h"
#include "platform/wsprintf.h"
