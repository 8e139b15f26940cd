// The record of a sale whose fiscal receipt was cancelled on the screen: a VENDA row in
// situation "C", its items with the tab's discount and surcharge spread over them, the
// items cancelled before payment, and the sale's total; all in one transaction.
#include <cmath>
#include <optional>
#include <string>
#include <vector>

#include "base/dataset_columns.h"
#include "base/text.h"
#include "datamodule/catalogue_support.h"
#include "datamodule/next_number.h"
#include "datamodule/number_reservations.h"
#include "datamodule/trdm_recebimento.h"
#include "host/runtime/money.h"
#include "host/runtime/strings.h"

namespace recebimento::datamodule {

namespace {

using base::DataPacket;
using base::Variant;
using runtime::FromCents;
using runtime::ToCents;

const Statement adqParaVend{"adqParaVend",
                            "SELECT CDGRPRODPDV, CDCLIENTE, CDCCUSCLIE FROM PARAVEND WHERE CDFILIAL = :P_CDFILIAL"};

// The register's shift still open (the latest when there are several).
const Statement adqOperAber{"adqOperAber",
                            "SELECT DTABERCAIX FROM TURCAIXA WHERE CDFILIAL = :P_CDFILIAL AND CDCAIXA = :P_CDCAIXA "
                            "AND DTFECHCAIX IS NULL ORDER BY DTABERCAIX DESC LIMIT 1"};

const Statement adqGrupoProdFilial{"adqGrupoProdFilial",
                                   "SELECT CDGRUPPROD, CDSUBGRPROD, CDFISUBGRMRX FROM PRSUBGRPROD "
                                   "WHERE CDFILIAL = :P_CDFILIAL AND CDGRPRODPDV = :P_CDGRPRODPDV "
                                   "AND CDPRODUTO = :P_CDPRODUTO LIMIT 1"};
// The same group and product for any branch, the row that serves every branch first.
const Statement adqGrupoProd{"adqGrupoProd",
                             "SELECT CDGRUPPROD, CDSUBGRPROD, CDFISUBGRMRX FROM PRSUBGRPROD "
                             "WHERE CDGRPRODPDV = :P_CDGRPRODPDV AND CDPRODUTO = :P_CDPRODUTO "
                             "ORDER BY CASE WHEN CDFILIAL IS NULL THEN 0 ELSE 1 END, CDFILIAL LIMIT 1"};

const Statement acmCriaVenda{
    "acmCriaVenda",
    "INSERT INTO VENDA (CDFILIAL, CDCAIXA, NRSEQVENDA, NRSEQVENDAMSDE, CDCLIENTE, CDCCUSCLIE, CDCONSUMIDOR, "
    "CDVENDEDOR, CDEMPRESA, DTVENDA, DTENTRVENDA, IDSITUVENDA, VRDESCVENDA, CDFILIALTUR, CDCAIXATUR, DTABERTUR, "
    "DTFECHAVENDA, NRCUPOMFIS, CDOPERADOR, CDLOJA, IDTIPOVENDA, IDTPFORPGVEN, IDVENDEBCONS, NRMESA, NRVENDAEXT, "
    "VRTXSEVENDA, NRCONTCUPOMFISC, IDORIGEMVENDA, NRSERIEIMPMRX, NRCOMANDAMRX, DSCOMANDAMRX, CDSERVFILI, NMCONSVEND, "
    "NRINSCRCONS, DSENDEVENDA, NRORDEMMRX, NRSERIEMRX, NRSUBSERIEMRX, NRPESMESAVENDA) VALUES (:P_CDFILIAL, "
    ":P_CDCAIXA, :P_NRSEQVENDA, :P_NRSEQVENDAMSDE, :P_CDCLIENTE, :P_CDCCUSCLIE, NULL, :P_CDVENDEDOR, :P_CDEMPRESA, "
    ":P_AGORA, :P_DTENTRVENDA, 'C', 0, :P_CDFILIAL, :P_CDCAIXA, :P_DTABERTUR, :P_AGORA, :P_NRCUPOMFIS, "
    ":P_CDOPERADOR, :P_CDLOJA, 'D', 'V', 'N', :P_NRMESA, :P_NRVENDAEXT, :P_VRTXSEVENDA, :P_NRCONTCUPOMFISC, "
    "'BAL_ZEM', :P_NRSERIEIMPMRX, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL)"};

const Statement acmItemCancelado{
    "acmItemCancelado",
    "INSERT INTO ITVENDACAN (CDFILIAL, CDCAIXA, NRSEQVENDA, NRSEQITVENDC, QTPRODVENDC, VRUNITVENDC, VRUNITVENCLC, "
    "CDPRODUTO, VRDESITVENDC, CDORDALIQIMPRIC, VRALIQIMPRIC, CDGRUPPROD, CDSUBGRPROD, CDFISUBGRVNC, CDSUPERVISOR, "
    "CDOPERCANC) VALUES (:P_CDFILIAL, :P_CDCAIXA, :P_NRSEQVENDA, :P_NRSEQITVENDC, :P_QTPRODVENDC, :P_VRUNITVENDC, "
    ":P_VRUNITVENCLC, :P_CDPRODUTO, :P_VRDESITVENDC, :P_CDORDALIQIMPRIC, :P_VRALIQIMPRIC, :P_CDGRUPPROD, "
    ":P_CDSUBGRPROD, :P_CDFISUBGRVNC, :P_CDSUPERVISOR, :P_CDOPERCANC)"};

const Statement acmCriaItemVenda{
    "acmCriaItemVenda",
    "INSERT INTO ITEMVENDA (CDFILIAL, CDLOJA, CDCAIXA, NRSEQVENDA, NRSEQUITVEND, QTPRODVEND, VRUNITVEND, "
    "VRUNITVENDCL, CDPRODUTO, CDPRODPROMOCAO, VRDESITVEND, VRACRITVEND, CDORDALIQIMPR, VRALIQIMPR, CDGRUPPROD, "
    "CDSUBGRPROD, CDFISUBGRMRX) VALUES (:P_CDFILIAL, :P_CDLOJA, :P_CDCAIXA, :P_NRSEQVENDA, :P_NRSEQUITVEND, "
    ":P_QTPRODVEND, :P_VRUNITVEND, :P_VRUNITVENDCL, :P_CDPRODUTO, :P_CDPRODPROMOCAO, :P_VRDESITVEND, "
    ":P_VRACRITVEND, :P_CDORDALIQIMPR, :P_VRALIQIMPR, :P_CDGRUPPROD, :P_CDSUBGRPROD, :P_CDFISUBGRMRX)"};

const Statement adqItensVendaTotal{
    "adqItensVendaTotal",
    "SELECT QTPRODVEND, VRUNITVEND, VRUNITVENDCL, VRACRITVEND, VRDESITVEND FROM ITEMVENDA "
    "WHERE CDFILIAL = :P_CDFILIAL AND CDCAIXA = :P_CDCAIXA AND NRSEQVENDA = :P_NRSEQVENDA",
    {},
    {{"QTPRODVEND", base::FieldType::Float},
     {"VRUNITVEND", base::FieldType::Float},
     {"VRUNITVENDCL", base::FieldType::Float},
     {"VRACRITVEND", base::FieldType::Float},
     {"VRDESITVEND", base::FieldType::Float}}};
const Statement adqItensCancTotal{
    "adqItensCancTotal",
    "SELECT QTPRODVENDC, VRUNITVENDC, VRUNITVENCLC, VRDESITVENDC FROM ITVENDACAN "
    "WHERE CDFILIAL = :P_CDFILIAL AND CDCAIXA = :P_CDCAIXA AND NRSEQVENDA = :P_NRSEQVENDA",
    {},
    {{"QTPRODVENDC", base::FieldType::Float},
     {"VRUNITVENDC", base::FieldType::Float},
     {"VRUNITVENCLC", base::FieldType::Float},
     {"VRDESITVENDC", base::FieldType::Float}}};

const Statement acmUpdVrTotVenda{"acmUpdVrTotVenda",
                                 "UPDATE VENDA SET VRTOTVENDA = :P_VRTOTVENDA WHERE CDFILIAL = :P_CDFILIAL "
                                 "AND CDCAIXA = :P_CDCAIXA AND NRSEQVENDA = :P_NRSEQVENDA"};

// One row of a packet the screen built: texts trimmed, empty values as Null, amounts as
// numbers (an empty amount counts as 0; one that is no number stops the record).
class PacketRow {
 public:
  PacketRow(const DataPacket& packet, const std::vector<Variant>& row, const char* what)
      : packet_(packet), row_(row), what_(what) {}

