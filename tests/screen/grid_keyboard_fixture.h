#pragma once
// A payment screen with simulated host services, the controls the grid and the keyboard
// use, a tender table to fill and the host's payment dataset.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "base/clock.h"
#include "base/event_pump.h"
#include "host/pos/host_services.h"
#include "host/pos/host_simulator.h"
#include "screen/frm_recebimento.h"
#include "screen/input_steps.h"
#include "support/temp_dir.h"

namespace recebimento::testing {

class GridKeyboardTest : public ::testing::Test {
 protected:
  void SetUp() override {
    config_.host_dir = dir_.str();
    SetUpHost();
    frm_ = std::make_unique<screen::TfrmRecebimento>();
    EnsureControls();
    screen::InitInputStepTables();
    frm_->tpTeclado = screen::ttvalor;
    movi_.AddField("CDTIPORECE", base::FieldType::String, 3);
    movi_.AddField("IDTIPORECE", base::FieldType::String, 1);
    movi_.AddField("VRMOVIVEND", base::FieldType::Float);
    movi_.CreateDataSet();
    frm_->cdsMoviVenda = &movi_;
    DefineTenderTable();
  }

  void TearDown() override {
    frm_.reset();
    pos::UninstallHostServices();
  }

  // Installs the simulators again, e.g. after changing config_.
  void SetUpHost() {
    if (pos::HostServicesInstalled()) pos::UninstallHostServices();
    sim_ = std::make_unique<pos::HostSimulator>(config_, pump_);
    pos::InstallHostServices(sim_->Services());
  }

  screen::TfrmRecebimento& frm() { return *frm_; }
  screen::Control& ctl(const std::string& name) {
    screen::Control* c = frm_->Controls().FindComponent(name);
    if (!c) throw std::logic_error("no control " + name);
    return *c;
  }

  // Tender rows. Positions "01".."30", groups "01".."06", pages "1", "2", ...
  void AddTender(const std::string& code, const std::string& kind, const std::string& group,
                 const std::string& page, const std::string& pos, const std::string& caption,
                 const std::string& show = "S", const std::string& fiscal_code = "01",
                 const std::string& acquirer = "") {
    AddRow({code, kind, fiscal_code, "5", pos, page, group, caption, show, acquirer});
  }
  void AddGroup(const std::string& nr, const std::string& caption) {
    AddRow({"", "", "", "6", nr, "", "", caption, "S", ""});
  }
  void AddArrow(const std::string& type, const std::string& group, const std::string& page,
                const std::string& pos) {
    AddRow({"", "", "", type, pos, page, group, "", "S", ""});
  }

  void BuildGrid() {
    frm_->MontaMenuGrupo();
    frm_->MontaBotoes(frm_->stGrupoBotoes, std::to_string(frm_->inPaginaBotoes));
  }

  void AddPayment(const std::string& code, const std::string& kind, double amount) {
    movi_.AppendRecord({base::Variant(code), base::Variant(kind), base::Variant(amount)});
  }

  // Texts of the messages shown so far.
  std::vector<std::string> Messages() const {
    std::vector<std::string> out;
    for (const auto& d : sim_->Record().Dialogs())
      if (d.kind == "Mensagem") out.push_back(d.text);
    return out;
  }

  // Key down as the keyboard sends it; returns the key as the handler left it.
  int KeyDown(int key, bool shift = false, bool alt = false, bool ctrl = false) {
    frm_->FormKeyDown(key, shift, alt, ctrl);
    return key;
  }
  // The operator's next key while the screen waits (tender selection waiting for an amount).
  void NextKey(int key) {
    pump_.Push([this, key] { KeyDown(key); }, "key " + std::to_string(key));
  }
  void Type(const std::string& chars) {
    for (char ch : chars) frm_->FormKeyPress(static_cast<char32_t>(static_cast<unsigned char>(ch)));
  }

  // The keypad as tender selection leaves it while it waits for an amount.
  void WaitForAmount(screen::TInputStep step, const std::string& proposed = "") {
    frm_->CtrlBotoes("H", 1);
    frm_->KeybEnabled(true);
    ctl("panKeyboard").visible = true;
    ctl("panKeyboard").enabled = true;
    ctl("lblInputReceb2").caption = proposed;
    frm_->tpInputStep = step;
  }

  TempDir dir_;
  base::VirtualClock clock_{base::DateTime::FromYMD(2026, 12, 6)};
  base::ScriptedEventPump pump_{clock_};
  pos::SimulatorConfig config_;
  std::unique_ptr<pos::HostSimulator> sim_;
  std::unique_ptr<screen::TfrmRecebimento> frm_;
  base::Dataset movi_{"cdsMoviVenda"};

 private:
  void DefineTenderTable() {
    base::Dataset& r = frm_->cdsReceb;
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

  void AddRow(std::vector<std::string> v) {
    std::vector<base::Variant> row;
    for (auto& s : v) row.emplace_back(s);
    row.emplace_back(255.0);        // red background
    row.emplace_back(16777215.0);   // white caption
    row.emplace_back(12.0);
    row.emplace_back(std::string());
    frm_->cdsReceb.AppendRecord(row);
  }

  // The screen creates its controls; any the grid and the keyboard use that it lacks
  // are added here, wired to the same handlers.
  void EnsureControls() {
    screen::ControlRegistry& c = frm_->Controls();
    auto add = [&](const std::string& name, const std::string& kind) -> screen::Control& {
      screen::Control* ctl = c.FindComponent(name);
      return ctl ? *ctl : c.Add(name, kind);
    };
    auto two = [](int i) { return (i < 10 ? "0" : "") + std::to_string(i); };
    for (int i = 1; i <= 6; ++i) {
      screen::Control& g = add("tcbGrupo" + two(i), "button");
      if (!g.on_click) g.on_click = [this, n = g.name] { frm_->tcbGrupo01Click(n); };
      add("stt" + two(i), "label");
    }
    for (int i = 1; i <= 30; ++i) {
      screen::Control& b = add("tcbBalcao" + two(i), "button");
      if (!b.on_click) b.on_click = [this, n = b.name] { frm_->tcbBalcao01Click(n); };
      add("sttP" + two(i), "label");
    }
    for (const char* n : {"imgDireita", "imgEsquerda", "imgReceb"}) add(n, "image");
    for (const char* n : {"panKeyboard", "panFundoConfirma", "panDadosVenda"}) add(n, "panel");
    for (const char* n : {"lblInputReceb2", "lblNrCupom", "lblValorTotal", "lblValorPagar"}) add(n, "label");
    for (const char* n : {"spbOk", "spbSair", "spbClear", "spbCNPJCPF", "spbDesconto", "spbAcrescimo",
                          "spbTaxaServico", "sbtCashback", "sbtCashbackUDS", "sbtCashbackCore",
                          "sbtFidelidadeOlga", "spbDotz", "bltPesquisar", "sbtVoltar", "sbtEnter", "sbt0", "sbt1",
                          "sbt2", "sbt3", "sbt4", "sbt5", "sbt6", "sbt7", "sbt8", "sbt9", "sbt00", "sbt000",
                          "sbtVirgula", "sbtCorrigir"})
      add(n, "button");
    ctl("imgDireita").glyph = (dir_ / "direita.bmp").string();
    ctl("imgEsquerda").glyph = (dir_ / "esquerda.bmp").string();
    ctl("panDadosVenda").visible = false;
  }
};

}  // namespace recebimento::testing
