#include "exchange/clsExportFile.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <exception>
#include <filesystem>
#include <initializer_list>
#include <memory>
#include <optional>
#include <vector>

#include "app/Strings.h"
#include "framework/SLExceptions.h"
#include "framework/SLText.h"
#include "framework/SLUtils.h"

#ifdef _WIN32
#include <io.h>
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

// Every line break becomes one "$": a CR LF pair, and a lone CR or a lone LF
// too, so a value stored with bare LFs keeps its lines.
void AppendEncoded(std::string& out, std::string_view text) {
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\r') {
      out += '$';
      if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else if (c == '\n') {
      out += '$';
    } else {
      out += c;
    }
  }
}

void AppendItemLine(std::string& out, const TPasteItem& item) {
  AppendEncoded(out, item.Name);
  out += ';';
  char kind[4];
  const int n = std::snprintf(kind, sizeof kind, "%u", static_cast<unsigned>(item.Kind));
  out.append(kind, n);
  out += ';';
  AppendEncoded(out, item.Value);
  out += ';';
}

// The format with its "%s" and "%d" placeholders replaced by args, in order,
// in one pass (an argument that holds "%s" stays as it is).
std::string Format(std::string_view format, std::initializer_list<std::string_view> args) {
  std::string result;
  size_t size = format.size();
  for (std::string_view arg : args) size += arg.size();
  result.reserve(size);
  auto arg = args.begin();
  size_t done = 0;
  for (size_t i = format.find('%'); i != std::string_view::npos && arg != args.end();
       i = format.find('%', i + 1)) {
    if (i + 1 < format.size() && (format[i + 1] == 's' || format[i + 1] == 'd')) {
      result.append(format, done, i - done);
      result.append(*arg++);
      done = i + 2;
      ++i;
    }
  }
  result.append(format, done);
  return result;
}

std::string FillIn(Str format, const std::string& arg) {
  return Format(Text(format), {arg});
}

std::string SystemError(int error) {
  return std::strerror(error);
}

// A failed write to the open export file; the caller names the file.
class EWriteError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

[[noreturn]] void FileFailure(Str format, const std::string& fileName, const std::string& reason) {
  throw std::runtime_error(Format(Text(format), {fileName, reason}));
}

// Why a name or value would not come back from its field, if it would not:
// ";" and "$" are not escaped, and an empty field fails the import. Every
// line break survives (as CR LF, the form the editor gives).
std::optional<Str> FieldProblem(std::string_view text) {
  if (text.find_first_of(";$") != std::string_view::npos) return Str::ExchReasonReserved;
  if (text.empty()) return Str::ExchReasonEmpty;
  return std::nullopt;
}

std::optional<Str> RoundTripProblem(const TPasteItem& item) {
  std::optional<Str> name = FieldProblem(item.Name), value = FieldProblem(item.Value);
  // The reserved characters are named first, then an empty field.
  for (Str reason : {Str::ExchReasonReserved, Str::ExchReasonEmpty})
    if (name == reason || value == reason) return reason;
  return std::nullopt;
}

std::string FullFileName(const std::string& fileName) {
  std::error_code ec;
  std::filesystem::path full = std::filesystem::absolute(fileName, ec);
  return ec ? fileName : full.lexically_normal().string();
}

void WriteBytes(std::FILE* file, std::string_view bytes) {
  if (!bytes.empty() && std::fwrite(bytes.data(), 1, bytes.size(), file) != bytes.size())
    throw EWriteError(SystemError(errno));
}

// A new, empty file beside the export target, readable by the user only. It
// is removed when the object goes unless Commit moved it onto the target.
class TTempExportFile {
 public:
  explicit TTempExportFile(const std::string& target) : target_(target) {
    std::filesystem::path dir = std::filesystem::path(target).parent_path();
#ifdef _WIN32
    char name[MAX_PATH];
    const std::string dirText = dir.empty() ? std::string(".") : dir.string();
    if (GetTempFileNameA(dirText.c_str(), "vle", 0, name) == 0)
      FileFailure(Str::ExchCannotCreate, target, "system error " + std::to_string(GetLastError()));
    path_ = name;
    file_ = std::fopen(path_.c_str(), "wb");
    if (file_ == nullptr) {
      const int error = errno;
      DeleteFileA(path_.c_str());
      path_.clear();
      FileFailure(Str::ExchCannotCreate, target, SystemError(error));
    }
#else
    std::string pattern = (dir / ".vellumin-export-XXXXXX").string();
    const int fd = mkstemp(pattern.data());  // mode 0600
    if (fd < 0) FileFailure(Str::ExchCannotCreate, target, SystemError(errno));
    path_ = pattern;
    file_ = fdopen(fd, "wb");
    if (file_ == nullptr) {
      const int error = errno;
      close(fd);
      unlink(path_.c_str());
      path_.clear();
      FileFailure(Str::ExchCannotCreate, target, SystemError(error));
    }
#endif
  }
  TTempExportFile(const TTempExportFile&) = delete;
  TTempExportFile& operator=(const TTempExportFile&) = delete;
  ~TTempExportFile() {
    if (file_ != nullptr) std::fclose(file_);
    if (!path_.empty()) std::remove(path_.c_str());
  }

