#pragma once
// A timeline of start-up for finding where its time goes: with the
// environment variable VELLUMIN_STARTUP_TRACE set, each call writes one line
// to standard error, "vellumin-startup <ms> <step>", the milliseconds counted
// from the moment the process was created (its start time in /proc, whose
// clock has 10 ms steps, plus a steady clock from the first call). Without
// the variable a call costs one test of a flag.
void TraceStartup(const char* step);
