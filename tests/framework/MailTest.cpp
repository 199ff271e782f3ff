// The support mail: the message TSLMapi hands to the mail system, the event
// that reports the outcome, the mailto: address of the Linux mail system and
// Send Email itself.
#include <gtest/gtest.h>

#include <stdexcept>

#include "FakeLauncher.h"
#include "app/SLApplication.h"
#include "framework/SLCipher.h"
#include "framework/SLExceptions.h"
#include "framework/SLMapi.h"

namespace {

class TFakeMail : public ISLMailSystem {
 public:
  TFakeMail() { SetMailSystem(this); }
  ~TFakeMail() override { SetMailSystem(nullptr); }
  uint32_t SendMail(const TSLMapiMessage& m, uint32_t f) override {
    if (fail) throw std::runtime_error("mail system crashed");
    messages.push_back(m);
    flags.push_back(f);
    return code;
  }
  std::vector<TSLMapiMessage> messages;
  std::vector<uint32_t> flags;
  uint32_t code = MAPI_SUCCESS;
  bool fail = false;
};

}  // namespace

TEST(Mapi, BuildsRecipientsInOrderAndAttachments) {
  TFakeMail mail;
  TSLMapi mapi;
  mapi.Subject = "Hello";
  mapi.Body = "Text";
  mapi.FromName = "Me";
  mapi.FromAdress = "me@example.com";
  mapi.Recipients = {"a@example.com", "b@example.com"};
  mapi.CopyTo = {"c@example.com"};
  mapi.Send();
  ASSERT_EQ(mail.messages.size(), 1u);
  const TSLMapiMessage& m = mail.messages[0];
  EXPECT_EQ(m.Subject, "Hello");
  EXPECT_EQ(m.NoteText, "Text");
  EXPECT_EQ(m.Originator, (TSLMapiRecipient{MAPI_ORIG, "Me", "me@example.com"}));
  EXPECT_EQ(m.Recipients,
            (std::vector<TSLMapiRecipient>{{MAPI_TO, "a@example.com", "SMTP:a@example.com"},
                                           {MAPI_TO, "b@example.com", "SMTP:b@example.com"},
                                           {MAPI_CC, "c@example.com", "SMTP:c@example.com"}}));
  EXPECT_TRUE(m.Files.empty());
  EXPECT_TRUE(mapi.DisplayFileName().empty());
  EXPECT_EQ(mail.flags[0], 0u);

  mapi.BlindCopyTo = {"d@example.com"};
  mapi.AttachedFiles = {"C:\\docs\\report.txt", "D:notes.txt", "/home/u/list.csv"};
  mapi.ShowDialog = true;
  mapi.Send();
  const TSLMapiMessage& m2 = mail.messages[1];
  EXPECT_EQ(m2.Recipients.back(),
            (TSLMapiRecipient{MAPI_BCC, "d@example.com", "SMTP:d@example.com"}));
  EXPECT_EQ(mapi.DisplayFileName(),
            (std::vector<std::string>{"report.txt", "notes.txt", "list.csv"}));
  EXPECT_EQ(m2.Files, (std::vector<TSLMapiFile>{{0, -1, "C:\\docs\\report.txt", "report.txt"},
                                                {0, -1, "D:notes.txt", "notes.txt"},
                                                {0, -1, "/home/u/list.csv", "list.csv"}}));
  EXPECT_EQ(mail.flags[1], 11u);

  // A send without attachments leaves the names of the last ones.
  mapi.AttachedFiles.clear();
  mapi.Send();
  EXPECT_EQ(mapi.DisplayFileName().size(), 3u);
  EXPECT_TRUE(mail.messages[2].Files.empty());
}

TEST(Mapi, ExactlyOneEventReportsTheOutcome) {
  struct Case {
    uint32_t code;
    const char* expected;
  };
  for (const Case& c :
       {Case{0, "success"}, Case{1, "abort"}, Case{2, "error 2"}, Case{26, "error 26"}}) {
    TFakeMail mail;
    mail.code = c.code;
    TSLMapi mapi;
    std::vector<std::string> events;
    mapi.OnSuccess = [&](TSLMapi* s) { events.push_back(s == &mapi ? "success" : "?"); };
    mapi.OnUserAbort = [&](TSLMapi*) { events.push_back("abort"); };
    mapi.OnMapiError = [&](TSLMapi*, uint32_t code) {
      events.push_back("error " + std::to_string(code));
    };
    mapi.Send();
    EXPECT_EQ(events, std::vector<std::string>{c.expected});
  }
  TFakeMail mail;
  mail.code = 3;
  TSLMapi silent;  // no events assigned
  EXPECT_NO_THROW(silent.Send());
}

