#include "package/recebimento_args.h"

namespace recebimento::package {

namespace {
using A = RecebimentoArgs;
constexpr auto In = ArgDirection::In;
constexpr auto Out = ArgDirection::Out;
constexpr auto InOut = ArgDirection::InOut;
}  // namespace

const std::array<ArgumentInfo, 47>& ArgumentTable() {
  static const std::array<ArgumentInfo, 47> table = {{
      {1, "cdsVendaHost", In, &A::cdsVendaHost},
      {2, "stCdSupervisor", Out, &A::stCdSupervisor},
      {3, "cdsItensVenda", InOut, &A::cdsItensVenda},
      {4, "cdsItensCancelados", InOut, &A::cdsItensCancelados},
      {5, "cdsMoviVenda", InOut, &A::cdsMoviVenda},
      {6, "cdsSaldoFamilia", InOut, &A::cdsSaldoFamilia},
      {7, "cdsEmprestimoFamHost", Out, &A::cdsEmprestimoFamHost},
      {8, "boCupomCancelado", Out, &A::boCupomCancelado},
      {9, "stNrCupom", InOut, &A::stNrCupom},
      {10, "stNrContCupom", InOut, &A::stNrContCupom},
      {11, "stRetImpressora", Out, &A::stRetImpressora},
      {12, "stNrVenda", Out, &A::stNrVenda},
      {13, "stCdConsumidor", Out, &A::stCdConsumidor},
      {14, "stIdCPFCupom", Out, &A::stIdCPFCupom},
      {15, "doVrPago", InOut, &A::doVrPago},
      {16, "cdsClienteHost", In, &A::cdsClienteHost},
      {17, "cdsAliqImpFisHost", In, &A::cdsAliqImpFisHost},
      {18, "cdsRecebHost", In, &A::cdsRecebHost},
      {19, "cdsAuxHost", In, &A::cdsAuxHost},
      {20, "stModoVenda", In, &A::stModoVenda},
      {21, "stCdClienteVenda", In, &A::stCdClienteVenda},
      {22, "stCdConsumidorVenda", In, &A::stCdConsumidorVenda},
      {23, "stTipoTela", In, &A::stTipoTela},
      {24, "stNmClienteVenda", In, &A::stNmClienteVenda},
      {25, "stCdConsumidorFoto", In, &A::stCdConsumidorFoto},
      {26, "stTextoTitulo", In, &A::stTextoTitulo},
      {27, "stNrDocConsCupom", In, &A::stNrDocConsCupom},
      {28, "stNmConsCupom", In, &A::stNmConsCupom},
      {29, "stNrIdEstrangeiro", In, &A::stNrIdEstrangeiro},
      {30, "doVrCarga", In, &A::doVrCarga},
      {31, "stTextoCupom", In, &A::stTextoCupom},
      {32, "stIdTipoVenda", In, &A::stIdTipoVenda},
      {33, "stParamCupom", In, &A::stParamCupom},
      {34, "stNmGarcom", In, &A::stNmGarcom},
      {35, "stNmFantCliente", In, &A::stNmFantCliente},
      {36, "stIdTela", In, &A::stIdTela},
      {37, "stCdCampanha", Out, &A::stCdCampanha},
      {38, "stlRetorno", Out, &A::stlRetorno},
      {39, "stObsVenda", In, &A::stObsVenda},
      {40, "stIdDescFidelidade", Out, &A::stIdDescFidelidade},
      {41, "stMensagem", In, &A::stMensagem},
      {42, "stPontosFidelidade", Out, &A::stPontosFidelidade},
      {43, "stVrDescFidelidade", Out, &A::stVrDescFidelidade},
      {44, "stIdPagouTEF", Out, &A::stIdPagouTEF},
      {45, "stRetTender", Out, &A::stRetTender},
      {46, "cdsDescFidelidade", InOut, &A::cdsDescFidelidade},
      {47, "cdsPromoComanda", InOut, &A::cdsPromoComanda},
  }};
  return table;
}

const ArgumentInfo* FindArgument(const std::string& name) {
  for (const auto& a : ArgumentTable())
    if (name == a.name) return &a;
  return nullptr;
}

}  // namespace recebimento::package
