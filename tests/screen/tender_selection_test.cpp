// Tender selection on a screen with simulated host services: the amount typed on the
// keypad, the payment lines it leaves, change, refusals and foreign currency.
#include <gtest/gtest.h>

#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "base/clock.h"
#include "base/event_pump.h"
#include "base/packet_file.h"
#include "datamodule/connection_config.h"
#include "datamodule/trdm_recebimento.h"
#include "host/pos/host_simulator.h"
#include "host/runtime/format.h"
#include "screen/frm_recebimento.h"
#include "screen/input_steps.h"
#include "screen/screen_globals.h"
#include "support/temp_dir.h"
#include "support/store_fixture.h"

namespace recebimento::testing {
namespace {

using base::Variant;

// Answers questions from a queue; one-button messages need none.
class QueuedAnswers : public pos::DialogAnswerSource {
 public:
  std::optional<pos::DialogAnswer> Next(const pos::DialogRecord&) override {
    if (answers.empty()) return std::nullopt;
    pos::DialogAnswer a;
    a.value = Variant(answers.front());
    answers.pop_front();
    return a;
  }
  std::deque<bool> answers;
};

class TenderSelectionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    config_.host_dir = dir_.str();
    datamodule::SetHostFolder(dir_.str());
    datamodule::SetStringConexZem(testing::SqliteStoreAt(dir_ / "store.db"));
    screen::rdmRecebimento = new datamodule::TrdmRecebimento();
    screen::rdmRecebimento->Open();
    sim_ = std::make_unique<pos::HostSimulator>(config_, pump_, &answers_);
    pos::InstallHostServices(sim_->Services());
    screen::InitInputStepTables();
    frm_ = std::make_unique<screen::TfrmRecebimento>();
    frm_->cdsMoviVenda = &movi_;
    frm_->RecriaMoviVenda();  // the payment columns
    frm_->stTipoTela = "N";
    frm_->stIdTipoVenda = "B";
    frm_->stIDUTILTEF = "N";
    frm_->stIDCONSUBDESFOL = "S";
    frm_->stIDTPCONTRREPIQ = "N";
    frm_->stSGESTADOFILI = "SP";
    //            code   name              kind change  index
    AddTender("001", "DINHEIRO", "4", "001", "");
    AddTender("002", "CHEQUE", "3", "", "");
    AddTender("003", "TICKET", "7", "", "");
    AddTender("004", "DOLAR", "6", "004", "USD");
    AddTender("005", "CREDITO", "1", "", "");
    AddTender("006", "CONVENIO", "8", "", "");
    AddTender("007", "DINHEIRO TROCA VALE", "4", "008", "");
    AddTender("008", "VALE TROCO", "7", "", "");
    AddTender("009", "CREDITO PESSOAL", "9", "", "");
    frm_->cdsTroco.SetData(frm_->cdsReceb.Data());
    SetTotal(100);
  }

  void TearDown() override {
    frm_.reset();
    delete screen::rdmRecebimento;
    screen::rdmRecebimento = nullptr;
    datamodule::SetStringConexZem("");
    pos::UninstallHostServices();
  }

  void AddTender(const std::string& code, const std::string& name, const std::string& kind, const std::string& change,
                 const std::string& index) {
    base::Dataset& r = frm_->cdsReceb;
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
    frm_->doVrTotal = frm_->doVrAPagar = total;
    frm_->doVrPago = 0;
  }

  // The operator types `amount` and presses Enter when the screen waits for it.
  void WillType(const std::string& amount) {
    pump_.Push([this, amount] { frm_->PostText(amount, true, true); }, "type " + amount);
  }
  void WillPressVoltar() {
    pump_.Push([this] { frm_->CtrlBotoes("D", 1); }, "back to the grid");
  }

  void Pay(const std::string& code, const std::string& amount) {
    WillType(amount);
    frm_->DoMenuRecebimentoClick(code, "");
  }

  // Payment lines (not change), as (code, amount).
  std::vector<std::pair<std::string, double>> Lines(const std::string& movement = "E") {
    std::vector<std::pair<std::string, double>> out;
    for (movi_.First(); !movi_.Eof(); movi_.Next())
      if (movi_.FieldByName("IDTIPOMOVIVE").AsString() == movement)
        out.emplace_back(movi_.FieldByName("CDTIPORECE").AsString(), movi_.FieldByName("VRMOVIVEND").AsFloat());
    return out;
  }

  std::vector<std::string> Messages() const {
    std::vector<std::string> out;
    for (const auto& d : sim_->Record().Dialogs())
      if (d.kind == "Mensagem") out.push_back(d.text);
    return out;
  }

