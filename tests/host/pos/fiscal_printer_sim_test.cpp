// The simulated fiscal printer behaves like a device: numbered receipts, sequenced
// items, totals kept in whole cents, a journal, scripted failures, pending card files.
#include <fstream>
#include <sstream>

#include <gtest/gtest.h>

#include "base/clock.h"
#include "host/pos/fiscal_params.h"
#include "host/pos/fiscal_printer_sim.h"
#include "host/runtime/param_block.h"
#include "support/temp_dir.h"

namespace recebimento::pos {
namespace {

using base::Variant;
using runtime::RecebeParams;

class FiscalPrinterSimTest : public ::testing::Test {
 protected:
  FiscalPrinterSimTest()
      : clock_(base::DateTime::FromYMD(2026, 12, 6, 12)), files_((dir_ / "resp").string(), (dir_ / "pend").string()) {
    FiscalPrinterConfig config;
    config.journal_path = (dir_ / "journal.txt").string();
    config.next_receipt = 41;
    config.next_counter = 900;
    printer_ = std::make_unique<SimulatedFiscalPrinter>(config, record_, clock_, files_);
  }

  runtime::ParamBlock Open() {
    auto block = Params_AbreCupom_Gpe00000("1", "52998224725", "Ana", "", "", "", "S", true);
    EXPECT_TRUE(printer_->AbreCupom(block));
    return block;
  }

  bool Sell(const std::string& code, double qty, double price, double discount = 0) {
    SaleItemParams item;
    item.code = code;
    item.description = "ITEM " + code;
    item.quantity = qty;
    item.unit_price = price;
    item.discount = discount;
    last_item_ = Params_VendaItem_Gpe00000(item);
    return printer_->VendaItem(last_item_);
  }

  bool Close(double discount, double surcharge, double change) {
    std::vector<Variant> closing(62);
    closing[6] = discount;
    closing[7] = change;
    closing[8] = surcharge;
    base::DataPacket payments;
    payments.fields = {{"NMTIPORECE", base::FieldType::String, 40},
                       {"VRMOVIVEND", base::FieldType::Float, 0},
                       {"IDTIPOMOVIVE", base::FieldType::String, 1}};
    payments.rows = {{Variant("DINHEIRO"), Variant(50.0), Variant("E")},
                     {Variant("TROCO"), Variant(change), Variant("S")}};
    closing[13] = Variant(payments);
    answer_ = Variant::Array(10);
    return printer_->FechaCupom({}, closing, answer_);
  }

