#pragma once
// The module-level variables of the REST frame, one set per integration: the message and
// its detail, the held result text the extractors read, the token, the request streams
// and name=value lists (which exist between prepare and release) and the result array.
// They outlive a single request; each integration's own state lives in its folder.
#include <memory>
#include <string>
#include <vector>

#include "base/variant.h"
#include "integrations/rest/name_value_list.h"

namespace recebimento::integrations {

// An in-memory text stream of the frame (request body, header, response).
using FrameStream = std::unique_ptr<std::string>;
using FrameList = std::unique_ptr<NameValueList>;

// A fresh result array: two empty elements, indices 0 and 1.
base::Variant NewResultArray();

// Shared by every integration.
struct SharedFrameVariables {
  std::string stErroRequisicao;  // the whole response of the last failed request
  std::string JSONBody;          // the JSON text last built from a body list
};

struct AmeFrame {
  std::string stMensagemAme, stMensagemAmeAux;
  std::string stAmeResult;
  std::string stTokenApiAme;
  FrameStream ameResponse, ameHeader, ameBody;
  FrameList stlAmeBody, stlAmeHeader;
  base::Variant arResultAme;

  void preparaVariaveisAme();
  void desalocaVariaveisAme();
  void insereBodyAme(const std::string& Name, const std::string& Value);
  void insereHeaderAme(const std::string& Name, const std::string& Value);
};

struct CrmBonusFrame {
  std::string stMensagemCRMBONUS, stMensagemCRMBONUSAux;
  std::string stCRMBONUSResult, stCRMBONUSResultAux;
  FrameStream CRMBONUSResponse, CRMBONUSHeader, CRMBONUSBody;
  FrameList stlCRMBONUSBody, stlCRMBONUSHeader;
  base::Variant arResultCRMBONUS;

  void preparaVariaveisCRMBONUS();
  void desalocaVariaveisCRMBONUS();
  void insereBodyCRMBONUS(const std::string& Name, const std::string& Value);
  void insereHeaderCRMBONUS(const std::string& Name, const std::string& Value);
};

struct ClubPetroFrame {
  std::string stMensagemClubPetro, stMensagemClubPetroAux;
  std::string stClubPetroResult;
  std::string stTokenApiClubPetro;
  FrameStream clubPetroResponse, clubPetroHeader, clubPetroBody;
  FrameList stlClubPetroBody;
  base::Variant arResultClubPetro;

  void preparaVariaveisClubPetro();
  void desalocaVariaveisClubPetro();
  void insereBodyClubPetro(const std::string& Name, const std::string& Value);
};

// Mercado Pago keeps no streams: its requests take the flat form.
struct MercadoPagoFrame {
  std::string stMensagemMp;
  std::string stMpResult;
  std::string stACCESSTOKEN;
  // Merchant orders seen for the order being paid, and those seen with a rejected payment.
  std::vector<std::string> stlIdOrdemMpLista, stlIdOrdemMpRejeitado;
};

}  // namespace recebimento::integrations
