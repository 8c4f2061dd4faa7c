#pragma once
// A computation that fails returns its failure as a value: the text of the message box the
// command shows ("ReadData Error: File not found: "cv.csv"", "Digital simulation Error: ...").
// The numerics return these; only the application shows them.

#include <optional>
#include <string>
#include <utility>
#include <variant>

namespace qalto {

struct Failure {
  std::string message;  // exactly as the user sees it
};

// Nothing when the work was done, else what went wrong.
using Outcome = std::optional<Failure>;

// A value, or the failure that stopped it.
template <typename T>
class Expected {
 public:
  Expected(T value) : state_(std::move(value)) {}            // NOLINT: a value is a result
  Expected(Failure failure) : state_(std::move(failure)) {}  // NOLINT: so is a failure

  bool Ok() const { return std::holds_alternative<T>(state_); }
  explicit operator bool() const { return Ok(); }
  T& Value() { return std::get<T>(state_); }
  const T& Value() const { return std::get<T>(state_); }
  const Failure& Error() const { return std::get<Failure>(state_); }

 private:
  std::variant<T, Failure> state_;
};

}  // namespace qalto
