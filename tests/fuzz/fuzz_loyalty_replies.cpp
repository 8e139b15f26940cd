// The loyalty programmes' replies as their clients read them: CRM Bonus's and GCOM's XML
// (inside the request module's envelope) and ClubPetro's JSON. Any text ends in values,
// possibly empty; a reply read as accepted always comes from a document that loaded.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "integrations/clubpetro/clubpetro_messages.h"
#include "integrations/crmbonus/crmbonus_messages.h"
#include "integrations/gcom/gcom_messages.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace recebimento::integrations;
  const std::string text(reinterpret_cast<const char*>(data), size);
  const CrmBonusReply crm = ReadCrmBonusReply(text);
  if (!crm.ok && !crm.data.empty()) std::abort();
  const GcomReply gcom = ReadGcomReply(text);
  if (gcom.ok && !gcom.answered) std::abort();
  ReadClubPetroToken(text);
  const ClubPetroConsumer consumer = ReadClubPetroConsumer(text);
  if (consumer.blocked && consumer.bloqueado != "1") std::abort();
  ReadClubPetroRedemption(text);
  return 0;
}
