// The screen's message table: its two components as stored, the texts other flows
// rely on word for word, the screen's lookup and the placeholder formatter.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "host/runtime/format.h"
#include "screen/frame/message_format.h"
#include "screen/frame/message_table.h"

namespace recebimento::screen {
namespace {

// Keys of each component in their stored order.
const std::vector<std::string> kPadraoKeys = {
    "Desc_Consumidor",
    "CGCCPF_NOK",
    "ErroItem",
    "Deseja",
    "CancelaCupom",
    "isCredito3",
    "isMoeda1",
    "isConvenio1",
    "isConvenio2",
    "TeclisCredito3",
    "TeclisMoeda1",
    "TeclisConvenio1",
    "TeclisConvenio2",
    "Recebimento",
    "Total",
    "TotalPago",
    "TotalAPagar",
    "RecebNoTroco",
    "NoRecebTroco",
    "TROCO",
    "REPIQUE",
    "Troco_disp",
    "CONTRA-VALE",
    "TeclCredito",
    "SaldoDev",
    "CNPJCPF",
    "Nome",
    "FechaDesc",
    "ImpComprovante",
    "ErroComando",
    "Desconto",
    "Acrescimo",
    "ImpCheque",
    "AliqNaoCad",
    "Cup_inv",
    "N_FORMA",
    "N_FORMA_CRED",
    "TIP_INV",
    "ValorInvMaior",
    "ParcelaDeve",
    "ValorDeve",
    "ValorMaior",
    "AgenciaDeve",
    "BancoDeve",
    "ContaDeve",
    "ChequeDeve",
    "DtImpInv",
    "VersoInv",
    "ImpVerso",
    "ImpCheque_ok",
    "Parcela",
    "QUE_E",
    "GAST_TOT",
    "LIMIT_FINAL",
    "CupomCan",
    "VAL_N_PER",
    "VAL_N_TROCO",
    "ECFERRADO",
    "N_DEB",
    "Dig_Val",
    "OPE_TEF",
    "CONF_TEF",
    "Cliente",
    "Saldo",
    "SaldoPess",
    "SaldoEmpr",
    "SaldInsufCons",
    "NovoCred",
    "Consumidor",
    "OPE_BLQ_CRED",
    "SaldInsufCred",
    "OPE_TIP_CRED",
    "OPE_TIP_AVIST",
    "Carga",
    "AdiantamentoEnc",
    "CONS_DIA",
    "INF_SALDO",
    "Ope_Fam",
    "Qtde_Not_Cons",
    "Qtde_Not_Fam",
    "Prod_Not_Cons",
    "Prod_Not_Fam",
    "Ope_Res_Vend",
    "Ope_Desc_Maior",
    "Ope_Desc_Maior_Rest",
    "Ope_Acr_Maior",
    "Desc_Max",
    "Desc_MaxEpson",
    "INF_COD_BIN",
    "OPE_COD_BIN",
    "CARTAO",
    "N_CONEX_TEF",
    "Vend_Conve",
    "Vend_Credito",
    "Vend_Debito",
    "GARCOM",
    "MSG_CUP_NFIS",
    "MSG_EMPRESA",
    "MSG_COD",
    "MSG_DESC",
    "MSG_QTD_UNI",
    "MSG_SOMA",
    "MSG_SUBTOT",
    "MSG_IMPOSTO",
    "MSG_DESCONTO",
    "MSG_ACRESCIMO",
    "MSG_TOTAL",
    "MSG_CXSERIE",
    "MSG_NRCUPOM",
    "MSG_DATA",
    "MSG_INSMUN",
    "MSG_HORA",
    "MSG_ATENCAO",
    "ERRO_FECH_CUP",
    "CUP_FIS_N_CANC",
    "Ope_N_Aces",
    "COMANDA",
    "Mesa",
    "Venda",
    "Cracha",
    "VENDA_VISTA_CONS",
    "N_FORMA_DISC",
    "EXC_TED_DISC",
    "VAL_N_PER_DISC",
    "OPE_N_DISC",
    "CONS_DIA_CONS",
    "VAL_CONS_LIM",
    "OPE_SALMAX_DEB",
    "PROD_CAD_SERV",
    "SaldoFam",
    "NovoRecarg",
    "Imp_Deb_Cons",
    "Imp_Cred_Cons",
    "DataMovAnterior",
    "FORMPG_NPER",
    "Couv_Fam",
    "Endereco",
    "GAV_S_PAR",
    "CONS_BLOQ_VENDA",
    "TEF_Perm",
    "TEF_Troco",
    "DEB_NPER",
    "Conf_Repiq",
    "Repiq_N_Perm",
    "PEDIDO",
    "TEXTO_PADRAO",
    "Mot_Des_Cup1",
    "Mot_Des_Cup",
    "Mot_Acr_Cup1",
    "Mot_Acr_Cup",
    "PARCELAS",
    "INF_PARCELAS",
    "INF_N_PARCELAS",
    "TROCA",
    "Repiq_Maior_PerMax",
    "APAGAR",
    "DOTZ",
    "Subtotal",
    "N_FORMA_CRED2",
    "DELIVERY",
    "QTMAXPARC",
    "VRMINPARC1",
    "VRMINPARC2",
    "Qtparc_inf",
    "TROCOPARA",
    "BONUS1",
    "BONUS2",
    "BONUS3",
    "OBS_BONUS",
    "DOTZ_EXTRAS",
    "Lim_Rec",
    "Lim_Pag",
    "UTI_DOTZ",
    "VENDA_NSU",
    "COD_NSU",
    "INF_NSU",
    "IP_INV",
    "LOJA_INV",
    "TER_INV",
    "ERRO_INI",
    "FALT_MEMO",
    "NAO_TEF",
    "NAO_CLISITEF",
    "INF_CPF",
    "VlrLimSemCPF",
    "AGUAR_CPF",
    "ERR_TEF",
    "INF_CPF_CNPJ",
    "DESC_VENDA_FID",
    "Taxa_Maior",
    "CONSINATIVO",
    "Gaveta_Aberta",
    "Sub_Rest",
    "Dia_N_Permitido",
    "RECEB_N_PERM",
    "Comp_Venda",
    "VRMAXCONSMES",
    "FALHA_CONEXAO_SRV",
    "FALHA_CONEXAO_SRV_SALDO",
    "FALHA_CONEXAO_SRV_FID",
    "FALHA_CONEXAO_OLGA",
    "CONS_SALD_FID",
    "ERROCLUBPETRO",
    "SALDPETRO_ZERO",
    "SALDOCONS_PETRO",
    "CONFIRMAPETRO",
    "CLUBPETRO_JAINF",
    "CLICLUBPETRO_NAO",
    "PARAMRESGSALDO",
    "IMPCONAPI_CLUBPETRO",
    "INTSOMENTECPF2",
    "CONS_N_INF",
    "INGRESSO",
    "DESC_SALDO_FID",
    "SALDOCONS",
    "DESC_OLGA_OK",
    "CASH_OLGA_OK",
    "ERRO_CUPOM_OLGA",
    "ERRO_CASH_OLGA",
    "ERRO_CUP_OLGA",
    "IMPCONAME",
    "NORDEMAME",
    "AME_JA",
    "SOLCONSLEIQR",
    "QRCODDELIDO",
    "QRCODENLIDO",
    "QRCODENGERADO",
    "ERROESTAME",
    "CONV_ZERADO",
    "IMPCONAPIRESG_CLUBPETRO",
    "Token",
    "Resgate",
    "SALD_FID_4ALL",
    "FALHA_CONEXAO_4ALL",
    "SALD_CASH_ZERO",
    "CASH_JA_UTIL",
    "PROMOCODE_INV",
    "FALHA_VAL_PROMOCODE",
    "CPF_INV",
    "CLICLUBPET_BLOQ",
    "CONSCLUB_INATIVO",
    "CLICLUBPET_NACEIT",
    "RecebClubPetro",
    "CLUBPETRO_SENHAINCOR",
    "SENHAINCOR_TRES",
    "Ope_Acr_Maior_Sat_Nfce",
    "FALHA_CONEXAO_UDS",
    "SALDO_BLOQ",
    "ERRO_UDS",
    "CPF_N_CAD",
    "INTSOMENTECPF",
    "DESC_CLUBPETRO",
    "DESC_CARTEIRA",
    "DESC_RECEB",
    "CPF_JA_INF",
    "SALDO_EXCEDE_ERRO",
    "CONSULTA_CONSUMO_ERRO",
    "CONSUMO_MES_ERRO",
    "CONSULTA_SALDO_ERRO",
    "CONSULTA_SALDO_FAM_ERRO",
    "CONSULTA_CONSUMO_ERRO",
    "CONSULTA_SALDO_ERRO",
    "FALHA_CONEXAO_CART_TODO",
    "Ad_N_Per",
    "TENTA_CLUBPETRO",
    "TENTA_CLUBPETRO3",
    "UTI_CRMBONUS",
    "CUPOM_JA_UTIL",
    "CUPOM_NAO_ENC",
    "Acr_Tax_Maior_Sat_Nfce",
    "ImpMei",
};

const std::vector<std::string> kPadrao2Keys = {
    "tipo_rece_venda",
    "BALCAO",
    "nm_cliente",
    "Consumidor",
    "Tel_Cons",
    "Inf_Tel",
    "Tel_N_Inf",
    "RESG_CRM",
    "N_RESG_CRM",
    "Consu_N_Inf",
    "cons_cashback_gcom",
    "N_RESERV_CASHBAC",
    "CLI_N_CAD_GCOM",
    "CLI_CAD_INCOM_GCOM",
    "CLI_N_DADOS_GCOM",
    "TEL_INV_GCOM",
    "PREPAGO_JA_UTIL",
    "PREPAGO_JA_INF",
    "INF_CART_PREPAGO",
    "AGUARDE_CONS_SALDO",
    "FALHA_CONSULTA_SALDO",
    "DESEJA_UTIL_SALDO",
    "VALOR_MAIOR_SALDO",
    "VALOR_MAIOR_VENDA",
    "NAO_HA_SALDO",
    "AGUARDE_PRE_RESG_SALDO",
    "FALHA_RESG_SALDO",
    "AGUARDE_RESG_SALDO",
    "AGUARDE_CANC_SALDO",
    "FALHA_CANC_SALDO",
    "ERRO_PADRAO",
    "CART_TODO",
    "NUM_CART_TODO",
    "NUM_CART_INF",
    "SEN_CART_TODO",
    "SEN_CART_INF",
    "VALEPRE_JA_UTIL",
    "AGUARDE_CONS_CASH",
    "FALHA_CONSULTA_CASH",
    "FALHA_CONEXAO_FIXECRM",
    "SALDO_CART",
    "SEM_SALDO_CART",
    "SALDO_CART_BLOQ",
    "CORE_JA_UTIL",
};

struct QuotedText {
  bool second_component;
  const char* key;
  const char* text;
};

// Texts that flows show, log or compose word for word.
const std::vector<QuotedText> kQuotedTexts = {
    {false, "Recebimento", "Recebimento"},
    {false, "Total", "Total : "},
    {false, "TotalPago", "Pago : "},
    {false, "TotalAPagar", "A Pagar : "},
    {false, "APAGAR", "A pagar :"},
    {false, "Subtotal", "Sub-Total:"},
    {false, "TROCO", "Troco"},
    {false, "Troco_disp", "Troco:"},
    {false, "TROCOPARA", "Troco para: "},
    {false, "REPIQUE", "Repique"},
    {false, "CONTRA-VALE", "Contra-Vale"},
    {false, "Desconto", "Desconto:"},
    {false, "Acrescimo", "Acréscimo:"},
    {false, "Dig_Val", "Operação bloqueda. Digite um valor para efetuar o recebimento."},
    {false, "VAL_N_TROCO", "O valor do troco não pode ser maior que R$10,00."},
    {false, "VAL_N_PER",
     "O tipo de recebimento selecionado não permite que o valor informado seja maior que o valor à pagar."},
    {false, "RecebNoTroco", "Tipo de recebimento não permite que seja emitido troco. Assumir valor da venda?"},
    {false, "NoRecebTroco",
     "Não foram utilizados tipos de recebimento que permitem troco, ou o troco é maior que o máximo permitido. Assumir "
     "valor da venda?"},
    {false, "Lim_Rec",
     "Atenção! O limite máximo de recebimentos na impressora fiscal é 20. O último recebimento deve totalizar o cupom "
     "fiscal."},
    {false, "Lim_Pag", "Operação bloqueada! O valor máximo de recebimento é 999.999,99."},
    {false, "TIP_INV", "Operação bloqueada. Tipo de recebimento inválido."},
    {false, "N_DEB", "Tipo de recebimento não permitido para esta venda."},
    {false, "Ope_N_Aces", "Operador não tem permissão para realizar esta operação."},
    {false, "Ope_Desc_Maior",
     "Operação bloqueada. O valor do desconto não pode ser igual ou maior que o valor total da venda."},
    {false, "Ope_Desc_Maior_Rest", "Operação bloqueada. O valor do desconto não pode ser maior que o valor a pagar."},
    {false, "Ope_Acr_Maior",
     "Operação bloqueada. O valor do acréscimo não pode ultrapassar mais de 10% do valor total da compra."},
    {false, "Ope_Acr_Maior_Sat_Nfce",
     "Operação bloqueada. O valor do acréscimo não pode ultrapassar o valor total da compra."},
    {false, "Acr_Tax_Maior_Sat_Nfce",
     "Operação bloqueada. O valor do acréscimo + taxa de serviço não pode ultrapassar o valor total da compra."},
    {false, "Desc_Max",
     "Operação bloqueada. O desconto máximo desta venda é de R$ %s. O valor final de cada produto não pode ser menor "
     "que R$ 0,01 centavo."},
    {false, "SaldInsufCons", "Saldo do consumidor insuficiente - %.2m. Total da venda : %.2m."},
    {false, "OPE_SALMAX_DEB",
     "Operação bloqueada. O consumidor %s não pode exceder o valor de consumo diário - %s. Favor verificar "
     "parametrização no sistema MRX."},
    {false, "BONUS3", "\r\n      << BÔNUS DE R$ %s >>"},
    {true, "cons_cashback_gcom",
     "%s\r\n\r\nCliente: %s\r\nSaldo Atual: %s\r\nDisponível para Resgate: %s\r\n\r\nDeseja realizar o resgate ?"},
    {false, "UTI_CRMBONUS",
     "Consumidor CRM&&BONUS encontrado. Saldo disponível para ser utilizado nessa venda R$ %s. Deseja utilizar R$ %s "
     "do seu saldo como desconto nesta venda?"},
    {false, "TENTA_CLUBPETRO3",
     "Foram realizadas 3(três) tentativas de comunicação com o ClubPetro sem sucesso. Escolha outro tipo de pagamento "
     "ou selecione novamente o resgate de pontos."},
    {false, "SENHAINCOR_TRES", "Senha informada incorretamente 3 vezes. Informe outra forma de pagamento."},
    {false, "FALHA_CONEXAO_SRV", "Atenção! Não foi possível estabelecer uma conexão com o servidor. Tente novamente."},
    {false, "ImpMei", "Deseja imprimir o cupom fiscal?"},
    {false, "CupomCan", "Impressora Fiscal com erro.Cupom Fiscal deve ser cancelado."},
    {false, "DataMovAnterior",
     "A data do movimento está menor que a data atual. É necessário efetuar o fechamento do caixa e emitir a Redução "
     "Z."},
    {false, "INF_NSU", "Código NSU deve ser informado."},
    {false, "CONF_TEF", "Tef deve ser configurado."},
    {false, "N_CONEX_TEF", "Não foi possível estabelecer conexão com o SiTef. Favor refazer a venda."},
    {false, "ERR_TEF", "Ocorreu um erro no processamento do cartão! Favor realizar a transação novamente."},
    {false, "TEF_Perm", "Operação bloqueada. Para transações Tef é necessário fechar o valor da venda."},
    {false, "TEF_Troco", "Tipo de recebimento não permite que seja emitido troco."},
    {false, "CPF_JA_INF", "Operação bloqueada. O CPF da nota fiscal já foi informado na consulta de cashback."},
    {false, "SALDOCONS", "Saldo do Consumidor:"},
    {false, "SaldoEmpr", "Empresa"},
    {false, "NovoCred", "Favor comprar novos créditos."},
    {false, "SaldInsufCred", "Saldo pessoal de %.2m insuficiente para realizar esta venda."},
    {false, "SaldoFam", "Saldo Família %s"},
    {false, "NovoRecarg", "Favor realizar uma nova recarga para a família indicada."},
    {false, "Comp_Venda", "Deseja completar a venda com outra forma de pagamento?"},
    {false, "Qtde_Not_Cons",
     "Operação bloqueada. Quantidade limite de consumo do produto por dia, para o consumidor %s não pode ser "
     "excedida."},
    {false, "Prod_Not_Cons", "Operação bloqueada. Produto selecionado não pode ser vendido para o consumidor %s."},
    {false, "RECEB_N_PERM",
     "Tipo de recebimento não permitido para este consumidor ou nenhum consumidor foi informado para esta venda."},
    {false, "Sub_Rest", "Valor de subsídio restante R$ %s. Deseja utilizar?"},
    {false, "INGRESSO", "Operação bloqueada. Valor de recarga inferior ao valor do ingresso. Valor do Ingresso: R$ %s"},
    {false, "Consumidor", "Consumidor"},
    {true, "Tel_N_Inf", "Telefone não informado."},
    {true, "Inf_Tel", "Informe o telefone do consumidor"},
    {true, "Tel_Cons", "Telefone do Consumidor"},
    {true, "Consumidor", "Consumidor:"},
};

const TMessages& ComponentOf(bool second) { return second ? msgPadrao2() : msgPadrao(); }

// True when `text` is well-formed UTF-8 (accents must survive as stored).
bool IsUtf8(const std::string& text) {
  size_t i = 0;
  while (i < text.size()) {
    const auto c = static_cast<unsigned char>(text[i]);
    const size_t extra = c < 0x80 ? 0 : (c & 0xE0) == 0xC0 ? 1 : (c & 0xF0) == 0xE0 ? 2 : (c & 0xF8) == 0xF0 ? 3 : 9;
    if (extra > 3 || i + extra >= text.size()) return false;
    for (size_t k = 1; k <= extra; ++k) {
      if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) return false;
    }
    i += extra + 1;
  }
  return true;
}

// Every "%" opens "%s" or "%.2m", or stands before a blank as in "10% do valor".
bool PlaceholdersWellFormed(const std::string& text) {
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '%') continue;
    const std::string rest = text.substr(i);
    if (rest.rfind("%s", 0) == 0 || rest.rfind("%.2m", 0) == 0) continue;
    if (rest.size() > 1 && rest[1] == ' ') continue;
    return false;
  }
  return true;
}

