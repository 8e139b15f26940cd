// What consumers spent: daily and monthly spending, services, quotas and subsidies.
#include <cmath>

#include "datamodule/catalogue_support.h"
#include "datamodule/trdm_recebimento.h"

namespace recebimento::datamodule {

namespace {

using base::FieldType;
using base::Variant;

#define TODAY_RANGE(column) column " >= :P_HOJE AND " column " < :P_AMANHA"
// Amount of a sold item: quantity x unit price + surcharge - discount.
#define ITEM_AMOUNT "I.QTPRODVEND * I.VRUNITVEND + COALESCE(I.VRACRITVEND, 0) - COALESCE(I.VRDESITVEND, 0)"
#define VALID_SALES_OF_CONSUMER                                                         \
  "FROM VENDA V JOIN ITEMVENDA I ON I.CDFILIAL = V.CDFILIAL AND I.CDCAIXA = V.CDCAIXA " \
  "AND I.NRSEQVENDA = V.NRSEQVENDA "                                                    \
  "WHERE V.CDFILIAL = :P_CDFILIAL AND V.CDCLIENTE = :P_CDCLIENTE "                      \
  "AND V.CDCONSUMIDOR = :P_CDCONSUMIDOR AND V.IDSITUVENDA = 'O' "

const std::vector<std::pair<std::string, FieldType>> kValConsum = {{"VALCONSUM", FieldType::Float}};

const Statement adqGtTotCons{"adqGtTotCons",
                             "SELECT COALESCE(SUM(VRMOVCLI), 0) AS VALCONSUM FROM MOVICLIE "
                             "WHERE CDCLIENTE = :P_CDCLIENTE AND CDCONSUMIDOR = :P_CDCONSUMIDOR "
                             "AND IDTIPMOCVLI = 'D' AND " TODAY_RANGE("DTMOVIMCLIE"),
                             {},
                             kValConsum};

const Statement adqGtTotCred{"adqGtTotCred",
                             "SELECT COALESCE(SUM(VRMOVEXTCONS), 0) AS VALCONSUM FROM EXTRATOCONS "
                             "WHERE CDCLIENTE = :P_CDCLIENTE AND CDCONSUMIDOR = :P_CDCONSUMIDOR "
                             "AND IDTPMOVEXT = 'V' AND " TODAY_RANGE("DTMOVEXTCONS"),
                             {},
                             kValConsum};

const Statement adqGtServCons{"adqGtServCons",
                              "SELECT COALESCE(SUM(" ITEM_AMOUNT "), 0) AS VALCONSUM " VALID_SALES_OF_CONSUMER
                              "AND V.CDSERVFILI = :P_CDSERVFILI AND " TODAY_RANGE("V.DTVENDA"),
                              {},
                              kValConsum};

const Statement adqQtdeProdVend{"adqQtdeProdVend",
                                "SELECT COALESCE(SUM(I.QTPRODVEND), 0) AS QTPRODVEND " VALID_SALES_OF_CONSUMER
                                "AND I.CDPRODUTO = :P_CDPRODUTO AND V.CDSERVFILI = :P_CDSERVFILI "
                                "AND " TODAY_RANGE("V.DTVENDA")};

// The day's quantity of a product in every service: the quota is per day, not per service.
const Statement adqQtdeProdVendDia{"adqQtdeProdVendDia",
                                   "SELECT COALESCE(SUM(I.QTPRODVEND), 0) AS QTPRODVEND " VALID_SALES_OF_CONSUMER
                                   "AND I.CDPRODUTO = :P_CDPRODUTO AND " TODAY_RANGE("V.DTVENDA")};

const Statement adqProdRalDia{"adqProdRalDia",
                              "SELECT QTCONSDIARAL, IDBLOQDIARAL FROM PRODRALIMENT WHERE CDFILIAL = :P_CDFILIAL "
                              "AND CDCLIENTE = :P_CDCLIENTE AND CDCONSUMIDOR = :P_CDCONSUMIDOR "
                              "AND CDFAMILISALD = :P_CDFAMILISALD AND CDPRODUTO = :P_CDPRODUTO"};

const Statement adqProdFamDia{"adqProdFamDia",
                              "SELECT QTCONSDIAFAM FROM FAMSALDOPROD WHERE CDFILIAL = :P_CDFILIAL "
                              "AND CDFAMILISALD = :P_CDFAMILISALD AND CDPRODUTO = :P_CDPRODUTO"};

#define SPENT_BETWEEN(from, to)                                                                \
  "(SELECT COALESCE(SUM(" ITEM_AMOUNT                                                          \
  "), 0) FROM VENDA V JOIN ITEMVENDA I ON I.CDFILIAL = V.CDFILIAL "                            \
  "AND I.CDCAIXA = V.CDCAIXA AND I.NRSEQVENDA = V.NRSEQVENDA WHERE V.CDFILIAL = :P_CDFILIAL "  \
  "AND V.CDCLIENTE = C.CDCLIENTE AND V.CDCONSUMIDOR = C.CDCONSUMIDOR AND V.IDSITUVENDA = 'O' " \
  "AND V.DTVENDA >= " from " AND V.DTVENDA < " to ")"

const Statement adqVrSaldConsumi{
    "adqVrSaldConsumi",
    "SELECT C.VRLIMDEBCONS, C.VRMAXDEBCONS, " SPENT_BETWEEN(":P_HOJE", ":P_AMANHA") " AS VALCONSUMDIA, " SPENT_BETWEEN(
        ":P_DTINICIO", ":P_DTFIM") " AS VALCONSUMMES "
                                   "FROM CONSUMIDOR C WHERE C.CDCLIENTE = :P_CDCLIENTE AND C.CDCONSUMIDOR = :P_CDCONSUMIDOR",
    {},
    {{"VALCONSUMDIA", FieldType::Float}, {"VALCONSUMMES", FieldType::Float}}};

const Statement adqSaldoExcedente{
    "adqSaldoExcedente",
    "SELECT (SELECT COALESCE(SUM(M.VRMOVCLI), 0) FROM MOVICLIE M JOIN VENDA V ON V.CDFILIAL = M.CDFILIAL "
    "AND V.CDCAIXA = M.CDCAIXA AND V.NRSEQVENDA = M.NRSEQVENDA WHERE M.CDCLIENTE = C.CDCLIENTE "
    "AND M.CDCONSUMIDOR = C.CDCONSUMIDOR AND M.IDTIPMOCVLI = 'D' AND V.DTENTRVENDA > :P_DATA) "
    "- COALESCE(C.VRMESUBCONS, 0) AS TOTAL "
    "FROM CONSUMIDOR C WHERE C.CDCLIENTE = :P_CDCLIENTE AND C.CDCONSUMIDOR = :P_CDCONSUMIDOR",
    {},
    {{"TOTAL", FieldType::Float}}};

const Statement adqGastoConsMes{"adqGastoConsMes",
                                "SELECT COALESCE(SUM(VRMOVCLI), 0) AS VALCONSUM FROM MOVICLIE "
                                "WHERE CDCLIENTE = :P_CDCLIENTE AND CDCONSUMIDOR = :P_CDCONSUMIDOR "
                                "AND IDTIPMOCVLI = 'D' AND DTMOVIMCLIE >= :P_DTINICIO AND DTMOVIMCLIE < :P_DTFIM",
                                {},
                                kValConsum};

const Statement adqVrSubsBasicoCons{
    "adqVrSubsBasicoCons",
    "SELECT COALESCE(SUM(S.VRMOVCLI), 0) AS VRSUBSBASICODIA FROM MOVICLIE S "
    "WHERE S.CDCLIENTE = :P_CDCLIENTE AND S.CDCONSUMIDOR IS NULL AND S.IDTIPMOCVLI = 'D' "
    "AND " TODAY_RANGE("S.DTMOVIMCLIE") " AND EXISTS (SELECT 1 FROM MOVICLIE M WHERE M.CDCLIENTE = S.CDCLIENTE "
    "AND M.CDCONSUMIDOR = :P_CDCONSUMIDOR AND M.IDTIPMOCVLI = 'D' AND " TODAY_RANGE("M.DTMOVIMCLIE")
    " AND M.CDFILIAL = S.CDFILIAL AND M.CDCAIXA = S.CDCAIXA AND M.NRSEQVENDA = S.NRSEQVENDA)",
    {},
    {{"VRSUBSBASICODIA", FieldType::Float}}};

const Statement adqVendaMes{"adqVendaMes",
                            "SELECT COALESCE(SUM(I.QTPRODVEND * I.VRUNITVEND - COALESCE(I.VRDESITVEND, 0) "
                            "+ COALESCE(I.VRACRITVEND, 0)), 0) AS VRVENDAMES "
                            "FROM VENDA V JOIN ITEMVENDA I ON I.CDFILIAL = V.CDFILIAL AND I.CDCAIXA = V.CDCAIXA "
                            "AND I.NRSEQVENDA = V.NRSEQVENDA WHERE V.CDFILIAL = :P_CDFILIAL "
                            "AND V.CDCAIXA = :P_CDCAIXA AND V.IDSITUVENDA = 'O' "
                            "AND V.DTVENDA >= :P_DTINICIO AND V.DTVENDA < :P_DTFIM",
                            {},
                            {{"VRVENDAMES", FieldType::Float}}};

double Round3(double v) { return std::round(v * 1000.0) / 1000.0; }

base::DateTime NextMonth(const base::DateTime& first) {
  return first.Month() == 12 ? base::DateTime::FromYMD(first.Year() + 1, 1, 1)
                             : base::DateTime::FromYMD(first.Year(), first.Month() + 1, 1);
}

// Quantity of the product already in the sale being paid.
double QuantityInSale(const Variant& itens, const std::string& cdproduto) {
  if (!itens.IsPacket()) return 0;
  const auto& p = itens.AsPacket();
  const int prod = p.FieldIndex("CDPRODUTO");
  const int qty = p.FieldIndex("QTPRODCOMVEN");
  if (prod < 0 || qty < 0) return 0;
  double total = 0;
  for (const auto& row : p.rows) {
    if (row[prod].AsString() == cdproduto) total += row[qty].AsFloat();
  }
  return total;
}

}  // namespace

#define CLIENT_CONSUMER \
  {"P_CDCLIENTE", cdcliente}, { "P_CDCONSUMIDOR", cdconsumidor }
#define TODAY \
  {"P_HOJE", Today()}, { "P_AMANHA", Today().AddDays(1) }

void TrdmRecebimento::getQtdeProdDia(const std::string& cdfilial, const std::string& cdcliente,
                                     const std::string& cdconsumidor, const std::string& cdfamilisald,
                                     const std::string& cdproduto, double quantidade, const Variant& itens_venda,
                                     std::string& resultado) {
  try {
    const Params keys = {
        {"P_CDFILIAL", cdfilial}, CLIENT_CONSUMER, {"P_CDFAMILISALD", cdfamilisald}, {"P_CDPRODUTO", cdproduto}, TODAY};
    const int weekday = Now().DayOfWeek();
    const auto own = adcRecebimento().Query(adqProdRalDia, keys);
    bool own_today = false;
    Variant own_quota;
    if (!own.rows.empty()) {
      const std::string mask = FirstValue(own, "IDBLOQDIARAL").AsString();
      own_today = mask.empty() || static_cast<int>(mask.size()) < weekday || mask[weekday - 1] == 'S';
      own_quota = FirstValue(own, "QTCONSDIARAL");
    }
    const auto family = adcRecebimento().Query(adqProdFamDia, keys);
    const double in_sale = Round3(QuantityInSale(itens_venda, cdproduto));
    const double sold_today =
        Round3(FirstValue(adcRecebimento().Query(adqQtdeProdVendDia, keys), "QTPRODVEND").AsFloat());
    const double wanted = sold_today + Round3(quantidade) + in_sale;

    auto decide = [&](const Variant& quota, const char* refused, const char* exceeded) -> std::string {
      if (quota.IsEmptyOrNull()) return "QTDE_OK";
      const double q = Round3(quota.AsFloat());
      if (q == 0) return refused;
      return q >= Round3(wanted) ? "QTDE_OK" : exceeded;
    };
    if (own_today) {
      resultado = decide(own_quota, "PROD_NOT_CONS", "QTDE_NOT_CONS");
    } else if (!family.rows.empty()) {
      resultado = decide(FirstValue(family, "QTCONSDIAFAM"), "PROD_NOT_FAM", "QTDE_NOT_FAM");
    } else {
      resultado = "QTDE_OK";
    }
  } catch (const std::exception& e) {
    resultado = ErrorText(e);
  }
}

Variant TrdmRecebimento::getGastCons(const std::string& cdcliente, const std::string& cdconsumidor,
                                     const std::string& tipo) {
  return NumberOf(tipo == "1" ? adqGtTotCons : adqGtTotCred, {CLIENT_CONSUMER, TODAY}, "VALCONSUM");
}

Variant TrdmRecebimento::getGtDiaServ(const std::string& cdfilial, const std::string& cdcliente,
                                      const std::string& cdconsumidor, const std::string& cdservfili) {
  return NumberOf(adqGtServCons, {{"P_CDFILIAL", cdfilial}, CLIENT_CONSUMER, {"P_CDSERVFILI", cdservfili}, TODAY},
                  "VALCONSUM");
}

Variant TrdmRecebimento::getProdVenDiaServ(const std::string& cdfilial, const std::string& cdcliente,
                                           const std::string& cdconsumidor, const std::string& cdproduto,
                                           const std::string& cdservfili) {
  return NumberOf(
      adqQtdeProdVend,
      {{"P_CDFILIAL", cdfilial}, CLIENT_CONSUMER, {"P_CDPRODUTO", cdproduto}, {"P_CDSERVFILI", cdservfili}, TODAY},
      "QTPRODVEND");
}

Variant TrdmRecebimento::getVrSaldConsumi(const std::string& cdfilial, const std::string& cdcliente,
                                          const std::string& cdconsumidor, const base::DateTime& inicio_mes,
                                          const base::DateTime& data_venda) {
  return PacketOf(adqVrSaldConsumi, {{"P_CDFILIAL", cdfilial},
                                     CLIENT_CONSUMER,
                                     TODAY,
                                     {"P_DTINICIO", inicio_mes.Date()},
                                     {"P_DTFIM", data_venda.Date().AddDays(1)}});
}

Variant TrdmRecebimento::getSaldoExcedente(const std::string& /*cdfilial*/, const std::string& cdcliente,
                                           const std::string& cdconsumidor, const base::DateTime& data) {
  return NumberOf(adqSaldoExcedente, {CLIENT_CONSUMER, {"P_DATA", data}}, "TOTAL");
}

Variant TrdmRecebimento::getGastoConsMes(const std::string& cdcliente, const std::string& cdconsumidor,
                                         const base::DateTime& inicio, const base::DateTime& fim) {
  return NumberOf(adqGastoConsMes, {CLIENT_CONSUMER, {"P_DTINICIO", inicio.Date()}, {"P_DTFIM", fim.Date().AddDays(1)}},
                  "VALCONSUM");
}

Variant TrdmRecebimento::getVrSubsBasicoCons(const std::string& cdcliente, const std::string& cdconsumidor) {
  return NumberOf(adqVrSubsBasicoCons, {CLIENT_CONSUMER, TODAY}, "VRSUBSBASICODIA");
}

Variant TrdmRecebimento::getVendaMes(const std::string& cdfilial, const std::string& cdcaixa, const std::string& mes) {
  const auto month = MonthOf(mes);
  if (!month) return Variant("month not understood: \"" + mes + "\"");
  const base::DateTime current = base::DateTime::FromYMD(Today().Year(), Today().Month(), 1);
  if (*month != current) return Variant(0.0);
  return NumberOf(
      adqVendaMes,
      {{"P_CDFILIAL", cdfilial}, {"P_CDCAIXA", cdcaixa}, {"P_DTINICIO", current}, {"P_DTFIM", NextMonth(current)}},
      "VRVENDAMES");
}

}  // namespace recebimento::datamodule
