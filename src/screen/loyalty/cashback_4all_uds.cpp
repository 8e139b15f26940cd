// 4All and UDS cashback by the consumer's CPF: the balance offered as a discount of the
// sale (4All also takes a promotion code first), once a sale each.
#include <algorithm>

#include "base/data_packet.h"
#include "base/dataset_columns.h"
#include "base/text.h"
#include "host/runtime/documents.h"
#include "host/runtime/messages.h"
#include "host/runtime/money.h"
#include "screen/frame/message_table.h"
#include "screen/frame/screen_parts.h"
#include "screen/loyalty/host_loyalty_answers.h"
#include "screen/loyalty/host_loyalty_providers.h"

namespace recebimento::screen {

namespace {

constexpr size_t kCpfLength = 11;

bool LooksLikeCpf(const std::string& cpf) { return runtime::DocumentDigits(cpf).size() == kCpfLength; }

}  // namespace

void HostLoyaltyProviders::sbtCashbackUDSClick() {
  SaleState& sale = s_.sale;
  pos::LoyaltyServices* host = s_.ctx.host.loyalty;
  if (used_uds_ || sale.doVrDescCashUDS > 0) return ShowKey("CASH_JA_UTIL");
  const std::string cpf = Cpf("NRCPFFIDUDS", "CPF do consumidor");
  if (cpf.empty()) return;
  if (!LooksLikeCpf(cpf)) return ShowKey("CPF_INV");
  const std::string name = base::Trim(sale.charged.name).empty() ? "CONSUMIDOR FINAL" : base::Trim(sale.charged.name);
  base::Variant answer;
  if (!host || !host->IntegracaoFidUds("CONSULTA", {base::Variant(cpf), base::Variant(name)}, answer))
    return ShowKey("FALHA_CONEXAO_UDS");
  if (!AnswerAccepted(answer)) return ShowKey("ERRO_UDS", " " + AnswerText(answer, 1));
  if (base::Trim(AnswerText(answer, 3)) == "S") return ShowKey("SALDO_BLOQ");
  const double balance = AnswerAmount(answer, 2);
  if (balance <= 0) return ShowKey("SALD_CASH_ZERO");
  sale.SetOnEveryItem("NRCPFFIDUDS", base::Variant(cpf));
  const double amount = OfferBalance(balance);
  if (amount <= 0) return;
  // The provider takes the amount from the balance before the sale counts it.
  base::Variant taken;
  if (!host->IntegracaoFidUds("BAL_ZEM", {base::Variant(cpf), base::Variant(name), base::Variant(amount)}, taken))
    return ShowKey("FALHA_CONEXAO_UDS");
  if (!AnswerAccepted(taken)) return ShowKey("ERRO_UDS", " " + AnswerText(taken, 1));
  Apply(amount, "VRDESCCASHUDS");
  sale.doVrDescCashUDS = amount;
  used_uds_ = true;
}

bool HostLoyaltyProviders::PromotionCode4All(const base::Variant& consultation, const std::string& cpf) {
  SaleState& sale = s_.sale;
  base::Dataset cdsPromocao("cdsPromocao");
  if (!AnswerPacket(consultation, 3, cdsPromocao) || cdsPromocao.IsEmpty()) return true;
  base::Variant typed;
  if (!s_.ctx.host.dialogs->CriaInfAdicional({base::Variant(std::string("Código promocional"))}, typed)) return true;
  const std::string code = base::Utf8Upper(base::Trim(AnswerText(typed, 0)));
  if (code.empty()) return true;
  base::Variant items;
  if (sale.HasItems()) items = base::Variant(sale.cdsItensVenda->Data());
  base::Variant answer;
  if (!s_.ctx.host.loyalty->IntegracaoFid4All(
          "VALIDA_PROMOCODE",
          {base::Variant(code), base::Variant(s_.par.stNRINSJURFILI), base::Variant(sale.doVrAPagar), items}, answer)) {
    ShowKey("FALHA_VAL_PROMOCODE");
    return false;
  }
  if (!AnswerAccepted(answer) || !cdsPromocao.Locate("CDPROMOCAO", base::Variant(code))) {
    ShowKey("PROMOCODE_INV", AnswerText(answer, 1));
    return false;
  }
  const double value = base::ColumnNumber(cdsPromocao, "VRPROMOCAO");
  const double largest = s_.parts.programs.AdmissibleDiscount(sale.doVrAPagar);
  const bool percentage = base::Utf8Upper(base::ColumnTrimmed(cdsPromocao, "DSTIPPROMO")) == "PERCENTUAL";
  const double wanted = percentage ? runtime::FromCents(runtime::ToCents(largest) * runtime::ToCents(value) / 10000)
                                   : runtime::Trunc2(value);
  const double amount = s_.parts.programs.AdmissibleDiscount(wanted);
  if (amount <= 0) return true;
  Apply(amount, "VRDESCPROMO4ALL");
  sale.SetOnEveryItem("NRCPFFID4ALL", base::Variant(cpf));
  sale.SetOnEveryItem("CDPROMOFID4ALL", base::Variant(code));
  used_4all_ = true;
  return true;
}

void HostLoyaltyProviders::sbtCashbackClick() {
  SaleState& sale = s_.sale;
  pos::LoyaltyServices* host = s_.ctx.host.loyalty;
  if (used_4all_ || sale.doVrDescCash4All > 0) return ShowKey("CASH_JA_UTIL");
  const std::string cpf = Cpf("NRCPFFID4ALL", "CPF do consumidor");
  if (cpf.empty()) return;
  if (!LooksLikeCpf(cpf)) return ShowKey("CPF_INV");
  base::Variant answer;
  if (!host || !host->IntegracaoFid4All("CONSULTA", {base::Variant(cpf)}, answer) || !AnswerAccepted(answer))
    return ShowKey("FALHA_CONEXAO_4ALL");
  sale.SetOnEveryItem("NRCPFFID4ALL", base::Variant(cpf));
  if (!PromotionCode4All(answer, cpf)) return;
  const double balance = AnswerAmount(answer, 2);
  if (balance <= 0) return ShowKey("SALD_CASH_ZERO");
  const double amount = OfferBalance(balance);
  if (amount <= 0) return;
  Apply(amount, "VRDESCCASH4ALL");
  sale.doVrDescCash4All = amount;
  used_4all_ = true;
}

}  // namespace recebimento::screen
