// The banking core's cashback: the operator chooses one of the consumer's three wallets
// on panCoreBancario, and the wallet's balance, when it is not blocked, is offered as a
// discount of the sale, once a sale.
#include "base/dataset_columns.h"
#include "base/text.h"
#include "host/runtime/format.h"
#include "host/runtime/messages.h"
#include "host/runtime/money.h"
#include "integrations/core_banking/core_banking_cashback.h"
#include "screen/frame/message_table.h"
#include "screen/frame/screen_parts.h"
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
  if (!offer_.FirstUse(used_core_, "CORE_JA_UTIL")) return;
  const std::string cpf = Cpf("NRCPFCOREBANC", "CPF do consumidor");
  if (cpf.empty()) return;
  for (;;) {
    const std::string choice = CarteiraCoreBanc();
    const CoreWallet* wallet = nullptr;
    for (const CoreWallet& w : kWallets)
      if (choice == w.choice) wallet = &w;
    if (!wallet) return;  // "SAIR"

    integrations::CoreBankingCashback core(s_.ctx.host.loyalty, cpf, wallet->code);
    integrations::CashbackBalance balance;
    std::string problem;
    bool answered = false;
    {
      WhileTheCoreAnswers busy(s_.ctx.host.dialogs);
      answered = core.ConsultBalance(balance, problem);
    }
    if (!answered) {
      if (problem.empty()) {
        s_.ShowMessage(ErrosCoreBancario(core.Errors()), runtime::kMsgBlocked);
        return;
      }
      const std::string details = core.HasErrors() ? ErrosCoreBancario(core.Errors()) : "";
      return ShowKey(problem, details.empty() ? "" : "\n" + details);
    }
    BalanceOffer how;
    how.zero_key = "SEM_SALDO_CART";
    how.blocked_key = "SALDO_CART_BLOQ";
    how.nothing_key = "SEM_SALDO_CART";
    how.column = wallet->amount_column;
    how.ask = [this](const integrations::CashbackBalance& found, double&) {
      return s_.ShowMessage(Msg("SALDO_CART") + runtime::FormatFloat("0.00", found.balance), runtime::kMsgQuestion);
    };
    if (offer_.Offer(core, balance, how) != OfferOutcome::kApplied) continue;
    sale.SetOnEveryItem("NRCPFCOREBANC", base::Variant(cpf));
    sale.SetOnEveryItem("IDREQCOREBANC", base::Variant(balance.reference));
    sale.SetOnEveryItem("IDWALLET", base::Variant(std::string(wallet->code)));
    sale.SetOnEveryItem(wallet->card_column, base::Variant(core.Card()));
    used_core_ = true;
    return;
  }
}

}  // namespace recebimento::screen
