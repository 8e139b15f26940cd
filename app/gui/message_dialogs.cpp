#include "message_dialogs.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "base/text.h"
#include "dialog_kit.h"

namespace recebimento::gui {

namespace {

QString TitleFor(const runtime::MessageRequest& r) {
  if (!base::Trim(r.title).empty()) return Q(r.title);
  switch (r.kind) {
    case runtime::kMsgQuestion: return QStringLiteral("Confirmação");
    case runtime::kMsgWarning: return QStringLiteral("Atenção");
    case runtime::kMsgBlocked: return QStringLiteral("Aviso");
    default: return QStringLiteral("Mensagem");
  }
}

}  // namespace

bool QtMessageDialogs::Show(const runtime::MessageRequest& r) {
  TouchDialog dialog(TitleFor(r));
  dialog.setObjectName(QStringLiteral("dlgMensagem"));
  auto* text = new QLabel(Q(r.text), &dialog);
  text->setObjectName(QStringLiteral("lblTexto"));
  text->setWordWrap(true);
  text->setFont(TouchFont(kTouchFontPt + 2));
  text->setMinimumWidth(460);
  text->setMaximumWidth(700);
  dialog.Body()->addWidget(text);
  if (r.kind != runtime::kMsgQuestion) {
    dialog.AddAnswer(QStringLiteral("OK"), QStringLiteral("btnOk"), QDialog::Accepted, true);
    dialog.Run();
    return true;
  }
  const bool yes_by_default = base::IEquals(base::Trim(r.answer_a), "S");
  dialog.AddAnswer(QStringLiteral("Sim"), QStringLiteral("btnSim"), QDialog::Accepted, yes_by_default);
  dialog.AddAnswer(QStringLiteral("Não"), QStringLiteral("btnNao"), QDialog::Rejected, !yes_by_default);
  // Closing the window or Escape is "Não": nothing is done without a clear yes.
  return dialog.Run() == QDialog::Accepted;
}

}  // namespace recebimento::gui
