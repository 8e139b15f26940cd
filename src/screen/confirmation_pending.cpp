// Work that the confirmation, the exit and the clear action hand to features built
// elsewhere (fiscal receipt, fee items, consumer accounts, wallets and loyalty). Until
// those features take them over, these bodies do what a sale without them needs.
#include "host/runtime/messages.h"
#include "screen/frm_recebimento.h"
#include "screen/message_table.h"
#include "screen/screen_log.h"

namespace recebimento::screen {

// No prepaid card can be entered on the screen yet: nothing to redeem.
bool TfrmRecebimento::ResgataCartoesPrePagos() { return true; }

// The drawer is not tested until the fiscal receipt feature reads the printer's state.
bool TfrmRecebimento::VerificaEstadoGaveta(const std::string& /*tipo*/) { return true; }

// The fee items come with the service and delivery fee feature; the fees stay in the
// sale's columns meanwhile.
void TfrmRecebimento::CriaItemTaxaServ() {}
void TfrmRecebimento::CriaItemTaxaEntr() {}

// The basic subsidy is checked by the consumer-account feature.
void TfrmRecebimento::VerifVrSubsBasico() {}

// Without a fiscal printer there is no receipt to open or close: the sale stands as the
// confirmation recorded it. A fiscal printer cannot be driven yet, so such a sale is
// refused rather than reported as printed.
bool TfrmRecebimento::ImprimeCupom() {
  LogRev00000("inicio ImprimeCupom");
  if (!boUTILIZAIMPFIS) return true;
  MostraMensagem(Msg("ErroComando"), runtime::kMsgBlocked);
  boVendaOk = false;
  return false;
}

// Tickets of check-in sales are checked by the restricted-products feature.
void TfrmRecebimento::Vd_Ingresso() {}

// The consumer record is written by the consumer-identification feature.
void TfrmRecebimento::GravaConsumidor() {}

// No wallet or loyalty integration can have been used on the screen yet.
bool TfrmRecebimento::CapturaIntegracoes() {
  LogRev00000("confirma recebimento - postmessage1");
  return true;
}

void TfrmRecebimento::CancelaOrdemAmePendente() {}

void TfrmRecebimento::EstornaPagamentosCarteiras() {}

}  // namespace recebimento::screen
