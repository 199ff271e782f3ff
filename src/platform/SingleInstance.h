#pragma once
// One instance per user session. Windows: the named mutex; Linux: an exclusive
// lock on a file in $XDG_RUNTIME_DIR (else the temporary folder), held until
// the process ends.
#include <string>

// Takes the instance lock `name`; false when another process holds it. The
// lock stays held for the life of the process.
bool AcquireSingleInstance(const std::string& name);
