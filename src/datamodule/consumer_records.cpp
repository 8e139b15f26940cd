// Consumer registration and CPF, and the consumer's prices on an open tab.
#include <string>

#include "base/text.h"
#include "datamodule/catalogue_support.h"
#include "datamodule/trdm_recebimento.h"
#include "host/runtime/documents.h"
#include "host/runtime/numbers.h"

namespace recebimento::datamodule {

namespace {

using base::Variant;

#define CONSUMER_KEY "CDCLIENTE = :CDCLIENTE AND CDCONSUMIDOR = :CDCONSUMIDOR"

const Statement acmConsumidor{
    "acmConsumidor",
    "INSERT INTO CONSUMIDOR (CDCLIENTE, CDCONSUMIDOR, NMCONSUMIDOR, IDSITCONSUMI, IDCONSUMIDOR, "
    "CDIDCONSUMID, CDCCUSCLIE, CDTIPOCONS, NRRGCONSUMID, NRTELEFCONS, NRTELEF2CONS, "
    "CDORIGEMCONS, NRCPFRESPCON, DTULTATUCSUM, IDATUCONSUMI) VALUES (:CDCLIENTE, :CDCONSUMIDOR, "
    ":NMCONSUMIDOR, '1', 'C', :CDIDCONSUMID, :CDCCUSCLIE, :CDTIPOCONS, :NRRGCONSUMID, "
    ":NRTELEFCONS, :NRTELEF2CONS, :CDORIGEMCONS, :NRCPFRESPCON, :DTULTATUCSUM, :IDATUCONSUMI)"};

const Statement adqAtuConsumidor{"adqAtuConsumidor",
                                 "SELECT IDATUCONSUMI, IDATUCPFCONS, NRCPFRESPCON FROM CONSUMIDOR WHERE " CONSUMER_KEY};

const Statement acmUpdCpfConsumidor{"acmUpdCpfConsumidor",
                                    "UPDATE CONSUMIDOR SET NRCPFRESPCON = :NRCPFRESPCON, DTULTATUCSUM = :DTULTATUCSUM, "
                                    "IDATUCONSUMI = :IDATUCONSUMI WHERE " CONSUMER_KEY};

#define TAB_ITEM "CDFILIAL = :CDFILIAL AND NRVENDAREST = :NRVENDAREST AND NRCOMANDA = :NRCOMANDA"
#define NEW_PRICES "VRPRECCOMVEN = :VRPRECCOMVEN, VRDESCCOMVEN = :VRDESCCOMVEN, VRACRCOMVEN = :VRACRCOMVEN"

const Statement acmUpdPrecConsPos{"acmUpdPrecConsPos",
                                  "UPDATE ITCOMANDAVEN SET " NEW_PRICES " WHERE " TAB_ITEM
                                  " AND NRPRODCOMVEN = :NRPRODCOMVEN AND NRLUGARMESA = :NRLUGARMESA"};
const Statement acmUpdPrecCons{"acmUpdPrecCons", "UPDATE ITCOMANDAVEN SET " NEW_PRICES " WHERE " TAB_ITEM
                                                 " AND NRPRODCOMVEN = :NRPRODCOMVEN AND CDPRODUTO = :CDPRODUTO"};
const Statement acmUpdConsumidor{"acmUpdConsumidor",
                                 "UPDATE VENDAREST SET CDCLIENTE = :CDCLIENTE, CDCONSUMIDOR = :CDCONSUMIDOR "
                                 "WHERE CDFILIAL = :CDFILIAL AND NRVENDAREST = :NRVENDAREST"};
const Statement acmUpdComandaFid{"acmUpdComandaFid", "UPDATE COMANDAVEN SET VRDESCFID = NULL WHERE " TAB_ITEM};

// A CPF the store keeps: eleven digits that pass the check digits and are not one digit
// repeated. Anything else is not stored, and is not an error either.
bool StorableCpf(const std::string& cpf) {
  if (cpf.size() != 11) return false;
  for (char c : cpf)
    if (c < '0' || c > '9') return false;
  if (cpf.find_first_not_of(cpf[0]) == std::string::npos) return false;
  return runtime::CPFOk(cpf);
}

}  // namespace

Variant TrdmRecebimento::setGravaConsumidor(const std::string& cdcliente, const std::string& cdconsumidor,
                                            const std::string& nmconsumidor, const std::string& cdidconsumid,
                                            const std::string& cdccusclie, const std::string& cdtipocons,
                                            const std::string& nrrgconsumid, const std::string& nrtelefcons,
                                            const std::string& nrtelef2cons, const std::string& origem,
                                            const std::string& modo, const std::string& nrcpf) {
  try {
    StoreConnection& c = adcRecebimento();
    InOwnTransaction(c, [&] {
      const Params key = {{"CDCLIENTE", cdcliente}, {"CDCONSUMIDOR", cdconsumidor}};
      std::string mark = origem == "SERVIDOR" ? "S" : "I";
      const std::string cpf = base::Trim(nrcpf);
      if (modo == "1") {
        // A new consumer is registered with the CPF given when it is one the store keeps.
        c.Execute(acmConsumidor, {{"CDCLIENTE", cdcliente},
                                  {"CDCONSUMIDOR", cdconsumidor},
                                  {"NMCONSUMIDOR", nmconsumidor},
                                  {"CDIDCONSUMID", cdidconsumid},
                                  {"CDCCUSCLIE", cdccusclie},
                                  {"CDTIPOCONS", cdtipocons},
                                  {"NRRGCONSUMID", nrrgconsumid},
                                  {"NRTELEFCONS", nrtelefcons},
                                  {"NRTELEF2CONS", nrtelef2cons},
                                  {"CDORIGEMCONS", origem},
                                  {"NRCPFRESPCON", StorableCpf(cpf) ? Variant(cpf) : Variant::Null()},
                                  {"DTULTATUCSUM", Now()},
                                  {"IDATUCONSUMI", mark}});
        return;
      }
      const base::DataPacket stored = c.Query(adqAtuConsumidor, key);
      if (stored.rows.empty()) return;
      mark = FirstValue(stored, "IDATUCONSUMI").AsString() == "I" ? "I" : "A";
      if (FirstValue(stored, "IDATUCPFCONS").AsString() != "S") return;
      if (cpf == base::Trim(FirstValue(stored, "NRCPFRESPCON").AsString()) || !StorableCpf(cpf)) return;
      c.Execute(acmUpdCpfConsumidor, {{"NRCPFRESPCON", cpf},
                                      {"DTULTATUCSUM", Now()},
                                      {"IDATUCONSUMI", mark},
                                      {"CDCLIENTE", cdcliente},
                                      {"CDCONSUMIDOR", cdconsumidor}});
    });
    return Variant(true);
  } catch (const std::exception& e) {
    return Variant(ErrorText(e));
  }
}

std::string TrdmRecebimento::setPrecCons(const std::string& cdfilial, const std::string& nrvendarest,
                                         const std::string& nrcomanda, const std::string& cdproduto,
                                         const std::string& nrprodcomven, const std::string& origem,
                                         const std::string& nrlugarmesa, const std::string& cdcliente,
                                         const std::string& cdconsumidor, double vrpreco, double vrdesconto,
                                         double vracrescimo) {
  // The host hands the amounts over in single precision: back to the store's four
  // decimals, so 12.34 is stored as 12.34 and not as 12.3400001525.
  auto amount = [](double v) { return Variant(runtime::RoundDec(v, 4)); };
  try {
    StoreConnection& c = adcRecebimento();
    InOwnTransaction(c, [&] {
      const Params tab = {{"CDFILIAL", cdfilial}, {"NRVENDAREST", nrvendarest}, {"NRCOMANDA", nrcomanda}};
      Params item = tab;
      item.insert(item.end(), {{"VRPRECCOMVEN", amount(vrpreco)},
                               {"VRDESCCOMVEN", amount(vrdesconto)},
                               {"VRACRCOMVEN", amount(vracrescimo)},
                               {"NRPRODCOMVEN", nrprodcomven}});
      if (origem == "APP") {
        item.emplace_back("NRLUGARMESA", nrlugarmesa);
        c.Execute(acmUpdPrecConsPos, item);
      } else {
        item.emplace_back("CDPRODUTO", cdproduto);
        c.Execute(acmUpdPrecCons, item);
        c.Execute(acmUpdConsumidor, {{"CDCLIENTE", cdcliente},
                                     {"CDCONSUMIDOR", cdconsumidor},
                                     {"CDFILIAL", cdfilial},
                                     {"NRVENDAREST", nrvendarest}});
      }
      c.Execute(acmUpdComandaFid, tab);
    });
    return "";
  } catch (const std::exception& e) {
    return ErrorText(e);
  }
}

}  // namespace recebimento::datamodule
