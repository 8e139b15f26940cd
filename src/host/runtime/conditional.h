#pragma once
// The older code's inline choice between two variants.
#include "base/variant.h"

namespace recebimento::runtime {

inline base::Variant iif(bool condition, const base::Variant& when_true, const base::Variant& when_false) {
  return condition ? when_true : when_false;
}

}  // namespace recebimento::runtime
