#pragma once
// The payment screen TfrmRecebimento: its shared state, its named controls and the
// operations the entry calls (initialisation, clearing, the remote-order checks, the
// modal show, the consumer identification for the receipt).
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "base/dataset.h"
#include "base/variant.h"
#include "screen/controls.h"
#include "screen/input_steps.h"

namespace recebimento::screen {

// The entry's arguments 7 to 36 and 41, as the initialisation takes them.
struct InicializaFormArgs {
  base::Dataset* cdsEmprestimoFamHost = nullptr;  // 7, not read
  bool boCupomCancelado = false;                  // 8, not read
  std::string* stNrCupom = nullptr;               // 9..14: references
  std::string* stNrContCupom = nullptr;
  std::string* stRetImpressora = nullptr;
  std::string* stNrVenda = nullptr;
  std::string* stCdConsumidor = nullptr;
  std::string* stIdCPFCupom = nullptr;
  double* doVrPago = nullptr;                     // 15
  base::Dataset* cdsClienteHost = nullptr;        // 16..19
  base::Dataset* cdsAliqImpFisHost = nullptr;
  base::Dataset* cdsRecebHost = nullptr;
  base::Dataset* cdsAuxHost = nullptr;
  std::string stModoVenda, stCdClienteVenda, stCdConsumidorVenda, stTipoTela, stNmClienteVenda,
      stCdConsumidorFoto, stTextoTitulo, stNrDocConsCupom, stNmConsCupom, stNrIdEstrangeiro;  // 20..29
  double doVrCarga = 0;                                                                   // 30
  std::string stTextoCupom, stIdTipoVenda, stParamCupom, stNmGarcom, stNmFantCliente, stIdTela;  // 31..36
  std::string stMensagem;                                                                 // 41
};

class TfrmRecebimento {
 public:
  TfrmRecebimento();
  virtual ~TfrmRecebimento();
  TfrmRecebimento(const TfrmRecebimento&) = delete;
  TfrmRecebimento& operator=(const TfrmRecebimento&) = delete;

  // --- Operations the entry calls.
  void InicializaForm(const InicializaFormArgs& args);
  void spbClearClick();
  void VerifPagamentoMob();
  void VerifPagamentoDLV();
  // Shows the screen and waits, through the host's event pump, until it closes.
  void ShowModal();
  void setCPFCons();

  // --- Operator input.
  void FormKeyDown(int key, bool shift, bool alt, bool ctrl);
  void FormKeyPress(char32_t ch);
  void spbSairClick();
  void FormClose();

  ControlRegistry& Controls() { return controls_; }
  const ControlRegistry& Controls() const { return controls_; }
  bool Showing() const { return showing_; }
  bool Closed() const { return closed_; }

  // Named state fields (amounts as numbers), for snapshots of the screen.
  std::vector<std::pair<std::string, base::Variant>> StateFields() const;

  // --- Shared state (the handlers of every concern read and write it).
  base::Dataset* cdsItensVenda = nullptr;
  base::Dataset* cdsItensCancelados = nullptr;
  base::Dataset* cdsMoviVenda = nullptr;
  base::Dataset* cdsSaldoFamilia = nullptr;
  base::Dataset* cdsDescFidelidade = nullptr;
  base::Dataset* cdsPromoComanda = nullptr;
  base::Dataset cdsEmprestimoFam{"cdsEmprestimoFam"};

  std::string stCDFILIAL, stCDCAIXA, stIDESQUEMA;
  std::string stCdOperador, stNmOperador, stCdSupervisor;
  std::string stModoVenda, stIdTipoVenda, stTipoTela, stIdTela;
  std::string stCdClienteVenda, stCdConsumidorVenda, stCdConsumidorFoto, stNmClienteVenda;
  std::string stNrDocConsCupom, stNmConsCupom, stNrIdEstrangeiro, stDsEndeVenda, stNrComanda;
  std::string stTextoTitulo, stTextoCupom, stParamCupom, stNmGarcom, stNmFantCliente, stMensagem;
  std::string stObsVenda;
  std::string stIdDescFidelidade, stPontosFidelidade, stVrDescFidelidade;
  std::string stIdCPFCupom, stNrVenda, stCDIDCONSUMID, stCdCampanha, stIdPagouTEF, stRetTender;
  std::string stNrCupomFis, stNrContCupom, stRetImpressora;
  std::vector<std::string> stlRetorno;
  bool boUTILIZAIMPFIS = false;
  bool boVendaOk = false;
  bool boCupomCancelado = false;
  bool boPagouMobile = false;
  bool boPagouDelivery = false;
  double doVrCarga = 0;
  double doVrTotal = 0, doVrAPagar = 0, doVrPago = 0, doVrTroco = 0, doVrDesconto = 0, doVrAcrescimo = 0,
         doVrServico = 0, doVrRepique = 0;
  TInputStep tpInputStep = isNone;
  TTipoTecl tpTeclado = ttvalor;

  // Each concern of the screen keeps its handlers and its own state in its section below,
  // implemented in the source file named in the section's title.

  // ===== Initialisation, configuration fields, totals, payment list (screen_init*.cpp) =====

  // ===== Tender grid (tender_grid.cpp) =====

  // ===== Keyboard and input steps (keyboard.cpp) =====

  // ===== Tender selection and the payment line (tender_selection*.cpp) =====

  // ===== Amount entry, confirmation and exit (amount_entry.cpp, confirmation.cpp) =====

  // ===== Discount, surcharge, service fee and tip (discount_surcharge_tip.cpp) =====

  // ===== Installments (installments.cpp) =====


 private:
  void CreateControls();

  ControlRegistry controls_;
  bool showing_ = false;
  bool closed_ = false;
};

// Called with the screen when it closes, before the entry frees it (the scripted run
// records the screen's last state through it).
void SetScreenClosedObserver(std::function<void(const TfrmRecebimento&)> observer);

}  // namespace recebimento::screen
