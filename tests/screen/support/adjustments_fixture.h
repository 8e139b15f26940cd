#pragma once
// A sale of items on the screen's parts, with the host's dialogs answered from a queue
// and the access codes of the discount, surcharge and service-fee buttons.
#include <map>
#include <string>
#include <vector>

#include "base/text.h"
#include "screen/support/grid_keyboard_fixture.h"

namespace recebimento::testing {

// A list line as the screen lays it out: 20 characters of name, a blank, 14 of amount.
inline std::string Line(const std::string& name, const std::string& amount) {
  std::string n = name;
  while (base::Utf8Length(n) < 20) n += ' ';
  std::string a = amount;
  while (a.size() < 14) a = ' ' + a;
  return n + " " + a;
}

class AdjustmentsTest : public GridKeyboardTest {
 protected:
  static constexpr int kDesconto = 12, kAcrescimo = 13, kTaxa = 14;

  void SetUp() override {
    GridKeyboardTest::SetUp();
    screen::SaleState& s = sale();
    s.stCdOperador = "7";
    s.stNmOperador = "MARIA";
    par().stCDFILIAL = "0001";
    par().stCDCAIXA = "001";
    par().inCTCUPDESCONTO = kDesconto;
    par().inCTACRESCIMO = kAcrescimo;
    par().inCTRETTAXASERV = kTaxa;
    s.stPodeDesconto = s.stPodeAcrescimo = s.stPodeRetTaxaServ = "S";
    s.stTipoTela = "N";
    s.stIdTipoVenda = "M";
    for (const char* n : {"CDPRODUTO", "CDCLIENTE", "DSOBSDESC", "CDGRPOCORDESC", "CDSUPERVISOR", "CDPROMOFID4ALL"})
      items_.AddField(n, base::FieldType::String, 40);
    for (const char* n : {"QTPRODCOMVEN", "VRPRECCOMVEN", "VRDESCCOMVEN", "VRREPIQUEVENDA", "VRDESCCASH4ALL"})
      items_.AddField(n, base::FieldType::Float);
    items_.CreateDataSet();
    s.cdsItensVenda = &items_;
  }

  // Rights by access code: "S", "N" or the authorising supervisor.
  void Rights(const std::map<int, std::string>& rights) {
    config_.access.rights = rights;
    RebuildHost();
  }

  void AddItem(const std::string& product, double qty, double price) {
    items_.AppendRecord({base::Variant(product), base::Variant(""), base::Variant(""), base::Variant(""),
                         base::Variant(""), base::Variant(""), base::Variant(qty), base::Variant(price),
                         base::Variant(0.0), base::Variant(0.0), base::Variant(0.0)});
  }

  // A sale of `total` with nothing paid; `fee` is its service fee, already in the total.
  void StartSale(double total, double fee = 0) {
    screen::SaleState& s = sale();
    s.doVrTotal = s.doVrAPagar = total;
    s.doVrServico = s.doVrServicoOrig = fee;
    s.doVrPago = 0;
    ctl("memListaAux").lines = {"PICANHA                    89,90"};
    ctl("memLista").lines = ctl("memListaAux").lines;
  }

  // The host's value-or-percentage dialog: "V" an amount, "P" a percentage.
  void AnswerAdjustment(const std::string& tipo, double valor) {
    pos::DialogAnswer a;
    a.fields = {{"VRDESCONTO", base::Variant(tipo == "V" ? valor : 0.0)},
                {"PCDESCONTO", base::Variant(tipo == "P" ? valor : 0.0)}};
    answers_.Push(a);
  }
  void Answer(base::Variant v) { answers_.Value(std::move(v)); }
  void AnswerCancel() { answers_.Cancel(); }

  size_t Calls(const std::string& name) const { return sim_->Record().CountOf(name); }
  std::string Item(const char* column, int row = 1) {
    items_.SetRecNo(row);
    return items_.FieldByName(column).AsString();
  }
  const std::vector<std::string>& Lista() { return ctl("memLista").lines; }

  base::Dataset items_{"cdsItensVenda"};
};

}  // namespace recebimento::testing
