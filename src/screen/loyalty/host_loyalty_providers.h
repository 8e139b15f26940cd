#pragma once
// The cashback and loyalty providers the host reaches for the screen (its loyalty
// services): UDS and 4All cashback by CPF, the banking core's three wallets chosen on
// their panel, and Olga's cashback and benefit coupons on its panel. Each asks its host
// operation, offers the balance found and turns an accepted amount into a discount of
// the sale, recorded on every item. A provider that does not answer leaves the sale as
// it was.
//
// What the host operations take and answer (their first value is the action):
//   ExtratoConsOnline "CONSULTA_SALDO_FID" (the consumer query) -> [balance]
//   IntegracaoFidUds  "CONSULTA" [cpf, consumer name] -> [ok, text, balance, blocked "S"/"N"]
//                     "BAL_ZEM"  [cpf, consumer name, amount] -> [ok, text]
//   IntegracaoFid4All "CONSULTA" [cpf] -> [ok, text, balance, promotions packet
//                                 (CDPROMOCAO, DSTIPPROMO, VRPROMOCAO)]
//                     "VALIDA_PROMOCODE" [code, branch CNPJ, amount to pay, items packet]
//                                 -> [ok, text]
//   CoreBancario      "CONSULTA" [method "POST"/"GET", cpf, wallet code] -> [ok, request id,
//                                 wallets packet (CDWALLET, VRSALDO, BLOQUEADO, IDCARTAO),
//                                 errors packet (CDERRO, DSERROCONS, IDSUCCESS, CDRETORNO,
//                                 DSRETCONS)]
//   FidelidadeOlga    "CONSULTA_CASHBACK" [phone, amount to pay] -> [ok, text, cashback, benefit id]
//                     "VALIDA_CUPOM" [phone, code, amount to pay] -> [ok, text, kind "CASH" /
//                                 "CASHBACK_ACCUMULATE", value, coupon id]
#include <string>

#include "base/variant.h"
#include "screen/frame/screen_scope.h"

namespace recebimento::screen {

class HostLoyaltyProviders {
 public:
  explicit HostLoyaltyProviders(ScreenScope& s) : s_(s) {}

  // The online loyalty balance of the consumer the sale charges, once a sale.
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
  // The answer to the question of transmitting the sale to Olga.
  void btnTransVendaClick() { AnswerTransmission(true); }
  void btnNTransVendaClick() { AnswerTransmission(false); }
  bool TransmissionAnswered() const { return trans_answered_; }
  bool TransmitSale() const { return trans_answer_; }

  // Every discount of the screen was discarded: the providers may be used again.
  void PaymentsCleared();

 private:
  // The CPF of the items' `column`, else asked on the host's entry dialog ("" when none).
  std::string Cpf(const std::string& column, const std::string& caption);
  // The amount the operator takes from `balance`, as the sale admits it; 0 when declined.
  double OfferBalance(double balance);
  // Adds `amount` to the discount and adds it to the items' `column`.
  void Apply(double amount, const std::string& column);
  void ShowKey(const std::string& key, const std::string& detail = "");
  void SetPanel(const std::string& panel, bool shown);
  void AnswerTransmission(bool yes);
  // 4All's promotion code, validated and applied; false when the step ends the press.
  bool PromotionCode4All(const base::Variant& promotions, const std::string& cpf);

  ScreenScope& s_;
  std::string stCarteiraCoreBanc;
  bool used_4all_ = false, used_uds_ = false, used_core_ = false, used_olga_ = false, used_fid_ = false;
  bool trans_answered_ = false, trans_answer_ = false;
};

}  // namespace recebimento::screen
