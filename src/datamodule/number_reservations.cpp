#include "datamodule/number_reservations.h"

#include "datamodule/catalogue_support.h"
#include "datamodule/store_connection.h"
#include "datamodule/trdm_recebimento.h"

namespace recebimento::datamodule {

namespace {

using base::Variant;

const Statement acmInsNumeroReservado{
    "acmInsNumeroReservado",
    "INSERT INTO NUMERORESERVADO (CDCONTADOR, NRRESERVADO, CDFILIAL, CDCAIXA, DTRESERVA, IDSTATUSRES) "
    "VALUES (:P_CDCONTADOR, :P_NRRESERVADO, :P_CDFILIAL, :P_CDCAIXA, :P_DTRESERVA, 'P') "
    "ON CONFLICT (CDCONTADOR, NRRESERVADO) DO NOTHING"};

const Statement acmInsReservaNFCe{
    "acmInsReservaNFCe",
    "INSERT INTO INUTILIZANFCE (CDFILIAL, CDCAIXA, NRNOTAFISCALCE, DTINUTILIZA, NRSERIENFCE, IDTPAMBNFCE, "
    "IDSTATUSINUT) VALUES (:P_CDFILIAL, :P_CDCAIXA, :P_NRNOTAFISCALCE, :P_DTINUTILIZA, :P_NRSERIENFCE, "
    ":P_IDTPAMBNFCE, 'P') ON CONFLICT (CDFILIAL, CDCAIXA, NRNOTAFISCALCE, NRSERIENFCE, IDTPAMBNFCE) DO NOTHING"};

const Statement acmUsaNumeroReservado{"acmUsaNumeroReservado",
                                      "UPDATE NUMERORESERVADO SET IDSTATUSRES = 'U', DTUSO = :P_DTUSO "
                                      "WHERE CDFILIAL = :P_CDFILIAL AND CDCAIXA = :P_CDCAIXA "
                                      "AND NRRESERVADO = :P_NUMERO AND IDSTATUSRES = 'P'"};

const Statement acmUsaReservaNFCe{"acmUsaReservaNFCe",
                                  "UPDATE INUTILIZANFCE SET IDSTATUSINUT = 'U' "
                                  "WHERE CDFILIAL = :P_CDFILIAL AND CDCAIXA = :P_CDCAIXA "
                                  "AND NRNOTAFISCALCE = :P_NUMERO AND IDSTATUSINUT = 'P'"};

const Statement adqNumerosReservados{
    "adqNumerosReservados",
    "SELECT CDCONTADOR, NRRESERVADO, DTRESERVA FROM NUMERORESERVADO "
    "WHERE CDFILIAL = :P_CDFILIAL AND CDCAIXA = :P_CDCAIXA AND IDSTATUSRES = 'P' "
    "UNION ALL "
    "SELECT 'PRXNFCE|' || CDFILIAL || '|' || NRSERIENFCE || '|' || IDTPAMBNFCE AS CDCONTADOR, "
    "NRNOTAFISCALCE AS NRRESERVADO, DTINUTILIZA AS DTRESERVA FROM INUTILIZANFCE "
    "WHERE CDFILIAL = :P_CDFILIAL AND CDCAIXA = :P_CDCAIXA AND IDSTATUSINUT = 'P' "
    "ORDER BY 3, 1, 2",
    {},
    {{"CDCONTADOR", base::FieldType::String},
     {"NRRESERVADO", base::FieldType::String},
     {"DTRESERVA", base::FieldType::DateTime}}};

}  // namespace

bool RecordReservation(StoreConnection& c, const std::string& counter, const std::string& number,
                       const std::string& cdfilial, const std::string& cdcaixa, const base::DateTime& when) {
  return c.Execute(acmInsNumeroReservado, {{"P_CDCONTADOR", counter},
                                           {"P_NRRESERVADO", number},
                                           {"P_CDFILIAL", cdfilial},
                                           {"P_CDCAIXA", cdcaixa},
                                           {"P_DTRESERVA", Variant(when)}}) > 0;
}

bool RecordNfceReservation(StoreConnection& c, const std::string& number, const std::string& cdfilial,
                           const std::string& cdcaixa, const std::string& nrserie, const std::string& ambiente,
                           const base::DateTime& day) {
  return c.Execute(acmInsReservaNFCe, {{"P_CDFILIAL", cdfilial},
                                       {"P_CDCAIXA", cdcaixa},
                                       {"P_NRNOTAFISCALCE", number},
                                       {"P_DTINUTILIZA", Variant(day)},
                                       {"P_NRSERIENFCE", nrserie},
                                       {"P_IDTPAMBNFCE", ambiente}}) > 0;
}

void MarkReservationUsed(StoreConnection& c, const std::string& cdfilial, const std::string& cdcaixa,
                         const std::string& number, const base::DateTime& when) {
  const Params keys = {{"P_CDFILIAL", cdfilial}, {"P_CDCAIXA", cdcaixa}, {"P_NUMERO", number}};
  Params with_date = keys;
  with_date.emplace_back("P_DTUSO", Variant(when));
  c.Execute(acmUsaNumeroReservado, with_date);
  c.Execute(acmUsaReservaNFCe, keys);
}

std::string TrdmRecebimento::MarkNumberUsed(const std::string& cdfilial, const std::string& cdcaixa,
                                            const std::string& numero) {
  try {
    StoreConnection& c = adcRecebimento();
    InOwnTransaction(c, [&] { MarkReservationUsed(c, cdfilial, cdcaixa, numero, Now()); });
    return "";
  } catch (const std::exception& e) {
    return ErrorText(e);
  }
}

base::Variant TrdmRecebimento::NumbersStillReserved(const std::string& cdfilial, const std::string& cdcaixa) {
  return PacketOf(adqNumerosReservados, {{"P_CDFILIAL", cdfilial}, {"P_CDCAIXA", cdcaixa}});
}

}  // namespace recebimento::datamodule
