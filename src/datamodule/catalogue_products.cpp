// Products, promotions, coupons and loyalty campaigns.
#include "datamodule/catalogue_support.h"
#include "datamodule/trdm_recebimento.h"

namespace recebimento::datamodule {

namespace {

using base::FieldType;
using base::Variant;

// Every column an item line of the fee needs: the receipt prints the product's own code
// (its code in the store when it has none) and its unit ("UN" when it has none).
#define PROD_TAXA                                                                                             \
  "SELECT P.CDPRODUTO, P.NMPRODUTO, P.CDIMPOSTO, A.VRPEALIMPFIS, A.IDTPIMPOSFIS, P.CDCSTICMS, P.CDCFOPPFIS, " \
  "P.CDCEST, P.CDCLASFISC, P.CDCSTPISCOF, P.VRALIQPIS, P.VRALIQCOFINS, "                                      \
  "COALESCE(NULLIF(P.CDARVPROD, ''), P.CDPRODUTO) AS CDARVPROD, "                                             \
  "COALESCE(NULLIF(P.SGUNIDADE, ''), 'UN') AS SGUNIDADE FROM PRODUTO P "                                      \
  "LEFT JOIN ALIQIMPFIS A ON A.CDFILIAL = :P_CDFILIAL AND A.CDIMPOSTO = P.CDIMPOSTO WHERE P.CDPRODUTO = :P_CDPRODUTO"
#define PROD_TAXA_TYPES                                                  \
  {                                                                      \
    {"CDARVPROD", FieldType::String}, { "SGUNIDADE", FieldType::String } \
  }

const Statement adqProdTaxaServ{"adqProdTaxaServ", PROD_TAXA, {}, PROD_TAXA_TYPES};
const Statement adqProdTaxaEntr{"adqProdTaxaEntr", PROD_TAXA, {}, PROD_TAXA_TYPES};

// The branch's own row first, then the one that serves every branch.
const Statement adqSubGrProd{"adqSubGrProd",
                             "SELECT CDGRUPPROD, CDSUBGRPROD FROM PRSUBGRPROD WHERE CDPRODUTO = :P_CDPRODUTO "
                             "ORDER BY CASE WHEN CDFILIAL IS NULL THEN 1 ELSE 0 END, CDFILIAL"};

const Statement adqDescQtdeSub{
    "adqDescQtdeSub",
    "SELECT QTINICIALFX, QTFINALFX, QTPERCDESC FROM DESCQTDESUB "
    "WHERE CDGRUPPROD = :P_CDGRUPPROD AND CDSUBGRPROD = :P_CDSUBGRPROD ORDER BY QTINICIALFX"};

const Statement adqProdSubsidiado{"adqProdSubsidiado",
                                  "SELECT CDFILIAL, CDPRODUTO, VRPESUBSIDIO FROM PRODSUBSIFILI "
                                  "WHERE CDFILIAL = :P_CDFILIAL ORDER BY CDPRODUTO"};

const Statement adqProdBeneficio{"adqProdBeneficio",
                                 "SELECT COUNT(*) AS QTBENEFICIO FROM PRODBENECAMP WHERE CDPRODUTO = :P_CDPRODUTO",
                                 {},
                                 {{"QTBENEFICIO", FieldType::Integer}}};

const Statement adqDescPromoFil{"adqDescPromoFil",
                                "SELECT IDPERCVALOR, VRDESCONTO, IDAPLICADESCONTO FROM DESGRUPROMPRFIL "
                                "WHERE CDFILIAL = :P_CDFILIAL AND CDPRODUTO = :P_CDPRODUTO "
                                "AND CDPRODPROMOCAO = :P_CDPRODPROMOCAO"};

const Statement adqDescPromoPr{"adqDescPromoPr",
                               "SELECT IDPERCVALOR, VRDESCONTO, IDAPLICADESCONTO FROM DESGRUPROMOCPR "
                               "WHERE CDPRODUTO = :P_CDPRODUTO AND CDPRODPROMOCAO = :P_CDPRODPROMOCAO"};

const Statement adqCuponsValidos{
    "adqCuponsValidos",
    "SELECT C.CDCUPOMDESCZEM, C.DSCUPOMDESC, C.IDTIPODESC, C.VRDESCCUPOM, C.IDUSOUNICO FROM CUPOMDESCZEM C "
    "WHERE NOT EXISTS (SELECT 1 FROM PRODCUPOMDESC P WHERE P.CDCUPOMDESCZEM = C.CDCUPOMDESCZEM) "
    "AND (EXISTS (SELECT 1 FROM FILIALCUPOMDESC F WHERE F.CDCUPOMDESCZEM = C.CDCUPOMDESCZEM "
    "AND F.CDFILIAL = :P_CDFILIAL) "
    "OR NOT EXISTS (SELECT 1 FROM FILIALCUPOMDESC F WHERE F.CDCUPOMDESCZEM = C.CDCUPOMDESCZEM)) "
    "AND (COALESCE(C.IDUSOUNICO, 'N') <> 'S' "
    "OR NOT EXISTS (SELECT 1 FROM USOCUPOMDESCZEM U WHERE U.CDCUPOMDESCZEM = C.CDCUPOMDESCZEM)) "
    "ORDER BY C.CDCUPOMDESCZEM"};

// A campaign counts from its first day to the end of its last day.
#define CAMPAIGN_VALID_TODAY \
  "COALESCE(C.IDATIVOCAMP, 'S') = 'S' AND C.DTINICAMP < :P_AMANHA AND C.DTFIMCAMP >= :P_HOJE "
#define CAMPAIGN_OF_BRANCH "JOIN FILICAMPANHA F ON F.CDCAMPANHA = C.CDCAMPANHA AND F.CDFILIAL = :P_CDFILIAL "
// Whole part of a quotient. SQLite divides in binary floating point: a hair over the
// quotient keeps 0.3 / 0.1 at 3.
#define WHOLE_SQLITE(a, b) "CAST((" a ") / (" b ") + 0.000000001 AS INTEGER)"
#define WHOLE_PG(a, b) "TRUNC((" a ") / (" b "))"
#define WHOLE_MSSQL(a, b) "FLOOR((" a ") / (" b "))"

#define CAMPANHA(WHOLE)                                                                                              \
  "SELECT C.CDCAMPANHA, C.NMCAMPANHA, C.VRPESOCAMP, C.VRPONTOCAMP, " WHOLE(                                          \
      "CAST(:P_VALOR AS NUMERIC(18,4))",                                                                             \
      "C.VRPESOCAMP") " * C.VRPONTOCAMP AS NRDOTZ FROM CAMPANHA C " CAMPAIGN_OF_BRANCH                               \
                      "WHERE C.IDCAMPANHA = 'V' AND " CAMPAIGN_VALID_TODAY                                           \
                      "AND C.VRPESOCAMP > 0 "                                                                        \
                      "AND CAST(:P_VALOR AS NUMERIC(18,4)) >= C.VRINIFAIXACAMP AND CAST(:P_VALOR AS NUMERIC(18,4)) " \
                      "<= C.VRFIMFAIXACAMP "                                                                         \
                      "ORDER BY C.CDCAMPANHA"

const Statement adqCampanha{
    "adqCampanha",
    CAMPANHA(WHOLE_SQLITE),
    {{DatabaseKind::PostgreSQL, CAMPANHA(WHOLE_PG)}, {DatabaseKind::MSSQL, CAMPANHA(WHOLE_MSSQL)}},
    {{"NRDOTZ", FieldType::Float}}};

const Statement adqProdCampanha{"adqProdCampanha",
                                "SELECT C.CDCAMPANHA, C.NMCAMPANHA, P.VRPONTOPROD FROM CAMPANHA C " CAMPAIGN_OF_BRANCH
                                "JOIN PRODCAMPANHA P ON P.CDCAMPANHA = C.CDCAMPANHA AND P.CDPRODUTO = :P_CDPRODUTO "
                                "WHERE C.IDCAMPANHA = 'V' AND " CAMPAIGN_VALID_TODAY "ORDER BY C.CDCAMPANHA"};

const Statement adqCampanhaSaldo{"adqCampanhaSaldo",
                                 "SELECT C.CDCAMPANHA FROM CAMPANHA C " CAMPAIGN_OF_BRANCH
                                 "WHERE C.IDCAMPANHA = 'S' AND " CAMPAIGN_VALID_TODAY "ORDER BY C.CDCAMPANHA LIMIT 1"};

#define POINTS_OF_CONSUMER                                                             \
  "JOIN MOVPONTOCONS M ON M.CDCAMPANHA = C.CDCAMPANHA AND M.CDCLIENTE = :P_CDCLIENTE " \
  "AND M.CDCONSUMIDOR = :P_CDCONSUMIDOR AND M.DTVALIDPONTO >= :P_HOJE "

const Statement adqCampanhaDesc{
    "adqCampanhaDesc",
    "SELECT C.CDCAMPANHA, C.NMCAMPANHA, C.VRPONTOGERADESC, C.VRDESCVENDA, "
    "SUM(M.VRPONTOMOV) AS VRSALDOPONTO FROM CAMPANHA C " CAMPAIGN_OF_BRANCH POINTS_OF_CONSUMER
    "WHERE C.IDCAMPANHA = 'D' AND " CAMPAIGN_VALID_TODAY
    "GROUP BY C.CDCAMPANHA, C.NMCAMPANHA, C.VRPONTOGERADESC, C.VRDESCVENDA "
    "ORDER BY C.CDCAMPANHA",
    {},
    {{"VRSALDOPONTO", FieldType::Float}}};

const Statement adqusadesc{"adqusadesc",
                           "SELECT COUNT(*) AS QTUSO FROM ITFIDELIDADE WHERE CDFILIAL = :P_CDFILIAL "
                           "AND CDCLIENTE = :P_CDCLIENTE AND CDCONSUMIDOR = :P_CDCONSUMIDOR "
                           "AND IDTPOPERITFIDEL = 'D' AND IDIMPTFIDEL = 'N' "
                           "AND DTOPERITFIDEL >= :P_HOJE AND DTOPERITFIDEL < :P_AMANHA",
                           {},
                           {{"QTUSO", FieldType::Integer}}};

#define DESC_VENDA_FID(WHOLE)                                                                                         \
  "SELECT C.CDCAMPANHA, C.VRPONTOGERADESC, C.VRDESCVENDA, CO.NMCONSUMIDOR, SUM(M.VRPONTOMOV) AS VRSALDOCONS, " WHOLE( \
      "SUM(M.VRPONTOMOV)",                                                                                            \
      "C.VRPONTOGERADESC") " * C.VRDESCVENDA AS VRDESCONTO FROM CAMPANHA C " POINTS_OF_CONSUMER                       \
                           "JOIN CONSUMIDOR CO ON CO.CDCLIENTE = M.CDCLIENTE AND CO.CDCONSUMIDOR = M.CDCONSUMIDOR "   \
                           "WHERE C.IDCAMPANHA = 'E' AND " CAMPAIGN_VALID_TODAY                                       \
                           "AND C.VRPONTOGERADESC > 0 "                                                               \
                           "GROUP BY C.CDCAMPANHA, C.VRPONTOGERADESC, C.VRDESCVENDA, CO.NMCONSUMIDOR ORDER BY "       \
                           "C.CDCAMPANHA"

const Statement adqDescVendaFid{
    "adqDescVendaFid",
    DESC_VENDA_FID(WHOLE_SQLITE),
    {{DatabaseKind::PostgreSQL, DESC_VENDA_FID(WHOLE_PG)}, {DatabaseKind::MSSQL, DESC_VENDA_FID(WHOLE_MSSQL)}},
    {{"VRSALDOCONS", FieldType::Float}, {"VRDESCONTO", FieldType::Float}}};

const Statement adqDescSaldoFid{"adqDescSaldoFid",
                                "SELECT C.CDCAMPANHA, C.NMCAMPANHA, CO.NMCONSUMIDOR, SUM(M.VRPONTOMOV) AS VRSALDOCONS "
                                "FROM CAMPANHA C " POINTS_OF_CONSUMER
                                "JOIN CONSUMIDOR CO ON CO.CDCLIENTE = M.CDCLIENTE AND CO.CDCONSUMIDOR = M.CDCONSUMIDOR "
                                "WHERE C.IDCAMPANHA = 'S' AND " CAMPAIGN_VALID_TODAY
                                "GROUP BY C.CDCAMPANHA, C.NMCAMPANHA, CO.NMCONSUMIDOR ORDER BY C.CDCAMPANHA",
                                {},
                                {{"VRSALDOCONS", FieldType::Float}}};

const Statement adqSaldoFidUtil{"adqSaldoFidUtil",
                                "SELECT COALESCE(SUM(VRPONTOBRINDE), 0) AS VRPONTOBRINDE FROM ITFIDELIDADE "
                                "WHERE CDCAMPANHA = :P_CDCAMPANHA AND CDCLIENTE = :P_CDCLIENTE "
                                "AND CDCONSUMIDOR = :P_CDCONSUMIDOR AND IDTPOPERITFIDEL = 'S' AND IDIMPTFIDEL = 'N'"};

const Statement adqConvPonto{"adqConvPonto", "SELECT VRCONVPONTO FROM PARAVEND WHERE CDFILIAL = :P_CDFILIAL"};

}  // namespace

#define TODAY \
  {"P_HOJE", Today()}, { "P_AMANHA", Today().AddDays(1) }

Variant TrdmRecebimento::getProdTaxaServ(const std::string& cdfilial, const std::string& cdproduto) {
  return PacketOf(adqProdTaxaServ, {{"P_CDFILIAL", cdfilial}, {"P_CDPRODUTO", cdproduto}});
}

Variant TrdmRecebimento::getProdTaxaEntr(const std::string& cdfilial, const std::string& cdproduto) {
  return PacketOf(adqProdTaxaEntr, {{"P_CDFILIAL", cdfilial}, {"P_CDPRODUTO", cdproduto}});
}

Variant TrdmRecebimento::getSubGrProd(const std::string& cdproduto) {
  return PacketOf(adqSubGrProd, {{"P_CDPRODUTO", cdproduto}});
}

Variant TrdmRecebimento::getDescQtdeSub(const std::string& cdgrupprod, const std::string& cdsubgrprod) {
  return PacketOf(adqDescQtdeSub, {{"P_CDGRUPPROD", cdgrupprod}, {"P_CDSUBGRPROD", cdsubgrprod}});
}

Variant TrdmRecebimento::getProdSubsidiado(const std::string& cdfilial) {
  return PacketOf(adqProdSubsidiado, {{"P_CDFILIAL", cdfilial}});
}

bool TrdmRecebimento::getProdBeneficio(const std::string& cdproduto) {
  try {
    return FirstValue(adcRecebimento().Query(adqProdBeneficio, {{"P_CDPRODUTO", cdproduto}}), "QTBENEFICIO")
               .AsInteger() > 0;
  } catch (const std::exception& e) {
    ErrorText(e);
    return false;
  }
}

Variant TrdmRecebimento::getVrPromocao(const std::string& cdfilial, const std::string& cdproduto,
                                       const std::string& cdprodpromocao) {
  try {
    const Params params = {{"P_CDFILIAL", cdfilial}, {"P_CDPRODUTO", cdproduto}, {"P_CDPRODPROMOCAO", cdprodpromocao}};
    auto packet = adcRecebimento().Query(adqDescPromoFil, params);
    if (packet.rows.empty()) packet = adcRecebimento().Query(adqDescPromoPr, params);
    return Variant(std::move(packet));
  } catch (const std::exception& e) {
    return Variant(ErrorText(e));
  }
}

Variant TrdmRecebimento::getCuponsValidos(const std::string& cdfilial) {
  return PacketOf(adqCuponsValidos, {{"P_CDFILIAL", cdfilial}});
}

Variant TrdmRecebimento::getCampanha(const std::string& valor_venda, const std::string& cdfilial) {
  double valor = 0;
  try {
    valor = Variant(valor_venda).AsFloat();
  } catch (const std::exception& e) {
    return Variant("sale value is not a number: \"" + valor_venda + "\"");
  }
  return PacketOf(adqCampanha, {{"P_VALOR", valor}, {"P_CDFILIAL", cdfilial}, TODAY});
}

Variant TrdmRecebimento::getProdCampanha(const std::string& cdfilial, const std::string& cdproduto) {
  return PacketOf(adqProdCampanha, {{"P_CDFILIAL", cdfilial}, {"P_CDPRODUTO", cdproduto}, TODAY});
}

std::string TrdmRecebimento::getCampanhaSaldo(const std::string& cdfilial) {
  return TextOf(adqCampanhaSaldo, {{"P_CDFILIAL", cdfilial}, TODAY}, "CDCAMPANHA");
}

Variant TrdmRecebimento::getDescFidelidade(const std::string& cdfilial, const std::string& cdconsumidor,
                                           const std::string& cdcliente) {
  return PacketOf(adqCampanhaDesc,
                  {{"P_CDFILIAL", cdfilial}, {"P_CDCLIENTE", cdcliente}, {"P_CDCONSUMIDOR", cdconsumidor}, TODAY});
}

bool TrdmRecebimento::getusoudesc(const std::string& cdfilial, const std::string& cdconsumidor,
                                  const std::string& cdcliente) {
  try {
    const auto packet = adcRecebimento().Query(
        adqusadesc, {{"P_CDFILIAL", cdfilial}, {"P_CDCLIENTE", cdcliente}, {"P_CDCONSUMIDOR", cdconsumidor}, TODAY});
    return FirstValue(packet, "QTUSO").AsInteger() == 0;
  } catch (const std::exception& e) {
    ErrorText(e);
    return false;
  }
}

Variant TrdmRecebimento::getDescVendaFid(const std::string& cdcliente, const std::string& cdconsumidor) {
  return PacketOf(adqDescVendaFid, {{"P_CDCLIENTE", cdcliente}, {"P_CDCONSUMIDOR", cdconsumidor}, TODAY});
}

Variant TrdmRecebimento::getDescSaldoFid(const std::string& cdcliente, const std::string& cdconsumidor) {
  try {
    const Params consumer = {{"P_CDCLIENTE", cdcliente}, {"P_CDCONSUMIDOR", cdconsumidor}, TODAY};
    auto points = adcRecebimento().Query(adqDescSaldoFid, consumer);
    double redeemed = 0;
    if (!points.rows.empty()) {
      Params used = consumer;
      used.emplace_back("P_CDCAMPANHA", FirstValue(points, "CDCAMPANHA"));
      redeemed = FirstValue(adcRecebimento().Query(adqSaldoFidUtil, used), "VRPONTOBRINDE").AsFloat();
    }
    Variant result = Variant::Array(2);
    result[0] = Variant(std::move(points));
    result[1] = Variant(redeemed);
    return result;
  } catch (const std::exception& e) {
    return Variant(ErrorText(e));
  }
}

Variant TrdmRecebimento::getConversao(const std::string& cdfilial) {
  try {
    return Variant(
        FirstValue(adcRecebimento().Query(adqConvPonto, {{"P_CDFILIAL", cdfilial}}), "VRCONVPONTO").AsFloat());
  } catch (const std::exception& e) {
    ErrorText(e);
    return Variant(0.0);
  }
}

}  // namespace recebimento::datamodule
