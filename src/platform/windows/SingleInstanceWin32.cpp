#include <windows.h>

#include "platform/SingleInstance.h"

// The named mutex, created not owned. The handle of the instance that got it
// first is never closed: the name stays taken until that process ends. A
// refused caller lets go of its handle, so its own end frees nothing it held.
bool AcquireSingleInstance(const std::string& name) {
  HANDLE mutex = CreateMutexA(nullptr, FALSE, name.c_str());
  if (mutex != nullptr && GetLastError() == ERROR_ALREADY_EXISTS) {
    CloseHandle(mutex);
    return false;
  }
  return true;  // also when the system could not create it: do not keep the user from working
}
