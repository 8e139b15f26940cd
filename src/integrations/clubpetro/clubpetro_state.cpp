#include "integrations/clubpetro/clubpetro_state.h"

#include "base/dataset_columns.h"
#include "base/text.h"
#include "integrations/rest/number_text.h"

namespace recebimento::integrations {

ClubPetroSettings ClubPetroSettingsFrom(base::Dataset& cdsDadosResgSaldo) {
  ClubPetroSettings s;
  if (!cdsDadosResgSaldo.Active() || cdsDadosResgSaldo.IsEmpty()) return s;
  s.DSIDRESGS = base::ColumnTrimmed(cdsDadosResgSaldo, "DSIDRESGS");
  s.DSSENHARESGS = base::ColumnTrimmed(cdsDadosResgSaldo, "DSSENHARESGS");
  s.token_url = base::ColumnTrimmed(cdsDadosResgSaldo, "DSURLRAIZ");
  return s;
}

ClubPetroState::ClubPetroState() { ResetConsumers(); }

void ClubPetroState::ResetConsumers() {
  using base::FieldType;
  if (cdsConsClubPetro.Fields().empty()) {
    for (const char* f : {"COD_CLIENTE", "CARTAO", "TELCELULAR", "SALDOPONTOS", "CDCONSRESGSALDO"})
      cdsConsClubPetro.AddField(f, FieldType::String, 50);
    cdsConsClubPetro.AddField("CPF_ATIVO", FieldType::String, 10);
    cdsConsClubPetro.AddField("VRRESGATE", FieldType::Float);
    cdsConsClubPetro.AddField("SENHARESGATE", FieldType::String, 500);
    cdsConsClubPetro.AddField("GRUPOCONS", FieldType::String, 500);
    cdsConsClubPetro.CreateDataSet();
  }
  cdsConsClubPetro.EmptyDataSet();
}

double ClubPetroState::PointsBalance() {
  if (!cdsConsClubPetro.Active() || cdsConsClubPetro.IsEmpty()) return 0;
  const std::string text = base::ColumnTrimmed(cdsConsClubPetro, "SALDOPONTOS");
  if (base::IEquals(text, "VAZIO")) return 0;
  try {
    return ToFloat(text);
  } catch (const NumberConversionError&) {
    return 0;
  }
}

}  // namespace recebimento::integrations
