// The entry's contract: both globals freed whatever happens, the access-control entries
// only for a completed sale, argument 10's rule, the item-discount sum that swallows its
// own failure, and the outputs written from the screen.
#include <gtest/gtest.h>

#include "base/clock.h"
#include "base/event_pump.h"
#include "datamodule/connection_config.h"
#include "host/pos/host_simulator.h"
#include "package/package_globals.h"
#include "package/recebimento.h"
#include "screen/frame/frm_recebimento.h"
#include "screen/frame/screen_parts.h"
#include "support/store_fixture.h"
#include "support/temp_dir.h"

namespace recebimento::package {
namespace {

using base::Variant;
using screen::TfrmRecebimento;

// Items of 10,00 each with the discounts given.
void Items(base::Dataset& items, std::vector<double> discounts, bool with_discount_field = true) {
  items.AddField("CDPRODUTO", base::FieldType::String, 10);
  items.AddField("VRPRECCOMVEN", base::FieldType::Float);
  items.AddField("QTPRODCOMVEN", base::FieldType::Float);
  if (with_discount_field) items.AddField("VRDESCCOMVEN", base::FieldType::Float);
  items.CreateDataSet();
  int n = 0;
  for (double d : discounts) {
    items.Append();
    items.FieldByName("CDPRODUTO").SetAsString("P" + std::to_string(++n));
    items.FieldByName("VRPRECCOMVEN").SetAsFloat(10);
    items.FieldByName("QTPRODCOMVEN").SetAsFloat(1);
    if (with_discount_field) items.FieldByName("VRDESCCOMVEN").SetAsFloat(d);
    items.Post();
  }
}

class EntryTest : public ::testing::Test {
 protected:
  EntryTest() : clock_(base::DateTime::FromYMD(2026, 12, 6, 12)), pump_(clock_) {
    datamodule::SetHostFolder(dir_.str());
    datamodule::SetStringConexZem(testing::SqliteStoreAt(dir_ / "store.db"));
    pos::SimulatorConfig config;
    config.host_dir = dir_.str();
    sim_ = std::make_unique<pos::HostSimulator>(config, pump_);
    pos::InstallHostServices(sim_->Services());
    args_.cdsItensVenda = &items_;
    args_.cdsMoviVenda = &payments_;
    args_.cdsEmprestimoFamHost = &loans_;
  }
  ~EntryTest() override {
    pos::UninstallHostServices();
    datamodule::SetStringConexZem("");
  }

  // The operator's one action: whatever `on_screen` does, then the screen closes.
  void WhenShown(std::function<void(TfrmRecebimento&)> on_screen) {
    pump_.Push(
        [on_screen] {
          TfrmRecebimento& frm = *screen::frmRecebimento;
          on_screen(frm);
          frm.FormClose();
        },
        "close the screen");
  }

  std::vector<pos::AccessLogEntry> AccessLog() { return sim_->Access().Log(); }

