// Exceptions of the controller assembly and the noise scan. Each carries the message its catcher
// logs in the error colour.
#pragma once

#include <string>
#include <utility>

class CMyException {
  public:
    explicit CMyException(std::string message) : message_(std::move(message)) {}
    virtual ~CMyException() = default;
    virtual std::string GetMessage() const { return message_; }

  private:
    std::string message_;
};

// A failure while the controller is found, assembled or initialised.
class CInitDevException : public CMyException {
  public:
    using CMyException::CMyException;
};

// Aborts a noise scan at its failing step.
class CDiagnosticException : public CMyException {
  public:
    using CMyException::CMyException;
};
