#include "integrations/rest/frame_variables.h"

#include <initializer_list>

namespace recebimento::integrations {

namespace {

// Prepare keeps what already exists and creates the rest.
void CreateMissing(std::initializer_list<FrameStream*> streams, std::initializer_list<FrameList*> lists) {
  for (FrameStream* s : streams)
    if (!*s) *s = std::make_unique<std::string>();
  for (FrameList* l : lists)
    if (!*l) *l = std::make_unique<NameValueList>();
}

void FreeAll(std::initializer_list<FrameStream*> streams, std::initializer_list<FrameList*> lists) {
  for (FrameStream* s : streams) s->reset();
  for (FrameList* l : lists) l->reset();
}

// A list set before its prepare is created then, rather than lost.
void SetEntry(FrameList& list, const std::string& name, const std::string& value) {
  if (!list) list = std::make_unique<NameValueList>();
  list->SetValue(name, value);
}

}  // namespace

base::Variant NewResultArray() { return base::Variant::Array(2); }

void AmeFrame::preparaVariaveisAme() {
  arResultAme = NewResultArray();
  CreateMissing({&ameResponse, &ameHeader, &ameBody}, {&stlAmeBody, &stlAmeHeader});
}

void AmeFrame::desalocaVariaveisAme() {
  stMensagemAme.clear();
  stMensagemAmeAux.clear();
  FreeAll({&ameResponse, &ameHeader, &ameBody}, {&stlAmeBody, &stlAmeHeader});
}

void AmeFrame::insereBodyAme(const std::string& Name, const std::string& Value) { SetEntry(stlAmeBody, Name, Value); }

void AmeFrame::insereHeaderAme(const std::string& Name, const std::string& Value) {
  SetEntry(stlAmeHeader, Name, Value);
}

void CrmBonusFrame::preparaVariaveisCRMBONUS() {
  arResultCRMBONUS = NewResultArray();
  CreateMissing({&CRMBONUSResponse, &CRMBONUSHeader, &CRMBONUSBody}, {&stlCRMBONUSBody, &stlCRMBONUSHeader});
}

void CrmBonusFrame::desalocaVariaveisCRMBONUS() {
  stMensagemCRMBONUS.clear();
  stMensagemCRMBONUSAux.clear();
  FreeAll({&CRMBONUSResponse, &CRMBONUSHeader, &CRMBONUSBody}, {&stlCRMBONUSBody, &stlCRMBONUSHeader});
}

void CrmBonusFrame::insereBodyCRMBONUS(const std::string& Name, const std::string& Value) {
  SetEntry(stlCRMBONUSBody, Name, Value);
}

void CrmBonusFrame::insereHeaderCRMBONUS(const std::string& Name, const std::string& Value) {
  SetEntry(stlCRMBONUSHeader, Name, Value);
}

void ClubPetroFrame::preparaVariaveisClubPetro() {
  arResultClubPetro = NewResultArray();
  CreateMissing({&clubPetroResponse, &clubPetroHeader, &clubPetroBody}, {&stlClubPetroBody});
}

void ClubPetroFrame::desalocaVariaveisClubPetro() {
  stMensagemClubPetro.clear();
  stMensagemClubPetroAux.clear();
  FreeAll({&clubPetroResponse, &clubPetroHeader, &clubPetroBody}, {&stlClubPetroBody});
}

void ClubPetroFrame::insereBodyClubPetro(const std::string& Name, const std::string& Value) {
  SetEntry(stlClubPetroBody, Name, Value);
}

}  // namespace recebimento::integrations
