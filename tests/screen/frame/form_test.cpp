// The form over a context of its own: its buttons reach the parts that handle them, its
// modal wait runs on the context's pump, and a whole sale goes through it with nothing
// installed in the process.
#include "screen/frame/frm_recebimento.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "base/clock.h"
#include "base/event_pump.h"
#include "base/packet_file.h"
#include "datamodule/trdm_recebimento.h"
#include "host/pos/host_services.h"
#include "host/pos/host_simulator.h"
#include "screen/frame/screen_parts.h"
#include "screen/setup/parametros_zem.h"
#include "support/store_fixture.h"
#include "support/temp_dir.h"

namespace recebimento::testing {
namespace {

using base::Variant;

class FormTest : public ::testing::Test {
 protected:
  FormTest() {
    config_.host_dir = dir_.str();
    sim_ = std::make_unique<pos::HostSimulator>(config_, pump_);
    services_ = sim_->Services();
    services_.host_dir = dir_.str();
    rdm_ = std::make_unique<datamodule::TrdmRecebimento>(store_.connection());
    ctx_ = std::make_unique<screen::ScreenContext>(services_, *rdm_, pos::HostPaths(dir_.str()));
    frm_ = std::make_unique<screen::TfrmRecebimento>(*ctx_);

    // The register's branch and number, without which no sale number is taken.
    base::Dataset parameters;
    std::vector<base::FieldDef> fields;
    for (const auto& c : screen::ParametrosZemColumns())
      fields.push_back({c.name, c.type, c.type == base::FieldType::String ? 100 : 0});
    parameters.SetFields(fields);
    parameters.CreateDataSet();
    parameters.Append();
    parameters.FieldByName("CDFILIAL").SetAsString("0001");
    parameters.FieldByName("CDCAIXA").SetAsString("001");
    parameters.Post();
    base::WritePacketFile((dir_ / "PARAMETROSZEM.CDS").string(), parameters.Data());

    // A counter sale of 25,00 and the cash tender on the first button.
    items_.AddField("CDPRODUTO", base::FieldType::String, 16);
    items_.AddField("QTPRODCOMVEN", base::FieldType::Float);
    items_.AddField("VRPRECCOMVEN", base::FieldType::Float);
    items_.CreateDataSet();
    items_.AppendRecord({Variant("7001"), Variant(2.0), Variant(12.5)});
    for (const char* f : {"CDTIPORECE", "NMTIPORECE", "IDTIPORECE", "CDFPIMPFIS", "IDTPBUTTON", "NRBUTTON",
                          "NRPGCONFTELA", "NRBUTTONAUX", "DSBUTTON", "IDMOSTRARECE", "CDTIPOTROCO", "NRORDTROCO"})
      tenders_.AddField(f, base::FieldType::String, 40);
    tenders_.CreateDataSet();
    tenders_.AppendRecord({Variant("001"), Variant("DINHEIRO"), Variant("4"), Variant("01"), Variant("5"),
                           Variant("01"), Variant("1"), Variant("01"), Variant("Dinheiro"), Variant("S"),
                           Variant("001"), Variant("1")});
    args_.doVrPago = &pago_;
    args_.cdsRecebHost = &tenders_;
    args_.stModoVenda = "BAL";
    args_.stIdTipoVenda = "B";
    args_.stTipoTela = "N";
  }

  // The entry's steps before the screen shows.
  void Open() {
    frm_->Sale().cdsItensVenda = &items_;
    frm_->Sale().cdsMoviVenda = &payments_;
    frm_->InicializaForm(args_);
    frm_->spbClearClick();
  }
  screen::Control& ctl(const std::string& name) { return frm_->Controls().Require(name); }
  // The operator's next action while the screen waits.
  void Then(std::function<void()> action, const std::string& what) { pump_.Push(std::move(action), what); }