TEST(MessageTable, ComponentsHoldTheirLinesInStoredOrder) {
  ASSERT_EQ(msgPadrao().Count(), 271);
  ASSERT_EQ(msgPadrao2().Count(), 44);
  ASSERT_EQ(kPadraoKeys.size(), 271u);
  ASSERT_EQ(kPadrao2Keys.size(), 44u);
  for (int i = 0; i < 271; ++i) EXPECT_EQ(msgPadrao().KeyAt(i), kPadraoKeys[static_cast<size_t>(i)]) << "line " << i;
  for (int i = 0; i < 44; ++i) EXPECT_EQ(msgPadrao2().KeyAt(i), kPadrao2Keys[static_cast<size_t>(i)]) << "line " << i;
  EXPECT_EQ(msgPadrao().KeyAt(0), "Desc_Consumidor");
  EXPECT_EQ(msgPadrao().KeyAt(270), "ImpMei");
  EXPECT_EQ(msgPadrao2().KeyAt(43), "CORE_JA_UTIL");
  EXPECT_EQ(msgPadrao().KeyAt(271), "");
  EXPECT_EQ(msgPadrao().KeyAt(-1), "");
}

TEST(MessageTable, EveryLineIsAKeyABarAndAWellFormedText) {
  for (const TMessages* component : {&msgPadrao(), &msgPadrao2()}) {
    for (int i = 0; i < component->Count(); ++i) {
      const std::string key = component->KeyAt(i);
      const std::string text = component->TextAt(i);
      const std::string& line = component->Lines()[static_cast<size_t>(i)];
      EXPECT_EQ(line, key + "|" + text);
      EXPECT_EQ(key.find_first_not_of("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789_-"),
                std::string::npos)
          << key;
      EXPECT_FALSE(text.empty()) << key;
      EXPECT_TRUE(IsUtf8(text)) << key;
      EXPECT_TRUE(PlaceholdersWellFormed(text)) << key;
      // A written-out "\r" or a lone line feed means the CR LF pair was mistyped.
      EXPECT_EQ(text.find("\\r"), std::string::npos) << key;
      for (size_t p = text.find('\n'); p != std::string::npos; p = text.find('\n', p + 1)) {
        EXPECT_TRUE(p > 0 && text[p - 1] == '\r') << key;
      }
    }
  }
}