  screen::Control& C(const std::string& name) { return *frm_->Controls().FindComponent(name); }

  void WriteRates(const base::DateTime& day, double usd) {
    base::DataPacket p;
    p.fields = {{"CDINDICE", base::FieldType::String, 4},
                {"NMTIPORECE", base::FieldType::String, 40},
                {"VRCOTACAO", base::FieldType::Float, 0},
                {"DTCOTACAO", base::FieldType::DateTime, 0}};
    p.rows.push_back({Variant("USD"), Variant("DOLAR"), Variant(usd), Variant(day)});
    base::WritePacketFile((dir_ / "cdsMoedas.cds").string(), p);
  }

  TempDir dir_;
  base::VirtualClock clock_{base::DateTime::FromYMD(2026, 12, 6, 12, 0, 0)};
  base::ScriptedEventPump pump_{clock_};
  pos::SimulatorConfig config_;
  QueuedAnswers answers_;
  std::unique_ptr<pos::HostSimulator> sim_;
  std::unique_ptr<screen::TfrmRecebimento> frm_;
  base::Dataset movi_{"cdsMoviVenda"};
};

TEST_F(TenderSelectionTest, CashMergesIntoOneLineWhileOtherTendersKeepTheirOwn) {
  Pay("001", "30");
  Pay("001", "20");
  Pay("003", "10");
  Pay("003", "15");
  EXPECT_EQ(Lines(), (std::vector<std::pair<std::string, double>>{{"001", 50.0}, {"003", 10.0}, {"003", 15.0}}));
  EXPECT_DOUBLE_EQ(frm_->doVrPago, 75);
  EXPECT_DOUBLE_EQ(frm_->doVrAPagar, 25);
  EXPECT_EQ(C("lblValorPago").caption, "75,00");
  EXPECT_EQ(C("lblValorPagar").caption, "25,00");
  EXPECT_FALSE(C("spbOk").enabled) << "a quarter of the sale is still unpaid";
  movi_.Last();
  EXPECT_EQ(movi_.FieldByName("IDTIPORECE").AsString(), "7");
  EXPECT_EQ(movi_.FieldByName("NMTIPORECE").AsString(), "TICKET");
  EXPECT_EQ(movi_.FieldByName("CDFILIAL").AsString(), frm_->stCDFILIAL);
  EXPECT_EQ(movi_.FieldByName("QTPARCRECEB").AsInteger(), 1);
  EXPECT_EQ(movi_.FieldByName("IDTIPORESGATE").AsString(), "N");
  EXPECT_EQ(movi_.FieldByName("DTMOVIMCAIXA").AsDateTime(), base::DateTime::FromYMD(2026, 12, 6));
}

TEST_F(TenderSelectionTest, ExactPaymentUnderpaymentBelowACentAndOverpayment) {
  Pay("002", "100");
  EXPECT_DOUBLE_EQ(frm_->doVrAPagar, 0);
  EXPECT_TRUE(C("spbOk").enabled);
  EXPECT_TRUE(Lines("S").empty()) << "no change on an exact payment";

  // A discount with a fraction of a cent: 0.005 short still counts as paid, no change.
  movi_.EmptyDataSet();
  SetTotal(10);
  frm_->doVrDesconto = 0.005;
  Pay("001", "9,99");
  EXPECT_TRUE(C("spbOk").enabled);
  movi_.EmptyDataSet();
  SetTotal(10);
  Pay("001", "10");
  EXPECT_DOUBLE_EQ(frm_->doVrTroco, 0) << "half a cent over is no change";
  EXPECT_TRUE(Lines("S").empty());
  frm_->doVrDesconto = 0;

  // Over: change in the cash tender itself.
  movi_.EmptyDataSet();
  SetTotal(37.5);
  Pay("001", "50");
  EXPECT_DOUBLE_EQ(frm_->doVrAPagar, 0);
  EXPECT_DOUBLE_EQ(frm_->doVrTroco, 12.5);
  EXPECT_EQ(Lines("S"), (std::vector<std::pair<std::string, double>>{{"001", 12.5}}));
  EXPECT_EQ(C("lblPagar").caption, "Troco: ");
  EXPECT_EQ(C("lblValorPagar").caption, "12,50");
  EXPECT_EQ(frm_->tpInputStep, screen::isTroco);
  EXPECT_TRUE(C("spbOk").enabled);
  EXPECT_NE(C("memLista").lines.back().find("Troco (DINHEIRO):"), std::string::npos);
}

