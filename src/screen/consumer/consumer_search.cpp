// The account holder of the sale: looked up by telephone, chosen in the host's search
// (under the operator's access control), and the registered consumer's CPF on the
// receipt; and the document the amount requires before a tender.
#include <string>

#include "base/dataset_columns.h"
#include "base/text.h"
#include "host/runtime/messages.h"
#include "host/runtime/result_check.h"
#include "screen/consumer/consumer_identification.h"
#include "screen/frame/message_table.h"
#include "screen/frame/screen_parts.h"

namespace recebimento::screen {

namespace {

using base::Variant;

const char* const kSearchTitle = "Selecionar Cliente/Consumidor";

}  // namespace

void ConsumerIdentification::ConsultaConsTel() {
  SaleState& sale = s_.sale;
  const ParametrosZem& par = s_.par;
  if (sale.stTelefoneCons.empty() && !sale.boTelefoneSolicitado) {
    std::string phone;
    if (s_.ctx.host.dialogs->TecladoNumerico(phone, Msg("Tel_Cons", MessageComponent::msgPadrao2),
                                             Msg("Inf_Tel", MessageComponent::msgPadrao2),
                                             Msg("Tel_N_Inf", MessageComponent::msgPadrao2)))
      sale.stTelefoneCons = base::Trim(phone);
    // Asked once: a dismissed dialog is not asked again.
    sale.boTelefoneSolicitado = true;
  }
  if (sale.stTelefoneCons.empty() || sale.boTelefonePesquisado) return;
  const bool has_consumer = !sale.stCdConsumidorVenda.empty() || !base::Trim(sale.ItemText("CDCONSUMIDOR")).empty();
  if (has_consumer || par.stIDUTILINTOLGA == "S") return;
  const Variant gcom = s_.ctx.rdm.getDadosGCOM(par.stCDFILIAL, par.stCDLOJA);
  if (runtime::IsResultPacket(gcom)) {
    base::Dataset settings;
    settings.SetData(gcom);
    if (base::ColumnText(settings, "IDUTLINTEGCOM") == "S") return;
  }

  sale.stCdConsumidorVenda = sale.stTelefoneCons;
  sale.boTelefonePesquisado = true;
  pos::ConsumerSearchRequest request;
  request.operation = "CONSULTA_TEL";
  request.phone = sale.stTelefoneCons;
  request.clients = &sale.cdsCliente;
  pos::ConsumerSearchResult chosen;
  if (!s_.ctx.host.dialogs->PesqConsumidor(request, chosen)) return;
  sale.SetOnEveryItem("CDCLIENTE", Variant(chosen.CDCLIENTE));
  sale.SetOnEveryItem("CDCONSUMIDOR", Variant(chosen.CDCONSUMIDOR));
  sale.SetOnEveryItem("NRTELCRM", Variant(sale.stTelefoneCons));
  s_.parts.host_loyalty.FidelidadeCashback();
}

void ConsumerIdentification::bltPesquisarClick() {
  SaleState& sale = s_.sale;
  const ParametrosZem& par = s_.par;
  ControlRegistry& c = s_.controls;
  pos::AccessControl& access = *s_.ctx.host.access;

  // "S" the operator may; any other answer but "N" is the supervisor who authorised it.
  const std::string answer = access.ControleAcess(par.inCTSELECCLICONS, sale.stCdOperador);
  if (answer.empty() || answer == "N") return;
  if (answer != "S") {
    sale.stCdSupervisor = answer;
    access.LogControleAcess({par.stCDFILIAL, par.stCDCAIXA, "SEL_CLI", sale.stCdOperador, sale.stNmOperador, answer,
                             kSearchTitle, "Selecionar o Cliente/Consumidor da Mesa/Comanda Nº: " + sale.stNrComanda});
  }

  if (const auto file = s_.ctx.paths.Find("\\Dados\\Cadastros\\Cad_Cliente.cds")) {
    try {
      sale.cdsCliente.LoadFromFile(*file);
      if (!sale.cdsCliente.Active()) sale.cdsCliente.Open();
    } catch (const std::exception& e) {
      // A damaged client file: the search runs over the clients the host gave.
      s_.ShowMessage(e.what(), runtime::kMsgBlocked);
    }
  }

  pos::ConsumerSearchRequest request;
  request.operation = "CONSULTA_MESA";
  request.title = kSearchTitle;
  request.clients = &sale.cdsCliente;
  pos::ConsumerSearchResult chosen;
  if (s_.ctx.host.dialogs->PesqConsumidor(request, chosen)) {
    const std::string client = base::Trim(chosen.CDCLIENTE), consumer = base::Trim(chosen.CDCONSUMIDOR);
    c.SetCaption("lblNomeCliente", chosen.NMRAZSOCCLIE);
    c.SetCaption("lblCPFCliente", "Cliente:" + (client.empty() ? "" : " " + client));
    c.SetCaption("lblCPFCons", "Consumidor:" + (consumer.empty() ? "" : " " + consumer));
    c.SetVisible("lblCPFCons", true);
    c.SetCaption("lblNomeCons", chosen.NMCONSUMIDOR);
    const Variant cpf = s_.ctx.rdm.getCPFCons(consumer, client);
    const std::string document = cpf.IsString() ? base::Trim(cpf.AsString()) : std::string();
    std::string address;
    const Variant record = s_.ctx.rdm.getConsumidor(client, consumer, par.stCDFILIAL);
    if (runtime::IsResultPacket(record)) {
      sale.cdsConsumidor.SetData(record);
      address = base::ColumnText(sale.cdsConsumidor, "DSENDECONS");
      sale.stCDIDCONSUMID = base::ColumnText(sale.cdsConsumidor, "CDIDCONSUMID");
    }
    sale.SetOnEveryItem("NMCONSVEND", Variant(chosen.NMCONSUMIDOR));
    sale.SetOnEveryItem("NRINSCRCONS", Variant(document));
    sale.SetOnEveryItem("DSENDEVENDA", Variant(address));
    sale.SetOnEveryItem("CDCLIENTE", Variant(client));
    sale.SetOnEveryItem("CDCONSUMIDOR", Variant(consumer));
    sale.stNmConsCupom = chosen.NMCONSUMIDOR;
    sale.stNrDocConsCupom = document;
    sale.stDsEndeVenda = address;
    // The consumer chosen here is the one the lines charge.
    sale.stConsPesquisado = "S";
    sale.charged.client = client;
    sale.charged.consumer = consumer;
    sale.charged.name = chosen.NMCONSUMIDOR;
    sale.stCdClienteCons = client;
    sale.stCdConsumidorCons = consumer;
    // The items are priced for the consumer chosen.
    s_.parts.fiscal.AjustarPrecos("ZEM");
    s_.parts.host_loyalty.FidelidadeCashback();
  }
  // Until a consumer is on the sale the search stays at hand.
  c.SetEnabled("bltPesquisar", c.CaptionOf("lblCPFCons") == "Consumidor:");
}

void ConsumerIdentification::setCPFCons() {
  SaleState& sale = s_.sale;
  if (sale.stTipoTela != "N" || sale.stIdTela == "S" || !sale.HasItems()) return;
  base::Dataset* movi = sale.cdsMoviVenda;
  if (!movi || !movi->Active()) return;
  std::string client, consumer;
  const base::DataPacket payments = movi->Data();
  for (const auto& row : payments.rows) {
    consumer = base::ColumnTrimmed(payments, row, "CDCONSUMIDOR");
    client = base::ColumnTrimmed(payments, row, "CDCLIENTE");
    if (!consumer.empty()) break;
  }
  if (consumer.empty()) return;
  std::string print_cpf;
  s_.ctx.rdm.setParamConsumidor(client, consumer, print_cpf);
  if (print_cpf != "S") return;
  const Variant cpf = s_.ctx.rdm.getCPFCons(consumer, client);
  const std::string document = cpf.IsString() ? base::Trim(cpf.AsString()) : std::string();
  if (document.empty()) return;
  base::Dataset& items = *sale.cdsItensVenda;
  if (items.FieldIndex("NRINSCRCONS") < 0) return;
  // A document already on an item is the one the buyer gave: it stays.
  for (items.First(); !items.Eof(); items.Next()) {
    if (!base::ColumnTrimmed(items, "NRINSCRCONS").empty()) continue;
    items.Edit();
    items.FieldByName("NRINSCRCONS").SetAsString(document);
    items.Post();
  }
}

bool ConsumerIdentification::DocumentGivenForAmount() {
  if (!AmountRequiresDocument() || !base::Trim(s_.sale.stNrDocConsCupom).empty()) return true;
  s_.ShowMessage(Msg("VlrLimSemCPF"), runtime::kMsgWarning);
  spbCNPJCPFClick();
  return false;
}

}  // namespace recebimento::screen
