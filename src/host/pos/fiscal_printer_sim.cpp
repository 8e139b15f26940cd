#include "host/pos/fiscal_printer_sim.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <stdexcept>

#include <fmt/format.h>

#include "base/data_packet.h"
#include "host/runtime/money.h"

namespace recebimento::pos {

using base::Variant;

namespace {

// Whole cents, so that totals and the grand total never drift.
using runtime::ToCents;
std::string Money(int64_t cents) {
  return fmt::format("{}{}.{:02d}", cents < 0 ? "-" : "", std::llabs(cents) / 100, std::llabs(cents) % 100);
}
std::string Money(double amount) { return Money(ToCents(amount)); }

Variant Element(const std::vector<Variant>& v, size_t i) { return i < v.size() ? v[i] : Variant(); }

// An amount of the closing record; a value that is no amount counts as none.
double Number(const Variant& v) {
  if (v.IsEmptyOrNull()) return 0;
  try {
    return v.AsFloat();
  } catch (const std::exception&) {
    return 0;
  }
}

// What the payments of the closing record paid (change lines aside), in cents.
int64_t PaidCents(const Variant& payments) {
  if (!payments.IsPacket()) return 0;
  const auto& p = payments.AsPacket();
  const int amount = p.FieldIndex("VRMOVIVEND"), kind = p.FieldIndex("IDTIPOMOVIVE");
  int64_t cents = 0;
  for (const auto& row : p.rows)
    if (amount >= 0 && (kind < 0 || row[kind].AsString() != "S")) cents += ToCents(Number(row[amount]));
  return cents;
}

// A voucher's values in the order the host's voucher calls take them.
std::vector<Variant> VoucherArgs(const ConsumerVoucher& v) {
  return {Variant(v.stIDESQUEMA),  Variant(v.VRMOVIVEND), Variant(v.DSIMPFISCAL), Variant(v.CDCONSUMIDOR),
          Variant(v.NMCONSUMIDOR), Variant(v.CDCLIENTE),  Variant(v.NMFANTCLIE),  Variant(v.saldo)};
}

// Writes element i of the answer array, making it an array of ten when it is not one.
void Answer(Variant& ole, size_t i, Variant value) {
  if (!ole.IsArray() || ole.Size() <= i) ole = Variant::Array(std::max<size_t>(10, i + 1));
  ole[i] = std::move(value);
}

}  // namespace

const std::set<std::string>& PrinterOperationsThatFail() {
  static const std::set<std::string> operations = {
      "AbreCupom",        "VendaItem",        "Cancela_UltimoItem",   "FechaCupom",     "Cancela_Cupom_Imp",
      "CancelaPendencia", "Nr_Cupom",         "Atu_TotGeral",         "ImpressaoVenda", "ImprCupons",
      "Imp_CompVenCred",  "Comp_DebitoCons",  "Cupom_Troca_Gpe00000", "ChamaFuncaoMFe", "CheckIntPosFiles",
      "Abre_Gaveta_Imp",  "Estado_Gaveta_Imp"};
  return operations;
}

double SimulatedFiscalPrinter::Item::Total() const {
  return runtime::FromCents(ToCents(quantity * unit_price) - ToCents(discount) + ToCents(surcharge));
}

SimulatedFiscalPrinter::SimulatedFiscalPrinter(FiscalPrinterConfig config, HostRecord& record, const base::Clock& clock,
                                               TefExchangeFolder& tef_files)
    : config_(std::move(config)), record_(record), clock_(clock), tef_files_(tef_files) {
  if (config_.receipt_open) {
    open_ = true;
    opened_before_ = true;
    receipt_ = fmt::format("{:06d}", config_.next_receipt++);
    counter_ = fmt::format("{:06d}", config_.next_counter++);
  }
}

void SimulatedFiscalPrinter::Line(const std::string& text) {
  record_.Print("fiscal", text);
  if (config_.journal_path.empty()) return;
  // The journal is the printer's own append-only memory: one line per printed line.
  std::filesystem::path p(config_.journal_path);
  if (p.has_parent_path()) std::filesystem::create_directories(p.parent_path());
  std::ofstream out(p, std::ios::app);
  out << clock_.Now().Format("yyyy-mm-dd hh:nn:ss") << " " << text << "\n";
  out.flush();
  if (!out) throw std::runtime_error("fiscal printer: cannot write the journal " + config_.journal_path);
}

bool SimulatedFiscalPrinter::Refuse(const std::string& operation, const std::string& why) {
  debug_lines_.push_back(operation + " refused" + (why.empty() ? "" : ": " + why));
  return false;
}

double SimulatedFiscalPrinter::ItemsTotal() const {
  int64_t cents = 0;
  for (const auto& it : items_)
    if (!it.cancelled) cents += ToCents(it.Total());
  return static_cast<double>(cents) / 100.0;
}

void SimulatedFiscalPrinter::Header() {
  for (const auto& l : config_.header) Line(l);
  Line(fmt::format("ECF {} {}", config_.serial, clock_.Now().Format("dd/mm/yyyy hh:nn:ss")));
}

bool SimulatedFiscalPrinter::AbreCupom(runtime::ParamBlock& block) {
  record_.Call("AbreCupom", block.ValuesInOrder());
  if (failures_.NextCallFails("AbreCupom")) return Refuse("AbreCupom");
  if (open_) return Refuse("AbreCupom", "a receipt is already open");
  open_ = true;
  items_.clear();
  receipt_ = fmt::format("{:06d}", config_.next_receipt++);
  counter_ = fmt::format("{:06d}", config_.next_counter++);
  block.Set("CUPNR", receipt_);
  block.Set("CONTCUPOM", counter_);
  block.Set("INTTEFERRO", 1);
  Header();
  Line(fmt::format("CUPOM FISCAL {} COO {}", receipt_, counter_));
  consumer_printed_ = false;
  const std::string doc = block.Get("INCLUICPF").AsString();
  if (!doc.empty()) {
    Line("CONSUMIDOR: " + doc);
    consumer_printed_ = true;
  }
  const std::string name = block.Get("INCLUINOME").AsString();
  if (!name.empty()) Line("NOME: " + name);
  const std::string address = block.Get("INCLUIENDERECO").AsString();
  if (!address.empty()) Line("ENDERECO: " + address);
  return true;
}

bool SimulatedFiscalPrinter::VendaItem(runtime::ParamBlock& block) {
  Item item{static_cast<int>(items_.size()) + 1, block.Get("CDPRODUTO").AsString(),
            block.Get("DSPRODUTO").AsString(),   block.Get("QTPRODUTO").AsFloat(),
            block.Get("VRUNITARIO").AsFloat(),   block.Get("VRDESCONTO").AsFloat(),
            block.Get("VRACRESCIMO").AsFloat(),  false};
  record_.Call("VendaItem", block.ValuesInOrder());
  if (failures_.NextCallFails("VendaItem")) return Refuse("VendaItem");
  if (!open_) return Refuse("VendaItem", "no receipt open");
  if (item.quantity <= 0) return Refuse("VendaItem", "quantity not positive");
  items_.push_back(item);
  block.Set("NRSEQITEM", item.seq);
  block.Set("INTTEFERRO", block.Get("INTTEFERRO").IsEmpty() ? Variant(1) : block.Get("INTTEFERRO"));
  Line(fmt::format("{:03d} {} {} {} x {} = {}", item.seq, item.code, item.description, item.quantity,
                   Money(item.unit_price), Money(item.Total())));
  // The item's own discount and surcharge, under its line: its total is net of them.
  if (ToCents(item.discount) > 0) Line(fmt::format("ITEM {:03d} DESCONTO -{}", item.seq, Money(item.discount)));
  if (ToCents(item.surcharge) > 0) Line(fmt::format("ITEM {:03d} ACRESCIMO +{}", item.seq, Money(item.surcharge)));
  return true;
}

bool SimulatedFiscalPrinter::Cancela_UltimoItem(const std::string& stIDESQUEMA) {
  record_.Call("Cancela_UltimoItem", {Variant(stIDESQUEMA)});
  if (failures_.NextCallFails("Cancela_UltimoItem")) return Refuse("Cancela_UltimoItem");
  if (!open_ || items_.empty() || items_.back().cancelled) return Refuse("Cancela_UltimoItem", "no item to cancel");
  items_.back().cancelled = true;
  Line(fmt::format("CANCELADO ITEM {:03d} -{}", items_.back().seq, Money(items_.back().Total())));
  return true;
}

bool SimulatedFiscalPrinter::FechaCupom(const std::vector<std::string>& stlPriVia, const std::vector<Variant>& closing,
                                        Variant& oleRetorno) {
  std::vector<Variant> first_copy;
  for (const auto& l : stlPriVia) first_copy.push_back(Variant(l));
  record_.Call("FechaCupom", {Variant(first_copy), Variant(closing)});
  if (failures_.NextCallFails("FechaCupom")) return Refuse("FechaCupom");
  if (!open_) return Refuse("FechaCupom", "no receipt open");
  if (closing.size() != 62) return Refuse("FechaCupom", fmt::format("{} values in the closing record", closing.size()));
  const double discount = Number(Element(closing, 6));
  const double change = Number(Element(closing, 7));
  const double surcharge = Number(Element(closing, 8));
  const Variant payments = Element(closing, 13);
  // A receipt the host opened before this run holds items the printer registered then:
  // what the payments cover, less the change and the adjustments.
  int64_t subtotal = ToCents(ItemsTotal());
  if (opened_before_ && items_.empty())
    subtotal = PaidCents(payments) - ToCents(change) + ToCents(discount) - ToCents(surcharge);
  const int64_t total = subtotal - ToCents(discount) + ToCents(surcharge);
  Line("SUBTOTAL " + Money(subtotal));
  if (ToCents(discount) > 0) Line("DESCONTO -" + Money(discount));
  if (ToCents(surcharge) > 0) Line("ACRESCIMO +" + Money(surcharge));
  Line("TOTAL " + Money(total));
  if (payments.IsPacket()) {
    const auto& p = payments.AsPacket();
    const int name = p.FieldIndex("NMTIPORECE"), amount = p.FieldIndex("VRMOVIVEND"),
              kind = p.FieldIndex("IDTIPOMOVIVE");
    for (const auto& row : p.rows) {
      if (kind >= 0 && row[kind].AsString() == "S") continue;  // change is printed below
      Line(fmt::format("{} {}", name >= 0 ? row[name].AsString() : "PAGAMENTO",
                       amount >= 0 ? Money(row[amount].AsFloat()) : Money(0.0)));
    }
  }
  if (ToCents(change) > 0) Line("TROCO " + Money(change));
  // The consumer's document, when the opening did not print it, and the receipt's texts.
  if (const std::string doc = Element(closing, 19).AsString(); !doc.empty() && !consumer_printed_)
    Line("CONSUMIDOR: " + doc);
  for (size_t text : {size_t{10}, size_t{30}, size_t{56}})
    if (const std::string t = Element(closing, text).AsString(); !t.empty()) Line(t);
  if (const std::string op = Element(closing, 23).AsString(); !op.empty()) Line("OPERADOR: " + op);
  for (const auto& l : stlPriVia) record_.Print("tef", l);
  grand_total_ = runtime::FromCents(ToCents(grand_total_) + total);
  open_ = false;
  opened_before_ = false;
  last_receipt_ = receipt_;
  last_total_ = static_cast<double>(total) / 100.0;
  last_cancelled_ = false;
  Line(fmt::format("FIM CUPOM {} GT {}", receipt_, Money(grand_total_)));
  // The card transactions the receipt carries belong to a closed sale now.
  tef_files_.MarkSaleClosed(receipt_);
  Answer(oleRetorno, 0, Variant(1));
  Answer(oleRetorno, 1, Variant(receipt_));
  Answer(oleRetorno, 2, Variant(std::string("OK")));
  return true;
}

bool SimulatedFiscalPrinter::Cancela_Cupom_Imp(const std::vector<Variant>& args, Variant& oleRetorno) {
  record_.Call("Cancela_Cupom_Imp", args);
  if (failures_.NextCallFails("Cancela_Cupom_Imp")) {
    Answer(oleRetorno, 0, Variant(false));
    return Refuse("Cancela_Cupom_Imp");
  }
  if (open_) {
    open_ = false;
    last_receipt_ = receipt_;
    items_.clear();
    Line("CUPOM " + receipt_ + " CANCELADO");
  } else if (!last_cancelled_) {
    grand_total_ = runtime::FromCents(ToCents(grand_total_) - ToCents(last_total_));
    cancelled_total_ = runtime::FromCents(ToCents(cancelled_total_) + ToCents(last_total_));
    last_cancelled_ = true;
    Line("CUPOM " + last_receipt_ + " CANCELADO -" + Money(last_total_));
    tef_files_.MarkSaleClosed("");  // its card transactions no longer belong to a sale
  } else {
    Answer(oleRetorno, 0, Variant(false));
    return Refuse("Cancela_Cupom_Imp", "no receipt to cancel");
  }
  Answer(oleRetorno, 0, Variant(true));
  return true;
}

bool SimulatedFiscalPrinter::CancelaPendencia(const PendingTefRequest& r) {
  record_.Call("CancelaPendencia", {Variant(r.stCDFILIAL), Variant(r.stCDCAIXA), Variant(r.stIDESQUEMA),
                                    Variant(r.flag), Variant(r.inQtdeTef), Variant(r.inIDTIPOIMPFIS),
                                    Variant(r.fiscal_flag), Variant(r.stIDTIPOIMPNF3), Variant(r.stCDPORTIMPNF3)});
  if (failures_.NextCallFails("CancelaPendencia")) return Refuse("CancelaPendencia");
  // Transactions of a sale whose receipt closed are confirmed; the others are undone.
  const TefExchangeFolder::Resolution resolved = tef_files_.ResolveLeftOver();
  if (resolved.undone > 0) record_.Print("tef", fmt::format("TRANSACOES TEF CANCELADAS: {}", resolved.undone));
  if (resolved.confirmed > 0) record_.Print("tef", fmt::format("TRANSACOES TEF CONFIRMADAS: {}", resolved.confirmed));
  return true;
}

bool SimulatedFiscalPrinter::Nr_Cupom(const std::string& port, const std::string& stIDESQUEMA, std::string& number) {
  record_.Call("Nr_Cupom", {Variant(port), Variant(stIDESQUEMA)});
  if (failures_.NextCallFails("Nr_Cupom")) return Refuse("Nr_Cupom");
  number = open_ ? receipt_ : last_receipt_;
  return true;
}

base::DateTime SimulatedFiscalPrinter::DataMoviFiscal(const std::string& stIDESQUEMA) {
  record_.Call("DataMoviFiscal", {Variant(stIDESQUEMA)});
  if (!config_.business_date.empty()) {
    if (auto d = base::DateTime::Parse(config_.business_date)) return d->Date();
    throw std::runtime_error("fiscal printer: business date '" + config_.business_date + "' is not a date");
  }
  return clock_.Now().Date();
}

bool SimulatedFiscalPrinter::Atu_TotGeral(runtime::ParamBlock& block) {
  record_.Call("Atu_TotGeral", block.ValuesInOrder());
  if (failures_.NextCallFails("Atu_TotGeral")) return Refuse("Atu_TotGeral");
  block.Set("GRANDETOTAL", grand_total_);
  block.Set("NRSERIEIMP", config_.serial);
  return true;
}

bool SimulatedFiscalPrinter::ImpressaoVenda(runtime::ParamBlock& block) {
  record_.Call("ImpressaoVenda", block.ValuesInOrder());
  if (failures_.NextCallFails("ImpressaoVenda") || open_) {
    block.Set("RETORNO", std::string("Erro"));
    return Refuse("ImpressaoVenda");
  }
  // The host prints the whole sale in one go: open, items, payments, close.
  open_ = true;
  items_.clear();
  receipt_ = fmt::format("{:06d}", config_.next_receipt++);
  counter_ = fmt::format("{:06d}", config_.next_counter++);
  Header();
  Line(fmt::format("CUPOM FISCAL {} COO {}", receipt_, counter_));
  consumer_printed_ = false;
  const Variant items = block.Get("ITENS");
  if (items.IsPacket()) {
    const auto& p = items.AsPacket();
    const int code = p.FieldIndex("CDPRODUTO"), name = p.FieldIndex("NMPRODUTO"), qty = p.FieldIndex("QTPRODCOMVEN"),
              price = p.FieldIndex("VRPRECCOMVEN"), disc = p.FieldIndex("VRDESCCOMVEN");
    for (const auto& row : p.rows) {
      Item it{static_cast<int>(items_.size()) + 1,
              code >= 0 ? row[code].AsString() : "",
              name >= 0 ? row[name].AsString() : "",
              qty >= 0 ? row[qty].AsFloat() : 1,
              price >= 0 ? row[price].AsFloat() : 0,
              disc >= 0 ? row[disc].AsFloat() : 0,
              0,
              false};
      items_.push_back(it);
      Line(fmt::format("{:03d} {} {} {} x {} = {}", it.seq, it.code, it.description, it.quantity, Money(it.unit_price),
                       Money(it.Total())));
    }
  }
  std::vector<Variant> closing(62);
  closing[13] = block.Get("MOVIMENTOS");
  Variant answer;
  FechaCupom({}, closing, answer);
  block.Set("RETORNO", last_receipt_);
  return true;
}

bool SimulatedFiscalPrinter::ImprCupons(const CardReceiptsRequest& r) {
  record_.Call("ImprCupons",
               {Variant(r.inQtdeTef), Variant(r.inIDTIPOIMPFIS), Variant(r.stNrCupomFis), Variant(r.stIDESQUEMA),
                Variant(r.stCDFILIAL), Variant(r.stCDCAIXA), Variant(r.IDIMPRCUPTEFRED), Variant(r.fiscal_flag),
                Variant(r.stIDTIPOIMPNF3), Variant(r.stCDPORTIMPNF3), Variant(r.vr_tef)});
  if (failures_.NextCallFails("ImprCupons")) return Refuse("ImprCupons");
  // Printing the card receipts confirms the transactions with the terminal.
  const int confirmed = tef_files_.ConfirmAll();
  record_.Print("tef",
                fmt::format("COMPROVANTES TEF: {} CUPOM {} VALOR {}", confirmed, r.stNrCupomFis, Money(r.vr_tef)));
  return true;
}

bool SimulatedFiscalPrinter::Imp_CompVenCred(const ConsumerVoucher& v) {
  record_.Call("Imp_CompVenCred", VoucherArgs(v));
  if (failures_.NextCallFails("Imp_CompVenCred")) return Refuse("Imp_CompVenCred");
  Line("COMPROVANTE CREDITO PESSOAL");
  Line(fmt::format("{} {} {}", v.CDCONSUMIDOR, v.NMCONSUMIDOR, Money(v.VRMOVIVEND)));
  Line("SALDO " + Money(v.saldo));
  return true;
}

bool SimulatedFiscalPrinter::Comp_DebitoCons(const ConsumerVoucher& v) {
  record_.Call("Comp_DebitoCons", VoucherArgs(v));
  if (failures_.NextCallFails("Comp_DebitoCons")) return Refuse("Comp_DebitoCons");
  Line("COMPROVANTE DEBITO CONSUMIDOR");
  Line(fmt::format("{} {} {}", v.CDCONSUMIDOR, v.NMCONSUMIDOR, Money(v.VRMOVIVEND)));
  Line("SALDO " + Money(v.saldo));
  return true;
}

bool SimulatedFiscalPrinter::Cupom_Troca_Gpe00000(const ExchangeCoupon& c) {
  record_.Call("Cupom_Troca_Gpe00000", {Variant(c.inIDTIPOIMPFIS), Variant(c.stIDESQUEMA), Variant(c.items),
                                        Variant(c.stCDFILIAL), Variant(c.stCDCAIXA), Variant(c.consumer_name),
                                        Variant(c.consumer_document), Variant(c.stIdTipoVenda), Variant(c.days)});
  if (failures_.NextCallFails("Cupom_Troca_Gpe00000")) return Refuse("Cupom_Troca_Gpe00000");
  Line(fmt::format("CUPOM DE TROCA - VALIDO POR {} DIAS", static_cast<int>(c.days)));
  const int name = c.items.FieldIndex("NMPRODUTO");
  for (const auto& row : c.items.rows)
    if (name >= 0) Line(row[name].AsString());
  return true;
}

bool SimulatedFiscalPrinter::ChamaFuncaoMFe(const std::vector<Variant>& args, Variant& oleRetorno) {
  record_.Call("ChamaFuncaoMFe", args);
  if (failures_.NextCallFails("ChamaFuncaoMFe")) return Refuse("ChamaFuncaoMFe");
  const std::string function = Element(args, 0).AsString();
  if (function == "GeraXMLEnviarPagamento") {
    Answer(oleRetorno, 0, Variant(fmt::format("MFE{:06d}", ++mfe_requests_)));
  } else if (function == "GeraXMLVerificarStatusValidador") {
    Answer(oleRetorno, 0, Variant(std::string("0")));
    Answer(oleRetorno, 1, Variant(fmt::format("{:06d}", mfe_requests_)));  // NSU
    Answer(oleRetorno, 2, Variant(std::string("01")));                     // brand
    Answer(oleRetorno, 3, Variant(fmt::format("AUT{:05d}", mfe_requests_)));
    Answer(oleRetorno, 4, Variant(std::string("1")));
  } else {
    return Refuse("ChamaFuncaoMFe", "unknown function '" + function + "'");
  }
  return true;
}

void SimulatedFiscalPrinter::ImpFisDebug(const std::string& line) {
  record_.Call("ImpFisDebug", {Variant(line)});
  debug_lines_.push_back(line);
}

bool SimulatedFiscalPrinter::CheckIntPosFiles(const std::string& stIDESQUEMA, bool after_closing) {
  record_.Call("CheckIntPosFiles", {Variant(stIDESQUEMA), Variant(after_closing)});
  if (failures_.NextCallFails("CheckIntPosFiles")) return Refuse("CheckIntPosFiles");
  tef_files_.MoveToPending();
  return true;
}

}  // namespace recebimento::pos
