#pragma once
// The AME API and the store's callback service: the token, the payment order, the
// authorisation polled from the callback service, and the capture or cancel of the
// payment. Each call returns true on success; on failure its texts are in stMensagemAme
// and stMensagemAmeAux. Orders that hold the consumer's money are followed in the wallet
// journal when one is given.
#include <functional>
#include <string>
#include <vector>

#include "integrations/ame/ame_settings.h"
#include "integrations/ame/ame_state.h"
#include "integrations/integration_context.h"
#include "integrations/rest/frame_variables.h"
#include "integrations/rest/loggers.h"
#include "integrations/rest/request_sequence.h"
#include "integrations/wallet_journal/wallet_journal.h"

namespace recebimento::integrations {

class AmeClient {
 public:
  AmeClient(const IntegrationContext& context, const Loggers& log, AmeFrame& frame, AmeState& state,
            SharedFrameVariables& shared, const AmeSettings& settings, WalletJournal* journal = nullptr);

  // POST /auth/oauth/token with the client credentials: stTokenApiAme.
  bool buscaTokenAME();
  // POST /orders for doValorAME: stIdOrdemAme and stLinkQRCodeAME.
  bool criaOrdemAME();
  // GET <callback service>/callbackaut?id=<order>. False only when the consumer has
  // authorised the payment (stIdOrdemAmeCaptura, stIdStatusOrdAME, stIdTypeOrdAME set);
  // true - keep waiting - for any other answer, a failed request or an error.
  bool buscaCallBackAutAME();
  // PUT /wallet/user/payments/<payment>/capture: stStatusCapturaAME.
  bool capturaOrdemAME();
  // PUT /wallet/user/payments/<payment>/cancel; nothing without a payment.
  bool cancelaOrdemAME();

  // The order no longer holds the consumer's money (captured, cancelled, or never shown
  // to anyone): its journal entry goes.
  void ForgetOrder();

 private:
  // The common sequence with this integration's variables; `log_failure` logs the
  // failure message.
  bool Call(const ListFormCall& call, bool log_failure);
  std::vector<std::string> BearerHeaders(const std::string& accept, const std::string& content_type) const;
  std::string PaymentUrl(const std::string& action) const;
  // Changes the journal entry of the current order (nothing without a journal).
  void UpdateJournal(const std::function<void(WalletJournalEntry&)>& change);
  // A reply that passed but lacks what the call needs is a failure all the same.
  bool IncompleteReply(const std::string& what);

  const IntegrationContext& context_;
  const Loggers& log_;
  AmeFrame& frame_;
  AmeState& state_;
  SharedFrameVariables& shared_;
  const AmeSettings& settings_;
  WalletJournal* journal_;
};

}  // namespace recebimento::integrations
