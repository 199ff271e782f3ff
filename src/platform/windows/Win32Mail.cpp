#include "platform/windows/Win32Mail.h"

#include <windows.h>

#include <mapi.h>

#include <vector>

#include "library/SLRegistry.h"
#include "platform/windows/Win32Launcher.h"

namespace {

LPSTR Text(const std::string& text) {
  return const_cast<LPSTR>(text.c_str());
}

}  // namespace

TWin32MailSystem::TWin32MailSystem(std::string library) : library_(std::move(library)) {}

TWin32MailSystem::~TWin32MailSystem() {
  if (module_ != nullptr) FreeLibrary(static_cast<HMODULE>(module_));
}

bool TWin32MailSystem::Load() {
  if (module_ == nullptr) {
    if (ReadRegString(RegHive::LocalMachine, "SOFTWARE\\Microsoft\\Windows Messaging Subsystem",
                      "MAPI", "") != "1")
      return false;
    module_ = LoadLibraryA(library_.c_str());
    if (module_ == nullptr) return false;
    sendMail_ =
        reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(module_), "MAPISendMail"));
  }
  return sendMail_ != nullptr;
}

uint32_t TWin32MailSystem::SendMail(const TSLMapiMessage& message, uint32_t flags) {
  if (!Load()) return MAPI_USER_ABORT;

  // The descriptors point into `message`, which outlives the call; they are
  // released on every way out.
  auto recipient = [](const TSLMapiRecipient& r) {
    MapiRecipDesc d = {};
    d.ulRecipClass = r.RecipClass;
    d.lpszName = Text(r.Name);
    d.lpszAddress = Text(r.Address);
    return d;
  };
  MapiRecipDesc originator = recipient(message.Originator);
  std::vector<MapiRecipDesc> recipients;
  recipients.reserve(message.Recipients.size());
  for (const TSLMapiRecipient& r : message.Recipients) recipients.push_back(recipient(r));
  std::vector<MapiFileDesc> files;
  files.reserve(message.Files.size());
  for (const TSLMapiFile& f : message.Files) {
    MapiFileDesc d = {};
    d.flFlags = f.Flags;
    d.nPosition = static_cast<ULONG>(f.Position);
    d.lpszPathName = Text(f.PathName);
    d.lpszFileName = Text(f.FileName);
    files.push_back(d);
  }

  MapiMessage m = {};
  m.lpszSubject = Text(message.Subject);
  m.lpszNoteText = Text(message.NoteText);
  m.flFlags = message.Flags;
  m.lpOriginator = &originator;
  m.nRecipCount = static_cast<ULONG>(recipients.size());
  m.lpRecips = recipients.empty() ? nullptr : recipients.data();
  m.nFileCount = static_cast<ULONG>(files.size());
  m.lpFiles = files.empty() ? nullptr : files.data();

  auto send = reinterpret_cast<LPMAPISENDMAIL>(sendMail_);
  return send(lhSessionNull, reinterpret_cast<ULONG_PTR>(Win32ApplicationWindow()), &m, flags, 0);
}
