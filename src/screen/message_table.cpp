#include "screen/message_table.h"

#include <map>

namespace recebimento::screen {

namespace {

// key|text lines, as the screen's message components hold them.
const std::map<std::string, std::string>& Padrao() {
  static const std::map<std::string, std::string> table = {
      {"Recebimento", "Recebimento"},
      {"Total", "Total : "},
      {"TotalPago", "Pago : "},
      {"TotalAPagar", "A Pagar : "},
      {"TROCO", "Troco"},
      {"Troco_disp", "Troco:"},
      {"Desconto", "Desconto:"},
      {"Acrescimo", "Acréscimo:"},
      {"Mot_Des_Cup1", "Desconto no cupom fiscal"},
      {"Mot_Des_Cup", "Desconto concedido no cupom fiscal Nº: "},
      {"Mot_Acr_Cup1", "Acréscimo no cupom fiscal"},
      {"Mot_Acr_Cup", "Acréscimo concedido no cupom fiscal Nº: "},
      {"CupomCan", "Impressora Fiscal com erro.Cupom Fiscal deve ser cancelado."},
  };
  return table;
}

const std::map<std::string, std::string>& Padrao2() {
  static const std::map<std::string, std::string> table = {
      {"tipo_rece_venda", "Tipos de recebimento"},
      {"BALCAO", "BALCÃO"},
      {"nm_cliente", "Nome do cliente"},
      {"Consumidor", "Consumidor:"},
  };
  return table;
}

}  // namespace

std::string Msg(const std::string& key, MessageComponent component) {
  const auto& table = component == MessageComponent::msgPadrao ? Padrao() : Padrao2();
  auto it = table.find(key);
  return it == table.end() ? std::string() : it->second;
}

}  // namespace recebimento::screen