  std::string Text(const std::string& column) const { return base::ColumnTrimmed(packet_, row_, column); }
  Variant TextOrNull(const std::string& column) const {
    const std::string t = Text(column);
    return t.empty() ? Variant::Null() : Variant(t);
  }
  double Amount(const std::string& column) const {
    const int i = packet_.FieldIndex(column);
    if (i < 0) return 0;
    const Variant& v = row_[static_cast<size_t>(i)];
    if (v.IsEmptyOrNull() || (v.IsString() && base::Trim(v.AsString()).empty())) return 0;
    try {
      const double d = v.AsFloat();
      if (!std::isfinite(d)) throw std::runtime_error("");
      return d;
    } catch (const std::exception&) {
      throw DatabaseError(std::string(what_) + ": " + column + " \"" + base::Excerpt(v.AsString()) +
                          "\" is not an amount");
    }
  }

 private:
  const DataPacket& packet_;
  const std::vector<Variant>& row_;
  const char* what_;
};

DataPacket PacketArgument(const Variant& v, const char* what) {
  if (v.IsPacket()) return v.AsPacket();
  if (v.IsEmptyOrNull()) return {};
  throw DatabaseError(std::string(what) + " is not a data packet");
}

// The item number after `n`, three digits wide as every sale's items are numbered.
std::string ItemNumber(int n) { return runtime::AjustaZero(std::to_string(n), 3); }

struct ProductGroup {
  Variant group = Variant::Null(), subgroup = Variant::Null(), fiscal_subgroup = Variant::Null();
};

// Cut toward zero to the cent, as the cancelled-sale record cuts every amount.
int64_t TruncCents(double amount) { return ToCents(runtime::Trunc2(amount)); }

// Writes the sale's total (the sold items and the cancelled ones) to VENDA and returns it.
double StoreSaleTotal(StoreConnection& c, const std::string& cdfilial, const std::string& cdcaixa,
                      const std::string& nrseqvenda) {
  const Params keys = {{"P_CDFILIAL", cdfilial}, {"P_CDCAIXA", cdcaixa}, {"P_NRSEQVENDA", nrseqvenda}};
  auto number = [](const DataPacket& p, const std::vector<Variant>& row, const char* column) {
    const Variant& v = row[static_cast<size_t>(p.FieldIndex(column))];
    return v.IsEmptyOrNull() ? 0.0 : v.AsFloat();
  };
  // Each line: quantity times (price plus the unit surcharge), cut to the cent, then the
  // line's surcharge and discount. Amounts in cents, so the sum never drifts.
  int64_t sold = 0;
  const DataPacket items = c.Query(adqItensVendaTotal, keys);
  for (const auto& row : items.rows)
    sold += TruncCents(number(items, row, "QTPRODVEND") *
                       (number(items, row, "VRUNITVEND") + number(items, row, "VRUNITVENDCL"))) +
            ToCents(number(items, row, "VRACRITVEND")) - ToCents(number(items, row, "VRDESITVEND"));
  int64_t cancelled = 0;
  const DataPacket gone = c.Query(adqItensCancTotal, keys);
  for (const auto& row : gone.rows)
    cancelled += TruncCents(number(gone, row, "QTPRODVENDC") *
                            (number(gone, row, "VRUNITVENDC") + number(gone, row, "VRUNITVENCLC"))) -
                 ToCents(number(gone, row, "VRDESITVENDC"));
  const double total = FromCents(sold + cancelled);
  Params update = keys;
  update.emplace_back("P_VRTOTVENDA", total);
  c.Execute(acmUpdVrTotVenda, update);
  return total;
}

}  // namespace

Variant TrdmRecebimento::setCancelaVendas(const Variant& itens_venda, const Variant& itens_cancelados,
                                          const std::string& cdcaixa, const base::DateTime& dtabercaix,
                                          const std::string& cdempresa, const std::string& nrcupomfis,
                                          const std::string& nrcontcupom, const std::string& nrmesa,
                                          const std::string& nrvendaext, int idtipoimpfis,
                                          const std::string& nrserieimp) {
  try {
    const DataPacket items = PacketArgument(itens_venda, "the sale's items");
    const DataPacket cancelled = PacketArgument(itens_cancelados, "the cancelled items");
    // Nothing was sold: nothing is written and no number is taken.
    if (items.rows.empty()) return Variant(std::string());
    const PacketRow first(items, items.rows.front(), "the sale's items");
    const std::string cdfilial = first.Text("CDFILIAL");
    if (base::Trim(cdfilial).empty() || base::Trim(cdcaixa).empty())
      return Variant("Venda cancelada não gravada: a filial e o caixa não foram informados.");

    StoreConnection& c = adcRecebimento();
    return Variant(InOwnTransaction(c, [&] {
      // The number is recorded as reserved and marked used in this same transaction: the
      // record and its number stand or fall together.
      TdtmZemProxCodigo generator(c);
      const std::string counter = SaleCounterKey(cdfilial, cdcaixa);
      std::string numero;
      do {
        numero = generator.PrxPedidoVenda(cdfilial, cdcaixa, "SRV");
      } while (!RecordReservation(c, counter, numero, cdfilial, cdcaixa, Now()));

      const DataPacket branch = c.Query(adqParaVend, {{"P_CDFILIAL", cdfilial}});
      const std::string pos_group = base::Trim(FirstValue(branch, "CDGRPRODPDV").AsString());
      const Variant shift =
          FirstValue(c.Query(adqOperAber, {{"P_CDFILIAL", cdfilial}, {"P_CDCAIXA", cdcaixa}}), "DTABERCAIX");
      auto group_of = [&](const std::string& product) {
        ProductGroup g;
        if (pos_group.empty()) return g;
        const Params keys = {{"P_CDFILIAL", cdfilial}, {"P_CDGRPRODPDV", pos_group}, {"P_CDPRODUTO", product}};
        DataPacket found = c.Query(adqGrupoProdFilial, keys);
        if (found.rows.empty()) found = c.Query(adqGrupoProd, keys);
        if (found.rows.empty()) return g;
        g.group = FirstValue(found, "CDGRUPPROD");
        g.subgroup = FirstValue(found, "CDSUBGRPROD");
        g.fiscal_subgroup = FirstValue(found, "CDFISUBGRMRX");
        return g;
      };
      const Params sale_keys = {{"P_CDFILIAL", cdfilial}, {"P_CDCAIXA", cdcaixa}, {"P_NRSEQVENDA", numero}};
      auto with_keys = [&](Params p) {
        p.insert(p.begin(), sale_keys.begin(), sale_keys.end());
        return p;
      };

      // The tab's adjustments, from the sale's last line, netted.
      const PacketRow last(items, items.rows.back(), "the sale's items");
      int64_t discount = TruncCents(last.Amount("VRDESCOMANDA"));
      int64_t surcharge = TruncCents(last.Amount("VRTXSERVICO")) + TruncCents(last.Amount("VRACRCOMANDA"));
      if (discount >= surcharge) {
        discount -= surcharge;
        surcharge = 0;
      } else {
        surcharge -= discount;
        discount = 0;
      }

      const base::DateTime now = Now();
      c.Execute(acmCriaVenda, with_keys({{"P_NRSEQVENDAMSDE", first.TextOrNull("NRSEQVENDAMSDE")},
                                         {"P_CDCLIENTE", FirstValue(branch, "CDCLIENTE")},
                                         {"P_CDCCUSCLIE", FirstValue(branch, "CDCCUSCLIE")},
                                         {"P_CDVENDEDOR", first.TextOrNull("CDVENDEDOR")},
                                         {"P_CDEMPRESA", cdempresa.empty() ? Variant::Null() : Variant(cdempresa)},
                                         {"P_AGORA", Variant(now)},
                                         {"P_DTENTRVENDA", Variant(dtabercaix.Date())},
                                         {"P_DTABERTUR", shift.IsNull() ? Variant(dtabercaix) : shift},
                                         {"P_NRCUPOMFIS", Variant(nrcupomfis)},
                                         {"P_CDOPERADOR", first.TextOrNull("CDOPERADOR")},
                                         {"P_CDLOJA", first.TextOrNull("CDLOJA")},
                                         {"P_NRMESA", nrmesa.empty() ? Variant::Null() : Variant(nrmesa)},
                                         {"P_NRVENDAEXT", nrvendaext.empty() ? Variant::Null() : Variant(nrvendaext)},
                                         {"P_VRTXSEVENDA", FromCents(TruncCents(last.Amount("VRTXSERVICO")))},
                                         {"P_NRCONTCUPOMFISC", Variant(nrcontcupom)},
                                         {"P_NRSERIEIMPMRX", Variant(nrserieimp)}}));

      int item = 1;
      for (const auto& row : cancelled.rows) {
        const PacketRow r(cancelled, row, "the cancelled items");
        const ProductGroup g = group_of(r.Text("CDPRODUTO"));
        c.Execute(acmItemCancelado, with_keys({{"P_NRSEQITVENDC", ItemNumber(item++)},
                                               {"P_QTPRODVENDC", r.Amount("QTPRODCOMVEN")},
                                               {"P_VRUNITVENDC", r.Amount("VRPRECCOMVEN")},
                                               {"P_VRUNITVENCLC", r.Amount("VRUNITVENCLC")},
                                               {"P_CDPRODUTO", r.TextOrNull("CDPRODUTO")},
                                               {"P_VRDESITVENDC", r.Amount("VRDESCCOMVEN")},
                                               {"P_CDORDALIQIMPRIC", r.TextOrNull("CDORDALIQIMPRIC")},
                                               {"P_VRALIQIMPRIC", runtime::Trunc2(r.Amount("VRALIQIMPRIC"))},
                                               {"P_CDGRUPPROD", g.group},
                                               {"P_CDSUBGRPROD", g.subgroup},
                                               {"P_CDFISUBGRVNC", g.fiscal_subgroup},
                                               {"P_CDSUPERVISOR", r.TextOrNull("CDSUPERVISOR")},
                                               {"P_CDOPERCANC", r.TextOrNull("CDOPERCANC")}}));
      }

      // Each item takes its share of the net adjustment by its part of the sale. Shares
      // are cut to the cent; what the cuts leave goes to the last item that takes a share,
      // so the items carry the whole adjustment.
      double total = 0;
      for (const auto& row : items.rows) {
        const PacketRow r(items, row, "the sale's items");
        total += r.Amount("QTPRODCOMVEN") * r.Amount("VRPRECCOMVEN");
      }
      const bool shares = runtime::RoundCents(total) > 0;
      const bool item_surcharge = idtipoimpfis != 16 && idtipoimpfis != 30;
      struct Line {
        int64_t discount = 0, surcharge = 0;
      };
      std::vector<Line> lines(items.rows.size());
      int64_t given_discount = 0, given_surcharge = 0;
      std::optional<size_t> last_share;
      for (size_t i = 0; i < items.rows.size() && shares; ++i) {
        const PacketRow r(items, items.rows[i], "the sale's items");
        const double gross =
            FromCents(TruncCents(r.Amount("VRPRECCOMVEN") * r.Amount("QTPRODCOMVEN"))) - r.Amount("VRDESCCOMVEN");
        lines[i].discount = TruncCents(gross * FromCents(discount) / total);
        lines[i].surcharge = TruncCents(gross * FromCents(surcharge) / total);
        given_discount += lines[i].discount;
        given_surcharge += lines[i].surcharge;
        if (gross > 0) last_share = i;
      }
      if (last_share) {
        lines[*last_share].discount += discount - given_discount;
        lines[*last_share].surcharge += surcharge - given_surcharge;
      }

      item = 1;
      for (size_t i = 0; i < items.rows.size(); ++i) {
        const PacketRow r(items, items.rows[i], "the sale's items");
        const ProductGroup g = group_of(r.Text("CDPRODUTO"));
        c.Execute(acmCriaItemVenda,
                  with_keys({{"P_CDLOJA", r.TextOrNull("CDLOJAIT")},
                             {"P_NRSEQUITVEND", ItemNumber(item++)},
                             {"P_QTPRODVEND", r.Amount("QTPRODCOMVEN")},
                             {"P_VRUNITVEND", r.Amount("VRPRECCOMVEN")},
                             {"P_VRUNITVENDCL", r.Amount("VRUNITVENDCL")},
                             {"P_CDPRODUTO", r.TextOrNull("CDPRODUTO")},
                             {"P_CDPRODPROMOCAO", r.TextOrNull("CDPRODPROMOCAO")},
                             {"P_VRDESITVEND", FromCents(ToCents(r.Amount("VRDESCCOMVEN")) + lines[i].discount)},
                             {"P_VRACRITVEND", item_surcharge ? FromCents(lines[i].surcharge) : 0.0},
                             {"P_CDORDALIQIMPR", r.TextOrNull("CDORDALIQIMPR")},
                             {"P_VRALIQIMPR", runtime::Trunc2(r.Amount("VRALIQIMPR"))},
                             {"P_CDGRUPPROD", g.group},
                             {"P_CDSUBGRPROD", g.subgroup},
                             {"P_CDFISUBGRMRX", g.fiscal_subgroup}}));
      }

      StoreSaleTotal(c, cdfilial, cdcaixa, numero);
      // The cancelled sale is recorded: its number is used.
      MarkReservationUsed(c, cdfilial, cdcaixa, numero, now);
      return numero;
    }));
  } catch (const std::exception& e) {
    return Variant(ErrorText(e));
  }
}

Variant TrdmRecebimento::CalcVrTotVenda(const std::string& cdfilial, const std::string& cdcaixa,
                                        const std::string& nrseqvenda) {
  try {
    return Variant(InOwnTransaction(adcRecebimento(),
                                    [&] { return StoreSaleTotal(adcRecebimento(), cdfilial, cdcaixa, nrseqvenda); }));
  } catch (const std::exception& e) {
    return Variant(ErrorText(e));
  }
}

}  // namespace recebimento::datamodule
