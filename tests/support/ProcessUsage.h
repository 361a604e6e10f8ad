#pragma once

#include <sys/resource.h>
#include <time.h>

// What this process has used so far, for checks that an idle component stays idle.

// CPU time of all threads, in seconds.
inline double ProcessCpuSeconds() {
  timespec now{};
  ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

// Times a thread gave up the processor to wait.
inline long VoluntaryContextSwitches() {
  rusage usage{};
  ::getrusage(RUSAGE_SELF, &usage);
  return usage.ru_nvcsw;
}
