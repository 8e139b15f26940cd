// The payments already present when the screen opens (mobile and delivery orders, change
// lines) listed on the screen, and the list lines themselves.
#include <string>

#include "base/text.h"
#include "host/runtime/format.h"
#include "host/runtime/strings.h"
#include "screen/frm_recebimento.h"
#include "screen/message_table.h"

namespace recebimento::screen {

namespace {

constexpr size_t kLarguraLinha = 35;

std::string Texto(base::Dataset& ds, const char* column) {
  return ds.FieldIndex(column) >= 0 ? ds.FieldByName(column).AsString() : "";
}

double Valor(base::Dataset& ds, const char* column) {
  return ds.FieldIndex(column) >= 0 ? ds.FieldByName(column).AsFloat() : 0;
}

// A tender name in its 20-character column, a blank and the amount right-aligned in 14.
std::string LinhaValor(const std::string& nome, double valor) {
  return runtime::AjustaL(nome, 20) + " " + runtime::AjustaR(runtime::FormatFloat("0.00", valor), 14);
}

// The columns of a payment line, for a host that passes a dataset without fields.
std::vector<base::FieldDef> CamposMoviVenda() {
  using base::FieldType;
  std::vector<base::FieldDef> f;
  for (const auto& [name, size] : std::vector<std::pair<const char*, int>>{
           {"CDFILIAL", 4},       {"IDTIPOMOVIVE", 1},   {"CDTIPORECE", 3},    {"NMTIPORECE", 40},
           {"IDTIPORECE", 1},     {"CDTIPOTROCO", 3},    {"NRORDTROCO", 3},    {"CDCLIENTE", 21},
           {"CDCONSUMIDOR", 21},  {"CDCCUSCLIE", 10},    {"NMCONSUMIDOR", 60}, {"CDIDCONSUMID", 25},
           {"DSIMPFISCAL", 50},   {"CDFPIMPFIS", 10},    {"NRCARTBANCO", 30},  {"CDNSUHOSTTEF", 20},
           {"CDNSUTEF", 20},      {"NRCONTROLTEF", 20},  {"NMBANDTEF", 40},    {"NRAUTORIZATEF", 20},
           {"DSCARTDIGITAL", 40}, {"DSMOVIVEND", 60},    {"CDBANCARTCR", 10},  {"CDTIPORECEORIG", 3},
           {"NMTIPORECEORIG", 40}, {"IDTRANSAME", 60},   {"IDTRANSAMECAPT", 60}, {"CDINSTCAR", 20},
           {"DSOPEEXTCONS", 100}, {"IDTIPORESGATE", 1}})
    f.push_back({name, FieldType::String, size});
  f.push_back({"VRMOVIVEND", FieldType::Float, 0});
  f.push_back({"VRMOVIVEOUT", FieldType::Float, 0});
  f.push_back({"VRCOTINDOUT", FieldType::Float, 0});
  f.push_back({"QTPARCRECEB", FieldType::Integer, 0});
  f.push_back({"DTHRINCMOV", FieldType::DateTime, 0});
  f.push_back({"DTMOVIMCAIXA", FieldType::DateTime, 0});
  return f;
}

}  // namespace

void TfrmRecebimento::Linha(Control& memo, const std::string& text, bool aux) {
  const std::string linha = base::Utf8Left(text, kLarguraLinha);
  memo.lines.push_back(linha);
  if (aux) Ctl("memListaAux").lines.push_back(linha);
}

void TfrmRecebimento::RecriaMoviVenda() {
  if (!cdsMoviVenda) return;
  base::Dataset& ds = *cdsMoviVenda;
  if (ds.Active()) ds.Close();
  if (ds.Fields().empty()) ds.SetFields(CamposMoviVenda());
  ds.CreateDataSet();
}

void TfrmRecebimento::MontaListaPagamentos() {
  if (!cdsMoviVenda || !cdsMoviVenda->Active()) {
    RecriaMoviVenda();
    return;
  }
  base::Dataset& ds = *cdsMoviVenda;
  Control& lista = Ctl("memLista");
  Control& delivery_lista = Ctl("memDelivery");
  lista.lines.clear();
  ds.First();
  const bool delivery = stModoVenda == "DLV";
  delivery_lista.visible = delivery && !ds.IsEmpty();
  Ctl("panLista").height = delivery_lista.visible ? 180 : 252;

  std::string ultimo_nsu;
  while (!ds.Eof()) {
    const double valor = Valor(ds, "VRMOVIVEND");
    if (valor == 0) {
      ds.Delete();  // the cursor moves on to the next row
      continue;
    }
    const bool troco = Texto(ds, "IDTIPOMOVIVE") == "S";
    const std::string descricao = Texto(ds, "DSMOVIVEND");
    const std::string tipo = Texto(ds, "NMTIPORECE");
    if (!delivery) {
      if (descricao == "PAGAMENTO MOBILE") boPagouMobile = true;
      if (troco) {
        Linha(lista, "", true);
        Linha(lista, LinhaValor(Msg("TROCO") + ": ", valor), true);
      } else {
        Linha(lista, LinhaValor(tipo, valor), true);
      }
    } else {
      if (descricao == "PAGAMENTO DELIVERY") boPagouDelivery = true;
      if (troco) {
        Linha(delivery_lista, LinhaValor(Msg("TROCO") + "-->>" + tipo, valor), false);
        Linha(delivery_lista, LinhaValor(Msg("TROCOPARA"), valor), false);
      } else {
        Linha(lista, LinhaValor(tipo, valor), false);
        Linha(delivery_lista, LinhaValor(tipo, valor), false);
      }
    }
    ultimo_nsu = Texto(ds, "CDNSUHOSTTEF");
    ds.Next();
  }
  // A delivery not yet paid: its lines only say what the courier collects; the screen
  // records the real payments.
  if (delivery && !boPagouDelivery) {
    stCdNsuHostTef = ultimo_nsu;
    RecriaMoviVenda();
  }
}

}  // namespace recebimento::screen
