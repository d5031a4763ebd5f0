#include "platform/threads.h"

#include <pthread.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

void ExitThread(DWORD exitCode) {
  if (getpid() == static_cast<pid_t>(syscall(SYS_gettid))) {
    std::fflush(nullptr);
    std::exit(static_cast<int>(exitCode));
  }
  pthread_exit(reinterpret_cast<void*>(static_cast<uintptr_t>(exitCode)));
}