  std::FILE* File() const {
    return file_;
  }

  // Flushes the file to the disk, closes it and puts it in place of the target.
  void Commit() {
    if (std::fflush(file_) != 0) FileFailure(Str::ExchCannotWrite, target_, SystemError(errno));
#ifndef _WIN32
    if (fsync(fileno(file_)) != 0) FileFailure(Str::ExchCannotWrite, target_, SystemError(errno));
#endif
    const int closed = std::fclose(file_);
    file_ = nullptr;
    if (closed != 0) FileFailure(Str::ExchCannotWrite, target_, SystemError(errno));

#ifdef _WIN32
    // Windows refuses to replace a read-only file: clear the attribute first.
    const DWORD attributes = GetFileAttributesA(target_.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0)
      SetFileAttributesA(target_.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY);
    if (!MoveFileExA(path_.c_str(), target_.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
      FileFailure(Str::ExchCannotReplace, target_,
                  "system error " + std::to_string(GetLastError()));
#else
    // rename replaces the target whatever its mode: only the folder's matters.
    if (std::rename(path_.c_str(), target_.c_str()) != 0)
      FileFailure(Str::ExchCannotReplace, target_, SystemError(errno));
#endif
    path_.clear();
  }

 private:
  std::string target_;
  std::string path_;
  std::FILE* file_ = nullptr;
};

void WriteFolderItems(const TFolder& folder, std::FILE* file, IImpExpProgress& progress) {
  for (const TPasteItem* item : folder.Items) {
    WriteItemLine(*item, file);
    if (std::optional<Str> problem = RoundTripProblem(*item))
      progress.AddDetail(Format(Text(Str::ExchItemNotRoundTrip), {item->Name, Text(*problem)}),
                         true);
    else
      progress.AddDetail(FillIn(Str::ExchItemExported, item->Name), false);
  }
  for (const TFolder* sub : folder.Folders) WriteFolderItems(*sub, file, progress);
}

[[noreturn]] void InvalidFileName() {
  throw ESLException(Text(Str::ExchInvalidFileName), Text(Str::ExchInvalidFileName));
}

// Whether something stands at the path that is not a regular file (after
// links): a folder, a FIFO, a device. Asked without opening it, since opening
// a FIFO for reading waits for a writer and a device may never end.
bool IsSomethingElse(const std::string& fileName) {
#ifdef _WIN32
  std::error_code ec;
  const std::filesystem::file_status status = std::filesystem::status(fileName, ec);
  if (std::filesystem::exists(status) && !std::filesystem::is_regular_file(status)) return true;
  // A device name (NUL, CON, COM1 ...) looks like a file by its name: ask the
  // handle, opened for no access at all, so nothing is read or written.
  const HANDLE handle =
      CreateFileA(fileName.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                  nullptr, OPEN_EXISTING, 0, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return false;  // missing or unreadable: the open tells
  const bool disk = GetFileType(handle) == FILE_TYPE_DISK;
  CloseHandle(handle);
  return !disk;
#else
  struct stat st;
  return stat(fileName.c_str(), &st) == 0 && !S_ISREG(st.st_mode);
#endif
}

// Opens a regular file for reading. Anything else is refused with the
// file-name message; a missing or unreadable file fails as a file that
// cannot be opened. What was opened is checked again, so a file swapped for
// a FIFO or a device after the first look is refused as well.
std::FILE* OpenRegularFile(const std::string& fileName) {
  if (IsSomethingElse(fileName)) InvalidFileName();
#ifdef _WIN32
  std::FILE* file = std::fopen(fileName.c_str(), "rb");
  if (file == nullptr) FileFailure(Str::ExchCannotOpen, fileName, SystemError(errno));
  const auto handle = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(file)));
  if (GetFileType(handle) != FILE_TYPE_DISK) {
    std::fclose(file);
    InvalidFileName();
  }
  return file;
#else
  // O_NONBLOCK: should a FIFO stand here by now, the open does not wait for a writer.
  const int fd = open(fileName.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) FileFailure(Str::ExchCannotOpen, fileName, SystemError(errno));
  struct stat st;
  if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    close(fd);
    InvalidFileName();
  }
  fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK);
  std::FILE* file = fdopen(fd, "rb");
  if (file == nullptr) {
    const int error = errno;
    close(fd);
    FileFailure(Str::ExchCannotOpen, fileName, SystemError(error));
  }
  return file;
#endif
}

