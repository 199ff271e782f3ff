#pragma once
// The export file: the whole library written as flat 8-bit text and read back
// into a new folder.
//
//   KVLMN <version>          signature (only "KVLMN" is checked on reading)
//   <empty>
//   Name;Kind;Value;         header
//   <name>;<kind>;<value>;   one line per paste item, depth first from the root
//
// Every line ends with CR LF. In names and values a CR becomes "$" and an LF is
// dropped; on reading "$" becomes CR LF. ";" and "$" are not escaped, so a
// name or value holding them does not come back unchanged.
//
// The run operations report through IImpExpProgress (the progress dialog in
// the program) and never throw.
#include <cstdio>
#include <string>
#include <string_view>

#include "library/clsLibrary.h"

class IImpExpProgress {
 public:
  virtual ~IImpExpProgress() = default;
  // Shows a title line, a text line and a position from 0 to 100, then lets
  // pending window messages run.
  virtual void ShowProgress(const std::string& title, const std::string& text, int position) = 0;
  // Appends one line to the details list, marked as an error or a success.
  virtual void AddDetail(const std::string& text, bool error) = 0;
};

// Default extension of export files, without the dot.
inline constexpr const char* kExportFileExt = "vle";
inline constexpr const char* kExportSignature = "KVLMN";
inline constexpr const char* kExportHeader = "Name;Kind;Value;";

// CR becomes "$", LF is dropped, every other byte is kept.
std::string EncodeLineBreaks(std::string_view text);
// "$" becomes CR LF, every other byte is kept.
std::string DecodeLineBreaks(std::string_view text);

// The item's line without its CR LF: encoded name, kind in decimal, encoded
// value, each closed by ";".
std::string ItemLine(const TPasteItem& item);
// Appends the item's line and CR LF to the open file; throws on a write error.
void WriteItemLine(const TPasteItem& item, std::FILE* file);

// Throws ESLException "Invalid export file extension." unless the file name's
// extension is ".vle" (ASCII letters compared case-insensitively).
void CheckExportFileExt(const std::string& fileName);
// Throws ESLException "Invalid export file name." when the file does not
// exist or is not a regular file (after links: a folder, a FIFO or a device
// is refused without being opened), then checks the extension as
// CheckExportFileExt does.
void CheckImportFileName(const std::string& fileName);

// Writes every item under root (its own items first, then each sub-folder's,
// depth first) to fileName, with `version` in the signature line. The file is
// written beside the target under a temporary name, readable by the user
// only, and put in place only once complete, so a failed export leaves any
// earlier file as it was; a read-only target is replaced too.
void WriteExportFile(const std::string& fileName, const TFolder& root, const std::string& version,
                     IImpExpProgress& progress);

// Reads fileName into a new folder "Imported Items" appended to root and
// returns it; on any failure the folder is removed again, root is exactly as
// before, and the result is nullptr. Only a regular file is read (a link to
// one is fine); anything else fails with "Invalid export file name." and is
// never read, nor waited for.
TFolder* ReadExportFile(const std::string& fileName, TFolder& root, IImpExpProgress& progress);
// The same for a file's bytes already in memory.
TFolder* ReadExportData(std::string_view data, TFolder& root, IImpExpProgress& progress);
