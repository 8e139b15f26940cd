#pragma once
// The ClubPetro state of a sale: the branch's credentials and token address, the API
// address that came with the token, the consumer looked up (cdsConsClubPetro, one record
// per consumer), and what the redemption returned.
#include <string>

#include "base/dataset.h"
#include "base/datetime.h"

namespace recebimento::integrations {

// The branch's redemption credentials (cdsDadosResgSaldo) and the address of the
// programme's token endpoint (DSURLRAIZ of the branch's sale parameters).
struct ClubPetroSettings {
  std::string DSIDRESGS;     // client id
  std::string DSSENHARESGS;  // client secret
  std::string token_url;

  bool HasCredentials() const { return !DSIDRESGS.empty() && !DSSENHARESGS.empty(); }
};
ClubPetroSettings ClubPetroSettingsFrom(base::Dataset& cdsDadosResgSaldo);

struct ClubPetroState {
  ClubPetroState();

  base::Dataset cdsConsClubPetro{"cdsConsClubPetro"};

  std::string UrlRaizAPIClubPetro;  // the API address returned with the token, ending in "/sale"
  std::string stCNPJFil;            // the branch's CNPJ, sent as the store's code
  std::string stClubPetroOnline = "S";
  std::string stGrupoConsClubPetro, stIdUnicoClubPetro, stSenhaClubPetro;
  std::string stCDCNPJRESGSALDO, stCDINTRESGSALDO;
  std::string stIDTIPORESGATE = "N";  // "N" none, "F" no credentials, "O" online
  double doSaldoRest = 0;             // balance left after the redemption
  double doSaldoValorClubPetro = 0;
  double dbPontosClubPetro = 0;
  double doPontosResgatados = 0;
  int doTentativaClubPetro = 0;
  bool boCliClubPetroExiste = true;
  bool boMsgErrClubPetro = false;
  bool boConsClubPetroCriado = false;
  base::DateTime dtAgoraClubPetro;

  // The consumer record's columns, empty; an open dataset stays open.
  void ResetConsumers();
  // The points balance of the current consumer record; 0 for "VAZIO" or no record.
  double PointsBalance();
};

}  // namespace recebimento::integrations
