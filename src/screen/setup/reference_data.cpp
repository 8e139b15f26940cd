// The host's reference files and datasets the screen copies at the start of a sale: the
// consumer's photograph, the fiscal identification, the operator, the tenders, the
// product-service limits, the tax rates and the client.
#include <filesystem>
#include <string>

#include "base/dataset_columns.h"
#include "base/path.h"
#include "host/runtime/cipher.h"
#include "screen/frame/screen_parts.h"
#include "screen/setup/screen_setup.h"

namespace recebimento::screen {

namespace {

namespace fs = std::filesystem;

// Key of the cipher the identification file's digest is stored with.
constexpr int kIdentificationKey = 7;

bool FileExists(const std::string& path) {
  std::error_code ec;
  return fs::is_regular_file(path, ec);
}

bool FolderExists(const std::string& path) {
  std::error_code ec;
  return fs::is_directory(path, ec);
}

// Loads a reference file into `ds` when `ds` is empty and the file exists.
void LoadWhenEmpty(base::Dataset& ds, const std::string& path) {
  if (ds.Active() && !ds.IsEmpty()) return;
  if (!FileExists(path)) return;
  ds.LoadFromFile(path);
  if (!ds.Active()) ds.Open();
}

void CopyPacket(base::Dataset& to, base::Dataset* from) {
  if (!from || from->Fields().empty()) return;
  to.SetData(from->Data());
  if (!to.Active() && !to.Fields().empty()) to.Open();
}

}  // namespace

void ScreenSetup::LoadReferenceData(const InicializaFormArgs& a) {
  SaleState& sale = s_.sale;
  const ParametrosZem& par = s_.par;
  const pos::HostPaths& paths = s_.ctx.paths;
  ControlRegistry& c = s_.controls;

  // Consumer photograph, else the configured logo. A consumer code that would leave the
  // photograph folder shows no photograph.
  const std::string photos = paths.Reference(par.stDSDIRCAD, "Dados\\Consumidor");
  if (FolderExists(photos)) {
    std::string photo;
    if (base::IsPlainFileName(sale.stCdConsumidorFoto + ".jpg"))
      photo = base::SafeChild(photos, sale.stCdConsumidorFoto + ".jpg");
    if (!photo.empty() && FileExists(photo)) {
      Control& img = c.Require("imgFotoConsumidor");
      img.glyph = photo;
      img.stretch = true;
      img.visible = true;
    }
  } else if (!par.stDSLOGOTELA.empty()) {
    const std::string logo = paths.Under(par.stDSLOGOTELA);
    if (FileExists(logo)) {
      c.Require("imgLogoPadrao").glyph = logo;
      c.Require("imgFotoConsumidor").glyph = logo;
      c.Require("imgFotoConsumidor").visible = true;
    }
  }

  // Fiscal identification: the stored digest is enciphered and only shown.
  base::Dataset& ident = sale.cdsIdentPaf;
  if (!ident.Active() || ident.IsEmpty()) {
    LoadWhenEmpty(ident, paths.Reference(par.stDSDIRCAD, "Brisova.cds"));
    if (ident.Active() && ident.FieldIndex("MD5ARQUIVOTXT") >= 0) {
      ident.First();
      sale.stMD5Ident = "MD-5:" + runtime::Uncripto(ident.FieldByName("MD5ARQUIVOTXT").AsString(), kIdentificationKey);
    }
  }

  // The operator at the cash register.
  base::Dataset& access = sale.cdsControleAcess;
  LoadWhenEmpty(access, paths.Under("\\Dados\\Cadastros\\ControleAcess.cds"));
  if (access.Active() && !access.IsEmpty()) {
    access.First();
    sale.stCdOperador = access.FieldByName("CDOPERADOR").AsString();
    sale.stNmOperador = access.FieldByName("NMOPERADOR").AsString();
  }

  // Tenders: the grid's copy only once, the change copy always.
  if (!sale.cdsReceb.Active() || sale.cdsReceb.IsEmpty()) CopyPacket(sale.cdsReceb, a.cdsRecebHost);
  CopyPacket(sale.cdsTroco, a.cdsRecebHost);

  LoadWhenEmpty(sale.cdsProdServTCon, paths.Reference(par.stDSDIRCAD, "\\Dados\\Cadastros\\ProdServtCon.cds"));
  LoadWhenEmpty(sale.cdsProdServ, paths.Reference(par.stDSDIRCAD, "\\Dados\\Cadastros\\ProdrServ.cds"));

  // Installments start empty; a sale without payments gets an empty payment dataset.
  sale.cdsParcelas.Close();
  sale.cdsParcelas.SetFields({{"VALOR", base::FieldType::Float, 0}, {"COD", base::FieldType::Integer, 0}});
  sale.cdsParcelas.CreateDataSet();
  if (sale.cdsMoviVenda && !sale.cdsMoviVenda->Active()) s_.parts.payments.ResetPaymentDataset();

  CopyPacket(sale.cdsAliqImpFis, a.cdsAliqImpFisHost);
  if (!sale.cdsCliente.Active() || sale.cdsCliente.IsEmpty()) CopyPacket(sale.cdsCliente, a.cdsClienteHost);
}

}  // namespace recebimento::screen
