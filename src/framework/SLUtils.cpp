#include "framework/SLUtils.h"

#ifdef _WIN32
#include <windows.h>

#include <cctype>
#else
#include <sys/stat.h>
#include <unistd.h>
#endif

#ifdef _WIN32

namespace {

bool FileExists(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

// Whether the drive answers a size query, without the system asking the user
// to insert a disk.
bool DriveReady(char letter) {
  const std::string root = std::string(1, letter) + ":\\";
  const UINT previous = SetErrorMode(SEM_FAILCRITICALERRORS);
  ULARGE_INTEGER total;
  const BOOL ok = GetDiskFreeSpaceExA(root.c_str(), nullptr, &total, nullptr);
  SetErrorMode(previous);
  return ok != 0;
}

}  // namespace

bool FileExistsSafe(const std::string& path) {
  if (path.rfind("\\\\", 0) == 0) return FileExists(path);  // network path
  // The drive part is "X:" at the start; a path without one is taken on C.
  char letter = (path.size() >= 2 && path[1] == ':') ? path[0] : 'C';
  letter = static_cast<char>(std::toupper(static_cast<unsigned char>(letter)));
  if (letter < 'A' || letter > 'Z') return false;
  if (!DriveReady(letter)) return false;
  return FileExists(path);
}

void DeleteFileForced(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0)
    SetFileAttributesA(path.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY);
  DeleteFileA(path.c_str());
}

#else

// Linux has no drive letters and never prompts for a disk: a plain test that
// something other than a directory exists at the path (following links).
bool FileExistsSafe(const std::string& path) {
  struct stat st;
  return stat(path.c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}

// A file without write permission is made writable first, so that deleting it
// behaves the same whether or not the caller could have written it. Directories
// are left alone (unlink refuses them).
void DeleteFileForced(const std::string& path) {
  struct stat st;
  if (lstat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && (st.st_mode & S_IWUSR) == 0)
    chmod(path.c_str(), (st.st_mode & 07777) | S_IWUSR);
  unlink(path.c_str());
}

#endif

std::string BoolToText(bool b) {
  return b ? "TRUE" : "FALSE";
}

bool TextToBool(const std::string& s) {
  return s == "TRUE";
}
