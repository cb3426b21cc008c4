#pragma once
// The program's errors carry UTF-16 messages, since what they name (registry values, paths)
// is UTF-16 text.

#include <exception>
#include <string>
#include <utility>

class Exception : public std::exception {
 public:
  explicit Exception(std::wstring message) : message_(std::move(message)) {}
  const std::wstring& Message() const { return message_; }
  const char* what() const noexcept override { return "Exception (see Message())"; }

 private:
  std::wstring message_;
};

class ERegistryException : public Exception {
 public:
  using Exception::Exception;
};
