#include "integrations/wallet_journal/wallet_recovery.h"

#include "integrations/ame/ame_client.h"
#include "integrations/mercadopago/mp_client.h"

namespace recebimento::integrations {

namespace {

// How long a request of the settlement waits: a provider that does not answer must not
// hold the start for minutes.
constexpr const char* kSettlementTimeout = "15";

class Settlement {
 public:
  Settlement(const IntegrationContext& context, const Loggers& log, WalletJournal& journal, const AmeSettings& ame,
             base::Dataset& cdsDadosMp)
      : context_(context), log_(log), journal_(journal), ame_(ame), cdsDadosMp_(cdsDadosMp) {}

  std::vector<std::string> Run() {
    // Orders first: settling one may add payments to refund.
    for (const WalletJournalEntry& e : Snapshot())
      if (e.kind == WalletJournalEntry::kOrder) Settle(e);
    for (const WalletJournalEntry& e : Snapshot())
      if (e.kind != WalletJournalEntry::kOrder) Settle(e);
    return lines_;
  }

 private:
  std::vector<WalletJournalEntry> Snapshot() const { return journal_.Entries(); }

  void Settle(const WalletJournalEntry& e) {
    if (!journal_.Find(e.id)) return;
    std::string failure;
    if (e.provider == WalletJournalEntry::kAme) {
      failure = SettleAme(e);
    } else if (e.provider == WalletJournalEntry::kMercadoPago) {
      failure = e.kind == WalletJournalEntry::kOrder ? SettleMercadoPagoOrder(e) : RefundMercadoPago(e);
    } else {
      journal_.Remove(e.id);
      Note(e, "desconhecida, descartada");
      return;
    }
    if (failure.empty()) return;
    const auto current = journal_.Find(e.id);  // as the calls above left it
    if (!current) return;
    WalletJournalEntry kept = *current;
    if (++kept.attempts >= kMostSettlementAttempts) {
      journal_.Remove(e.id);
      Note(e, "não acertada após " + std::to_string(kept.attempts) + " tentativas (" + failure +
                  "): acerte com o provedor");
    } else {
      journal_.Update(kept);
      Note(e, "fica para a próxima abertura (" + failure + ")");
    }
  }

  void Note(const WalletJournalEntry& e, const std::string& what) {
    const std::string line = "Carteira pendente: " + e.provider + (e.order.empty() ? "" : " ordem " + e.order) +
                             (e.payment.empty() ? "" : " pagamento " + e.payment) + ": " + what;
    lines_.push_back(line);
    if (e.provider == WalletJournalEntry::kAme) {
      log_.logAme(line, "");
    } else {
      log_.logMp(line);
    }
  }

  // "" when settled (the entry left the journal), else why not.
  std::string SettleAme(const WalletJournalEntry& e) {
    if (e.order.empty() && e.payment.empty()) {
      journal_.Remove(e.id);
      Note(e, "criação não concluída, nada a cancelar");
      return "";
    }
    if (!ame_.Usable()) return "AME sem configuração na filial";
    AmeFrame frame;
    AmeState state;
    SharedFrameVariables shared;
    AmeClient client(context_, log_, frame, state, shared, ame_, &journal_);
    state.stIdOrdemAme = e.order;
    state.stIdOrdemAmeCaptura = e.payment;
    state.journal_entry = e.id;
    if (!client.buscaTokenAME()) return frame.stMensagemAme;
    if (e.phase == WalletJournalEntry::kSale) {
      if (!client.capturaOrdemAME()) return frame.stMensagemAme;
      Note(e, "capturada (" + state.stStatusCapturaAME + ")");
      return "";
    }
    if (state.stIdOrdemAmeCaptura.empty()) {
      client.buscaCallBackAutAME();
      if (!frame.stMensagemAme.empty()) return frame.stMensagemAme;
      if (state.stIdOrdemAmeCaptura.empty()) {
        journal_.Remove(e.id);
        Note(e, "não paga, nada a cancelar");
        return "";
      }
    }
    if (!client.cancelaOrdemAME()) return frame.stMensagemAme;
    WalletJournalEntry cancelled = e;
    cancelled.payment = state.stIdOrdemAmeCaptura;
    Note(cancelled, "cancelada");
    return "";
  }

  // A Mercado Pago client over the branch's settings; false when the branch has none.
  bool MercadoPago(MercadoPagoFrame& frame, MercadoPagoState& state, MercadoPagoClient& client) {
    client.inicializaVarMP(cdsDadosMp_);
    client.LimitTimeout(kSettlementTimeout);
    return !frame.stACCESSTOKEN.empty() && !state.stUSERID.empty();
  }

  std::string SettleMercadoPagoOrder(const WalletJournalEntry& e) {
    MercadoPagoFrame frame;
    MercadoPagoState state;
    MercadoPagoClient client(context_, log_, frame, state, &journal_);
    if (!MercadoPago(frame, state, client)) return "Mercado Pago sem configuração na filial";
    client.excluiOrderV2();
    state.stEXTERNALREFERENCE = e.order;
    // A paid order whose payment cannot be told keeps the entry for another look.
    std::vector<std::string> paid;
    if (!client.PaymentsOfReference(paid)) return frame.stMensagemMp;
    // Each payment becomes an entry of its own, refunded below (and retried on its own).
    for (const std::string& payment : paid) {
      WalletJournalEntry refund;
      refund.provider = WalletJournalEntry::kMercadoPago;
      refund.kind = WalletJournalEntry::kPayment;
      refund.phase = WalletJournalEntry::kOpen;
      refund.order = e.order;
      refund.payment = payment;
      if (journal_.Add(refund).empty()) return journal_.Problem();
    }
    journal_.Remove(e.id);
    Note(e, paid.empty() ? "não paga, retirada do ponto de venda"
                         : std::to_string(paid.size()) + " pagamento(s) a estornar");
    return "";
  }

  std::string RefundMercadoPago(const WalletJournalEntry& e) {
    if (e.phase != WalletJournalEntry::kOpen) {
      journal_.Remove(e.id);
      return "";
    }
    MercadoPagoFrame frame;
    MercadoPagoState state;
    MercadoPagoClient client(context_, log_, frame, state, &journal_);
    if (!MercadoPago(frame, state, client)) return "Mercado Pago sem configuração na filial";
    state.stPAYMENTID = e.payment;
    if (!client.estornoMP()) return frame.stMensagemMp;
    Note(e, "estornado");
    return "";
  }

  const IntegrationContext& context_;
  const Loggers& log_;
  WalletJournal& journal_;
  const AmeSettings& ame_;
  base::Dataset& cdsDadosMp_;
  std::vector<std::string> lines_;
};

}  // namespace

std::vector<std::string> SettleWalletJournal(const IntegrationContext& context, const Loggers& log,
                                             WalletJournal& journal, const AmeSettings& ame,
                                             base::Dataset& cdsDadosMp) {
  if (journal.Entries().empty()) return {};
  return Settlement(context, log, journal, ame, cdsDadosMp).Run();
}

}  // namespace recebimento::integrations
