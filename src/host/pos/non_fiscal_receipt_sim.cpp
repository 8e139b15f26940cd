#include "host/pos/non_fiscal_receipt_sim.h"

#include "base/data_packet.h"
#include "host/runtime/format.h"
#include "host/runtime/numbers.h"
#include "host/runtime/strings.h"

namespace recebimento::pos {

namespace {

constexpr int kWidth = 40;

const base::DataPacket* PacketAt(const std::vector<base::Variant>& args, size_t i) {
  return i < args.size() && args[i].IsPacket() ? &args[i].AsPacket() : nullptr;
}

base::Variant Cell(const base::DataPacket& p, const std::vector<base::Variant>& row, const char* field) {
  const int i = p.FieldIndex(field);
  return i < 0 || static_cast<size_t>(i) >= row.size() ? base::Variant() : row[i];
}

std::string Money(double v) { return runtime::FormatFloat("#,##0.00", v); }

// A name on the left and an amount on the right of one line.
std::string Line(const std::string& name, double amount) {
  const std::string value = Money(amount);
  return runtime::TamFixo(name, kWidth - 1 - static_cast<int>(value.size())) + " " + value;
}

}  // namespace

std::string FormatNonFiscalReceipt(const std::vector<base::Variant>& args) {
  const std::string rule(kWidth, '-');
  std::string text;
  auto add = [&](const std::string& line) { text += line + "\n"; };

  std::string number, tab;
  double fee = 0;
  if (const base::DataPacket* params = PacketAt(args, 1); params && !params->rows.empty()) {
    number = Cell(*params, params->rows[0], "NRNAOFISCAL").AsString();
    tab = Cell(*params, params->rows[0], "DSCOMANDA").AsString();
    fee = Cell(*params, params->rows[0], "VRTXSERVICO").AsFloat();
  }
  add(runtime::Centraliza("CUPOM NAO FISCAL" + (number.empty() ? "" : " N. " + number), kWidth));
  if (!tab.empty()) add("MESA/COMANDA " + tab);
  add(rule);

  double total = fee;
  if (const base::DataPacket* items = PacketAt(args, 2)) {
    for (const auto& row : items->rows) {
      const double qty = Cell(*items, row, "QTPRODCOMVEN").AsFloat();
      const double price = Cell(*items, row, "VRPRECCOMVEN").AsFloat();
      const double amount = runtime::Trunc2(qty * price - Cell(*items, row, "VRDESCCOMVEN").AsFloat() +
                                            Cell(*items, row, "VRACRCOMVEN").AsFloat());
      total += amount;
      add(Line(runtime::FormatFloat("0.###", qty) + " x " + Cell(*items, row, "NMPRODUTO").AsString(), amount));
    }
  }
  add(rule);
  if (fee > 0) add(Line("TAXA DE SERVICO", fee));
  add(Line("TOTAL", runtime::Trunc2(total)));

  if (const base::DataPacket* payments = PacketAt(args, 3)) {
    for (const auto& row : payments->rows) {
      const bool change = Cell(*payments, row, "IDTIPOMOVIVE").AsString() == "S";
      add(Line(change ? "TROCO" : Cell(*payments, row, "NMTIPORECE").AsString(),
               Cell(*payments, row, "VRMOVIVEND").AsFloat()));
    }
  }
  text.pop_back();  // the printer feeds its own last line
  return text;
}

}  // namespace recebimento::pos
