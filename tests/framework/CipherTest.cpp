// The cipher of the texts kept unreadable in the program file.
#include <gtest/gtest.h>

#include "framework/SLCipher.h"

TEST(Cipher, RoundTripsAnyBytesAndHidesThePlainText) {
  for (std::string plain : {std::string(), std::string("a"), std::string("Versão"),
                            std::string("\x00\xff\r\n tail", 9), std::string(300, 'x')}) {
    std::string hex = Encipher(plain);
    EXPECT_EQ(hex.size(), plain.size() * 2);
    EXPECT_EQ(Decipher(hex), plain);
    if (plain.size() > 2) EXPECT_EQ(hex.find(plain), std::string::npos);
  }
  // A run of the same letter does not give a run of the same cipher bytes.
  std::string hex = Encipher("aaaa");
  EXPECT_NE(hex.substr(0, 2), hex.substr(2, 2));
}

TEST(Cipher, MalformedHexDeciphersToNothing) {
  EXPECT_EQ(Decipher("ABC"), "");
  EXPECT_EQ(Decipher("ZZ"), "");
  EXPECT_EQ(Decipher(Encipher("ok")).size(), 2u);
}

TEST(Cipher, StoredTextsDecipherInBothLanguages) {
  EXPECT_EQ(SecretText(TSLSecret::LeadingWord, true), "Version");
  EXPECT_EQ(SecretText(TSLSecret::LeadingWord, false), "Versão");
  for (TSLSecret id :
       {TSLSecret::SplashWarning, TSLSecret::TipFileMissing, TSLSecret::MailFailure}) {
    for (bool english : {true, false}) {
      std::string text = SecretText(id, english);
      SCOPED_TRACE(text);
      ASSERT_GT(text.size(), 20u);
      EXPECT_EQ(text.back(), '.');
    }
  }
  EXPECT_NE(SecretText(TSLSecret::MailFailure, true), SecretText(TSLSecret::MailFailure, false));
}
