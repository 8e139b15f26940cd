#include "integrations/rest/json_nesting.h"

#include "base/json_nesting.h"

namespace recebimento::integrations {

bool WithinJsonNesting(std::string_view text, int limit) {
  return base::JsonTooDeepAt(text, limit) == std::string_view::npos;
}

}  // namespace recebimento::integrations
