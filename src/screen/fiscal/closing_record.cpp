// The closing record the host's FechaCupom takes: 62 values in a fixed order (the map is
// in docs/fiscal-closing-record.md). The host prints them; the screen only supplies them.
#include <string>
#include <vector>

#include "base/variant.h"
#include "screen/fiscal/fiscal_receipt.h"
#include "screen/fiscal/receipt_support.h"
#include "screen/frame/screen_parts.h"

namespace recebimento::screen {

namespace {

using base::Variant;

constexpr size_t kClosingRecordSize = 62;

}  // namespace

std::vector<Variant> FiscalReceipt::ClosingRecord() const {
  const SaleState& sale = s_.sale;
  const ParametrosZem& par = s_.par;
  const ScreenParts& parts = s_.parts;
  std::vector<Variant> r(kClosingRecordSize, Variant(std::string()));

  const bool agreement = sale.HasPaymentWith("IDTIPORECE", "8");
  const std::string consumer =
      sale.stCdConsumidorCons.empty() ? sale.ItemText("CDCONSUMIDOR") : sale.stCdConsumidorCons;
  // The loyalty discount of the integration in use.
  const double loyalty_discount = par.stIDUTILFID4ALL == "S"  ? sale.doVrDescCash4All
                                  : par.stIDUTILFIDUDS == "S" ? sale.doVrDescCashUDS
                                                              : sale.doVrDescFid;

  r[0] = Variant(par.stSTTOTCV);
  r[1] = Variant(sale.stMD5Ident);
  r[2] = Variant(par.stIDESQUEMA);
  r[3] = Variant(par.inIDTIPOIMPFIS);
  r[4] = Variant(sale.doVrTroco > 0 && parts.remote_orders.ChangeGivenAsVoucher());
  r[5] = Variant(fiscal::TefFlag(s_));
  r[6] = Variant(closing_.discount);
  r[7] = Variant(sale.doVrTroco);
  r[8] = Variant(closing_.surcharge);
  r[9] = Variant(par.stIDUTILTEF);
  r[10] = Variant(par.stDSOBSCUPFIS);
  r[11] = Variant(sale.boTemPagtoTef);
  r[12] = Variant(sale.stFormaPagTef);
  r[13] = Variant(fiscal::PacketOf(sale.cdsMoviVenda));
  r[14] = Variant(fiscal::PacketOf(&sale.cdsReceb));
  r[15] = Variant(agreement ? sale.charged.agreement_client + " " + sale.charged.agreement_text : std::string());
  r[16] = Variant(closing_.NMFANTCLIE);
  r[17] = Variant(closing_.CDIDCONSUMID);
  r[18] = Variant(closing_.NMCONSUMIDOR);
  r[19] = Variant(sale.stNrDocConsCupom);
  r[20] = Variant(sale.stNmConsCupom);
  r[21] = Variant(sale.ItemText("DSCOMANDA"));
  r[22] = Variant(sale.stCdOperador);
  r[23] = Variant(sale.stNmOperador);
  r[24] = Variant(last_item_sequence_);
  r[25] = Variant(par.stIDIMPBARRCUP);
  r[26] = Variant(par.stNMPADBARRCUP);
  r[27] = Variant(par.stIDIMPSALDOCUPOM);
  r[28] = Variant(consumer);
  r[29] = Variant(sale.ItemText("NRCOOVENDAREST"));
  r[30] = Variant(sale.stTextoCupom);
  r[31] = Variant(sale.stParamCupom);
  r[32] = Variant(fiscal::PacketOf(&cdsConsultaSaldo));
  r[33] = Variant(fiscal::PacketOf(sale.cdsSaldoFamilia));
  r[34] = Variant(fiscal::PacketOf(&sale.cdsEmprestimoFam));
  r[35] = Variant(par.stIdTpTelaVe);
  r[36] = Variant(closing_.account_payment);
  r[37] = Variant(parts.consumer.Balance());
  r[38] = Variant(0.0);
  r[39] = Variant(par.stDSMENSCPFCUP);
  r[40] = Variant(par.stIDIMPRCUPTEFRED);
  r[41] = Variant(par.stECFIMP);
  r[42] = Variant(sale.stNrCupomFis);
  r[43] = Variant(par.stSGESTADOFILI);
  r[44] = Variant(par.stNRINSJURFILI);
  r[45] = Variant(par.stCDINSCESTAEMPR);
  r[46] = Variant(par.stIDPARIMPRLIMVDC);
  r[47] = Variant(closing_.VRMAXDEBCONS);
  r[48] = Variant(closing_.limits_read ? closing_.VRMESUBCONS : parts.consumer.DebitLimit());
  r[49] = Variant(fiscal::PacketOf(&cdsVrSaldConsumi));
  r[50] = Variant(closing_.taxes[1]);
  r[51] = Variant(closing_.taxes[0]);
  r[52] = Variant(parts.loyalty.DotzCampaignPoints());
  r[53] = Variant(par.stIDPARIMPRLIMVDC == "E" ? closing_.excess_balance : 0.0);
  r[54] = Variant(parts.loyalty.DotzProductPoints());
  r[55] = Variant(closing_.credit_concession);
  r[56] = Variant(sale.stObsVenda);
  r[57] = Variant(std::string());
  r[58] = Variant(closing_.taxes[2]);
  r[59] = Variant(std::string());
  r[60] = Variant(sale.boImpNomeConsumidor);
  r[61] = Variant(loyalty_discount);
  return r;
}

}  // namespace recebimento::screen
