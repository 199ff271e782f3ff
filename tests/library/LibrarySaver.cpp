// Test helper for the crash test: saves two different libraries into the hive
// at argv[1], one after the other, for ever, and says "R" on stdout once the
// first save begins. The test kills it at varied moments.
#include <unistd.h>

#include <string>

#include "LibraryFixtures.h"
#include "platform/linux/SqliteHive.h"

int main(int argc, char** argv) {
  if (argc != 2) return 2;
  SqliteRegistry registry(argv[1], ":memory:");
  SetRegistry(&registry);
  TFolder a, b;
  FillLibrary(a, 8, 60, "A");
  FillLibrary(b, 8, 60, "B");
  [[maybe_unused]] ssize_t n = write(STDOUT_FILENO, "R", 1);
  for (;;) {
    SaveLibrary(RegHive::CurrentUser, "Lib", b);
    SaveLibrary(RegHive::CurrentUser, "Lib", a);
  }
}