std::string LoadFile(const std::string& fileName) {
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(OpenRegularFile(fileName), &std::fclose);
  // Read straight into a string of the file's size; a file that grows
  // meanwhile is read to its end all the same.
  std::error_code ec;
  const auto size = std::filesystem::file_size(fileName, ec);
  std::string data(ec ? 0 : static_cast<size_t>(size), '\0');
  size_t filled = 0;
  for (;;) {
    if (filled == data.size()) data.resize(filled + 65536);
    const size_t n = std::fread(data.data() + filled, 1, data.size() - filled, file.get());
    if (n == 0) break;
    filled += n;
  }
  data.resize(filled);
  if (std::ferror(file.get())) FileFailure(Str::ExchCannotOpen, fileName, SystemError(errno));
  return data;
}

// Splits the next line off text, which must not be empty. Lines end at CR LF,
// a lone CR or a lone LF; a final line break adds no empty line.
std::string_view TakeLine(std::string_view& text) {
  // The first LF, then the first CR before it: two fast searches instead of
  // one test per byte.
  const char* begin = text.data();
  const void* lf = std::memchr(begin, '\n', text.size());
  size_t end = lf != nullptr ? static_cast<const char*>(lf) - begin : text.size();
  if (const void* cr = std::memchr(begin, '\r', end)) end = static_cast<const char*>(cr) - begin;
  const std::string_view line = text.substr(0, end);
  size_t next = end;
  if (next < text.size())
    next += (text[next] == '\r' && next + 1 < text.size() && text[next + 1] == '\n') ? 2 : 1;
  text.remove_prefix(next);
  return line;
}

// The first ";" that starts a character: in UTF-8 a byte below 0x80 always
// does, in a double-byte code page it may be the second half of a character.
size_t FindSemicolon(std::string_view text) {
#ifdef _WIN32
  return FindAtCharBoundary(text, ";");
#else
  return text.find(';');
#endif
}

// Splits the text up to the first ";" off rest; an empty field, including a
// missing ";", is an invalid item line.
std::string_view TakeField(std::string_view& rest, size_t lineIndex) {
  const size_t end = FindSemicolon(rest);
  if (end == 0 || end == std::string_view::npos)
    throw ESLException(FillIn(Str::ExchInvalidItem, std::to_string(lineIndex)));
  const std::string_view field = rest.substr(0, end);
  rest.remove_prefix(end + 1);
  return field;
}

// The kind field as an integer, kept to its low 8 bits. Plain decimal is read
// here; everything else goes through StrToInt, with its notations and error.
uint8_t KindOf(std::string_view field) {
  if (field.size() <= 9) {
    int value = 0;
    size_t i = 0;
    while (i < field.size() && field[i] >= '0' && field[i] <= '9')
      value = value * 10 + (field[i++] - '0');
    if (i == field.size()) return static_cast<uint8_t>(value & 0xFF);
  }
  return static_cast<uint8_t>(StrToInt(std::string(field)) & 0xFF);
}

// A message with one placeholder, split once so that each use only copies.
class TOneArgText {
 public:
  explicit TOneArgText(Str id) {
    const std::string& format = Text(id);
    size_t i = format.find('%');
    while (i != std::string::npos &&
           (i + 1 >= format.size() || (format[i + 1] != 's' && format[i + 1] != 'd')))
      i = format.find('%', i + 1);
    before_ = format.substr(0, i);
    if (i != std::string::npos) after_ = format.substr(i + 2);
  }
  const std::string& With(std::string_view arg) {
    text_.assign(before_).append(arg).append(after_);
    return text_;
  }

 private:
  std::string before_, after_, text_;
};

void ParseInto(std::string_view data, TFolder& folder, IImpExpProgress& progress) {
  // Whatever follows a NUL byte is not part of the file.
  data = data.substr(0, data.find('\0'));
  std::vector<std::string_view> lines;
  lines.reserve(std::count(data.begin(), data.end(), '\n') + 1);
  for (std::string_view rest = data; !rest.empty();) lines.push_back(TakeLine(rest));
  if (lines.size() < 3 || lines[0].substr(0, 5) != kExportSignature || !lines[1].empty() ||
      lines[2] != kExportHeader)
    throw ESLException(Text(Str::ExchInvalidHeader));

  const size_t count = lines.size() - 3;
  const std::string& importing = Text(Str::ExchImporting);
  TOneArgText importingItem(Str::ExchImportingItem);
  TOneArgText imported(Str::ExchRecordImported);
  for (size_t k = 1; k <= count; ++k) {
    const size_t index = k + 2;
    std::string_view line = lines[index];
    auto item = std::make_unique<TPasteItem>();
    const std::string_view name = TakeField(line, index);
    item->Name = DecodeLineBreaks(name);
    progress.ShowProgress(importing, importingItem.With(name), static_cast<int>(k * 100 / count));
    item->Kind = KindOf(TakeField(line, index));
    item->Value = DecodeLineBreaks(TakeField(line, index));
    progress.AddDetail(imported.With(item->Name), false);
    // Add would shrink the list's capacity to its count after every item,
    // which makes a long file quadratic: append, and pack once at the end.
    folder.Items.Insert(folder.Items.Count(), item.release());
  }
  folder.Items.Pack();
}

