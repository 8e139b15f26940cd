#include "info_dialogs.h"

#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "base/text.h"
#include "dialog_kit.h"
#include "host/runtime/documents.h"

namespace recebimento::gui {

namespace {
constexpr int kObservationLength = 250;
}  // namespace

std::optional<std::string> AskObservation(const std::string& title, const std::string& prompt,
                                          const std::string& previous, QWidget* parent) {
  TouchDialog dialog(Q(title.empty() ? std::string("Observação") : title), parent);
  dialog.setObjectName(QStringLiteral("dlgObservacao"));
  if (!base::Trim(prompt).empty()) {
    auto* label = new QLabel(Q(prompt), &dialog);
    label->setWordWrap(true);
    dialog.Body()->addWidget(label);
  }
  auto* edit = new QLineEdit(&dialog);
  edit->setObjectName(QStringLiteral("edtObservacao"));
  edit->setMinimumWidth(620);
  edit->setMaxLength(kObservationLength);
  edit->setText(Q(previous));
  edit->setProperty("lowerCase", false);
  dialog.Body()->addWidget(edit);
  dialog.Body()->addWidget(new TextPad(edit, &dialog));
  dialog.AddAnswer(QStringLiteral("Cancelar"), QStringLiteral("btnCancelar"), QDialog::Rejected);
  dialog.AddAnswer(QStringLiteral("Confirmar"), QStringLiteral("btnOk"), QDialog::Accepted, true);
  edit->setFocus();
  if (dialog.Run() != QDialog::Accepted) return std::nullopt;
  return base::Utf8Left(base::Trim(S(edit->text())), kObservationLength);
}

QString CheckDocument(const std::string& typed) {
  if (base::Trim(typed).empty()) return {};
  const std::string digits = runtime::DocumentDigits(typed);
  if (digits.empty()) return QStringLiteral("O documento deve ter apenas números (CPF ou CNPJ).");
  if (digits.size() == 11) return runtime::CPFOk(digits) ? QString() : QStringLiteral("CPF inválido.");
  if (digits.size() == 14) return runtime::CNPJOk(digits) ? QString() : QStringLiteral("CNPJ inválido.");
  return QStringLiteral("Documento inválido: o CPF tem 11 dígitos e o CNPJ 14.");
}

std::optional<AdditionalInfo> AskAdditionalInfo(const AdditionalInfo& proposed, QWidget* parent) {
  TouchDialog dialog(QStringLiteral("Identificação do consumidor"), parent);
  dialog.setObjectName(QStringLiteral("dlgInfAdicional"));
  auto* form = new QFormLayout();
  form->setLabelAlignment(Qt::AlignRight | Qt::AlignVCenter);
  auto field = [&](const char* name, const QString& label, const std::string& value, int length) {
    auto* edit = new QLineEdit(Q(value), &dialog);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setMinimumWidth(480);
    edit->setMaxLength(length);
    edit->setProperty("lowerCase", false);
    form->addRow(label, edit);
    return edit;
  };
  QLineEdit* document = field("edtDocumento", QStringLiteral("CPF/CNPJ"), proposed.document, 18);
  QLineEdit* name = field("edtNome", QStringLiteral("Nome"), proposed.name, 60);
  QLineEdit* address = field("edtEndereco", QStringLiteral("Endereço"), proposed.address, 80);
  QLineEdit* foreigner = field("edtEstrangeiro", QStringLiteral("Nº estrangeiro"), proposed.foreigner, 20);
  dialog.Body()->addLayout(form);
  dialog.Body()->addWidget(new TextPad(document, &dialog));
  dialog.AddAnswer(QStringLiteral("Cancelar"), QStringLiteral("btnCancelar"), QDialog::Rejected);
  QPushButton* ok = dialog.AddAnswer(QStringLiteral("Confirmar"), QStringLiteral("btnOk"), -1, true);
  QObject::disconnect(ok, &QPushButton::clicked, nullptr, nullptr);
  std::optional<AdditionalInfo> answer;
  QObject::connect(ok, &QPushButton::clicked, &dialog, [&] {
    const std::string typed = S(document->text());
    const QString problem = CheckDocument(typed);
    if (!problem.isEmpty()) {
      dialog.ShowError(problem);
      document->setFocus();
      return;
    }
    answer = AdditionalInfo{runtime::DocumentDigits(base::Trim(typed)), base::Trim(S(name->text())),
                            base::Trim(S(address->text())), base::Trim(S(foreigner->text()))};
    dialog.accept();
  });
  document->setFocus();
  if (dialog.Run() != QDialog::Accepted) return std::nullopt;
  return answer;
}

}  // namespace recebimento::gui
