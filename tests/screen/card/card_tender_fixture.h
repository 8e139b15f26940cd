#pragma once
// Card tenders over tender selection: a tender table with the card columns (credit and
// debit cards of two brands, a voucher debit, a wallet, a cheque, cash), a counter sale of
// 100,00, the card terminal's outcomes scripted on the simulated host.
#include <string>
#include <vector>

#include "screen/support/tender_selection_fixture.h"

namespace recebimento::testing {

class CardTenderTest : public TenderSelectionTest {
 protected:
  void SetUp() override {
    TenderSelectionTest::SetUp();
    par().stIDUTILTEF = "S";
    par().stIDSOLICITANSU = "N";
    par().stIDUTILCHEQ = "S";
    par().stIDESQUEMA = "1";
    base::DataPacket p;
    for (const char* f :
         {"CDTIPORECE", "NMTIPORECE", "IDTIPORECE", "CDTIPOTROCO", "NRORDTROCO", "DSIMPFISCAL", "CDFPIMPFIS",
          "IDDESABTEF", "IDSOLNSUCREDDEB", "IDUTILVOUCHER", "CDBANCARTCR", "IDSOLIQTPARC"})
      p.fields.push_back({f, base::FieldType::String, 40});
    //   code   name               kind change fiscal text   code disabled nsu voucher brand
    Add(p, "001", "DINHEIRO", "4", "001", "Dinheiro", "01", "", "", "", "");
    Add(p, "010", "CREDITO", "1", "", "Cartao Credito", "03", "N", "", "", "");
    Add(p, "011", "VISA CREDITO", "1", "", "Visa Credito", "03", "N", "", "", "01");
    Add(p, "012", "MASTER CREDITO", "1", "", "Master Credito", "03", "N", "", "", "02");
    Add(p, "013", "MASTER CREDITO 2", "1", "", "Master Credito", "03", "N", "", "", "02");
    Add(p, "020", "DEBITO", "2", "", "Cartao Debito", "04", "N", "", "N", "");
    Add(p, "021", "VISA ELECTRON", "F", "", "Visa Debito", "04", "N", "", "N", "01");
    Add(p, "022", "VALE REFEICAO", "G", "", "Vale", "04", "N", "", "S", "");
    Add(p, "030", "CARTEIRA", "H", "", "Carteira", "05", "N", "", "", "");
    Add(p, "031", "PIX CARTEIRA", "H", "", "PIX", "05", "N", "", "", "");
    Add(p, "040", "CREDITO MANUAL", "1", "", "Credito Manual", "03", "S", "S", "", "");
    Add(p, "050", "CHEQUE", "3", "", "Cheque", "02", "N", "", "", "");
    sale().cdsReceb.SetData(base::Variant(p));
    sale().cdsTroco.SetData(base::Variant(p));
  }

  static void Add(base::DataPacket& p, const std::string& code, const std::string& name, const std::string& kind,
                  const std::string& change, const std::string& fiscal, const std::string& fiscal_code,
                  const std::string& disabled, const std::string& nsu, const std::string& voucher,
                  const std::string& brand) {
    using base::Variant;
    p.rows.push_back({Variant(code), Variant(name), Variant(kind), Variant(change), Variant(change.empty() ? "" : "1"),
                      Variant(fiscal), Variant(fiscal_code), Variant(disabled), Variant(nsu), Variant(voucher),
                      Variant(brand), Variant("N")});
  }

  // The terminal answers the next transactions with these outcomes.
  void Terminal(const std::vector<pos::TefOutcome>& outcomes) {
    config_.tef.outcomes.assign(outcomes.begin(), outcomes.end());
    BuildParts(&answers_);
    BindButtons();
  }
  static pos::TefOutcome Approved(const std::string& host_nsu = "", const std::string& brand = "",
                                  double discount = 0) {
    pos::TefOutcome o;
    o.host_nsu = host_nsu;
    o.brand_code = brand;
    o.discount = discount;
    return o;
  }
  static pos::TefOutcome Declined(int code) {
    pos::TefOutcome o;
    o.approved = false;
    o.result_code = code;
    return o;
  }

  // A column of the last payment line.
  std::string LastLine(const std::string& column) {
    movi_.Last();
    return movi_.FieldByName(column).AsString();
  }
  std::vector<pos::HostCall> Calls(const std::string& name) const { return sim_->Record().CallsOf(name); }
};

}  // namespace recebimento::testing
