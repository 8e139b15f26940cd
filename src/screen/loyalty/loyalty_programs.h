#pragma once
// The loyalty programmes the screen talks to directly: CRM Bonus (a bonus balance by
// phone, offered as a discount and reported with the sale), ClubPetro (points by CPF,
// taken as tender kind "5", redeemed and the sale reported at the close) and GCOM
// cashback (a balance by phone offered as a discount and reserved at the close). The
// part holds the branch's settings and the programmes' state for the sale; the
// protocols live in src/integrations.
#include <string>
#include <vector>

#include "base/timer.h"
#include "integrations/clubpetro/clubpetro_client.h"
#include "integrations/crmbonus/crmbonus_client.h"
#include "integrations/gcom/gcom_client.h"
#include "integrations/rest/frame_variables.h"
#include "screen/frame/screen_scope.h"
#include "screen/payment/payment_lines.h"

namespace recebimento::screen {

class LoyaltyPrograms {
 public:
  explicit LoyaltyPrograms(ScreenScope& s);

  // Before a tender, while nothing is paid: the CRM Bonus balance and the GCOM cashback
  // of the consumer's phone (asked once a screen), each until one query succeeded.
  void OffersBeforeTender();

  // The CRM Bonus balance query and its offer as a discount; true once the query
  // succeeded (a balance of 0 offers nothing but counts).
  bool criaOrdemCRMBONUS();
  // The bonus used and the sale reported to CRM Bonus.
  void FinalizaVendaCRMBONUS();
  // GCOM: "getConsumerBalance" (offer) or "balanceReserve" (at the close).
  bool ResgataCashBackGCOM(const std::string& Endpoint);

  // The ClubPetro points tender (kind "5"): false when the selection ended without a line.
  bool ClubPetroTender(TenderPayment& tender, double& amount);
  // The per-sale reset of ClubPetro.
  void inicializaVarClubPetro();
  // The redemption of the points taken and the sale report.
  bool resgatePontoClubPetro();

  // At the confirmation, before the receipt: ClubPetro's points redeemed and GCOM's
  // amount reserved, so that a refusal keeps the sale open with nothing printed; false
  // then. Confirmed again, what is still owed is asked again; the payments cleared, the
  // points line and the discount go with them.
  bool CapturesBeforeReceipt();
  // ClubPetro's points were redeemed or GCOM's amount reserved by a confirmation that
  // did not complete.
  bool TakenBeforeReceipt() const { return points_redeemed_ || gcom_reserved_; }
  // At the close, before the wallets: ClubPetro's redemption, when the confirmation did
  // not take it, and the sale report.
  void RedeemPointsAtClose();
  // At the close, after the wallets: CRM Bonus's report, and GCOM's reservation when the
  // confirmation did not take it; false (the screen stays open) when that failed.
  bool ReportsAtClose();
  // Every payment and discount of the screen was discarded.
  void PaymentsCleared();

  // The discount rule every loyalty and cashback offer shares: `wanted` as the sale
  // admits it, never more than what is still to pay less 0.01 per item unit, so that
  // every unit keeps a price on the receipt.
  double AdmissibleDiscount(double wanted) const;

  // One tick of timClubPetro: the screen keeps being painted while ClubPetro answers.
  void timClubPetroTimer() {}

  const integrations::CrmBonusState& CrmBonus() const { return crm_; }
  const integrations::ClubPetroState& ClubPetro() const { return club_; }
  integrations::ClubPetroState& ClubPetro() { return club_; }
  const integrations::GcomState& Gcom() const { return gcom_; }

 private:
  struct Settings {
    bool loaded = false;
    integrations::CrmBonusSettings crm;
    integrations::GcomSettings gcom;
    integrations::ClubPetroSettings club;
  };
  // The branch's settings, read from the store on first use.
  Settings& Loaded();
  // The consumer's phone, asked once a screen when it is not known; "" when none.
  std::string Phone();
  // The consumer record of the ClubPetro tender: token and consultation, retried while
  // the operator asks; false (with the message shown) when there is none.
  bool ConsultClubPetro();
  // The sale's items as ClubPetro's sale report takes them.
  std::vector<integrations::ClubPetroItem> ClubPetroItems() const;
  // The kind-"5" payment line gets the redemption's authorisation.
  void MarkPointsLine();
  // The points of the kind-"5" line redeemed, once a sale; false (told) when refused.
  bool RedeemPoints(integrations::ClubPetroClient& api);

  integrations::CrmBonusClient CrmApi();
  integrations::ClubPetroClient ClubPetroApi();
  integrations::GcomClient GcomApi();

  ScreenScope& s_;
  Settings settings_;
  integrations::SharedFrameVariables shared_;
  integrations::CrmBonusFrame crm_frame_;
  integrations::CrmBonusState crm_;
  integrations::ClubPetroFrame club_frame_;
  integrations::ClubPetroState club_;
  integrations::GcomState gcom_;
  base::Timer timClubPetro;
  bool crm_reported_ = false;
  bool points_redeemed_ = false;  // the points line's redemption was taken
  bool gcom_reserved_ = false;    // GCOM's amount was reserved
};

}  // namespace recebimento::screen
