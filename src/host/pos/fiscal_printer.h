#pragma once
// The host's fiscal printer (package Gpe00001). Three calling styles: parameter blocks
// (AbreCupom, VendaItem, Atu_TotGeral, ImpressaoVenda), open argument lists answered in
// oleRetorno (Cancela_Cupom_Imp, ChamaFuncaoMFe) and plain arguments (the rest).
#include <string>
#include <vector>

#include "base/data_packet.h"
#include "base/datetime.h"
#include "base/variant.h"
#include "host/runtime/param_block.h"

namespace recebimento::pos {

// What a consumer-account voucher carries (consumer debit or personal credit).
struct ConsumerVoucher {
  std::string stIDESQUEMA;
  double VRMOVIVEND = 0;
  std::string DSIMPFISCAL;
  std::string CDCONSUMIDOR;
  std::string NMCONSUMIDOR;
  std::string CDCLIENTE;
  std::string NMFANTCLIE;
  double saldo = 0;  // balance shown for the consumer
};

struct ExchangeCoupon {
  int inIDTIPOIMPFIS = 0;
  std::string stIDESQUEMA;
  base::DataPacket items;
  std::string stCDFILIAL;
  std::string stCDCAIXA;
  std::string consumer_name;
  std::string consumer_document;
  std::string stIdTipoVenda;
  double days = 0;  // NRDIASCUPTROCA
};

// Card receipts of the integrated TEF printed after the fiscal receipt.
struct CardReceiptsRequest {
  int inQtdeTef = 0;
  int inIDTIPOIMPFIS = 0;
  std::string stNrCupomFis;
  std::string stIDESQUEMA;
  std::string stCDFILIAL;
  std::string stCDCAIXA;
  std::string IDIMPRCUPTEFRED;
  std::string fiscal_flag;  // "F" with a fiscal printer, else "N"
  std::string stIDTIPOIMPNF3;
  std::string stCDPORTIMPNF3;
  double vr_tef = 0;
};

// Cancellation of the card transactions left pending.
struct PendingTefRequest {
  std::string stCDFILIAL;
  std::string stCDCAIXA;
  std::string stIDESQUEMA;
  std::string flag = "N";
  int inQtdeTef = 0;
  int inIDTIPOIMPFIS = 0;
  std::string fiscal_flag;  // "F" or "N"
  std::string stIDTIPOIMPNF3;
  std::string stCDPORTIMPNF3;
};

class FiscalPrinter {
 public:
  virtual ~FiscalPrinter() = default;

  // Parameter-block calls (see fiscal_params.h for the keys each one fills).
  virtual bool AbreCupom(runtime::ParamBlock& block) = 0;
  virtual bool VendaItem(runtime::ParamBlock& block) = 0;
  virtual bool Atu_TotGeral(runtime::ParamBlock& block) = 0;
  virtual bool ImpressaoVenda(runtime::ParamBlock& block) = 0;

  virtual bool Cancela_UltimoItem(const std::string& stIDESQUEMA) = 0;
  // The closing: the dedicated TEF's first receipt copy and the 62-value closing record.
  // Answers element 0 (the TEF error state) and element 2 (the printer's return text) in
  // oleRetorno.
  virtual bool FechaCupom(const std::vector<std::string>& stlPriVia, const std::vector<base::Variant>& closing,
                          base::Variant& oleRetorno) = 0;
  // Open list: scheme, three flags, branch, cash register, printer serial number.
  virtual bool Cancela_Cupom_Imp(const std::vector<base::Variant>& args, base::Variant& oleRetorno) = 0;
  virtual bool CancelaPendencia(const PendingTefRequest& request) = 0;
  virtual bool Nr_Cupom(const std::string& port, const std::string& stIDESQUEMA, std::string& number) = 0;
  virtual base::DateTime DataMoviFiscal(const std::string& stIDESQUEMA) = 0;
  virtual bool ImprCupons(const CardReceiptsRequest& request) = 0;
  virtual bool Imp_CompVenCred(const ConsumerVoucher& voucher) = 0;
  virtual bool Comp_DebitoCons(const ConsumerVoucher& voucher) = 0;
  virtual bool Cupom_Troca_Gpe00000(const ExchangeCoupon& coupon) = 0;
  // Open list: the MF-e function name, then its values; the answer in oleRetorno.
  virtual bool ChamaFuncaoMFe(const std::vector<base::Variant>& args, base::Variant& oleRetorno) = 0;
  virtual void ImpFisDebug(const std::string& line) = 0;
  // Moves the card terminal's answer files where the pending-transaction check sees them.
  virtual bool CheckIntPosFiles(const std::string& stIDESQUEMA, bool after_closing) = 0;
};

}  // namespace recebimento::pos
