#pragma once
// pf::Error: a failure as data — a domain, an integer code and user info (a dictionary
// Value), plus the underlying error that caused it, if any. Errors chain: the JSON reader
// reports "Expected value while parsing array" caused by "Unrecognised leading character".
#include <memory>
#include <string>

#include "platform/base/Value.h"

namespace pf {

// User-info keys with the meanings the platform gives them.
inline constexpr const char* kLocalizedDescriptionKey = "NSLocalizedDescription";
inline constexpr const char* kErrorFailingURLStringKey = "NSErrorFailingURLStringKey";

class Error {
 public:
  Error(std::string domain, long code, Value userInfo = Value::dictionary(),
        std::shared_ptr<const Error> underlying = nullptr);

  // The common case: a domain, a code and a message.
  static Error withDescription(std::string domain, long code, std::string description,
                               std::shared_ptr<const Error> underlying = nullptr);

  const std::string& domain() const { return domain_; }
  long code() const { return code_; }
  const Value& userInfo() const { return userInfo_; }
  const std::shared_ptr<const Error>& underlyingError() const { return underlying_; }

  // The message under kLocalizedDescriptionKey, or "The operation couldn't be completed.
  // (<domain> error <code>.)" when there is none.
  std::string localizedDescription() const;

  // "Error Domain=<domain> Code=<code> \"<description>\" UserInfo=<…>" for logs.
  std::string description() const;

  bool operator==(const Error& o) const;

 private:
  std::string domain_;
  long code_;
  Value userInfo_;
  std::shared_ptr<const Error> underlying_;
};

}  // namespace pf
