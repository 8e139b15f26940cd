#include "screen_init_fixture.h"

#include <filesystem>

#include "base/packet_file.h"
#include "datamodule/connection_config.h"
#include "datamodule/trdm_recebimento.h"
#include "screen/screen_globals.h"
#include "screen/screen_init_parameters.h"
#include "support/store_fixture.h"

namespace recebimento::testing {

ScreenInitTest::ScreenInitTest() : clock_(base::DateTime::FromYMD(2026, 12, 6, 12)), pump_(clock_) {
  datamodule::SetHostFolder(dir_.str());
  datamodule::SetStringConexZem(SqliteStoreAt(dir_ / "store.db"));
  config_.host_dir = dir_.str();
  args_.doVrPago = &pago_;
  args_.cdsClienteHost = &clients_;
  args_.cdsRecebHost = &tenders_;
  args_.stTipoTela = "N";
}

ScreenInitTest::~ScreenInitTest() {
  frm_.reset();
  delete screen::rdmRecebimento;
  screen::rdmRecebimento = nullptr;
  pos::UninstallHostServices();
  datamodule::SetStringConexZem("");
  datamodule::SetHostFolder("");
}

void ScreenInitTest::Fill(base::Dataset& ds, const std::vector<Row>& rows) {
  std::vector<base::FieldDef> fields;
  for (const Row& row : rows)
    for (const auto& [name, value] : row) {
      bool known = false;
      for (const auto& f : fields) known = known || f.name == name;
      if (!known)
        fields.push_back({name, value.IsString() ? base::FieldType::String : base::FieldType::Float,
                          value.IsString() ? 60 : 0});
    }
  ds.Close();
  ds.SetFields(fields);
  ds.CreateDataSet();
  for (const Row& row : rows) {
    ds.Append();
    for (const auto& [name, value] : row) ds.FieldByName(name).SetValue(value);
    ds.Post();
  }
  ds.First();
}

void ScreenInitTest::WriteParametros(const Row& values, const std::string& without) {
  base::Dataset ds;
  std::vector<base::FieldDef> fields;
  for (const auto& c : screen::ParametrosZemColumns())
    if (c.name != without) fields.push_back({c.name, c.type, c.type == base::FieldType::String ? 100 : 0});
  ds.SetFields(fields);
  ds.CreateDataSet();
  ds.Append();
  for (const auto& [name, value] : values) ds.FieldByName(name).SetValue(value);
  ds.Post();
  base::WritePacketFile((dir_ / "PARAMETROSZEM.CDS").string(), ds.Data());
}

screen::TfrmRecebimento& ScreenInitTest::Init() {
  sim_ = std::make_unique<pos::HostSimulator>(config_, pump_);
  pos::InstallHostServices(sim_->Services());
  frm_ = std::make_unique<screen::TfrmRecebimento>();
  frm_->cdsItensVenda = &items_;
  frm_->cdsMoviVenda = &payments_;
  frm_->InicializaForm(args_);
  return *frm_;
}

std::vector<std::string> ScreenInitTest::DialogTexts() const {
  std::vector<std::string> out;
  for (const auto& d : sim_->Record().Dialogs()) out.push_back(d.text);
  return out;
}

}  // namespace recebimento::testing
