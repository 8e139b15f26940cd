// Kitchen-display orders of a sale: one order per sale, named by its receipt number, with
// the items the register's shop and sector prepare. Sending a sale again adds only what
// the order does not hold yet.
#include <cstdint>
#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "base/text.h"
#include "datamodule/catalogue_support.h"
#include "datamodule/next_number.h"
#include "datamodule/trdm_recebimento.h"

namespace recebimento::datamodule {

namespace {

using base::DataPacket;
using base::FieldType;
using base::Variant;

// The register's highest receipt number; numbers of one register share a width, so the
// longest and then highest text is the highest number.
const Statement adqNrPedSat{"adqNrPedSat",
                            "SELECT NRNOTAFISCALCE FROM VENDA WHERE CDFILIAL = :P_CDFILIAL AND CDCAIXA = :P_CDCAIXA "
                            "AND NRNOTAFISCALCE IS NOT NULL AND NRNOTAFISCALCE <> '' "
                            "ORDER BY LENGTH(NRNOTAFISCALCE) DESC, NRNOTAFISCALCE DESC LIMIT 1"};
const Statement adqQtPedidoZem{"adqQtPedidoZem",
                               "SELECT QTMAXPEDZEM FROM LOJA WHERE CDFILIAL = :P_CDFILIAL AND CDLOJA = :P_CDLOJA"};
const Statement adqBuscaDataAtual{"adqBuscaDataAtual",
                                  "SELECT CURRENT_TIMESTAMP AS DTATUAL",
                                  {{DatabaseKind::SQLite, "SELECT datetime('now', 'localtime') AS DTATUAL"},
                                   {DatabaseKind::PostgreSQL, "SELECT LOCALTIMESTAMP AS DTATUAL"}},
                                  {{"DTATUAL", FieldType::DateTime}}};
const Statement adqBuscaSetor{
    "adqBuscaSetor", "SELECT CDSETOR, CDLOJA FROM CAIXA WHERE CDFILIAL = :P_CDFILIAL AND CDCAIXA = :P_CDCAIXA"};
const Statement adqProdLoja{
    "adqProdLoja",
    "SELECT CDPRODUTO FROM PRODLOJA WHERE CDFILIAL = :P_CDFILIAL AND CDLOJA = :P_CDLOJA "
    "AND CDPRODUTO = :P_CDPRODUTO AND (CDSETOR = :P_CDSETOR OR CDSETOR IS NULL OR CDSETOR = '')"};
const Statement adqPedidoZem{"adqPedidoZem",
                             "SELECT NRPEDIDOZEM FROM PEDIDOZEM WHERE CDFILIAL = :P_CDFILIAL "
                             "AND DSPEDIDOZEM = :P_DSPEDIDOZEM"};
const Statement adqItPedidoZem{"adqItPedidoZem",
                               "SELECT COUNT(*) AS N FROM ITPEDIDOZEM I JOIN PEDIDOZEM P ON P.CDFILIAL = I.CDFILIAL "
                               "AND P.NRPEDIDOZEM = I.NRPEDIDOZEM WHERE P.CDFILIAL = :P_CDFILIAL "
                               "AND P.DSPEDIDOZEM = :P_DSPEDIDOZEM AND I.CDPRODUTO = :P_CDPRODUTO",
                               {},
                               {{"N", FieldType::Integer}}};
const Statement acmInserePedido{
    "acmInserePedido",
    "INSERT INTO PEDIDOZEM (CDFILIAL, NRPEDIDOZEM, DSPEDIDOZEM, IDSTATUSPED, IDTIPOPEDIDO, "
    "CDCAIXA, CDLOJA, CDSETOR, NRSEQVENDA, NRNOTAFISCALCE, QTMAXPEDZEM, DTPEDIDOZEM) VALUES "
    "(:CDFILIAL, :NRPEDIDOZEM, :DSPEDIDOZEM, 'VENDA', 'VENDA', :CDCAIXA, :CDLOJA, :CDSETOR, "
    ":NRSEQVENDA, :NRNOTAFISCALCE, :QTMAXPEDZEM, :DTPEDIDOZEM)"};
const Statement acmInsereItemPedido{"acmInsereItemPedido",
                                    "INSERT INTO ITPEDIDOZEM (CDFILIAL, NRPEDIDOZEM, NRITPEDIDOZEM, CDPRODUTO, "
                                    "QTPRODPEZEM, TXPRODPED) VALUES (:CDFILIAL, :NRPEDIDOZEM, :NRITPEDIDOZEM, "
                                    ":CDPRODUTO, :QTPRODPEZEM, :TXPRODPED)"};

std::string Text(const DataPacket& p, const std::vector<Variant>& row, const char* column) {
  const int i = p.FieldIndex(column);
  return i < 0 ? std::string() : base::Trim(row[static_cast<size_t>(i)].AsString());
}

// The number after the highest one, as many digits wide.
std::string Following(const std::string& number) {
  std::string n = number.empty() ? "0" : number;
  for (size_t i = n.size(); i-- > 0;) {
    if (n[i] < '9') {
      ++n[i];
      return n;
    }
    n[i] = '0';
  }
  return "1" + n;
}

// Items of the product already in the order with that description.
int64_t ItemsOfProduct(StoreConnection& c, const std::string& cdfilial, const std::string& dspedidozem,
                       const std::string& cdproduto) {
  return FirstValue(c.Query(adqItPedidoZem,
                            {{"P_CDFILIAL", cdfilial}, {"P_DSPEDIDOZEM", dspedidozem}, {"P_CDPRODUTO", cdproduto}}),
                    "N")
      .AsInteger();
}

}  // namespace

bool TrdmRecebimento::verifPedido(const std::string& cdfilial, const std::string& dspedidozem) {
  try {
    return adcRecebimento()
        .Query(adqPedidoZem, {{"P_CDFILIAL", cdfilial}, {"P_DSPEDIDOZEM", dspedidozem}})
        .rows.empty();
  } catch (const std::exception& e) {
    ErrorText(e);
    return false;
  }
}

bool TrdmRecebimento::verifItPedido(const std::string& cdfilial, const std::string& dspedidozem,
                                    const std::string& cdproduto, int ocorrencia) {
  try {
    return ItemsOfProduct(adcRecebimento(), cdfilial, dspedidozem, cdproduto) < ocorrencia;
  } catch (const std::exception& e) {
    ErrorText(e);
    return false;
  }
}

std::string TrdmRecebimento::setPedidoKDS(Variant& venda, const std::string& idenviapedkds, bool sat) {
  if (idenviapedkds != "S" || !venda.IsPacket()) return "";
  DataPacket sale = venda.AsPacket();
  try {
    StoreConnection& c = adcRecebimento();
    InOwnTransaction(c, [&] {
      TdtmZemProxCodigo generator(c);
      // Per sale of the packet: its order, and how many of each product it was given.
      std::map<std::tuple<std::string, std::string, std::string>, std::string> receipts;
      std::map<std::string, std::map<std::string, int>> occurrences;
      const int receipt_column = sale.FieldIndex("NRNOTAFISCALCE");
      for (auto& row : sale.rows) {
        const std::string branch = Text(sale, row, "CDFILIAL"), cash_register = Text(sale, row, "CDCAIXA");
        const std::string sale_number = Text(sale, row, "NRSEQVENDA");
        const auto key = std::make_tuple(branch, cash_register, sale_number);
        std::string receipt = Text(sale, row, "NRNOTAFISCALCE");
        if (auto known = receipts.find(key); receipt.empty() && known != receipts.end()) receipt = known->second;
        if (receipt.empty() && sat) {
          const Variant last = FirstValue(c.Query(adqNrPedSat, {{"P_CDFILIAL", branch}, {"P_CDCAIXA", cash_register}}),
                                          "NRNOTAFISCALCE");
          receipt = Following(last.IsEmptyOrNull() ? std::string() : base::Trim(last.AsString()));
        }
        if (receipt_column >= 0) row[static_cast<size_t>(receipt_column)] = Variant(receipt);
        receipts[key] = receipt;
        const std::string description = receipt.empty() ? sale_number : receipt;
        if (description.empty()) continue;

        const DataPacket place = c.Query(adqBuscaSetor, {{"P_CDFILIAL", branch}, {"P_CDCAIXA", cash_register}});
        const std::string sector = FirstValue(place, "CDSETOR").AsString();
        std::string shop = Text(sale, row, "CDLOJA");
        if (shop.empty()) shop = FirstValue(place, "CDLOJA").AsString();

        std::string order;
        const DataPacket existing = c.Query(adqPedidoZem, {{"P_CDFILIAL", branch}, {"P_DSPEDIDOZEM", description}});
        if (existing.rows.empty()) {
          order = generator.PrxPedidoZem(branch);
          const Variant most =
              FirstValue(c.Query(adqQtPedidoZem, {{"P_CDFILIAL", branch}, {"P_CDLOJA", shop}}), "QTMAXPEDZEM");
          const Variant now = FirstValue(c.Query(adqBuscaDataAtual), "DTATUAL");
          c.Execute(acmInserePedido, {{"CDFILIAL", branch},
                                      {"NRPEDIDOZEM", order},
                                      {"DSPEDIDOZEM", description},
                                      {"CDCAIXA", cash_register},
                                      {"CDLOJA", shop},
                                      {"CDSETOR", sector},
                                      {"NRSEQVENDA", sale_number},
                                      {"NRNOTAFISCALCE", receipt},
                                      {"QTMAXPEDZEM", most},
                                      {"DTPEDIDOZEM", now}});
        } else {
          order = FirstValue(existing, "NRPEDIDOZEM").AsString();
        }

        const std::string product = Text(sale, row, "CDPRODUTO");
        if (product.empty()) continue;
        const bool prepared_here =
            !c.Query(adqProdLoja,
                     {{"P_CDFILIAL", branch}, {"P_CDLOJA", shop}, {"P_CDPRODUTO", product}, {"P_CDSETOR", sector}})
                 .rows.empty();
        if (!prepared_here) continue;
        const int occurrence = ++occurrences[description][product];
        if (ItemsOfProduct(c, branch, description, product) >= occurrence) continue;
        const int quantity = sale.FieldIndex("QTPRODCOMVEN");
        c.Execute(acmInsereItemPedido,
                  {{"CDFILIAL", branch},
                   {"NRPEDIDOZEM", order},
                   {"NRITPEDIDOZEM", generator.PrxItPedidoZem(branch, order)},
                   {"CDPRODUTO", product},
                   {"QTPRODPEZEM", quantity < 0 ? Variant(1.0) : Variant(row[static_cast<size_t>(quantity)].AsFloat())},
                   {"TXPRODPED", Text(sale, row, "TXPRODCOMVEN")}});
      }
    });
  } catch (const std::exception& e) {
    return ErrorText(e);
  }
  venda = Variant(sale);
  return "";
}

}  // namespace recebimento::datamodule
