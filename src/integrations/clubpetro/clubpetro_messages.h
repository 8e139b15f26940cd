#pragma once
// ClubPetro's JSON bodies (members in the programme's order) and the readers of its
// replies. The readers never fail: a member that is not there reads as empty.
#include <string>
#include <vector>

#include "base/datetime.h"

namespace recebimento::integrations {

// The product family of a product code's first three characters; a code outside the
// programme's table keeps the family of the item before it (`previous`).
std::string ClubPetroFamily(const std::string& product_code, const std::string& previous);

// {"grant_type","client_id","client_secret"} of the token request.
std::string ClubPetroTokenBody(const std::string& client_id, const std::string& client_secret);

// The consultation of a CPF (`foreign` false) or a foreign document.
std::string ClubPetroConsultationBody(const std::string& document, bool foreign, const std::string& store);

struct ClubPetroRedemption {
  std::string store, cod_cliente, phone, card;
  std::string points;  // "0.00", point as separator
  std::string attendant;
  std::string unique_id;
  base::DateTime moment;
};
std::string ClubPetroRedemptionBody(const ClubPetroRedemption& r);

// An item of the sale as the sale report takes it.
struct ClubPetroItem {
  std::string CDPRODUTO;
  double QTPRODCOMVEN = 0, VRPRECCOMVEN = 0, VRUNITVENDCL = 0, VRDESCCOMVEN = 0, VRACRCOMVEN = 0;
  // (price + unit extra) x quantity - discount + surcharge.
  double Value() const;
};
struct ClubPetroSale {
  std::string store, unique_id, card;
  base::DateTime moment;
  std::vector<ClubPetroItem> items;
};
std::string ClubPetroSaleBody(const ClubPetroSale& sale);

// The token's reply: the token and the API address (backslashes dropped, "/" then
// "sale" appended).
struct ClubPetroToken {
  std::string access_token;
  std::string api_url;
};
ClubPetroToken ReadClubPetroToken(const std::string& reply);

// The consultation's reply.
struct ClubPetroConsumer {
  bool unknown = false;   // "status_retorno" false: no such consumer
  bool blocked = false;   // "bloqueado" 1
  bool declined = false;  // "flg_status_cliente" 0: the programme's terms not accepted
  std::string bloqueado, flg_status_cliente;
  std::string cod_cliente, cartao, telcelular, cpf_ativo, senha_resgate, grupo;
  // "saldopontos_talvora" without its "," and with "." as ","; re-formatted "0,0000"
  // unless it is empty or "VAZIO" (kept as it came).
  std::string saldopontos;
};
ClubPetroConsumer ReadClubPetroConsumer(const std::string& reply);

// The redemption's reply: the authorisation and, when the reply has one, the balance
// left (0 for a text that is no amount).
struct ClubPetroRedemptionReply {
  std::string autorizacao;
  bool has_balance = false;
  double saldo = 0;
};
ClubPetroRedemptionReply ReadClubPetroRedemption(const std::string& reply);

}  // namespace recebimento::integrations
