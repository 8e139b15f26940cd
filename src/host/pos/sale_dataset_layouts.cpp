#include "host/pos/sale_dataset_layouts.h"

#include <utility>

namespace recebimento::pos {

using base::FieldDef;
using base::FieldType;

namespace {

// A text column and its width in characters.
struct Text {
  const char* name;
  int size;
};

void AddTexts(std::vector<FieldDef>& fields, std::initializer_list<Text> texts) {
  for (const Text& t : texts) fields.push_back({t.name, FieldType::String, t.size});
}

void Add(std::vector<FieldDef>& fields, FieldType type, std::initializer_list<const char*> names) {
  for (const char* n : names) fields.push_back({n, type, 0});
}

std::vector<FieldDef> Payments() {
  std::vector<FieldDef> f;
  AddTexts(f, {{"CDFILIAL", 4},        {"IDTIPOMOVIVE", 1},  {"CDTIPORECE", 3},      {"NMTIPORECE", 40},
               {"IDTIPORECE", 1},      {"CDTIPOTROCO", 3},   {"NRORDTROCO", 3},      {"CDCLIENTE", 21},
               {"CDCONSUMIDOR", 21},   {"CDCCUSCLIE", 10},   {"NMCONSUMIDOR", 60},   {"CDIDCONSUMID", 25},
               {"DSIMPFISCAL", 50},    {"CDFPIMPFIS", 10},   {"NRCARTBANCO", 30},    {"CDNSUHOSTTEF", 20},
               {"CDNSUTEF", 20},       {"NRCONTROLTEF", 20}, {"NMBANDTEF", 40},      {"NRAUTORIZATEF", 20},
               {"DSCARTDIGITAL", 40},  {"DSMOVIVEND", 60},   {"CDBANCARTCR", 10},    {"CDTIPORECEORIG", 3},
               {"NMTIPORECEORIG", 40}, {"IDTRANSAME", 60},   {"IDTRANSAMECAPT", 60}, {"CDINSTCAR", 20},
               {"DSOPEEXTCONS", 100},  {"IDTIPORESGATE", 1}});
  // What a balance redemption (loyalty points) leaves on its line.
  AddTexts(f, {{"CDCNPJRESGSALDO", 20}, {"CDCONSRESGSALDO", 50}, {"CDINTRESGSALDO", 50}});
  Add(f, FieldType::Float, {"VRMOVIVEND", "VRMOVIVEOUT", "VRCOTINDOUT", "VRSALDORESTCP"});
  Add(f, FieldType::Integer, {"QTPARCRECEB"});
  Add(f, FieldType::DateTime, {"DTHRINCMOV", "DTMOVIMCAIXA"});
  return f;
}

// What the fiscal receipt reads from an item, registered or cancelled, and what it
// marks on it once the printer took it. `cancelled` names the columns of cancelled items.
void FiscalItemColumns(std::vector<FieldDef>& f, bool cancelled) {
  AddTexts(f, {{"CDPRODIMPFIS", 20}, {"CDARVPROD", 20}, {"IDTPIMPOSFIS", 1}, {"SGUNIDADE", 6}});
  Add(f, FieldType::Float, {"VRPEALIMPFIS"});
  AddTexts(f, {{"IDPRODIMPFIS", 1}, {"NRCUPOMFIS", 10}, {"NRCONTCUPOMFISC", 10}, {"NRSEQPRODCUP", 255}});
  f.push_back({"DTABERCAIX", FieldType::DateTime, 0});
  f.push_back({cancelled ? "CDORDALIQIMPRIC" : "CDORDALIQIMPR", FieldType::String, 10});
  f.push_back({cancelled ? "VRALIQIMPRIC" : "VRALIQIMPR", FieldType::Float, 0});
}

std::vector<FieldDef> Items() {
  std::vector<FieldDef> f;
  AddTexts(f, {{"CDPRODUTO", 20}, {"NMPRODUTO", 60}});
  Add(f, FieldType::Float,
      {"QTPRODCOMVEN", "VRPRECCOMVEN", "VRUNITVENDCL", "VRDESCCOMVEN", "VRACRCOMVEN", "VRTXSERVICO", "VRACRCOMANDA",
       "VRDESCOMANDA"});
  AddTexts(f, {{"IDCONFIGPROD", 3},
               {"NRCOMANDA", 20},
               {"DSCOMANDA", 30},
               {"NRVENDAREST", 20},
               {"CDCLIENTE", 21},
               {"CDCONSUMIDOR", 21},
               {"DSENDEVENDA", 100},
               {"CDFAMILISALD", 4}});
  FiscalItemColumns(f, false);
  return f;
}

std::vector<FieldDef> CancelledItems() {
  std::vector<FieldDef> f;
  AddTexts(f, {{"CDPRODUTO", 20}, {"NMPRODUTO", 60}});
  Add(f, FieldType::Float, {"QTPRODCOMVEN", "VRPRECCOMVEN", "VRUNITVENCLC", "VRDESCCOMVEN", "VRACRCOMVEN"});
  FiscalItemColumns(f, true);
  return f;
}

std::vector<FieldDef> FamilyBalances() {
  return {{"CDFAMILISALD", FieldType::String, 4}, {"VRSALDCONFAM", FieldType::Float, 0}};
}

// One statement movement of a loan between two families per row, with the family on
// the other side (CDFAMILISALDEMP) and the amount lent (VREMPRESTIMO): the host books the
// movements with the sale.
std::vector<FieldDef> FamilyLoans() {
  std::vector<FieldDef> f;
  AddTexts(f, {{"CDFILIAL", 4}, {"CDCLIENTE", 21}, {"CDCONSUMIDOR", 21}, {"CDFAMILISALD", 4}, {"CDFAMILISALDEMP", 4}});
  Add(f, FieldType::Float, {"VREMPRESTIMO"});
  f.push_back({"DTMOVEXTCONS", FieldType::DateTime, 0});
  AddTexts(f, {{"NRSEQMOVEXT", 3}, {"CDTIPORECE", 3}, {"IDTPMOVEXT", 1}, {"DSOPEEXTCONS", 60}});
  Add(f, FieldType::Float, {"VRMOVEXTCONS", "VRSALDCONEXT"});
  AddTexts(f, {{"CDCAIXA", 4}, {"NRSEQVENDA", 10}});
  f.push_back({"DTABERCAIX", FieldType::DateTime, 0});
  return f;
}

std::vector<FieldDef> TaxRates() {
  return {{"CDALIQIMPFIS", FieldType::String, 10},
          {"VRALIQIMPFIS", FieldType::Float, 0},
          {"IDALIQIMPFIS", FieldType::String, 1}};
}

// The branch's tender table, one row per button of the tender grid.
std::vector<FieldDef> Tenders() {
  std::vector<FieldDef> f;
  AddTexts(f, {{"CDFILIAL", 4}, {"CDTIPORECE", 3}, {"NMTIPORECE", 40}});
  Add(f, FieldType::Float, {"VRTAXAADMI", "VRMINCARTAO"});
  AddTexts(f, {{"CDTIPOTROCO", 3},
               {"NRORDTROCO", 3},
               {"IDEMIVALE", 1},
               {"IDVALE", 1},
               {"IDDEBCLIE", 1},
               {"CDFPIMPFIS", 10},
               {"IDTIPORECE", 1},
               {"CDTPINDICE", 1},
               {"IDPERVALOR", 1},
               {"CDINDICE", 4},
               {"NRCONFTELA", 5},
               {"IDTPBUTTON", 1},
               {"NRBUTTON", 5},
               {"NRPGCONFTELA", 2},
               {"IDTPBUTONAUX", 1},
               {"NRBUTTONAUX", 5},
               {"NRPGCONFTAUX", 2},
               {"CDIDENTBUTON", 10},
               {"DSBUTTON", 40}});
  Add(f, FieldType::Float, {"NRCOLORTEXT", "NRCOLORBACK"});
  AddTexts(f, {{"DSMESSAGEBUT", 300},
               {"DSIMAGEMBUT", 200},
               {"DSIMPFISCAL", 50},
               {"CDADMINCART", 20},
               {"CDBANCARTCR", 10},
               {"IDMOSTRARECE", 1},
               {"IDDESABTEF", 1}});
  Add(f, FieldType::Float, {"NRFONTETEXT"});
  AddTexts(f, {{"IDUTCONTRREPIQ", 1}, {"IDSOLIQTPARC", 1}});
  Add(f, FieldType::Float, {"QTMAXPARC", "VRMINPARC"});
  AddTexts(f, {{"CDCREDENCCAR", 3}, {"IDSOLNSUCREDDEB", 1}, {"IDUTILVOUCHER", 1}, {"IDHABVENDAMAN", 1}});
  return f;
}

std::vector<FieldDef> LoyaltyDiscounts() {
  return {{"CDCLIENTE", FieldType::String, 21},
          {"CDCONSUMIDOR", FieldType::String, 21},
          {"VRDESCFID", FieldType::Float, 0}};
}

std::vector<FieldDef> Promotions() {
  std::vector<FieldDef> f;
  AddTexts(f, {{"IDPROMOCOM", 10},
               {"NMPROMOCOM", 100},
               {"IDTPPROMOCOM", 1},
               {"IDUTPROMOCOM", 1},
               {"CDTIPORECE", 3},
               {"IDTPDESCPROMO", 1}});
  Add(f, FieldType::Float, {"VRDESCPROMO"});
  return f;
}

// In argument order.
const std::vector<std::pair<std::string, std::vector<FieldDef>>>& Layouts() {
  static const std::vector<std::pair<std::string, std::vector<FieldDef>>> layouts = {
      {"cdsItensVenda", Items()},
      {"cdsItensCancelados", CancelledItems()},
      {"cdsMoviVenda", Payments()},
      {"cdsSaldoFamilia", FamilyBalances()},
      {"cdsEmprestimoFamHost", FamilyLoans()},
      {"cdsAliqImpFisHost", TaxRates()},
      {"cdsRecebHost", Tenders()},
      {"cdsDescFidelidade", LoyaltyDiscounts()},
      {"cdsPromoComanda", Promotions()},
  };
  return layouts;
}

}  // namespace

const std::vector<FieldDef>& PaymentDatasetLayout() { return *FixedDatasetLayout("cdsMoviVenda"); }

const std::vector<FieldDef>* FixedDatasetLayout(const std::string& argument) {
  for (const auto& [name, fields] : Layouts())
    if (name == argument) return &fields;
  return nullptr;
}

std::vector<std::string> DatasetsWithFixedLayout() {
  std::vector<std::string> names;
  for (const auto& [name, fields] : Layouts()) names.push_back(name);
  return names;
}

}  // namespace recebimento::pos
