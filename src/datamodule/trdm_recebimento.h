#pragma once
// The store's data module: one connection (adcRecebimento) and the catalogue of query
// functions the payment screen and the host call. Results follow one convention:
// packet and number functions return the database error text in place of the result,
// text functions an empty text, flag functions false.
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "base/clock.h"
#include "base/variant.h"

namespace recebimento::datamodule {

class StoreConnection;
struct Statement;

// The host's consumer central (ExtratoConsCentral): runs the named operation with the
// codes given and fills `result`; false when the central could not answer.
using ExtratoConsCentralFn =
    std::function<bool(const std::string& operation, const std::vector<std::string>& codes, base::Variant& result)>;
// The host's online statement service (ExtratoConsOnline): runs the named operation at
// `url` for the codes given (client, consumer, then the family and a kind when the
// operation needs them) as of `when`; false when the service could not answer.
using ExtratoConsOnlineFn =
    std::function<bool(const std::string& operation, const std::string& url, const std::vector<std::string>& codes,
                       const base::DateTime& when, base::Variant& result)>;

// A refusal of the personal-credit check, or a failure of what it consults: the text
// says which ("ERRO_1 ..." to "ERRO_5 ...", FALHA_CONEXAO_SRV, EXTCONSCENTRAL_ERRO, or
// the database's error text).
class ConsumerBalanceError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class TrdmRecebimento {
 public:
  // The connection string is fetched from _GetStringConexZem("") each time the
  // connection opens, unless one is given here.
  TrdmRecebimento();
  explicit TrdmRecebimento(std::string connection_string);
  ~TrdmRecebimento();
  TrdmRecebimento(const TrdmRecebimento&) = delete;
  TrdmRecebimento& operator=(const TrdmRecebimento&) = delete;

  StoreConnection& adcRecebimento() { return *adcRecebimento_; }
  // Opens the connection now (it also opens on the first statement) and checks that the
  // store has its schema. Throws std::runtime_error with the database's message when it
  // cannot, or saying which store is missing or empty and the command that creates it.
  void Open();
  // "SQLITE", "POSTGRESQL", "MSSQL" or "ORACLE".
  std::string UsedDatabase() const;

  // Each acts only if the rule holds: start when no transaction is active, commit and
  // roll back only when one is.
  void StartTrans();
  void CommitTrans();
  void RollbackTrans();
  bool InTransaction() const;

  // "Today" of the date-bound statements comes from this clock (default: real time).
  void SetClock(const base::Clock* clock) { clock_ = clock; }
  void SetExtratoConsCentral(ExtratoConsCentralFn fn) { extrato_cons_central_ = std::move(fn); }
  void SetExtratoConsOnline(ExtratoConsOnlineFn fn) { extrato_cons_online_ = std::move(fn); }

