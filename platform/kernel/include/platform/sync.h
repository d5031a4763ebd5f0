// Kernel objects for synchronisation and threads: events, mutexes, threads, waits, Sleep and the
// tick count. Every object lives in the one handle table (platform/handles.h), so CloseHandle and
// WaitForSingleObject work on all of them. Time-outs and sleeps are device milliseconds
// (platform/device.h): a device clock that runs faster shortens them all alike.
#pragma once

#include "platform/handles.h"
#include "platform/types.h"

struct SECURITY_ATTRIBUTES;
using LPSECURITY_ATTRIBUTES = SECURITY_ATTRIBUTES*;
using LPTHREAD_START_ROUTINE = DWORD (*)(LPVOID parameter);

inline constexpr DWORD INFINITE = 0xFFFFFFFF;
inline constexpr DWORD WAIT_OBJECT_0 = 0;
inline constexpr DWORD WAIT_TIMEOUT = 258;
inline constexpr DWORD WAIT_FAILED = 0xFFFFFFFF;
inline constexpr DWORD CREATE_SUSPENDED = 0x4;
inline constexpr DWORD STILL_ACTIVE = 259;

namespace platform {

// What every object that can be waited on offers. Wait consumes the signal where the object's
// kind says so (an auto-reset event, a mutex being acquired).
class Waitable : public KernelObject {
 public:
  // Returns true when the object was signalled within timeoutMs device milliseconds.
  virtual bool Wait(DWORD timeoutMs) = 0;
};

}  // namespace platform

// Events: manual-reset or auto-reset; a named event is shared by the handles of one process.
HANDLE CreateEventW(LPSECURITY_ATTRIBUTES attributes, BOOL manualReset, BOOL initialState,
                    LPCWSTR name);
BOOL SetEvent(HANDLE event);
BOOL ResetEvent(HANDLE event);

// Mutexes. A named mutex is known to every process of the device: while any process holds a
// handle to it, another CreateMutexW of that name sets ERROR_ALREADY_EXISTS. Ownership through
// waits works between the threads of one process (the device layer's processes share names,
// not ownership).
HANDLE CreateMutexW(LPSECURITY_ATTRIBUTES attributes, BOOL initialOwner, LPCWSTR name);
BOOL ReleaseMutex(HANDLE mutex);

// Waits on any waitable handle: an event, mutex, thread or process.
DWORD WaitForSingleObject(HANDLE handle, DWORD timeoutMs);

// Threads are host threads. The thread id is the host's thread id, unique on the host, so it
// also names the thread to the other processes of the device (PostThreadMessageW).
HANDLE CreateThread(LPSECURITY_ATTRIBUTES attributes, SIZE_T stackSize,
                    LPTHREAD_START_ROUTINE start, LPVOID parameter, DWORD creationFlags,
                    LPDWORD threadId);
DWORD ResumeThread(HANDLE thread);
// Marks the thread ended with the exit code and wakes its waiters. The host cannot stop a thread
// safely from outside, so unlike the device the host thread runs on until its function returns;
// it is no longer a thread of the device.
BOOL TerminateThread(HANDLE thread, DWORD exitCode);
BOOL GetExitCodeThread(HANDLE thread, LPDWORD exitCode);
DWORD GetCurrentThreadId();
DWORD GetCurrentProcessId();

// Device clock: Sleep and the tick count run at the device's clock scale.
void Sleep(DWORD milliseconds);
DWORD GetTickCount();
