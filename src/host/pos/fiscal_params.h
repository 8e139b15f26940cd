#pragma once
// Parameter blocks of the fiscal-printer calls. Each Params_..._Gpe00000 function packs
// its plain arguments under fixed keys; the printer call answers true or false and leaves
// its results in the same block, read back with runtime::RecebeParams.
#include <string>

#include "base/data_packet.h"
#include "host/runtime/param_block.h"

namespace recebimento::pos {

// Keys the printer fills after AbreCupom: "INTTEFERRO", "INCLUICPF", "INCLUINOME",
// "INCLUIENDERECO", "CUPNR", "CONTCUPOM". The four consumer/receipt values go in as the
// caller has them and come back as the printer took them.
runtime::ParamBlock Params_AbreCupom_Gpe00000(const std::string& stIDESQUEMA, const std::string& document,
                                              const std::string& name, const std::string& address,
                                              const std::string& receipt_number, const std::string& receipt_counter,
                                              const std::string& stIDUTILTEF, bool integrated_tef);

struct SaleItemParams {
  std::string stIDESQUEMA;
  std::string stNrComanda;
  std::string kind = "D";  // discount given as an amount
  std::string code;
  std::string description;
  std::string tax_code;    // the printer's CDALIQIMPFIS
  std::string tax_kind;    // IDTPIMPOSFIS
  std::string unit;        // SGUNIDADE
  std::string cancel_key;  // empty for sold items
  std::string rate_text;
  std::string stIDUTILTEF;
  int inIntTefErro = 1;
  double quantity = 0;
  double unit_price = 0;
  double discount = 0;
  double surcharge = 0;
  bool integrated_tef = false;
};

// Keys the printer fills after VendaItem: "INTTEFERRO", "NRSEQITEM" (the item's sequence
// number on the receipt).
runtime::ParamBlock Params_VendaItem_Gpe00000(const SaleItemParams& item);

runtime::ParamBlock Params_Atu_TotGeral_Gpe00000(const std::string& stCDFILIAL, const std::string& stCDCAIXA,
                                                 const std::string& stNRSERIEIMP, const std::string& stIDESQUEMA,
                                                 const std::string& operation, bool flag, const std::string& text1,
                                                 const std::string& text2, const std::string& text3,
                                                 const std::string& text4, double amount1, double amount2);

struct SalePrintParams {
  std::string stIDESQUEMA;
  std::string card_kind;  // "1" credit line, "2" debit line, "0" none
  std::string stIDIMPSALDOCUPOM;
  base::DataPacket items;
  base::DataPacket payments;
  base::DataPacket tenders;
  base::DataPacket tax_rates;
  base::DataPacket consumer_balance;
  base::DataPacket family_balances;
  base::DataPacket family_loans;
};

// ImpressaoVenda leaves "RETORNO": "Erro" on failure, else the receipt number.
runtime::ParamBlock Params_ImpressaoVenda_Gpe00000(const SalePrintParams& sale);

}  // namespace recebimento::pos
