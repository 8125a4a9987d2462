// The result of an operation that can fail for a reason a person should read.
#pragma once

#include <string>
#include <utility>

namespace varnel {

class [[nodiscard]] Status {
 public:
  static Status success() { return Status(); }
  static Status failure(std::string message) { return Status(std::move(message)); }

  bool ok() const { return !failed_; }
  explicit operator bool() const { return ok(); }
  const std::string& message() const { return message_; }

 private:
  Status() = default;
  explicit Status(std::string message) : failed_(true), message_(std::move(message)) {}

  bool failed_ = false;
  std::string message_;
};

}  // namespace varnel
