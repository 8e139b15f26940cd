#pragma once
// Dialogs answered from a script. A dialog that needs an answer (a question, a keypad,
// a structured entry) takes it from the answer source, else from the configured default
// for its kind; with neither, the source reports the dialog as unanswered (an error).
// One-button messages need no answer. Every dialog is recorded.
#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "host/pos/host_dialogs.h"
#include "host/pos/host_record.h"
#include "host/runtime/messages.h"

namespace recebimento::pos {

// An answer: a value (true/false, a text) or named fields for structured dialogs
// ("document", "name", "address", "foreigner"; "CDCLIENTE", "CDCONSUMIDOR", ...).
struct DialogAnswer {
  base::Variant value;
  std::map<std::string, base::Variant> fields;
  bool cancelled = false;  // the operator dismissed the dialog
};

// The fields a structured dialog reads from an answer given as named fields; nullptr
// for a dialog that takes a plain value (a question, a keypad, a choice).
const std::vector<std::string>* AnswerFieldsOf(const std::string& kind);
// Why named fields do not fit the dialog of that kind (a field it does not know, a
// mix of shapes, a bad value); empty when they fit.
std::string CheckAnswerFields(const std::string& kind, const std::map<std::string, base::Variant>& fields);

class DialogUnanswered : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

[[noreturn]] void ThrowUnanswered(const DialogRecord& dialog);

class DialogAnswerSource {
 public:
  virtual ~DialogAnswerSource() = default;
  // The answer for the dialog now open, or nothing when the script has none for it.
  virtual std::optional<DialogAnswer> Next(const DialogRecord& dialog) = 0;
  // Called when neither the script nor a default answers; must throw.
  [[noreturn]] virtual void Unanswered(const DialogRecord& dialog);
};

class SimulatedDialogs : public HostDialogs, public runtime::MessageDialogs {
 public:
  SimulatedDialogs(HostRecord& record, DialogAnswerSource* source = nullptr);
  void SetSource(DialogAnswerSource* source) { source_ = source; }
  // Default answer for a dialog kind ("Mensagem", "TecladoNumerico", ...).
  void SetDefault(const std::string& kind, DialogAnswer answer) { defaults_[kind] = std::move(answer); }

  bool Show(const runtime::MessageRequest& request) override;

  bool TecladoNumerico(std::string& value, const std::string& title, const std::string& caption,
                       const std::string& prompt, int max_digits, const std::string& mode) override;
  bool TecladoAlfaNumerico(const std::string& prompt, bool upper_case, int max_length, std::string& text) override;
  bool PesqConsumidor(const ConsumerSearchRequest& request, ConsumerSearchResult& result) override;
  bool Observacao(const std::vector<base::Variant>& args, base::Variant& oleRetorno) override;
  bool CriaDesconto(const std::vector<base::Variant>& args, base::Variant& oleRetorno) override;
  bool CriaInfAdicional(const std::vector<base::Variant>& args, base::Variant& oleRetorno) override;
  bool CriaOutrasMoedas(base::Variant& rates) override;
  void AtivaProcesso(const std::string& form, const std::string& text) override;
  void DesativaProcesso() override;

  // Opens a dialog of the given kind, waits for its answer and records it (the host's
  // other dialogs, such as the fiscal reports, open through here).
  DialogAnswer Ask(const std::string& kind, const std::string& title, const std::string& text);

  bool ProcessActive() const { return process_active_; }
  void SetCurrencyRates(base::Variant rates) { currency_rates_ = std::move(rates); }

 private:
  HostRecord& record_;
  DialogAnswerSource* source_;
  std::map<std::string, DialogAnswer> defaults_;
  bool process_active_ = false;
  base::Variant currency_rates_;
};

}  // namespace recebimento::pos