TEST(Mapi, LinuxMailSystemOpensAMailtoAddressAndAMissingOpenerIsAFailure) {
  TFakeLauncher launcher;
  TSLMapi mapi;
  mapi.Recipients = {"support@kestrelay.example", "second@example.com"};
  mapi.CopyTo = {"boss@example.com"};
  mapi.Subject = "Kestrelay Vellumin 1.2.0 Build 30";
  mapi.Body = "Line 1\r\nA&B";
  std::vector<std::string> events;
  mapi.OnSuccess = [&](TSLMapi*) { events.push_back("success"); };
  mapi.OnUserAbort = [&](TSLMapi*) { events.push_back("abort"); };
  mapi.Send();
  EXPECT_EQ(launcher.urls,
            std::vector<std::string>{"mailto:support@kestrelay.example,second@example.com"
                                     "?subject=Kestrelay%20Vellumin%201.2.0%20Build%2030"
                                     "&cc=boss@example.com&body=Line%201%0D%0AA%26B"});
  launcher.openSucceeds = false;
  try {
    mapi.Send();
    ADD_FAILURE() << "no exception";
  } catch (const std::runtime_error& e) {
    EXPECT_STREQ(e.what(), "no opener installed");
  }
  EXPECT_EQ(events, (std::vector<std::string>{"success"}));
}

TEST(SendSupportMail, OneRecipientTitleAndVersionAndABlankBody) {
  TSLApplication d;
  d.Title = "Kestrelay Vellumin";
  d.Version = "1.2.0 Build 30";
  d.WebAddresses->SupportAddress = "support@kestrelay.example";
  {
    TFakeMail mail;
    mail.code = MAPI_USER_ABORT;  // cancelled in the mail program: nothing to report
    EXPECT_NO_THROW(SendSupportMail(d));
    ASSERT_EQ(mail.messages.size(), 1u);
    const TSLMapiMessage& m = mail.messages[0];
    EXPECT_EQ(m.Recipients, (std::vector<TSLMapiRecipient>{{MAPI_TO, "support@kestrelay.example",
                                                            "SMTP:support@kestrelay.example"}}));
    EXPECT_EQ(m.Subject, "Kestrelay Vellumin 1.2.0 Build 30");
    EXPECT_EQ(m.NoteText, " ");
    EXPECT_EQ(mail.flags[0], MAPI_LOGON_UI | MAPI_NEW_SESSION | MAPI_DIALOG);
  }
  {
    TFakeLauncher launcher;  // through the real Linux mail system
    SendSupportMail(d);
    EXPECT_EQ(launcher.urls,
              std::vector<std::string>{"mailto:support@kestrelay.example?subject="
                                       "Kestrelay%20Vellumin%201.2.0%20Build%2030&body=%20"});
  }
  {
    TFakeLauncher launcher;  // no mail program can be reached: a warning that says why
    launcher.openSucceeds = false;
    try {
      SendSupportMail(d);
      ADD_FAILURE() << "no exception";
    } catch (const ESLException& e) {
      EXPECT_EQ(e.Message(), SecretText(TSLSecret::MailFailure, true));
      EXPECT_EQ(e.Details, "no opener installed");
      EXPECT_EQ(e.MessageType, smtWarning);
    }
  }
  for (bool english : {true, false}) {
    d.English = english;
    TFakeMail mail;
    mail.fail = true;
    try {
      SendSupportMail(d);
      ADD_FAILURE() << "no exception";
    } catch (const ESLException& e) {
      EXPECT_EQ(e.Message(), SecretText(TSLSecret::MailFailure, english));
      EXPECT_EQ(e.Details, "mail system crashed");
      EXPECT_EQ(e.MessageType, smtWarning);
    }
  }
}
