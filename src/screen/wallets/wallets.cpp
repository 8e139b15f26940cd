// The wallets as far as the screen uses them today: their settings are loaded and the
// exit's refunds run over the payments listed. Payments through the wallets come with
// their flows.
#include "screen/wallets/wallets.h"

#include <string>

#include "base/dataset_columns.h"
#include "host/runtime/messages.h"
#include "host/runtime/result_check.h"
#include "screen/frame/screen_parts.h"

namespace recebimento::screen {

void Wallets::LoadSettings() {
  const ParametrosZem& par = s_.par;
  const base::Variant mp = s_.ctx.rdm.getDadosMp(par.stCDFILIAL, par.stCDCAIXA);
  if (runtime::IsResultPacket(mp)) cdsDadosMp.SetData(mp);
  const base::Variant ame = s_.ctx.rdm.getDadosAme(par.stCDFILIAL);
  if (!runtime::IsResultPacket(ame)) return;
  cdsDadosAme.SetData(ame);
  if (!cdsDadosAme.Active() || cdsDadosAme.IsEmpty() || cdsDadosAme.FieldIndex("IDAMBIENTEAME") < 0) return;
  const std::string environment = base::ColumnText(cdsDadosAme, "IDAMBIENTEAME");
  if (environment.empty()) {
    cdsDadosAme.EmptyDataSet();
    return;
  }
  // Production or homologation credentials; the four sources are not kept.
  const bool production = environment == "P";
  const std::string login = base::ColumnText(cdsDadosAme, production ? "DSLOGINAME" : "DSLOGINAMEHOM");
  const std::string password = base::ColumnText(cdsDadosAme, production ? "DSSENHAAME" : "DSSENHAAMEHOM");
  cdsDadosAme.Edit();
  base::SetColumn(cdsDadosAme, "DSLOGIN", base::Variant(login));
  base::SetColumn(cdsDadosAme, "DSSENHA", base::Variant(password));
  for (const char* c : {"DSLOGINAME", "DSLOGINAMEHOM", "DSSENHAAME", "DSSENHAAMEHOM"})
    base::SetColumn(cdsDadosAme, c, base::Variant(std::string()));
  cdsDadosAme.Post();
}

Wallets::RefundAnswer Wallets::estornoMP() {
  stPAYMENTIDestorno = stPAYMENTID.substr(0, stPAYMENTID.find(','));
  return {};
}

void Wallets::RefundMercadoPagoPayments() {
  while (!stPAYMENTID.empty()) {
    const RefundAnswer r = estornoMP();
    if (r.ok) {
      stPAYMENTIDestorno.clear();
    } else {
      s_.ShowMessage(r.error == "unauthorized" ? "Sem permissão para cancelar a transação no Mercado Pago."
                                               : "Erro ao cancelar a transação no Mercado Pago.",
                     runtime::kMsgBlocked);
    }
    // The payment leaves the list either way, so the loop always ends.
    const size_t comma = stPAYMENTID.find(',');
    stPAYMENTID = comma == std::string::npos ? "" : stPAYMENTID.substr(comma + 1);
  }
}

bool Wallets::WalletTender(const std::string& /*kind*/, TenderPayment& /*tender*/, double& /*amount*/) {
  s_.parts.selection.Refuse("N_FORMA");
  return false;
}

void Wallets::CancelPendingAmeOrder() {}

void Wallets::RefundClearedPayments() {}

bool Wallets::CaptureAtClose() { return true; }

}  // namespace recebimento::screen
