#pragma once
// Small pieces the fiscal receipt's steps share.
#include <string>

#include "base/data_packet.h"
#include "base/dataset.h"
#include "screen/frame/screen_scope.h"

namespace recebimento::screen::fiscal {

// A dataset's packet, or an empty packet for a dataset not there or closed.
inline base::DataPacket PacketOf(const base::Dataset* ds) {
  return ds && ds->Active() ? ds->Data() : base::DataPacket{};
}

// The card terminal integrated with the printer took a card for this sale: the printer's
// calls are told so.
inline bool IntegratedTefFlag(const ScreenScope& s) { return s.par.stIDUTILTEF == "S" && s.sale.boTemPagtoTef; }

// A card terminal is in use (integrated or dedicated) and took a card for this sale.
inline bool TefFlag(const ScreenScope& s) {
  return (s.par.stIDUTILTEF == "S" || s.par.stIDUTILTEF == "T") && s.sale.boTemPagtoTef;
}

// A file of the reference folder (DSDIRCAD) under the host folder; empty when the
// configured folder would lead out of it.
inline std::string ReferenceFile(const ScreenScope& s, const std::string& name) {
  try {
    return s.ctx.paths.Reference(s.par.stDSDIRCAD, name);
  } catch (const std::exception&) {
    return {};
  }
}

// Runs `work` over every payment row, in stored order, with the cursor on the row; the
// cursor goes back where it was. Nothing without payments.
template <typename Work>
void ForEachPayment(const ScreenScope& s, Work work) {
  base::Dataset* movi = s.sale.cdsMoviVenda;
  if (!movi || !movi->Active() || movi->IsEmpty()) return;
  const base::Dataset::Bookmark here = movi->GetBookmark();
  for (movi->First(); !movi->Eof(); movi->Next()) work(*movi);
  if (movi->BookmarkValid(here)) movi->GotoBookmark(here);
}

}  // namespace recebimento::screen::fiscal
