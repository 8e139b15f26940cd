#pragma once
// A fiscal printer that behaves like one: it opens a receipt with a number and a counter,
// registers items with sequence numbers, cancels the last item, closes with the payments,
// keeps the grand total and the business date, cancels a receipt, and writes everything
// it prints to an electronic journal file.
#include <set>
#include <string>
#include <vector>

#include "base/clock.h"
#include "host/pos/failure_script.h"
#include "host/pos/fiscal_printer.h"
#include "host/pos/host_record.h"
#include "host/pos/tef_exchange_folder.h"

namespace recebimento::pos {

// The operations of the printer (its drawer's among them) a scripted failure may hit.
const std::set<std::string>& PrinterOperationsThatFail();

struct FiscalPrinterConfig {
  std::string journal_path;  // electronic journal; empty: none
  int next_receipt = 1;      // receipt number (CUPNR) of the next opening
  int next_counter = 1;      // operation counter (CONTCUPOM)
  std::string serial = "SIM00000001";
  std::string business_date;        // "2026-12-06"; empty: the clock's day
  bool receipt_open = false;        // a counter sale arrives with its receipt opened by the host
  std::vector<std::string> header;  // lines the printer prints atop every receipt (the store's name, ...)
};

class SimulatedFiscalPrinter : public FiscalPrinter {
 public:
  SimulatedFiscalPrinter(FiscalPrinterConfig config, HostRecord& record, const base::Clock& clock,
                         TefExchangeFolder& tef_files);

  FailureScript& Failures() { return failures_; }

  bool AbreCupom(runtime::ParamBlock& block) override;
  bool VendaItem(runtime::ParamBlock& block) override;
  bool Atu_TotGeral(runtime::ParamBlock& block) override;
  bool ImpressaoVenda(runtime::ParamBlock& block) override;
  bool Cancela_UltimoItem(const std::string& stIDESQUEMA) override;
  bool FechaCupom(const std::vector<std::string>& stlPriVia, const std::vector<base::Variant>& closing,
                  base::Variant& oleRetorno) override;
  bool Cancela_Cupom_Imp(const std::vector<base::Variant>& args, base::Variant& oleRetorno) override;
  bool CancelaPendencia(const PendingTefRequest& request) override;
  bool Nr_Cupom(const std::string& port, const std::string& stIDESQUEMA, std::string& number) override;
  base::DateTime DataMoviFiscal(const std::string& stIDESQUEMA) override;
  bool ImprCupons(const CardReceiptsRequest& request) override;
  bool Imp_CompVenCred(const ConsumerVoucher& voucher) override;
  bool Comp_DebitoCons(const ConsumerVoucher& voucher) override;
  bool Cupom_Troca_Gpe00000(const ExchangeCoupon& coupon) override;
  bool ChamaFuncaoMFe(const std::vector<base::Variant>& args, base::Variant& oleRetorno) override;
  void ImpFisDebug(const std::string& line) override;
  bool CheckIntPosFiles(const std::string& stIDESQUEMA, bool after_closing) override;

  // Device state, for tests and the scripted run.
  bool ReceiptOpen() const { return open_; }
  double GrandTotal() const { return grand_total_; }
  double CancelledTotal() const { return cancelled_total_; }
  std::string LastReceiptNumber() const { return last_receipt_; }
  int ItemCount() const { return static_cast<int>(items_.size()); }
  const std::vector<std::string>& DebugLines() const { return debug_lines_; }

 private:
  struct Item {
    int seq;
    std::string code;
    std::string description;
    double quantity;
    double unit_price;
    double discount;
    double surcharge;
    bool cancelled;
    double Total() const;
  };
  void Line(const std::string& text);
  void Header();
  bool Refuse(const std::string& operation, const std::string& why = "");
  double ItemsTotal() const;

  FiscalPrinterConfig config_;
  HostRecord& record_;
  const base::Clock& clock_;
  TefExchangeFolder& tef_files_;
  FailureScript failures_;
  bool open_ = false;
  bool opened_before_ = false;     // the receipt open now was opened before this run
  bool consumer_printed_ = false;  // the opening printed the consumer's document
  std::string receipt_;
  std::string counter_;
  std::vector<Item> items_;
  std::string last_receipt_;
  double last_total_ = 0;
  bool last_cancelled_ = true;  // nothing to cancel until a receipt is closed
  double grand_total_ = 0;
  double cancelled_total_ = 0;
  std::vector<std::string> debug_lines_;
  int mfe_requests_ = 0;
};

}  // namespace recebimento::pos
