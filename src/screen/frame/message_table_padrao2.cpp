#include "screen/frame/message_table.h"

namespace recebimento::screen {

// The screen's second message component: titles, consumer and telephone prompts,
// cashback, prepaid and gift-card texts. Its "Consumidor" is the label form.
const TMessages& msgPadrao2() {
  static const TMessages component({
      "tipo_rece_venda|Tipos de Recebimento",
      "BALCAO|BALCÃO",
      "nm_cliente|Nome do cliente",
      "Consumidor|Consumidor:",
      "Tel_Cons|Telefone do Consumidor",
      "Inf_Tel|Informe o telefone do consumidor",
      "Tel_N_Inf|Telefone não informado.",
      "RESG_CRM|Resgate CRM&&BONUS realizado com sucesso.",
      "N_RESG_CRM|Não foi possível realizar o resgate CRM&&BONUS.",
      "Consu_N_Inf|Consumidor não informado.",
      "cons_cashback_gcom|%s\r\n\r\nCliente: %s\r\nSaldo Atual: %s\r\nDisponível para Resgate: "
      "%s\r\n\r\nDeseja realizar o resgate ?",
      "N_RESERV_CASHBAC|Não foi possível reservar o saldo de cashback",
      "CLI_N_CAD_GCOM|Consumidor não cadastrado no programa de cashback.",
      "CLI_CAD_INCOM_GCOM|Cadastro do consumidor incompleto no programa de cashback. O saldo não "
      "pode ser utilizado.",
      "CLI_N_DADOS_GCOM|Nenhum dado de cashback encontrado para o consumidor.",
      "TEL_INV_GCOM|Telefone do consumidor inválido.",
      "PREPAGO_JA_UTIL|Operação bloqueada. Cartão pré-pago já utilizado nesta venda.",
      "PREPAGO_JA_INF|Cartão pré-pago já informado.",
      "INF_CART_PREPAGO|Informe o número do cartão pré-pago",
      "AGUARDE_CONS_SALDO|Aguarde, consultando o saldo do cartão...",
      "FALHA_CONSULTA_SALDO|Falha na consulta de saldo do cartão: ",
      "DESEJA_UTIL_SALDO|Deseja utilizar o saldo do cartão nesta venda?",
      "VALOR_MAIOR_SALDO|O valor informado é maior que o saldo disponível no cartão.",
      "VALOR_MAIOR_VENDA|O valor informado é maior que o valor a pagar.",
      "NAO_HA_SALDO|Não há saldo disponível no cartão.",
      "AGUARDE_PRE_RESG_SALDO|Aguarde, reservando o saldo do cartão...",
      "FALHA_RESG_SALDO|Falha no resgate de saldo do cartão: ",
      "AGUARDE_RESG_SALDO|Aguarde, resgatando o saldo do cartão...",
      "AGUARDE_CANC_SALDO|Aguarde, cancelando o resgate do vale presente...",
      "FALHA_CANC_SALDO|Falha ao cancelar o resgate do vale presente: ",
      "ERRO_PADRAO|Erro não identificado na operação do vale presente.",
      "CART_TODO|Cartão Todo",
      "NUM_CART_TODO|Número do Cartão",
      "NUM_CART_INF|Informe o número do cartão",
      "SEN_CART_TODO|Senha do Cartão",
      "SEN_CART_INF|Informe a senha do cartão",
      "VALEPRE_JA_UTIL|Operação bloqueada. Vale presente já utilizado nesta venda.",
      "AGUARDE_CONS_CASH|Aguarde, consultando o saldo de cashback...",
      "FALHA_CONSULTA_CASH|Não foi possível consultar o saldo de cashback.",
      "FALHA_CONEXAO_FIXECRM|Atenção! Não foi possível estabelecer uma conexão com o servidor "
      "FixeCRM. Tente novamente.",
      "SALDO_CART|Saldo disponível na carteira: R$ ",
      "SEM_SALDO_CART|Carteira sem saldo disponível.",
      "SALDO_CART_BLOQ|Carteira bloqueada. Escolha outra carteira.",
      "CORE_JA_UTIL|Operação bloqueada. Cashback do banco já utilizado nesta venda.",
  });
  return component;
}

}  // namespace recebimento::screen
