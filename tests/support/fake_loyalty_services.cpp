#include "support/fake_loyalty_services.h"

namespace recebimento::testing {

namespace {

FakeReply Xml(const std::string& body) { return FakeReply(200, body, "application/xml"); }

std::string Between(const std::string& text, const std::string& open, const std::string& close) {
  const size_t a = text.find(open);
  if (a == std::string::npos) return "";
  const size_t b = text.find(close, a + open.size());
  return b == std::string::npos ? "" : text.substr(a + open.size(), b - a - open.size());
}

}  // namespace

std::vector<std::string> BodiesTo(const FakeHttpServer& server, const std::string& path) {
  std::vector<std::string> bodies;
  for (const RecordedRequest& r : server.Requests())
    if (r.path == path) bodies.push_back(r.body);
  return bodies;
}

// --- CRM Bonus ---------------------------------------------------------------------------

FakeCrmBonus::FakeCrmBonus() {
  for (const char* path : {"/crm/getBalance", "/crm/bonusProcessing", "/crm/addTotalSales"})
    server_.On("POST", path, [this](const RecordedRequest& r) { return Answer(r); });
}

void FakeCrmBonus::Balance(const std::string& balance, const std::string& bonus_id) {
  std::lock_guard l(m_);
  balance_ = balance;
  bonus_id_ = bonus_id;
}

void FakeCrmBonus::Override(const std::string& path, std::optional<FakeReply> reply) {
  std::lock_guard l(m_);
  if (reply) {
    overrides_[path] = *reply;
  } else {
    overrides_.erase(path);
  }
}

FakeReply FakeCrmBonus::Answer(const RecordedRequest& r) {
  std::lock_guard l(m_);
  if (const auto it = overrides_.find(r.path); it != overrides_.end()) return it->second;
  if (r.body.find("<authorization>crm-auth-9f2</authorization>") == std::string::npos)
    return Xml("<root><error>true</error><message>unauthorized</message></root>");
  const std::string phone = Between(r.body, "<phone>", "</phone>");
  if (r.path == "/crm/getBalance")
    return Xml("<root><error>false</error><data><balance>" + balance_ + "</balance><bonusId>" + bonus_id_ +
               "</bonusId></data></root>");
  if (r.path == "/crm/bonusProcessing")
    return Xml("<root><error>false</error><data><phone>" + phone + "</phone><bonusId>" + bonus_id_ +
               "</bonusId><orderIdCRM>ORD-CRM-1</orderIdCRM><bonusAmount>" +
               Between(r.body, "<bonusUsed>", "</bonusUsed>") + "</bonusAmount></data></root>");
  return Xml("<root><error>false</error><data><phone>" + phone + "</phone><saleIdCRM>SALE-1</saleIdCRM></data></root>");
}

// --- ClubPetro ---------------------------------------------------------------------------

FakeClubPetro::FakeClubPetro() {
  server_.On("POST", "/oauth/token", [this](const RecordedRequest& r) { return Answer("/oauth/token", r); });
  server_.On("POST", "/api/sale", [this](const RecordedRequest& r) {
    const std::string what = r.body.find("\"Consulta\"") != std::string::npos        ? "Consulta"
                             : r.body.find("\"consumo_ponto\"") != std::string::npos ? "consumo_ponto"
                                                                                     : "venda";
    return Answer(what, r);
  });
}

void FakeClubPetro::Consumer(const std::string& document, const std::string& balance, bool foreign,
                             const std::string& extra) {
  std::lock_guard l(m_);
  consumers_[(foreign ? "dni:" : "cpf:") + document] =
      "\"status_retorno\":true,\"cod_cliente\":\"C-" + document + "\",\"cartao\":\"6001" + document.substr(0, 4) +
      "\",\"telcelular\":\"11987654321\",\"saldopontos_talvora\":\"" + balance +
      "\",\"cpf_ativo\":\"S\",\"senha_resgate\":\"h4sh3d\",\"grupo\":\"OURO\",\"bloqueado\":\"0\","
      "\"flg_status_cliente\":\"1\"" +
      extra;
}

void FakeClubPetro::Override(const std::string& what, std::optional<FakeReply> reply) {
  std::lock_guard l(m_);
  if (reply) {
    overrides_[what] = *reply;
  } else {
    overrides_.erase(what);
  }
}

FakeReply FakeClubPetro::Answer(const std::string& what, const RecordedRequest& r) {
  std::lock_guard l(m_);
  if (const auto it = overrides_.find(what); it != overrides_.end()) return it->second;
  if (what == "/oauth/token") {
    if (r.body.find("\"client_secret\":\"cp-s3cr3t\"") == std::string::npos)
      return FakeReply(401, "{\"error\":\"invalid_client\"}");
    return FakeReply(200, "{\"access_token\":\"" + Token() + "\",\"access_point\":\"" + server_.BaseUrl() +
                              "\\/api\",\"expires_in\":3600}");
  }
  if (r.Header("token") != Token()) return FakeReply(401, "{\"error\":\"token\"}");
  if (what == "Consulta") {
    const bool foreign = r.body.find("\"dni\"") != std::string::npos;
    const std::string doc = Between(r.body, foreign ? "\"dni\":\"" : "\"cpf\":\"", "\"");
    const auto it = consumers_.find((foreign ? "dni:" : "cpf:") + doc);
    if (it == consumers_.end()) return FakeReply(200, "{\"status_retorno\":false,\"mensagem\":\"nao encontrado\"}");
    return FakeReply(200, "{" + it->second + "}");
  }
  if (what == "consumo_ponto") return FakeReply(200, "{\"autorizacao\":\"AUT-7781\",\"saldo\":\"12.50\"}");
  return FakeReply(200, "{\"status\":\"ok\"}");
}

// --- GCOM --------------------------------------------------------------------------------

FakeGcom::FakeGcom() {
  for (const char* path : {"/gcom/getConsumerBalance", "/gcom/balanceReserve"})
    server_.On("POST", path, [this](const RecordedRequest& r) { return Answer(r); });
}

void FakeGcom::Consumer(const std::string& balance, const std::string& percentage, const std::string& status) {
  std::lock_guard l(m_);
  balance_ = balance;
  percentage_ = percentage;
  status_ = status;
}

void FakeGcom::Override(const std::string& path, std::optional<FakeReply> reply) {
  std::lock_guard l(m_);
  if (reply) {
    overrides_[path] = *reply;
  } else {
    overrides_.erase(path);
  }
}

FakeReply FakeGcom::Answer(const RecordedRequest& r) {
  std::lock_guard l(m_);
  if (const auto it = overrides_.find(r.path); it != overrides_.end()) return it->second;
  if (r.Header("Authorization") != "Bearer gcom-t0k3n")
    return Xml("<root><error>true</error><message>token inválido</message></root>");
  if (r.path == "/gcom/getConsumerBalance")
    return Xml(
        "<root><error>false</error><message>ok</message><data><branchId>B1</branchId><consumerId>CONS-9</consumerId>"
        "<consumerName>MARIA SILVA</consumerName><cpf>12345678909</cpf><fidelityCampaign>CASHBACK POSTO</"
        "fidelityCampaign><fidelityId>F1</fidelityId><fidelityVersion>3</fidelityVersion><balance>" +
        balance_ + "</balance><redemptionPercentage>" + percentage_ +
        "</redemptionPercentage><creditPercentage>2</creditPercentage><status>" + status_ +
        "</status><brandId>BR7</brandId></data></root>");
  return Xml("<root><error>false</error><message>reservado</message><data><reserveId>RSV-42</reserveId></data></root>");
}

}  // namespace recebimento::testing
