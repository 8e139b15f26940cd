// Reservation of sale, NFC-e and external numbers, with the day counters that record
// the first number of each day.
#include <algorithm>
#include <cctype>
#include <functional>
#include <optional>

#include "base/text.h"
#include "datamodule/catalogue_support.h"
#include "datamodule/next_number.h"
#include "datamodule/number_reservations.h"
#include "datamodule/trdm_recebimento.h"
#include "host/runtime/strings.h"

namespace recebimento::datamodule {

namespace {

using base::Variant;

// Creating a counter that another register created a moment before is not an error:
// the first creation wins and the others find it.
#define INSERT_COUNTER                                                                         \
  "INSERT INTO NOVOCODIGO (CDCONTADOR, NRSEQUENCIAL) VALUES (:P_CDCONTADOR, :P_NRSEQUENCIAL) " \
  "ON CONFLICT (CDCONTADOR) DO NOTHING"

const Statement acmInsCupomInicial{"acmInsCupomInicial", INSERT_COUNTER};
const Statement acmInsVendaVistaPri{"acmInsVendaVistaPri", INSERT_COUNTER};
const Statement acmInsNumeroNFCePri{"acmInsNumeroNFCePri", INSERT_COUNTER};
const Statement acmInsVendaColombia{"acmInsVendaColombia", INSERT_COUNTER};

const Statement adqPesqVendaColombia{"adqPesqVendaColombia",
                                     "SELECT NRSEQUENCIAL FROM NOVOCODIGO WHERE CDCONTADOR = :P_CDCONTADOR"};
const Statement acmUpdVendaColombia{"acmUpdVendaColombia",
                                    "UPDATE NOVOCODIGO SET NRSEQUENCIAL = :P_NRSEQUENCIAL "
                                    "WHERE CDCONTADOR = :P_CDCONTADOR"};

// The register's highest external number with the prefix. Numbers of one range share
// a width, so the longest and then highest text is the highest number.
const Statement adqPesqVenda{"adqPesqVenda",
                             "SELECT NRVENDAEXT FROM VENDA WHERE CDFILIAL = :P_CDFILIAL AND CDCAIXA = :P_CDCAIXA "
                             "AND NRVENDAEXT LIKE :P_PREFIXO ESCAPE '!' "
                             "ORDER BY LENGTH(NRVENDAEXT) DESC, NRVENDAEXT DESC LIMIT 1"};

const Statement acmInsInutilizaNFCe{"acmInsInutilizaNFCe",
                                    "INSERT INTO INUTILIZANFCE (CDFILIAL, CDCAIXA, NRNOTAFISCALCE, DTINUTILIZA, "
                                    "NRSERIENFCE, IDTPAMBNFCE, IDSTATUSINUT) VALUES (:P_CDFILIAL, :P_CDCAIXA, "
                                    ":P_NRNOTAFISCALCE, :P_DTINUTILIZA, :P_NRSERIENFCE, :P_IDTPAMBNFCE, 'P')"};

// Day counters carry the date as the registers write it.
std::string DateText(const base::DateTime& date) { return date.Format("dd/mm/yyyy"); }

bool AllDigits(const std::string& s) {
  if (s.empty()) return false;
  for (unsigned char c : s) {
    if (!std::isdigit(c)) return false;
  }
  return true;
}

// A number text as an integer; nullopt when it is not plain digits or too long.
std::optional<long long> ParseNumber(const std::string& text) {
  const std::string digits = base::Trim(text);
  if (!AllDigits(digits) || digits.size() > 18) return std::nullopt;
  return std::stoll(digits);
}

std::string LikePrefix(const std::string& prefix) {
  std::string escaped;
  for (char c : prefix) {
    if (c == '%' || c == '_' || c == '!') escaped += '!';
    escaped += c;
  }
  return escaped + "%";
}

// A number belongs to a register: without its branch and register it could be neither
// recorded as reserved nor reported later.
bool RegisterKnown(const std::string& cdfilial, const std::string& cdcaixa) {
  return !base::Trim(cdfilial).empty() && !base::Trim(cdcaixa).empty();
}
const char* const kNoRegister = "Número não reservado: a filial e o caixa não foram informados.";

// True when this call created the counter; false when it was there already.
bool CreateCounter(StoreConnection& c, const Statement& statement, const std::string& key, const std::string& value) {
  return c.Execute(statement, {{"P_CDCONTADOR", key}, {"P_NRSEQUENCIAL", value}}) > 0;
}

}  // namespace

std::string TrdmRecebimento::setGravaCupomInicial(const std::string& cdfilial, const std::string& cdcaixa,
                                                  const std::string& nrcupom, const base::DateTime& data) {
  try {
    CreateCounter(adcRecebimento(), acmInsCupomInicial, "CUPINICIAL" + cdfilial + cdcaixa + DateText(data),
                  runtime::Ajusta(nrcupom, 10));
    return "";
  } catch (const std::exception& e) {
    return ErrorText(e);
  }
}

Variant TrdmRecebimento::setNrVendaNFisc(const std::string& cdfilial, const std::string& cdcaixa,
                                         const std::string& tipo) {
  if (!RegisterKnown(cdfilial, cdcaixa)) return Variant(kNoRegister);
  try {
    StoreConnection& c = adcRecebimento();
    return Variant(InOwnTransaction(c, [&] {
      TdtmZemProxCodigo generator(c);
      const std::string counter = SaleCounterKey(cdfilial, cdcaixa);
      std::string numero;
      do {
        numero =
            tipo == "C" ? generator.PrxVendaConsumidor(cdfilial, cdcaixa) : generator.PrxVendaVista(cdfilial, cdcaixa);
      } while (!RecordReservation(c, counter, numero, cdfilial, cdcaixa, Now()));
      CreateCounter(c, acmInsVendaVistaPri, "VENDAVISTAPRIM" + cdfilial + cdcaixa + DateText(Today()), numero);
      return numero;
    }));
  } catch (const std::exception& e) {
    return Variant(ErrorText(e));
  }
}

Variant TrdmRecebimento::setNumeroNFCe(const std::string& cdfilial, const std::string& cdcaixa,
                                       const std::string& nrserie, const std::string& ambiente, bool inutiliza) {
  if (!RegisterKnown(cdfilial, cdcaixa)) return Variant(kNoRegister);
  try {
    StoreConnection& c = adcRecebimento();
    return Variant(InOwnTransaction(c, [&] {
      TdtmZemProxCodigo generator(c);
      std::string numero;
      if (inutiliza) {
        // Set aside on purpose: a number already recorded is an error, and nothing is spent.
        numero = generator.PrxNumeroNFCe(cdfilial, nrserie, ambiente);
        c.Execute(acmInsInutilizaNFCe, {{"P_CDFILIAL", cdfilial},
                                        {"P_CDCAIXA", cdcaixa},
                                        {"P_NRNOTAFISCALCE", numero},
                                        {"P_DTINUTILIZA", Variant(Today())},
                                        {"P_NRSERIENFCE", nrserie},
                                        {"P_IDTPAMBNFCE", ambiente}});
      } else {
        // For a sale: reserved in the set-aside table until the sale is recorded; a number
        // found there already (set aside before) is never given to a sale.
        do {
          numero = generator.PrxNumeroNFCe(cdfilial, nrserie, ambiente);
        } while (!RecordNfceReservation(c, numero, cdfilial, cdcaixa, nrserie, ambiente, Today()));
      }
      CreateCounter(c, acmInsNumeroNFCePri,
                    "NFCE-PRIM_" + cdfilial + nrserie + "-" + DateText(Today()) + "_TpAmb" + ambiente, numero);
      return numero;
    }));
  } catch (const std::exception& e) {
    return Variant(ErrorText(e));
  }
}

Variant TrdmRecebimento::getPrxVendaColombia(const std::string& cdfilial, const std::string& cdcaixa,
                                             const std::string& prefixo, const std::string& primeiro,
                                             const std::string& ultimo) {
  if (!RegisterKnown(cdfilial, cdcaixa)) return Variant(kNoRegister);
  const auto first = ParseNumber(primeiro);
  const auto last = ParseNumber(ultimo);
  if (!first || !last || *first > *last) {
    return Variant("Faixa de numeração inválida: " + primeiro + " a " + ultimo);
  }
  const int width = static_cast<int>(std::max(base::Trim(primeiro).size(), base::Trim(ultimo).size()));
  auto padded = [&](long long n) { return runtime::AjustaZero(std::to_string(n), width); };
  const std::string key = ExternalCounterKey(cdfilial, cdcaixa);
  try {
    StoreConnection& c = adcRecebimento();
    // The next number of the range, or "CUPINV" once it is spent.
    auto next_in_range = [&]() -> std::string {
      if (FirstValue(c.Query(adqPesqVendaColombia, {{"P_CDCONTADOR", key}}), "NRSEQUENCIAL").IsNull()) {
        // A new counter starts from the register's last external number, or at the
        // first number of the range when the register has none yet.
        std::optional<long long> used;
        const Variant last_sale =
            FirstValue(c.Query(adqPesqVenda,
                               {{"P_CDFILIAL", cdfilial}, {"P_CDCAIXA", cdcaixa}, {"P_PREFIXO", LikePrefix(prefixo)}}),
                       "NRVENDAEXT");
        if (!last_sale.IsNull()) used = ParseNumber(last_sale.AsString().substr(prefixo.size()));
        if (!used) {
          if (CreateCounter(c, acmInsVendaColombia, key, padded(*first))) return padded(*first);
        } else {
          // That number is already on a sale: the counter records it and the next one is
          // handed out below, never the same number twice.
          CreateCounter(c, acmInsVendaColombia, key, padded(*used));
        }
      }
      TdtmZemProxCodigo generator(c);
      const auto next = ParseNumber(generator.PrxVendaColombia(cdfilial, cdcaixa));
      if (!next) throw DatabaseError("counter " + key + " holds no number");
      if (*next < *first) {
        c.Execute(acmUpdVendaColombia, {{"P_CDCONTADOR", key}, {"P_NRSEQUENCIAL", padded(*first)}});
        return padded(*first);
      }
      if (*next > *last) {
        c.Execute(acmUpdVendaColombia, {{"P_CDCONTADOR", key}, {"P_NRSEQUENCIAL", padded(*last)}});
        return "CUPINV";
      }
      return padded(*next);
    };
    return Variant(InOwnTransaction(c, [&] {
      // The sale carries the number with its prefix, and so does its reservation.
      std::string numero;
      do {
        numero = next_in_range();
      } while (numero != "CUPINV" && !RecordReservation(c, key, prefixo + numero, cdfilial, cdcaixa, Now()));
      return numero;
    }));
  } catch (const std::exception& e) {
    return Variant(ErrorText(e));
  }
}

}  // namespace recebimento::datamodule
