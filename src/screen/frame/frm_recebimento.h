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
  // Windows virtual-key codes; `key` is set to 0 when the screen swallows it (Alt+F4).
  void FormKeyDown(int& key, bool shift, bool alt, bool ctrl);
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

  // Configuration: one field per column of the host's parameters file (PARAMETROSZEM.CDS),
  // named after the column with its type prefix; empty, 0 or false when the file is
  // missing. stCDFILIAL, stCDCAIXA, stIDESQUEMA and boUTILIZAIMPFIS live in the common part.
  int inIDTIPOIMPFIS = 0, inTAMDISPLAY = 0, inCTCUPDESCONTO = 0, inCTABRIRGAVETA = 0, inCTACRESCIMO = 0,
      inCTSELECCLICONS = 0, inCTRETTAXASERV = 0, inQTDMAXDIGNSU = 0;
  bool boDisplayOK = false, boSISTEMAVANTOMI = false, boSISTEMAZEMNFCE = false, boSISTEMAZEMSAT = false;
  double doDTABERCAIX = 0, doNRDIASCUPTROCA = 0, doVRPEMAXREPIQMRX = 0, doVRCOMISVENDA = 0,
      doVROBRIGCPFNOTA = 0;
  std::string stDSDIRCAD, stDSDIRFOTOZEM, stIDCOLETOR, stIDUTILTEF, stIDBLOQIDCART, stDSENDIPSITEF,
      stIDTPTEF, stCDPORTATEF, stCDESTTEF, stCDLOJATEF, stCDTERTEF, stIDIMPCUPFIS, stIDUTILCHEQ,
      stIDCOUVERART, stCDPRODCOUVER, stIDSOLICITACPF, stIDTIPOGAVETA, stCDPORTAIMPFIS, stSTTOTCV,
      stDSOBSCUPFIS, stIDIMPBARRCUP, stNMPADBARRCUP, stIDIMPSALDOCUPOM, stIdTpTelaVe, stDSMENSCPFCUP,
      stIDIMPRCUPTEFRED, stIDIMPVENDCON, stIDIMPCOMPVCP, stIDPAISINTEGRA, stIDIMPCOMPDEBCON, stCDPORTIMPNF1,
      stIDTIPOIMPNF1, stNMRAZSOCFILI, stDSENDEFILI, stCDINSCMUNIFILI, stNMCAIXA, stNMBAIRFILI,
      stNMMUNICIPIOFILI, stSGESTADOFILI, stIDTPVENDIMPNF1, stIDTIPOIMPNF2, stCDPORTIMPNF2, stIDTPVENDIMPNF2,
      stCDPREFINTGCOL, stNRCUPINIINTGCOL, stNRCUPFININTGCOL, stCDPRODCONSUM, stSTPROCESSAMENTO,
      stDSDIRPENTEF, stIDIMPCOMPCUPVEN, stIDIMPCUPTROCA, stNRSERIEIMP, stECFIMP, stIDTPCONTRREPIQ,
      stNRINSJURFILI, stCDINSCESTAEMPR, stNRINSJUREMPR, stIDPARIMPRLIMVDC, stIDSOLOBSDESC, stIDHABFORMTEF,
      stIDEXISTECAMPDOTZ, stCDEMPRESA, stNRDIAFECHAFOLHA, stDSLOGOTELA, stIDAMBTRABNFCE, stIDINTHOTEL,
      stIDTIPOIMPNF3, stCDPORTIMPNF3, stIDTPVENDIMPNF3, stIDSOLICITADOTZ, stIDSOLICITANSU, stIDENVIAPEDKDS,
      stIDIMPCNPJCLIE, stIDCOMISVENDA, stIDTRATTAXAENTR, stCDPRODTAXASERV, stCDPRODTXEXCEDE,
      stIDTRATTAXASERV, stCDPRODTAXAENTR, stIDSOLOBSFINVEN, stNRCNPJLOJA, stNRCNPJTEFHOUSE, stIDFECHACUPOM,
      stIDIMPRVIACONSTEF, stCDTOKENTLS, stCDTPCOMUNTLS, stCDTPPROXYTLS, stCDENPROXYTLS, stIDINFOCPFPINPAD,
      stIDHABCAIXAVENDA, stIDALTTXSERV, stIDCONSUBDESFOL, stIDCPFPINPAD, stIDMOMENTOCPFVEN,
      stIDVERGAVETANFIS, stIDINFNOMEEND, stIDPERCOMVENCPDC, stCDLOJA, stIDEXTCONSONLINE, stCDURLWSEXTCONS,
      stIDIMPRTEF, stIDINTRESGSALDO, stIDUTILFID4ALL, stCDURLWSFID4ALL, stIDUTLINTFACELE, stIDUTILFIDUDS,
      stCDURLWSFIDUDS, stIDUTLCOMUDIRMFE, stIDUTILINTEPROMO, stCDURLINTEPROMO, stIDDEBCONSCENTRAL,
      stIDEXTCONSCENTRAL, stCDURLINTCARTPRE, stIDAPLPREDIFCOMB, stIDSOLICITATEL, stCDURLFIDONLINE,
      stIDPERACRTXSECUP, stIDSOLICTELGER, stIDUTLNFSVENCONS, stIDIMPCUPMEI, stIDUTILINTVALPRE,
      stCDURLINTVALPRE, stNRSEGREQVALPRE, stIDUTICOREBANC, stCDURLCOREBANC, stNRTEMPOCOREBANC,
      stIDUTILINTOLGA, stCDURLINTOLGA, stIDUTILFIXECRM, stCDURLFIXECRM;
  std::string stCdLoja;         // CDLOJA once more (the host reads the column into two fields)
  base::DateTime dtDTABERCAIX;  // DTABERCAIX as a date

  // State of the sale the initialisation leaves for every handler.
  std::string stOrigemVenda;     // origin recorded in the store ("DLV_IFO", "DLV_CAL", ...)
  std::string stNrComandaCurto;  // short tab number (last four characters)
  std::string stIdTpVendaCons;   // the consumer's kind of sale (not read for counter sales)
  std::string stCdNsuHostTef;    // host NSU kept from a delivery order's payments
  std::string stMD5Ident;        // "MD-5:" + the deciphered digest of the identification file
  std::string stCdClienteCons, stCdConsumidorCons;  // codes of the consumer-account lookup
  std::string stIDVERSALDCON, stVRLIMDEBCONS;       // the consumer's balance control and floor
  std::string stPodeDesconto, stPodeAcrescimo, stPodeRetTaxaServ, stPodeSelecCliCons;  // "S"/"N"
  std::string stIDFECHRECAUT, stIDUTCUPOMDESC;
  std::string stIdUsaCupomDesc = "N";  // per-sale coupon flag, "N" at start
  std::string stGrupoBotoes = "01";
  int inPaginaBotoes = 1;
  int inHabCaixaVenda = 0;  // 1 when IDHABCAIXAVENDA is "TAA"
  double doVrServicoOrig = 0, doVrAcrComanda = 0, doVrDescComanda = 0, doVrDescItens = 0;
  double doVrConsumacao = 0, doVrCouver = 0, doVrUnitVendCl = 0;
  double doVrDescFid = 0, doVrDescCash4All = 0, doVrDescCashUDS = 0;
  double doSaldoCons = 0;      // consumer balance shown
  double doVrSaldoConsAtual = 0;  // balance MostraSaldoCons leaves
  bool boImpNomeConsumidor = false;
  base::DateTime dtMoviFiscal;

  // Datasets the initialisation fills (the host's own are referenced in the common part).
  base::Dataset cdsParametrosZem{"cdsParametrosZem"}, cdsControleAcess{"cdsControleAcess"},
      cdsIdentPaf{"cdsIdentPaf"}, cdsReceb{"cdsReceb"}, cdsTroco{"cdsTroco"},
      cdsProdServTCon{"cdsProdServTCon"}, cdsProdServ{"cdsProdServ"}, cdsParcelas{"cdsParcelas"},
      cdsAliqImpFis{"cdsAliqImpFis"}, cdsCliente{"cdsCliente"}, cdsConsumidor{"cdsConsumidor"},
      cdsDadosMp{"cdsDadosMp"}, cdsDadosAme{"cdsDadosAme"}, cdsItProdVend{"cdsItProdVend"};

  // Steps of InicializaForm, each implemented in the screen_init file of its concern.
  void CarregaParametrosZem();  // the parameters file and its column rules
  void CarregaArquivosReferencia(const InicializaFormArgs& args);  // photo, identification, operator, tenders
  void CalculaTotais();
  void MontaListaPagamentos();
  // Layout by stTipoTela; true for the badge layouts ("S", "A"), which skip the sale's own lines.
  bool AplicaLayoutTipoTela();
  void AplicaLayoutModoVenda();
  void AplicaBotoesImpressora();
  void MostraDisplayCliente();
  void MostraClienteConsumidor();
  void MostraSaldoConsumidor();
  void AplicaDireitosOperador();
  void AplicaLayoutRecarga();
  // Adds the first 35 characters of `text` as a line of `memo`, and of memListaAux when `aux`.
  void Linha(Control& memo, const std::string& text, bool aux);
  // The control of that name; std::logic_error naming it when the screen has none.
  Control& Ctl(const std::string& name);
  // The sale's items are there to read (open, not empty).
  bool TemItens() const;
  // A column of the current item row; "" or 0 when the host's dataset has no such column.
  std::string CampoItem(const std::string& column) const;
  double ValorItem(const std::string& column) const;
  void ReiniciaEstadoVenda();
  // Empties the host's payment dataset; one without fields gets the payment columns.
  void RecriaMoviVenda();
  void CopiaArgumentos(const InicializaFormArgs& args);

  // Work that belongs to features built elsewhere; the bodies here are the minimum the
  // initialisation needs until those features take them over (screen_init_pending.cpp).
  // Spending and balance of a consumer account; leaves the balance in doVrSaldoConsAtual.
  void MostraSaldoCons(const std::string& kind, const std::string& client, const std::string& consumer,
                       const std::string& family);
  void ReiniciaIntegracoes();  // ClubPetro, AME and Mercado Pago state back to its start
  // Books the consumer's pending debits since `desde` in the store.
  void AtualizaDebitosConsumidor(const base::DateTime& desde);
  void spbDotzClick();         // the Dotz campaign
  void TrimAppMemorySize();


  // ===== Tender grid (tender_grid.cpp) =====
  bool boBotoesVisiveis = false;     // last visibility given to the button area
  bool boBotoesHabilitados = false;  // last enabling given to the button area
  bool boSelecionandoTipo = false;   // the grid is offered for a choice (mode "D")
  bool boProcessandoBotao = false;   // a tender press is being handled
  // Shared with tender selection (it sets them); the grid reads them after a press.
  bool boFalhaReceb = false;
  std::string stConsPesquisado;  // "S" once the consumer was chosen through the search
  // The last tender handed to tender selection (code and glyph of the pressed button).
  std::string stTipoReceEscolhido, stGlyphReceEscolhido;

  void MontaMenuGrupo();
  void LimpaMenuGrupo();
  void MontaBotoes(const std::string& grupo, const std::string& pagina);
  void LimpaMenuReceb();
  // Handlers of the six group buttons and the thirty tender buttons; `sender` is the
  // name of the pressed button.
  void tcbGrupo01Click(const std::string& sender);
  void tcbBalcao01Click(const std::string& sender);
  void VisibleBotoes(bool visible);
  void EnabledBotoes(bool enabled);
  // Puts the button area into mode "H", "D", "P", "E" or "C" with option 1 or 2.
  void CtrlBotoes(const std::string& mode, int option);
  // Tender selection for the chosen tender (its code and the button's glyph).
  void DoMenuRecebimentoClick(const std::string& cdTipoRece, const std::string& glyph);
  // The consumer's sale type applied to a tender kind when the branch restricts tenders
  // by it (stIDPERCOMVENCPDC "N"); nullopt leaves the button as it is.
  std::optional<bool> TipoVendaPermite(const std::string& idTipoRece) const;
  // Puts cdsReceb on the row of grid position `posicao` ("01".."30") of the current group
  // and page; false (cursor unchanged) when there is none.
  bool LocalizaBotao(const std::string& posicao);
  // Shows `text` in the runtime's message dialog of `kind` (runtime::MessageKind) with
  // the screen's scheme; the answer only counts for a question.
  bool MostraMensagem(const std::string& text, int kind);

  // ===== Keyboard and input steps (keyboard.cpp) =====
  std::string stValorDigitado;     // the value being typed (mirrored in the value label)
  double doVrDigitado = 0;         // the value Enter took
  bool boLimpaEntrada = false;     // the next character replaces the proposed value
  bool boEntradaGorjeta = false;   // tip input: Enter is accepted without a value
  std::string stCodTipoDigitado;   // up to two digits typed as a tender-button number
  // Shared with tender selection, confirmation and exit, which set them.
  bool boOperacaoEmCurso = false;  // a tender, confirmation or printing operation is under way
  bool boProcessandoSaida = false; // the confirmation or exit of the screen is under way
  int inQtdeTef = 0;               // card transactions made for the sale
  std::string stPAYMENTID;         // Mercado Pago payments still to refund, comma separated
  std::string stPAYMENTIDestorno;

  // Enables or disables the fourteen keypad buttons together.
  void KeybEnabled(bool enabled);
  // Sends each character of `text` to the key handlers (as characters, or as key-downs
  // with the character's code), then the Enter key when `enter`. Synchronous.
  void PostText(const std::string& text, bool enter, bool as_chars);
  // Escape with the keypad hidden: refunds, pending card transactions, closing.
  void SaidaPorEscape();
  // Refunds every Mercado Pago payment listed in stPAYMENTID.
  void CancelaPagamentosMP();
  // The Enter procedure; false when the key was abandoned (limit or no value).
  bool TeclaEnter();
  // The label that shows the value being typed for the keyboard kind (nullptr: none).
  Control* ValorDigitadoLabel();
  // A card-terminal answer file ("intpos.*") waits in the pending folder stDSDIRPENTEF.
  bool ExisteTefPendente() const;
  // On leaving a sale that made card transactions: when the terminal left some pending,
  // the receipt is cancelled (unless it already was; up to `tentativas_cupom` tries) and
  // the host cancels them, with the exit button locked meanwhile.
  enum class TefPendenteNaSaida { Nenhum, Cancelado, Mantido };
  TefPendenteNaSaida CancelaTefPendenteNaSaida(int tentativas_cupom);

  // ===== Tender selection and the payment line (tender_selection*.cpp) =====
  // The consumer the payment lines charge, and the sale numbers that go with it.
  std::string stCdClienteReceb, stCdConsumidorReceb, stNmConsumidorReceb;
  std::string stNrCerVendaRest, stNrCooVendaRest;
  std::string stIdRecebeBonus;    // IDRECEBEBONUS of the consumer's type (credit top-up)
  double doVrBonusCredito = 0;    // VRBONUSCREDITO of the consumer's type
  double doVrCargaCredito = 0;    // VRCARGACREDITO: the fixed top-up of a bonus type
  bool boDigitouValor = false;    // the amount of the current tender was asked of the keypad
  int inQtParcReceb = 0;          // installments asked for the current tender (0: none)
  std::string stFuncoesTef;       // TEF function list of the current tender ("[29;" or "[")
  double doVrCotacao = 1.0;       // rate of the current tender (foreign currency)
  double doVrMoedaEstrangeira = 0;  // amount of the current tender in the foreign currency
  // Card payments: the card flow fills these before the payment line is written.
  bool boTemPagtoTef = false;     // the sale holds a card payment through TEF
  double doVrTef = 0;             // amount the card terminal approved for the current tender
  struct DadosTefLinha {
    std::string NRCARTBANCO, CDNSUHOSTTEF, CDNSUTEF, NRCONTROLTEF, NMBANDTEF, NRAUTORIZATEF, DSCARTDIGITAL;
    std::string CDBANCARTCR, CDINSTCAR, CDTIPORECEORIG, NMTIPORECEORIG, IDTRANSAME;
    std::string IDFILAPAGMFE, CDAUTORIZMFE, CDBINCARTMFE, NMINSTFINMFE, CDPAGAMENMFE;
    int QTPARCRECEB = 0;  // installments the terminal returned
  } dadosTefReceb;
  base::Dataset cdsTipoConsFili{"cdsTipoConsFili"}, cdsMoedas{"cdsMoedas"};

  // The tender's kind-specific work; each gives the amount of the line, or false when
  // the selection ended without one (refused, or the operator went back to the grid).
  // The keypad step with `proposed` shown; waits until the operator's Enter ends it.
  bool ValorDoTeclado(TInputStep step, double proposed, double& amount);
  // The checks of a typed amount: advance limit, installments, the manual card path.
  bool ConfereValorDigitado(double amount, bool paid_on_site);
  bool RecebeConvenio(double& amount);
  bool RecebeMoedaEstrangeira(double& amount);
  // cdsMoedas from "cdsMoedas.cds", rebuilt by the host when missing or not of today.
  bool CarregaMoedas();
  // Refuses the current selection with the message of `key`.
  void RecusaRecebimento(const std::string& key);
  // Writes the payment line (cash merges into the open cash line) and the list line.
  void GravaLinhaPagamento(double amount);
  void AtualizaValoresPagos(double amount);
  // The change step; false when the operator refused to take the excess back.
  bool TrataTroco();
  // Redraws the payment list from the sale's own lines and the payment lines.
  void RedesenhaListaPagamentos();
  // Is the sale fully paid: spbOk, the button area and the automatic Enter after a card.
  void FinalizaSelecao();
  void MostraTotaisTecladoPOS();
  // The consumer charged and the dates, written into the line being inserted.
  void PreencheConsumidorLinha(base::Dataset& movi);

  // ===== Amount entry, confirmation and exit (amount_entry.cpp, confirmation*.cpp, exit_and_clear.cpp) =====
  bool boProcessandoEnter = false;  // an Enter of the keypad is being handled
  bool boVendaFechada = false;      // the integrations were captured and the close posted
  std::string stLegendaPagar;       // lblPagar's caption as the screen opened it
  base::Dataset cdsParamImpCupNF{"cdsParamImpCupNF"};    // the host's non-fiscal receipt
  base::Dataset cdsTipoRecebimento{"cdsTipoRecebimento"};  // tender kinds: which open the drawer
  // The sale as the entry handed it over; the clear action puts it back.
  struct VendaInicial {
    bool gravada = false;
    base::DataPacket itens, pagamentos;
    double doVrPago = 0;
    std::vector<std::string> lista, lista_aux;
  } vendaInicial;

  // Binds the keypad, spbOk, spbClear and the sale-summary panel's answers to their handlers.
  void LigaBotoesEntradaValor();
  void sbt1Click(const std::string& sender);  // any digit button; its tag is the character code
  void sbt00Click();
  void sbt000Click();
  void sbtVirgulaClick();
  void sbtCorrigirClick();
  void sbtEnterClick();
  void sbtVoltarClick();
  void spbOkClick();
  // The work of spbSairClick and spbClearClick.
  void ExecutaSaida();
  void LimpaRecebimentos();
  // Puts back the payment lines the host handed over, dropping those entered here.
  void RestauraPagamentosDoHost();
  // Text of a card-terminal return code.
  static std::string MsgErro(const std::string& codigo);
  // The close message the screen posts to itself.
  void PostaFechamento();

  // Steps of the confirmation (confirmation*.cpp); false abandons it.
  bool PedeObservacaoVenda();
  bool ConfirmaDadosVenda();
  void CriaItensTaxas();
  bool ImprimeVenda();
  bool ImprimeVendaHost();
  void RegistraVendaSemImpressora();
  // The sale number of a sale without a fiscal printer; false (message shown) when none.
  bool ReservaNumeroVenda();
  // Opens the drawer for the tenders that ask it; through the printer or the host.
  bool AbreGavetaRecebimentos(bool pela_impressora);
  // The non-fiscal receipt's parameters (one row of cdsParamImpCupNF).
  void PreencheParamImpCupNF();
  // Captures of the integrations and the close; false when the screen must stay open.
  bool FechaVenda();
  // The dedicated card transaction left in "ultTef.cds" of a cleared sale.
  void CancelaTefDedicadoPendente();
  // The line of the non-fiscal log: amounts of the sale and of each payment.
  std::string LinhaLogNaoFiscal() const;

  // Work of features built elsewhere, with the bodies the confirmation, the exit and the
  // clear action need until those features take them over (confirmation_pending.cpp).
  bool ResgataCartoesPrePagos();                       // prepaid cards: redemption at confirmation
  bool VerificaEstadoGaveta(const std::string& tipo);  // the drawer before a fiscal sale
  void CriaItemTaxaServ();                             // the service-fee item
  void CriaItemTaxaEntr();                             // the delivery-fee item
  void VerifVrSubsBasico();                            // the basic subsidy of a consumer-debit sale
  bool ImprimeCupom();                                 // the fiscal receipt
  void Vd_Ingresso();                                  // tickets of a check-in sale
  void GravaConsumidor();                              // the consumer record
  bool CapturaIntegracoes();                           // ClubPetro, AME, CRM Bonus, GCOM; false keeps the screen open
  void CancelaOrdemAmePendente();                      // AME order of an abandoned sale
  void EstornaPagamentosCarteiras();                   // AME, gift card and CHART of a cleared sale

  // ===== Discount, surcharge, service fee and tip (discount_surcharge_tip.cpp) =====
  double doPercDesconto = 0, doPercAcrescimo = 0;
  // Sale total without the fee and the surcharge of the screen; the real total is this
  // plus doVrAcrescimo (the fee stays in it when the branch keeps it beside a surcharge).
  double doVrBaseAcrescimo = 0;
  std::string stDSOBSDESC, stCDGRPOCORDESC;  // reason of the manual discount and its group
  std::string stUtilDescCrmBonus = "N";      // "S" while a CRM Bonus discount is in force
  base::Dataset cdsDesconto{"cdsDesconto"};  // the host dialog's answer: TIPO ("V"/"P"), VALOR

  // Binds spbDesconto, spbAcrescimo and spbTaxaServico to their handlers.
  void LigaBotoesAjustes();
  void spbDescontoClick();
  void spbAcrescimoClick();
  void spbTaxaServicoClick();
  // Shows a discount an integration already placed in doVrDesconto.
  void AplicaDesconto();
  // The tip kept from the change, for the tender on the current row of `tender`.
  void Controla_Repique(base::Dataset& tender);
  // Item discounts by product subgroup and the quantity sold of it.
  void CalculaDescSubGrupo(base::Dataset& itens);
  // The discount-coupon dialog: "CUPOM" (a coupon was validated), "SAIR", or "" to go on
  // with a manual discount.
  std::string CriaInformaDesconto();
  // The host's value-or-percentage dialog into cdsDesconto; false when dismissed.
  bool PedeDescontoHost(const std::string& title, double total, std::string& tipo, double& valor);
  // memLista from memListaAux plus the discount, surcharge and subtotal lines in force.
  void MostraListaAjustes();
  // lblValorPagar and the customer display after a discount or surcharge.
  void MostraValorAjustado(const std::string& display_label, double amount);
  // The tip typed on the keypad (cash input step); 0 when none.
  double DigitaRepique(const std::string& idTipoRece);
  // The message that refuses the discount now in doVrDesconto; "" when it may stand.
  std::string RecusaDesconto();
  // Reason and supervisor of the manual discount on every item line.
  void MarcaItensDesconto();
  // The surcharge's limit message for `acrescimo` on `base` with `servico` kept; "" when allowed.
  std::string RecusaAcrescimo(double base, double acrescimo, double percentual, double servico);

  // ===== Installments (installments.cpp) =====
  // Asks the number of installments (1 when not typed), at most `maximo`.
  double SolicitaQuantidadeParcelas(double maximo);
  // Checks the number against the minimum value of one installment; on refusal fills
  // `mensagem`, puts the amount back on the keypad and replays its Enter.
  bool ValidaQuantidadeParcelas(double minimo, double valor, double quantidade, std::string& mensagem);


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
