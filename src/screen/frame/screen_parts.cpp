#include "screen/frame/screen_parts.h"

namespace recebimento::screen {

ScreenParts::ScreenParts(ScreenContext& ctx, ParametrosZem& par, SaleState& sale, ControlRegistry& controls,
                         ScreenWindow& window)
    : scope{ctx, par, sale, controls, window, *this},
      setup(scope),
      grid(scope),
      keyboard(scope),
      selection(scope),
      payments(scope),
      installments(scope),
      adjustments(scope),
      confirmation(scope),
      exit(scope),
      card(scope),
      cards(scope),
      fiscal(scope),
      consumer(scope),
      identification(scope),
      restrictions(scope),
      remote_orders(scope),
      wallets(scope),
      loyalty(scope),
      prepaid(scope),
      discounts(scope),
      campaigns(scope),
      activation(scope),

      programs(scope),
      host_loyalty(scope) {}

}  // namespace recebimento::screen
