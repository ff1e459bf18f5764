// The base error class of the window code: every error the user is shown
// carries a message.
#pragma once

#include <QString>

#include <exception>
#include <string>

using String = QString;

class Exception : public std::exception {
  public:
    explicit Exception(String message);
    const String& Message() const { return message_; }
    const char* what() const noexcept override { return utf8_.c_str(); }

  private:
    String message_;
    std::string utf8_;
};
