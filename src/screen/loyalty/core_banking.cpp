// The banking core's cashback: the operator chooses one of the consumer's three wallets
// on panCoreBancario, and the wallet's balance, when it is not blocked, is offered as a
// discount of the sale, once a sale.
#include "base/dataset_columns.h"
#include "base/text.h"
#include "host/runtime/format.h"
#include "host/runtime/messages.h"
#include "host/runtime/money.h"
#include "screen/frame/message_table.h"
#include "screen/frame/screen_parts.h"
#include "screen/loyalty/host_loyalty_answers.h"
#include "screen/loyalty/host_loyalty_providers.h"

namespace recebimento::screen {

namespace {

// A wallet of the banking core: its code, and the item columns of its amount and card.
struct CoreWallet {
  const char* choice;
  const char* code;
  const char* amount_column;
  const char* card_column;
};

constexpr CoreWallet kWallets[] = {
    {"CASHBACK", "001", "VRRESGCOREBANC", "IDCARTCOREBANC"},
    {"CARTÃO CORPORATIVO", "002", "VRRESGCORECORP", "IDCARTCORECORP"},
    {"CARTÃO QUALIDADE", "003", "VRRESGCOREQUAL", "IDCARTCOREQUAL"},
};

// Keeps the host's progress notice up while the banking core is asked.
class WhileTheCoreAnswers {
 public:
  explicit WhileTheCoreAnswers(pos::HostDialogs* dialogs) : dialogs_(dialogs) {
    if (dialogs_) dialogs_->AtivaProcesso("frmRecebimento", Msg("AGUARDE_CONS_CASH"));
  }
  ~WhileTheCoreAnswers() {
    if (dialogs_) dialogs_->DesativaProcesso();
  }
  WhileTheCoreAnswers(const WhileTheCoreAnswers&) = delete;
  WhileTheCoreAnswers& operator=(const WhileTheCoreAnswers&) = delete;

 private:
  pos::HostDialogs* dialogs_;
};

}  // namespace

std::string HostLoyaltyProviders::ErrosCoreBancario(const base::Variant& errors) const {
  std::string text;
  auto line = [&text](const std::string& code, const std::string& detail) {
    if (code.empty() && detail.empty()) return;
    text += (text.empty() ? "" : "\n") + ("ERRO-" + code + ":" + detail);
  };
  if (errors.IsPacket()) {
    base::Dataset cdsErros("cdsErros");
    cdsErros.SetData(errors);
    for (cdsErros.First(); !cdsErros.Eof(); cdsErros.Next()) {
      line(base::ColumnTrimmed(cdsErros, "CDERRO"), base::ColumnTrimmed(cdsErros, "DSERROCONS"));
      if (base::ColumnTrimmed(cdsErros, "IDSUCCESS") == "false")
        line(base::ColumnTrimmed(cdsErros, "CDRETORNO"), base::ColumnTrimmed(cdsErros, "DSRETCONS"));
    }
  }
  return text.empty() ? Msg("ERRO_PADRAO") : text;
}

std::string HostLoyaltyProviders::CarteiraCoreBanc() {
  TenderGrid& grid = s_.parts.grid;
  stCarteiraCoreBanc.clear();
  grid.CtrlBotoes("C", 1);
  SetPanel("panCoreBancario", true);
  s_.ctx.pump.RunUntil([&] { return !stCarteiraCoreBanc.empty() || s_.window.Closed(); }, "banking core wallet");
  SetPanel("panCoreBancario", false);
  grid.CtrlBotoes("C", 2);
  if (stCarteiraCoreBanc.empty()) stCarteiraCoreBanc = "SAIR";
  return stCarteiraCoreBanc;
}

void HostLoyaltyProviders::sbtCashbackCoreClick() {
  SaleState& sale = s_.sale;
  pos::LoyaltyServices* host = s_.ctx.host.loyalty;
  if (used_core_) return ShowKey("CORE_JA_UTIL");
  const std::string cpf = Cpf("NRCPFCOREBANC", "CPF do consumidor");
  if (cpf.empty()) return;
  for (;;) {
    const std::string choice = CarteiraCoreBanc();
    const CoreWallet* wallet = nullptr;
    for (const CoreWallet& w : kWallets)
      if (choice == w.choice) wallet = &w;
    if (!wallet) return;  // "SAIR"

    // The request is created, then its answer read.
    base::Variant created, answer;
    bool answered = false;
    {
      WhileTheCoreAnswers busy(s_.ctx.host.dialogs);
      answered = host &&
                 host->CoreBancario(
                     "CONSULTA", {base::Variant("POST"), base::Variant(cpf), base::Variant(wallet->code)}, created) &&
                 AnswerAccepted(created) &&
                 host->CoreBancario("CONSULTA",
                                    {base::Variant("GET"), base::Variant(cpf), base::Variant(wallet->code),
                                     base::Variant(AnswerText(created, 1))},
                                    answer);
    }
    if (!answered) {
      const base::Variant& failed = created.IsArray() && !AnswerAccepted(created) ? created : answer;
      const std::string details = failed.IsArray() && failed.Size() > 3 ? ErrosCoreBancario(failed[3]) : "";
      return ShowKey("FALHA_CONSULTA_CASH", details.empty() ? "" : "\n" + details);
    }
    if (!AnswerAccepted(answer)) {
      s_.ShowMessage(ErrosCoreBancario(answer.Size() > 3 ? answer[3] : base::Variant()), runtime::kMsgBlocked);
      return;
    }
    base::Dataset wallets("cdsCarteiras");
    if (!AnswerPacket(answer, 2, wallets) || !wallets.Locate("CDWALLET", base::Variant(wallet->code))) {
      ShowKey("SEM_SALDO_CART");
      continue;
    }
    if (base::ColumnTrimmed(wallets, "BLOQUEADO") != "false") {
      ShowKey("SALDO_CART_BLOQ");
      continue;
    }
    const double balance = runtime::Trunc2(base::ColumnNumber(wallets, "VRSALDO"));
    const double amount = s_.parts.programs.AdmissibleDiscount(balance);
    if (amount <= 0) {
      ShowKey("SEM_SALDO_CART");
      continue;
    }
    if (!s_.ShowMessage(Msg("SALDO_CART") + runtime::FormatFloat("0.00", balance), runtime::kMsgQuestion)) continue;
    Apply(amount, wallet->amount_column);
    sale.SetOnEveryItem("NRCPFCOREBANC", base::Variant(cpf));
    sale.SetOnEveryItem("IDREQCOREBANC", base::Variant(AnswerText(answer, 1)));
    sale.SetOnEveryItem("IDWALLET", base::Variant(std::string(wallet->code)));
    sale.SetOnEveryItem(wallet->card_column, base::Variant(base::ColumnTrimmed(wallets, "IDCARTAO")));
    used_core_ = true;
    return;
  }
}

}  // namespace recebimento::screen
