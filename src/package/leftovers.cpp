#include "package/leftovers.h"

#include <mutex>
#include <set>

#include "base/atomic_file.h"
#include "base/text.h"
#include "datamodule/trdm_recebimento.h"
#include "host/runtime/result_check.h"
#include "screen/frame/screen_context.h"
#include "screen/setup/parametros_zem.h"

namespace recebimento::package {

namespace {

ReservedNumbersObserver& Observer() {
  static ReservedNumbersObserver observer;
  return observer;
}

}  // namespace

void SetReservedNumbersObserver(ReservedNumbersObserver observer) { Observer() = std::move(observer); }

void RemoveInterruptedWrites(const screen::ScreenContext& ctx) {
  const std::string& folder = ctx.host.host_dir;
  if (folder.empty()) return;
  // Only a process that died leaves such files (a write that fails removes its own), so a
  // folder is swept once a process: the host calls once per sale.
  {
    static std::mutex mutex;
    static std::set<std::string> swept;
    std::lock_guard<std::mutex> lock(mutex);
    if (!swept.insert(folder).second) return;
  }
  for (const std::string& file : base::RemoveInterruptedWrites(folder))
    ctx.log.LogRev00000("arquivo temporario de uma gravacao interrompida removido: " + base::Excerpt(file, 300));
}

void ReportNumbersStillReserved(const screen::ScreenContext& ctx, const screen::ParametrosZem& par) {
  const base::Variant numbers = ctx.rdm.NumbersStillReserved(par.stCDFILIAL, par.stCDCAIXA);
  if (!runtime::IsResultPacket(numbers)) {
    ctx.log.LogRev00000("numeros reservados nao consultados: " + numbers.AsString());
    return;
  }
  const base::DataPacket& packet = numbers.AsPacket();
  const int counter = packet.FieldIndex("CDCONTADOR"), number = packet.FieldIndex("NRRESERVADO"),
            since = packet.FieldIndex("DTRESERVA");
  for (const auto& row : packet.rows) {
    ctx.log.LogRev00000("numero reservado e nao usado (inutilizar): " + row[number].AsString() + " do contador " +
                        row[counter].AsString() + " desde " + row[since].AsDateTime().Format("dd/mm/yyyy hh:nn:ss"));
  }
  if (Observer()) Observer()(packet);
}

}  // namespace recebimento::package
