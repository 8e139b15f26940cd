#include "integrations/clubpetro/clubpetro_messages.h"

#include <algorithm>
#include <cstdio>
#include <map>

#include "base/text.h"
#include "host/runtime/format.h"
#include "host/runtime/json_helpers.h"
#include "host/runtime/numbers.h"
#include "integrations/rest/json_extractors.h"
#include "integrations/rest/number_text.h"

namespace recebimento::integrations {

namespace {

using runtime::JsonQuote;

std::string Member(const char* name, const std::string& value) { return JsonQuote(name) + ":" + JsonQuote(value); }

// A quantity as written on the sale: up to three decimals, no trailing zeros.
std::string Quantity(double q) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.3f", q);
  std::string text = buffer;
  while (!text.empty() && text.back() == '0') text.pop_back();
  if (!text.empty() && text.back() == '.') text.pop_back();
  return text == "-0" ? "0" : text;
}

std::string Replace(std::string text, char from, const std::string& to) {
  std::string out;
  for (char c : text) out += c == from ? to : std::string(1, c);
  return out;
}

}  // namespace

std::string ClubPetroFamily(const std::string& product_code, const std::string& previous) {
  static const std::map<std::string, std::string> kFamilies = {{"201", "BEBIDAS"},
                                                               {"202", "BOMBONIER"},
                                                               {"203", "SALGADOS"},
                                                               {"204", "LANCHONETE"},
                                                               {"205", "RESTAURANTE"},
                                                               {"206", "MERCEARIA"},
                                                               {"207", "SORVETES"},
                                                               {"208", "PERFUMARIA"},
                                                               {"209", "CALCADOS"},
                                                               {"210", "VESTUARIO"},
                                                               {"211", "CARNES / CONGELADOS"},
                                                               {"212", "LOJA"},
                                                               {"213", "SERVICO"},
                                                               {"214", "CIGARROS"},
                                                               {"215", "CARTAO"},
                                                               {"216", "FERRAMENTAS"},
                                                               {"217", "GUARNICOES"},
                                                               {"220", "LANCHONETE"},
                                                               {"221", "REFEICOES"}};
  const auto it = kFamilies.find(base::Utf8Left(base::Trim(product_code), 3));
  return it == kFamilies.end() ? previous : it->second;
}

std::string ClubPetroTokenBody(const std::string& client_id, const std::string& client_secret) {
  return runtime::retornaJSON(
      {"grant_type=client_credentials", "client_id=" + client_id, "client_secret=" + client_secret});
}

std::string ClubPetroConsultationBody(const std::string& document, bool foreign, const std::string& store) {
  return "{" + JsonQuote("cliente") + ":{" + Member("operacao", "Consulta") + "," +
         Member(foreign ? "dni" : "cpf", document) + "," + Member("cod_loja", store) + "}}";
}

std::string ClubPetroRedemptionBody(const ClubPetroRedemption& r) {
  return "{" + JsonQuote("resgate") + ":{" + Member("operacao", "consumo_ponto") + "," + Member("cod_loja", r.store) +
         "," + Member("cod_cliente", r.cod_cliente) + "," + Member("num_tel_celular", r.phone) + "," +
         Member("cartao", r.card) + "," + Member("pontostotal", r.points) + "," + Member("atendente", r.attendant) +
         "," + Member("descricao", "Vendas Brisova - Talvora - ONLINE") + "," +
         Member("data", r.moment.Format("yyyy-mm-dd")) + "," + Member("hora", r.moment.Format("hh-nn-ss")) + "," +
         Member("id_consumo_ponto", r.unique_id) + "}}";
}

double ClubPetroItem::Value() const {
  return (VRPRECCOMVEN + VRUNITVENDCL) * QTPRODCOMVEN - VRDESCCOMVEN + VRACRCOMVEN;
}

