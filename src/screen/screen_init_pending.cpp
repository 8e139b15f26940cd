// Steps of the initialisation whose work belongs to features of their own (consumer
// accounts, the integrations, Dotz). Each body does the least the screen needs today.
#include "datamodule/trdm_recebimento.h"
#include "host/runtime/result_check.h"
#include "screen/frm_recebimento.h"
#include "screen/screen_globals.h"

namespace recebimento::screen {

// Reads the debit account's balance from the store; spending and the central come with
// the consumer-account checks.
void TfrmRecebimento::MostraSaldoCons(const std::string& kind, const std::string& client, const std::string& consumer,
                                      const std::string& /*family*/) {
  doVrSaldoConsAtual = 0;
  if (kind != "1") return;
  base::Dataset saldo("cdsSaldo");
  const base::Variant r = runtime::MensagemMetodo(rdmRecebimento->getSaldoCons(client, consumer), true, 0,
                                                  "getSaldoCons", "Cli_Rev00000", client + "-" + consumer);
  if (!runtime::IsResultPacket(r)) return;
  saldo.SetData(r);
  if (saldo.Active() && !saldo.IsEmpty() && saldo.FieldIndex("VRSALDOCONS") >= 0)
    doVrSaldoConsAtual = saldo.FieldByName("VRSALDOCONS").AsFloat();
}

// The store-side booking of pending debits joins here with the consumer balance records.
void TfrmRecebimento::AtualizaDebitosConsumidor(const base::DateTime& /*desde*/) {}

// Loads the wallet settings; the integrations reset their own state here once they exist.
void TfrmRecebimento::ReiniciaIntegracoes() {
  const base::Variant mp = rdmRecebimento->getDadosMp(stCDFILIAL, stCDCAIXA);
  if (runtime::IsResultPacket(mp)) cdsDadosMp.SetData(mp);
  const base::Variant ame = rdmRecebimento->getDadosAme(stCDFILIAL);
  if (!runtime::IsResultPacket(ame)) return;
  cdsDadosAme.SetData(ame);
  if (!cdsDadosAme.Active() || cdsDadosAme.IsEmpty() || cdsDadosAme.FieldIndex("IDAMBIENTEAME") < 0) return;
  auto texto = [this](const char* c) {
    return cdsDadosAme.FieldIndex(c) >= 0 ? cdsDadosAme.FieldByName(c).AsString() : std::string();
  };
  const std::string ambiente = texto("IDAMBIENTEAME");
  if (ambiente.empty()) {
    cdsDadosAme.EmptyDataSet();
    return;
  }
  // Production or homologation credentials; the four sources are not kept.
  const bool producao = ambiente == "P";
  const std::string login = texto(producao ? "DSLOGINAME" : "DSLOGINAMEHOM");
  const std::string senha = texto(producao ? "DSSENHAAME" : "DSSENHAAMEHOM");
  cdsDadosAme.Edit();
  if (cdsDadosAme.FieldIndex("DSLOGIN") >= 0) cdsDadosAme.FieldByName("DSLOGIN").SetAsString(login);
  if (cdsDadosAme.FieldIndex("DSSENHA") >= 0) cdsDadosAme.FieldByName("DSSENHA").SetAsString(senha);
  for (const char* c : {"DSLOGINAME", "DSLOGINAMEHOM", "DSSENHAAME", "DSSENHAAMEHOM"})
    if (cdsDadosAme.FieldIndex(c) >= 0) cdsDadosAme.FieldByName(c).SetAsString("");
  cdsDadosAme.Post();
}

// The Dotz campaign is offered by the loyalty features.
void TfrmRecebimento::spbDotzClick() {}

// Nothing to give back to the system: the process keeps no cache worth trimming.
void TfrmRecebimento::TrimAppMemorySize() {}

}  // namespace recebimento::screen
