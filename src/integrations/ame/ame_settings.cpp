#include "integrations/ame/ame_settings.h"

#include "base/dataset_columns.h"
#include "base/text.h"

namespace recebimento::integrations {

AmeSettings AmeSettingsFrom(base::Dataset& cdsDadosAme) {
  AmeSettings s;
  if (!cdsDadosAme.Active() || cdsDadosAme.IsEmpty()) return s;
  s.DSLOGIN = base::ColumnText(cdsDadosAme, "DSLOGIN");
  s.DSSENHA = base::ColumnText(cdsDadosAme, "DSSENHA");
  s.IDAMBIENTEAME = base::ColumnTrimmed(cdsDadosAme, "IDAMBIENTEAME");
  s.DSURLSERVAME = WithoutTrailingSlash(base::ColumnText(cdsDadosAme, "DSURLSERVAME"));
  s.VRCASHBACK = base::ColumnNumber(cdsDadosAme, "VRCASHBACK");
  auto base_of = [&](const char* column, std::string& target) {
    const std::string given = base::ColumnTrimmed(cdsDadosAme, column);
    if (!given.empty()) target = given;
  };
  base_of("DSURLAPIAME", s.bases.production);
  base_of("DSURLAPIAMEDEV", s.bases.development);
  base_of("DSURLAPIAMEHOM", s.bases.homologation);
  return s;
}

}  // namespace recebimento::integrations
