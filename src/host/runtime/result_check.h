#pragma once
// Results of the data-module functions and host services: a packet (or a value) on
// success, the error text in its place on failure. Callers show failures to the operator
// through these checks and load a result only when it is a packet.
#include <string>

#include "base/variant.h"
#include "host/runtime/messages.h"

namespace recebimento::runtime {

// True when the result carries a data packet that can be loaded into a dataset.
inline bool IsResultPacket(const base::Variant& result) { return result.IsPacket(); }

// The failure text a result carries in place of its packet or value; "" when the result
// is not a failure.
std::string ResultFailureText(const base::Variant& result);

// Shows the message of a failed result (when `show`), naming the function, the module and
// the key of the call, and returns the result untouched: a packet stays a packet and an
// error text stays text, so the caller tests IsResultPacket before loading it.
base::Variant MensagemMetodo(const base::Variant& result, bool show, int code, const std::string& function,
                             const std::string& module, const std::string& key);
// The same through `dialogs` instead of the installed message dialogs.
base::Variant MensagemMetodo(MessageDialogs* dialogs, const base::Variant& result, bool show, int code,
                             const std::string& function, const std::string& module, const std::string& key);

// True when a host-service or data-module result reports success: a packet, an array
// (several packets), a number, true, or the text "OK". An error text, false, or no result
// at all is a failure, shown to the operator when `show`.
bool CheckResultServ(const base::Variant& result, bool show, int code);

}  // namespace recebimento::runtime
