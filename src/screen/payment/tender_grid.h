#pragma once
// The tender grid: the row of group buttons and the pages of tender buttons built from
// the tender table (cdsReceb), their presses, and the modes of the button area around
// each operation (choice, amount entry, confirmation).
#include <map>
#include <optional>
#include <string>

#include "screen/frame/screen_scope.h"

namespace recebimento::screen {

class TenderGrid {
 public:
  explicit TenderGrid(ScreenScope& s) : s_(s) {}

  void MontaMenuGrupo();
  void LimpaMenuGrupo();
  void MontaBotoes(const std::string& grupo, const std::string& pagina);
  void LimpaMenuReceb();
  void VisibleBotoes(bool visible);
  void EnabledBotoes(bool enabled);
  // Puts the button area into mode "H", "D", "P", "E" or "C" with option 1 or 2.
  void CtrlBotoes(const std::string& mode, int option);

  // The group row and the current page of the current group, built anew.
  void BuildCurrentPage();
  // Back to the first page of the first group.
  void ResetPage();
  // A group button was pressed (`sender` is its name): its first page is shown.
  void PressGroup(const std::string& sender);
  // A tender button was pressed: an arrow turns the page, a tender goes to tender
  // selection, and the function buttons are set for what follows.
  void PressTender(const std::string& sender);

  // Puts cdsReceb on the row of grid position `position` ("01".."30") of the current
  // group and page; false (cursor unchanged) when there is none.
  bool FindButtonRow(const std::string& position);
  // The consumer's sale type applied to a tender kind when the branch restricts tenders
  // by it (stIDPERCOMVENCPDC "N"); nullopt leaves the button as it is.
  std::optional<bool> SaleTypeAllows(const std::string& idTipoRece) const;

  // The grid is offered for a choice (mode "D").
  bool Selecting() const { return boSelecionandoTipo; }
  void SetSelecting(bool selecting) { boSelecionandoTipo = selecting; }
  // The tender buttons are shown and enabled: two typed digits choose one.
  bool Offered() const { return boBotoesVisiveis && boBotoesHabilitados; }
  const std::string& Group() const { return stGrupoBotoes; }
  int Page() const { return inPaginaBotoes; }
  // The last tender handed to tender selection: its code and the button's glyph.
  const std::string& ChosenTender() const { return chosen_tender_; }
  const std::string& ChosenGlyph() const { return chosen_glyph_; }
  bool PressInProgress() const { return boProcessandoBotao; }

 private:
  // The row of each grid position of the current group and page (the first one), found
  // in one walk of cdsReceb; the cursor stays where it was.
  using ButtonRows = std::map<std::string, base::Dataset::Bookmark>;
  ButtonRows ButtonRowsOfPage();
  // Puts cdsReceb on the row of `position` when the page has one.
  bool GoToButtonRow(const ButtonRows& rows, const std::string& position);

  ScreenScope& s_;
  std::string stGrupoBotoes = "01";
  int inPaginaBotoes = 1;
  bool boBotoesVisiveis = false;     // last visibility given to the button area
  bool boBotoesHabilitados = false;  // last enabling given to the button area
  bool boSelecionandoTipo = false;   // the grid is offered for a choice (mode "D")
  bool boProcessandoBotao = false;   // a tender press is being handled
  std::string chosen_tender_, chosen_glyph_;
};

}  // namespace recebimento::screen
