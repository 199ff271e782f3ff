#include <windows.h>

#include "platform/SingleInstance.h"

// The named mutex, created not owned. The handle of the instance that got it
// first is never closed: the name stays taken until that process ends. A
// refused caller lets go of its handle, so its own end frees nothing it held.
// When the system cannot create the mutex (the name taken by another kind of
// object, say) nothing proves that no other instance runs: the start is refused.
InstanceLock AcquireSingleInstance(const std::string& name) {
  HANDLE mutex = CreateMutexA(nullptr, FALSE, name.c_str());
  if (mutex == nullptr) return InstanceLock::Unavailable;
  if (GetLastError() == ERROR_ALREADY_EXISTS) {
    CloseHandle(mutex);
    return InstanceLock::HeldElsewhere;
  }
  return InstanceLock::Taken;
}
