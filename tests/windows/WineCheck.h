#pragma once
// Whether the tests run under Wine rather than on Windows itself, for the few
// places where Wine is known to differ.
#include <windows.h>

#include <string>

inline bool RunningUnderWine() {
  HMODULE ntdll = GetModuleHandleA("ntdll.dll");
  return ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

// The folder of this program file, with a trailing backslash.
inline std::string ProgramFolder() {
  char path[MAX_PATH] = {};
  const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string folder(path, length);
  return folder.substr(0, folder.find_last_of("\\/") + 1);
}
