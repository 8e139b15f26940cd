// Access rights, scripted services, the price function, displays, and installing the
// host's services.
#include <fstream>
#include <sstream>

#include <gtest/gtest.h>

#include "base/clock.h"
#include "base/event_pump.h"
#include "host/pos/host_simulator.h"
#include "host/runtime/current_pump.h"
#include "support/temp_dir.h"

namespace recebimento::pos {
namespace {

using base::Variant;

TEST(AccessControlSim, RightsAreAllowedRefusedOrSupervised) {
  testing::TempDir dir;
  HostRecord record;
  AccessConfig config;
  config.rights = {{10, "N"}, {11, "SUP7"}};
  config.log_path = (dir / "acesso.log").string();
  SimulatedAccessControl access(config, record);

  std::string supervisor = "old";
  EXPECT_FALSE(access.VerificaAcesso(10, "OP1", supervisor));
  EXPECT_TRUE(access.VerificaAcesso(11, "OP1", supervisor));
  EXPECT_EQ(supervisor, "SUP7");
  EXPECT_TRUE(access.VerificaAcesso(12, "OP1", supervisor));
  EXPECT_EQ(supervisor, "") << "an operator's own right names no supervisor";
  EXPECT_EQ(access.ControleAcess(10, "OP1"), "N");
  EXPECT_EQ(access.ControleAcess(11, "OP1"), "SUP7");
  EXPECT_EQ(access.ControleAcess(99, "OP1"), "S");

  ASSERT_TRUE(access.LogControleAcess({"0001", "001", "CUP_DES", "OP1", "Maria", "SUP7", "curto", "longo 12"}));
  ASSERT_EQ(access.Log().size(), 1u);
  std::ifstream in((dir / "acesso.log").string());
  std::stringstream text;
  text << in.rdbuf();
  EXPECT_EQ(text.str(), "0001|001|CUP_DES|OP1|Maria|SUP7|curto|longo 12\n");
}

TEST(ScriptedServicesSim, AnswersByOperationAndActionInOrderLastRepeating) {
  HostRecord record;
  ScriptedServices services({}, record);
  services.Script("ExtratoConsCentral:CONSULTA_SALDO", {true, Variant(120.5)});
  services.Script("ExtratoConsCentral:CONSULTA_SALDO", {false, Variant("fora do ar")});
  services.Script("MoviclieCentral", {true, Variant(std::vector<Variant>{Variant(1.0), Variant(2.0)})});

  ConsumerQuery q;
  q.operation = "CONSULTA_SALDO";
  Variant r;
  ASSERT_TRUE(services.ExtratoConsCentral(q, r));
  EXPECT_EQ(r[0].AsFloat(), 120.5) << "a bare value arrives as the first element";
  EXPECT_FALSE(services.ExtratoConsCentral(q, r));
  EXPECT_FALSE(services.ExtratoConsCentral(q, r)) << "the last answer repeats";

  q.operation = "SALDO_EXCEDE";
  ASSERT_TRUE(services.MoviclieCentral(q, r)) << "an answer for the operation serves every action";
  EXPECT_EQ(r[1].AsFloat(), 2.0);

  EXPECT_FALSE(services.ExtratoConsOnline(q, r)) << "an unscripted query finds the service down";
  EXPECT_TRUE(services.AtuSaldoDebCons("0001", "C", "K", base::DateTime(), "OP")) << "updates succeed by default";
  EXPECT_EQ(record.CountOf("ExtratoConsCentral"), 3u);
}

TEST(ScriptedServicesSim, PriceFunctionAnswersAPricePacket) {
  HostRecord record;
  ServicesConfig config;
  config.prices["7001"] = {12.0, 0.5, 1.0, 0.0};
  ScriptedServices services(config, record);
  std::vector<Variant> args(10, Variant(""));
  args[2] = Variant("7001");
  Variant ole;
  ASSERT_TRUE(services.ChamaFuncaoGetRetornaPreco(args, ole));
  ASSERT_TRUE(ole.IsPacket());
  const auto& p = ole.AsPacket();
  ASSERT_EQ(p.rows.size(), 1u);
  EXPECT_EQ(p.rows[0][p.FieldIndex("VRPRECO")].AsFloat(), 12.0);
  EXPECT_EQ(p.rows[0][p.FieldIndex("VRDESCONTO")].AsFloat(), 1.0);
  args[2] = Variant("0000");
  EXPECT_FALSE(services.ChamaFuncaoGetRetornaPreco(args, ole));
}

TEST(DisplaysSim, CustomerDisplayKeepsItsWidthInCharacters) {
  HostRecord record;
  DisplayConfig config;
  config.width = 12;
  SimulatedDisplays displays(config, record);
  displays.DisplayEnviaTexto("A PAGAR: 1.234,50", 1, 1);
  displays.DisplayEnviaTexto("Ação", 2, 3);
  EXPECT_EQ(displays.CustomerLines()[0], "A PAGAR: 1.2");
  EXPECT_EQ(displays.CustomerLines()[1], "  Ação");
  displays.LimpaDisplay();
  EXPECT_EQ(displays.CustomerLines()[0], "");
}

TEST(HostServicesInstall, RefusesAnIncompleteSetAndInstallsThePump) {
  HostServices partial;
  try {
    InstallHostServices(partial);
    FAIL();
  } catch (const std::invalid_argument& e) {
    EXPECT_NE(std::string(e.what()).find("printer"), std::string::npos);
  }
  EXPECT_FALSE(HostServicesInstalled());
  EXPECT_THROW(Host(), std::logic_error);

  testing::TempDir dir;
  base::VirtualClock clock(base::DateTime::FromYMD(2026, 12, 6));
  base::ScriptedEventPump pump(clock);
  SimulatorConfig config;
  config.host_dir = dir.str();
  HostSimulator sim(config, pump);
  InstallHostServices(sim.Services());
  EXPECT_EQ(&runtime::GetEventPump(), &pump);
  EXPECT_EQ(Host().printer, &sim.Printer());
  UninstallHostServices();
  EXPECT_NE(&runtime::GetEventPump(), &pump);
}

}  // namespace
}  // namespace recebimento::pos
