#include "screen/card/tef_return_codes.h"

#include <map>
#include <string>

#include "base/text.h"

namespace recebimento::screen {

std::string MsgErro(const std::string& codigo) {
  static const std::map<std::string, std::string> texts = {
      {"00", "Execução OK"},
      {"-1", "Operação Cancelada ! "},
      {"-2", "Transação Negada ! "},
      {"01", "Time out da transação"},
      {"02", "Apitef não inicializada"},
      {"04", "Erro nos parâmetros/erro de integração"},
      {"05", "Transação não autorizada"},
      {"06", "Transação cancelada pelo operador/cliente"},
      {"09", "Autorizadora offline"},
      {"10", "Erro de comunicação da Apitef"},
      {"11", "Erro no CTF"},
      {"12", "Erro na camada de Intertef da Apitef"},
      {"13", "Transação confirmada, mas ainda existem outras transações a confirmar"},
      {"15", "Erro de formatação comprovante"},
      {"18", "Transação desfeita"},
      {"19", "Documento inexistente para cancelar"},
      {"20", "Dados inválidos da integração"},
      {"21", "Não há transações para consolidar"},
      {"22", "Não há comprovantes para imprimir"},
      {"25", "Erro interno do CTFClient"},
      {"26", "Erro retornado pelo pinpad"},
      {"27", "Erro de integração"},
      {"50", "Biblioteca de Automação Comercia l não foi inicializada"},
      {"51", "Erro de alocação de memória"},
      {"53", "Erro carregando bibliotecas de criptografia"},
      {"54", "Erro ao estabelecer conexão"},
      {"55", "Erro ao enviar dados pela conexão"},
      {"56", "Erro ao ler dados da conexão"},
      {"57", "Mensagem com formato inválido recebida do CTF Client"},
      {"58", "Chamada de rotina inválida"},
      {"59", "Variável de ambiente CTFCLIENT_HOME não está configurada"},
      {"98", "Erro interno desconhecido"},
      {"99",
       "O comando devolvido deve ser executado pela AC, e o resultado deve ser enviado em nova chamada da "
       "rotina continuaTransacaoCTF"},
  };
  const auto it = texts.find(base::Trim(codigo));
  return it == texts.end() ? "Erro não documentado" : it->second;
}

}  // namespace recebimento::screen
