#pragma once
// A payment screen with a sale of items, simulated host services whose dialogs answer
// from a queue, and the access rights of the discount, surcharge and fee buttons.
#include <deque>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "grid_keyboard_fixture.h"
#include "host/pos/dialogs_sim.h"

namespace recebimento::testing {

// Answers dialogs in the order queued; an empty queue leaves the dialog unanswered.
class QueuedAnswers : public pos::DialogAnswerSource {
 public:
  std::optional<pos::DialogAnswer> Next(const pos::DialogRecord&) override {
    if (queue_.empty()) return std::nullopt;
    pos::DialogAnswer a = queue_.front();
    queue_.pop_front();
    return a;
  }
  void Push(pos::DialogAnswer a) { queue_.push_back(std::move(a)); }
  size_t Left() const { return queue_.size(); }

 private:
  std::deque<pos::DialogAnswer> queue_;
};

class DiscountTest : public GridKeyboardTest {
 protected:
  static constexpr int kDesconto = 12, kAcrescimo = 13, kTaxa = 14;

  void SetUp() override {
    GridKeyboardTest::SetUp();
    sim_->Dialogs().SetSource(&answers_);
    for (const char* n : {"memLista", "memListaAux", "lblServico", "lblCPFCliente", "lblNomeCliente"})
      if (!frm().Controls().FindComponent(n)) frm().Controls().Add(n, n[0] == 'm' ? "list" : "label");
    screen::TfrmRecebimento& f = frm();
    f.stCdOperador = "7";
    f.stNmOperador = "MARIA";
    f.stCDFILIAL = "0001";
    f.stCDCAIXA = "001";
    f.inCTCUPDESCONTO = kDesconto;
    f.inCTACRESCIMO = kAcrescimo;
    f.inCTRETTAXASERV = kTaxa;
    f.stPodeDesconto = f.stPodeAcrescimo = f.stPodeRetTaxaServ = "S";
    f.stTipoTela = "N";
    f.stIdTipoVenda = "M";
    for (const char* n : {"CDPRODUTO", "CDCLIENTE", "DSOBSDESC", "CDGRPOCORDESC", "CDSUPERVISOR", "CDPROMOFID4ALL"})
      items_.AddField(n, base::FieldType::String, 40);
    for (const char* n : {"QTPRODCOMVEN", "VRPRECCOMVEN", "VRDESCCOMVEN", "VRREPIQUEVENDA", "VRDESCCASH4ALL"})
      items_.AddField(n, base::FieldType::Float);
    items_.CreateDataSet();
    f.cdsItensVenda = &items_;
  }

  // Rights by access code: "S", "N" or the authorising supervisor.
  void Rights(const std::map<int, std::string>& rights) {
    config_.access.rights = rights;
    SetUpHost();
    sim_->Dialogs().SetSource(&answers_);
  }

  void AddItem(const std::string& product, double qty, double price) {
    items_.AppendRecord({base::Variant(product), base::Variant(""), base::Variant(""), base::Variant(""),
                         base::Variant(""), base::Variant(""), base::Variant(qty), base::Variant(price),
                         base::Variant(0.0), base::Variant(0.0), base::Variant(0.0)});
  }

  // A sale of `total` with nothing paid; `fee` is its service fee, already in the total.
  void Sale(double total, double fee = 0) {
    screen::TfrmRecebimento& f = frm();
    f.doVrTotal = f.doVrAPagar = total;
    f.doVrServico = f.doVrServicoOrig = fee;
    f.doVrPago = 0;
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
  void Answer(base::Variant v) {
    pos::DialogAnswer a;
    a.value = std::move(v);
    answers_.Push(a);
  }
  void AnswerCancel() {
    pos::DialogAnswer a;
    a.cancelled = true;
    answers_.Push(a);
  }

  size_t Calls(const std::string& name) const { return sim_->Record().CountOf(name); }
  std::string Item(const char* column, int row = 1) {
    items_.SetRecNo(row);
    return items_.FieldByName(column).AsString();
  }
  const std::vector<std::string>& Lista() { return ctl("memLista").lines; }

  QueuedAnswers answers_;
  base::Dataset items_{"cdsItensVenda"};
};

}  // namespace recebimento::testing
