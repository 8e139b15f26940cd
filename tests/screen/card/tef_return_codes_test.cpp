#include "screen/card/tef_return_codes.h"

#include <gtest/gtest.h>

namespace recebimento::screen {
namespace {

TEST(MsgErro, CodesAreTrimmedAndUnknownOnesSaySo) {
  EXPECT_EQ(MsgErro(" 05 "), "Transação não autorizada");
  EXPECT_EQ(MsgErro("-1"), "Operação Cancelada ! ");
  EXPECT_EQ(MsgErro("50"), "Biblioteca de Automação Comercia l não foi inicializada");
  EXPECT_EQ(MsgErro("5"), "Erro não documentado");
  EXPECT_EQ(MsgErro(""), "Erro não documentado");
}

}  // namespace
}  // namespace recebimento::screen
