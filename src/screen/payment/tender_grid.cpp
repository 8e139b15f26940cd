// Building the tender grid: the group row and the pages of tender buttons from cdsReceb,
// the group presses, and showing or enabling the button area as a whole.
#include "screen/payment/tender_grid.h"

#include <fmt/format.h>

#include <filesystem>
#include <optional>
#include <string>

#include "base/dataset_columns.h"
#include "base/path.h"
#include "base/text.h"
#include "screen/payment/tender_rows.h"

namespace recebimento::screen {

namespace {

constexpr int64_t kEmptySlotColour = 0x00B09090;
constexpr int64_t kBlack = 0;

std::string TwoDigits(int i) { return fmt::format("{:02d}", i); }

// The image file `name` under `folder` when it exists; empty otherwise. A name from the
// store's data may name a sub-folder with either separator ("Imagens\\grupo1.bmp"); a
// missing file, or a name that would leave the folder, leaves the glyph empty and is not
// reported.
std::string ImageFile(std::string folder, const std::string& name) {
  if (base::Trim(name).empty()) return "";
  for (char& c : folder)
    if (c == '\\') c = '/';
  try {
    const auto path = base::FindSpecPath(folder.empty() ? "." : folder, name);
    std::error_code ec;
    return path && std::filesystem::is_regular_file(*path, ec) ? *path : "";
  } catch (const base::PathError&) {
    return "";
  }
}

void ClearButton(Control* b) {
  if (!b) return;
  b->caption.clear();
  b->color = kEmptySlotColour;
  b->font_color = kBlack;
  b->glyph.clear();
  b->visible = false;
}

}  // namespace

void TenderGrid::LimpaMenuGrupo() {
  for (int i = 1; i <= 6; ++i) ClearButton(s_.controls.FindComponent("tcbGrupo" + TwoDigits(i)));
}

void TenderGrid::LimpaMenuReceb() {
  for (int i = 1; i <= 30; ++i) {
    ClearButton(s_.controls.FindComponent("tcbBalcao" + TwoDigits(i)));
    s_.controls.SetVisible("sttP" + TwoDigits(i), false);
  }
}

void TenderGrid::MontaMenuGrupo() {
  LimpaMenuGrupo();
  base::Dataset& receb = s_.sale.cdsReceb;
  if (!receb.Active()) return;
  receb.SetFilter([](const base::RowView& r) { return base::ColumnTrimmed(r, "IDTPBUTTON") == "6"; });
  for (receb.First(); !receb.Eof(); receb.Next()) {
    const std::string nr = base::ColumnTrimmed(receb, "NRBUTTON");
    Control* b = s_.controls.FindComponent("tcbGrupo" + nr);
    if (!b) continue;
    b->color = ColourColumn(receb, "NRCOLORBACK");
    b->font_color = ColourColumn(receb, "NRCOLORTEXT");
    b->font_size = static_cast<int>(base::ColumnNumber(receb, "NRFONTETEXT"));
    b->caption = base::ColumnTrimmed(receb, "DSBUTTON");
    b->visible = true;
    b->glyph = ImageFile(s_.ctx.paths.HostFolder(), base::ColumnTrimmed(receb, "DSIMAGEMBUT"));
    if (Control* l = s_.controls.FindComponent("stt" + nr)) {
      l->color = b->color;
      l->visible = true;
    }
  }
  // The filter stays; the next use of cdsReceb sets its own.
}

void TenderGrid::MontaBotoes(const std::string& grupo, const std::string& pagina) {
  LimpaMenuReceb();
  base::Dataset& receb = s_.sale.cdsReceb;
  if (!receb.Active()) return;

  // Arrows carry no fiscal payment form; give them one so the grid filter keeps them.
  receb.SetFilter([](const base::RowView& r) { return IsArrow(base::ColumnTrimmed(r, "IDTPBUTTON")); });
  for (receb.First(); !receb.Eof(); receb.Next()) {
    receb.Edit();
    receb.FieldByName("CDFPIMPFIS").SetAsString("0000000000");
    receb.Post();
  }

  const bool without_fiscal_form = s_.par.inIDTIPOIMPFIS == 26;  // this printer takes tenders without a form code
  receb.SetFilter([grupo, pagina, without_fiscal_form](const base::RowView& r) {
    if (base::ColumnTrimmed(r, "IDMOSTRARECE") == "N") return true;
    const std::string kind = base::ColumnTrimmed(r, "IDTPBUTTON");
    return (without_fiscal_form || !base::ColumnTrimmed(r, "CDFPIMPFIS").empty()) && (kind == "5" || IsArrow(kind)) &&
           base::ColumnTrimmed(r, "NRBUTTONAUX") == grupo && base::ColumnTrimmed(r, "NRPGCONFTELA") == pagina;
  });

  const std::string image_folder = s_.par.stDSDIRFOTOZEM.empty() ? s_.ctx.paths.HostFolder() : s_.par.stDSDIRFOTOZEM;
  for (receb.First(); !receb.Eof(); receb.Next()) {
    const std::string nr = base::ColumnTrimmed(receb, "NRBUTTON");
    Control* b = s_.controls.FindComponent("tcbBalcao" + nr);
    if (!b) continue;
    Control* corner = s_.controls.FindComponent("sttP" + nr);
    const std::string kind = base::ColumnTrimmed(receb, "IDTPBUTTON");
    const std::string shown = base::ColumnTrimmed(receb, "IDMOSTRARECE");
    if (IsArrow(kind)) {
      // An arrow shows its picture and no caption: a typed number never reaches it.
      b->glyph = s_.controls.Require(kind == "G" ? "imgDireita" : "imgEsquerda").glyph;
      b->visible = true;
    } else if (base::ColumnTrimmed(receb, "IDTIPORECE") == "B") {
      continue;
    } else if (shown == "S" || shown.empty()) {
      b->font_color = ColourColumn(receb, "NRCOLORTEXT");
      b->font_size = static_cast<int>(base::ColumnNumber(receb, "NRFONTETEXT"));
      b->caption = base::ColumnTrimmed(receb, "DSBUTTON");
      b->color = ColourColumn(receb, "NRCOLORBACK");
      b->visible = true;
      if (auto allowed = SaleTypeAllows(base::ColumnTrimmed(receb, "IDTIPORECE"))) b->enabled = *allowed;
      b->glyph = ImageFile(image_folder, base::ColumnTrimmed(receb, "DSIMAGEMBUT"));
    } else {
      continue;  // reachable by the tender logic, but no button
    }
    if (corner) {
      corner->color = ColourColumn(receb, "NRCOLORBACK");
      corner->visible = true;
    }
  }
  // The grid filter stays on: tender selection finds the rows of this page (and the
  // rows kept without a button) through it.
}

void TenderGrid::BuildCurrentPage() {
  MontaMenuGrupo();
  MontaBotoes(stGrupoBotoes, std::to_string(inPaginaBotoes));
}

void TenderGrid::ResetPage() {
  inPaginaBotoes = 1;
  stGrupoBotoes = "01";
}

std::optional<bool> TenderGrid::SaleTypeAllows(const std::string& idTipoRece) const {
  if (s_.par.stIDPERCOMVENCPDC != "N") return std::nullopt;
  return SaleTypeAllowsTender(s_.sale.stIdTpVendaCons, idTipoRece);
}

void TenderGrid::PressGroup(const std::string& sender) {
  inPaginaBotoes = 1;
  LimpaMenuReceb();
  stGrupoBotoes = base::Utf8Right(sender, 2);
  MontaBotoes(stGrupoBotoes, "1");
}

TenderGrid::ButtonRows TenderGrid::ButtonRowsOfPage() {
  ButtonRows rows;
  base::Dataset& receb = s_.sale.cdsReceb;
  if (!receb.Active() || receb.IsEmpty()) return rows;
  const auto before = receb.GetBookmark();
  const std::string page = std::to_string(inPaginaBotoes);
  const auto kind = receb.FindField("IDTPBUTTON");
  const auto number = receb.FindField("NRBUTTON");
  const auto group = receb.FindField("NRBUTTONAUX");
  const auto page_of = receb.FindField("NRPGCONFTELA");
  auto text = [](const std::optional<base::Field>& f) { return f ? base::Trim(f->AsString()) : std::string(); };
  for (receb.First(); !receb.Eof(); receb.Next()) {
    if (text(kind) == "6") continue;  // group rows share the numbering
    if (text(group) == stGrupoBotoes && text(page_of) == page) rows.emplace(text(number), receb.GetBookmark());
  }
  receb.GotoBookmark(before);
  return rows;
}

bool TenderGrid::FindButtonRow(const std::string& position) { return GoToButtonRow(ButtonRowsOfPage(), position); }

bool TenderGrid::GoToButtonRow(const ButtonRows& rows, const std::string& position) {
  const auto row = rows.find(position);
  if (row == rows.end()) return false;
  s_.sale.cdsReceb.GotoBookmark(row->second);
  return true;
}

void TenderGrid::VisibleBotoes(bool visible) {
  KeepTenderCursor cursor(s_.sale.cdsReceb);
  const ButtonRows rows = ButtonRowsOfPage();
  for (int i = 1; i <= 30; ++i) {
    Control* b = s_.controls.FindComponent("tcbBalcao" + TwoDigits(i));
    Control* corner = s_.controls.FindComponent("sttP" + TwoDigits(i));
    if (!GoToButtonRow(rows, TwoDigits(i))) {
      if (corner) corner->visible = false;
      continue;
    }
    const bool empty = !IsArrow(base::ColumnTrimmed(s_.sale.cdsReceb, "IDTPBUTTON")) && (!b || b->caption.empty());
    if (b) b->visible = !empty && visible;
    if (corner) corner->visible = !empty && visible;
  }
  for (int i = 1; i <= 6; ++i) {
    Control* g = s_.controls.FindComponent("tcbGrupo" + TwoDigits(i));
    Control* corner = s_.controls.FindComponent("stt" + TwoDigits(i));
    const bool empty = !g || g->caption.empty();
    if (g) g->visible = !empty && visible;
    if (corner) corner->visible = !empty && visible;
  }
  boBotoesVisiveis = visible;
}

void TenderGrid::EnabledBotoes(bool enabled) {
  KeepTenderCursor cursor(s_.sale.cdsReceb);
  const ButtonRows rows = ButtonRowsOfPage();
  for (int i = 1; i <= 30; ++i) {
    Control* b = s_.controls.FindComponent("tcbBalcao" + TwoDigits(i));
    s_.controls.SetEnabled("sttP" + TwoDigits(i), enabled);
    if (!b) continue;
    b->enabled = enabled;
    // Arrows are not tenders: the consumer's sale type never locks the paging.
    if (enabled && s_.par.stIDPERCOMVENCPDC == "N" && GoToButtonRow(rows, TwoDigits(i)) &&
        !IsArrow(base::ColumnTrimmed(s_.sale.cdsReceb, "IDTPBUTTON")))
      if (auto allowed = SaleTypeAllows(base::ColumnTrimmed(s_.sale.cdsReceb, "IDTIPORECE"))) b->enabled = *allowed;
  }
  for (int i = 1; i <= 6; ++i) {
    s_.controls.SetEnabled("tcbGrupo" + TwoDigits(i), enabled);
    s_.controls.SetEnabled("stt" + TwoDigits(i), enabled);
  }
  boBotoesHabilitados = enabled;
}

}  // namespace recebimento::screen
