#include "host/pos/dialogs_sim.h"

#include <algorithm>

#include "base/text.h"

namespace recebimento::pos {

using base::Variant;

void ThrowUnanswered(const DialogRecord& dialog) {
  throw DialogUnanswered("dialog " + dialog.kind + " \"" + (dialog.title.empty() ? dialog.text : dialog.title) +
                         "\" opened without an answer");
}

void DialogAnswerSource::Unanswered(const DialogRecord& dialog) { ThrowUnanswered(dialog); }

const std::vector<std::string>* AnswerFieldsOf(const std::string& kind) {
  static const std::map<std::string, std::vector<std::string>> fields = {
      {"CriaInfAdicional", {"document", "name", "address", "foreigner"}},
      {"PesqConsumidor",
       {"CDCLIENTE", "NMRAZSOCCLIE", "CDCONSUMIDOR", "NMCONSUMIDOR", "NRCPFRESPCON", "VRLIMDEBCONS", "complement"}},
      {"Observacao", {"text"}},
      // The amount or the percentage in columns of their own, or the host's own shape:
      // TIPO "V" (value) or "P" (percentage) with VALOR.
      {"CriaDesconto", {"VRDESCONTO", "PCDESCONTO", "DSMOTIVO", "TIPO", "VALOR"}},
  };
  auto it = fields.find(kind);
  return it == fields.end() ? nullptr : &it->second;
}

std::string CheckAnswerFields(const std::string& kind, const std::map<std::string, Variant>& given) {
  if (given.empty()) return {};
  const std::vector<std::string>* known = AnswerFieldsOf(kind);
  if (!known) return "the dialog " + kind + " takes a value, not named fields";
  for (const auto& [name, value] : given) {
    if (std::find(known->begin(), known->end(), name) != known->end()) continue;
    std::string list;
    for (const auto& k : *known) list += (list.empty() ? "" : ", ") + k;
    return "the dialog " + kind + " has no field \"" + name + "\" (it knows " + list + ")";
  }
  if (kind == "CriaDesconto") {
    const bool host_shape = given.count("TIPO") || given.count("VALOR");
    const bool own_shape = given.count("VRDESCONTO") || given.count("PCDESCONTO");
    if (host_shape && own_shape)
      return "the dialog CriaDesconto takes either TIPO and VALOR or VRDESCONTO and PCDESCONTO, not both";
    if (host_shape) {
      const auto tipo = given.find("TIPO");
      const auto valor = given.find("VALOR");
      if (tipo == given.end() || valor == given.end()) return "the dialog CriaDesconto takes TIPO and VALOR together";
      if (!tipo->second.IsString() || (tipo->second.AsString() != "V" && tipo->second.AsString() != "P"))
        return "TIPO of the dialog CriaDesconto is \"V\" (value) or \"P\" (percentage)";
      if (!valor->second.IsNumber()) return "VALOR of the dialog CriaDesconto is a number";
    }
  }
  return {};
}

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

SimulatedDialogs::SimulatedDialogs(HostRecord& record, DialogAnswerSource* source) : record_(record), source_(source) {}

DialogAnswer SimulatedDialogs::Ask(const std::string& kind, const std::string& title, const std::string& text) {
  DialogRecord open{kind, title, text, Variant(), "question"};
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
    record_.Dialog({"Mensagem", r.title, r.text, Variant(), runtime::MessageTypeName(r.kind)});
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
  record_.Call("TecladoNumerico",
               {Variant(value), Variant(title), Variant(caption), Variant(prompt), Variant(max_digits), Variant(mode)});
  const DialogAnswer a = Ask("TecladoNumerico", title, caption.empty() ? prompt : caption);
  if (a.cancelled || a.value.IsNull() || (a.value.kind() == Variant::Kind::Bool && !a.value.AsBoolean())) return false;
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
  record_.Call("PesqConsumidor",
               {Variant(r.operation), Variant(r.title), Variant(r.level), Variant(r.mode), Variant(r.phone)});
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
  // The discount dialog answers a one-row packet: the kind (value or percentage) and
  // the figure, as the host's own dialog does, or the amount, the percentage and the
  // reason in columns of their own.
  base::DataPacket p;
  if (a.fields.count("TIPO")) {
    p.fields = {{"TIPO", base::FieldType::String, 1}, {"VALOR", base::FieldType::Float, 0}};
    p.rows.push_back({Field(a, "TIPO"), Variant(Field(a, "VALOR").AsFloat())});
  } else {
    p.fields = {{"VRDESCONTO", base::FieldType::Float, 0},
                {"PCDESCONTO", base::FieldType::Float, 0},
                {"DSMOTIVO", base::FieldType::String, 100}};
    const Variant amount = a.fields.empty() ? a.value : Field(a, "VRDESCONTO");
    p.rows.push_back({Variant(amount.AsFloat()), Variant(Field(a, "PCDESCONTO").AsFloat()),
                      Variant(Field(a, "DSMOTIVO").AsString())});
  }
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
