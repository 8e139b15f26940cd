#pragma once
// The cashback and loyalty providers the host reaches for the screen (its loyalty
// services): UDS and 4All cashback by CPF, the banking core's three wallets chosen on
// their panel, Olga's cashback and benefit coupons on its panel, and the online loyalty
// balance of the sale's consumer. The providers themselves (what the host is asked and
// what it answers) live in src/integrations/; here are the dialogs, the panels and the
// items' columns. Each balance takes the one road of CashbackOffer.
#include <string>

#include "base/variant.h"
#include "integrations/fourall/fourall_cashback.h"
#include "screen/frame/screen_scope.h"
#include "screen/loyalty/cashback_offer.h"

namespace recebimento::screen {

class HostLoyaltyProviders {
 public:
  explicit HostLoyaltyProviders(ScreenScope& s) : s_(s), offer_(s) {}

  // The online loyalty balance of the sale's consumer (the one it charges, else the one
  // the items name), once a sale: run when the consumer is chosen or found by phone.
  void FidelidadeCashback();
  // 4All: the consumer's promotion code and cashback balance.
  void sbtCashbackClick();
  // UDS: the consumer's cashback balance.
  void sbtCashbackUDSClick();
  // The banking core: the balance of the wallet the operator chooses.
  void sbtCashbackCoreClick();
  // The wallet chosen on panCoreBancario: "CASHBACK", "CARTÃO CORPORATIVO",
  // "CARTÃO QUALIDADE" or "SAIR".
  std::string CarteiraCoreBanc();
  void btnCoreBancCashClick() { stCarteiraCoreBanc = "CASHBACK"; }
  void btnCoreBancCorpClick() { stCarteiraCoreBanc = "CARTÃO CORPORATIVO"; }
  void btnCoreBancQualClick() { stCarteiraCoreBanc = "CARTÃO QUALIDADE"; }
  void btnCoreBancSairClick() { stCarteiraCoreBanc = "SAIR"; }
  // The lines of the banking core's error packet; the standard text when it has none.
  std::string ErrosCoreBancario(const base::Variant& errors) const;

  // Olga: opens panFidelidadeOlga; its buttons take the cashback or a benefit coupon.
  void sbtFidelidadeOlgaClick();
  void btnCashBackOlgaClick();
  void btnBeneficioOlgaClick();
  void btnCancelaOlgaClick();
  // The answer to the question of transmitting the sale to Olga, asked on its panel once
  // Olga's cashback or a benefit was taken.
  void btnTransVendaClick() { AnswerTransmission(true); }
  void btnNTransVendaClick() { AnswerTransmission(false); }
  bool TransmissionAnswered() const { return trans_answered_; }
  bool TransmitSale() const { return trans_answer_; }

  // Every discount of the screen was discarded: the providers may be used again.
  void PaymentsCleared();

 private:
  // The CPF of the items' `column`, else asked on the host's entry dialog ("" when none).
  std::string Cpf(const std::string& column, const std::string& caption);
  void ShowKey(const std::string& key, const std::string& detail = "");
  void SetPanel(const std::string& panel, bool shown);
  void AnswerTransmission(bool yes);
  // Asks whether the sale goes to Olga and records the answer on the items.
  void AskTransmission();
  // 4All's promotion code, validated and applied; false when the step ends the press.
  bool PromotionCode4All(integrations::FourAllCashback& provider, const std::string& cpf);

  ScreenScope& s_;
  CashbackOffer offer_;
  std::string stCarteiraCoreBanc;
  bool used_4all_ = false, used_uds_ = false, used_core_ = false, used_olga_ = false, used_fid_ = false;
  bool trans_answered_ = false, trans_answer_ = false;
};

}  // namespace recebimento::screen