template <class Loader>
TFolder* Import(TFolder& root, IImpExpProgress& progress, Loader load) {
  progress.ShowProgress(Text(Str::ExchImporting), Text(Str::ExchPreparing), 0);
  auto* folder = new TFolder;
  folder->Name = Text(Str::ExchImportedFolder);
  root.Folders.Add(folder);
  try {
    ParseInto(load(), *folder, progress);
  } catch (const std::exception& e) {
    root.Folders.Remove(folder);
    progress.AddDetail(FillIn(Str::ExchError, e.what()), true);
    progress.ShowProgress(Text(Str::ExchImportFailed), Text(Str::ExchSeeDetails), 100);
    return nullptr;
  }
  progress.ShowProgress(Text(Str::ExchImportFinished), Text(Str::ExchSeeDetails), 100);
  return folder;
}

}  // namespace

std::string EncodeLineBreaks(std::string_view text) {
  std::string result;
  result.reserve(text.size());
  AppendEncoded(result, text);
  return result;
}

std::string DecodeLineBreaks(std::string_view text) {
  std::string result;
  result.reserve(text.size() + std::count(text.begin(), text.end(), '$'));
  for (size_t done = 0; done < text.size();) {
    size_t dollar = text.find('$', done);
    if (dollar == std::string_view::npos) dollar = text.size();
    result.append(text, done, dollar - done);
    if (dollar < text.size()) result += "\r\n";
    done = dollar + 1;
  }
  return result;
}

std::string ItemLine(const TPasteItem& item) {
  std::string line;
  line.reserve(item.Name.size() + item.Value.size() + 6);
  AppendItemLine(line, item);
  return line;
}

void WriteItemLine(const TPasteItem& item, std::FILE* file) {
  thread_local std::string line;
  line.clear();
  AppendItemLine(line, item);
  line += "\r\n";
  WriteBytes(file, line);
}

void CheckExportFileExt(const std::string& fileName) {
#ifdef _WIN32
  const char* delimiters = ".\\/:";
#else
  const char* delimiters = "./";
#endif
  const size_t pos = fileName.find_last_of(delimiters);
  std::string ext =
      (pos != std::string::npos && fileName[pos] == '.') ? fileName.substr(pos) : std::string();
  for (char& c : ext)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  const std::string wanted = std::string(".") + kExportFileExt;
  std::string wantedUpper = wanted;
  for (char& c : wantedUpper)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  if (ext != wantedUpper)
    throw ESLException(Text(Str::ExchInvalidExtension), FillIn(Str::ExchExtensionDetails, wanted));
}

void CheckImportFileName(const std::string& fileName) {
  if (!FileExistsSafe(fileName) || IsSomethingElse(fileName)) InvalidFileName();
  CheckExportFileExt(fileName);
}

void WriteExportFile(const std::string& fileName, const TFolder& root, const std::string& version,
                     IImpExpProgress& progress) {
  progress.ShowProgress(Text(Str::ExchExporting), Text(Str::ExchPreparing), 0);
  try {
    TTempExportFile temp(fileName);
    std::string header =
        std::string(kExportSignature) + " " + version + "\r\n\r\n" + kExportHeader + "\r\n";
    WriteBytes(temp.File(), header);
    WriteFolderItems(root, temp.File(), progress);
    temp.Commit();
  } catch (const EWriteError& e) {
    progress.AddDetail(
        FillIn(Str::ExchError, Format(Text(Str::ExchCannotWrite), {fileName, e.what()})), true);
    progress.ShowProgress(Text(Str::ExchExportFailed), Text(Str::ExchSeeDetails), 100);
    return;
  } catch (const std::exception& e) {
    progress.AddDetail(FillIn(Str::ExchError, e.what()), true);
    progress.ShowProgress(Text(Str::ExchExportFailed), Text(Str::ExchSeeDetails), 100);
    return;
  }
  progress.AddDetail(FillIn(Str::ExchFileSaved, FullFileName(fileName)), false);
  progress.ShowProgress(Text(Str::ExchExportFinished), Text(Str::ExchSeeDetails), 100);
}

TFolder* ReadExportFile(const std::string& fileName, TFolder& root, IImpExpProgress& progress) {
  return Import(root, progress, [&] { return LoadFile(fileName); });
}

TFolder* ReadExportData(std::string_view data, TFolder& root, IImpExpProgress& progress) {
  return Import(root, progress, [&] { return data; });
}