  // ---- Consumers, accounts and consumer types --------------------------------------
  // Packet functions: a Variant holding the packet, or the error text (a string).
  base::Variant getConsumidor(const std::string& cdcliente, const std::string& cdconsumidor,
                              const std::string& cdfilial);
  base::Variant getConsSaldFam(const std::string& cdfilial, const std::string& cdcliente,
                               const std::string& cdconsumidor);
  // [0] the family's order, [1] the families used before it with the consumer's balances
  // (from the consumer central when `usa_central` is "S").
  base::Variant getOrdemFamilia(const std::string& cdfilial, const std::string& cdfamilisald,
                                const std::string& cdcliente, const std::string& cdconsumidor,
                                const std::string& usa_central);
  base::Variant getMinDtMovExtCons(const std::string& cdcliente, const std::string& cdconsumidor);
  base::Variant getCentroCusto(const std::string& cdcliente, const std::string& cdconsumidor);
  base::Variant getValCentroCusto(const std::string& cdcliente, const std::string& cdconsumidor,
                                  const std::string& cdccusclie);
  base::Variant getSaldoCons(const std::string& cdcliente, const std::string& cdconsumidor);
  base::Variant getSaldoCred(const std::string& cdcliente, const std::string& cdconsumidor,
                             const std::string& cdfamilisald);
  base::Variant getLimiteCons(const std::string& cdcliente, const std::string& cdconsumidor);
  base::Variant getTipoConsLoja(const std::string& cdfilial, const std::string& cdloja, const std::string& cdcliente,
                                const std::string& cdconsumidor);
  base::Variant GetTipoConsFili(const std::string& cdcliente, const std::string& cdconsumidor);
  base::Variant GetTipoConsFiliClubPetro(const std::string& nmgruposegpetro);
  base::Variant getTipoConsReceb(const std::string& cdcliente, const std::string& cdconsumidor);
  base::Variant getTpConsRecGeral();
  base::Variant getIngresso(const std::string& cdcliente, const std::string& cdconsumidor);
  // Text functions: empty on error.
  std::string getTipoVendaCons(const std::string& cdcliente, const std::string& cdconsumidor);
  std::string getBloqFimSemana(const std::string& cdcliente, const std::string& cdconsumidor);
  std::string getVerifConsAtivo(const std::string& cdcliente, const std::string& cdconsumidor);
  std::string PermiteAlterarDescFid(const std::string& cdcliente, const std::string& cdconsumidor);
  base::Variant getCPFCons(const std::string& cdconsumidor, const std::string& cdcliente);
  // Reads IDIMPCPFCUPOM into `imprime_cpf` (left as it is on error).
  void setParamConsumidor(const std::string& cdcliente, const std::string& cdconsumidor, std::string& imprime_cpf);

  // ---- Spending and quotas ----------------------------------------------------------
  // Number functions: a Variant holding a double, or the error text.
  // `itens_venda` is the packet of the sale's items (QTPRODCOMVEN per CDPRODUTO); the
  // status ("QTDE_OK", "QTDE_NOT_CONS", "PROD_NOT_CONS", "QTDE_NOT_FAM", "PROD_NOT_FAM"
  // or the error text) goes to `resultado`.
  void getQtdeProdDia(const std::string& cdfilial, const std::string& cdcliente, const std::string& cdconsumidor,
                      const std::string& cdfamilisald, const std::string& cdproduto, double quantidade,
                      const base::Variant& itens_venda, std::string& resultado);
  base::Variant getGastCons(const std::string& cdcliente, const std::string& cdconsumidor, const std::string& tipo);
  base::Variant getGtDiaServ(const std::string& cdfilial, const std::string& cdcliente, const std::string& cdconsumidor,
                             const std::string& cdservfili);
  base::Variant getProdVenDiaServ(const std::string& cdfilial, const std::string& cdcliente,
                                  const std::string& cdconsumidor, const std::string& cdproduto,
                                  const std::string& cdservfili);
  base::Variant getVrSaldConsumi(const std::string& cdfilial, const std::string& cdcliente,
                                 const std::string& cdconsumidor, const base::DateTime& inicio_mes,
                                 const base::DateTime& data_venda);
  base::Variant getSaldoExcedente(const std::string& cdfilial, const std::string& cdcliente,
                                  const std::string& cdconsumidor, const base::DateTime& data);
  base::Variant getGastoConsMes(const std::string& cdcliente, const std::string& cdconsumidor,
                                const base::DateTime& inicio, const base::DateTime& fim);
  base::Variant getVrSubsBasicoCons(const std::string& cdcliente, const std::string& cdconsumidor);
  // `mes`: "MM/YYYY", "YYYY-MM", "YYYYMM" or any date of the month. 0 for another month.
  base::Variant getVendaMes(const std::string& cdfilial, const std::string& cdcaixa, const std::string& mes);