  TestStore store_{Engine::SQLite};
  TempDir dir_;
  base::VirtualClock clock_{base::DateTime::FromYMD(2026, 12, 6, 12)};
  base::ScriptedEventPump pump_{clock_};
  pos::SimulatorConfig config_;
  std::unique_ptr<pos::HostSimulator> sim_;
  pos::HostServices services_;
  std::unique_ptr<datamodule::TrdmRecebimento> rdm_;
  std::unique_ptr<screen::ScreenContext> ctx_;
  std::unique_ptr<screen::TfrmRecebimento> frm_;
  base::Dataset items_{"cdsItensVenda"}, payments_{"cdsMoviVenda"}, tenders_{"cdsRecebHost"};
  double pago_ = 0;
  screen::InicializaFormArgs args_;
};

TEST_F(FormTest, ASaleIsPaidAndConfirmedWithNothingInstalledInTheProcess) {
  ASSERT_FALSE(pos::HostServicesInstalled());
  Open();
  EXPECT_EQ(ctl("lblValorPagar").caption, "25,00");
  EXPECT_EQ(ctl("tcbBalcao01").caption, "Dinheiro");

  Then([this] { frm_->Controls().Click("tcbBalcao01"); }, "cash");
  Then(
      [this] {
        for (const char* b : {"sbt3", "sbt0", "sbtEnter"}) EXPECT_TRUE(frm_->Controls().Click(b)) << b;
      },
      "30 on the keypad");
  Then([this] { EXPECT_TRUE(frm_->Controls().Click("spbOk")); }, "OK");
  frm_->ShowModal();

  EXPECT_TRUE(frm_->Closed());
  EXPECT_EQ(pump_.Remaining(), 0u);
  const screen::SaleState& sale = frm_->Sale();
  EXPECT_TRUE(sale.boVendaOk);
  EXPECT_DOUBLE_EQ(sale.doVrPago, 30);
  EXPECT_DOUBLE_EQ(sale.doVrTroco, 5);
  ASSERT_EQ(sale.stNrVenda.size(), 10u) << "the register's next sale number";
  const long long taken = std::stoll(sale.stNrVenda);
  EXPECT_EQ(std::stoll(rdm_->getPrxVendaVista(frm_->Par().stCDFILIAL, frm_->Par().stCDCAIXA).AsString()), taken + 1)
      << "the number was taken from the context's store";
  EXPECT_EQ(sim_->Record().CountOf("DisparaImpressaoNaoFiscal"), 1u) << "the context's host printed it";
  EXPECT_FALSE(pos::HostServicesInstalled());
}

TEST_F(FormTest, ButtonsAndKeysReachTheirParts) {
  Open();
  screen::ControlRegistry& c = frm_->Controls();
  screen::ScreenParts& parts = frm_->Parts();

  // The keypad, as tender selection leaves it while it waits for an amount.
  parts.grid.CtrlBotoes("H", 1);
  parts.keyboard.KeybEnabled(true);
  ctl("panKeyboard").visible = ctl("panKeyboard").enabled = true;
  ctl("lblInputReceb2").caption = "";
  for (const char* b : {"sbt1", "sbt2", "sbtVirgula", "sbt5", "sbt00", "sbtCorrigir"}) EXPECT_TRUE(c.Click(b)) << b;
  EXPECT_EQ(ctl("lblInputReceb2").caption, "12,5");
  frm_->FormKeyPress(U'7');
  EXPECT_EQ(ctl("lblInputReceb2").caption, "12,57");
  EXPECT_TRUE(c.Click("sbtVoltar"));
  EXPECT_TRUE(parts.grid.Selecting());
  EXPECT_FALSE(ctl("panKeyboard").visible);

  // The adjustment buttons ask the host's access control.
  pos::DialogAnswer dismissed;
  dismissed.cancelled = true;
  sim_->Dialogs().SetDefault("CriaDesconto", dismissed);
  const size_t asked = sim_->Record().CountOf("VerificaAcesso");
  c.Press("spbDesconto");
  EXPECT_EQ(sim_->Record().CountOf("VerificaAcesso"), asked + 1);

  // Alt+F4 is swallowed; the sale summary has its answer buttons on its panel.
  int key = 115;
  frm_->FormKeyDown(key, false, true, false);
  EXPECT_EQ(key, 0);
  for (const char* b : {"btnConfDadosVenda", "btnCancDadosVenda"}) {
    ASSERT_NE(c.FindComponent(b), nullptr) << b;
    EXPECT_EQ(c.FindComponent(b)->parent, "panDadosVenda");
  }

  // The exit button closes the screen the modal wait is on.
  Then([&c] { EXPECT_TRUE(c.Click("spbSair")); }, "exit");
  frm_->ShowModal();
  EXPECT_TRUE(frm_->Closed());
  EXPECT_FALSE(frm_->Showing());
  EXPECT_FALSE(frm_->Sale().boVendaOk);
}

TEST_F(FormTest, StateFieldsNameTheSalesAmountsAndTheGridsPosition) {
  Open();
  std::map<std::string, Variant> fields;
  for (const auto& [name, value] : frm_->StateFields()) fields[name] = value;
  EXPECT_DOUBLE_EQ(fields.at("doVrTotal").AsFloat(), 25);
  EXPECT_DOUBLE_EQ(fields.at("doVrAPagar").AsFloat(), 25);
  EXPECT_EQ(fields.at("tpInputStep").AsString(), "isNone");
  EXPECT_EQ(fields.at("stModoVenda").AsString(), "BAL");
  EXPECT_EQ(fields.at("stGrupoBotoes").AsString(), "01");
  EXPECT_EQ(fields.at("inPaginaBotoes").AsInteger(), 1);
}

}  // namespace
}  // namespace recebimento::testing
