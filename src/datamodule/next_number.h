#pragma once
// TdtmZemProxCodigo: the next-number generators. Each reservation is one atomic
// statement on the named counters of NOVOCODIGO, so registers reserving at the same
// moment never get the same number, on SQLite and on PostgreSQL.
//
// Sequences and their counters (CDCONTADOR):
//   sales of a register      "PRXVENDA|<branch>|<register>"   PrxVendaVista, PrxVendaConsumidor,
//                                                             PrxPedidoVenda (one sequence: they
//                                                             all number VENDA rows); starts
//                                                             after the register's highest sale
//   NFC-e numbers            "PRXNFCE|<branch>|<series>|<environment>"
//   external sale numbers    "VENDACOLOMBIA<branch><register>" (the counter that
//                                                             getPrxVendaColombia creates)
//   kitchen orders           "PRXPEDIDOZEM|<branch>"           starts after the highest order
//   items of a kitchen order "PRXITPEDIDOZEM|<branch>|<order>" starts after the order's items
// Sale and order numbers come zero-padded to 10 digits, order items to 6; NFC-e and
// external numbers as plain digits.
#include <string>

namespace recebimento::datamodule {

class StoreConnection;

// The keys of the sequences' counters, as listed above. A number's reservation record
// names the counter it came from by the same key.
std::string SaleCounterKey(const std::string& cdfilial, const std::string& cdcaixa);
std::string NfceCounterKey(const std::string& cdfilial, const std::string& nrserie, const std::string& ambiente);
std::string ExternalCounterKey(const std::string& cdfilial, const std::string& cdcaixa);

class TdtmZemProxCodigo {
 public:
  // Works on the caller's connection; inside the caller's transaction when one is open.
  explicit TdtmZemProxCodigo(StoreConnection& connection) : connection_(connection) {}

  // Each returns the reserved number; throws DatabaseError when the database fails.
  std::string PrxVendaVista(const std::string& cdfilial, const std::string& cdcaixa);
  std::string PrxVendaConsumidor(const std::string& cdfilial, const std::string& cdcaixa);
  std::string PrxPedidoVenda(const std::string& cdfilial, const std::string& cdcaixa, const std::string& origem);
  std::string PrxNumeroNFCe(const std::string& cdfilial, const std::string& nrserie, const std::string& ambiente);
  std::string PrxVendaColombia(const std::string& cdfilial, const std::string& cdcaixa);
  std::string PrxPedidoZem(const std::string& cdfilial);
  std::string PrxItPedidoZem(const std::string& cdfilial, const std::string& nrpedidozem);

 private:
  std::string NextSale(const std::string& cdfilial, const std::string& cdcaixa);
  StoreConnection& connection_;
};

}  // namespace recebimento::datamodule