  // ---- Branch, registers, tenders and integration settings ---------------------------
  base::Variant getCPFCNPJ(const std::string& cdfilial, const std::string& nrcomanda, const std::string& nrlugarmesa);
  bool getImpNomeConsumidorVenda(const std::string& cdfilial, const std::string& cdcaixa);
  std::string getConcessaoCred(const std::string& cdfilial);
  base::Variant getTipoRecebimento();
  std::string getIdIntResgSaldo(const std::string& cdtiporece);
  std::string getUtilResgSaldo();
  base::Variant getDadosResgSaldo(const std::string& cdfilial);
  base::Variant getSerialPos(const std::string& cdfilial);
  std::string getCNPJFil(const std::string& cdfilial);
  std::string getCNPJEmpresa(const std::string& cdfilial);
  std::string getIDFECHRECAUT(const std::string& cdfilial);
  std::string getIDUTCUPOMDESC();
  base::Variant GetOrigemVenda(const std::string& cdfilial, const std::string& nrvendarest,
                               const std::string& nrcomanda);
  // `comandas`: tab numbers separated by commas (quotes around them are ignored).
  base::Variant getComandaVal(const std::string& cdfilial, const std::string& nao_usado, const std::string& comandas);
  base::Variant getResgDelivery(const std::string& cdfilial, const std::string& comandas);
  base::Variant getDadosAme(const std::string& cdfilial);
  base::Variant getDadosMp(const std::string& cdfilial, const std::string& cdcaixa);
  std::string getDataEmissMp();
  base::Variant getDadosCRMBONUS(const std::string& cdfilial, const std::string& cdloja);
  base::Variant getDadosGCOM(const std::string& cdfilial, const std::string& cdloja);
  // The branch's tender screen in the shape of the host's tender dataset (cdsReceb).
  base::Variant getRecebHost(const std::string& cdfilial);

  // ---- Products, promotions and loyalty ----------------------------------------------
  base::Variant getProdTaxaServ(const std::string& cdfilial, const std::string& cdproduto);
  base::Variant getProdTaxaEntr(const std::string& cdfilial, const std::string& cdproduto);
  base::Variant getSubGrProd(const std::string& cdproduto);
  base::Variant getDescQtdeSub(const std::string& cdgrupprod, const std::string& cdsubgrprod);
  base::Variant getProdSubsidiado(const std::string& cdfilial);
  bool getProdBeneficio(const std::string& cdproduto);
  base::Variant getVrPromocao(const std::string& cdfilial, const std::string& cdproduto,
                              const std::string& cdprodpromocao);
  base::Variant getCuponsValidos(const std::string& cdfilial);
  base::Variant getCampanha(const std::string& valor_venda, const std::string& cdfilial);
  base::Variant getProdCampanha(const std::string& cdfilial, const std::string& cdproduto);
  std::string getCampanhaSaldo(const std::string& cdfilial);
  base::Variant getDescFidelidade(const std::string& cdfilial, const std::string& cdconsumidor,
                                  const std::string& cdcliente);
  bool getusoudesc(const std::string& cdfilial, const std::string& cdconsumidor, const std::string& cdcliente);
  base::Variant getDescVendaFid(const std::string& cdcliente, const std::string& cdconsumidor);
  // [0] the balance campaigns' points packet, [1] points already redeemed in its campaign.
  base::Variant getDescSaldoFid(const std::string& cdcliente, const std::string& cdconsumidor);
  base::Variant getConversao(const std::string& cdfilial);

  // ---- Next numbers -----------------------------------------------------------------
  // The reserved number as text, or the error text.
  base::Variant getPrxVendaVista(const std::string& cdfilial, const std::string& cdcaixa);
  base::Variant getPrxVendaConsumidor(const std::string& cdfilial, const std::string& cdcaixa);
  base::Variant getNumeroNFCe(const std::string& cdfilial, const std::string& nrserie, const std::string& ambiente);
  base::Variant PrxPedidoZem(const std::string& cdfilial);
  base::Variant PrxItPedidoZem(const std::string& cdfilial, const std::string& nrpedidozem);

