// The host's reference files and datasets the screen copies at the start of a sale: the
// consumer's photograph, the fiscal identification, the operator, the tenders, the
// product-service limits, the tax rates and the client.
#include <filesystem>
#include <string>

#include "base/path.h"
#include "datamodule/connection_config.h"
#include "host/runtime/cipher.h"
#include "screen/frm_recebimento.h"

namespace recebimento::screen {

namespace {

namespace fs = std::filesystem;

// Key of the cipher the identification file's digest is stored with.
constexpr int kChaveIdentificacao = 7;

// The DSDIRCAD text is a prefix the host writes with its own separators ("C:\Zem\");
// under the host folder it becomes a folder of its own.
std::string Arquivo(const std::string& prefixo, const std::string& resto) {
  return base::JoinSpecPath(datamodule::HostFolder(), prefixo + resto);
}

bool ExisteArquivo(const std::string& path) {
  std::error_code ec;
  return fs::is_regular_file(path, ec);
}

bool ExistePasta(const std::string& path) {
  std::error_code ec;
  return fs::is_directory(path, ec);
}

// Loads a reference file into `ds` when `ds` is empty and the file exists.
void CarregaSeVazio(base::Dataset& ds, const std::string& path) {
  if (ds.Active() && !ds.IsEmpty()) return;
  if (!ExisteArquivo(path)) return;
  ds.LoadFromFile(path);
  if (!ds.Active()) ds.Open();
}

void CopiaPacote(base::Dataset& destino, base::Dataset* origem) {
  if (!origem || origem->Fields().empty()) return;
  destino.SetData(origem->Data());
  if (!destino.Active() && !destino.Fields().empty()) destino.Open();
}

}  // namespace

void TfrmRecebimento::CarregaArquivosReferencia(const InicializaFormArgs& a) {
  // Consumer photograph, else the configured logo. A consumer code that would leave the
  // photograph folder shows no photograph.
  const std::string pasta_fotos = Arquivo(stDSDIRCAD, "Dados\\Consumidor");
  if (ExistePasta(pasta_fotos)) {
    std::string foto;
    if (base::IsPlainFileName(stCdConsumidorFoto + ".jpg")) foto = base::SafeChild(pasta_fotos, stCdConsumidorFoto + ".jpg");
    if (!foto.empty() && ExisteArquivo(foto)) {
      Control& img = Ctl("imgFotoConsumidor");
      img.glyph = foto;
      img.stretch = true;
      img.visible = true;
    }
  } else if (!stDSLOGOTELA.empty()) {
    const std::string logo = Arquivo("", stDSLOGOTELA);
    if (ExisteArquivo(logo)) {
      Ctl("imgLogoPadrao").glyph = logo;
      Ctl("imgFotoConsumidor").glyph = logo;
      Ctl("imgFotoConsumidor").visible = true;
    }
  }

  // Fiscal identification: the stored digest is enciphered and only shown.
  if (!cdsIdentPaf.Active() || cdsIdentPaf.IsEmpty()) {
    CarregaSeVazio(cdsIdentPaf, Arquivo(stDSDIRCAD, "Brisova.cds"));
    if (cdsIdentPaf.Active() && cdsIdentPaf.FieldIndex("MD5ARQUIVOTXT") >= 0) {
      cdsIdentPaf.First();
      stMD5Ident = "MD-5:" + runtime::Uncripto(cdsIdentPaf.FieldByName("MD5ARQUIVOTXT").AsString(), kChaveIdentificacao);
    }
  }

  // The operator at the cash register.
  CarregaSeVazio(cdsControleAcess, Arquivo("", "\\Dados\\Cadastros\\ControleAcess.cds"));
  if (cdsControleAcess.Active() && !cdsControleAcess.IsEmpty()) {
    cdsControleAcess.First();
    stCdOperador = cdsControleAcess.FieldByName("CDOPERADOR").AsString();
    stNmOperador = cdsControleAcess.FieldByName("NMOPERADOR").AsString();
  }

  // Tenders: the grid's copy only once, the change copy always.
  if (!cdsReceb.Active() || cdsReceb.IsEmpty()) CopiaPacote(cdsReceb, a.cdsRecebHost);
  CopiaPacote(cdsTroco, a.cdsRecebHost);

  CarregaSeVazio(cdsProdServTCon, Arquivo(stDSDIRCAD, "\\Dados\\Cadastros\\ProdServtCon.cds"));
  CarregaSeVazio(cdsProdServ, Arquivo(stDSDIRCAD, "\\Dados\\Cadastros\\ProdrServ.cds"));

  // Installments start empty; a sale without payments gets an empty payment dataset.
  cdsParcelas.Close();
  cdsParcelas.SetFields({{"VALOR", base::FieldType::Float, 0}, {"COD", base::FieldType::Integer, 0}});
  cdsParcelas.CreateDataSet();
  if (cdsMoviVenda && !cdsMoviVenda->Active()) RecriaMoviVenda();

  CopiaPacote(cdsAliqImpFis, a.cdsAliqImpFisHost);
  if (!cdsCliente.Active() || cdsCliente.IsEmpty()) CopiaPacote(cdsCliente, a.cdsClienteHost);
}

}  // namespace recebimento::screen
