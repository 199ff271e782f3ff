#pragma once
// One instance per user session. Windows: the named mutex; Linux: an exclusive
// lock on a file in the user's private folder, held until the process ends.
#include <string>

enum class InstanceLock {
  Taken,          // this process holds the lock now, for the rest of its life
  HeldElsewhere,  // another process holds it: another instance runs
  Unavailable,    // the lock could not be taken, so nothing says no other instance runs
};

// Takes the instance lock `name`. The lock stays held for the life of the
// process. Only Taken allows the program to start.
InstanceLock AcquireSingleInstance(const std::string& name);
