#pragma once
// The registry seam on Windows: the system registry through the ANSI (A)
// functions, so names and strings are in the system's ANSI code page.
//
// The system already behaves as the seam asks: names compare without regard
// to case and keep the case first written, sub-keys are listed sorted.
// Batches are no-ops here: the registry has no cheap transaction that the
// routines' open-per-call keys could join, so an interrupted library save can
// leave part of the new library (the SQLite hive of the Linux build is the one
// that saves atomically).
#include <string>

#include "platform/Registry.h"

class TWin32Registry : public IRegistry {
 public:
  // With an empty `redirect`, the hives are HKEY_CURRENT_USER and
  // HKEY_LOCAL_MACHINE. Otherwise both live below HKEY_CURRENT_USER\<redirect>,
  // in the sub-keys "CurrentUser" and "LocalMachine": a private pair of hives
  // that tests create and drop at will.
  explicit TWin32Registry(std::string redirect = {});

  std::unique_ptr<IRegKey> OpenKey(RegHive hive, const std::string& path, bool create) override;
  bool BeginBatch(RegHive) override { return true; }
  bool CommitBatch(RegHive) override { return true; }
  void RollbackBatch(RegHive) override {}

  // Deletes the redirected hives with everything in them (nothing without a redirect).
  void DropRedirectedHives();

 private:
  std::string redirect_;
};
