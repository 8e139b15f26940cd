#pragma once
// The state of the sale that several parts of the payment screen share: the host's
// datasets (worked on in place), the call's arguments, the operator, the amounts, the
// input step, what is under way, and the results handed back to the host. Each part
// keeps the rest of its state itself.
#include <string>
#include <vector>

#include "base/dataset.h"
#include "base/datetime.h"
#include "base/variant.h"
#include "screen/frame/input_steps.h"

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
  double* doVrPago = nullptr;               // 15
  base::Dataset* cdsClienteHost = nullptr;  // 16..19
  base::Dataset* cdsAliqImpFisHost = nullptr;
  base::Dataset* cdsRecebHost = nullptr;
  base::Dataset* cdsAuxHost = nullptr;
  std::string stModoVenda, stCdClienteVenda, stCdConsumidorVenda, stTipoTela, stNmClienteVenda, stCdConsumidorFoto,
      stTextoTitulo, stNrDocConsCupom, stNmConsCupom, stNrIdEstrangeiro;                         // 20..29
  double doVrCarga = 0;                                                                          // 30
  std::string stTextoCupom, stIdTipoVenda, stParamCupom, stNmGarcom, stNmFantCliente, stIdTela;  // 31..36
  std::string stMensagem;                                                                        // 41
};

// The consumer the payment lines charge, and the sale numbers that go with it.
struct ChargedConsumer {
  std::string client, consumer, name;
  std::string cer_number, coo_number;  // NRCERVENDAREST and NRCOOVENDAREST of the items
  // An agreement sale: the client chosen in the host's search and the text the search
  // returns besides (printed on the receipt).
  std::string agreement_client, agreement_text;
};

struct SaleState {
  SaleState();

  // --- The host's datasets, referenced, not copied.
  base::Dataset* cdsItensVenda = nullptr;
  base::Dataset* cdsItensCancelados = nullptr;
  base::Dataset* cdsMoviVenda = nullptr;
  base::Dataset* cdsSaldoFamilia = nullptr;
  base::Dataset* cdsDescFidelidade = nullptr;
  base::Dataset* cdsPromoComanda = nullptr;
  // Family loans recorded on the screen; handed back to the host as a packet.
  base::Dataset cdsEmprestimoFam{"cdsEmprestimoFam"};

  // --- The call's arguments.
  std::string stModoVenda, stIdTipoVenda, stTipoTela, stIdTela;
  std::string stCdClienteVenda, stCdConsumidorVenda, stCdConsumidorFoto, stNmClienteVenda;
  std::string stNrDocConsCupom, stNmConsCupom, stNrIdEstrangeiro, stDsEndeVenda;
  std::string stTextoTitulo, stTextoCupom, stParamCupom, stNmGarcom, stNmFantCliente, stMensagem, stObsVenda;
  double doVrCarga = 0;

  // --- The operator and what the access control lets them do ("S"/"N").
  std::string stCdOperador, stNmOperador, stCdSupervisor;
  std::string stPodeDesconto, stPodeAcrescimo, stPodeRetTaxaServ, stPodeSelecCliCons;

  // --- What the sale is.
  std::string stNrComanda, stNrComandaCurto, stOrigemVenda, stIdTpVendaCons, stCdNsuHostTef, stMD5Ident;
  std::string stCdClienteCons, stCdConsumidorCons;  // codes of the consumer-account lookup
  std::string stIDFECHRECAUT, stIDUTCUPOMDESC;
  bool discount_coupon_used = false;     // a discount coupon was applied to this sale
  std::string stConsPesquisado;          // "S" once the consumer was chosen through the search
  std::string stUtilDescCrmBonus = "N";  // "S" while a CRM Bonus discount is in force
  ChargedConsumer charged;
  bool boImpNomeConsumidor = false;
  base::DateTime dtMoviFiscal;
  double doSaldoCons = 0;  // consumer balance shown
  // The buyer's identification as the loyalty services take it, and the consumer's
  // telephone: asked once and searched once per screen.
  std::string stCpfClubPetro, stTelefoneCons;
  bool boTelefoneSolicitado = false, boTelefonePesquisado = false;
  std::string stConsultaFixeCRM;  // "N" once the identification dialog consulted FixeCRM