  testing::TempDir dir_;
  base::VirtualClock clock_;
  base::ScriptedEventPump pump_;
  std::unique_ptr<pos::HostSimulator> sim_;
  base::Dataset items_{"cdsItensVenda"}, payments_{"cdsMoviVenda"}, loans_{"cdsEmprestimoFamHost"};
  RecebimentoArgs args_;
};

TEST_F(EntryTest, AFailureInsideTheScreenFreesBothGlobalsAndTheNextCallStartsClean) {
  Items(items_, {0});
  args_.stNrVenda = "host value";
  // No operator action: the screen's wait fails inside the call.
  EXPECT_THROW(Recebimento(args_), base::ScriptExhausted);
  EXPECT_EQ(frmRecebimento, nullptr);
  EXPECT_EQ(rdmRecebimento, nullptr);
  EXPECT_EQ(args_.stNrVenda, "host value") << "outputs not yet written keep the host's values";

  WhenShown([](TfrmRecebimento& frm) { frm.Sale().stNrVenda = "000010"; });
  EXPECT_FALSE(Recebimento(args_));
  EXPECT_EQ(args_.stNrVenda, "000010");
  EXPECT_EQ(frmRecebimento, nullptr);
  EXPECT_EQ(rdmRecebimento, nullptr);
}

TEST_F(EntryTest, AStoreThatCannotOpenFailsTheCallWithNothingLeftBehind) {
  Items(items_, {0});
  datamodule::SetStringConexZem("sqlite:" + (dir_ / "no" / "such" / "folder" / "x.db").string());
  EXPECT_THROW(Recebimento(args_), std::exception);
  EXPECT_EQ(frmRecebimento, nullptr);
  EXPECT_EQ(rdmRecebimento, nullptr);
}

TEST_F(EntryTest, AccessControlEntriesOnlyForACompletedSale) {
  Items(items_, {0.5, 1.25});
  WhenShown([](TfrmRecebimento& frm) {
    frm.Sale().boVendaOk = false;
    frm.Sale().doVrAcrescimo = 3.0;
  });
  EXPECT_FALSE(Recebimento(args_));
  EXPECT_TRUE(AccessLog().empty()) << "an abandoned sale leaves no discount or surcharge entry";

  WhenShown([](TfrmRecebimento& frm) {
    // The branch's configuration as the screen read it.
    screen::ParametrosZem& par = frm.Parts().scope.par;
    screen::SaleState& sale = frm.Sale();
    sale.boVendaOk = true;
    sale.doVrAcrescimo = 3.0;
    par.stCDFILIAL = "0001";
    par.stCDCAIXA = "002";
    sale.stCdOperador = "000042";
    sale.stNmOperador = "MARIA";
    sale.stCdSupervisor = "SUP7";
    par.boUTILIZAIMPFIS = true;
    sale.stNrCupomFis = "000123";
    sale.stNrVenda = "999";
  });
  EXPECT_TRUE(Recebimento(args_));
  EXPECT_EQ(args_.stNrCupom, "000123") << "with a fiscal printer the receipt number";
  const auto log = AccessLog();
  ASSERT_EQ(log.size(), 2u);
  EXPECT_EQ(log[0].event, "CUP_DES");
  EXPECT_EQ(log[1].event, "CUP_ACR");
  EXPECT_EQ(log[0].branch, "0001");
  EXPECT_EQ(log[0].cash_register, "002");
  EXPECT_EQ(log[0].operator_code, "000042");
  EXPECT_EQ(log[0].operator_name, "MARIA");
  EXPECT_EQ(log[0].supervisor, "SUP7");
  EXPECT_FALSE(log[0].short_text.empty());
  EXPECT_EQ(log[0].long_text.substr(log[0].long_text.size() - 6), "000123");
}

TEST_F(EntryTest, NoDiscountEntryWithoutItemDiscountsAndWithoutTheSurcharge) {
  Items(items_, {0, 0});
  WhenShown([](TfrmRecebimento& frm) { frm.Sale().boVendaOk = true; });
  EXPECT_TRUE(Recebimento(args_));
  EXPECT_TRUE(AccessLog().empty());
  EXPECT_EQ(args_.stNrCupom, "") << "without a fiscal printer the sale number, here none";
}

TEST_F(EntryTest, ItemDiscountSumThatFailsCountsAsNoDiscount) {
  Items(items_, {1, 2}, /*with_discount_field=*/false);
  WhenShown([](TfrmRecebimento& frm) { frm.Sale().boVendaOk = true; });
  EXPECT_TRUE(Recebimento(args_)) << "the failure of the sum is not the sale's";
  EXPECT_TRUE(AccessLog().empty());
}

TEST_F(EntryTest, ArgumentTenKeepsANonEmptyHostValue) {
  Items(items_, {0});
  args_.stNrContCupom = "555";
  WhenShown([](TfrmRecebimento& frm) { frm.Sale().stNrContCupom = "999"; });
  Recebimento(args_);
  EXPECT_EQ(args_.stNrContCupom, "555");

  args_.stNrContCupom = "";
  WhenShown([](TfrmRecebimento& frm) { frm.Sale().stNrContCupom = "999"; });
  Recebimento(args_);
  EXPECT_EQ(args_.stNrContCupom, "999");

  args_.stNrContCupom = "";
  WhenShown([](TfrmRecebimento&) {});
  Recebimento(args_);
  EXPECT_EQ(args_.stNrContCupom, "");
}

TEST_F(EntryTest, EntryStateIsSetBeforeTheScreenAndOutputsAreCopiedBack) {
  Items(items_, {0, 0, 0});
  items_.Last();
  args_.stObsVenda = "sem cebola";
  args_.stIdDescFidelidade = "D";
  args_.stPontosFidelidade = "10";
  args_.stVrDescFidelidade = "1,00";
  args_.doVrPago = -5;
  stOBSFINVEN = "left from another sale";
  std::string seen_obs;
  Variant seen_ole;
  WhenShown([&](TfrmRecebimento& frm) {
    screen::SaleState& sale = frm.Sale();
    seen_obs = sale.stObsVenda;
    seen_ole = oleRetorno;
    EXPECT_EQ(sale.cdsItensVenda, &items_) << "the screen works on the host's own dataset";
    EXPECT_EQ(sale.doVrPago, 0) << "an amount paid that is not positive counts as 0";
    sale.stIdCPFCupom = "c";
    sale.stCdCampanha = "CAMP1";
    sale.stlRetorno = {"linha 1", "linha 2"};
    sale.stIdPagouTEF = "N";
    sale.doVrPago = 80.5;
    sale.boCupomCancelado = true;
    sale.stCDIDCONSUMID = "ID77";
  });
  Recebimento(args_);
  EXPECT_EQ(seen_obs, "sem cebola");
  ASSERT_TRUE(seen_ole.IsArray());
  EXPECT_EQ(seen_ole.Size(), 10u);
  EXPECT_EQ(stOBSFINVEN, "");
  EXPECT_EQ(args_.stIdDescFidelidade, "");
  EXPECT_EQ(args_.stPontosFidelidade, "");
  EXPECT_EQ(args_.stVrDescFidelidade, "");
  EXPECT_EQ(args_.stIdCPFCupom, "c");
  EXPECT_EQ(args_.stCdCampanha, "CAMP1");
  EXPECT_EQ(args_.stlRetorno, (std::vector<std::string>{"linha 1", "linha 2"}));
  EXPECT_EQ(args_.doVrPago, 80.5);
  EXPECT_TRUE(args_.boCupomCancelado);
  EXPECT_EQ(args_.stCdConsumidor, "ID77");
  EXPECT_EQ(items_.RecordCount(), 3) << "the host's items come back whole";
  EXPECT_FALSE(loans_.Fields().empty()) << "the family loans reach argument 7";
}

TEST(ArgumentTable, FortySevenArgumentsInCallOrder) {
  const auto& table = ArgumentTable();
  for (size_t i = 0; i < table.size(); ++i) EXPECT_EQ(table[i].number, static_cast<int>(i + 1));
  EXPECT_STREQ(table[8].name, "stNrCupom");
  EXPECT_EQ(table[9].direction, ArgDirection::InOut);
  EXPECT_STREQ(table[46].name, "cdsPromoComanda");
  EXPECT_EQ(FindArgument("stRetTender")->number, 45);
  EXPECT_EQ(FindArgument("nope"), nullptr);
}

TEST(PackageGlobals, ClearingLeavesEveryGlobalEmpty) {
  oleRetorno = Variant::Array(10);
  stOBSFINVEN = "x";
  doAcrItem = 1.5;
  ASSERT_EQ(MsgInputStep[screen::isDinheiro1], "isCredito3");
  ClearGlobals();
  EXPECT_TRUE(oleRetorno.IsEmpty());
  EXPECT_EQ(stOBSFINVEN, "");
  EXPECT_EQ(doAcrItem, 0);
  EXPECT_EQ(MsgInputStep[screen::isDinheiro1], "");
  screen::InitInputStepTables();
}

}  // namespace
}  // namespace recebimento::package

namespace recebimento::package {
namespace {

TEST(EntryWithoutHost, RefusesToRunBeforeTheHostServicesAreInstalled) {
  pos::UninstallHostServices();
  RecebimentoArgs args;
  EXPECT_THROW(Recebimento(args), std::logic_error);
  EXPECT_EQ(frmRecebimento, nullptr);
}

}  // namespace
}  // namespace recebimento::package
