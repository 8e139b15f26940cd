// The tender grid: the group row and the pages of tender buttons built from cdsReceb,
// group and arrow presses, and the hand-off of a pressed tender to tender selection.
#include <fmt/format.h>

#include <filesystem>
#include <optional>
#include <string>

#include "base/path.h"
#include "base/text.h"
#include "host/pos/host_services.h"
#include "host/runtime/messages.h"
#include "host/runtime/numbers.h"
#include "screen/frm_recebimento.h"
#include "screen/message_table.h"
#include "screen/tender_grid_rows.h"

namespace recebimento::screen {

namespace {

constexpr int64_t kCorVazio = 0x00B09090;  // background of an empty slot
constexpr int64_t kPreto = 0;

std::string Dois(int i) { return fmt::format("{:02d}", i); }

// The folder an image name without a folder is looked up in: the host program's own.
std::string PastaDoHost() { return pos::HostServicesInstalled() ? pos::Host().host_dir : std::string(); }

// The image file `name` under `folder` when it exists; empty otherwise (a missing or
// unsafe name leaves the glyph empty and is not reported).
std::string ArquivoImagem(std::string folder, const std::string& name) {
  if (base::Trim(name).empty()) return "";
  for (char& c : folder)
    if (c == '\\') c = '/';
  try {
    const std::string path = folder.empty() ? base::SafeChild(".", name) : base::SafeChild(folder, name);
    std::error_code ec;
    return std::filesystem::is_regular_file(path, ec) ? path : "";
  } catch (const base::PathError&) {
    return "";
  }
}

void LimpaBotao(Control* b) {
  if (!b) return;
  b->caption.clear();
  b->color = kCorVazio;
  b->font_color = kPreto;
  b->glyph.clear();
  b->visible = false;
}

}  // namespace

bool TfrmRecebimento::MostraMensagem(const std::string& text, int kind) {
  return runtime::Mensagem(text, "", kind == runtime::kMsgQuestion ? "S" : "N",
                           kind == runtime::kMsgQuestion ? "S" : "N", kind, "", stIDESQUEMA, 0, nullptr);
}

// Clearing a slot also gives it its press: every group button and every tender button
// share one handler, which tells them apart by name.
void TfrmRecebimento::LimpaMenuGrupo() {
  for (int i = 1; i <= 6; ++i) {
    Control* g = Controls().FindComponent("tcbGrupo" + Dois(i));
    LimpaBotao(g);
    if (g && !g->on_click) g->on_click = [this, nome = g->name] { tcbGrupo01Click(nome); };
  }
}

void TfrmRecebimento::LimpaMenuReceb() {
  for (int i = 1; i <= 30; ++i) {
    Control* b = Controls().FindComponent("tcbBalcao" + Dois(i));
    LimpaBotao(b);
    if (b && !b->on_click) b->on_click = [this, nome = b->name] { tcbBalcao01Click(nome); };
    if (Control* l = Controls().FindComponent("sttP" + Dois(i))) l->visible = false;
  }
}

void TfrmRecebimento::MontaMenuGrupo() {
  LimpaMenuGrupo();
  if (!cdsReceb.Active()) return;
  cdsReceb.SetFilter([](const base::RowView& r) { return CampoTexto(r, "IDTPBUTTON") == "6"; });
  for (cdsReceb.First(); !cdsReceb.Eof(); cdsReceb.Next()) {
    const std::string nr = CampoTexto(cdsReceb, "NRBUTTON");
    Control* b = Controls().FindComponent("tcbGrupo" + nr);
    if (!b) continue;
    b->color = CampoCor(cdsReceb, "NRCOLORBACK");
    b->font_color = CampoCor(cdsReceb, "NRCOLORTEXT");
    b->font_size = static_cast<int>(CampoNumero(cdsReceb, "NRFONTETEXT"));
    b->caption = CampoTexto(cdsReceb, "DSBUTTON");
    b->visible = true;
    b->glyph = ArquivoImagem(PastaDoHost(), CampoTexto(cdsReceb, "DSIMAGEMBUT"));
    if (Control* l = Controls().FindComponent("stt" + nr)) {
      l->color = b->color;
      l->visible = true;
    }
  }
  // The filter stays; the next use of cdsReceb sets its own.
}

void TfrmRecebimento::MontaBotoes(const std::string& grupo, const std::string& pagina) {
  LimpaMenuReceb();
  if (!cdsReceb.Active()) return;

  // Arrows carry no fiscal payment form; give them one so the grid filter keeps them.
  cdsReceb.SetFilter([](const base::RowView& r) { return EhSeta(CampoTexto(r, "IDTPBUTTON")); });
  for (cdsReceb.First(); !cdsReceb.Eof(); cdsReceb.Next()) {
    cdsReceb.Edit();
    cdsReceb.FieldByName("CDFPIMPFIS").SetAsString("0000000000");
    cdsReceb.Post();
  }

  const bool sem_forma_fiscal = inIDTIPOIMPFIS == 26;  // this printer takes tenders without a form code
  cdsReceb.SetFilter([grupo, pagina, sem_forma_fiscal](const base::RowView& r) {
    if (CampoTexto(r, "IDMOSTRARECE") == "N") return true;
    const std::string tipo = CampoTexto(r, "IDTPBUTTON");
    return (sem_forma_fiscal || !CampoTexto(r, "CDFPIMPFIS").empty()) && (tipo == "5" || EhSeta(tipo)) &&
           CampoTexto(r, "NRBUTTONAUX") == grupo && CampoTexto(r, "NRPGCONFTELA") == pagina;
  });

  for (cdsReceb.First(); !cdsReceb.Eof(); cdsReceb.Next()) {
    const std::string nr = CampoTexto(cdsReceb, "NRBUTTON");
    Control* b = Controls().FindComponent("tcbBalcao" + nr);
    if (!b) continue;
    Control* l = Controls().FindComponent("sttP" + nr);
    const std::string tipo = CampoTexto(cdsReceb, "IDTPBUTTON");
    const std::string mostra = CampoTexto(cdsReceb, "IDMOSTRARECE");
    if (EhSeta(tipo)) {
      const bool proxima = tipo == "G";
      const Control* img = Controls().FindComponent(proxima ? "imgDireita" : "imgEsquerda");
      b->glyph = img ? img->glyph : "";
      // Without an arrow picture the button still has to read as an arrow.
      if (b->glyph.empty()) b->caption = proxima ? ">>" : "<<";
      b->visible = true;
    } else if (CampoTexto(cdsReceb, "IDTIPORECE") == "B") {
      continue;
    } else if (mostra == "S" || mostra.empty()) {
      b->font_color = CampoCor(cdsReceb, "NRCOLORTEXT");
      b->font_size = static_cast<int>(CampoNumero(cdsReceb, "NRFONTETEXT"));
      b->caption = CampoTexto(cdsReceb, "DSBUTTON");
      b->color = CampoCor(cdsReceb, "NRCOLORBACK");
      b->visible = true;
      if (auto permitido = TipoVendaPermite(CampoTexto(cdsReceb, "IDTIPORECE"))) b->enabled = *permitido;
      b->glyph = ArquivoImagem(stDSDIRFOTOZEM.empty() ? PastaDoHost() : stDSDIRFOTOZEM,
                               CampoTexto(cdsReceb, "DSIMAGEMBUT"));
    } else {
      continue;  // reachable by the tender logic, but no button
    }
    if (l) {
      l->color = CampoCor(cdsReceb, "NRCOLORBACK");
      l->visible = true;
    }
  }
  // The grid filter stays on: tender selection finds the rows of this page (and the
  // rows kept without a button) through it.
}

std::optional<bool> TfrmRecebimento::TipoVendaPermite(const std::string& idTipoRece) const {
  if (stIDPERCOMVENCPDC != "N") return std::nullopt;
  return FiltroTipoVendaCons(stIdTpVendaCons, idTipoRece);
}

void TfrmRecebimento::tcbGrupo01Click(const std::string& sender) {
  inPaginaBotoes = 1;
  LimpaMenuReceb();
  stGrupoBotoes = base::Utf8Right(sender, 2);
  MontaBotoes(stGrupoBotoes, "1");
}

bool TfrmRecebimento::LocalizaBotao(const std::string& posicao) {
  if (!cdsReceb.Active() || cdsReceb.IsEmpty()) return false;
  const auto antes = cdsReceb.GetBookmark();
  const std::string pagina = std::to_string(inPaginaBotoes);
  for (cdsReceb.First(); !cdsReceb.Eof(); cdsReceb.Next()) {
    if (CampoTexto(cdsReceb, "IDTPBUTTON") == "6") continue;  // group rows share the numbering
    if (CampoTexto(cdsReceb, "NRBUTTON") == posicao && CampoTexto(cdsReceb, "NRBUTTONAUX") == stGrupoBotoes &&
        CampoTexto(cdsReceb, "NRPGCONFTELA") == pagina)
      return true;
  }
  cdsReceb.GotoBookmark(antes);
  return false;
}

void TfrmRecebimento::VisibleBotoes(bool visible) {
  CursorReceb cursor(cdsReceb);
  for (int i = 1; i <= 30; ++i) {
    Control* b = Controls().FindComponent("tcbBalcao" + Dois(i));
    Control* l = Controls().FindComponent("sttP" + Dois(i));
    if (!LocalizaBotao(Dois(i))) {
      if (l) l->visible = false;
      continue;
    }
    const bool vazio = !EhSeta(CampoTexto(cdsReceb, "IDTPBUTTON")) && (!b || b->caption.empty());
    if (b) b->visible = !vazio && visible;
    if (l) l->visible = !vazio && visible;
  }
  for (int i = 1; i <= 6; ++i) {
    Control* g = Controls().FindComponent("tcbGrupo" + Dois(i));
    Control* l = Controls().FindComponent("stt" + Dois(i));
    const bool vazio = !g || g->caption.empty();
    if (g) g->visible = !vazio && visible;
    if (l) l->visible = !vazio && visible;
  }
  boBotoesVisiveis = visible;
}

void TfrmRecebimento::EnabledBotoes(bool enabled) {
  CursorReceb cursor(cdsReceb);
  for (int i = 1; i <= 30; ++i) {
    Control* b = Controls().FindComponent("tcbBalcao" + Dois(i));
    if (Control* l = Controls().FindComponent("sttP" + Dois(i))) l->enabled = enabled;
    if (!b) continue;
    b->enabled = enabled;
    // Arrows are not tenders: the consumer's sale type never locks the paging.
    if (enabled && stIDPERCOMVENCPDC == "N" && LocalizaBotao(Dois(i)) &&
        !EhSeta(CampoTexto(cdsReceb, "IDTPBUTTON")))
      if (auto permitido = TipoVendaPermite(CampoTexto(cdsReceb, "IDTIPORECE"))) b->enabled = *permitido;
  }
  for (int i = 1; i <= 6; ++i) {
    if (Control* g = Controls().FindComponent("tcbGrupo" + Dois(i))) g->enabled = enabled;
    if (Control* l = Controls().FindComponent("stt" + Dois(i))) l->enabled = enabled;
  }
  boBotoesHabilitados = enabled;
}

}  // namespace recebimento::screen
