// The printing step of the confirmation: the fiscal receipt, the host's printing of the
// whole sale (printer models 16, 21 and 30), or a sale without a fiscal printer with its
// sale number, the non-fiscal receipt and the drawer.
#include <string>
#include <vector>

#include "base/text.h"
#include "datamodule/trdm_recebimento.h"
#include "host/pos/fiscal_params.h"
#include "host/pos/host_services.h"
#include "host/runtime/format.h"
#include "host/runtime/messages.h"
#include "host/runtime/result_check.h"
#include "screen/frm_recebimento.h"
#include "screen/message_format.h"
#include "screen/message_table.h"
#include "screen/screen_globals.h"
#include "screen/screen_log.h"

namespace recebimento::screen {

namespace {

using base::Variant;

bool ImpressoraImprimeVenda(int modelo) { return modelo == 16 || modelo == 21 || modelo == 30; }

base::DataPacket PacoteDe(const base::Dataset* ds) {
  return ds && ds->Active() ? ds->Data() : base::DataPacket{};
}

std::string Texto(const base::DataPacket& p, const std::vector<Variant>& row, const char* coluna) {
  const int i = p.FieldIndex(coluna);
  return i < 0 ? std::string() : base::Trim(row[i].AsString());
}

// A sale number as the store hands it out: digits only. Anything else is an error text.
bool NumeroValido(const Variant& v) {
  if (!v.IsString() || v.AsString().empty()) return false;
  for (unsigned char ch : v.AsString())
    if (ch < '0' || ch > '9') return false;
  return true;
}

double Legenda(const ControlRegistry& c, const char* name) {
  const Control* ctl = c.FindComponent(name);
  if (!ctl || base::Trim(ctl->caption).empty()) return 0;
  std::string plain;
  for (char ch : ctl->caption) {
    if (ch == runtime::GetNumberLocale().decimal_separator)
      plain += '.';
    else if ((ch >= '0' && ch <= '9') || ch == '-')
      plain += ch;
  }
  try {
    return plain.empty() ? 0 : std::stod(plain);
  } catch (const std::exception&) {
    return 0;
  }
}

}  // namespace

bool TfrmRecebimento::ImprimeVenda() {
  if (boUTILIZAIMPFIS && !ImpressoraImprimeVenda(inIDTIPOIMPFIS)) {
    if (ImprimeCupom()) return true;
    if (stIDUTILTEF == "S") {
      // The exit runs now, not after this handler: its own guard must not see ours.
      boProcessandoSaida = false;
      ExecutaSaida();
      boProcessandoSaida = true;
    }
    return false;
  }
  if (boUTILIZAIMPFIS) return ImprimeVendaHost();
  if (!ReservaNumeroVenda()) return false;
  RegistraVendaSemImpressora();
  return true;
}

bool TfrmRecebimento::ImprimeVendaHost() {
  pos::SalePrintParams venda;
  venda.stIDESQUEMA = stIDESQUEMA;
  venda.stIDIMPSALDOCUPOM = stIDIMPSALDOCUPOM;
  venda.items = PacoteDe(cdsItensVenda);
  venda.payments = PacoteDe(cdsMoviVenda);
  venda.tenders = PacoteDe(&cdsReceb);
  venda.tax_rates = PacoteDe(&cdsAliqImpFis);
  venda.family_balances = PacoteDe(cdsSaldoFamilia);
  venda.family_loans = PacoteDe(&cdsEmprestimoFam);
  bool credito = false, debito = false;
  for (const auto& row : venda.payments.rows) {
    const std::string tipo = Texto(venda.payments, row, "IDTIPORECE");
    credito = credito || tipo == "1";
    debito = debito || tipo == "2";
  }
  venda.card_kind = credito ? "1" : debito ? "2" : "0";
  runtime::ParamBlock bloco = pos::Params_ImpressaoVenda_Gpe00000(venda);
  const bool ok = pos::Host().printer->ImpressaoVenda(bloco);
  const std::string resposta = runtime::RecebeParams(bloco, "RETORNO").AsString();
  if (!ok || resposta == "Erro" || resposta.empty()) return false;
  stNrCupomFis = resposta;
  boVendaOk = true;
  return true;
}

bool TfrmRecebimento::ReservaNumeroVenda() {
  Variant numero;
  std::string prefixo;
  if (!base::Trim(stCDPREFINTGCOL).empty()) {
    prefixo = base::Trim(stCDPREFINTGCOL);
    numero = rdmRecebimento->getPrxVendaColombia(stCDFILIAL, stCDCAIXA, prefixo, stNRCUPINIINTGCOL,
                                                 stNRCUPFININTGCOL);
    if (!NumeroValido(numero)) {
      MostraMensagem(Msg("Cup_inv"), runtime::kMsgBlocked);
      if (numero.AsString() != "CUPINV") MostraMensagem(numero.AsString(), runtime::kMsgBlocked);
      return false;
    }
  } else if (boSISTEMAZEMNFCE) {
    const std::string serie = pos::Host().fiscal->getNumeroSerieNFCe(stCDFILIAL, stCDCAIXA);
    numero = rdmRecebimento->setNumeroNFCe(stCDFILIAL, stCDCAIXA, serie, stIDAMBTRABNFCE, false);
  } else {
    numero = rdmRecebimento->setNrVendaNFisc(stCDFILIAL, stCDCAIXA, stIdTipoVenda == "C" ? "C" : "V");
  }
  // A sale is never recorded under an error text in place of its number.
  if (!NumeroValido(numero)) {
    MostraMensagem(numero.AsString().empty() ? Msg("Cup_inv") : numero.AsString(), runtime::kMsgBlocked);
    return false;
  }
  stNrVenda = prefixo + numero.AsString();
  return true;
}

void TfrmRecebimento::RegistraVendaSemImpressora() {
  if (!AbreGavetaRecebimentos(false)) MostraMensagem(MsgFmt("Erro_Gaveta", {"002"}), runtime::kMsgBlocked);
  pos::Host().fiscal->LogImpNFiscal(LinhaLogNaoFiscal());
  boVendaOk = true;
  // The sale is recorded: its number stops being only reserved.
  LogRev00000("confirma recebimento - venda " + stNrVenda + " registrada");
  if (const std::string erro = rdmRecebimento->MarkNumberUsed(stCDFILIAL, stCDCAIXA, stNrVenda); !erro.empty())
    LogRev00000("numero " + stNrVenda + " nao marcado como usado: " + erro);
  PreencheParamImpCupNF();
  const std::vector<Variant> args = {Variant(std::string("CUPOM")), Variant(cdsParamImpCupNF.Data()),
                                     Variant(PacoteDe(cdsItensVenda)), Variant(PacoteDe(cdsMoviVenda))};
  pos::Host().fiscal->DisparaImpressaoNaoFiscal(args, oleRetorno);
  ImprimeCupom();
  LogRev00000("confirma recebimento - saida Imprimecupom");
}

std::string TfrmRecebimento::LinhaLogNaoFiscal() const {
  auto valor = [](double v) { return runtime::FormatFloat("0.00", v); };
  std::string tipos;
  const base::DataPacket p = PacoteDe(cdsMoviVenda);
  for (const auto& row : p.rows) {
    if (Texto(p, row, "IDTIPOMOVIVE") == "S") continue;
    const std::string nome = Texto(p, row, "NMTIPORECE");
    tipos += (tipos.empty() ? "" : "/") + (nome.empty() ? Texto(p, row, "CDTIPORECE") : nome);
  }
  return "Recebimento ---  Valor Venda: " + valor(doVrTotal) + " Tipo Rec: " + tipos + " Valor Pago: " +
         valor(doVrPago) + " Troco: " + valor(doVrTroco);
}

bool TfrmRecebimento::AbreGavetaRecebimentos(bool pela_impressora) {
  if (!cdsMoviVenda || !cdsMoviVenda->Active() || cdsMoviVenda->IsEmpty()) return true;
  const Variant tipos = rdmRecebimento->getTipoRecebimento();
  if (!runtime::IsResultPacket(tipos)) {
    runtime::MensagemMetodo(tipos, true, 0, "getTipoRecebimento", "Cli_Rev00000", "");
    return true;
  }
  cdsTipoRecebimento.SetData(tipos);
  const base::DataPacket pagamentos = PacoteDe(cdsMoviVenda);
  for (const auto& row : pagamentos.rows) {
    const std::string tipo = Texto(pagamentos, row, "CDTIPORECE");
    if (tipo.empty() || cdsTipoRecebimento.FieldIndex("IDABGAVTPRECE") < 0) continue;
    if (!cdsTipoRecebimento.Locate("CDTIPORECE", Variant(tipo))) continue;
    if (base::Trim(cdsTipoRecebimento.FieldByName("IDABGAVTPRECE").AsString()) != "S") continue;
    pos::CashDrawer& gaveta = *pos::Host().drawer;
    return pela_impressora ? gaveta.Abre_Gaveta_Imp(stCDPORTAIMPFIS, stIDESQUEMA, !boOperacaoEmCurso)
                           : gaveta.AbreGaveta(stIDTIPOIMPNF1, stCDPORTIMPNF1);
  }
  return true;
}

void TfrmRecebimento::PreencheParamImpCupNF() {
  base::Dataset& p = cdsParamImpCupNF;
  p.Close();
  p.SetFields({});
  using base::FieldType;
  const std::vector<std::tuple<const char*, FieldType, int>> campos = {
      {"CDIDCONSUMID", FieldType::String, 25},   {"NMCONSUMIDOR", FieldType::String, 50},
      {"NRSEQVENDA", FieldType::String, 50},     {"NRNAOFISCAL", FieldType::String, 50},
      {"BOIMPREDZEPSON", FieldType::Boolean, 0}, {"VENDAREALIZADA", FieldType::String, 2},
      {"TOTALPAGO", FieldType::Float, 0},        {"DOVALACR", FieldType::Float, 0},
      {"DSCOMANDA", FieldType::String, 50},      {"VRCOUVERT", FieldType::Float, 0},
      {"VRCONSUMACA", FieldType::Float, 0},      {"VRTXSERVICO", FieldType::Float, 0},
      {"CDPRODCOUVER", FieldType::String, 10},   {"CDPRODCONSUM", FieldType::String, 10},
      {"stIdTipoImpNF1", FieldType::String, 5},  {"stIdTipoImpNF2", FieldType::String, 5},
      {"stCdPortImpNF1", FieldType::String, 5},  {"stCdPortImpNF2", FieldType::String, 5},
      {"stIdVendImpNF1", FieldType::String, 5},  {"stIdVendImpNF2", FieldType::String, 5},
      {"STIDPAISINTEGRA", FieldType::String, 2}, {"stRedZLeituraX", FieldType::String, 1},
      {"stImpFechaCaixa", FieldType::String, 1}, {"stImpRelProduto", FieldType::String, 1},
      {"stImpRedZLeituX", FieldType::String, 1}, {"stNrSerieECF", FieldType::String, 50},
      {"DTABERTURACAIXA", FieldType::DateTime, 0}, {"stRelProdutoDia", FieldType::String, 1},
      {"NRMESA", FieldType::String, 4},          {"BUSCANRPESSOAS", FieldType::String, 1},
      {"NRPESMESAALT", FieldType::String, 5},    {"NMVENDEDOR", FieldType::String, 50},
      {"AGRUPADO", FieldType::String, 1},        {"COBRATAXA_FECHAMENTO", FieldType::String, 1},
      {"COBRACOUVER_FECHAMENTO", FieldType::String, 1}, {"COBRACONSUMACAO_FECHAMENTO", FieldType::String, 1},
      {"NRPESSOAS", FieldType::String, 5},       {"CDCLIENTE", FieldType::String, 21},
      {"TIPOCONTA", FieldType::String, 50},      {"VRBASECONSUM", FieldType::Float, 0},
      {"STIMPPOSOBS", FieldType::String, 1},     {"TIPOVENDA", FieldType::String, 1},
      {"IDIMPCOMPCUPVEN", FieldType::String, 1}, {"IDAMBTRABNFCE", FieldType::String, 1},
      {"stIdTipoImpNF3", FieldType::String, 5},  {"stCdPortImpNF3", FieldType::String, 5},
      {"stIdVendImpNF3", FieldType::String, 5},
  };
  for (const auto& [nome, tipo, tamanho] : campos) p.AddField(nome, tipo, tamanho);
  p.CreateDataSet();
  p.Append();
  auto texto = [&p](const char* campo, const std::string& v) { p.FieldByName(campo).SetAsString(v); };
  auto numero = [&p](const char* campo, double v) { p.FieldByName(campo).SetAsFloat(v); };
  for (const auto& [nome, tipo, tamanho] : campos) {
    if (tipo == FieldType::Float) numero(nome, 0);
    else if (tipo == FieldType::Boolean) p.FieldByName(nome).SetAsBoolean(false);
    else if (tipo == FieldType::String) texto(nome, "");
  }
  texto("CDPRODCONSUM", stCDPRODCONSUM);
  texto("CDPRODCOUVER", stCDPRODCOUVER);
  numero("VRTXSERVICO", Legenda(Controls(), "lblServico"));
  numero("VRCONSUMACA", Legenda(Controls(), "lblVrConsumacao"));
  numero("VRCOUVERT", Legenda(Controls(), "lblVrCouver"));
  if (const Control* nr = Controls().FindComponent("lblNrVenda")) texto("DSCOMANDA", nr->caption);
  texto("CDIDCONSUMID", stCDIDCONSUMID);
  texto("NRNAOFISCAL", stNrVenda);
  texto("VENDAREALIZADA", "A");
  texto("NMCONSUMIDOR", stNmConsCupom);
  numero("DOVALACR", doVrAcrComanda);
  numero("TOTALPAGO", doVrPago);
  texto("stIdTipoImpNF1", stIDTIPOIMPNF1);
  texto("stIdTipoImpNF2", stIDTIPOIMPNF2);
  texto("stIdTipoImpNF3", stIDTIPOIMPNF3);
  texto("stCdPortImpNF1", stCDPORTIMPNF1);
  texto("stCdPortImpNF2", stCDPORTIMPNF2);
  texto("stCdPortImpNF3", stCDPORTIMPNF3);
  texto("stIdVendImpNF1", stIDTPVENDIMPNF1);
  texto("stIdVendImpNF2", stIDTPVENDIMPNF2);
  texto("stIdVendImpNF3", stIDTPVENDIMPNF3);
  texto("STIDPAISINTEGRA", stIDPAISINTEGRA);
  p.FieldByName("DTABERTURACAIXA").SetAsDateTime(dtDTABERCAIX);
  texto("IDIMPCOMPCUPVEN", stIDIMPCOMPCUPVEN);
  texto("IDAMBTRABNFCE", stIDAMBTRABNFCE);
  p.Post();
}

}  // namespace recebimento::screen
