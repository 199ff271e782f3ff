#pragma once
// The mail system on Windows: Simple MAPI's MAPISendMail. The library is
// loaded on the first send that finds Simple MAPI installed (HKEY_LOCAL_MACHINE
// "SOFTWARE\Microsoft\Windows Messaging Subsystem", string "MAPI" = "1") and
// kept until the mail system ends. Without it, or without its entry, a send
// answers 1, as if the user had cancelled.
#include <string>

#include "framework/SLMapi.h"

class TWin32MailSystem : public ISLMailSystem {
 public:
  explicit TWin32MailSystem(std::string library = "MAPI32.DLL");
  ~TWin32MailSystem() override;
  TWin32MailSystem(const TWin32MailSystem&) = delete;
  TWin32MailSystem& operator=(const TWin32MailSystem&) = delete;

  uint32_t SendMail(const TSLMapiMessage& message, uint32_t flags) override;

 private:
  bool Load();

  std::string library_;
  void* module_ = nullptr;
  void* sendMail_ = nullptr;
};
