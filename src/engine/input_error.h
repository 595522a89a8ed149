#pragma once
// The error raised for input that cannot be processed: a field that does not parse, a record
// that breaks the inventory format, a parameter out of range. Its text is a complete message.

#include <stdexcept>
#include <string>

namespace quorvel {

class InputError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

}  // namespace quorvel
