// Reading Mercado Pago's replies as the payment loop does on every look at the orders: a
// search reply turned into the JSON reader's XML and walked, and the paid order's
// approved payment read from an order with many payments. A busy branch's search may list
// a few hundred merchant orders; each look must stay far below the loop's 5 s.
#include <benchmark/benchmark.h>

#include <string>

#include "integrations/mercadopago/mp_messages.h"
#include "integrations/rest/json_extractors.h"
#include "integrations/rest/json_to_xml.h"

namespace {

std::string SearchReply(int orders) {
  std::string text = "{\"response_code\":200,\"elements\":[";
  for (int i = 0; i < orders; ++i) {
    const std::string id = std::to_string(1000 + i);
    text += (i ? "," : "") + std::string("{\"id\":") + id +
            ",\"status\":\"opened\",\"external_reference\":\"order-id-12062026120000\",\"payments\":[{\"id\":5" + id +
            ",\"transaction_amount\":12.5,\"status\":\"rejected\"}],\"items\":[{\"title\":\"Posto Central\","
            "\"unit_price\":12.5,\"quantity\":1}],\"order_status\":\"payment_required\"}";
  }
  return text + "],\"total\":" + std::to_string(orders) + "}";
}

std::string OrderWithPayments(int payments) {
  std::string text = "{\"response_code\":200,\"id\":111,\"payments\":[";
  for (int i = 0; i < payments; ++i)
    text += (i ? "," : "") + std::string("{\"id\":") + std::to_string(500 + i) + ",\"status\":\"" +
            (i + 1 == payments ? "approved" : "rejected") + "\"}";
  return text + "],\"order_status\":\"paid\"}";
}

void BM_SearchReplyWalked(benchmark::State& state) {
  const std::string reply = SearchReply(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    const auto orders = recebimento::integrations::ReadMerchantOrders(*recebimento::integrations::JsonToXML(reply));
    benchmark::DoNotOptimize(orders.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(reply.size()));
}
BENCHMARK(BM_SearchReplyWalked)->Arg(10)->Arg(300);

void BM_ApprovedPaymentOfPaidOrder(benchmark::State& state) {
  const std::string reply = OrderWithPayments(static_cast<int>(state.range(0)));
  for (auto _ : state) benchmark::DoNotOptimize(recebimento::integrations::ApprovedPaymentOfPaidOrder(reply));
}
BENCHMARK(BM_ApprovedPaymentOfPaidOrder)->Arg(2)->Arg(20);

void BM_MercadoPagoFieldOfSearchReply(benchmark::State& state) {
  const std::string reply = SearchReply(static_cast<int>(state.range(0)));
  for (auto _ : state)
    benchmark::DoNotOptimize(recebimento::integrations::retornaCampoJSONMp(reply, "payments", "id", 1));
}
BENCHMARK(BM_MercadoPagoFieldOfSearchReply)->Arg(300);

}  // namespace
