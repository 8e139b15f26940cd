#pragma once
// The branch's AME settings (cdsDadosAme, with the credentials of its environment already
// chosen) and the store's addresses of the AME API.
#include <string>

#include "base/dataset.h"
#include "integrations/rest/rest_urls.h"

namespace recebimento::integrations {

struct AmeSettings {
  std::string DSLOGIN;        // client id of the environment in use
  std::string DSSENHA;        // its client secret
  std::string IDAMBIENTEAME;  // "P" production, "D" development, other homologation
  std::string DSURLSERVAME;   // the store's callback service
  double VRCASHBACK = 0;      // cashback percentage granted on AME payments
  AmeBases bases;             // the API's bases; the store's own where it gives them

  // Settings a token can be asked with.
  bool Usable() const { return !IDAMBIENTEAME.empty(); }
};

// The settings of the current row of cdsDadosAme. The API bases come from DSURLAPIAME
// (production), DSURLAPIAMEDEV and DSURLAPIAMEHOM where the store fills them.
AmeSettings AmeSettingsFrom(base::Dataset& cdsDadosAme);

}  // namespace recebimento::integrations
