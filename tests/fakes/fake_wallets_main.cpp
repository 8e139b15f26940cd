// rec_fake_wallets: the fake AME and Mercado Pago services of the tests, for runs by
// hand. Prints their addresses and the SQL that points a store's branch at them, then
// serves until it is stopped (Ctrl-C). AME authorises a payment on the first query of
// the callback service; Mercado Pago shows the order of the last reference paid (payment
// 501) from the first search on.
#include <chrono>
#include <csignal>
#include <cstdio>
#include <thread>

#include "support/fake_wallet_services.h"

namespace {

volatile std::sig_atomic_t stop = 0;

void Stop(int) { stop = 1; }

}  // namespace

int main() {
  using namespace recebimento::testing;
  FakeAme ame;
  FakeMercadoPago mp;
  mp.OrdersFromSearch(1, {{"111", "paid", {{"501", "approved"}}}});
  std::printf(
      "AME API (homologation base)  %s\n"
      "AME callback service         %s\n"
      "Mercado Pago API             %s\n"
      "Mercado Pago relay           %s\n\n"
      "UPDATE PARAVEND SET IDAMBIENTEAME = 'H', DSLOGINAMEHOM = 'id', DSSENHAAMEHOM = 'secret', "
      "DSURLAPIAMEHOM = '%s', DSURLSERVAME = '%s', DSACCESSTOKENMP = 'token', DSUSERIDMP = '123456', "
      "DSIDSPONSORMP = '1', DSURLAPIMP = '%s' WHERE CDFILIAL = '0001';\n",
      ame.ApiBase().c_str(), ame.CallbackBase().c_str(), mp.ApiBase().c_str(), mp.RelayUrl().c_str(),
      ame.ApiBase().c_str(), ame.CallbackBase().c_str(), mp.ApiBase().c_str());
  std::fflush(stdout);
  std::signal(SIGINT, Stop);
  std::signal(SIGTERM, Stop);
  while (!stop) std::this_thread::sleep_for(std::chrono::milliseconds(100));
  return 0;
}