  // ---- Sale and receipt numbers (sale_numbers.cpp) ----------------------------------
  // The day's first-number counters of NOVOCODIGO are created once: a register that
  // finds the counter already there (also one created by another register a moment
  // before) leaves it as it is. Each returns the error text when the database fails,
  // and then no counter is created and no number is spent.
  // "" when recorded.
  std::string setGravaCupomInicial(const std::string& cdfilial, const std::string& cdcaixa, const std::string& nrcupom,
                                   const base::DateTime& data);
  // `tipo` "C": a consumer sale; anything else a cash sale. The new sale number.
  base::Variant setNrVendaNFisc(const std::string& cdfilial, const std::string& cdcaixa, const std::string& tipo);
  // The new NFC-e number; with `inutiliza` the number is also set aside (INUTILIZANFCE).
  base::Variant setNumeroNFCe(const std::string& cdfilial, const std::string& cdcaixa, const std::string& nrserie,
                              const std::string& ambiente, bool inutiliza);
  // The next external sale number within [primeiro, ultimo], zero-padded to the width
  // of `ultimo`; "CUPINV" once the range is spent.
  base::Variant getPrxVendaColombia(const std::string& cdfilial, const std::string& cdcaixa, const std::string& prefixo,
                                    const std::string& primeiro, const std::string& ultimo);
  // The three above need the branch and the register (an error text without them), and
  // record each number they hand out as reserved by the register, in the transaction
  // that takes it (number_reservations.h). NFC-e and external numbers already recorded
  // (set aside or handed out before) are passed over.

  // ---- Consumer balances (consumer_balances.cpp, family_balance_check.cpp) ----------
  // Checks what a personal-credit sale draws from each balance family (`familias`: a
  // packet of CDFAMILISALD and the amount drawn in VRSALDCONFAM) against the families'
  // balances and daily caps, lending a family's shortfall from an earlier family. The
  // packet of the loan movements the sale must book (empty when no loan); throws
  // ConsumerBalanceError on a refusal or a failure. Nothing is written.
  base::Variant setValidaSaldoCons(const std::string& cdfilial, const std::string& cdcaixa,
                                   const std::string& cdcliente, const std::string& cdconsumidor,
                                   const std::string& idextconsonline, const std::string& cdurlwsextcons,
                                   const std::string& idextconscentral, const base::Variant& familias,
                                   const base::DateTime& dtabercaix);
  // Books the consumer's debit-account movements from `data` on: each gets its running
  // balance (VRSALDOCONS) and a booking date. Throws DatabaseError.
  void setAtualizaDebCons(const std::string& cdfilial, const std::string& cdcliente, const std::string& cdconsumidor,
                          const base::DateTime& data, const std::string& cdoperador);
  // Re-evaluates the consumer's family balances from the statement, from `inicio` on:
  // every statement row of each family of the branch gets its running balance and
  // SALDOCONS the last one. Throws DatabaseError.
  void EvoluiSaldo(const std::string& cdfilial, const std::string& cdcliente, const std::string& cdconsumidor,
                   const base::DateTime& inicio);
  // Both run in one transaction each, holding the consumer while they work, so registers
  // booking the same consumer at once never leave a balance that misses a movement; run
  // again they change nothing.

