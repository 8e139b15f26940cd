// The loyalty programmes' part: the branch's settings, the consumer's phone, the
// discount rule the offers share, and the steps at the close and at the clear.
#include "screen/loyalty/loyalty_programs.h"

#include <algorithm>

#include "base/dataset_columns.h"
#include "base/text.h"
#include "host/runtime/money.h"
#include "host/runtime/result_check.h"
#include "screen/frame/screen_parts.h"

namespace recebimento::screen {

LoyaltyPrograms::LoyaltyPrograms(ScreenScope& s)
    : s_(s), timClubPetro(s.ctx.pump, 1000, [this] { timClubPetroTimer(); }) {}

LoyaltyPrograms::Settings& LoyaltyPrograms::Loaded() {
  if (settings_.loaded) return settings_;
  settings_.loaded = true;
  const ParametrosZem& par = s_.par;
  auto load = [](const base::Variant& packet, base::Dataset& into) {
    if (runtime::IsResultPacket(packet)) into.SetData(packet);
  };
  base::Dataset cdsDadosCRMBONUS("cdsDadosCRMBONUS"), cdsDadosGCOM("cdsDadosGCOM"),
      cdsDadosResgSaldo("cdsDadosResgSaldo");
  load(s_.ctx.rdm.getDadosCRMBONUS(par.stCDFILIAL, par.stCDLOJA), cdsDadosCRMBONUS);
  load(s_.ctx.rdm.getDadosGCOM(par.stCDFILIAL, par.stCDLOJA), cdsDadosGCOM);
  load(s_.ctx.rdm.getDadosResgSaldo(par.stCDFILIAL), cdsDadosResgSaldo);
  settings_.crm = integrations::CrmBonusSettingsFrom(cdsDadosCRMBONUS);
  settings_.gcom = integrations::GcomSettingsFrom(cdsDadosGCOM);
  settings_.club = integrations::ClubPetroSettingsFrom(cdsDadosResgSaldo);
  return settings_;
}

std::string LoyaltyPrograms::Phone() {
  if (s_.sale.stTelefoneCons.empty()) s_.parts.identification.ConsultaConsTel();
  return base::Trim(s_.sale.stTelefoneCons);
}

double LoyaltyPrograms::AdmissibleDiscount(double wanted) const {
  // Fractional quantities (fuel) count as one unit per item at least.
  const double units = std::max(1.0, s_.parts.discounts.ItemUnits());
  const int64_t reserve = runtime::ToCents(runtime::Trunc2(units)) / 100;  // one cent a unit
  const int64_t limit = std::max<int64_t>(0, runtime::ToCents(runtime::Trunc2(s_.sale.doVrAPagar)) - reserve);
  const int64_t asked = std::max<int64_t>(0, runtime::ToCents(runtime::Trunc2(wanted)));
  return runtime::FromCents(std::min(asked, limit));
}

void LoyaltyPrograms::OffersBeforeTender() {
  SaleState& sale = s_.sale;
  if (!sale.NoPayments() || sale.stIdTela == "S") return;
  Settings& settings = Loaded();
  const bool crm = settings.crm.InUse() && !crm_.balance_asked;
  const bool gcom = settings.gcom.InUse() && !gcom_.consulted;
  if (!crm && !gcom) return;
  if (Phone().empty()) return;
  if (crm) criaOrdemCRMBONUS();
  if (gcom) ResgataCashBackGCOM("getConsumerBalance");
}

bool LoyaltyPrograms::ReportsAtClose() {
  Settings& settings = Loaded();
  if (settings.crm.InUse() && !base::Trim(s_.sale.stTelefoneCons).empty() && !crm_reported_) {
    crm_reported_ = true;
    FinalizaVendaCRMBONUS();
  }
  if (settings.gcom.InUse() && gcom_.consulted && !gcom_reserved_) return ResgataCashBackGCOM("balanceReserve");
  return true;
}

void LoyaltyPrograms::PaymentsCleared() {
  // The discounts went with the payments: nothing is reported or reserved for them, and
  // the balances are offered again at the next tender.
  s_.sale.stUtilDescCrmBonus = "N";
  crm_.doValorDesc = 0;
  crm_.balance_asked = false;
  gcom_.reserved_amount = 0;
  gcom_.consulted = false;
  gcom_reserved_ = false;
  points_redeemed_ = false;
  base::Dataset& cons = club_.cdsConsClubPetro;
  for (cons.First(); !cons.Eof(); cons.Next()) {
    cons.Edit();
    cons.FieldByName("VRRESGATE").SetAsFloat(0);
    cons.Post();
  }
  club_.stClubPetroOnline = "S";
}

}  // namespace recebimento::screen
