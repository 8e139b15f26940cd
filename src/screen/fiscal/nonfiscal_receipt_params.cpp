// The parameters of the host's non-fiscal receipt: one row of cdsParamImpCupNF with the
// sale's number, its consumer, the amounts the screen shows and the three printers.
#include <string>
#include <tuple>
#include <vector>

#include "base/text.h"
#include "host/runtime/format.h"
#include "screen/fiscal/fiscal_receipt.h"

namespace recebimento::screen {

namespace {

// The amount a label of the screen shows, read back under the number locale.
double CaptionAmount(const ControlRegistry& c, const char* name) {
  const std::string caption = c.CaptionOf(name);
  if (base::Trim(caption).empty()) return 0;
  std::string plain;
  for (char ch : caption) {
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

void FiscalReceipt::PreencheParamImpCupNF() {
  base::Dataset& p = cdsParamImpCupNF;
  const ParametrosZem& par = s_.par;
  const SaleState& sale = s_.sale;
  p.Close();
  p.SetFields({});
  using base::FieldType;
  const std::vector<std::tuple<const char*, FieldType, int>> columns = {
      {"CDIDCONSUMID", FieldType::String, 25},
      {"NMCONSUMIDOR", FieldType::String, 50},
      {"NRSEQVENDA", FieldType::String, 50},
      {"NRNAOFISCAL", FieldType::String, 50},
      {"BOIMPREDZEPSON", FieldType::Boolean, 0},
      {"VENDAREALIZADA", FieldType::String, 2},
      {"TOTALPAGO", FieldType::Float, 0},
      {"DOVALACR", FieldType::Float, 0},
      {"DSCOMANDA", FieldType::String, 50},
      {"VRCOUVERT", FieldType::Float, 0},
      {"VRCONSUMACA", FieldType::Float, 0},
      {"VRTXSERVICO", FieldType::Float, 0},
      {"CDPRODCOUVER", FieldType::String, 10},
      {"CDPRODCONSUM", FieldType::String, 10},
      {"stIdTipoImpNF1", FieldType::String, 5},
      {"stIdTipoImpNF2", FieldType::String, 5},
      {"stCdPortImpNF1", FieldType::String, 5},
      {"stCdPortImpNF2", FieldType::String, 5},
      {"stIdVendImpNF1", FieldType::String, 5},
      {"stIdVendImpNF2", FieldType::String, 5},
      {"STIDPAISINTEGRA", FieldType::String, 2},
      {"stRedZLeituraX", FieldType::String, 1},
      {"stImpFechaCaixa", FieldType::String, 1},
      {"stImpRelProduto", FieldType::String, 1},
      {"stImpRedZLeituX", FieldType::String, 1},
      {"stNrSerieECF", FieldType::String, 50},
      {"DTABERTURACAIXA", FieldType::DateTime, 0},
      {"stRelProdutoDia", FieldType::String, 1},
      {"NRMESA", FieldType::String, 4},
      {"BUSCANRPESSOAS", FieldType::String, 1},
      {"NRPESMESAALT", FieldType::String, 5},
      {"NMVENDEDOR", FieldType::String, 50},
      {"AGRUPADO", FieldType::String, 1},
      {"COBRATAXA_FECHAMENTO", FieldType::String, 1},
      {"COBRACOUVER_FECHAMENTO", FieldType::String, 1},
      {"COBRACONSUMACAO_FECHAMENTO", FieldType::String, 1},
      {"NRPESSOAS", FieldType::String, 5},
      {"CDCLIENTE", FieldType::String, 21},
      {"TIPOCONTA", FieldType::String, 50},
      {"VRBASECONSUM", FieldType::Float, 0},
      {"STIMPPOSOBS", FieldType::String, 1},
      {"TIPOVENDA", FieldType::String, 1},
      {"IDIMPCOMPCUPVEN", FieldType::String, 1},
      {"IDAMBTRABNFCE", FieldType::String, 1},
      {"stIdTipoImpNF3", FieldType::String, 5},
      {"stCdPortImpNF3", FieldType::String, 5},
      {"stIdVendImpNF3", FieldType::String, 5},
  };
  for (const auto& [name, type, size] : columns) p.AddField(name, type, size);
  p.CreateDataSet();
  p.Append();
  auto text = [&p](const char* column, const std::string& v) { p.FieldByName(column).SetAsString(v); };
  auto number = [&p](const char* column, double v) { p.FieldByName(column).SetAsFloat(v); };
  for (const auto& [name, type, size] : columns) {
    if (type == FieldType::Float)
      number(name, 0);
    else if (type == FieldType::Boolean)
      p.FieldByName(name).SetAsBoolean(false);
    else if (type == FieldType::String)
      text(name, "");
  }
  text("CDPRODCONSUM", par.stCDPRODCONSUM);
  text("CDPRODCOUVER", par.stCDPRODCOUVER);
  number("VRTXSERVICO", CaptionAmount(s_.controls, "lblServico"));
  number("VRCONSUMACA", CaptionAmount(s_.controls, "lblVrConsumacao"));
  number("VRCOUVERT", CaptionAmount(s_.controls, "lblVrCouver"));
  if (const Control* nr = s_.controls.FindComponent("lblNrVenda")) text("DSCOMANDA", nr->caption);
  text("CDIDCONSUMID", sale.stCDIDCONSUMID);
  text("NRNAOFISCAL", sale.stNrVenda);
  text("VENDAREALIZADA", "A");
  text("NMCONSUMIDOR", sale.stNmConsCupom);
  number("DOVALACR", sale.doVrAcrComanda);
  number("TOTALPAGO", sale.doVrPago);
  text("stIdTipoImpNF1", par.stIDTIPOIMPNF1);
  text("stIdTipoImpNF2", par.stIDTIPOIMPNF2);
  text("stIdTipoImpNF3", par.stIDTIPOIMPNF3);
  text("stCdPortImpNF1", par.stCDPORTIMPNF1);
  text("stCdPortImpNF2", par.stCDPORTIMPNF2);
  text("stCdPortImpNF3", par.stCDPORTIMPNF3);
  text("stIdVendImpNF1", par.stIDTPVENDIMPNF1);
  text("stIdVendImpNF2", par.stIDTPVENDIMPNF2);
  text("stIdVendImpNF3", par.stIDTPVENDIMPNF3);
  text("STIDPAISINTEGRA", par.stIDPAISINTEGRA);
  p.FieldByName("DTABERTURACAIXA").SetAsDateTime(par.dtDTABERCAIX);
  text("IDIMPCOMPCUPVEN", par.stIDIMPCOMPCUPVEN);
  text("IDAMBTRABNFCE", par.stIDAMBTRABNFCE);
  p.Post();
}

}  // namespace recebimento::screen
