#include "host/pos/dialogs_sim.h"

#include "base/text.h"

namespace recebimento::pos {

using base::Variant;

void ThrowUnanswered(const DialogRecord& dialog) {
  throw DialogUnanswered("dialog " + dialog.kind + " \"" + (dialog.title.empty() ? dialog.text : dialog.title) +
                         "\" opened without an answer");
}

void DialogAnswerSource::Unanswered(const DialogRecord& dialog) { ThrowUnanswered(dialog); }

namespace {

Variant Field(const DialogAnswer& a, const std::string& name) {
  auto it = a.fields.find(name);
  return it == a.fields.end() ? Variant(std::string()) : it->second;
}

// What the record keeps as the answer: the value, or the fields as name=value texts.
Variant Recorded(const DialogAnswer& a) {
  if (a.cancelled) return Variant::Null();
  if (a.fields.empty()) return a.value;
  std::vector<Variant> parts;
  for (const auto& [k, v] : a.fields) parts.push_back(Variant(k + "=" + v.AsString()));
  return Variant(parts);
}

}  // namespace

SimulatedDialogs::SimulatedDialogs(HostRecord& record, DialogAnswerSource* source)
    : record_(record), source_(source) {}

DialogAnswer SimulatedDialogs::Ask(const std::string& kind, const std::string& title, const std::string& text) {
  DialogRecord open{kind, title, text, Variant()};
  std::optional<DialogAnswer> answer;
  if (source_) answer = source_->Next(open);
  if (!answer) {
    auto it = defaults_.find(kind);
    if (it != defaults_.end()) answer = it->second;
  }
  if (!answer) {
    if (source_) source_->Unanswered(open);
    ThrowUnanswered(open);
  }
  open.answer = Recorded(*answer);
  record_.Dialog(open);
  return *answer;
}

bool SimulatedDialogs::Show(const runtime::MessageRequest& r) {
  record_.Call("Mensagem", {Variant(r.text), Variant(r.kind)});
  if (r.kind != runtime::kMsgQuestion) {
    record_.Dialog({"Mensagem", r.title, r.text, Variant()});
    return true;
  }
  const DialogAnswer a = Ask("Mensagem", r.title, r.text);
  if (a.cancelled) return false;
  // A text answer reads as the dialog's buttons: "S"/"N".
  if (a.value.IsString()) return base::IEquals(base::Trim(a.value.AsString()), "S");
  return a.value.AsBoolean();
}

bool SimulatedDialogs::TecladoNumerico(std::string& value, const std::string& title, const std::string& caption,
                                       const std::string& prompt, int max_digits, const std::string& mode) {
  record_.Call("TecladoNumerico", {Variant(value), Variant(title), Variant(caption), Variant(prompt),
                                   Variant(max_digits), Variant(mode)});
  const DialogAnswer a = Ask("TecladoNumerico", title, caption.empty() ? prompt : caption);
  if (a.cancelled || a.value.IsNull() || (a.value.kind() == Variant::Kind::Bool && !a.value.AsBoolean()))
    return false;
  std::string typed = a.value.AsString();
  // The keypad takes digits only (and one decimal comma), up to its limit.
  std::string kept;
  for (char c : typed)
    if ((c >= '0' && c <= '9') || c == ',' || c == '.') kept += c;
  if (max_digits > 0 && static_cast<int>(kept.size()) > max_digits) kept.resize(static_cast<size_t>(max_digits));
  value = kept;
  return true;
}

bool SimulatedDialogs::TecladoAlfaNumerico(const std::string& prompt, bool upper_case, int max_length,
                                           std::string& text) {
  record_.Call("TecladoAlfaNumerico", {Variant(prompt), Variant(upper_case), Variant(max_length)});
  const DialogAnswer a = Ask("TecladoAlfaNumerico", "", prompt);
  if (a.cancelled || a.value.IsNull()) return false;
  std::string typed = a.value.AsString();
  if (upper_case) typed = base::Utf8Upper(typed);
  if (max_length > 0) typed = base::Utf8Left(typed, static_cast<size_t>(max_length));
  text = typed;
  return true;
}

bool SimulatedDialogs::PesqConsumidor(const ConsumerSearchRequest& r, ConsumerSearchResult& result) {
  record_.Call("PesqConsumidor", {Variant(r.operation), Variant(r.title), Variant(r.level), Variant(r.mode),
                                  Variant(r.phone)});
  const DialogAnswer a = Ask("PesqConsumidor", r.title, r.operation);
  if (a.cancelled || (a.fields.empty() && !a.value.AsBoolean())) return false;
  result.CDCLIENTE = Field(a, "CDCLIENTE").AsString();
  result.NMRAZSOCCLIE = Field(a, "NMRAZSOCCLIE").AsString();
  result.CDCONSUMIDOR = Field(a, "CDCONSUMIDOR").AsString();
  result.NMCONSUMIDOR = Field(a, "NMCONSUMIDOR").AsString();
  result.NRCPFRESPCON = Field(a, "NRCPFRESPCON").AsString();
  result.VRLIMDEBCONS = Field(a, "VRLIMDEBCONS").AsString();
  result.complement = Field(a, "complement").AsString();
  return !result.CDCONSUMIDOR.empty() || !result.CDCLIENTE.empty();
}

bool SimulatedDialogs::Observacao(const std::vector<Variant>& args, Variant& oleRetorno) {
  record_.Call("Observacao", args);
  const std::string title = args.empty() ? std::string() : args[0].AsString();
  const DialogAnswer a = Ask("Observacao", title, args.size() > 1 ? args[1].AsString() : std::string());
  if (a.cancelled) {
    oleRetorno = Variant(std::string("erro"));
    return false;
  }
  oleRetorno = Variant(a.fields.empty() ? a.value.AsString() : Field(a, "text").AsString());
  return true;
}

bool SimulatedDialogs::CriaDesconto(const std::vector<Variant>& args, Variant& oleRetorno) {
  record_.Call("CriaDesconto", args);
  const std::string title = args.empty() ? std::string() : args[0].AsString();
  const DialogAnswer a = Ask("CriaDesconto", title, args.size() > 1 ? args[1].AsString() : std::string());
  if (a.cancelled) return false;
  // The discount dialog answers a one-row packet: amount, percentage and reason.
  base::DataPacket p;
  p.fields = {{"VRDESCONTO", base::FieldType::Float, 0},
              {"PCDESCONTO", base::FieldType::Float, 0},
              {"DSMOTIVO", base::FieldType::String, 100}};
  const Variant amount = a.fields.empty() ? a.value : Field(a, "VRDESCONTO");
  p.rows.push_back({Variant(amount.AsFloat()), Variant(Field(a, "PCDESCONTO").AsFloat()),
                    Variant(Field(a, "DSMOTIVO").AsString())});
  oleRetorno = Variant(p);
  return true;
}

bool SimulatedDialogs::CriaInfAdicional(const std::vector<Variant>& args, Variant& oleRetorno) {
  record_.Call("CriaInfAdicional", args);
  const DialogAnswer a = Ask("CriaInfAdicional", "", args.empty() ? std::string() : args[0].AsString());
  if (a.cancelled) return false;
  std::vector<Variant> out(6, Variant(std::string()));
  if (a.fields.empty()) {
    out[0] = Variant(a.value.AsString());
  } else {
    out[0] = Field(a, "document");
    out[1] = Field(a, "name");
    out[2] = Field(a, "address");
    out[5] = Field(a, "foreigner");
  }
  oleRetorno = Variant(out);
  return true;
}

bool SimulatedDialogs::CriaOutrasMoedas(Variant& rates) {
  record_.Call("CriaOutrasMoedas");
  if (!currency_rates_.IsPacket()) return false;
  rates = currency_rates_;
  return true;
}

void SimulatedDialogs::AtivaProcesso(const std::string& form, const std::string& text) {
  record_.Call("AtivaProcesso", {Variant(form), Variant(text)});
  process_active_ = true;
}

void SimulatedDialogs::DesativaProcesso() {
  record_.Call("DesativaProcesso");
  process_active_ = false;
}

}  // namespace recebimento::pos
