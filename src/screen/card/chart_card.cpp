// The CHART card's exchange with the CHART software through the exchange folders.
#include "screen/card/chart_card.h"

#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>

#include "base/atomic_file.h"
#include "host/runtime/messages.h"
#include "host/runtime/money.h"
#include "host/runtime/numbers.h"
#include "screen/frame/screen_parts.h"

namespace recebimento::screen {

namespace fs = std::filesystem;

namespace {

constexpr const char* kOneChartPayment =
    "Operação bloqueada. O sistema não permite utilizar mais de 2 transações com Cartão CHART.";
constexpr const char* kSoftwareNotRunning =
    "Operação bloqueada. Software WTCENTRA.exe da CHART não esta sendo executado ou não foi carregado "
    "corretamente.";
constexpr const char* kCancelled =
    "Atenção! A Transação do Cartão CHART foi cancelada.\r\nO Saldo do Cliente não será "
    "alterado.";
constexpr const char* kValidating = "Aguarde.. Validando o Cartão CHART.";
constexpr const char* kPrinting = "Aguarde.. Imprimindo o Cupom TEF.";
constexpr const char* kAbandonQuestion =
    "A resposta do Cartão CHART não chegou. Deseja desistir da transação? O CHART será avisado para cancelá-la.";

// A file of the exchange that cannot be used.
class ChartFileError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

std::string ReadWhole(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) throw ChartFileError("não foi possível ler " + file.string());
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// Creates the folder when missing and deletes every file in it.
void EmptyFolder(const std::string& folder) {
  fs::create_directories(folder);
  for (const auto& entry : fs::directory_iterator(folder))
    if (entry.is_regular_file() || entry.is_symlink()) fs::remove(entry.path());
}

}  // namespace

void ChartCard::Fail(const std::string& text) {
  s_.sale.boFalhaReceb = true;
  if (!text.empty()) s_.ShowMessage(text, runtime::kMsgBlocked);
  s_.parts.grid.CtrlBotoes("D", 1);
}

void ChartCard::WaitFor(int64_t ms, const std::function<bool()>& done) {
  base::Clock& clock = s_.ctx.clock;
  const int64_t until = clock.TickMs() + ms;
  s_.ctx.pump.RunUntil([&] { return clock.TickMs() >= until || done(); }, "CHART card software");
}

bool ChartCard::AbandonConfirmed(const std::function<bool()>& answered) {
  abandon_requested_ = false;
  if (!s_.ShowMessage(kAbandonQuestion, runtime::kMsgQuestion)) return false;
  // An answer written while the question was open is taken as it stands: an approval
  // already charged the card, and nothing is left to cancel.
  if (answered()) return false;
  const std::string out = s_.ctx.paths.CardRequestFolder();
  pos::WriteChartRequestFile(out, pos::ChartRequestOf("CAN"));
  s_.ctx.clock.Sleep(50);
  pos::PublishChartRequest(out);
  s_.ctx.log.LogRev00000("CHART: transacao abandonada pelo operador, cancelamento enviado");
  return true;
}

ChartCard::Outcome ChartCard::Exchange(double amount, pos::ChartAnswer& answer) {
  const std::string out = s_.ctx.paths.CardRequestFolder();
  const std::string in = s_.ctx.paths.CardAnswerFolder();
  if (out.empty() || in.empty()) throw ChartFileError("as pastas de troca do CHART não estão configuradas");
  EmptyFolder(out);
  EmptyFolder(in);
  pos::WriteChartRequestFile(out, pos::ChartSaleRequest(amount, s_.ctx.clock.Now()));
  s_.ctx.clock.Sleep(50);
  pos::PublishChartRequest(out);

  const fs::path request = fs::path(out) / pos::kChartRequest;
  WaitFor(kTakeUpMs, [&] { return !fs::exists(request); });
  if (fs::exists(request)) {
    fs::remove(request);
    return Outcome::NotTaken;
  }

  // The answer has no time limit: the operator may give up, after a question.
  const fs::path approved = fs::path(in) / pos::kChartApproved;
  const fs::path cancelled = fs::path(in) / pos::kChartCancelled;
  ControlRegistry& c = s_.controls;
  abandon_requested_ = false;
  c.Bind("sbtCancelaChart", [this] { RequestAbandon(); });
  c.SetVisible("sbtCancelaChart", true);
  c.SetEnabled("sbtCancelaChart", true);
  struct HideCancel {
    ControlRegistry& c;
    ~HideCancel() { c.SetVisible("sbtCancelaChart", false); }
  } hide{c};
  for (;;) {
    // An approval wins over a cancellation written beside it.
    if (fs::exists(approved)) {
      answer = pos::ReadChartAnswer(ReadWhole(approved));
      return Outcome::Approved;
    }
    if (fs::exists(cancelled)) return Outcome::Cancelled;
    if (abandon_requested_) {
      if (AbandonConfirmed([&] { return fs::exists(approved) || fs::exists(cancelled); })) return Outcome::Abandoned;
      continue;  // the folder is looked at again before any wait
    }
    WaitFor(kPollMs, [this] { return abandon_requested_; });
  }
}

bool ChartCard::ChartTender(TenderPayment& tender, double& amount) {
  SaleState& sale = s_.sale;
  TenderSelection& selection = s_.parts.selection;
  ControlRegistry& c = s_.controls;
  if (!selection.AmountFromKeypad(isChartECP, sale.doVrAPagar, amount)) return false;
  if (!selection.AdvanceAllows(amount)) return false;
  if (runtime::ToCents(runtime::RoundDec(amount, 2)) > runtime::ToCents(runtime::RoundDec(sale.doVrAPagar, 2))) {
    selection.Refuse("VAL_N_PER");
    return false;
  }
  if (sale.HasPaymentWith("IDTIPORECE", "E")) {
    Fail(kOneChartPayment);
    return false;
  }

  s_.parts.grid.CtrlBotoes("E", 1);
  c.SetEnabled("spbSair", false);
  c.SetCaption("lblImpTef", kValidating);
  c.SetVisible("panImpTef", true);
  c.SetVisible("lblImpTef", true);
  s_.ctx.pump.ProcessMessages();

  Outcome outcome = Outcome::NotTaken;
  pos::ChartAnswer answer;
  std::string failure;
  try {
    outcome = Exchange(amount, answer);
  } catch (const fs::filesystem_error& e) {
    failure = std::string("Exception CHART: ") + e.what();
  } catch (const base::AtomicFileError& e) {
    failure = std::string("Exception CHART: ") + e.what();
  } catch (const ChartFileError& e) {
    failure = std::string("Exception CHART: ") + e.what();
  }
  c.SetVisible("panImpTef", false);
  c.SetVisible("lblImpTef", false);
  c.SetCaption("lblImpTef", kPrinting);
  s_.parts.grid.CtrlBotoes("E", 2);
  s_.parts.keyboard.KeybEnabled(true);

  if (!failure.empty()) {
    Fail(failure);
    return false;
  }
  switch (outcome) {
    case Outcome::Approved:
      sale.tpInputStep = isNone;
      tender.card.CDNSUTEF = answer.authorization;
      tender.card.CDNSUHOSTTEF = answer.card_number;
      return true;
    case Outcome::NotTaken: Fail(kSoftwareNotRunning); return false;
    case Outcome::Cancelled:
    case Outcome::Abandoned: Fail(kCancelled); return false;
  }
  return false;
}

}  // namespace recebimento::screen
