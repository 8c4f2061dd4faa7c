#include "common/typed_number.h"

#include "common/number_text.h"
#include "common/runtime_error.h"

namespace qalto {

TypedNumber TypedNumber::Read(std::string_view text) {
  TypedNumber number;
  try {
    number.value_ = ReadNumber(text);
  } catch (const RuntimeError&) {
    number.overflow_ = true;  // the only failure of ReadNumber
  }
  return number;
}

double TypedNumber::Get() const {
  if (overflow_) throw RuntimeError::Overflow();
  return value_;
}

}  // namespace qalto
