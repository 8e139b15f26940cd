// Consumers, their accounts, balance families and consumer types.
#include "datamodule/catalogue_support.h"
#include "datamodule/trdm_recebimento.h"

namespace recebimento::datamodule {

namespace {

using base::FieldType;
using base::Variant;

#define CONSUMER_KEY "C.CDCLIENTE = :P_CDCLIENTE AND C.CDCONSUMIDOR = :P_CDCONSUMIDOR"

// One half of adqCons: the consumer with its client, its branch link, type and address.
#define CONS_SELECT                                                                                              \
  "SELECT C.CDCLIENTE, C.CDCONSUMIDOR, C.NMCONSUMIDOR, CL.NMFANTCLIE, C.IDSITCONSUMI, C.IDCONSUMIDOR, "          \
  "C.CDIDCONSUMID, C.NRCPFRESPCON, C.NRRGCONSUMID, C.CDTIPOCONS, C.CDCCUSCLIE, C.VRLIMDEBCONS, "                 \
  "C.VRMAXDEBCONS, C.VRAVIDEBCONS, C.VRLIMCREDCONS, C.VRMAXCREDCONS, C.VRAVICREDCONS, C.VRMESUBCONS, "           \
  "C.VRSUBSBASICO, C.IDVERSALDCON, C.IDBLOQSALDFS, C.IDTPVENDACONS, C.IDIMPCPFCUPOM, C.IDATUCPFCONS, "           \
  "C.CDSENHACONS, C.NRTELEFCONS, C.NRTELEF2CONS, C.DSEMAILCONS, C.DSENDECONS, C.NRENDECONS, "                    \
  "C.DSCOMPLENDCONS, C.NRCEPCONS, C.CDBAIRRO, B.NMBAIRRO, B.QTHORAENTREGA, B.VRTXENTREGA, C.CDMUNICIPIO, "       \
  "M.NMMUNICIPIO, C.SGESTADO, E.NMESTADO, C.CDPAIS, P.NMPAIS, C.NRAPTOHOTEL, C.DTENTRHOTEL, C.DTSAIDHOTEL, "     \
  "CF.IDCLIENPRIN, TC.IDUTSUBTCCLI, TC.VRPESUBTCCLI "                                                            \
  "FROM CONSUMIDOR C "                                                                                           \
  "JOIN CLIENTE CL ON CL.CDCLIENTE = C.CDCLIENTE "                                                               \
  "JOIN CLIENFILIAL CF ON CF.CDCLIENTE = C.CDCLIENTE AND CF.CDFILIAL = :P_CDFILIAL AND CF.IDPERMVENDAZEM = 'S' " \
  "LEFT JOIN TIPOCONSCLI TC ON TC.CDCLIENTE = C.CDCLIENTE AND TC.CDTIPOCONS = C.CDTIPOCONS "                     \
  "LEFT JOIN BAIRRO B ON B.CDMUNICIPIO = C.CDMUNICIPIO AND B.CDBAIRRO = C.CDBAIRRO "                             \
  "LEFT JOIN MUNICIPIO M ON M.CDMUNICIPIO = C.CDMUNICIPIO "                                                      \
  "LEFT JOIN ESTADO E ON E.SGESTADO = C.SGESTADO "                                                               \
  "LEFT JOIN PAIS P ON P.CDPAIS = C.CDPAIS "                                                                     \
  "WHERE " CONSUMER_KEY " "

const Statement adqCons{"adqCons", CONS_SELECT
                        "AND C.IDSITCONSUMI = '1' "
                        "UNION ALL " CONS_SELECT
                        "AND C.IDSITCONSUMI = '2' AND NOT EXISTS (SELECT 1 FROM CONSUMIDOR A "
                        "WHERE A.CDIDCONSUMID = C.CDIDCONSUMID AND A.IDSITCONSUMI = '1') "
                        "ORDER BY IDCLIENPRIN DESC, CDIDCONSUMID"};

const Statement adqConSaldFam{
    "adqConSaldFam",
    "SELECT F.CDFAMILISALD, COALESCE(S.VRSALDCONFAM, 0) AS VRSALDCONFAM, F.NMFAMILISALD "
    "FROM FAMSALDOFILI FF JOIN FAMILIASALDO F ON F.CDFAMILISALD = FF.CDFAMILISALD "
    "LEFT JOIN SALDOCONS S ON S.CDCLIENTE = :P_CDCLIENTE AND S.CDCONSUMIDOR = :P_CDCONSUMIDOR "
    "AND S.CDFAMILISALD = FF.CDFAMILISALD "
    "WHERE FF.CDFILIAL = :P_CDFILIAL ORDER BY F.CDFAMILISALD"};

const Statement adqOrdFam{"adqOrdFam",
                          "SELECT CDFILIAL, CDFAMILISALD, NRORDAPRSALD FROM FAMSALDOFILI "
                          "WHERE CDFILIAL = :P_CDFILIAL AND CDFAMILISALD = :P_CDFAMILISALD"};

const Statement adqSupOrdemFamilia{
    "adqSupOrdemFamilia",
    "SELECT FF.CDFAMILISALD, F.NMFAMILISALD, FF.NRORDAPRSALD, S.VRSALDCONFAM, FF.IDSALDNEGFAM "
    "FROM FAMSALDOFILI FF JOIN FAMILIASALDO F ON F.CDFAMILISALD = FF.CDFAMILISALD "
    "LEFT JOIN SALDOCONS S ON S.CDCLIENTE = :P_CDCLIENTE AND S.CDCONSUMIDOR = :P_CDCONSUMIDOR "
    "AND S.CDFAMILISALD = FF.CDFAMILISALD "
    "WHERE FF.CDFILIAL = :P_CDFILIAL AND FF.NRORDAPRSALD <= (SELECT O.NRORDAPRSALD FROM FAMSALDOFILI O "
    "WHERE O.CDFILIAL = :P_CDFILIAL AND O.CDFAMILISALD = :P_CDFAMILISALD) "
    "ORDER BY FF.NRORDAPRSALD, FF.CDFAMILISALD"};

const Statement adqMinDtMovExtCons{"adqMinDtMovExtCons",
                                   "SELECT MIN(DTMOVEXTCONS) AS DTMOVEXTCONS FROM EXTRATOCONS "
                                   "WHERE CDCLIENTE = :P_CDCLIENTE AND CDCONSUMIDOR = :P_CDCONSUMIDOR"};

const Statement adqCentroCus{"adqCentroCus",
                             "SELECT C.CDCCUSCLIE FROM CONSUMIDOR C WHERE " CONSUMER_KEY " AND C.IDSITCONSUMI = '1'"};

const Statement adqValCentroCus{"adqValCentroCus",
                                "SELECT C.CDCLIENTE, C.CDCONSUMIDOR, C.NMCONSUMIDOR, C.CDCCUSCLIE FROM CONSUMIDOR C "
                                "WHERE " CONSUMER_KEY " AND C.IDSITCONSUMI = '1' AND C.CDCCUSCLIE = :P_CDCCUSCLIE"};

const Statement adqSaldoDebitoCons{"adqSaldoDebitoCons",
                                   "SELECT VRSALDOCONS, VRSALDPECONS, DTMOVCLI FROM MOVICLIE "
                                   "WHERE CDCLIENTE = :P_CDCLIENTE AND CDCONSUMIDOR = :P_CDCONSUMIDOR "
                                   "AND DTMOVCLI IS NOT NULL "
                                   "ORDER BY DTMOVCLI DESC, DTMOVIMCLIE DESC, NRSEQMOVCLIE DESC LIMIT 1"};

const Statement adqSaldoCred{"adqSaldoCred",
                             "SELECT CDCLIENTE, CDCONSUMIDOR, CDFAMILISALD, VRSALDCONFAM FROM SALDOCONS "
                             "WHERE CDCLIENTE = :P_CDCLIENTE AND CDCONSUMIDOR = :P_CDCONSUMIDOR "
                             "AND CDFAMILISALD = :P_CDFAMILISALD"};

const Statement adqLimiteCons{"adqLimiteCons",
                              "SELECT C.VRMAXDEBCONS, C.VRMESUBCONS FROM CONSUMIDOR C "
                              "WHERE " CONSUMER_KEY " AND C.IDSITCONSUMI = '1'"};

const Statement adqTipoConsLoja{
    "adqTipoConsLoja",
    "SELECT C.CDTIPOCONS, T.VRMAXCONSDIAC, T.VRMAXCONSDIAD, T.VRMAXCONSMESC, T.VRMAXCONSMESD, T.VRMAXCONSMENSAL "
    "FROM CONSUMIDOR C LEFT JOIN TIPOCONSLOJA T ON T.CDTIPOCONS = C.CDTIPOCONS "
    "AND T.CDFILIAL = :P_CDFILIAL AND T.CDLOJA = :P_CDLOJA WHERE " CONSUMER_KEY};

#define TIPOCONSFILI_COLUMNS                                                                                 \
  "T.CDTIPOCONS, T.IDRECEBEBONUS, T.VRCARGACREDITO, T.VRBONUSCREDITO, T.VRSALDCONSBONUS, T.IDPERIODOBONUS, " \
  "T.CDTIPORECE, T.NMGRUPOSEGPETRO, T.IDSALDOMINDESC, T.VRSALDOMINDESC "

const Statement adqTipoConsFili{
    "adqTipoConsFili", "SELECT " TIPOCONSFILI_COLUMNS
                       ", R.NMTIPORECE, R.IDTIPORECE, R.CDTIPOTROCO, R.NRORDTROCO, R.DSIMPFISCAL, R.CDFPIMPFIS "
                       "FROM CONSUMIDOR C JOIN TIPOCONSFILI T ON T.CDTIPOCONS = C.CDTIPOCONS "
                       "LEFT JOIN TIPORECE R ON R.CDTIPORECE = T.CDTIPORECE WHERE " CONSUMER_KEY};

const Statement adqTipoConsFiliClubPetro{"adqTipoConsFiliClubPetro",
                                         "SELECT " TIPOCONSFILI_COLUMNS
                                         "FROM TIPOCONSFILI T WHERE T.NMGRUPOSEGPETRO = :P_NMGRUPOSEGPETRO"};

const Statement adqTipoConsReceb{"adqTipoConsReceb",
                                 "SELECT R.CDTIPOCONS, R.CDTIPORECE FROM CONSUMIDOR C "
                                 "JOIN TIPOCONSRECEB R ON R.CDTIPOCONS = C.CDTIPOCONS WHERE " CONSUMER_KEY
                                 " ORDER BY R.CDTIPORECE"};

const Statement adqTpConsRecGeral{"adqTpConsRecGeral",
                                  "SELECT DISTINCT CDTIPORECE FROM TIPOCONSRECEB ORDER BY CDTIPORECE"};

const Statement adqTipoVendaCons{"adqTipoVendaCons", "SELECT C.IDTPVENDACONS FROM CONSUMIDOR C WHERE " CONSUMER_KEY};
const Statement adqBloqFimSemana{"adqBloqFimSemana", "SELECT C.IDBLOQSALDFS FROM CONSUMIDOR C WHERE " CONSUMER_KEY};
const Statement adqVerifConsAtivo{"adqVerifConsAtivo", "SELECT C.IDSITCONSUMI FROM CONSUMIDOR C WHERE " CONSUMER_KEY};

const Statement adqPermAltDescFid{"adqPermAltDescFid",
                                  "SELECT COALESCE(T.IDPERALTDESCFID, 'N') AS IDPERALTDESCFID FROM CONSUMIDOR C "
                                  "LEFT JOIN TIPOCONS T ON T.CDTIPOCONS = C.CDTIPOCONS WHERE " CONSUMER_KEY};

const Statement adqCPFCons{"adqCPFCons", "SELECT C.NRCPFRESPCON FROM CONSUMIDOR C WHERE " CONSUMER_KEY};

const Statement adqIngresso{"adqIngresso",
                            "SELECT C.CDTIPOCONS, T.CDPRODINGRESSO FROM CONSUMIDOR C "
                            "JOIN TIPOCONS T ON T.CDTIPOCONS = C.CDTIPOCONS "
                            "WHERE " CONSUMER_KEY
                            " AND T.CDPRODINGRESSO IS NOT NULL AND T.CDPRODINGRESSO <> '' "
                            "AND T.IDTPVENDATPCONS = 'C'"};

const Statement adqParamConsumidor2{"adqParamConsumidor2",
                                    "SELECT C.IDIMPCPFCUPOM FROM CONSUMIDOR C WHERE " CONSUMER_KEY};

// Raised when the consumer central cannot answer; its text is the result.
struct CentralError : std::runtime_error {
  CentralError() : std::runtime_error("EXTCONSCENTRAL_ERRO") {}
};

}  // namespace

#define CLIENT_CONSUMER \
  {"P_CDCLIENTE", cdcliente}, { "P_CDCONSUMIDOR", cdconsumidor }

Variant TrdmRecebimento::getConsumidor(const std::string& cdcliente, const std::string& cdconsumidor,
                                       const std::string& cdfilial) {
  return PacketOf(adqCons, {CLIENT_CONSUMER, {"P_CDFILIAL", cdfilial}});
}

Variant TrdmRecebimento::getConsSaldFam(const std::string& cdfilial, const std::string& cdcliente,
                                        const std::string& cdconsumidor) {
  return PacketOf(adqConSaldFam, {CLIENT_CONSUMER, {"P_CDFILIAL", cdfilial}});
}

Variant TrdmRecebimento::getOrdemFamilia(const std::string& cdfilial, const std::string& cdfamilisald,
                                         const std::string& cdcliente, const std::string& cdconsumidor,
                                         const std::string& usa_central) {
  try {
    Variant result = Variant::Array(2);
    result[0] =
        Variant(adcRecebimento().Query(adqOrdFam, {{"P_CDFILIAL", cdfilial}, {"P_CDFAMILISALD", cdfamilisald}}));
    if (usa_central == "S") {
      Variant answer = Variant::Array(1);
      if (!extrato_cons_central_ ||
          !extrato_cons_central_("CONSULTA_ORDEM_FAMILIA", {cdfilial, cdcliente, cdconsumidor, cdfamilisald}, answer)) {
        throw CentralError();
      }
      result[1] = answer.IsArray() && answer.Size() > 0 ? answer[0] : answer;
    } else {
      result[1] = Variant(adcRecebimento().Query(
          adqSupOrdemFamilia, {CLIENT_CONSUMER, {"P_CDFILIAL", cdfilial}, {"P_CDFAMILISALD", cdfamilisald}}));
    }
    return result;
  } catch (const CentralError& e) {
    return Variant(e.what());
  } catch (const std::exception& e) {
    return Variant(ErrorText(e));
  }
}

Variant TrdmRecebimento::getMinDtMovExtCons(const std::string& cdcliente, const std::string& cdconsumidor) {
  return PacketOf(adqMinDtMovExtCons, {CLIENT_CONSUMER});
}

Variant TrdmRecebimento::getCentroCusto(const std::string& cdcliente, const std::string& cdconsumidor) {
  return PacketOf(adqCentroCus, {CLIENT_CONSUMER});
}

Variant TrdmRecebimento::getValCentroCusto(const std::string& cdcliente, const std::string& cdconsumidor,
                                           const std::string& cdccusclie) {
  return PacketOf(adqValCentroCus, {CLIENT_CONSUMER, {"P_CDCCUSCLIE", cdccusclie}});
}

Variant TrdmRecebimento::getSaldoCons(const std::string& cdcliente, const std::string& cdconsumidor) {
  return PacketOf(adqSaldoDebitoCons, {CLIENT_CONSUMER});
}

Variant TrdmRecebimento::getSaldoCred(const std::string& cdcliente, const std::string& cdconsumidor,
                                      const std::string& cdfamilisald) {
  return PacketOf(adqSaldoCred, {CLIENT_CONSUMER, {"P_CDFAMILISALD", cdfamilisald}});
}

Variant TrdmRecebimento::getLimiteCons(const std::string& cdcliente, const std::string& cdconsumidor) {
  return PacketOf(adqLimiteCons, {CLIENT_CONSUMER});
}

Variant TrdmRecebimento::getTipoConsLoja(const std::string& cdfilial, const std::string& cdloja,
                                         const std::string& cdcliente, const std::string& cdconsumidor) {
  return PacketOf(adqTipoConsLoja, {CLIENT_CONSUMER, {"P_CDFILIAL", cdfilial}, {"P_CDLOJA", cdloja}});
}

Variant TrdmRecebimento::GetTipoConsFili(const std::string& cdcliente, const std::string& cdconsumidor) {
  return PacketOf(adqTipoConsFili, {CLIENT_CONSUMER});
}

Variant TrdmRecebimento::GetTipoConsFiliClubPetro(const std::string& nmgruposegpetro) {
  return PacketOf(adqTipoConsFiliClubPetro, {{"P_NMGRUPOSEGPETRO", nmgruposegpetro}});
}

Variant TrdmRecebimento::getTipoConsReceb(const std::string& cdcliente, const std::string& cdconsumidor) {
  return PacketOf(adqTipoConsReceb, {CLIENT_CONSUMER});
}

Variant TrdmRecebimento::getTpConsRecGeral() { return PacketOf(adqTpConsRecGeral, {}); }

Variant TrdmRecebimento::getIngresso(const std::string& cdcliente, const std::string& cdconsumidor) {
  return PacketOf(adqIngresso, {CLIENT_CONSUMER});
}

std::string TrdmRecebimento::getTipoVendaCons(const std::string& cdcliente, const std::string& cdconsumidor) {
  return TextOf(adqTipoVendaCons, {CLIENT_CONSUMER}, "IDTPVENDACONS");
}

std::string TrdmRecebimento::getBloqFimSemana(const std::string& cdcliente, const std::string& cdconsumidor) {
  return TextOf(adqBloqFimSemana, {CLIENT_CONSUMER}, "IDBLOQSALDFS");
}

std::string TrdmRecebimento::getVerifConsAtivo(const std::string& cdcliente, const std::string& cdconsumidor) {
  return TextOf(adqVerifConsAtivo, {CLIENT_CONSUMER}, "IDSITCONSUMI");
}

std::string TrdmRecebimento::PermiteAlterarDescFid(const std::string& cdcliente, const std::string& cdconsumidor) {
  return TextOf(adqPermAltDescFid, {CLIENT_CONSUMER}, "IDPERALTDESCFID");
}

Variant TrdmRecebimento::getCPFCons(const std::string& cdconsumidor, const std::string& cdcliente) {
  try {
    return Variant(FirstValue(adcRecebimento().Query(adqCPFCons, {CLIENT_CONSUMER}), "NRCPFRESPCON").AsString());
  } catch (const std::exception& e) {
    ErrorText(e);
    return Variant();
  }
}

void TrdmRecebimento::setParamConsumidor(const std::string& cdcliente, const std::string& cdconsumidor,
                                         std::string& imprime_cpf) {
  try {
    const auto packet = adcRecebimento().Query(adqParamConsumidor2, {CLIENT_CONSUMER});
    imprime_cpf = FirstValue(packet, "IDIMPCPFCUPOM").AsString();
  } catch (const std::exception& e) {
    ErrorText(e);
  }
}

}  // namespace recebimento::datamodule
