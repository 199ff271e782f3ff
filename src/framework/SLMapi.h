#pragma once
// Sending an e-mail through the user's mail program. TSLMapi fills a message
// in the shape of Simple MAPI and hands it to the mail system seam; the
// outcome arrives through exactly one of its three events. On Linux the seam
// opens a mailto: address with the desktop's URL opener; on Windows it calls
// MAPISendMail (TWin32MailSystem).
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class TSLApplication;

// Recipient classes and send flags as Simple MAPI numbers them.
inline constexpr uint32_t MAPI_ORIG = 0;
inline constexpr uint32_t MAPI_TO = 1;
inline constexpr uint32_t MAPI_CC = 2;
inline constexpr uint32_t MAPI_BCC = 3;
inline constexpr uint32_t MAPI_LOGON_UI = 0x01;
inline constexpr uint32_t MAPI_NEW_SESSION = 0x02;
inline constexpr uint32_t MAPI_DIALOG = 0x08;
inline constexpr uint32_t MAPI_SUCCESS = 0;
inline constexpr uint32_t MAPI_USER_ABORT = 1;

struct TSLMapiRecipient {
  uint32_t RecipClass = MAPI_TO;
  std::string Name;
  std::string Address;
  bool operator==(const TSLMapiRecipient&) const = default;
};

struct TSLMapiFile {
  uint32_t Flags = 0;
  int32_t Position = -1;  // no placement in the text
  std::string PathName;
  std::string FileName;
  bool operator==(const TSLMapiFile&) const = default;
};

struct TSLMapiMessage {
  std::string Subject;
  std::string NoteText;
  uint32_t Flags = 0;
  TSLMapiRecipient Originator{MAPI_ORIG, {}, {}};
  std::vector<TSLMapiRecipient> Recipients;
  std::vector<TSLMapiFile> Files;
};

// The mail system: returns Simple MAPI's code (0 sent, 1 cancelled or no mail
// system, anything else an error).
class ISLMailSystem {
 public:
  virtual ~ISLMailSystem() = default;
  virtual uint32_t SendMail(const TSLMapiMessage& message, uint32_t flags) = 0;
};

// The mail system in use; SetMailSystem installs another (tests), null restores the default.
ISLMailSystem& MailSystem();
void SetMailSystem(ISLMailSystem* mail);

// Hands the message to the user's mail program as a mailto: address (to, cc,
// bcc, subject and body) through the launcher's URL opener; attachments
// cannot travel that way. 0 when the opener started; when it did not, throws
// std::runtime_error telling what is missing (the launcher's OpenFailure).
class TSLMailtoMailSystem : public ISLMailSystem {
 public:
  uint32_t SendMail(const TSLMapiMessage& message, uint32_t flags) override;
  static std::string MailtoAddress(const TSLMapiMessage& message);
};

class TSLMapi {
 public:
  // The owner is kept only as the component's owner; it is never used.
  explicit TSLMapi(void* Owner = nullptr) : Owner(Owner) {}

  void* Owner;
  std::string Subject;
  std::string Body;
  std::string FromName;
  std::string FromAdress;
  std::vector<std::string> Recipients;
  std::vector<std::string> CopyTo;
  std::vector<std::string> BlindCopyTo;
  std::vector<std::string> AttachedFiles;
  const std::vector<std::string>& DisplayFileName() const { return displayFileName_; }
  bool ShowDialog = false;

  std::function<void(TSLMapi* Sender)> OnUserAbort;
  std::function<void(TSLMapi* Sender, uint32_t ErrorCode)> OnMapiError;
  std::function<void(TSLMapi* Sender)> OnSuccess;

  // Builds the message and hands it to the mail system; reports only through
  // the events.
  void Send();

 private:
  std::vector<std::string> displayFileName_;
};

// Help > Send Email: a new message to the support address with the title and
// version as subject, shown in the mail program for editing. A failure inside
// is raised as an ESLException warning with the cause as details.
void SendSupportMail(const TSLApplication& Descriptor);
