// The service fee and the delivery fee sold as products: item lines of the sale, after
// the fee product's tax data is checked when the branch closes receipts with full tax
// data. A fee whose product cannot be sold stays a fee (or a surcharge) of the receipt.
#include <string>
#include <utility>
#include <vector>

#include "base/dataset_columns.h"
#include "base/text.h"
#include "host/runtime/messages.h"
#include "host/runtime/money.h"
#include "host/runtime/result_check.h"
#include "screen/fiscal/fiscal_receipt.h"

namespace recebimento::screen {

namespace {

using base::ColumnText;
using base::ColumnTrimmed;
using base::Variant;

// The sale's columns a fee line takes from the sale's last line.
const char* const kSaleColumns[] = {
    "CDFILIAL", "NRVENDAREST", "NRCOMANDA", "CDVENDEDOR", "DTHRABERMESA", "NRCUPOMFIS", "CDOPERADOR", "CDLOJAIT",
    "NMOPERADOR", "DTABERCAIX", "CDCLIENTE", "CDFAMILISALD", "NMCONSVEND", "NRINSCRCONS", "NRCONTCUPOMFISC",
    "DSENDEVENDA", "NRPESMESAVEN", "CDCONSUMIDOR", "CDGRPOCORDESC", "DSOBSDESC", "CDSUPERVISOR", "VRREPIQUEVENDA",
    "NMCONSUMIDOR", "DTHRINCOMVEN", "CDEMPRESA", "CDLOJA", "DSCOMANDA", "IDCOBTXSERV", "IDCONFIGPROD", "IDCHECKEDCMD",
    "DSURLFOTOCMD", "NRIDESTRANGEIRA",
    // Loyalty, cashback, prepaid cards, the banking core, Olga and CRM.
    "CDPROMOFID4ALL", "NRCPFFID4ALL", "VRDESCCASH4ALL", "VRDESCPROMO4ALL", "NRCPFFIDUDS", "VRDESCCASHUDS", "VRDESCFID",
    "VRDESCFIDELIDAD", "NRTELCRM", "NRIDBONUSCRM", "VRDESCCRM", "NRNFCECRMBONUS", "NRTELGCOM", "IDRESERVEGCOM",
    "IDCONSUMERGCOM", "VRDESCGCOM", "NRCPFCOREBANC", "IDCARTCOREBANC", "IDREQCOREBANC", "VRRESGCOREBANC", "NRTELOLGA",
    "IDBENEFOLGA", "IDCUPOMOLGA", "VRTOTOLGA", "IDTRANSVENDAOLGA", "NRCPFFIXECRM", "VRRESGFIXECRM"};

// The fee product's columns an item line takes.
const char* const kProductColumns[] = {"CDARVPROD",    "NMPRODUTO", "IDTPIMPOSFIS",
                                       "VRPEALIMPFIS", "CDIMPOSTO", "SGUNIDADE"};

// Amounts of the fee line that start at zero.
const char* const kZeroAmounts[] = {"VRDESCCOMVEN", "VRDESCOMANDA", "VRTXSERVICO", "VRCONSUMAMIN",
                                    "VRACRCOMANDA", "ACRESITEM",    "VRACRCOMVEN"};

// The sale's last line: the values a fee line copies, read before any line is added.
std::vector<std::pair<std::string, Variant>> LastLineValues(base::Dataset& items) {
  std::vector<std::pair<std::string, Variant>> values;
  items.Last();
  for (const char* column : kSaleColumns)
    if (items.FieldIndex(column) >= 0) values.emplace_back(column, items.FieldByName(column).Value());
  return values;
}

// Appends a fee line of `price` for the fee product (the current row of `product`).
void AppendFeeLine(base::Dataset& items, const std::vector<std::pair<std::string, Variant>>& sale_values,
                   base::Dataset& product, const std::string& code, double price, const std::string& marker) {
  items.Append();
  for (const auto& [column, value] : sale_values) base::SetColumn(items, column, value);
  base::SetColumn(items, "CDPRODUTO", Variant(code));
  base::SetColumn(items, "IDPRODIMPFIS", Variant("N"));
  base::SetColumn(items, "QTPRODCOMVEN", Variant(1.0));
  base::SetColumn(items, "VRPRECCOMVEN", Variant(runtime::RoundCents(price)));
  for (const char* column : kZeroAmounts) base::SetColumn(items, column, Variant(0.0));
  base::SetColumn(items, "NRLUGARMESA", Variant("01"));
  for (const char* column : kProductColumns)
    if (product.FieldIndex(column) >= 0) base::SetColumn(items, column, product.FieldByName(column).Value());
  base::SetColumn(items, "IDTPFORPGVEN", Variant("V"));
  base::SetColumn(items, "IDPRODTAXASERV", Variant(marker));
  items.Post();
}

// The fee product (`code`) read into `product`; false, with the failure shown, when it
// cannot be read, does not exist, or lacks the tax data a full-data receipt needs.
bool ReadFeeProduct(const ScreenScope& s, bool service, const std::string& code, const std::string& fee_name,
                    base::Dataset& product) {
  const ParametrosZem& par = s.par;
  const char* function = service ? "getProdTaxaServ" : "getProdTaxaEntr";
  const Variant found = s.CheckResult(
      service ? s.ctx.rdm.getProdTaxaServ(par.stCDFILIAL, code) : s.ctx.rdm.getProdTaxaEntr(par.stCDFILIAL, code),
      function, par.stCDFILIAL + "-" + code);
  if (!runtime::IsResultPacket(found)) return false;
  product.SetData(found);
  if (!product.Active() || product.IsEmpty()) {
    s.ShowMessage("Produto parametrizado como " + fee_name + " (" + code +
                      ") não está cadastrado. O valor da taxa será incluído como Acréscimo no cupom.",
                  runtime::kMsgBlocked);
    return false;
  }
  if (par.stIDFECHACUPOM != "S") return true;
  static const std::pair<const char*, const char*> kTaxData[] = {{"CDCLASFISC", "NCM"},
                                                                 {"CDCFOPPFIS", "CFOP"},
                                                                 {"CDCSTICMS", "CST do ICMS"},
                                                                 {"CDCSTPISCOF", "CST do PIS/COFINS"},
                                                                 {"VRALIQPIS", "Aliquota do PIS"},
                                                                 {"VRALIQCOFINS", "Aliquota do COFINS"}};
  const std::string tail = service ? " e a filial utiliza a rotina de Fechamento de Cupom." : ".";
  for (const auto& [column, name] : kTaxData) {
    if (!base::Trim(ColumnText(product, column)).empty()) continue;
    s.ShowMessage("Produto parametrizado como " + fee_name + " não pode ser vendido, pois não possui " + name +
                      " parametrizado" + tail + " O valor da taxa será incluído como Acréscimo no cupom.",
                  runtime::kMsgBlocked);
    return false;
  }
  return true;
}

}  // namespace

void FiscalReceipt::CriaItemTaxaServ() {
  SaleState& sale = s_.sale;
  const ParametrosZem& par = s_.par;
  base::Dataset* items = sale.cdsItensVenda;
  if (!sale.HasItems()) return;
  base::Dataset product("cdsProdTaxaServ");
  if (!ReadFeeProduct(s_, true, par.stCDPRODTAXASERV, "Taxa de Serviço", product)) return;
  const auto sale_values = LastLineValues(*items);
  double fee = runtime::Trunc2(sale.ItemNumber("VRTXSERVICO"));

  // The part of the fee above 10 % of the sale is a product of its own.
  if (!base::Trim(par.stCDPRODTXEXCEDE).empty()) {
    const double ten_percent = runtime::Trunc2((sale.doVrTotal - sale.doVrServico) * 0.1);
    if (runtime::ToCents(fee) > runtime::ToCents(ten_percent)) {
      base::Dataset excess("cdsProdTaxaExcede");
      if (!ReadFeeProduct(s_, true, par.stCDPRODTXEXCEDE, "Taxa de Serviço Excedente", excess)) return;
      AppendFeeLine(*items, sale_values, excess, par.stCDPRODTXEXCEDE,
                    runtime::FromCents(runtime::ToCents(fee) - runtime::ToCents(ten_percent)), "X");
      fee = ten_percent;
    }
  }
  if (par.stIDPERACRTXSECUP == "S" && sale.doVrAcrescimo > 0)
    sale.doVrAcrescimo = runtime::RoundCents(sale.doVrAcrescimo + sale.doVrServico);
  // The tip kept from the change goes with the fee.
  const double price = sale.doVrAcrescimo > 0              ? sale.doVrAcrescimo
                       : sale.doVrTroco > sale.doVrRepique ? fee + sale.doVrRepique
                                                           : fee + sale.doVrTroco;
  AppendFeeLine(*items, sale_values, product, par.stCDPRODTAXASERV, price, "S");

  // The fee now lives in its items.
  for (items->First(); !items->Eof(); items->Next()) {
    if (items->FieldIndex("VRTXSERVICO") < 0) break;
    items->Edit();
    items->FieldByName("VRTXSERVICO").SetAsFloat(0);
    items->Post();
  }
  sale.doVrServico = 0;
  sale.doVrAcrescimo = 0;
}

void FiscalReceipt::CriaItemTaxaEntr() {
  SaleState& sale = s_.sale;
  const ParametrosZem& par = s_.par;
  base::Dataset* items = sale.cdsItensVenda;
  if (!sale.HasItems()) return;
  base::Dataset product("cdsProdTaxaEntr");
  if (!ReadFeeProduct(s_, false, par.stCDPRODTAXAENTR, "Taxa de Entrega", product)) return;
  const auto sale_values = LastLineValues(*items);
  const double delivery_fee = sale.ItemNumber("VRACRCOMANDA");
  AppendFeeLine(*items, sale_values, product, par.stCDPRODTAXAENTR, delivery_fee, "E");
  // The fee now lives in its item.
  for (items->First(); !items->Eof(); items->Next()) {
    if (items->FieldIndex("VRACRCOMANDA") < 0) break;
    items->Edit();
    items->FieldByName("VRACRCOMANDA").SetAsFloat(0);
    items->Post();
  }
  sale.doVrAcrComanda = 0;
  sale.doVrAcrescimo = 0;
}

}  // namespace recebimento::screen