  testing::TempDir dir_;
  base::VirtualClock clock_;
  HostRecord record_;
  TefExchangeFolder files_;
  std::unique_ptr<SimulatedFiscalPrinter> printer_;
  runtime::ParamBlock last_item_;
  Variant answer_;
};

TEST_F(FiscalPrinterSimTest, ReceiptLifecycleNumbersSequencesAndTotals) {
  auto opened = Open();
  EXPECT_EQ(RecebeParams(opened, "CUPNR").AsString(), "000041");
  EXPECT_EQ(RecebeParams(opened, "CONTCUPOM").AsString(), "000900");
  EXPECT_EQ(RecebeParams(opened, "INTTEFERRO").AsInteger(), 1);

  ASSERT_TRUE(Sell("A", 1, 0.29));
  EXPECT_EQ(RecebeParams(last_item_, "NRSEQITEM").AsInteger(), 1);
  ASSERT_TRUE(Sell("B", 3, 0.29));
  EXPECT_EQ(RecebeParams(last_item_, "NRSEQITEM").AsInteger(), 2);
  ASSERT_TRUE(Sell("C", 1, 10.0));
  ASSERT_TRUE(printer_->Cancela_UltimoItem("1"));
  EXPECT_FALSE(printer_->Cancela_UltimoItem("1")) << "the last item is already cancelled";

  ASSERT_TRUE(Close(0.16, 1.15, 2.0));
  EXPECT_FALSE(printer_->ReceiptOpen());
  // 0.29 + 0.87 - 0.16 + 1.15 = 2.15, exactly, however the doubles fall.
  EXPECT_EQ(printer_->GrandTotal(), 2.15);
  EXPECT_EQ(answer_[0].AsInteger(), 1);
  EXPECT_EQ(answer_[2].AsString(), "OK");

  std::string printed;
  for (const auto& l : record_.Printed()) printed += l.text + "\n";
  EXPECT_NE(printed.find("TOTAL 2.15"), std::string::npos) << printed;
  EXPECT_NE(printed.find("DINHEIRO 50.00"), std::string::npos);
  EXPECT_NE(printed.find("TROCO 2.00"), std::string::npos);
  EXPECT_NE(printed.find("CANCELADO ITEM 003"), std::string::npos);

  // The journal holds what was printed, line for line.
  std::ifstream journal((dir_ / "journal.txt").string());
  std::stringstream text;
  text << journal.rdbuf();
  EXPECT_NE(text.str().find("CUPOM FISCAL 000041 COO 000900"), std::string::npos);
  EXPECT_NE(text.str().find("TOTAL 2.15"), std::string::npos);

  std::string number;
  ASSERT_TRUE(printer_->Nr_Cupom("COM1", "1", number));
  EXPECT_EQ(number, "000041");
}

TEST_F(FiscalPrinterSimTest, RefusesWhatARealPrinterRefuses) {
  EXPECT_FALSE(Sell("A", 1, 1.0)) << "no receipt open";
  std::vector<Variant> no_args;
  Variant ole;
  EXPECT_FALSE(printer_->Cancela_Cupom_Imp(no_args, ole)) << "nothing to cancel yet";
  Open();
  auto again = Params_AbreCupom_Gpe00000("1", "", "", "", "", "", "N", false);
  EXPECT_FALSE(printer_->AbreCupom(again)) << "a receipt is already open";
  EXPECT_FALSE(Sell("Z", 0, 1.0)) << "zero quantity";
}

TEST_F(FiscalPrinterSimTest, CancellingAClosedReceiptTakesItOffTheGrandTotal) {
  Open();
  Sell("A", 2, 12.5);
  ASSERT_TRUE(Close(0, 0, 0));
  EXPECT_EQ(printer_->GrandTotal(), 25.0);
  Variant ole = Variant::Array(10);
  ASSERT_TRUE(printer_->Cancela_Cupom_Imp(
      {Variant("1"), false, false, true, Variant("0001"), Variant("001"), Variant("SN")}, ole));
  EXPECT_TRUE(ole[0].AsBoolean());
  EXPECT_EQ(printer_->GrandTotal(), 0.0);
  EXPECT_EQ(printer_->CancelledTotal(), 25.0);
  EXPECT_FALSE(printer_->Cancela_Cupom_Imp({}, ole)) << "a receipt is cancelled once";
}

TEST_F(FiscalPrinterSimTest, ScriptedFailureHitsOnlyTheNamedCall) {
  printer_->Failures().FailAt("VendaItem", 2);
  Open();
  EXPECT_TRUE(Sell("A", 1, 1.0));
  EXPECT_FALSE(Sell("B", 1, 1.0));
  EXPECT_TRUE(Sell("B", 1, 1.0)) << "the retry goes through";
  EXPECT_EQ(printer_->ItemCount(), 2);
}

TEST_F(FiscalPrinterSimTest, PendingCardTransactionsAreSeenAndCancelled) {
  files_.WriteUnconfirmed("123456", 10.0, "01");
  EXPECT_TRUE(files_.Pending().empty());
  ASSERT_TRUE(printer_->CheckIntPosFiles("1", false));
  ASSERT_EQ(files_.Pending().size(), 1u);
  EXPECT_EQ(files_.Pending()[0], "intpos.001");

  PendingTefRequest request;
  request.inQtdeTef = 1;
  ASSERT_TRUE(printer_->CancelaPendencia(request));
  EXPECT_TRUE(files_.Pending().empty());
  EXPECT_TRUE(files_.Unconfirmed().empty());
}

TEST_F(FiscalPrinterSimTest, CallsCarryTheirArgumentsInTheContractsOrder) {
  auto opened = Params_AbreCupom_Gpe00000("1", "52998224725", "Ana", "Rua A", "", "", "S", true);
  ASSERT_TRUE(printer_->AbreCupom(opened));
  ASSERT_TRUE(Sell("A", 2, 1.5, 0.5));
  ASSERT_TRUE(Close(0, 0, 0));
  const auto open_args = record_.CallsOf("AbreCupom").at(0).args;
  ASSERT_EQ(open_args.size(), 14u);
  EXPECT_EQ(open_args[0].AsString(), "1");
  EXPECT_EQ(open_args[1].AsString(), "52998224725");
  EXPECT_EQ(open_args[3].AsString(), "Rua A");
  EXPECT_EQ(open_args[12].AsString(), "S");
  EXPECT_TRUE(open_args[13].AsBoolean());
  const auto item_args = record_.CallsOf("VendaItem").at(0).args;
  ASSERT_EQ(item_args.size(), 17u);
  EXPECT_EQ(item_args[3].AsString(), "A");
  EXPECT_EQ(item_args[4].AsString(), "ITEM A");
  EXPECT_EQ(item_args[12].AsFloat(), 2.0);
  EXPECT_EQ(item_args[13].AsFloat(), 1.5);
  EXPECT_EQ(item_args[14].AsFloat(), 0.5);
  const auto close_args = record_.CallsOf("FechaCupom").at(0).args;
  ASSERT_EQ(close_args.size(), 2u);
  EXPECT_TRUE(close_args[0].IsArray());
  ASSERT_TRUE(close_args[1].IsArray());
  EXPECT_EQ(close_args[1].Size(), 62u);
  EXPECT_TRUE(close_args[1][13].IsPacket());

  // A closing record of another size is no closing record.
  Open();
  answer_ = Variant::Array(10);
  EXPECT_FALSE(printer_->FechaCupom({}, std::vector<Variant>(61), answer_));
  EXPECT_TRUE(printer_->ReceiptOpen());
}

TEST_F(FiscalPrinterSimTest, TheReceiptReadsWithHeaderConsumerPaymentsAndFooter) {
  FiscalPrinterConfig config;
  config.header = {"LOJA DEMONSTRACAO", "CNPJ 12.345.678/0001-95"};
  config.next_receipt = 7;
  SimulatedFiscalPrinter printer(config, record_, clock_, files_);
  auto block = Params_AbreCupom_Gpe00000("1", "52998224725", "Ana", "Rua A", "", "", "N", false);
  ASSERT_TRUE(printer.AbreCupom(block));
  SaleItemParams item;
  item.code = "1001";
  item.description = "#PRATO";
  item.quantity = 1;
  item.unit_price = 30;
  auto sold = Params_VendaItem_Gpe00000(item);
  ASSERT_TRUE(printer.VendaItem(sold));
  item.code = "3003";
  item.description = "#AGUA";
  item.unit_price = 5;
  item.discount = 4.99;
  auto discounted = Params_VendaItem_Gpe00000(item);
  ASSERT_TRUE(printer.VendaItem(discounted));
  std::vector<Variant> closing(62, Variant(std::string()));
  closing[6] = Variant(2.0);
  closing[7] = Variant(12.0);
  closing[8] = Variant(0.0);
  base::DataPacket payments;
  payments.fields = {{"NMTIPORECE", base::FieldType::String, 40}, {"VRMOVIVEND", base::FieldType::Float, 0}};
  payments.rows = {{Variant("DINHEIRO"), Variant(40.0)}};
  closing[13] = Variant(payments);
  closing[10] = Variant("VOLTE SEMPRE");
  closing[23] = Variant("MARIA");
  Variant answer;
  ASSERT_TRUE(printer.FechaCupom({}, closing, answer));
  std::vector<std::string> lines;
  for (const auto& l : record_.Printed()) lines.push_back(l.text);
  const std::vector<std::string> expected = {"LOJA DEMONSTRACAO",
                                             "CNPJ 12.345.678/0001-95",
                                             "ECF SIM00000001 06/12/2026 12:00:00",
                                             "CUPOM FISCAL 000007 COO 000001",
                                             "CONSUMIDOR: 52998224725",
                                             "NOME: Ana",
                                             "ENDERECO: Rua A",
                                             "001 1001 #PRATO 1 x 30.00 = 30.00",
                                             "002 3003 #AGUA 1 x 5.00 = 0.01",
                                             "ITEM 002 DESCONTO -4.99",
                                             "SUBTOTAL 30.01",
                                             "DESCONTO -2.00",
                                             "TOTAL 28.01",
                                             "DINHEIRO 40.00",
                                             "TROCO 12.00",
                                             "VOLTE SEMPRE",
                                             "OPERADOR: MARIA",
                                             "FIM CUPOM 000007 GT 28.01"};
  EXPECT_EQ(lines, expected);
}

TEST_F(FiscalPrinterSimTest, AReceiptTheHostOpenedTotalsWhatWasPaid) {
  FiscalPrinterConfig config;
  config.receipt_open = true;
  SimulatedFiscalPrinter printer(config, record_, clock_, files_);
  ASSERT_TRUE(printer.ReceiptOpen());
  std::vector<Variant> closing(62);
  closing[7] = Variant(2.5);
  base::DataPacket payments;
  payments.fields = {{"NMTIPORECE", base::FieldType::String, 40}, {"VRMOVIVEND", base::FieldType::Float, 0}};
  payments.rows = {{Variant("DINHEIRO"), Variant(20.0)}};
  closing[13] = Variant(payments);
  Variant answer;
  ASSERT_TRUE(printer.FechaCupom({}, closing, answer));
  EXPECT_EQ(printer.GrandTotal(), 17.5);
}

TEST_F(FiscalPrinterSimTest, BusinessDateIsConfiguredOrTheClocksDay) {
  EXPECT_EQ(printer_->DataMoviFiscal("1"), base::DateTime::FromYMD(2026, 12, 6));
  FiscalPrinterConfig config;
  config.business_date = "2026-12-05";
  SimulatedFiscalPrinter other(config, record_, clock_, files_);
  EXPECT_EQ(other.DataMoviFiscal("1"), base::DateTime::FromYMD(2026, 12, 5));
}

}  // namespace
}  // namespace recebimento::pos
