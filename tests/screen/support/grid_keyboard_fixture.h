#pragma once
// The screen's parts with a tender table to fill, the host's payment dataset and the
// buttons bound: what the tender grid, the keyboard and the keypad work on.
#include <string>
#include <vector>

#include "screen/support/queued_answers.h"
#include "screen/support/screen_parts_fixture.h"

namespace recebimento::testing {

class GridKeyboardTest : public ScreenPartsTest {
 protected:
  void SetUp() override {
    BuildParts(&answers_);
    BindButtons();
    ctl("imgDireita").glyph = (dir_ / "direita.bmp").string();
    ctl("imgEsquerda").glyph = (dir_ / "esquerda.bmp").string();
    ctl("panDadosVenda").visible = false;
    movi_.AddField("CDTIPORECE", base::FieldType::String, 3);
    movi_.AddField("IDTIPORECE", base::FieldType::String, 1);
    movi_.AddField("VRMOVIVEND", base::FieldType::Float);
    movi_.CreateDataSet();
    sale().cdsMoviVenda = &movi_;
    DefineTenderTable();
  }

  // A new simulated host, e.g. after changing config_; the parts are built anew over it.
  void RebuildHost() { BuildParts(&answers_); }

  // Tender rows. Positions "01".."30", groups "01".."06", pages "1", "2", ...
  void AddTender(const std::string& code, const std::string& kind, const std::string& group, const std::string& page,
                 const std::string& pos, const std::string& caption, const std::string& show = "S",
                 const std::string& fiscal_code = "01", const std::string& acquirer = "") {
    AddRow({code, kind, fiscal_code, "5", pos, page, group, caption, show, acquirer});
  }
  void AddGroup(const std::string& nr, const std::string& caption) {
    AddRow({"", "", "", "6", nr, "", "", caption, "S", ""});
  }
  void AddArrow(const std::string& type, const std::string& group, const std::string& page, const std::string& pos) {
    AddRow({"", "", "", type, pos, page, group, "", "S", ""});
  }

  void BuildGrid() {
    parts().grid.MontaMenuGrupo();
    parts().grid.MontaBotoes(parts().grid.Group(), std::to_string(parts().grid.Page()));
  }

  void AddPayment(const std::string& code, const std::string& kind, double amount) {
    movi_.AppendRecord({base::Variant(code), base::Variant(kind), base::Variant(amount)});
  }

  // Key down as the keyboard sends it; returns the key as the handler left it.
  int KeyDown(int key, bool shift = false, bool alt = false, bool ctrl = false) {
    parts().keyboard.KeyDown(key, shift, alt, ctrl);
    return key;
  }
  // The operator's next key while the screen waits (tender selection waiting for an amount).
  void NextKey(int key) {
    pump_.Push([this, key] { KeyDown(key); }, "key " + std::to_string(key));
  }
  void Type(const std::string& chars) {
    for (char ch : chars) parts().keyboard.KeyPress(static_cast<char32_t>(static_cast<unsigned char>(ch)));
  }

  // The keypad as tender selection leaves it while it waits for an amount.
  void WaitForAmount(screen::TInputStep step, const std::string& proposed = "") {
    parts().grid.CtrlBotoes("H", 1);
    parts().keyboard.KeybEnabled(true);
    ctl("panKeyboard").visible = true;
    ctl("panKeyboard").enabled = true;
    ctl("lblInputReceb2").caption = proposed;
    sale().tpInputStep = step;
  }

  bool Closed() const { return window_.Closed(); }

  QueuedAnswers answers_;
  base::Dataset movi_{"cdsMoviVenda"};

 private:
  void DefineTenderTable() {
    base::Dataset& r = sale().cdsReceb;
    r.Close();
    r.SetFields({});
    for (const char* f : {"CDTIPORECE", "IDTIPORECE", "CDFPIMPFIS", "IDTPBUTTON", "NRBUTTON", "NRPGCONFTELA",
                          "NRBUTTONAUX", "DSBUTTON", "IDMOSTRARECE", "CDCREDENCCAR"})
      r.AddField(f, base::FieldType::String, 40);
    r.AddField("NRCOLORBACK", base::FieldType::Float);
    r.AddField("NRCOLORTEXT", base::FieldType::Float);
    r.AddField("NRFONTETEXT", base::FieldType::Float);
    r.AddField("DSIMAGEMBUT", base::FieldType::String, 200);
    r.CreateDataSet();
  }

  void AddRow(const std::vector<std::string>& v) {
    std::vector<base::Variant> row;
    for (const auto& s : v) row.emplace_back(s);
    row.emplace_back(255.0);       // red background
    row.emplace_back(16777215.0);  // white caption
    row.emplace_back(12.0);
    row.emplace_back(std::string());
    sale().cdsReceb.AppendRecord(row);
  }
};

}  // namespace recebimento::testing
