#pragma once
// A sale on a register with a fiscal printer, over the demo store: the host's item,
// cancelled-item and payment datasets in their contract layouts, the branch's tax rates,
// and the simulated printer with its journal.
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "base/dataset_columns.h"
#include "datamodule/trdm_recebimento.h"
#include "host/pos/sale_dataset_layouts.h"
#include "screen/support/demo_store.h"
#include "screen/support/queued_answers.h"
#include "screen/support/screen_parts_fixture.h"

namespace recebimento::testing {

class FiscalTest : public DemoStore, public ScreenPartsTest {
 protected:
  // The parts over a fresh demo store on `engine`; false (the test is to be skipped)
  // when the engine has no server.
  bool Start(Engine engine = Engine::SQLite) {
    if (!OpenDemoStore(engine)) return false;
    rdm_ = std::make_unique<datamodule::TrdmRecebimento>(store_->connection());
    rdm_->SetClock(&clock_);
    screen::ParametrosZem& p = par();
    p.boUTILIZAIMPFIS = true;
    p.inIDTIPOIMPFIS = 1;
    p.stIDESQUEMA = "1";
    p.stCDFILIAL = "0001";
    p.stCDCAIXA = "001";
    p.stCDEMPRESA = "01";
    p.stIDUTILTEF = "N";
    p.stNRSERIEIMP = "SIM00000001";
    p.dtDTABERCAIX = base::DateTime::FromYMD(2026, 12, 6, 7);
    screen::SaleState& s = sale();
    s.stModoVenda = "RES";
    s.stIdTipoVenda = "M";
    s.stTipoTela = "N";
    s.stCdOperador = "ADMIN";
    s.stNmOperador = "OPERADOR";
    Layout(items_, "cdsItensVenda", {"CDFILIAL", "CDLOJAIT", "IDPRODTAXASERV", "CDPRODPROMOCAO", "NRSEQPRODCOM"});
    Layout(cancelled_, "cdsItensCancelados", {"CDSUPERVISOR", "CDOPERCANC"});
    Layout(movi_, "cdsMoviVenda", {});
    s.cdsItensVenda = &items_;
    s.cdsItensCancelados = &cancelled_;
    s.cdsMoviVenda = &movi_;
    Fill(s.cdsAliqImpFis,
         {{{"CDALIQIMPFIS", Str("T18")}, {"VRALIQIMPFIS", base::Variant(18.0)}, {"IDALIQIMPFIS", Str("T")}},
          {{"CDALIQIMPFIS", Str("F")}, {"VRALIQIMPFIS", base::Variant(0.0)}, {"IDALIQIMPFIS", Str("F")}},
          {{"CDALIQIMPFIS", Str("S05")}, {"VRALIQIMPFIS", base::Variant(5.0)}, {"IDALIQIMPFIS", Str("S")}}});
    Rebuild();
    return true;
  }

  // A new simulated host from config_ (printer failures, TEF, services), the parts anew.
  void Rebuild() { BuildParts(&answers_); }

  static base::Variant Str(const std::string& s) { return base::Variant(s); }

