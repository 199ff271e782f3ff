#include "app/StartupTrace.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#ifndef _WIN32
#include <unistd.h>
#endif

namespace {

// How long the process had been running at the first call, in milliseconds:
// /proc/uptime minus the process's start time (field 22 of /proc/self/stat,
// in clock ticks since boot). 0 where /proc does not tell.
double AgeAtFirstCall() {
#ifdef _WIN32
  return 0;
#else
  std::ifstream uptimeFile("/proc/uptime"), statFile("/proc/self/stat");
  double uptime = 0;
  std::string stat;
  if (!(uptimeFile >> uptime) || !std::getline(statFile, stat)) return 0;
  // The command name (field 2) may hold blanks: count fields after its ')'.
  const size_t close = stat.rfind(')');
  if (close == std::string::npos) return 0;
  std::istringstream fields(stat.substr(close + 2));
  std::string field;
  for (int i = 3; i <= 22 && fields >> field; ++i) {
    if (i == 22) return (uptime - std::stod(field) / double(sysconf(_SC_CLK_TCK))) * 1000.0;
  }
  return 0;
#endif
}

}  // namespace

void TraceStartup(const char* step) {
  static const bool enabled = std::getenv("VELLUMIN_STARTUP_TRACE") != nullptr;
  if (!enabled) return;
  using Clock = std::chrono::steady_clock;
  static const Clock::time_point first = Clock::now();
  static const double age = AgeAtFirstCall();
  const double ms = age + std::chrono::duration<double, std::milli>(Clock::now() - first).count();
  std::fprintf(stderr, "vellumin-startup %8.1f %s\n", ms, step);
}
