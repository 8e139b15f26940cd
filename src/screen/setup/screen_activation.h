#pragma once
// What the screen settles once it is showing: on its first activation, who the buyer on
// the receipt is (the sale's consumer, the document recorded for the table seat, or the
// identification dialog); on every activation, the promotions listed; and, once per
// screen, the FixeCRM stamps the buyer may redeem as a discount.
#include <string>

#include "base/dataset.h"
#include "screen/frame/screen_scope.h"

namespace recebimento::screen {

// The question asked after a FixeCRM consultation.
inline constexpr const char* kFixeCrmPrintCpf = "Deseja imprimir o CPF utilizado no FixeCRM no Cupom?";
inline constexpr const char* kFixeCrmWaiting = "Consultando integração FixeCRM! Aguarde...";

class ScreenActivation {
 public:
  explicit ScreenActivation(ScreenScope& s);

  // The screen became the active window.
  void FormActivate();

  bool FirstActivationPending() const { return boPrimeiraAtivacao; }
  bool FixeCrmConsulted() const { return boConsultouFixeCRM; }
  const std::string& FixeCrmMessage() const { return stMsgFixeCRM; }
  double FixeCrmBalance() const { return doSaldoFixeCRM; }

 private:
  // The buyer for the receipt, first activation only.
  void FirstActivation();
  // The consumer of the sale's items, from the store (empty when the items name none).
  void LoadSaleConsumer();
  bool SaleConsumerFound() const;
  // The consumer's name, document, address and print choice become the receipt's.
  void TakeSaleConsumer();
  // The identification recorded for the table seat, then what it decides (`counter`: a
  // counter sale, where the consumer's print choice decides whether the dialog opens).
  void SeatIdentification(bool counter);
  void ResetClubPetroBuyer();
  void OpenIdentification();

  // Promotions, every activation.
  void ListPromotions();

  // FixeCRM, once per screen; the document consulted, or "" when it does not apply.
  std::string FixeCrmDocument() const;
  void ConsultaFixeCRM(const std::string& cpf);
  // The redeemable stamps offered and, when accepted, turned into the sale's discount;
  // the amount redeemed.
  double RedeemFixeCrm();
  void ShowWaiting(bool on);
  void ForgetTelephone();
  bool Question(const std::string& text);

  ScreenScope& s_;
  bool boPrimeiraAtivacao = true;
  std::string stIdImpCPFCupom;
  bool boConsultouFixeCRM = false;
  std::string stMsgFixeCRM;
  double doSaldoFixeCRM = 0;
  base::Dataset cdsCPFCNPJ{"cdsCPFCNPJ"};
  base::Dataset sale_consumer_{"cdsConsumidorVenda"};
};

}  // namespace recebimento::screen