TEST_F(TenderSelectionTest, ChangeWithoutAChangeTender) {
  // Outside "SC" the operator is asked; yes takes the excess back from the oldest line.
  SetTotal(30);
  Pay("003", "20");
  answers_.answers = {true};
  Pay("002", "15");
  EXPECT_NE(Messages().back().find("não permite que seja emitido troco"), std::string::npos);
  EXPECT_EQ(Lines(), (std::vector<std::pair<std::string, double>>{{"003", 15.0}, {"002", 15.0}}));
  EXPECT_DOUBLE_EQ(frm_->doVrPago, 30);
  EXPECT_EQ(C("lblValorPago").caption, "30,00");
  EXPECT_TRUE(Lines("S").empty());

  // An excess larger than the oldest line removes it and reduces the next.
  movi_.EmptyDataSet();
  SetTotal(30);
  Pay("003", "5");
  Pay("002", "10");
  answers_.answers = {true};
  Pay("003", "30");
  EXPECT_EQ(Lines(), (std::vector<std::pair<std::string, double>>{{"003", 30.0}}))
      << "5,00 and then 10,00 of the 15,00 excess come off the two oldest lines";
  EXPECT_DOUBLE_EQ(frm_->doVrPago, 30);

  // No keeps the payments and blocks confirmation until they are cleared.
  movi_.EmptyDataSet();
  SetTotal(30);
  answers_.answers = {false};
  Pay("003", "40");
  EXPECT_NE(Messages().back().find("Não foram utilizados"), std::string::npos) << "one line: NoRecebTroco";
  EXPECT_FALSE(C("spbOk").enabled);
  EXPECT_TRUE(C("spbSair").enabled);
  EXPECT_TRUE(Lines("S").empty());

  // In Santa Catarina change is given without asking.
  movi_.EmptyDataSet();
  SetTotal(30);
  frm_->stSGESTADOFILI = "SC";
  const size_t asked = Messages().size();
  Pay("003", "40");
  EXPECT_EQ(Messages().size(), asked);
  EXPECT_DOUBLE_EQ(frm_->doVrTroco, 10);
  EXPECT_EQ(Lines("S").size(), 1u);
}

TEST_F(TenderSelectionTest, ChangeInAVoucherTenderIsAContraVale) {
  SetTotal(20);
  Pay("007", "25");
  EXPECT_EQ(C("lblPagar").caption, "Contra-Vale: ");
  EXPECT_EQ(Lines("S"), (std::vector<std::pair<std::string, double>>{{"008", 5.0}}));
}

TEST_F(TenderSelectionTest, RefusalsRecordNothing) {
  auto refused = [&](const std::string& code, const std::string& text) {
    const size_t before = movi_.RecordCount();
    frm_->DoMenuRecebimentoClick(code, "");
    EXPECT_TRUE(frm_->boFalhaReceb) << code;
    EXPECT_EQ(movi_.RecordCount(), before) << code;
    ASSERT_FALSE(Messages().empty());
    EXPECT_NE(Messages().back().find(text), std::string::npos) << Messages().back();
    EXPECT_EQ(frm_->tpInputStep, screen::isNone);
  };
  frm_->stTipoTela = "S";
  refused("006", "carga de crédito");
  frm_->stTipoTela = "N";
  frm_->stIDCONSUBDESFOL = "N";
  refused("009", "não permitido para esta venda");  // counter sale, consumer credit
  frm_->stIDCONSUBDESFOL = "S";
  refused("005", "não permitida");                   // card kinds come with the card terminal

  // Consumer credit comes with the consumer accounts; a line of it may already be there.
  movi_.Append();
  movi_.FieldByName("CDTIPORECE").SetAsString("009");
  movi_.FieldByName("IDTIPORECE").SetAsString("9");
  movi_.FieldByName("IDTIPOMOVIVE").SetAsString("E");
  movi_.FieldByName("VRMOVIVEND").SetAsFloat(10);
  movi_.Post();
  refused("009", "crédito pessoal");
  frm_->stIDUTILTEF = "S";
  frm_->inQtdeTef = 20;
  refused("001", "número máximo de transações TEF");
  frm_->stIDUTILTEF = "T";
  Pay("001", "5");
  EXPECT_FALSE(frm_->boFalhaReceb) << "with dedicated TEF only cards and cheques count the transactions";
  refused("002", "número máximo");
}