std::string ClubPetroSaleBody(const ClubPetroSale& sale) {
  double total = 0, volume = 0;
  std::string items, family;
  int position = 0;
  for (const ClubPetroItem& item : sale.items) {
    // Each item's value is cut to cents once, so the total is the sum of what is listed.
    const double value = runtime::RoundDec(item.Value(), 2);
    total += value;
    volume += item.QTPRODCOMVEN;
    family = ClubPetroFamily(item.CDPRODUTO, family);
    char id[16];
    std::snprintf(id, sizeof id, "%.3d", ++position);
    if (!items.empty()) items += ",";
    items += "{" + Member("id_item", id) + "," + Member("produto", family) + "," +
             Member("codigoproduto", base::Utf8Left(base::Trim(item.CDPRODUTO), 3)) + "," +
             Member("grupoproduto", family) + "," + Member("quantidade", Quantity(item.QTPRODCOMVEN)) + "," +
             Member("valor", FormataFloat(value)) + "}";
  }
  return "{" + JsonQuote("venda") + ":{" + Member("operacao", "venda") + "," + Member("cod_loja", sale.store) + "," +
         Member("data", sale.moment.Format("yyyy-mm-dd")) + "," + Member("hora", sale.moment.Format("hh:nn:ss")) + "," +
         Member("abastecimento", "1") + "," + Member("id_venda", sale.unique_id) + "," + Member("cartao", sale.card) +
         "," + Member("valortotal", FormataFloat(runtime::RoundDec(total, 2))) + "," + Member("vendedor", "") + "," +
         Member("qtd_volume_total", Quantity(volume)) + "," + JsonQuote("items") + ":[" + items + "]}}";
}

ClubPetroToken ReadClubPetroToken(const std::string& reply) {
  ClubPetroToken t;
  t.access_token = retornaCampoJSONClubPetro(reply, "access_token");
  std::string point = retornaCampoJSONClubPetro(reply, "access_point");
  point.erase(std::remove(point.begin(), point.end(), '\\'), point.end());
  point = base::Trim(point);
  if (point.empty()) return t;
  if (point.back() != '/') point += '/';
  t.api_url = point + "sale";
  return t;
}

ClubPetroConsumer ReadClubPetroConsumer(const std::string& reply) {
  ClubPetroConsumer c;
  c.unknown = base::IEquals(base::Trim(retornaCampoJSONClubPetro(reply, "status_retorno")), "false");
  c.bloqueado = base::Trim(retornaCampoJSONClubPetro(reply, "bloqueado"));
  c.flg_status_cliente = base::Trim(retornaCampoJSONClubPetro(reply, "flg_status_cliente"));
  c.blocked = c.bloqueado == "1";
  c.declined = c.flg_status_cliente == "0";
  c.cod_cliente = retornaCampoJSONClubPetro(reply, "cod_cliente");
  c.cartao = retornaCampoJSONClubPetro(reply, "cartao");
  c.telcelular = retornaCampoJSONClubPetro(reply, "telcelular");
  c.cpf_ativo = retornaCampoJSONClubPetro(reply, "cpf_ativo");
  c.senha_resgate = retornaCampoJSONClubPetro(reply, "senha_resgate");
  c.grupo = retornaCampoJSONClubPetro(reply, "grupo");
  std::string balance = base::Trim(retornaCampoJSONClubPetro(reply, "saldopontos_talvora"));
  balance.erase(std::remove(balance.begin(), balance.end(), ','), balance.end());
  balance = Replace(balance, '.', ",");
  if (!balance.empty() && !base::IEquals(balance, "VAZIO")) {
    try {
      balance = runtime::FormatFloat("0.0000", ToFloat(balance), runtime::BrazilianNumberLocale());
    } catch (const NumberConversionError&) {
      // Kept as it came; it counts as no balance.
    }
  }
  c.saldopontos = balance;
  return c;
}

ClubPetroRedemptionReply ReadClubPetroRedemption(const std::string& reply) {
  ClubPetroRedemptionReply r;
  r.autorizacao = retornaCampoJSONClubPetro(reply, "autorizacao");
  if (reply.find("\"saldo\"") == std::string::npos) return r;
  r.has_balance = true;
  try {
    r.saldo = ToFloat(Replace(base::Trim(retornaCampoJSONClubPetro(reply, "saldo")), '.', ","));
  } catch (const NumberConversionError&) {
    r.saldo = 0;
  }
  return r;
}

}  // namespace recebimento::integrations