TEST(MessageTable, QuotedTextsAreStoredWordForWord) {
  for (const QuotedText& quoted : kQuotedTexts) {
    const auto text = ComponentOf(quoted.second_component).Find(quoted.key);
    ASSERT_TRUE(text.has_value()) << quoted.key;
    EXPECT_EQ(*text, quoted.text) << quoted.key;
  }
}

TEST(MessageTable, RepeatedKeysAndTheTwoConsumerLabels) {
  // Two keys occur twice in the main component with the same text; nothing else repeats.
  std::set<std::string> distinct(kPadraoKeys.begin(), kPadraoKeys.end());
  EXPECT_EQ(distinct.size(), 269u);
  for (const char* key : {"CONSULTA_CONSUMO_ERRO", "CONSULTA_SALDO_ERRO"}) {
    std::vector<std::string> texts;
    for (int i = 0; i < msgPadrao().Count(); ++i) {
      if (msgPadrao().KeyAt(i) == key) texts.push_back(msgPadrao().TextAt(i));
    }
    ASSERT_EQ(texts.size(), 2u) << key;
    EXPECT_EQ(texts[0], texts[1]) << key;
  }
  EXPECT_EQ(std::set<std::string>(kPadrao2Keys.begin(), kPadrao2Keys.end()).size(), 44u);

  EXPECT_EQ(msgPadrao().Msg("Consumidor"), "Consumidor");
  EXPECT_EQ(msgPadrao2().Msg("Consumidor"), "Consumidor:");
  EXPECT_EQ(Msg("Consumidor"), "Consumidor");
  EXPECT_EQ(Msg("Consumidor", MessageComponent::msgPadrao2), "Consumidor:");
}

