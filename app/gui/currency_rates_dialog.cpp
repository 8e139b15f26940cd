#include "currency_rates_dialog.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

#include "dialog_kit.h"

namespace recebimento::gui {

using base::DataPacket;
using base::FieldType;
using base::Variant;

std::optional<double> ParseRate(const QString& raw) {
  static const QRegularExpression shape(QStringLiteral("^\\d{1,9}(,\\d{1,6})?$"));
  const QString text = raw.trimmed();
  if (!shape.match(text).hasMatch()) return std::nullopt;
  QString c = text;
  c.replace(QLatin1Char(','), QLatin1Char('.'));
  bool ok = false;
  const double v = c.toDouble(&ok);  // QString::toDouble reads the C locale
  if (!ok || v <= 0) return std::nullopt;
  return v;
}

DataPacket RatesToAsk(const DataPacket* known) {
  DataPacket p;
  p.fields = {{"CDINDICE", FieldType::String, 4},
              {"NMTIPORECE", FieldType::String, 40},
              {"VRCOTACAO", FieldType::Float, 0},
              {"DTCOTACAO", FieldType::DateTime, 0}};
  if (known && known->FieldIndex("CDINDICE") >= 0 && !known->rows.empty()) {
    const int code = known->FieldIndex("CDINDICE"), name = known->FieldIndex("NMTIPORECE"),
              rate = known->FieldIndex("VRCOTACAO");
    for (const auto& row : known->rows)
      p.rows.push_back({row[code], name >= 0 ? row[name] : Variant(std::string()), rate >= 0 ? row[rate] : Variant(0.0),
                        Variant::Null()});
    return p;
  }
  p.rows.push_back({Variant("USD"), Variant("DOLAR"), Variant(0.0), Variant::Null()});
  p.rows.push_back({Variant("EUR"), Variant("EURO"), Variant(0.0), Variant::Null()});
  p.rows.push_back({Variant("ARS"), Variant("PESO ARGENTINO"), Variant(0.0), Variant::Null()});
  return p;
}

std::optional<DataPacket> AskCurrencyRates(const DataPacket& to_ask, base::DateTime today, QWidget* parent) {
  TouchDialog dialog(QStringLiteral("Cotação das moedas de hoje"), parent);
  dialog.setObjectName(QStringLiteral("dlgOutrasMoedas"));
  auto* grid = new QGridLayout();
  const int name_at = to_ask.FieldIndex("NMTIPORECE"), code_at = to_ask.FieldIndex("CDINDICE"),
            rate_at = to_ask.FieldIndex("VRCOTACAO");
  std::vector<QLineEdit*> edits;
  for (size_t i = 0; i < to_ask.rows.size(); ++i) {
    const auto& row = to_ask.rows[i];
    const QString caption =
        Q(row[code_at].AsString()) +
        (name_at >= 0 && !row[name_at].AsString().empty() ? " - " + Q(row[name_at].AsString()) : "");
    grid->addWidget(new QLabel(caption, &dialog), static_cast<int>(i), 0);
    auto* edit = new QLineEdit(&dialog);
    edit->setObjectName(QStringLiteral("edtCotacao") + Q(row[code_at].AsString()).trimmed());
    edit->setAlignment(Qt::AlignRight);
    edit->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("^[0-9]{0,9}(,[0-9]{0,6})?$")), edit));
    const double proposed = rate_at >= 0 && !row[rate_at].IsNull() ? row[rate_at].AsFloat() : 0.0;
    if (proposed > 0) edit->setText(QString::number(proposed, 'f', 4).replace(QLatin1Char('.'), QLatin1Char(',')));
    grid->addWidget(edit, static_cast<int>(i), 1);
    edits.push_back(edit);
  }
  dialog.Body()->addLayout(grid);
  auto* pad = new NumericPad(edits.empty() ? nullptr : edits.front(), true, &dialog);
  for (QLineEdit* e : edits)
    QObject::connect(e, &QLineEdit::cursorPositionChanged, pad, [pad, e] { pad->SetTarget(e); });
  dialog.Body()->addWidget(pad, 0, Qt::AlignHCenter);
  dialog.AddAnswer(QStringLiteral("Cancelar"), QStringLiteral("btnCancelar"), QDialog::Rejected);
  QPushButton* ok = dialog.AddAnswer(QStringLiteral("Confirmar"), QStringLiteral("btnOk"), -1, true);
  QObject::disconnect(ok, &QPushButton::clicked, nullptr, nullptr);
  std::optional<DataPacket> answer;
  QObject::connect(ok, &QPushButton::clicked, &dialog, [&] {
    DataPacket out = to_ask;
    const int date_at = out.FieldIndex("DTCOTACAO");
    for (size_t i = 0; i < edits.size(); ++i) {
      const std::optional<double> rate = ParseRate(edits[i]->text());
      if (!rate) {
        dialog.ShowError(QStringLiteral("Digite a cotação de %1 (maior que zero, até seis casas decimais).")
                             .arg(Q(out.rows[i][code_at].AsString()).trimmed()));
        edits[i]->setFocus();
        return;
      }
      out.rows[i][rate_at] = Variant(*rate);
      if (date_at >= 0) out.rows[i][date_at] = Variant(today.Date());
    }
    answer = std::move(out);
    dialog.accept();
  });
  if (!edits.empty()) edits.front()->setFocus();
  if (dialog.Run() != QDialog::Accepted) return std::nullopt;
  return answer;
}

}  // namespace recebimento::gui
