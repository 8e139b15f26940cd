#include "host/pos/fiscal_params.h"

namespace recebimento::pos {

using base::Variant;

runtime::ParamBlock Params_AbreCupom_Gpe00000(const std::string& stIDESQUEMA, const std::string& document,
                                              const std::string& name, const std::string& address,
                                              const std::string& receipt_number, const std::string& receipt_counter,
                                              const std::string& stIDUTILTEF, bool integrated_tef) {
  runtime::ParamBlock b;
  b.Set("IDESQUEMA", stIDESQUEMA);
  b.Set("INCLUICPF", document);
  b.Set("INCLUINOME", name);
  b.Set("INCLUIENDERECO", address);
  b.Set("CUPNR", receipt_number);
  b.Set("CONTCUPOM", receipt_counter);
  // Six reserved slots the host's opening takes empty.
  for (int i = 1; i <= 6; ++i) b.Set("RESERVADO" + std::to_string(i), std::string());
  b.Set("IDUTILTEF", stIDUTILTEF);
  b.Set("TEFINTEGRADO", integrated_tef);
  return b;
}

runtime::ParamBlock Params_VendaItem_Gpe00000(const SaleItemParams& item) {
  runtime::ParamBlock b;
  b.Set("IDESQUEMA", item.stIDESQUEMA);
  b.Set("NRCOMANDA", item.stNrComanda);
  b.Set("TIPODESCONTO", item.kind);
  b.Set("CDPRODUTO", item.code);
  b.Set("DSPRODUTO", item.description);
  b.Set("CDALIQIMPFIS", item.tax_code);
  b.Set("IDTPIMPOSFIS", item.tax_kind);
  b.Set("SGUNIDADE", item.unit);
  b.Set("CHAVECANCEL", item.cancel_key);
  b.Set("VRALIQIMPFIS", item.rate_text);
  b.Set("IDUTILTEF", item.stIDUTILTEF);
  b.Set("INTTEFERRO", item.inIntTefErro);
  b.Set("QTPRODUTO", item.quantity);
  b.Set("VRUNITARIO", item.unit_price);
  b.Set("VRDESCONTO", item.discount);
  b.Set("VRACRESCIMO", item.surcharge);
  b.Set("TEFINTEGRADO", item.integrated_tef);
  return b;
}

runtime::ParamBlock Params_Atu_TotGeral_Gpe00000(const std::string& stCDFILIAL, const std::string& stCDCAIXA,
                                                 const std::string& stNRSERIEIMP, const std::string& stIDESQUEMA,
                                                 const std::string& operation, bool flag, const std::string& text1,
                                                 const std::string& text2, const std::string& text3,
                                                 const std::string& text4, double amount1, double amount2) {
  runtime::ParamBlock b;
  b.Set("CDFILIAL", stCDFILIAL);
  b.Set("CDCAIXA", stCDCAIXA);
  b.Set("NRSERIEIMP", stNRSERIEIMP);
  b.Set("IDESQUEMA", stIDESQUEMA);
  b.Set("IDOPERACAO", operation);
  b.Set("FLAG", flag);
  b.Set("TEXTO1", text1);
  b.Set("TEXTO2", text2);
  b.Set("TEXTO3", text3);
  b.Set("TEXTO4", text4);
  b.Set("VALOR1", amount1);
  b.Set("VALOR2", amount2);
  return b;
}

runtime::ParamBlock Params_ImpressaoVenda_Gpe00000(const SalePrintParams& sale) {
  runtime::ParamBlock b;
  b.Set("IDESQUEMA", sale.stIDESQUEMA);
  b.Set("TIPOCARTAO", sale.card_kind);
  b.Set("IDIMPSALDOCUPOM", sale.stIDIMPSALDOCUPOM);
  b.Set("ITENS", Variant(sale.items));
  b.Set("MOVIMENTOS", Variant(sale.payments));
  b.Set("RECEBIMENTOS", Variant(sale.tenders));
  b.Set("ALIQUOTAS", Variant(sale.tax_rates));
  b.Set("SALDOCONS", Variant(sale.consumer_balance));
  b.Set("SALDOFAMILIA", Variant(sale.family_balances));
  b.Set("EMPRESTIMOFAM", Variant(sale.family_loans));
  return b;
}

}  // namespace recebimento::pos
