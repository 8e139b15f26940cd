// The drawer's state, the printer printing a whole sale for the host, the card terminal's
// exchange files, and the simulator placing its device files under the host folder.
#include <filesystem>

#include <gtest/gtest.h>

#include "base/clock.h"
#include "base/event_pump.h"
#include "host/pos/fiscal_params.h"
#include "host/pos/host_simulator.h"
#include "support/temp_dir.h"

namespace recebimento::pos {
namespace {

using base::Variant;

TEST(DrawerSim, StateFollowsOpeningsAndScriptedFailures) {
  HostRecord record;
  SimulatedDrawer drawer({/*open=*/false, /*closes_itself=*/false}, record);
  std::string state;
  ASSERT_TRUE(drawer.Estado_Gaveta_Imp("1", state));
  EXPECT_EQ(state, "01");
  EXPECT_EQ(drawer.VerificaStatusGaveta("3", "COM3"), 0);

  ASSERT_TRUE(drawer.Abre_Gaveta_Imp("COM1", "1", true));
  ASSERT_TRUE(drawer.Estado_Gaveta_Imp("1", state));
  EXPECT_EQ(state, "00") << "an open drawer reads 00";
  EXPECT_EQ(drawer.VerificaStatusGaveta("3", "COM3"), 1);

  drawer.Failures().FailAt("AbreGaveta", 0);
  drawer.SetOpen(false);
  EXPECT_FALSE(drawer.AbreGaveta("3", "COM3"));
  EXPECT_FALSE(drawer.IsOpen());
  EXPECT_EQ(drawer.TimesOpened(), 1);

  SimulatedDrawer self_closing({false, true}, record);
  ASSERT_TRUE(self_closing.AbreGaveta("3", "COM3"));
  EXPECT_FALSE(self_closing.IsOpen()) << "the operator shut it again";
}

TEST(FiscalPrinterSim, PrintsAWholeSaleForTheHostOrAnswersErro) {
  testing::TempDir dir;
  base::VirtualClock clock(base::DateTime::FromYMD(2026, 12, 6));
  HostRecord record;
  TefExchangeFolder files(dir.str(), dir.str());
  FiscalPrinterConfig config;
  config.next_receipt = 7;
  SimulatedFiscalPrinter printer(config, record, clock, files);

  SalePrintParams sale;
  sale.items.fields = {{"CDPRODUTO", base::FieldType::String, 10},
                       {"NMPRODUTO", base::FieldType::String, 40},
                       {"QTPRODCOMVEN", base::FieldType::Float, 0},
                       {"VRPRECCOMVEN", base::FieldType::Float, 0}};
  sale.items.rows = {{Variant("1"), Variant("CAFÉ"), Variant(3.0), Variant(4.35)}};
  auto block = Params_ImpressaoVenda_Gpe00000(sale);
  ASSERT_TRUE(printer.ImpressaoVenda(block));
  EXPECT_EQ(runtime::RecebeParams(block, "RETORNO").AsString(), "000007");
  EXPECT_EQ(printer.GrandTotal(), 13.05);
  EXPECT_FALSE(printer.ReceiptOpen());

  printer.Failures().FailAt("ImpressaoVenda", 0);
  auto failed = Params_ImpressaoVenda_Gpe00000(sale);
  EXPECT_FALSE(printer.ImpressaoVenda(failed));
  EXPECT_EQ(runtime::RecebeParams(failed, "RETORNO").AsString(), "Erro");
}

TEST(TefExchangeFolderTest, NumbersNeverOverwriteAnAnswerAlreadyThere) {
  testing::TempDir dir;
  dir.Write("resp/intpos.001", "older");
  TefExchangeFolder files((dir / "resp").string(), (dir / "pend").string());
  EXPECT_EQ(files.WriteUnconfirmed("1", 1.0, "01"), "intpos.002");
  EXPECT_EQ(dir.Read("resp/intpos.001"), "older");
  EXPECT_EQ(files.MoveToPending(), 2);
  EXPECT_EQ(files.CancelAll(), 2);
  EXPECT_TRUE(files.Pending().empty());
}

TEST(HostSimulatorTest, DeviceFilesLiveUnderTheHostFolderAndTheServicesAreWired) {
  testing::TempDir dir;
  base::VirtualClock clock(base::DateTime::FromYMD(2026, 12, 6));
  base::ScriptedEventPump pump(clock);
  SimulatorConfig config;
  config.host_dir = dir.str();
  config.printer_failures["AbreCupom"] = 1;
  config.printer_failures["Abre_Gaveta_Imp"] = 2;
  config.tef.last_transactions_file = "Dados/ultTef.cds";
  HostSimulator sim(config, pump);
  const HostServices s = sim.Services();
  EXPECT_EQ(s.Missing(), nullptr);
  // The printer's drawer fails with the printer's failures.
  EXPECT_TRUE(s.drawer->Abre_Gaveta_Imp("COM1", "1", true));
  EXPECT_FALSE(s.drawer->Abre_Gaveta_Imp("COM1", "1", true));

  auto block = Params_AbreCupom_Gpe00000("1", "", "", "", "", "", "N", false);
  EXPECT_FALSE(s.printer->AbreCupom(block)) << "the scripted failure reached the printer";
  ASSERT_TRUE(s.printer->AbreCupom(block));
  EXPECT_TRUE(std::filesystem::exists(dir / "Dados" / "ImpFiscal" / "FitaDetalhe.txt"));

  double amount = 10, change = 0;
  DedicatedTefResult result;
  ASSERT_TRUE(s.tef_dedicated->CriaDedicado({}, amount, change, result));
  EXPECT_TRUE(std::filesystem::exists(dir / "Dados" / "ultTef.cds"));
  EXPECT_EQ(s.tef_dedicated->Variables().DsDirTef, (dir / "Tef" / "Resp").string());
  EXPECT_EQ(sim.TefFiles().Unconfirmed().size(), 1u);

  // The fiscal-reports dialog opens through the simulated dialogs.
  sim.Dialogs().SetDefault("RelFiscais", DialogAnswer{Variant("REDUCAO Z"), {}, false});
  s.fiscal->RelFiscais();
  ASSERT_FALSE(sim.Record().Dialogs().empty());
  EXPECT_EQ(sim.Record().Dialogs().back().kind, "RelFiscais");
  EXPECT_EQ(sim.Record().Printed().back().text, "RELATORIO FISCAL: REDUCAO Z");
}

TEST(DialogsSimMore, ObservationAndDiscountAnswers) {
  HostRecord record;
  SimulatedDialogs dialogs(record);
  DialogAnswer dismissed;
  dismissed.cancelled = true;
  dialogs.SetDefault("Observacao", dismissed);
  Variant ole;
  EXPECT_FALSE(dialogs.Observacao({Variant("Informe a observação da Venda")}, ole));
  EXPECT_EQ(ole.AsString(), "erro") << "a dismissed observation answers \"erro\"";

  DialogAnswer discount;
  discount.fields = {{"VRDESCONTO", Variant(5.5)}, {"DSMOTIVO", Variant("cliente fiel")}};
  dialogs.SetDefault("CriaDesconto", discount);
  ASSERT_TRUE(dialogs.CriaDesconto({Variant("Desconto"), Variant(100.0)}, ole));
  ASSERT_TRUE(ole.IsPacket());
  const auto& p = ole.AsPacket();
  EXPECT_EQ(p.rows[0][p.FieldIndex("VRDESCONTO")].AsFloat(), 5.5);
  EXPECT_EQ(p.rows[0][p.FieldIndex("DSMOTIVO")].AsString(), "cliente fiel");
}

}  // namespace
}  // namespace recebimento::pos
