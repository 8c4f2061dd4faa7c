#pragma once
// The run-time failure of a computation. It carries the description text the user sees in the
// message box of the command that started the computation ("Division by zero", "Overflow", ...).

#include <stdexcept>
#include <string>

namespace qalto {

class RuntimeError : public std::runtime_error {
 public:
  explicit RuntimeError(const std::string& description) : std::runtime_error(description) {}
  std::string Description() const { return what(); }

  static RuntimeError DivisionByZero() { return RuntimeError("Division by zero"); }
  static RuntimeError Overflow() { return RuntimeError("Overflow"); }
  static RuntimeError InvalidCall() { return RuntimeError("Invalid procedure call or argument"); }
  static RuntimeError SubscriptOutOfRange() { return RuntimeError("Subscript out of range"); }
  static RuntimeError TypeMismatch() { return RuntimeError("Type mismatch"); }
  static RuntimeError InputPastEndOfFile() { return RuntimeError("Input past end of file"); }
  static RuntimeError FileNotFound() { return RuntimeError("File not found"); }
  static RuntimeError BadFileName() { return RuntimeError("Bad file name or number"); }
};

}  // namespace qalto