TEST_F(TenderSelectionTest, AgreementSaleNeedsAConsumerReleasedForIt) {
  // The search dismissed: back to the grid, nothing said.
  answers_.answers = {false};
  frm_->DoMenuRecebimentoClick("006", "");
  EXPECT_EQ(movi_.RecordCount(), 0);
  EXPECT_TRUE(frm_->boSelecionandoTipo);
  EXPECT_EQ(sim_->Record().CountOf("PesqConsumidor"), 1u);
  // A consumer the store does not release for agreement sales is refused by name.
  pos::DialogAnswer consumidor;
  consumidor.fields = {{"CDCLIENTE", Variant("000001")}, {"CDCONSUMIDOR", Variant("0009")},
                       {"NMCONSUMIDOR", Variant("Carla Dias")}};
  sim_->Dialogs().SetDefault("PesqConsumidor", consumidor);
  frm_->DoMenuRecebimentoClick("006", "");
  EXPECT_TRUE(frm_->boFalhaReceb);
  EXPECT_EQ(movi_.RecordCount(), 0);
  EXPECT_NE(Messages().back().find("Carla Dias"), std::string::npos);
}

TEST_F(TenderSelectionTest, GoingBackToTheGridEndsTheSelectionWithoutALine) {
  WillPressVoltar();
  frm_->DoMenuRecebimentoClick("001", "");
  EXPECT_EQ(movi_.RecordCount(), 0);
  EXPECT_EQ(frm_->tpInputStep, screen::isNone);
  EXPECT_DOUBLE_EQ(frm_->doVrPago, 0);
}

TEST_F(TenderSelectionTest, AdvanceMustStayBelowTheOrderTotal) {
  frm_->stTipoTela = "D";
  Pay("001", "100");
  EXPECT_EQ(movi_.RecordCount(), 0);
  EXPECT_NE(Messages().back().find("adiantamento"), std::string::npos);
  Pay("001", "40");
  EXPECT_EQ(Lines(), (std::vector<std::pair<std::string, double>>{{"001", 40.0}}));
}

TEST_F(TenderSelectionTest, ForeignCurrencyAtTheDaysRate) {
  // Yesterday's file: the host rebuilds it and the file keeps today's rates.
  WriteRates(base::DateTime::FromYMD(2026, 12, 5), 4.0);
  base::DataPacket today = base::ReadPacketFile((dir_ / "cdsMoedas.cds").string());
  today.rows[0][2] = Variant(5.25);
  today.rows[0][3] = Variant(base::DateTime::FromYMD(2026, 12, 6));
  sim_->Dialogs().SetCurrencyRates(Variant(today));
  SetTotal(200);
  WillType("20");        // dollars
  WillType("");          // the amount in reais as proposed
  frm_->DoMenuRecebimentoClick("004", "");
  EXPECT_EQ(sim_->Record().CountOf("CriaOutrasMoedas"), 1u);
  const base::DataPacket saved = base::ReadPacketFile((dir_ / "cdsMoedas.cds").string());
  EXPECT_DOUBLE_EQ(saved.rows.at(0).at(2).AsFloat(), 5.25);
  ASSERT_EQ(movi_.RecordCount(), 1);
  movi_.First();
  EXPECT_DOUBLE_EQ(movi_.FieldByName("VRMOVIVEND").AsFloat(), 105);
  EXPECT_DOUBLE_EQ(movi_.FieldByName("VRMOVIVEOUT").AsFloat(), 20);
  EXPECT_DOUBLE_EQ(movi_.FieldByName("VRCOTINDOUT").AsFloat(), 5.25);
  EXPECT_DOUBLE_EQ(frm_->doVrAPagar, 95);

  // Today's file is used as it is; change in dollars is shown in dollars.
  WillType("20");
  WillType("");
  frm_->DoMenuRecebimentoClick("004", "");
  EXPECT_EQ(sim_->Record().CountOf("CriaOutrasMoedas"), 1u);
  EXPECT_DOUBLE_EQ(frm_->doVrTroco, 10);
  movi_.Last();
  EXPECT_EQ(movi_.FieldByName("IDTIPOMOVIVE").AsString(), "S");
  EXPECT_DOUBLE_EQ(movi_.FieldByName("VRMOVIVEOUT").AsFloat(), 1.9);  // 10 / 5.25, cut
  EXPECT_NE(C("memLista").lines.back().find("1,90"), std::string::npos);
}

TEST_F(TenderSelectionTest, ForeignCurrencyWithoutARateGoesBack) {
  // No file and the host has no rates to give.
  frm_->DoMenuRecebimentoClick("004", "");
  EXPECT_TRUE(frm_->boFalhaReceb);
  EXPECT_EQ(movi_.RecordCount(), 0);
  // A damaged file is reported, not taken for rates.
  dir_.Write("cdsMoedas.cds", "not a data packet");
  frm_->DoMenuRecebimentoClick("004", "");
  EXPECT_EQ(movi_.RecordCount(), 0);
  EXPECT_FALSE(Messages().empty());
}

}  // namespace
}  // namespace recebimento::testing
