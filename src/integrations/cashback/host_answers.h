#pragma once
// Reading what the host's loyalty operations answer in oleRetorno (an array): a value
// that is missing or of another kind reads as empty, never as a failure of the caller.
#include <cstddef>
#include <string>

#include "base/dataset.h"
#include "base/variant.h"

namespace recebimento::integrations {

std::string AnswerText(const base::Variant& answer, size_t i);
// A number or a text with "." or "," for the decimals, cut to cents; 0 when unreadable.
double AnswerAmount(const base::Variant& answer, size_t i);
// The first value: true, "S" or "true".
bool AnswerAccepted(const base::Variant& answer);
// The packet at `i` loaded into `into`; false when there is none.
bool AnswerPacket(const base::Variant& answer, size_t i, base::Dataset& into);

}  // namespace recebimento::integrations
