#pragma once
// Fiscal and other services of the host (Gpe00002): NFC-e series, product tax codes,
// approximate taxes, non-fiscal printing, logs, reports, the price function.
#include <string>
#include <vector>

#include "base/dataset.h"
#include "base/variant.h"
#include "host/pos/fiscal_printer.h"

namespace recebimento::pos {

class FiscalServices {
 public:
  virtual ~FiscalServices() = default;
  virtual std::string getNumeroSerieNFCe(const std::string& branch, const std::string& cash_register) = 0;
  // Element 0 the product's CEST, element 1 its NCM.
  virtual bool getProdCodCestNcm(const std::string& product, base::Variant& oleProdCestNcm) = 0;
  // Three tax amounts into oleRetImposto.
  virtual bool CalculoIcmsDFederal(base::Dataset& items, double discount, base::Variant& oleRetImposto) = 0;
  virtual bool ImpCompVenCredNFCeSAT(const ConsumerVoucher& voucher) = 0;
  virtual bool ImprimePadrao(const std::string& port, const std::string& printer_kind, const std::string& text) = 0;
  virtual void LogImpNFiscal(const std::string& line) = 0;
  virtual void RelFiscais() = 0;
  virtual base::Variant Vd_VrMinMaxSangria(const std::string& branch, const std::string& cash_register) = 0;
  virtual bool ImprimeQRCodeAME(const std::string& printer_kind, const std::string& link) = 0;
  // Open lists answered in oleRetorno.
  virtual bool Comp_DebitoCons_Bematech_NaoFiscal(const std::vector<base::Variant>& args,
                                                  base::Variant& oleRetorno) = 0;
  virtual bool DisparaImpressaoNaoFiscal(const std::vector<base::Variant>& args, base::Variant& oleRetorno) = 0;
  // Ten values (branch, client, product, shop, consumer, time, ...); the price packet
  // (VRPRECO, VRPRECOCLIE, VRDESCONTO, VRACRESCIMO) comes back in oleRetorno.
  virtual bool ChamaFuncaoGetRetornaPreco(const std::vector<base::Variant>& args, base::Variant& oleRetorno) = 0;
};

}  // namespace recebimento::pos
