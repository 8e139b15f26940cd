#pragma once
// Tender selection over the screen's parts: a tender table of every kind the register
// takes without the card terminal, the host's payment dataset with the payment columns,
// a counter sale of 100,00, and the operator's keypad input scripted on the event pump.
#include <string>
#include <utility>
#include <vector>

#include "base/data_packet.h"
#include "base/packet_file.h"
#include "screen/support/queued_answers.h"
#include "screen/support/screen_parts_fixture.h"

namespace recebimento::testing {

class TenderSelectionTest : public ScreenPartsTest {
 protected:
  void SetUp() override {
    BuildParts(&answers_);
    BindButtons();
    sale().cdsMoviVenda = &movi_;
    parts().payments.ResetPaymentDataset();  // the payment columns
    sale().stTipoTela = "N";
    sale().stIdTipoVenda = "B";
    par().stIDUTILTEF = "N";
    par().stIDCONSUBDESFOL = "S";
    par().stIDTPCONTRREPIQ = "N";
    par().stSGESTADOFILI = "SP";
    //        code   name                   kind change index
    AddTender("001", "DINHEIRO", "4", "001", "");
    AddTender("002", "CHEQUE", "3", "", "");
    AddTender("003", "TICKET", "7", "", "");
    AddTender("004", "DOLAR", "6", "004", "USD");
    AddTender("005", "CREDITO", "1", "", "");
    AddTender("006", "CONVENIO", "8", "", "");
    AddTender("007", "DINHEIRO TROCA VALE", "4", "008", "");
    AddTender("008", "VALE TROCO", "7", "", "");
    AddTender("009", "CREDITO PESSOAL", "9", "", "");
    sale().cdsTroco.SetData(sale().cdsReceb.Data());
    SetTotal(100);
  }

  void AddTender(const std::string& code, const std::string& name, const std::string& kind, const std::string& change,
                 const std::string& index) {
    using base::Variant;
    base::Dataset& r = sale().cdsReceb;
    if (!r.Active()) {
      for (const char* f : {"CDTIPORECE", "NMTIPORECE", "IDTIPORECE", "CDTIPOTROCO", "NRORDTROCO", "CDINDICE",
                            "DSIMPFISCAL", "CDFPIMPFIS"})
        r.AddField(f, base::FieldType::String, 40);
      r.CreateDataSet();
    }
    r.AppendRecord({Variant(code), Variant(name), Variant(kind), Variant(change), Variant(change.empty() ? "" : "1"),
                    Variant(index), Variant(name), Variant("01")});
  }

  void SetTotal(double total) {
    sale().doVrTotal = sale().doVrAPagar = total;
    sale().doVrPago = 0;
  }

  // The operator types `amount` and presses Enter when the screen waits for it.
  void WillType(const std::string& amount) {
    pump_.Push([this, amount] { parts().keyboard.PostText(amount, true, true); }, "type " + amount);
  }
  void WillGoBackToTheGrid() {
    pump_.Push([this] { controls().Press("sbtVoltar"); }, "back to the grid");
  }
  // Answers to the next questions.
  void WillAnswer(bool yes) { answers_.Value(base::Variant(yes)); }

  void Pay(const std::string& code, const std::string& amount) {
    WillType(amount);
    parts().selection.DoMenuRecebimentoClick(code, "");
  }

  // Payment lines of a movement ("E" payments, "S" change), as (code, amount).
  std::vector<std::pair<std::string, double>> Lines(const std::string& movement = "E") {
    std::vector<std::pair<std::string, double>> out;
    for (movi_.First(); !movi_.Eof(); movi_.Next())
      if (movi_.FieldByName("IDTIPOMOVIVE").AsString() == movement)
        out.emplace_back(movi_.FieldByName("CDTIPORECE").AsString(), movi_.FieldByName("VRMOVIVEND").AsFloat());
    return out;
  }

  // The day's rates file with the dollar at `usd`.
  void WriteRates(const base::DateTime& day, double usd) {
    base::DataPacket p;
    p.fields = {{"CDINDICE", base::FieldType::String, 4},
                {"NMTIPORECE", base::FieldType::String, 40},
                {"VRCOTACAO", base::FieldType::Float, 0},
                {"DTCOTACAO", base::FieldType::DateTime, 0}};
    p.rows.push_back({base::Variant("USD"), base::Variant("DOLAR"), base::Variant(usd), base::Variant(day)});
    base::WritePacketFile((dir_ / "cdsMoedas.cds").string(), p);
  }

  QueuedAnswers answers_;
  base::Dataset movi_{"cdsMoviVenda"};
};

}  // namespace recebimento::testing
