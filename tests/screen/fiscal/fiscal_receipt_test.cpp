// The fiscal receipt of a confirmed sale on the simulated printer: what each item sends
// and what is marked on it, refused items retried or given up, the dedicated terminal's
// early stop, the closing record's adjustments and consumer-account context, a refused
// closing, a counter sale's receipt opened by the host, and a register without a printer.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "base/dataset.h"
#include "datamodule/statement.h"
#include "screen/fiscal/fiscal_fixture.h"

namespace recebimento::testing {
namespace {

using base::Variant;

class FiscalReceiptTest : public FiscalTest {
 protected:
  void SetUp() override {
    if (!Start()) GTEST_SKIP() << "no server for this engine";
  }

  // Code and description the printer received for each item, in order.
  std::vector<std::pair<std::string, std::string>> ItemsSent() const {
    std::vector<std::pair<std::string, std::string>> out;
    for (const auto& c : Calls("VendaItem")) out.emplace_back(c.args[3].AsString(), c.args[4].AsString());
    return out;
  }
};

TEST_F(FiscalReceiptTest, ItemsGoInStoredOrderWithTheirCodesDescriptionsAndTaxCodes) {
  config_.services.cest_ncm["1002"] = {"0301100", "2202.10.00"};
  Rebuild();
  AddItem("1001", "PRATO EXECUTIVO", 1, 29.5, {{"CDPRODIMPFIS", Str("FIS1001")}, {"CDARVPROD", Str("A1001")}});
  AddItem("1002", "REFRIGERANTE", 2, 6.4, {{"CDARVPROD", Str("A1002")}});
  AddItem("1003", "BRINDE", 1, 0.0);  // nothing to charge
  AddItem("2001", "GASOLINA", 1, 10.0, {{"IDTPIMPOSFIS", Str("F")}, {"VRPEALIMPFIS", Variant(7.0)}});  // rate 0
  AddItem("1004", "SEM ALIQUOTA", 1, 3.0, {{"VRPEALIMPFIS", Variant(12.0)}});                          // no such rate
  Pay("001", "4", 55.3);
  sale().boVendaOk = false;

  ASSERT_TRUE(Print());
  EXPECT_TRUE(sale().boVendaOk);
  const std::vector<std::pair<std::string, std::string>> expected = {
      {"FIS1001", "#PRATO EXECUTIVO"}, {"A1002", "#22021000#0301100#REFRIGERANTE"}, {"2001", "#GASOLINA"}};
  EXPECT_EQ(ItemsSent(), expected);
  const auto messages = Messages();
  EXPECT_NE(std::find(messages.begin(), messages.end(),
                      "Alíquota do item não cadastrada na impressora fiscal. O item não será registrado."),
            messages.end());

  // Marked once the printer took them; the others as they came.
  EXPECT_EQ(ItemColumn(1, "IDPRODIMPFIS"), "S");
  EXPECT_EQ(ItemColumn(1, "NRCUPOMFIS"), "000001");
  EXPECT_EQ(ItemColumn(1, "NRCONTCUPOMFISC"), "000001");
  EXPECT_EQ(ItemColumn(1, "CDORDALIQIMPR"), "T18");
  EXPECT_EQ(ItemColumn(1, "NRSEQPRODCUP"), "1;");
  EXPECT_EQ(ItemColumn(2, "NRSEQPRODCUP"), "2;");
  EXPECT_EQ(ItemColumn(3, "IDPRODIMPFIS"), "");
  EXPECT_EQ(ItemColumn(4, "CDORDALIQIMPR"), "F");
  EXPECT_EQ(ItemColumn(5, "IDPRODIMPFIS"), "");
  // The unit price carries the unit surcharge; the rate goes as text.
  EXPECT_EQ(Calls("VendaItem")[1].args[12].AsFloat(), 2.0);
  EXPECT_EQ(Calls("VendaItem")[1].args[13].AsFloat(), 6.4);
  EXPECT_EQ(Calls("VendaItem")[0].args[9].AsString(), "18,00");

  // The backup holds the items as marked.
  base::Dataset backup;
  backup.LoadFromFile((dir_ / "cdsVenda.cds").string());
  ASSERT_EQ(backup.RecordCount(), 5);
  backup.First();
  EXPECT_EQ(base::ColumnText(backup, "IDPRODIMPFIS"), "S");
  // The first receipt of the day is on record.
  const datamodule::Statement q{"q", "SELECT NRSEQUENCIAL FROM NOVOCODIGO WHERE CDCONTADOR LIKE 'CUPINICIAL0001001%'"};
  ASSERT_EQ(store_->admin().Query(q).rows.size(), 1u);
}

TEST_F(FiscalReceiptTest, ARefusedItemIsTriedAgainWhenTheOperatorAsks) {
  config_.printer_failures["VendaItem"] = 2;
  Rebuild();
  AddItem("1001", "PRATO", 1, 10.0);
  AddItem("1002", "SUCO", 1, 5.0);
  AddItem("1003", "CAFE", 1, 2.0);
  Pay("001", "4", 17.0);
  Answer(true);
  ASSERT_TRUE(Print());
  const std::vector<std::string> codes = [&] {
    std::vector<std::string> c;
    for (const auto& [code, description] : ItemsSent()) c.push_back(code);
    return c;
  }();
  EXPECT_EQ(codes, (std::vector<std::string>{"1001", "1002", "1002", "1003"}));
  const auto texts = DialogTexts();
  ASSERT_FALSE(texts.empty());
  EXPECT_NE(texts.front().find("Erro ao registrar o item na impressora fiscal:\n1002 - SUCO\nDeseja tentar novamente?"),
            std::string::npos)
      << texts.front();
  EXPECT_TRUE(sale().boVendaOk);
  EXPECT_EQ(Count("FechaCupom"), 1u);
}

TEST_F(FiscalReceiptTest, UnderTheDedicatedTerminalARefusedItemLeavesTheSaleUndoneWithoutAClosing) {
  par().stIDUTILTEF = "T";
  sale().boOperacaoEmCurso = true;
  config_.printer_failures["VendaItem"] = 1;
  Rebuild();
  AddItem("1001", "PRATO", 1, 10.0);
  Pay("002", "1", 10.0);
  EXPECT_TRUE(Print()) << "the run answers true";
  EXPECT_FALSE(sale().boVendaOk);
  EXPECT_EQ(Count("FechaCupom"), 0u);
  EXPECT_EQ(Count("Cancela_Cupom_Imp"), 0u) << "nor the closing's failure handling";
  EXPECT_TRUE(DialogTexts().empty()) << "no question is asked";
}

TEST_F(FiscalReceiptTest, CancelledItemsAreRegisteredAndTakenOffAtOnce) {
  AddItem("1001", "PRATO", 1, 10.0);
  AddCancelledItem("1003", 1, 5.0);
  Pay("001", "4", 10.0);
  ASSERT_TRUE(Print());
  ASSERT_EQ(Count("Cancela_UltimoItem"), 1u);
  EXPECT_TRUE(PrintedLine("CANCELADO ITEM 002"));
  EXPECT_TRUE(PrintedLine("TOTAL 10.00"));
  cancelled_.First();
  EXPECT_EQ(base::ColumnText(cancelled_, "IDPRODIMPFIS"), "S");
  EXPECT_EQ(base::ColumnText(cancelled_, "CDORDALIQIMPRIC"), "T18");
  EXPECT_TRUE(std::filesystem::exists(dir_ / "cdsItensCancelados.cds"));
}

TEST_F(FiscalReceiptTest, TheReceiptNetsItsSurchargesAgainstItsDiscounts) {
  AddItem("1001", "PRATO", 1, 100.0);
  Pay("001", "4", 100.0);
  struct Case {
    double service, tab_surcharge, screen_surcharge, tab_discount, screen_discount, item_surcharge;
    double discount, surcharge;
  };
  const std::vector<Case> cases = {
      {5, 0, 0, 2, 3, 0, 0, 0},                                 // equal: neither
      {10, 0, 0, 2, 3, 0, 0, 5},                                // more up: a surcharge
      {10, 0, 4, 2, 3, 0, 1, 0},                                // a screen surcharge replaces the fee
      {0, 3, 0, 10, 0.5, 0, 7.5, 0}, {0, 6, 0, 1, 0, 2, 0, 3},  // the items' own surcharges went with the items
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.service << "/" << c.tab_surcharge << "/" << c.screen_surcharge);
    screen::SaleState& s = sale();
    s.doVrServico = c.service;
    s.doVrAcrComanda = c.tab_surcharge;
    s.doVrAcrescimo = c.screen_surcharge;
    s.doVrDescComanda = c.tab_discount;
    s.doVrDesconto = c.screen_discount;
    s.doAcrItem = c.item_surcharge;
    ASSERT_TRUE(Print());
    const auto record = ClosingRecord();
    ASSERT_EQ(record.size(), 62u);
    EXPECT_DOUBLE_EQ(record[6].AsFloat(), c.discount);
    EXPECT_DOUBLE_EQ(record[8].AsFloat(), c.surcharge);
  }
}

TEST_F(FiscalReceiptTest, TheClosingRecordCarriesTheSaleAndItsConsumerAccount) {
  AddItem("1001", "PRATO", 1, 30.0);
  Pay("001", "4", 50.0);
  sale().doVrTroco = 20.0;
  sale().stNrDocConsCupom = "52998224725";
  ASSERT_TRUE(Print());
  auto record = ClosingRecord();
  ASSERT_EQ(record.size(), 62u);
  EXPECT_EQ(record[2].AsString(), "1");
  EXPECT_EQ(record[3].AsInteger(), 1);
  EXPECT_DOUBLE_EQ(record[7].AsFloat(), 20.0);
  EXPECT_TRUE(record[13].IsPacket());
  EXPECT_EQ(record[13].AsPacket().rows.size(), 1u);
  EXPECT_EQ(record[19].AsString(), "52998224725");
  EXPECT_EQ(record[21].AsString(), "12");
  EXPECT_EQ(record[22].AsString(), "ADMIN");
  EXPECT_EQ(record[24].AsString(), "1") << "the last item's sequence";
  EXPECT_EQ(record[36].AsString(), "0") << "no consumer-account payment";
  EXPECT_EQ(record[42].AsString(), "000001");
  EXPECT_EQ(record[53].AsFloat(), 0.0);
  EXPECT_TRUE(PrintedLine("TROCO 20.00"));
  EXPECT_TRUE(PrintedLine("FIM CUPOM 000001"));
  EXPECT_EQ(Count("Atu_TotGeral"), 1u);

  // Personal credit ("9"): the account's codes, its family balances from the store, the
  // consumer and their limits.
  items_.EmptyDataSet();
  movi_.EmptyDataSet();
  AddItem("1001", "PRATO", 1, 30.0);
  Pay("009", "9", 30.0, {{"CDCLIENTE", Str("000001")}, {"CDCONSUMIDOR", Str("0001")}});
  ASSERT_TRUE(Print());
  record = ClosingRecord();
  EXPECT_EQ(record[36].AsString(), "1");
  EXPECT_EQ(sale().stCdConsumidorCons, "0001");
  ASSERT_TRUE(record[32].IsPacket());
  EXPECT_FALSE(record[32].AsPacket().rows.empty()) << "the family balances";
  EXPECT_EQ(record[18].AsString(), "Maria da Silva");
  EXPECT_EQ(record[17].AsString(), "MAT0001");
  EXPECT_EQ(record[47].AsString(), "150");
  EXPECT_EQ(record[48].AsString(), "300") << "the monthly subsidy once the limits were read";

  // Consumer debit ("A").
  movi_.EmptyDataSet();
  Pay("010", "A", 30.0, {{"CDCLIENTE", Str("000001")}, {"CDCONSUMIDOR", Str("0003")}});
  ASSERT_TRUE(Print());
  EXPECT_EQ(ClosingRecord()[36].AsString(), "2");
  EXPECT_EQ(sale().stCdConsumidorCons, "0003");
}

// The payroll period of a consumer-debit sale starts on the closing day of the previous
// month until that day has passed; February has no day 30.
class PayrollPeriodTest : public FiscalReceiptTest, public ::testing::WithParamInterface<int> {};

TEST_P(PayrollPeriodTest, TheExcessBalanceCountsFromTheLastDayOfFebruary) {
  const int year = GetParam();
  const std::string y = std::to_string(year);
  clock_.Set(base::DateTime::FromYMD(year, 3, 15, 12));
  // Debits of consumer 0003 on sales entered on the 28th of February and on the 1st of March.
  store_->Exec(
      "INSERT INTO VENDA (CDFILIAL, CDCAIXA, NRSEQVENDA, DTENTRVENDA, IDSITUVENDA) VALUES "
      "('0001', '001', '0000000100', '" +
      y + "-02-28 12:00:00', 'O')");
  store_->Exec(
      "INSERT INTO VENDA (CDFILIAL, CDCAIXA, NRSEQVENDA, DTENTRVENDA, IDSITUVENDA) VALUES "
      "('0001', '001', '0000000101', '" +
      y + "-03-01 12:00:00', 'O')");
  store_->Exec(
      "INSERT INTO MOVICLIE (CDCLIENTE, NRSEQMOVCLIE, CDCONSUMIDOR, DTMOVIMCLIE, IDTIPMOCVLI, VRMOVCLI, "
      "CDFILIAL, CDCAIXA, NRSEQVENDA) VALUES ('000001', 100, '0003', '" +
      y + "-02-28 12:00:00', 'D', 10, '0001', '001', '0000000100')");
  store_->Exec(
      "INSERT INTO MOVICLIE (CDCLIENTE, NRSEQMOVCLIE, CDCONSUMIDOR, DTMOVIMCLIE, IDTIPMOCVLI, VRMOVCLI, "
      "CDFILIAL, CDCAIXA, NRSEQVENDA) VALUES ('000001', 101, '0003', '" +
      y + "-03-01 12:00:00', 'D', 5, '0001', '001', '0000000101')");
  par().stIDPARIMPRLIMVDC = "E";
  par().stNRDIAFECHAFOLHA = "30";
  AddItem("1001", "PRATO", 1, 20.0);
  Pay("010", "A", 20.0, {{"IDTIPOMOVIVE", Str("T")}, {"CDCLIENTE", Str("000001")}, {"CDCONSUMIDOR", Str("0003")}});
  ASSERT_TRUE(Print());
  const bool leap = year % 4 == 0;
  EXPECT_EQ(par().stNRDIAFECHAFOLHA, leap ? "29" : "28");
  // From the 29th the debit of the 28th is out; from the 28th (at midnight) it is in.
  EXPECT_DOUBLE_EQ(ClosingRecord()[53].AsFloat(), leap ? 5 + 20 : 10 + 5 + 20);
}

INSTANTIATE_TEST_SUITE_P(Years, PayrollPeriodTest, ::testing::Values(2028, 2027));

TEST_F(FiscalReceiptTest, AClosingThePrinterRefusesCancelsTheReceiptAndThePendingCards) {
  config_.printer_failures["FechaCupom"] = 1;
  Rebuild();
  AddItem("1001", "PRATO", 1, 10.0);
  Pay("001", "4", 10.0);
  EXPECT_FALSE(Print());
  EXPECT_FALSE(sale().boVendaOk);
  EXPECT_TRUE(sale().boCupomCancelado);
  EXPECT_EQ(Count("Atu_TotGeral"), 1u) << "the grand totals are updated even so";
  EXPECT_EQ(Count("CancelaPendencia"), 1u);
  const auto messages = Messages();
  EXPECT_NE(std::find(messages.begin(), messages.end(), "Erro ao fechar o cupom fiscal. O cupom será cancelado."),
            messages.end());
  EXPECT_TRUE(PrintedLine("CUPOM 000001 CANCELADO"));
}

TEST_F(FiscalReceiptTest, AReceiptThatDoesNotOpenRegistersNothing) {
  config_.printer_failures["AbreCupom"] = 1;
  Rebuild();
  AddItem("1001", "PRATO", 1, 10.0);
  Pay("001", "4", 10.0);
  EXPECT_FALSE(Print());
  EXPECT_FALSE(sale().boVendaOk);
  EXPECT_EQ(Count("VendaItem"), 0u);
  EXPECT_EQ(Count("FechaCupom"), 0u);
  EXPECT_EQ(Messages().front(), "Erro ao enviar o comando para a impressora fiscal. Verifique a impressora.");
}

TEST_F(FiscalReceiptTest, ACounterSaleIsClosedOnTheReceiptTheHostOpened) {
  config_.printer.receipt_open = true;
  config_.printer.next_receipt = 77;
  Rebuild();
  sale().stIdTipoVenda = "B";
  sale().boVendaOk = false;
  AddItem("1001", "PRATO", 1, 10.0);
  Pay("001", "4", 10.0);
  ASSERT_TRUE(Print());
  EXPECT_EQ(Count("AbreCupom"), 0u);
  EXPECT_EQ(Count("VendaItem"), 0u) << "the host registered the items";
  EXPECT_EQ(Count("FechaCupom"), 1u);
  EXPECT_TRUE(sale().boVendaOk);
  EXPECT_TRUE(PrintedLine("TOTAL 10.00"));
  EXPECT_FALSE(sim_->Printer().ReceiptOpen());
}

TEST_F(FiscalReceiptTest, PrinterModel26TellsTheReceiptNumberAfterTheClosing) {
  par().inIDTIPOIMPFIS = 26;
  AddItem("1001", "PRATO", 1, 10.0);
  Pay("001", "4", 10.0);
  sale().stNrCupomFis = "";
  ASSERT_TRUE(Print());
  ASSERT_EQ(Count("Nr_Cupom"), 1u);
  EXPECT_EQ(sale().stNrCupomFis, "000001");
}

TEST_F(FiscalReceiptTest, WithoutAFiscalPrinterTheVouchersAndTheBackupAreStillMade) {
  par().boUTILIZAIMPFIS = false;
  par().stIDIMPVENDCON = "S";
  sale().boVendaOk = true;  // recorded by the confirmation
  AddItem("1001", "PRATO", 1, 30.0);
  Pay("010", "A", 10.0, {{"IDTIPOMOVIVE", Str("T")}, {"CDCLIENTE", Str("000001")}, {"CDCONSUMIDOR", Str("0001")}});
  Pay("009", "9", 20.0, {{"CDCLIENTE", Str("000001")}, {"CDCONSUMIDOR", Str("0001")}});
  ASSERT_TRUE(Print());
  EXPECT_EQ(Count("AbreCupom") + Count("FechaCupom") + Count("VendaItem"), 0u);
  EXPECT_EQ(Count("Comp_DebitoCons_Bematech_NaoFiscal"), 1u);
  EXPECT_EQ(Count("ImpCompVenCredNFCeSAT"), 1u);
  EXPECT_EQ(Count("Comp_DebitoCons") + Count("Imp_CompVenCred"), 0u);
  EXPECT_EQ(Count("AtivaProcesso"), 2u);
  EXPECT_EQ(Count("DesativaProcesso"), 2u);
  EXPECT_TRUE(std::filesystem::exists(dir_ / "cdsVenda.cds"));
  EXPECT_TRUE(sale().boVendaOk);
}

TEST_F(FiscalReceiptTest, AVoucherThatFailsStillClosesTheNotice) {
  par().stIDIMPVENDCON = "S";
  config_.printer_failures["Comp_DebitoCons"] = 0;
  Rebuild();
  AddItem("1001", "PRATO", 1, 10.0);
  Pay("010", "A", 10.0, {{"IDTIPOMOVIVE", Str("T")}, {"CDCLIENTE", Str("000001")}, {"CDCONSUMIDOR", Str("0001")}});
  ASSERT_TRUE(Print());
  EXPECT_EQ(Count("Comp_DebitoCons"), 1u);
  EXPECT_EQ(Count("DesativaProcesso"), Count("AtivaProcesso"));
}

TEST_F(FiscalReceiptTest, TheDrawerStopsAFiscalSaleOnlyWhenItIsOpen) {
  for (const auto& [kind, open, passes] : std::vector<std::tuple<std::string, bool, bool>>{{"0", true, true},
                                                                                           {"", true, true},
                                                                                           {"1", true, false},
                                                                                           {"1", false, true},
                                                                                           {"2", false, false},
                                                                                           {"2", true, true}}) {
    SCOPED_TRACE(kind + (open ? " open" : " closed"));
    config_.drawer.open = open;
    Rebuild();
    EXPECT_EQ(parts().fiscal.VerificaEstadoGaveta(kind), passes);
  }
}

}  // namespace
}  // namespace recebimento::testing
