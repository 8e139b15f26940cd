#pragma once
// The ClubPetro programme: the token with the branch's client credentials, the
// consultation of a consumer by CPF (retried once as a foreign document), the
// redemption of points and the sale report. Every call posts JSON through the frame's
// streams and returns its status in arResultClubPetro; on failure the texts are in
// stMensagemClubPetro and stMensagemClubPetroAux. The log never holds a credential.
#include <string>
#include <vector>

#include "integrations/clubpetro/clubpetro_messages.h"
#include "integrations/clubpetro/clubpetro_state.h"
#include "integrations/integration_context.h"
#include "integrations/rest/frame_variables.h"
#include "integrations/rest/loggers.h"

namespace recebimento::integrations {

// Why the consultation found no consumer to take points from.
enum class ClubPetroRefusal { None, NoAnswer, Unknown, Blocked, Declined };

class ClubPetroClient {
 public:
  ClubPetroClient(const IntegrationContext& context, const Loggers& log, ClubPetroFrame& frame, ClubPetroState& state,
                  SharedFrameVariables& shared, const ClubPetroSettings& settings);

  // The token (stTokenApiClubPetro) and the API address (UrlRaizAPIClubPetro). Without
  // credentials nothing is asked and the redemption kind becomes "F".
  bool buscaTokenResgate();
  // The consumer of `Document` ("S" in Foreign: a foreign document) into
  // cdsConsClubPetro. A CPF the programme does not know is asked again once as a foreign
  // document. False with the refusal's reason in `refusal`.
  bool buscaDadosConsClubPetro(const std::string& Token, const std::string& Document, const std::string& Foreign,
                               ClubPetroRefusal* refusal = nullptr);
  // The redemption of `points` of the current consumer record ("consumo_ponto"): the
  // authorisation and the balance left.
  bool ResgataPontos(const std::string& Token, double points, const std::string& attendant,
                     const base::DateTime& moment);
  // The sale report with its items by product family.
  bool InformaVenda(const std::vector<ClubPetroItem>& items, const base::DateTime& moment);

 private:
  // Posts `body` with the token header ("" for none) to `url`: true on status 200, with
  // the reply in stClubPetroResult; otherwise the failure texts set for `step`.
  bool Post(const std::string& url, const std::string& token, const std::string& body, const std::string& timeout,
            const std::string& step);
  void Fail(const std::string& log_text, const std::string& message);

  const IntegrationContext& context_;
  const Loggers& log_;
  ClubPetroFrame& frame_;
  ClubPetroState& state_;
  SharedFrameVariables& shared_;
  const ClubPetroSettings& settings_;
  int status_ = 0;
};

}  // namespace recebimento::integrations
