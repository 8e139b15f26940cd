#include "datamodule/next_number.h"

#include "datamodule/catalogue_support.h"
#include "datamodule/store_connection.h"
#include "datamodule/trdm_recebimento.h"

namespace recebimento::datamodule {

namespace {

using base::Variant;

// Creates the counter at its first value or moves it on by one, in one statement, and
// returns the number it now holds.
#define RESERVE_TAIL                                        \
  " ON CONFLICT (CDCONTADOR) DO UPDATE SET NRSEQUENCIAL = " \
  "CAST(CAST(NOVOCODIGO.NRSEQUENCIAL AS BIGINT) + 1 AS VARCHAR(20)) RETURNING NRSEQUENCIAL"

// Highest numeric value of a column, for a counter's first number.
#define FIRST_AFTER(column, table, where_digits)                             \
  "INSERT INTO NOVOCODIGO (CDCONTADOR, NRSEQUENCIAL) SELECT :P_CDCONTADOR, " \
  "CAST(COALESCE(MAX(CAST(" column " AS BIGINT)), 0) + 1 AS VARCHAR(20)) FROM " table " WHERE " where_digits

#define DIGITS_SQLITE(column) column " <> '' AND " column " NOT GLOB '*[^0-9]*'"
#define DIGITS_PG(column) column " ~ '^[0-9]+$'"

#define SALE_FIRST(DIGITS)                                                                                        \
  FIRST_AFTER("NRSEQVENDA", "VENDA", "CDFILIAL = :P_CDFILIAL AND CDCAIXA = :P_CDCAIXA AND " DIGITS("NRSEQVENDA")) \
  RESERVE_TAIL
#define ORDER_FIRST(DIGITS) \
  FIRST_AFTER("NRPEDIDOZEM", "PEDIDOZEM", "CDFILIAL = :P_CDFILIAL AND " DIGITS("NRPEDIDOZEM")) RESERVE_TAIL
#define ORDER_ITEM_FIRST(DIGITS)                                                                      \
  FIRST_AFTER("NRITPEDIDOZEM", "ITPEDIDOZEM",                                                         \
              "CDFILIAL = :P_CDFILIAL AND NRPEDIDOZEM = :P_NRPEDIDOZEM AND " DIGITS("NRITPEDIDOZEM")) \
  RESERVE_TAIL

const Statement acmReservaVenda{
    "acmReservaVenda", SALE_FIRST(DIGITS_SQLITE), {{DatabaseKind::PostgreSQL, SALE_FIRST(DIGITS_PG)}}};
const Statement acmReservaPedidoZem{
    "acmReservaPedidoZem", ORDER_FIRST(DIGITS_SQLITE), {{DatabaseKind::PostgreSQL, ORDER_FIRST(DIGITS_PG)}}};
const Statement acmReservaItPedidoZem{"acmReservaItPedidoZem",
                                      ORDER_ITEM_FIRST(DIGITS_SQLITE),
                                      {{DatabaseKind::PostgreSQL, ORDER_ITEM_FIRST(DIGITS_PG)}}};
const Statement acmReservaSimples{
    "acmReservaSimples", "INSERT INTO NOVOCODIGO (CDCONTADOR, NRSEQUENCIAL) VALUES (:P_CDCONTADOR, '1')" RESERVE_TAIL};

std::string Reserve(StoreConnection& c, const Statement& statement, const Params& params) {
  if (c.Kind() != DatabaseKind::SQLite && c.Kind() != DatabaseKind::PostgreSQL) {
    throw DatabaseError(std::string("next numbers are not available on ") + DatabaseKindName(c.Kind()));
  }
  const auto packet = c.Query(statement, params);
  const std::string number = FirstValue(packet, "NRSEQUENCIAL").AsString();
  if (number.empty()) throw DatabaseError("counter " + params.front().second.AsString() + " returned no number");
  return number;
}

std::string ZeroPadded(const std::string& digits, size_t width) {
  return digits.size() >= width ? digits : std::string(width - digits.size(), '0') + digits;
}

}  // namespace

std::string SaleCounterKey(const std::string& cdfilial, const std::string& cdcaixa) {
  return "PRXVENDA|" + cdfilial + "|" + cdcaixa;
}

std::string NfceCounterKey(const std::string& cdfilial, const std::string& nrserie, const std::string& ambiente) {
  return "PRXNFCE|" + cdfilial + "|" + nrserie + "|" + ambiente;
}

std::string ExternalCounterKey(const std::string& cdfilial, const std::string& cdcaixa) {
  return "VENDACOLOMBIA" + cdfilial + cdcaixa;
}

std::string TdtmZemProxCodigo::NextSale(const std::string& cdfilial, const std::string& cdcaixa) {
  return ZeroPadded(
      Reserve(connection_, acmReservaVenda,
              {{"P_CDCONTADOR", SaleCounterKey(cdfilial, cdcaixa)}, {"P_CDFILIAL", cdfilial}, {"P_CDCAIXA", cdcaixa}}),
      10);
}

std::string TdtmZemProxCodigo::PrxVendaVista(const std::string& cdfilial, const std::string& cdcaixa) {
  return NextSale(cdfilial, cdcaixa);
}

std::string TdtmZemProxCodigo::PrxVendaConsumidor(const std::string& cdfilial, const std::string& cdcaixa) {
  return NextSale(cdfilial, cdcaixa);
}

std::string TdtmZemProxCodigo::PrxPedidoVenda(const std::string& cdfilial, const std::string& cdcaixa,
                                              const std::string& /*origem*/) {
  return NextSale(cdfilial, cdcaixa);
}

std::string TdtmZemProxCodigo::PrxNumeroNFCe(const std::string& cdfilial, const std::string& nrserie,
                                             const std::string& ambiente) {
  return Reserve(connection_, acmReservaSimples, {{"P_CDCONTADOR", NfceCounterKey(cdfilial, nrserie, ambiente)}});
}

std::string TdtmZemProxCodigo::PrxVendaColombia(const std::string& cdfilial, const std::string& cdcaixa) {
  return Reserve(connection_, acmReservaSimples, {{"P_CDCONTADOR", ExternalCounterKey(cdfilial, cdcaixa)}});
}

std::string TdtmZemProxCodigo::PrxPedidoZem(const std::string& cdfilial) {
  return ZeroPadded(Reserve(connection_, acmReservaPedidoZem,
                            {{"P_CDCONTADOR", "PRXPEDIDOZEM|" + cdfilial}, {"P_CDFILIAL", cdfilial}}),
                    10);
}

std::string TdtmZemProxCodigo::PrxItPedidoZem(const std::string& cdfilial, const std::string& nrpedidozem) {
  return ZeroPadded(Reserve(connection_, acmReservaItPedidoZem,
                            {{"P_CDCONTADOR", "PRXITPEDIDOZEM|" + cdfilial + "|" + nrpedidozem},
                             {"P_CDFILIAL", cdfilial},
                             {"P_NRPEDIDOZEM", nrpedidozem}}),
                    6);
}

// The catalogue's wrappers: one generator per call, the number or the error text.
#define NUMBER_OR_ERROR(call)                      \
  try {                                            \
    TdtmZemProxCodigo generator(adcRecebimento()); \
    return Variant(generator.call);                \
  } catch (const std::exception& e) {              \
    return Variant(ErrorText(e));                  \
  }

Variant TrdmRecebimento::getPrxVendaVista(const std::string& cdfilial,
                                          const std::string& cdcaixa){NUMBER_OR_ERROR(PrxVendaVista(cdfilial, cdcaixa))}

Variant TrdmRecebimento::getPrxVendaConsumidor(const std::string& cdfilial, const std::string& cdcaixa){
    NUMBER_OR_ERROR(PrxVendaConsumidor(cdfilial, cdcaixa))}

Variant TrdmRecebimento::getNumeroNFCe(const std::string& cdfilial, const std::string& nrserie,
                                       const std::string& ambiente){
    NUMBER_OR_ERROR(PrxNumeroNFCe(cdfilial, nrserie, ambiente))}

Variant TrdmRecebimento::PrxPedidoZem(const std::string& cdfilial){NUMBER_OR_ERROR(PrxPedidoZem(cdfilial))}

Variant TrdmRecebimento::PrxItPedidoZem(const std::string& cdfilial, const std::string& nrpedidozem) {
  NUMBER_OR_ERROR(PrxItPedidoZem(cdfilial, nrpedidozem))
}

}  // namespace recebimento::datamodule
