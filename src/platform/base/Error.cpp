#include "platform/base/Error.h"

namespace pf {

Error::Error(std::string domain, long code, Value userInfo, std::shared_ptr<const Error> underlying)
    : domain_(std::move(domain)),
      code_(code),
      userInfo_(userInfo.isDictionary() ? std::move(userInfo) : Value::dictionary()),
      underlying_(std::move(underlying)) {}

Error Error::withDescription(std::string domain, long code, std::string description,
                             std::shared_ptr<const Error> underlying) {
  return Error(std::move(domain), code,
               Value::dictionary({{kLocalizedDescriptionKey, Value(std::move(description))}}),
               std::move(underlying));
}

std::string Error::localizedDescription() const {
  if (auto text = userInfo_[kLocalizedDescriptionKey].asString()) return *text;
  return "The operation couldn't be completed. (" + domain_ + " error " + std::to_string(code_) + ".)";
}

std::string Error::description() const {
  std::string out = "Error Domain=" + domain_ + " Code=" + std::to_string(code_) + " \"" +
                    localizedDescription() + "\"";
  if (userInfo_.size() > 0) out += " UserInfo=" + userInfo_.description();
  if (underlying_) out += " Underlying=(" + underlying_->description() + ")";
  return out;
}

bool Error::operator==(const Error& o) const {
  if (domain_ != o.domain_ || code_ != o.code_ || userInfo_ != o.userInfo_) return false;
  if (!underlying_ || !o.underlying_) return underlying_ == o.underlying_;
  return *underlying_ == *o.underlying_;
}

}  // namespace pf
