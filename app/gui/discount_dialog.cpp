#include "discount_dialog.h"

#include <QButtonGroup>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

#include "dialog_kit.h"

namespace recebimento::gui {

std::variant<DiscountAnswer, QString> EvaluateDiscount(bool as_percentage, const QString& typed,
                                                       long long total_cents) {
  if (typed.trimmed().isEmpty()) return QStringLiteral("Digite o valor do desconto.");
  const std::optional<long long> hundredths = ParseCents(typed);
  if (!hundredths) return QStringLiteral("Valor inválido: use até duas casas decimais (ex.: 12,50).");
  if (*hundredths <= 0) return QStringLiteral("O desconto deve ser maior que zero.");
  DiscountAnswer a;
  if (as_percentage) {
    if (*hundredths > 10000) return QStringLiteral("O percentual não pode passar de 100%.");
    a.percent = *hundredths;
    // Cut, never rounded up: the discount never exceeds the percentage asked.
    a.cents = total_cents * *hundredths / 10000;
    if (a.cents <= 0) return QStringLiteral("O percentual informado não chega a um centavo.");
  } else {
    a.cents = *hundredths;
  }
  if (a.cents > total_cents)
    return QStringLiteral("O desconto (R$ %1) não pode ser maior que o total (R$ %2).")
        .arg(FormatCents(a.cents), FormatCents(total_cents));
  return a;
}

std::optional<DiscountAnswer> AskDiscount(const std::string& title, long long total_cents, QWidget* parent) {
  TouchDialog dialog(Q(title.empty() ? std::string("Desconto") : title), parent);
  dialog.setObjectName(QStringLiteral("dlgDesconto"));
  auto* total = new QLabel(QStringLiteral("Total da venda: R$ %1").arg(FormatCents(total_cents)), &dialog);
  total->setObjectName(QStringLiteral("lblTotal"));
  dialog.Body()->addWidget(total);

  auto* kinds = new QHBoxLayout();
  QPushButton* by_value = MakeTouchButton(QStringLiteral("Valor (R$)"), QStringLiteral("btnValor"), &dialog);
  QPushButton* by_percent = MakeTouchButton(QStringLiteral("Percentual (%)"), QStringLiteral("btnPercentual"), &dialog);
  auto* group = new QButtonGroup(&dialog);
  for (QPushButton* b : {by_value, by_percent}) {
    b->setCheckable(true);
    group->addButton(b);
    kinds->addWidget(b);
  }
  by_value->setChecked(true);
  dialog.Body()->addLayout(kinds);

  auto* edit = new QLineEdit(&dialog);
  edit->setObjectName(QStringLiteral("edtValor"));
  edit->setFont(TouchFont(kTouchFontPt + 8, true));
  edit->setAlignment(Qt::AlignRight);
  edit->setValidator(
      new QRegularExpressionValidator(QRegularExpression(QStringLiteral("^[0-9.]{0,18}(,[0-9]{0,2})?$")), edit));
  dialog.Body()->addWidget(edit);

  auto* reason = new QLineEdit(&dialog);
  reason->setObjectName(QStringLiteral("edtMotivo"));
  reason->setPlaceholderText(QStringLiteral("Motivo (opcional)"));
  reason->setMaxLength(100);
  dialog.Body()->addWidget(reason);
  dialog.Body()->addWidget(new NumericPad(edit, true, &dialog), 0, Qt::AlignHCenter);

  dialog.AddAnswer(QStringLiteral("Cancelar"), QStringLiteral("btnCancelar"), QDialog::Rejected);
  QPushButton* ok = dialog.AddAnswer(QStringLiteral("Confirmar"), QStringLiteral("btnOk"), -1, true);
  // Confirmation checks first: a wrong amount keeps the dialog open with its reason.
  QObject::disconnect(ok, &QPushButton::clicked, nullptr, nullptr);
  std::optional<DiscountAnswer> answer;
  QObject::connect(ok, &QPushButton::clicked, &dialog, [&] {
    auto result = EvaluateDiscount(by_percent->isChecked(), edit->text(), total_cents);
    if (auto* error = std::get_if<QString>(&result)) {
      dialog.ShowError(*error);
      return;
    }
    answer = std::get<DiscountAnswer>(result);
    answer->reason = S(reason->text().trimmed());
    dialog.accept();
  });
  edit->setFocus();
  if (dialog.Run() != QDialog::Accepted) return std::nullopt;
  return answer;
}

}  // namespace recebimento::gui