TEST(MessageTable, LineBreaksAreCarriageReturnLineFeed) {
  EXPECT_EQ(msgPadrao().Msg("BONUS3"), "\x0D\x0A      << BÔNUS DE R$ %s >>");
  const std::string gcom = msgPadrao2().Msg("cons_cashback_gcom");
  EXPECT_EQ(gcom.substr(0, 6), std::string("%s\x0D\x0A\x0D\x0A"));
  EXPECT_NE(gcom.find("\x0D\x0A"
                      "Saldo Atual: %s\x0D\x0A"),
            std::string::npos);
}

TEST(MessageTable, UnknownKeysAnswerEmptyAndCanBeTold) {
  EXPECT_EQ(msgPadrao().Msg("NAO_EXISTE"), "");
  EXPECT_FALSE(msgPadrao().Find("NAO_EXISTE").has_value());
  EXPECT_FALSE(msgPadrao().Contains(""));
  // The component itself compares keys exactly; only the screen's lookup forgives case.
  EXPECT_FALSE(msgPadrao().Contains("MESA"));
  EXPECT_EQ(msgPadrao().FindIgnoringCase("MESA"), msgPadrao().Find("Mesa"));
  EXPECT_FALSE(msgPadrao().Contains("tipo_rece_venda"));

  const TMessages odd({"SEM_BARRA", "A|um|dois", "|vazio"});
  EXPECT_EQ(odd.Find("SEM_BARRA"), std::optional<std::string>(""));
  EXPECT_EQ(odd.Msg("A"), "um|dois");
  EXPECT_EQ(odd.Msg(""), "vazio");
  EXPECT_EQ(Msg("NAO_EXISTE"), "");
}

