#pragma once
// Errors meant for the user. A routine that wraps a failing operation catches
// the inner exception and raises an ESLException whose details are the inner
// message. The application-wide handler (UI layer) shows them.
#include <stdexcept>
#include <string>

enum TSLMessageType { smtError, smtWarning, smtInformation, smtQuestion };

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
