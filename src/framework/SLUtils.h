#pragma once
// Small file and text utilities shared by several subsystems.
#include <string>

// Whether the file exists, without the system ever prompting for a disk
// (on Linux a plain existence test).
bool FileExistsSafe(const std::string& path);
// Deletes the file even when it is read-only; failures are silent.
void DeleteFileForced(const std::string& path);
// "TRUE" / "FALSE"
std::string BoolToText(bool b);
// True exactly for "TRUE" (case-sensitive).
bool TextToBool(const std::string& s);