  // --- Amounts.
  double doVrTotal = 0, doVrAPagar = 0, doVrPago = 0, doVrTroco = 0, doVrDesconto = 0, doVrAcrescimo = 0,
         doVrServico = 0, doVrRepique = 0;
  double doVrServicoOrig = 0, doVrAcrComanda = 0, doVrDescComanda = 0, doVrDescItens = 0;
  double doVrConsumacao = 0, doVrCouver = 0, doVrUnitVendCl = 0;
  double doVrDescFid = 0, doVrDescCash4All = 0, doVrDescCashUDS = 0;
  double doAcrItem = 0;  // item surcharges of the sale, kept apart from the total
  double doPercDesconto = 0, doPercAcrescimo = 0;
  // Sale total without the fee and the surcharge of the screen; the real total is this
  // plus doVrAcrescimo (the fee stays in it when the branch keeps it beside a surcharge).
  double doVrBaseAcrescimo = 0;

  // --- What the keypad is collecting.
  TInputStep tpInputStep = isNone;
  TTipoTecl tpTeclado = ttvalor;

  // --- What is under way.
  bool boOperacaoEmCurso = false;   // a tender, confirmation or printing operation is under way
  bool boProcessandoSaida = false;  // the confirmation or exit of the screen is under way
  bool boFalhaReceb = false;        // the tender being selected was refused
  bool boTemPagtoTef = false;       // the sale holds a card payment through TEF
  int inQtdeTef = 0;                // card transactions made for the sale
  std::string stIdPagouTEF;
  // Card payments through the terminal, for the fiscal receipt.
  double doVrTotalTef = 0;    // the sale's card transactions through the terminal (one road a sale)
  std::string stFormaPagTef;  // fiscal payment-form text of the last card tender run
  int inCtrlCupomTef = 0;     // kept by the host's DoTef between calls; read by its receipt printing

  // --- Results handed back to the host.
  bool refused = false;  // the sale cannot be taken: the screen never shows
  bool boVendaOk = false;
  bool boCupomCancelado = false;
  bool boPagouMobile = false, boPagouDelivery = false;
  std::string stIdCPFCupom, stNrVenda, stCDIDCONSUMID, stCdCampanha, stRetTender;
  std::string stNrCupomFis, stNrContCupom, stRetImpressora;
  std::string stIdDescFidelidade, stPontosFidelidade, stVrDescFidelidade;
  std::string stOBSFINVEN;  // the sale's closing observation
  std::vector<std::string> stlRetorno;
  base::Variant oleRetorno;  // results of host services

  // --- Reference data copied or loaded at the start of the sale.
  base::Dataset cdsReceb{"cdsReceb"}, cdsTroco{"cdsTroco"}, cdsCliente{"cdsCliente"}, cdsAliqImpFis{"cdsAliqImpFis"},
      cdsConsumidor{"cdsConsumidor"}, cdsControleAcess{"cdsControleAcess"}, cdsIdentPaf{"cdsIdentPaf"},
      cdsProdServTCon{"cdsProdServTCon"}, cdsProdServ{"cdsProdServ"}, cdsParcelas{"cdsParcelas"},
      cdsItProdVend{"cdsItProdVend"};

  // The sale's items are there to read (open, not empty).
  bool HasItems() const;
  // A column of the current item row; "" or 0 when there are no items or no such column.
  std::string ItemText(const std::string& column) const;
  double ItemNumber(const std::string& column) const;
  // Sets a column on every item row that has it.
  void SetOnEveryItem(const std::string& column, const base::Variant& value);
  // A line among the payments (filtered or not) with `value` in `column`.
  bool HasPaymentWith(const std::string& column, const std::string& value) const;
  // The payment dataset holds no line (filtered or not).
  bool NoPayments() const;
};

}  // namespace recebimento::screen
