#pragma once
// GCOM's XML bodies (root/data, sent without line breaks) and the reader of its replies.
#include <string>

#include "base/dataset.h"
#include "integrations/rest/xml_messages.h"

namespace recebimento::integrations {

// The shop's GCOM settings (cdsDadosGCOM).
struct GcomSettings {
  std::string IDUTLINTEGCOM;   // "S": in use
  std::string CDBRANDIDGCOM;   // brand id
  std::string CDURLGCOM;       // API address
  std::string NRINSJURFILI;    // the branch's CNPJ, sent as the store id
  std::string IDTOKENAPIGCOM;  // API token

  bool InUse() const { return IDUTLINTEGCOM == "S" && !CDURLGCOM.empty(); }
};
GcomSettings GcomSettingsFrom(base::Dataset& cdsDadosGCOM);

std::string GcomBalanceBody(const std::string& phone, const std::string& store_id, const std::string& brand_id);

struct GcomReservation {
  std::string value;  // amount text, "." as separator
  std::string branch_id, fidelity_id, fidelity_version, brand_id, store_id, consumer_id;
};
std::string GcomReserveBody(const GcomReservation& r);

// A reply: ok when the request module's text carries status 200 and the XML cut from
// "<root>" through "</root>" loads with root/error "false"; `message` is root/message
// and `data` the members of root/data.
struct GcomReply : XmlReplyData {
  bool ok = false;
  bool answered = false;  // status 200 and a document that loads
  std::string message;
};
GcomReply ReadGcomReply(const std::string& reply);

}  // namespace recebimento::integrations
