#pragma once
// The 47 arguments of Recebimento as one structure, in the order, with the names and
// directions of the call. Datasets stay the host's objects (the screen works on them in
// place); every other member is the host's variable, read and written by the entry.
#include <array>
#include <string>
#include <variant>
#include <vector>

#include "base/dataset.h"

namespace recebimento::package {

struct RecebimentoArgs {
  base::Dataset* cdsVendaHost = nullptr;          //  1 in (not read)
  std::string stCdSupervisor;                     //  2 out
  base::Dataset* cdsItensVenda = nullptr;         //  3 in/out
  base::Dataset* cdsItensCancelados = nullptr;    //  4 in/out
  base::Dataset* cdsMoviVenda = nullptr;          //  5 in/out
  base::Dataset* cdsSaldoFamilia = nullptr;       //  6 in/out
  base::Dataset* cdsEmprestimoFamHost = nullptr;  //  7 out
  bool boCupomCancelado = false;                  //  8 out
  std::string stNrCupom;                          //  9 in/out
  std::string stNrContCupom;                      // 10 in/out
  std::string stRetImpressora;                    // 11 out
  std::string stNrVenda;                          // 12 out
  std::string stCdConsumidor;                     // 13 out
  std::string stIdCPFCupom;                       // 14 out
  double doVrPago = 0;                            // 15 in/out
  base::Dataset* cdsClienteHost = nullptr;        // 16 in
  base::Dataset* cdsAliqImpFisHost = nullptr;     // 17 in
  base::Dataset* cdsRecebHost = nullptr;          // 18 in
  base::Dataset* cdsAuxHost = nullptr;            // 19 in (not read)
  std::string stModoVenda;                        // 20 in
  std::string stCdClienteVenda;                   // 21 in
  std::string stCdConsumidorVenda;                // 22 in
  std::string stTipoTela;                         // 23 in
  std::string stNmClienteVenda;                   // 24 in
  std::string stCdConsumidorFoto;                 // 25 in
  std::string stTextoTitulo;                      // 26 in
  std::string stNrDocConsCupom;                   // 27 in
  std::string stNmConsCupom;                      // 28 in
  std::string stNrIdEstrangeiro;                  // 29 in
  double doVrCarga = 0;                           // 30 in
  std::string stTextoCupom;                       // 31 in
  std::string stIdTipoVenda;                      // 32 in
  std::string stParamCupom;                       // 33 in
  std::string stNmGarcom;                         // 34 in
  std::string stNmFantCliente;                    // 35 in
  std::string stIdTela;                           // 36 in
  std::string stCdCampanha;                       // 37 out
  std::vector<std::string> stlRetorno;            // 38 out
  std::string stObsVenda;                         // 39 var in
  std::string stIdDescFidelidade;                 // 40 out
  std::string stMensagem;                         // 41 in
  std::string stPontosFidelidade;                 // 42 out
  std::string stVrDescFidelidade;                 // 43 out
  std::string stIdPagouTEF;                       // 44 out
  std::string stRetTender;                        // 45 out
  base::Dataset* cdsDescFidelidade = nullptr;     // 46 in/out
  base::Dataset* cdsPromoComanda = nullptr;       // 47 in/out
};

enum class ArgDirection { In, Out, InOut };

using ArgMember =
    std::variant<base::Dataset * RecebimentoArgs::*, std::string RecebimentoArgs::*, double RecebimentoArgs::*,
                 bool RecebimentoArgs::*, std::vector<std::string> RecebimentoArgs::*>;

struct ArgumentInfo {
  int number;
  const char* name;
  ArgDirection direction;
  ArgMember member;
};

// The argument table, in call order.
const std::array<ArgumentInfo, 47>& ArgumentTable();
// The entry of that name, or nullptr.
const ArgumentInfo* FindArgument(const std::string& name);

}  // namespace recebimento::package