  // ---- Consumer records, tabs and kitchen orders (consumer_records.cpp, kitchen_orders.cpp)
  // Registers a consumer (`modo` "1") and stores a new valid CPF for one whose CPF may be
  // updated. Variant(true), or the error text.
  base::Variant setGravaConsumidor(const std::string& cdcliente, const std::string& cdconsumidor,
                                   const std::string& nmconsumidor, const std::string& cdidconsumid,
                                   const std::string& cdccusclie, const std::string& cdtipocons,
                                   const std::string& nrrgconsumid, const std::string& nrtelefcons,
                                   const std::string& nrtelef2cons, const std::string& origem, const std::string& modo,
                                   const std::string& nrcpf);
  // The price, discount and surcharge of a tab's item for its consumer (origin "APP":
  // the item of the seat), the table's client and consumer, and the tab's loyalty discount
  // cleared, all or nothing. "" or the error text.
  std::string setPrecCons(const std::string& cdfilial, const std::string& nrvendarest, const std::string& nrcomanda,
                          const std::string& cdproduto, const std::string& nrprodcomven, const std::string& origem,
                          const std::string& nrlugarmesa, const std::string& cdcliente, const std::string& cdconsumidor,
                          double vrpreco, double vrdesconto, double vracrescimo);
  // Kitchen orders of the sale rows in `venda` (a packet of the sale's items: CDFILIAL,
  // CDCAIXA, CDLOJA, NRSEQVENDA, NRNOTAFISCALCE, CDPRODUTO, QTPRODCOMVEN, TXPRODCOMVEN),
  // written when `idenviapedkds` is "S". With `sat` a missing receipt number is the
  // register's next SAT number, written back into the packet with the order's number.
  // "" or the error text.
  std::string setPedidoKDS(base::Variant& venda, const std::string& idenviapedkds, bool sat);
  // No kitchen order of the branch carries that description yet.
  bool verifPedido(const std::string& cdfilial, const std::string& dspedidozem);
  // The order with that description holds fewer than `ocorrencia` items of the product:
  // the item is not in it yet.
  bool verifItPedido(const std::string& cdfilial, const std::string& dspedidozem, const std::string& cdproduto,
                     int ocorrencia = 1);

  // ---- Cancelled sales (cancelled_sale.cpp) ------------------------------------------
  // Records the sale of a fiscal receipt cancelled on the screen, in one transaction: the
  // sale (situation "C") under a new number of the register's sale sequence, the items
  // cancelled before payment, the sale's items with the tab's discount and surcharge
  // netted and spread over them (no item surcharge for printer kinds 16 and 30), and the
  // total. The packets are the sale's items and the cancelled items as the screen holds
  // them. The new sale number; "" when the sale has no item (nothing is written); or the
  // error text, with nothing written and no number spent.
  base::Variant setCancelaVendas(const base::Variant& itens_venda, const base::Variant& itens_cancelados,
                                 const std::string& cdcaixa, const base::DateTime& dtabercaix,
                                 const std::string& cdempresa, const std::string& nrcupomfis,
                                 const std::string& nrcontcupom, const std::string& nrmesa,
                                 const std::string& nrvendaext, int idtipoimpfis, const std::string& nrserieimp);
  // Stores the sale's total (its items and its cancelled items) and returns it as a
  // number, or the error text.
  base::Variant CalcVrTotVenda(const std::string& cdfilial, const std::string& cdcaixa, const std::string& nrseqvenda);

  // ---- Reserved numbers (number_reservations.cpp) ------------------------------------
  // The sale that carries `numero` (as the sale reports it, external numbers with their
  // prefix) was recorded: its reservation becomes used. "" or the error text.
  std::string MarkNumberUsed(const std::string& cdfilial, const std::string& cdcaixa, const std::string& numero);
  // Packet of the register's numbers still reserved (CDCONTADOR, NRRESERVADO, DTRESERVA),
  // oldest first: numbers of calls that ended before their sale was recorded. Or the
  // error text.
  base::Variant NumbersStillReserved(const std::string& cdfilial, const std::string& cdcaixa);

 private:
  // The common frame of the catalogue: run, and turn a database error into its text
  // (noticing a lost connection so the next call reconnects).
  base::Variant PacketOf(const Statement& statement, const std::vector<std::pair<std::string, base::Variant>>& params);
  base::Variant NumberOf(const Statement& statement, const std::vector<std::pair<std::string, base::Variant>>& params,
                         const std::string& column);
  std::string TextOf(const Statement& statement, const std::vector<std::pair<std::string, base::Variant>>& params,
                     const std::string& column);
  std::string ErrorText(const std::exception& error);
  base::DateTime Now() const;
  base::DateTime Today() const { return Now().Date(); }

  std::unique_ptr<StoreConnection> adcRecebimento_;
  const base::Clock* clock_ = nullptr;
  ExtratoConsCentralFn extrato_cons_central_;
  ExtratoConsOnlineFn extrato_cons_online_;
};

}  // namespace recebimento::datamodule
