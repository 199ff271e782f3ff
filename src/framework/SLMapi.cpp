#include "framework/SLMapi.h"

#include <exception>
#include <memory>
#include <stdexcept>

#include "app/SLApplication.h"
#include "framework/SLCipher.h"
#include "framework/SLExceptions.h"
#include "framework/SLLauncher.h"
#ifdef _WIN32
#include "platform/windows/Win32Mail.h"
#endif

namespace {

ISLMailSystem* gMailSystem = nullptr;

std::string FileNamePart(const std::string& path) {
  size_t cut = path.find_last_of("\\:/");
  return cut == std::string::npos ? path : path.substr(cut + 1);
}

}  // namespace

ISLMailSystem& MailSystem() {
#ifdef _WIN32
  static TWin32MailSystem standard;
#else
  static TSLMailtoMailSystem standard;
#endif
  return gMailSystem != nullptr ? *gMailSystem : standard;
}

void SetMailSystem(ISLMailSystem* mail) {
  gMailSystem = mail;
}

std::string TSLMailtoMailSystem::MailtoAddress(const TSLMapiMessage& message) {
  std::string to, cc, bcc;
  auto add = [](std::string& list, const std::string& address) {
    if (!list.empty()) list += ',';
    list += PercentEncode(address, "@!$'*+;=");
  };
  for (const TSLMapiRecipient& r : message.Recipients) {
    if (r.RecipClass == MAPI_TO) add(to, r.Name);
    if (r.RecipClass == MAPI_CC) add(cc, r.Name);
    if (r.RecipClass == MAPI_BCC) add(bcc, r.Name);
  }
  std::string url = "mailto:" + to + "?subject=" + PercentEncode(message.Subject);
  if (!cc.empty()) url += "&cc=" + cc;
  if (!bcc.empty()) url += "&bcc=" + bcc;
  url += "&body=" + PercentEncode(message.NoteText);
  return url;
}

uint32_t TSLMailtoMailSystem::SendMail(const TSLMapiMessage& message, uint32_t) {
  // No opener is a failure to report, not a cancel: the user would see nothing.
  if (!Launcher().OpenURL(MailtoAddress(message)))
    throw std::runtime_error(Launcher().OpenFailure());
  return MAPI_SUCCESS;
}

void TSLMapi::Send() {
  TSLMapiMessage message;
  message.Subject = Subject;
  message.NoteText = Body;
  message.Flags = 0;
  message.Originator = {MAPI_ORIG, FromName, FromAdress};
  message.Recipients.reserve(Recipients.size() + CopyTo.size() + BlindCopyTo.size());
  for (const auto& [lines, recipClass] :
       {std::pair{&Recipients, MAPI_TO}, std::pair{&CopyTo, MAPI_CC},
        std::pair{&BlindCopyTo, MAPI_BCC}})
    for (const std::string& line : *lines)
      message.Recipients.push_back({recipClass, line, "SMTP:" + line});
  if (!AttachedFiles.empty()) {
    displayFileName_.clear();
    for (const std::string& path : AttachedFiles) displayFileName_.push_back(FileNamePart(path));
    for (size_t i = 0; i < AttachedFiles.size(); ++i)
      message.Files.push_back({0, -1, AttachedFiles[i], displayFileName_[i]});
  }
  const uint32_t flags = ShowDialog ? (MAPI_LOGON_UI | MAPI_NEW_SESSION | MAPI_DIALOG) : 0;
  const uint32_t code = MailSystem().SendMail(message, flags);
  if (code == MAPI_SUCCESS) {
    if (OnSuccess) OnSuccess(this);
  } else if (code == MAPI_USER_ABORT) {
    if (OnUserAbort) OnUserAbort(this);
  } else if (OnMapiError) {
    OnMapiError(this, code);
  }
}

void SendSupportMail(const TSLApplication& Descriptor) {
  std::unique_ptr<TSLMapi> mapi;
  try {
    mapi = std::make_unique<TSLMapi>();
    mapi->ShowDialog = true;
    mapi->Recipients.push_back(Descriptor.WebAddresses->SupportAddress);
    mapi->Subject = Descriptor.Title + " " + Descriptor.Version;
    mapi->Body = " ";
    mapi->Send();
    mapi.reset();
  } catch (const std::exception& e) {
    mapi.reset();
    throw ESLException(SecretText(TSLSecret::MailFailure, Descriptor.English), e.what(),
                       smtWarning);
  }
}
