#pragma once
// Mercado Pago's in-store QR API and the store's notification relay. Each call keeps the
// reply in stMpResult, logs its step and the reply, and returns whether the reply
// carries its success status. Orders and payments that hold the consumer's money are
// followed in the wallet journal when one is given.
#include <string>
#include <vector>

#include "base/dataset.h"
#include "integrations/integration_context.h"
#include "integrations/mercadopago/mp_state.h"
#include "integrations/rest/frame_variables.h"
#include "integrations/rest/loggers.h"
#include "integrations/wallet_journal/wallet_journal.h"

namespace recebimento::integrations {

class MercadoPagoClient {
 public:
  MercadoPagoClient(const IntegrationContext& context, const Loggers& log, MercadoPagoFrame& frame,
                    MercadoPagoState& state, WalletJournal* journal = nullptr);

  // The register's point of sale from cdsDadosMp (its current row), a new external
  // reference to come, no order found, empty id lists and a new XML document. An error
  // reading the settings is logged, never raised. The API endpoint is the store's
  // DSURLAPIMP when it gives one.
  void inicializaVarMP(base::Dataset& cdsDadosMp);

  // PUT the order for doValorMP on the point of sale (a new stEXTERNALREFERENCE);
  // `server_time` is the store server's time text, for the UTC offset.
  bool criaOrderPresencialV2(const std::string& server_time);
  // DELETE the order on the point of sale. The order's journal entry stays: a consumer
  // may have paid it just before it left (PaymentsOfReference tells).
  bool excluiOrderV2();
  // GET the order on the point of sale.
  bool obtemOrderPendenteV2();
  // GET the merchant orders of stEXTERNALREFERENCE.
  bool obtemOrderSearch();
  // GET the merchant order stIdOrdemMp.
  bool obtemOrderID();
  // POST the refund of the first payment of stPAYMENTID (into stPAYMENTIDestorno).
  bool estornoMP();
  // GET the relay's answer for a merchant order; false without a request when the store
  // has no relay.
  bool notificacaoMP(const std::string& Topic, const std::string& Id, const std::string& Action);

  // The approved payments of the merchant orders of stEXTERNALREFERENCE, a paid order
  // without an approved first payment looked up by id. False (why in stMensagemMp) when
  // the search or a lookup failed or its reply could not be read: what was paid is
  // unknown then.
  bool PaymentsOfReference(std::vector<std::string>& payments);
  // The order being paid is off the point of sale and nothing was paid for it: its
  // journal entry goes.
  void ForgetOrder();

  // The journal: the payment taken for the order being paid, which the sale now holds
  // until it is recorded or refunded.
  void RecordPayment(const std::string& payment_id);

  // Every request waits at most `seconds` (a text) instead of its own time-out: the
  // settlement at a start must not hold the screen for minutes.
  void LimitTimeout(const std::string& seconds) { timeout_ = seconds; }

 private:
  bool Call(const std::string& step, const std::string& url, const std::string& method, const std::string& body,
            int success_code, const std::string& timeout = "60");
  std::string PosUrl() const;

  const IntegrationContext& context_;
  const Loggers& log_;
  MercadoPagoFrame& frame_;
  MercadoPagoState& state_;
  WalletJournal* journal_;
  std::string timeout_;
};

}  // namespace recebimento::integrations
