#pragma once
// Errors travel as values: a message for the user and where it happened.
// The shell turns them into a message box at one place.

#include <optional>
#include <string>
#include <utility>
#include <variant>

namespace mok {

struct Error {
  std::string message;  // the exact text shown to the user
  std::string where;    // file or operation, for logs and tests; may be empty
};

template <class T>
class Result {
 public:
  Result(T value) : data_(std::move(value)) {}
  Result(Error error) : data_(std::move(error)) {}

  bool ok() const { return data_.index() == 0; }
  explicit operator bool() const { return ok(); }
  T& value() { return std::get<0>(data_); }
  const T& value() const { return std::get<0>(data_); }
  T& operator*() { return value(); }
  const T& operator*() const { return value(); }
  T* operator->() { return &value(); }
  const T* operator->() const { return &value(); }
  const Error& error() const { return std::get<1>(data_); }

 private:
  std::variant<T, Error> data_;
};

// Success or an error, for operations without a value.
class Status {
 public:
  Status() = default;
  Status(Error error) : error_(std::move(error)) {}
  static Status Ok() { return Status(); }
  bool ok() const { return !error_.has_value(); }
  explicit operator bool() const { return ok(); }
  const Error& error() const { return *error_; }

 private:
  std::optional<Error> error_;
};

}  // namespace mok
