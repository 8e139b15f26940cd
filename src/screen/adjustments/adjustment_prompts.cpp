// What the discount, surcharge and service fee share: the supervisor's authorisation, the
// host's value-or-percentage dialog, and how an adjustment in force is shown.
#include <cmath>
#include <string>

#include "base/dataset_columns.h"
#include "base/text.h"
#include "host/runtime/format.h"
#include "host/runtime/messages.h"
#include "host/runtime/numbers.h"
#include "host/runtime/strings.h"
#include "screen/adjustments/adjustments.h"
#include "screen/frame/message_table.h"
#include "screen/frame/screen_parts.h"
#include "screen/payment/payment_lines.h"

namespace recebimento::screen {

using base::Variant;
using runtime::FormatFloat;
using runtime::Trunc2;

namespace {

// A discount or surcharge line: the label and its percentage in the name column, the
// signed amount right-aligned in the value column.
std::string AdjustmentLine(const std::string& label, double percent, const char* sign, double amount) {
  return runtime::AjustaL(label + " " + FormatFloat("0.00", percent) + "% ", 20) + " " +
         runtime::AjustaR(sign + FormatFloat("0.00", amount), 14);
}

// The label and the amount at the right edge of a display `width` characters wide; a
// label too long for it keeps a blank before the amount.
std::string AdjustedDisplayLine(const std::string& label, double amount, int width) {
  const std::string text = FormatFloat("0.00", amount);
  const int room = width - static_cast<int>(base::Utf8Length(text));
  if (room <= static_cast<int>(base::Utf8Length(label))) return label + " " + text;
  return runtime::AjustaL(label, room) + text;
}

}  // namespace

bool Adjustments::AuthorizeAdjustment(int access_code) {
  std::string supervisor;
  if (!s_.ctx.host.access->VerificaAcesso(access_code, s_.sale.stCdOperador, supervisor)) return false;
  s_.sale.stCdSupervisor = supervisor;
  return true;
}

bool Adjustments::AskAdjustment(const std::string& title, double total, std::string& kind, double& value) {
  kind.clear();
  value = 0;
  Variant answer;
  if (!s_.ctx.host.dialogs->CriaDesconto({Variant(title), Variant(total)}, answer)) return false;
  if (!answer.IsPacket()) {
    s_.ShowMessage("O diálogo de desconto não devolveu um valor.", runtime::kMsgBlocked);
    return false;
  }
  base::Dataset read("cdsDescontoHost");
  read.SetData(answer);
  if (!read.Active()) read.Open();
  if (read.IsEmpty()) return false;
  read.First();
  if (read.FieldIndex("TIPO") >= 0 && read.FieldIndex("VALOR") >= 0) {
    kind = base::ColumnTrimmed(read, "TIPO");
    value = base::ColumnNumber(read, "VALOR");
  } else {
    // Dialogs that answer the amount and the percentage in columns of their own: a
    // percentage typed wins, as the operator chose it over the amount.
    const double percent = base::ColumnNumber(read, "PCDESCONTO");
    kind = percent > 0 ? "P" : "V";
    value = percent > 0 ? percent : base::ColumnNumber(read, "VRDESCONTO");
  }
  if (kind != "P") kind = "V";
  if (!std::isfinite(value)) value = 0;

  cdsDesconto.Close();
  cdsDesconto.SetFields({{"TIPO", base::FieldType::String, 1}, {"VALOR", base::FieldType::Float, 0}});
  cdsDesconto.CreateDataSet();
  cdsDesconto.AppendRecord({Variant(kind), Variant(value)});
  return true;
}

void Adjustments::ShowAdjustmentsList() {
  const SaleState& sale = s_.sale;
  PaymentLines& payments = s_.parts.payments;
  Control& list = s_.controls.Require("memLista");
  list.lines = s_.controls.Require("memListaAux").lines;
  const bool discount = sale.doVrDesconto > 0, surcharge = sale.doVrAcrescimo > 0;
  if (discount)
    payments.Linha(list, AdjustmentLine(Msg("Desconto"), sale.doPercDesconto, "-", sale.doVrDesconto), false);
  if (surcharge)
    payments.Linha(list, AdjustmentLine(Msg("Acrescimo"), sale.doPercAcrescimo, "+", sale.doVrAcrescimo), false);
  if (discount || surcharge)
    payments.Linha(list, PaymentListLine(Msg("Subtotal"), Trunc2(sale.doVrTotal - sale.doVrDesconto)), false);
}

void Adjustments::ShowAdjustedAmount(const std::string& display_label, double amount) {
  SaleState& sale = s_.sale;
  s_.controls.Require("lblValorPagar").caption = FormatFloat("0.00", sale.doVrAPagar);
  // The client of the sale is shown again with the new amounts (not on badge screens).
  if (sale.stTipoTela != "S" && sale.stTipoTela != "A" && sale.HasItems()) {
    const std::string client = sale.ItemText("CDCLIENTE");
    if (!client.empty() && sale.cdsCliente.Active() && sale.cdsCliente.Locate("CDCLIENTE", Variant(client))) {
      s_.controls.Require("lblCPFCliente").caption = base::ColumnText(sale.cdsCliente, "NRINSJURCLIE");
      s_.controls.Require("lblNomeCliente").caption = base::ColumnText(sale.cdsCliente, "NMRAZSOCCLIE");
    }
  }
  if (!s_.par.boDisplayOK) return;
  pos::CustomerDisplay& display = *s_.ctx.host.display;
  display.LimpaDisplay();
  display.DisplayEnviaTexto(AdjustedDisplayLine("A PAGAR:", sale.doVrAPagar, s_.par.inTAMDISPLAY), 1, 1);
  display.DisplayEnviaTexto(AdjustedDisplayLine(display_label, amount, s_.par.inTAMDISPLAY), 2, 1);
}

}  // namespace recebimento::screen
