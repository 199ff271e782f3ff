// Helper program of the Windows tests; also the carrier of the test version
// resources (each copy of it is built with a different one, or none).
//   helper mutex <name>        exit 0 when the instance lock was free, 1 when taken,
//                              2 when it could not be taken at all
//   helper hold <name>         takes the lock, sets event <name>-ready, waits for <name>-release
#include <windows.h>

#include <cstring>
#include <string>

#include "platform/SingleInstance.h"

int main(int argc, char** argv) {
  if (argc == 3 && std::strcmp(argv[1], "mutex") == 0) {
    switch (AcquireSingleInstance(argv[2])) {
      case InstanceLock::Taken:
        return 0;
      case InstanceLock::HeldElsewhere:
        return 1;
      case InstanceLock::Unavailable:
        return 2;
    }
  }
  if (argc == 3 && std::strcmp(argv[1], "hold") == 0) {
    const std::string name = argv[2];
    if (AcquireSingleInstance(name) != InstanceLock::Taken) return 1;
    HANDLE ready = CreateEventA(nullptr, TRUE, FALSE, (name + "-ready").c_str());
    HANDLE release = CreateEventA(nullptr, TRUE, FALSE, (name + "-release").c_str());
    SetEvent(ready);
    WaitForSingleObject(release, 30000);
    return 0;
  }
  return 3;
}