TEST(MessageTable, ScreenLookupFindsEveryKeyTheFlowsName) {
  // Titles spelt in capitals by the flows, keys asked of the other component, and keys
  // neither component holds.
  EXPECT_EQ(Msg("MESA"), msgPadrao().Msg("Mesa"));
  EXPECT_EQ(Msg("CRACHA"), msgPadrao().Msg("Cracha"));
  EXPECT_EQ(Msg("tipo_rece_venda"), msgPadrao2().Msg("tipo_rece_venda"));
  EXPECT_EQ(Msg("TROCO", MessageComponent::msgPadrao2), "Troco");
  for (const char* key : {"Erro_Auttar", "Erro_Gaveta", "OPE_QTDE_SERV", "OPE_CONS_SERV", "PROD_ZERADO"}) {
    EXPECT_FALSE(msgPadrao().Contains(key)) << key;
    EXPECT_FALSE(Msg(key).empty()) << key;
  }
  for (int i = 0; i < msgComplementar().Count(); ++i) {
    EXPECT_TRUE(PlaceholdersWellFormed(msgComplementar().TextAt(i)));
  }
}

TEST(MessageFormat, FillsPlaceholdersInOrder) {
  runtime::ScopedNumberLocale brazil(runtime::BrazilianNumberLocale());
  EXPECT_EQ(MsgFmt("SaldInsufCons", {50.0, 1234.56}),
            "Saldo do consumidor insuficiente - R$ 50,00. Total da venda : R$ 1.234,56.");
  EXPECT_EQ(MsgFmt("OPE_SALMAX_DEB", {"0012 - José", "150,00"}),
            "Operação bloqueada. O consumidor 0012 - José não pode exceder o valor de consumo diário - "
            "150,00. Favor verificar parametrização no sistema MRX.");
  EXPECT_EQ(MsgFmt("UTI_CRMBONUS", {"1.250,00", "80,00"}),
            "Consumidor CRM&&BONUS encontrado. Saldo disponível para ser utilizado nessa venda R$ 1.250,00. "
            "Deseja utilizar R$ 80,00 do seu saldo como desconto nesta venda?");
  EXPECT_EQ(FormatMsg("%s - %.2m - %s", {"a", 2.5, 3}), "a - R$ 2,50 - 3");
  EXPECT_EQ(FormatMsg("%s", {12.5}), "12,50");
  EXPECT_EQ(FormatMsg("%.2m", {"R$ 7,00"}), "R$ 7,00");
}

