#pragma once
// Helpers shared by the test programs.
#include <memory>
#include <string>

#include "platform/Registry.h"

// A fresh folder under the system's temporary folder, removed with everything
// in it when the object goes.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  const std::string& Path() const { return path_; }
  std::string File(const std::string& name) const { return path_ + "/" + name; }

 private:
  std::string path_;
};

// Installs a registry whose two hives are files in a temporary folder for the
// life of the object, so each test starts on a clean profile.
class ScopedTestRegistry {
 public:
  ScopedTestRegistry();
  ~ScopedTestRegistry();
  IRegistry& Get() { return *registry_; }
  const std::string& Folder() const { return dir_.Path(); }
  std::string CurrentUserPath() const { return dir_.File("HKCU.hive"); }
  std::string LocalMachinePath() const { return dir_.File("HKLM.hive"); }

 private:
  TempDir dir_;
  std::unique_ptr<IRegistry> registry_;
};

// Reads a whole file as bytes; empty when it cannot be read.
std::string ReadFileBytes(const std::string& path);
// Writes bytes to a file, replacing it; false on failure.
bool WriteFileBytes(const std::string& path, const std::string& bytes);
