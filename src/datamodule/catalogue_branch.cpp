// Branch, registers, tenders, tabs and the integrations' settings.
#include <cstdlib>

#include "datamodule/catalogue_support.h"
#include "datamodule/trdm_recebimento.h"
#include "host/runtime/messages.h"

namespace recebimento::datamodule {

namespace {

using base::FieldType;
using base::Variant;

const Statement adqCPFCNPJ{"adqCPFCNPJ",
                           "SELECT DISTINCT NRINSCRCONS, NMCONSVEND, DSENDEVENDA, NRIDESTRANGEIRA FROM ITCOMANDAVEN "
                           "WHERE CDFILIAL = :P_CDFILIAL AND NRCOMANDA = :P_NRCOMANDA AND NRLUGARMESA = :P_NRLUGARMESA "
                           "AND (COALESCE(NRINSCRCONS, '') <> '' OR COALESCE(NMCONSVEND, '') <> '' "
                           "OR COALESCE(DSENDEVENDA, '') <> '' OR COALESCE(NRIDESTRANGEIRA, '') <> '')"};

const Statement adqParamConsumidor{
    "adqParamConsumidor", "SELECT IDIMPNMCONSVEN FROM CAIXA WHERE CDFILIAL = :P_CDFILIAL AND CDCAIXA = :P_CDCAIXA"};
const Statement adqFilial{"adqFilial", "SELECT IDCONCREDDF FROM PARAVEND WHERE CDFILIAL = :P_CDFILIAL"};
const Statement adqTipoRecebimento{"adqTipoRecebimento",
                                   "SELECT CDTIPORECE, NMTIPORECE, IDTIPORECE, IDABGAVTPRECE FROM TIPORECE "
                                   "ORDER BY CDTIPORECE"};
const Statement adqIdIntResgSaldo{"adqIdIntResgSaldo",
                                  "SELECT IDINTRESGSALDO FROM TIPORECE WHERE CDTIPORECE = :P_CDTIPORECE"};
const Statement adqUtilResgSaldo{"adqUtilResgSaldo",
                                 "SELECT 'S' AS IDINTRESGSALDO FROM TIPORECE WHERE IDINTRESGSALDO = 'S' LIMIT 1"};
const Statement adqDadosResgSaldo{
    "adqDadosResgSaldo", "SELECT DSIDRESGS, DSSENHARESGS, DSURLRAIZ FROM PARAVEND WHERE CDFILIAL = :P_CDFILIAL"};
const Statement adqSerialPos{"adqSerialPos",
                             "SELECT CDIDPOS, CDSERIEPOS, DSDESCPOS, CDCHAVACESVALI, CDCHAVEREQUI FROM POS "
                             "WHERE CDFILIAL = :P_CDFILIAL ORDER BY CDIDPOS"};
const Statement adqCNPJFil{"adqCNPJFil", "SELECT NRINSJURFILI FROM FILIAL WHERE CDFILIAL = :P_CDFILIAL"};
const Statement adqEmpresa{"adqEmpresa",
                           "SELECT E.NRINSJUREMPR FROM FILIAL F JOIN EMPRESA E ON E.CDEMPRESA = F.CDEMPRESA "
                           "WHERE F.CDFILIAL = :P_CDFILIAL"};
const Statement adqIDFECHRECAUT{"adqIDFECHRECAUT", "SELECT IDFECHRECAUT FROM PARAVEND WHERE CDFILIAL = :P_CDFILIAL"};
const Statement adqParamGeral{"adqParamGeral", "SELECT IDUTCUPOMDESC FROM PARAMGERAL ORDER BY CDPARAMGERAL LIMIT 1"};
const Statement adqOrigemVenda{"adqOrigemVenda",
                               "SELECT IDORGCMDVENDA FROM COMANDAVEN WHERE CDFILIAL = :P_CDFILIAL "
                               "AND NRVENDAREST = :P_NRVENDAREST AND NRCOMANDA = :P_NRCOMANDA"};

// A tab number is in the list when ",number," occurs in the normalised list text.
#define IN_LIST_INSTR(col) "INSTR(:P_LISTA, ',' || " col " || ',') > 0"
#define IN_LIST_STRPOS(col) "STRPOS(:P_LISTA, ',' || " col " || ',') > 0"
#define IN_LIST_CHARINDEX(col) "CHARINDEX(',' + " col " + ',', :P_LISTA) > 0"

#define COMANDA_VAL(IN_LIST) \
  "SELECT C.CDFILIAL, C.NRVENDAREST, C.NRCOMANDA, C.DSCOMANDA, C.IDSTCOMANDA, C.IDORGCMDVENDA, R.NRMESA, "     \
  "R.NRVENDARESTJUN FROM COMANDAVEN C JOIN VENDAREST R ON R.CDFILIAL = C.CDFILIAL "                           \
  "AND R.NRVENDAREST = C.NRVENDAREST "                                                                         \
  "WHERE C.CDFILIAL = :P_CDFILIAL AND COALESCE(C.IDSTCOMANDA, '') <> '4' AND R.IDSITVENDAREST = 'A' "          \
  "AND (" IN_LIST("C.NRCOMANDA") " OR R.NRVENDARESTJUN IN (SELECT L.NRVENDAREST FROM COMANDAVEN L "            \
  "WHERE L.CDFILIAL = :P_CDFILIAL AND " IN_LIST("L.NRCOMANDA") ")) ORDER BY C.NRCOMANDA"

const Statement adqComandaVal{
    "adqComandaVal",
    COMANDA_VAL(IN_LIST_INSTR),
    {{DatabaseKind::PostgreSQL, COMANDA_VAL(IN_LIST_STRPOS)}, {DatabaseKind::MSSQL, COMANDA_VAL(IN_LIST_CHARINDEX)}}};

#define RESG_DELIVERY(IN_LIST) \
  "SELECT NRCOMANDA, CDCAMPANHA, VRPONTOBRINDE, VRDESCFIDELIDAD FROM COMANDAVEN "                \
  "WHERE CDFILIAL = :P_CDFILIAL AND " IN_LIST("NRCOMANDA") " AND COALESCE(CDCAMPANHA, '') <> '' " \
  "ORDER BY NRCOMANDA"

const Statement adqResgDelivery{"adqResgDelivery",
                                RESG_DELIVERY(IN_LIST_INSTR),
                                {{DatabaseKind::PostgreSQL, RESG_DELIVERY(IN_LIST_STRPOS)},
                                 {DatabaseKind::MSSQL, RESG_DELIVERY(IN_LIST_CHARINDEX)}}};

const Statement adqDadosAme{
    "adqDadosAme",
    "SELECT CDFILIAL, DSLOGINAME, DSSENHAAME, DSLOGINAMEHOM, DSSENHAAMEHOM, VRCASHBACK, "
    "IDAMBIENTEAME, DSURLRAIZ, CAST(NULL AS VARCHAR(100)) AS DSLOGIN, "
    "CAST(NULL AS VARCHAR(100)) AS DSSENHA, DSURLSERVAME, DSURLAPIAME, DSURLAPIAMEDEV, DSURLAPIAMEHOM "
    "FROM PARAVEND WHERE CDFILIAL = :P_CDFILIAL",
    {},
    {{"DSLOGIN", FieldType::String}, {"DSSENHA", FieldType::String}}};

const Statement adqDadosMp{
    "adqDadosMp",
    "SELECT P.DSACCESSTOKENMP, P.DSUSERIDMP, P.DSIDSPONSORMP, P.DSURLNOTIFICMP, P.DSURLAPIMP, F.CDFILIAL, C.CDCAIXA, "
    "C.NMCAIXA, "
    "L.CDLOJA, L.NMLOJA, F.NMFILIAL, F.SGESTADO, E.NMESTADO, M.NMMUNICIPIO, F.NMBAIRFILI, F.NRCEPFILI, "
    "F.DSENDEFILI, F.NRENDEFILI, F.NRLATITUDE, F.NRLONGITUDE "
    "FROM PARAVEND P JOIN FILIAL F ON F.CDFILIAL = P.CDFILIAL "
    "JOIN CAIXA C ON C.CDFILIAL = F.CDFILIAL AND C.CDCAIXA = :P_CDCAIXA "
    "LEFT JOIN LOJA L ON L.CDFILIAL = C.CDFILIAL AND L.CDLOJA = C.CDLOJA "
    "LEFT JOIN ESTADO E ON E.SGESTADO = F.SGESTADO LEFT JOIN MUNICIPIO M ON M.CDMUNICIPIO = F.CDMUNICIPIO "
    "WHERE P.CDFILIAL = :P_CDFILIAL AND COALESCE(P.DSACCESSTOKENMP, '') <> '' "
    "AND COALESCE(P.DSUSERIDMP, '') <> '' AND COALESCE(P.DSIDSPONSORMP, '') <> ''"};

// The server's local time and its distance from UTC in minutes.
const Statement adqHorario{
    "adqHorario",
    "SELECT strftime('%Y-%m-%dT%H:%M:%S', 'now', 'localtime') AS DTHORALOCAL, "
    "CAST(ROUND((julianday('now', 'localtime') - julianday('now')) * 1440) AS INTEGER) AS NRMINUTOSUTC",
    {{DatabaseKind::PostgreSQL,
      "SELECT to_char(LOCALTIMESTAMP, 'YYYY-MM-DD\"T\"HH24:MI:SS') AS DTHORALOCAL, "
      "CAST(EXTRACT(TIMEZONE FROM CURRENT_TIMESTAMP) / 60 AS INTEGER) AS NRMINUTOSUTC"}},
    {{"DTHORALOCAL", FieldType::String}, {"NRMINUTOSUTC", FieldType::Integer}}};

const Statement adqDadosCRMBONUS{"adqDadosCRMBONUS",
                                 "SELECT IDCRMBONUS, CDURLCRMBONUS, CDAUTHCRMBONUS, CDCODECRMBONUS FROM LOJA "
                                 "WHERE CDFILIAL = :P_CDFILIAL AND CDLOJA = :P_CDLOJA"};

const Statement adqDadosGCOM{"adqDadosGCOM",
                             "SELECT L.IDUTLINTEGCOM, L.CDBRANDIDGCOM, L.CDURLGCOM, F.NRINSJURFILI, L.IDTOKENAPIGCOM "
                             "FROM LOJA L JOIN FILIAL F ON F.CDFILIAL = L.CDFILIAL "
                             "WHERE L.CDFILIAL = :P_CDFILIAL AND L.CDLOJA = :P_CDLOJA"};

const Statement adqRecebHost{
    "adqRecebHost",
    "SELECT B.CDFILIAL, B.CDTIPORECE, T.NMTIPORECE, T.VRTAXAADMI, T.VRMINCARTAO, T.CDTIPOTROCO, T.NRORDTROCO, "
    "T.IDEMIVALE, T.IDVALE, T.IDDEBCLIE, T.CDFPIMPFIS, T.IDTIPORECE, T.CDTPINDICE, T.IDPERVALOR, T.CDINDICE, "
    "B.NRCONFTELA, B.IDTPBUTTON, B.NRBUTTON, B.NRPGCONFTELA, B.IDTPBUTONAUX, B.NRBUTTONAUX, B.NRPGCONFTAUX, "
    "B.CDIDENTBUTON, B.DSBUTTON, B.NRCOLORTEXT, B.NRCOLORBACK, B.DSMESSAGEBUT, B.DSIMAGEMBUT, T.DSIMPFISCAL, "
    "T.CDADMINCART, T.CDBANCARTCR, T.IDMOSTRARECE, T.IDDESABTEF, B.NRFONTETEXT, T.IDUTCONTRREPIQ, "
    "T.IDSOLIQTPARC, T.QTMAXPARC, T.VRMINPARC, T.CDCREDENCCAR, T.IDSOLNSUCREDDEB, T.IDUTILVOUCHER, "
    "T.IDHABVENDAMAN FROM CONFTELARECE B LEFT JOIN TIPORECE T ON T.CDTIPORECE = B.CDTIPORECE "
    "WHERE B.CDFILIAL = :P_CDFILIAL ORDER BY B.IDTPBUTTON, B.NRBUTTONAUX, B.NRPGCONFTELA, B.NRBUTTON"};

std::string TwoDigits(int v) { return (v < 10 ? "0" : "") + std::to_string(v); }

}  // namespace

Variant TrdmRecebimento::getCPFCNPJ(const std::string& cdfilial, const std::string& nrcomanda,
                                    const std::string& nrlugarmesa) {
  return PacketOf(adqCPFCNPJ, {{"P_CDFILIAL", cdfilial}, {"P_NRCOMANDA", nrcomanda}, {"P_NRLUGARMESA", nrlugarmesa}});
}

bool TrdmRecebimento::getImpNomeConsumidorVenda(const std::string& cdfilial, const std::string& cdcaixa) {
  return TextOf(adqParamConsumidor, {{"P_CDFILIAL", cdfilial}, {"P_CDCAIXA", cdcaixa}}, "IDIMPNMCONSVEN") == "S";
}

std::string TrdmRecebimento::getConcessaoCred(const std::string& cdfilial) {
  return TextOf(adqFilial, {{"P_CDFILIAL", cdfilial}}, "IDCONCREDDF");
}

Variant TrdmRecebimento::getTipoRecebimento() { return PacketOf(adqTipoRecebimento, {}); }

std::string TrdmRecebimento::getIdIntResgSaldo(const std::string& cdtiporece) {
  return TextOf(adqIdIntResgSaldo, {{"P_CDTIPORECE", cdtiporece}}, "IDINTRESGSALDO");
}

std::string TrdmRecebimento::getUtilResgSaldo() { return TextOf(adqUtilResgSaldo, {}, "IDINTRESGSALDO"); }

Variant TrdmRecebimento::getDadosResgSaldo(const std::string& cdfilial) {
  return PacketOf(adqDadosResgSaldo, {{"P_CDFILIAL", cdfilial}});
}

Variant TrdmRecebimento::getSerialPos(const std::string& cdfilial) {
  return PacketOf(adqSerialPos, {{"P_CDFILIAL", cdfilial}});
}

std::string TrdmRecebimento::getCNPJFil(const std::string& cdfilial) {
  return TextOf(adqCNPJFil, {{"P_CDFILIAL", cdfilial}}, "NRINSJURFILI");
}

std::string TrdmRecebimento::getCNPJEmpresa(const std::string& cdfilial) {
  return TextOf(adqEmpresa, {{"P_CDFILIAL", cdfilial}}, "NRINSJUREMPR");
}

std::string TrdmRecebimento::getIDFECHRECAUT(const std::string& cdfilial) {
  return TextOf(adqIDFECHRECAUT, {{"P_CDFILIAL", cdfilial}}, "IDFECHRECAUT");
}

std::string TrdmRecebimento::getIDUTCUPOMDESC() { return TextOf(adqParamGeral, {}, "IDUTCUPOMDESC"); }

Variant TrdmRecebimento::GetOrigemVenda(const std::string& cdfilial, const std::string& nrvendarest,
                                        const std::string& nrcomanda) {
  try {
    const auto packet = adcRecebimento().Query(
        adqOrigemVenda, {{"P_CDFILIAL", cdfilial}, {"P_NRVENDAREST", nrvendarest}, {"P_NRCOMANDA", nrcomanda}});
    return Variant(FirstValue(packet, "IDORGCMDVENDA").AsString());
  } catch (const std::exception& e) {
    return Variant(ErrorText(e));
  }
}

Variant TrdmRecebimento::getComandaVal(const std::string& cdfilial, const std::string& /*nao_usado*/,
                                       const std::string& comandas) {
  return PacketOf(adqComandaVal, {{"P_CDFILIAL", cdfilial}, {"P_LISTA", NormaliseCodeList(comandas)}});
}

Variant TrdmRecebimento::getResgDelivery(const std::string& cdfilial, const std::string& comandas) {
  return PacketOf(adqResgDelivery, {{"P_CDFILIAL", cdfilial}, {"P_LISTA", NormaliseCodeList(comandas)}});
}

Variant TrdmRecebimento::getDadosAme(const std::string& cdfilial) {
  return PacketOf(adqDadosAme, {{"P_CDFILIAL", cdfilial}});
}

Variant TrdmRecebimento::getDadosMp(const std::string& cdfilial, const std::string& cdcaixa) {
  return PacketOf(adqDadosMp, {{"P_CDFILIAL", cdfilial}, {"P_CDCAIXA", cdcaixa}});
}

std::string TrdmRecebimento::getDataEmissMp() {
  try {
    const auto packet = adcRecebimento().Query(adqHorario, {});
    const std::string local = FirstValue(packet, "DTHORALOCAL").AsString();
    const int64_t minutes = FirstValue(packet, "NRMINUTOSUTC").AsInteger();
    const int64_t a = std::llabs(minutes);
    return local + (minutes < 0 ? "-" : "+") + TwoDigits(static_cast<int>(a / 60)) + ":" +
           TwoDigits(static_cast<int>(a % 60));
  } catch (const std::exception& e) {
    const std::string error = ErrorText(e);
    runtime::Mensagem("Exception getDataEmissMp: " + error, "", "N", "N", runtime::kMsgPrompt, "", "", 0, nullptr);
    return Now().Format("yyyy-mm-ddThh:nn:ss") + "-03:00";
  }
}

Variant TrdmRecebimento::getDadosCRMBONUS(const std::string& cdfilial, const std::string& cdloja) {
  return PacketOf(adqDadosCRMBONUS, {{"P_CDFILIAL", cdfilial}, {"P_CDLOJA", cdloja}});
}

Variant TrdmRecebimento::getDadosGCOM(const std::string& cdfilial, const std::string& cdloja) {
  return PacketOf(adqDadosGCOM, {{"P_CDFILIAL", cdfilial}, {"P_CDLOJA", cdloja}});
}

Variant TrdmRecebimento::getRecebHost(const std::string& cdfilial) {
  return PacketOf(adqRecebHost, {{"P_CDFILIAL", cdfilial}});
}

}  // namespace recebimento::datamodule
