#pragma once
// Errors meant for the user. A routine that wraps a failing operation catches
// the inner exception and raises an ESLException whose details are the inner
// message. The application-wide handler (UI layer) shows them: an error ends
// the program after the report, a warning or an information lets it go on,
// and any other type is swallowed without a word.
#include <cstdint>
#include <stdexcept>
#include <string>

// One byte; the numbers are part of the interface. Values above smtQuestion
// can be carried (the handler ignores them), so code converts with static_cast.
enum TSLMessageType : uint8_t { smtError = 0, smtWarning = 1, smtInformation = 2, smtQuestion = 3 };

class ESLException : public std::runtime_error {
 public:
  ESLException(const std::string& message, const std::string& details = std::string(),
               TSLMessageType type = smtWarning)
      : std::runtime_error(message), Details(details), MessageType(type) {}
  std::string Message() const { return what(); }
  std::string Details;
  TSLMessageType MessageType;
};

// A text that is not a valid number ("'%s' is not a valid integer value").
class EConvertError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};
