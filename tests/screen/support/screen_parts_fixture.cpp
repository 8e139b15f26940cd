#include "screen/support/screen_parts_fixture.h"

#include <tuple>

#include <fmt/format.h>

#include "base/packet_file.h"
#include "screen/frame/frm_recebimento.h"
#include "support/store_fixture.h"

namespace recebimento::testing {

ScreenPartsTest::ScreenPartsTest() {
  config_.host_dir = dir_.str();
  rdm_ = std::make_unique<datamodule::TrdmRecebimento>(SqliteStoreAt(dir_ / "store.db"));
  screen::CreateScreenControls(controls_);
  BuildParts();
}

ScreenPartsTest::~ScreenPartsTest() {
  parts_.reset();
  ctx_.reset();
}

void ScreenPartsTest::BuildParts(pos::DialogAnswerSource* answers) {
  parts_.reset();
  ctx_.reset();
  sim_ = std::make_unique<pos::HostSimulator>(config_, pump_, answers);
  services_ = sim_->Services();
  services_.host_dir = dir_.str();
  // The store's "today" is the sale's day, not the day the test happens to run.
  rdm_->SetClock(&clock_);
  ctx_ = std::make_unique<screen::ScreenContext>(services_, *rdm_, pos::HostPaths(dir_.str()));
  parts_ = std::make_unique<screen::ScreenParts>(*ctx_, par_, sale_, controls_, window_);
}

void ScreenPartsTest::BindButtons() {
  for (int d = 0; d <= 9; ++d) {
    const std::string name = "sbt" + std::to_string(d);
    ctl(name).tag = '0' + d;
    controls_.Bind(name, [this, name] { parts().keyboard.PressDigit(name); });
  }
  controls_.Bind("sbt00", [this] { parts().keyboard.PressDoubleZero(); });
  controls_.Bind("sbt000", [this] { parts().keyboard.PressTripleZero(); });
  controls_.Bind("sbtVirgula", [this] { parts().keyboard.PressSeparator(); });
  controls_.Bind("sbtCorrigir", [this] { parts().keyboard.PressCorrect(); });
  controls_.Bind("sbtEnter", [this] { parts().keyboard.PressEnter(); });
  controls_.Bind("sbtVoltar", [this] { parts().keyboard.BackToGrid(); });
  controls_.Bind("spbOk", [this] { parts().confirmation.Confirm(); });
  controls_.Bind("spbSair", [this] { parts().exit.Leave(); });
  controls_.Bind("spbClear", [this] { parts().exit.Clear(); });
  controls_.Bind("spbDesconto", [this] { parts().adjustments.Discount(); });
  controls_.Bind("spbAcrescimo", [this] { parts().adjustments.Surcharge(); });
  controls_.Bind("spbTaxaServico", [this] { parts().adjustments.ServiceFee(); });
  for (int i = 1; i <= 6; ++i) {
    const std::string name = fmt::format("tcbGrupo{:02d}", i);
    controls_.Bind(name, [this, name] { parts().grid.PressGroup(name); });
  }
  for (int i = 1; i <= 30; ++i) {
    const std::string name = fmt::format("tcbBalcao{:02d}", i);
    controls_.Bind(name, [this, name] { parts().grid.PressTender(name); });
  }
  // The sale summary's own answer buttons, on its panel.
  for (const auto& [name, caption, confirmed] :
       {std::tuple{"btnConfDadosVenda", "Confirmar", true}, std::tuple{"btnCancDadosVenda", "Cancelar", false}}) {
    if (!controls_.FindComponent(name)) controls_.Add(name, "button", caption, 0, 0, 90, 50, "panDadosVenda");
    controls_.Bind(name, [this, confirmed = confirmed] { parts().confirmation.AnswerSaleSummary(confirmed); });
  }
}

screen::Control& ScreenPartsTest::ctl(const std::string& name) {
  screen::Control* c = controls_.FindComponent(name);
  if (!c) ADD_FAILURE() << "the screen has no control " << name;
  return c ? *c : controls_.Require(name);
}

void ScreenPartsTest::Fill(base::Dataset& ds, const std::vector<Row>& rows) {
  std::vector<base::FieldDef> fields;
  for (const Row& row : rows)
    for (const auto& [name, value] : row) {
      bool known = false;
      for (const auto& f : fields) known = known || f.name == name;
      if (!known)
        fields.push_back(
            {name, value.IsString() ? base::FieldType::String : base::FieldType::Float, value.IsString() ? 60 : 0});
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

void ScreenPartsTest::WriteParametros(const Row& values, const std::string& without) {
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

std::vector<std::string> ScreenPartsTest::Messages() const {
  std::vector<std::string> out;
  for (const auto& d : sim_->Record().Dialogs())
    if (d.kind == "Mensagem") out.push_back(d.text);
  return out;
}

std::vector<std::string> ScreenPartsTest::DialogTexts() const {
  std::vector<std::string> out;
  for (const auto& d : sim_->Record().Dialogs()) out.push_back(d.text);
  return out;
}

}  // namespace recebimento::testing
