#include "screen/frame/message_table.h"

#include <utility>

namespace recebimento::screen {

namespace {

constexpr char kBar = '|';

std::string_view KeyOf(std::string_view line) { return line.substr(0, line.find(kBar)); }

std::string TextOf(std::string_view line) {
  const size_t bar = line.find(kBar);
  return bar == std::string_view::npos ? std::string() : std::string(line.substr(bar + 1));
}

char AsciiUpper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

bool EqualIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (AsciiUpper(a[i]) != AsciiUpper(b[i])) return false;
  }
  return true;
}

const TMessages& Component(MessageComponent component) {
  return component == MessageComponent::msgPadrao ? msgPadrao() : msgPadrao2();
}

const TMessages& OtherComponent(MessageComponent component) {
  return component == MessageComponent::msgPadrao ? msgPadrao2() : msgPadrao();
}

std::optional<std::string> FindAnyCase(const TMessages& messages, std::string_view key) {
  if (auto text = messages.Find(key)) return text;
  return messages.FindIgnoringCase(key);
}

}  // namespace

TMessages::TMessages(std::vector<std::string> lines) : lines_(std::move(lines)) {}

std::optional<std::string> TMessages::Find(std::string_view key) const {
  for (const std::string& line : lines_) {
    if (KeyOf(line) == key) return TextOf(line);
  }
  return std::nullopt;
}

std::optional<std::string> TMessages::FindIgnoringCase(std::string_view key) const {
  for (const std::string& line : lines_) {
    if (EqualIgnoringCase(KeyOf(line), key)) return TextOf(line);
  }
  return std::nullopt;
}

std::string TMessages::Msg(std::string_view key) const { return Find(key).value_or(std::string()); }

std::string TMessages::KeyAt(int index) const {
  if (index < 0 || index >= Count()) return std::string();
  return std::string(KeyOf(lines_[static_cast<size_t>(index)]));
}

std::string TMessages::TextAt(int index) const {
  if (index < 0 || index >= Count()) return std::string();
  return TextOf(lines_[static_cast<size_t>(index)]);
}

const TMessages& msgComplementar() {
  static const TMessages component({
      "Erro_Auttar|Erro na transação TEF: %s",
      "Erro_Gaveta|Não foi possível abrir a gaveta. Código do erro: %s",
      "EXTCONSCENTRAL_ERRO|Falha de conexão com o banco centralizado. Operação: consulta das famílias de saldo",
      "OPE_QTDE_SERV|Operação bloqueada. Quantidade limite de consumo diário do serviço (%s) "
      "excedida para o produto %s.",
      "OPE_CONS_SERV|Operação bloqueada. Valor limite de consumo diário do serviço excedido.",
      "PROD_ZERADO|Existe produto com preço zerado após o ajuste de preços. Verifique o cadastro "
      "de preços.",
  });
  return component;
}

std::string Msg(std::string_view key, MessageComponent component) {
  if (auto text = FindAnyCase(Component(component), key)) return *text;
  if (auto text = FindAnyCase(OtherComponent(component), key)) return *text;
  return msgComplementar().Msg(key);
}

}  // namespace recebimento::screen