  // An item line; `more` sets other columns.
  void AddItem(const std::string& product, const std::string& name, double qty, double price, const Row& more = {}) {
    items_.Append();
    Set(items_, {{"CDFILIAL", Str("0001")},
                 {"CDPRODUTO", Str(product)},
                 {"NMPRODUTO", Str(name)},
                 {"CDARVPROD", Str(product)},
                 {"QTPRODCOMVEN", base::Variant(qty)},
                 {"VRPRECCOMVEN", base::Variant(price)},
                 {"VRUNITVENDCL", base::Variant(0.0)},
                 {"VRDESCCOMVEN", base::Variant(0.0)},
                 {"VRACRCOMVEN", base::Variant(0.0)},
                 {"VRTXSERVICO", base::Variant(0.0)},
                 {"VRACRCOMANDA", base::Variant(0.0)},
                 {"VRDESCOMANDA", base::Variant(0.0)},
                 {"IDTPIMPOSFIS", Str("T")},
                 {"VRPEALIMPFIS", base::Variant(18.0)},
                 {"SGUNIDADE", Str("UN")},
                 {"DSCOMANDA", Str("12")},
                 {"CDLOJAIT", Str("0001")}});
    Set(items_, more);
    items_.Post();
  }
  void AddCancelledItem(const std::string& product, double qty, double price) {
    cancelled_.Append();
    Set(cancelled_, {{"CDPRODUTO", Str(product)},
                     {"NMPRODUTO", Str("CANCELADO " + product)},
                     {"CDARVPROD", Str(product)},
                     {"QTPRODCOMVEN", base::Variant(qty)},
                     {"VRPRECCOMVEN", base::Variant(price)},
                     {"VRUNITVENCLC", base::Variant(0.0)},
                     {"IDTPIMPOSFIS", Str("T")},
                     {"VRPEALIMPFIS", base::Variant(18.0)},
                     {"CDSUPERVISOR", Str("SUP01")}});
    cancelled_.Post();
  }
  // A payment line: tender, tender kind, amount; `more` sets other columns.
  void Pay(const std::string& tender, const std::string& kind, double amount, const Row& more = {}) {
    movi_.Append();
    Set(movi_, {{"CDFILIAL", Str("0001")},
                {"CDTIPORECE", Str(tender)},
                {"IDTIPORECE", Str(kind)},
                {"NMTIPORECE", Str(kind == "4" ? "DINHEIRO" : "TENDER " + tender)},
                {"IDTIPOMOVIVE", Str("E")},
                {"VRMOVIVEND", base::Variant(amount)}});
    Set(movi_, more);
    movi_.Post();
  }

  // The sale as the confirmation hands it to the receipt: paid, nothing else under way.
  bool Print() { return parts().fiscal.ImprimeCupom(); }

  std::vector<pos::HostCall> Calls(const std::string& name) const { return sim_->Record().CallsOf(name); }
  size_t Count(const std::string& name) const { return sim_->Record().CountOf(name); }
  // The closing record the printer received (empty when the receipt was not closed).
  std::vector<base::Variant> ClosingRecord() const {
    const auto calls = Calls("FechaCupom");
    if (calls.empty() || calls.back().args.size() < 2 || !calls.back().args[1].IsArray()) return {};
    return calls.back().args[1].AsArray();
  }
  // What the fiscal printer printed, one line each.
  std::vector<std::string> Printed() const {
    std::vector<std::string> out;
    for (const auto& l : sim_->Record().Printed())
      if (l.device == "fiscal") out.push_back(l.text);
    return out;
  }
  bool PrintedLine(const std::string& text) const {
    for (const auto& l : Printed())
      if (l.find(text) != std::string::npos) return true;
    return false;
  }
  std::string ItemColumn(int row, const std::string& column) {
    items_.SetRecNo(row);
    return base::ColumnText(items_, column);
  }
  // The answer to the next question the host's dialogs ask.
  void Answer(bool yes) { answers_.Value(base::Variant(yes)); }

  QueuedAnswers answers_;
  base::Dataset items_{"cdsItensVenda"};
  base::Dataset cancelled_{"cdsItensCancelados"};
  base::Dataset movi_{"cdsMoviVenda"};

 private:
  static void Layout(base::Dataset& ds, const std::string& argument, const std::vector<std::string>& extra) {
    std::vector<base::FieldDef> fields = *pos::FixedDatasetLayout(argument);
    for (const auto& name : extra) {
      bool known = false;
      for (const auto& f : fields) known = known || f.name == name;
      if (!known) fields.push_back({name, base::FieldType::String, 20});
    }
    ds.SetFields(fields);
    ds.CreateDataSet();
  }
  static void Set(base::Dataset& ds, const Row& values) {
    for (const auto& [column, value] : values)
      if (ds.FieldIndex(column) >= 0) ds.FieldByName(column).SetValue(value);
  }
};

}  // namespace recebimento::testing
