#pragma once
// The consumer parts over the demo store (its client 000001 and consumers 0001 to 0004,
// balance families, caps and quotas), with a table sale whose items name the consumer,
// the consumer-account tenders and the host's family list.
#include <string>
#include <vector>

#include "screen/support/tender_selection_fixture.h"
#include "support/store_fixture.h"

namespace recebimento::testing {

class ConsumerTest : public TenderSelectionTest {
 protected:
  void SetUp() override {
    demo_ = SqliteStoreAt(dir_ / "demo.db", true);
    rdm_ = std::make_unique<datamodule::TrdmRecebimento>(demo_);
    TenderSelectionTest::SetUp();
    BindConsumerButtons();
    AddTender("010", "DEBITO CONSUMIDOR", "A", "", "");
    sale().cdsSaldoFamilia = &families_;
    sale().cdsItensVenda = &items_;
    sale().stIdTipoVenda = "M";
    par().stCDFILIAL = "0001";
    par().stCDCAIXA = "001";
    par().stCDLOJA = "0001";
    Items({Item("1001", 20, "01")});
  }

  // Rebuilds the parts after a change of the simulated host's configuration.
  void Rebuild() {
    BuildParts(&answers_);
    BindButtons();
    BindConsumerButtons();
  }
  void BindConsumerButtons() {
    controls().Bind("btnCPFPinPad", [this] { parts().identification.btnCPFPinPadClick(); });
    controls().Bind("btnCPFSistema", [this] { parts().identification.btnCPFSistemaClick(); });
    controls().Bind("btnSairCPF", [this] { parts().identification.btnSairCPFClick(); });
  }

  // An item of consumer `consumer` of client 000001.
  Row Item(const std::string& product, double price, const std::string& family, double quantity = 1,
           const std::string& consumer = "0001") {
    return {{"CDPRODUTO", base::Variant(product)},
            {"NMPRODUTO", base::Variant("PRODUTO " + product)},
            {"QTPRODCOMVEN", base::Variant(quantity)},
            {"VRPRECCOMVEN", base::Variant(price)},
            {"VRUNITVENDCL", base::Variant(0.0)},
            {"VRDESCCOMVEN", base::Variant(0.0)},
            {"VRACRCOMVEN", base::Variant(0.0)},
            {"CDFAMILISALD", base::Variant(family)},
            {"IDCONFIGPROD", base::Variant(std::string())},
            {"CDCLIENTE", base::Variant(std::string(consumer.empty() ? "" : "000001"))},
            {"CDCONSUMIDOR", base::Variant(consumer)},
            {"NMCONSVEND", base::Variant(std::string())},
            {"NRINSCRCONS", base::Variant(std::string())},
            {"DSENDEVENDA", base::Variant(std::string())},
            {"NRIDESTRANGEIRA", base::Variant(std::string())},
            {"NRCPFFIDUDS", base::Variant(std::string())},
            {"NRCPFCOREBANC", base::Variant(std::string())}};
  }
  void Items(const std::vector<Row>& rows) {
    Fill(items_, rows);
    double total = 0;
    for (const Row& r : rows) total += r.at("QTPRODCOMVEN").AsFloat() * r.at("VRPRECCOMVEN").AsFloat();
    SetTotal(total);
  }
  // A column of every item.
  std::vector<std::string> ItemColumn(const std::string& column) {
    std::vector<std::string> out;
    for (items_.First(); !items_.Eof(); items_.Next()) out.push_back(items_.FieldByName(column).AsString());
    return out;
  }
  void Store(const std::string& sql) {
    datamodule::StoreConnection c([this] { return demo_; });
    c.Open();
    c.ExecuteRaw(sql);
  }
  bool ShownWith(const std::string& fragment) {
    for (const auto& m : Messages())
      if (m.find(fragment) != std::string::npos) return true;
    return false;
  }
  // The answer of the host's entry dialog.
  void WillIdentify(const std::string& document, const std::string& name = "", const std::string& address = "") {
    pos::DialogAnswer a;
    a.fields = {{"document", base::Variant(document)},
                {"name", base::Variant(name)},
                {"address", base::Variant(address)},
                {"foreigner", base::Variant(std::string())}};
    answers_.Push(a);
  }
  // The arguments of the last call the host received under that name.
  std::vector<base::Variant> LastCall(const std::string& name) {
    std::vector<base::Variant> args;
    for (const auto& c : sim_->Record().Calls())
      if (c.name == name) args = c.args;
    return args;
  }

  std::string demo_;
  base::Dataset items_{"cdsItensVenda"}, families_{"cdsSaldoFamilia"};
};

}  // namespace recebimento::testing
