#include "qt_host_dialogs.h"

#include <cmath>

#include "consumer_search_dialog.h"
#include "currency_rates_dialog.h"
#include "discount_dialog.h"
#include "info_dialogs.h"
#include "keypad_dialogs.h"

namespace recebimento::gui {

using base::Variant;

namespace {

std::string Arg(const std::vector<Variant>& args, size_t i) {
  return i < args.size() && !args[i].IsNull() ? args[i].AsString() : std::string();
}

}  // namespace

QtHostDialogs::QtHostDialogs(std::function<base::DateTime()> today, base::DataPacket known_rates)
    : today_(std::move(today)), known_rates_(std::move(known_rates)) {}

bool QtHostDialogs::TecladoNumerico(std::string& value, const std::string& title, const std::string& caption,
                                    const std::string& prompt, int max_digits, const std::string&) {
  return AskNumber({title, caption, prompt, max_digits}, value);
}

bool QtHostDialogs::TecladoAlfaNumerico(const std::string& prompt, bool upper_case, int max_length, std::string& text) {
  return AskText(prompt, upper_case, max_length, text);
}

bool QtHostDialogs::PesqConsumidor(const pos::ConsumerSearchRequest& request, pos::ConsumerSearchResult& result) {
  auto found = AskConsumer(request);
  if (!found) return false;
  result = *found;
  return true;
}

// Arguments: title, prompt, the previous text. A cancelled observation answers "erro",
// which the callers take as "abandon".
bool QtHostDialogs::Observacao(const std::vector<Variant>& args, Variant& oleRetorno) {
  auto text = AskObservation(Arg(args, 0), Arg(args, 1), Arg(args, 2));
  if (!text) {
    oleRetorno = Variant(std::string("erro"));
    return false;
  }
  oleRetorno = Variant(*text);
  return true;
}

// Arguments: title, the sale's total. The answer is a one-row packet: amount, percentage
// (0 when an amount was typed) and reason.
bool QtHostDialogs::CriaDesconto(const std::vector<Variant>& args, Variant& oleRetorno) {
  const double total = args.size() > 1 && !args[1].IsNull() ? args[1].AsFloat() : 0.0;
  const long long total_cents = std::isfinite(total) && total > 0 ? std::llround(total * 100) : 0;
  auto answer = AskDiscount(Arg(args, 0), total_cents);
  if (!answer) return false;
  base::DataPacket p;
  p.fields = {{"VRDESCONTO", base::FieldType::Float, 0},
              {"PCDESCONTO", base::FieldType::Float, 0},
              {"DSMOTIVO", base::FieldType::String, 100}};
  p.rows.push_back({Variant(static_cast<double>(answer->cents) / 100.0),
                    Variant(static_cast<double>(answer->percent) / 100.0), Variant(answer->reason)});
  oleRetorno = Variant(p);
  return true;
}

// Argument 0 is the document already given. The answer: 0 document, 1 name,
// 2 address, 5 foreigner's number.
bool QtHostDialogs::CriaInfAdicional(const std::vector<Variant>& args, Variant& oleRetorno) {
  AdditionalInfo proposed;
  proposed.document = Arg(args, 0);
  auto info = AskAdditionalInfo(proposed);
  if (!info) return false;
  std::vector<Variant> out(6, Variant(std::string()));
  out[0] = Variant(info->document);
  out[1] = Variant(info->name);
  out[2] = Variant(info->address);
  out[5] = Variant(info->foreigner);
  oleRetorno = Variant(out);
  return true;
}

bool QtHostDialogs::CriaOutrasMoedas(Variant& rates) {
  const base::DataPacket* known = rates.IsPacket() ? &rates.AsPacket() : &known_rates_;
  auto table = AskCurrencyRates(RatesToAsk(known), today_());
  if (!table) return false;
  known_rates_ = *table;
  rates = Variant(*table);
  return true;
}

void QtHostDialogs::AtivaProcesso(const std::string& form, const std::string& text) { notice_.Show(form, text); }

void QtHostDialogs::DesativaProcesso() { notice_.Hide(); }

}  // namespace recebimento::gui
