#include "consumer_search_dialog.h"

#include <QComboBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "base/text.h"
#include "dialog_kit.h"
#include "host/runtime/documents.h"
#include "info_dialogs.h"

namespace recebimento::gui {

namespace {

// The clients the host passed, as "code - name" entries; the dataset's position is kept.
void FillClients(QComboBox& box, base::Dataset* clients) {
  box.addItem(QStringLiteral("(nenhum)"), QString());
  if (!clients || !clients->Active() || !clients->FindField("CDCLIENTE")) return;
  const bool named = clients->FindField("NMRAZSOCCLIE").has_value();
  const int keep = clients->RecNo();
  for (clients->First(); !clients->Eof(); clients->Next()) {
    const std::string code = clients->FieldByName("CDCLIENTE").AsString();
    const std::string name = named ? clients->FieldByName("NMRAZSOCCLIE").AsString() : std::string();
    box.addItem(Q(code + (name.empty() ? "" : " - " + name)), Q(code));
    box.setItemData(box.count() - 1, Q(name), Qt::UserRole + 1);
  }
  if (keep > 0) clients->SetRecNo(keep);
}

}  // namespace

std::optional<pos::ConsumerSearchResult> AskConsumer(const pos::ConsumerSearchRequest& request, QWidget* parent) {
  TouchDialog dialog(Q(request.title.empty() ? std::string("Pesquisar consumidor") : request.title), parent);
  dialog.setObjectName(QStringLiteral("dlgPesqConsumidor"));
  auto* form = new QFormLayout();
  auto* client = new QComboBox(&dialog);
  client->setObjectName(QStringLiteral("cbxCliente"));
  client->setMinimumHeight(kTouchButtonHeight - 10);
  FillClients(*client, request.clients);
  form->addRow(QStringLiteral("Cliente"), client);
  auto field = [&](const char* name, const QString& label, const std::string& value) {
    auto* edit = new QLineEdit(Q(value), &dialog);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setMinimumWidth(440);
    edit->setMaxLength(60);
    edit->setProperty("lowerCase", false);
    form->addRow(label, edit);
    return edit;
  };
  QLineEdit* code = field("edtConsumidor", QStringLiteral("Código do consumidor"), "");
  QLineEdit* name = field("edtNome", QStringLiteral("Nome"), "");
  QLineEdit* cpf = field("edtCpf", QStringLiteral("CPF do responsável"), "");
  field("edtTelefone", QStringLiteral("Telefone"), request.phone);
  dialog.Body()->addLayout(form);
  dialog.Body()->addWidget(new TextPad(code, &dialog));
  dialog.AddAnswer(QStringLiteral("Cancelar"), QStringLiteral("btnCancelar"), QDialog::Rejected);
  QPushButton* ok = dialog.AddAnswer(QStringLiteral("Confirmar"), QStringLiteral("btnOk"), -1, true);
  QObject::disconnect(ok, &QPushButton::clicked, nullptr, nullptr);
  std::optional<pos::ConsumerSearchResult> answer;
  QObject::connect(ok, &QPushButton::clicked, &dialog, [&] {
    pos::ConsumerSearchResult r;
    r.CDCLIENTE = S(client->currentData().toString());
    r.NMRAZSOCCLIE = S(client->currentData(Qt::UserRole + 1).toString());
    r.CDCONSUMIDOR = base::Trim(S(code->text()));
    r.NMCONSUMIDOR = base::Trim(S(name->text()));
    const std::string typed_cpf = base::Trim(S(cpf->text()));
    if (r.CDCLIENTE.empty() && r.CDCONSUMIDOR.empty()) {
      dialog.ShowError(QStringLiteral("Escolha o cliente ou digite o código do consumidor."));
      return;
    }
    if (const QString problem = CheckDocument(typed_cpf); !problem.isEmpty()) {
      dialog.ShowError(problem);
      return;
    }
    r.NRCPFRESPCON = runtime::DocumentDigits(typed_cpf);
    answer = r;
    dialog.accept();
  });
  code->setFocus();
  if (dialog.Run() != QDialog::Accepted) return std::nullopt;
  return answer;
}

}  // namespace recebimento::gui