TEST(MessageFormat, LiteralPercentAndShortOrLongArgumentLists) {
  const std::string surcharge = msgPadrao().Msg("Ope_Acr_Maior");
  EXPECT_EQ(FormatMsg(surcharge, {}), surcharge);
  EXPECT_NE(FormatMsg(surcharge, {}).find("10% do valor"), std::string::npos);
  EXPECT_EQ(FormatMsg("%s% do total", {"15"}), "15% do total");
  EXPECT_EQ(FormatMsg("100%", {}), "100%");
  EXPECT_EQ(FormatMsg("%.2 e %d e %%", {"x"}), "%.2 e %d e %%");
  // Missing values leave their places empty; extra values are dropped.
  EXPECT_EQ(FormatMsg("De %s para %s.", {"A"}), "De A para .");
  EXPECT_EQ(FormatMsg("Total %.2m", {}), "Total ");
  EXPECT_EQ(FormatMsg("Sem marcas", {"a", 1.0}), "Sem marcas");
  EXPECT_EQ(FormatMsg("", {"a"}), "");
  EXPECT_EQ(MsgFmt("NAO_EXISTE", {"a"}), "");
}

TEST(MessageFormat, MoneyFollowsTheNumberLocale) {
  {
    runtime::ScopedNumberLocale brazil(runtime::BrazilianNumberLocale());
    EXPECT_EQ(FormatMoney(0), "R$ 0,00");
    EXPECT_EQ(FormatMoney(0.29), "R$ 0,29");
    EXPECT_EQ(FormatMoney(1.15), "R$ 1,15");
    EXPECT_EQ(FormatMoney(999999.99), "R$ 999.999,99");
    EXPECT_EQ(FormatMoney(1234567.5), "R$ 1.234.567,50");
    EXPECT_EQ(FormatMoney(-0.5), "-R$ 0,50");
    EXPECT_EQ(FormatMoney(-0.001), "R$ 0,00");
    EXPECT_EQ(FormatMsg("%.2m", {int64_t{3}}), "R$ 3,00");
  }
  runtime::ScopedNumberLocale english(runtime::EnglishNumberLocale());
  EXPECT_EQ(FormatMoney(1234.56), "R$ 1,234.56");
}

}  // namespace
}  // namespace recebimento::screen
