#pragma once
/// @file
/// pf::Error: a failure as data.
#include <memory>
#include <string>

#include "platform/base/Value.h"

namespace pf {

/// User-info key of the error's message (see Error::localizedDescription()).
inline constexpr const char* kLocalizedDescriptionKey = "NSLocalizedDescription";
/// User-info key of the URL that failed, as text.
inline constexpr const char* kErrorFailingURLStringKey = "NSErrorFailingURLStringKey";

/// A failure as data — a domain, an integer code and user info (a dictionary
/// Value), plus the underlying error that caused it, if any. Errors chain: the JSON reader
/// reports "Expected value while parsing array" caused by "Unrecognised leading character".
class Error {
 public:
  /// An error in `domain` with `code`, its user info (a dictionary) and the error that
  /// caused it, if any.
  Error(std::string domain, long code, Value userInfo = Value::dictionary(),
        std::shared_ptr<const Error> underlying = nullptr);

  /// The common case: a domain, a code and a message.
  static Error withDescription(std::string domain, long code, std::string description,
                               std::shared_ptr<const Error> underlying = nullptr);

  /// The error's domain: who defines its codes.
  const std::string& domain() const { return domain_; }
  /// The code, meaningful in the domain.
  long code() const { return code_; }
  /// The user info: a dictionary of whatever more there is to say.
  const Value& userInfo() const { return userInfo_; }
  /// The error that caused this one, if any.
  const std::shared_ptr<const Error>& underlyingError() const { return underlying_; }

  /// The message under kLocalizedDescriptionKey, or "The operation couldn't be completed.
  /// (`domain` error `code`.)" when there is none.
  std::string localizedDescription() const;

  /// `Error Domain=… Code=… "…" UserInfo=…`, for logs.
  std::string description() const;

  /// Same domain, code, user info and underlying error.
  bool operator==(const Error& o) const;

 private:
  std::string domain_;
  long code_;
  Value userInfo_;
  std::shared_ptr<const Error> underlying_;
};

}  // namespace pf
